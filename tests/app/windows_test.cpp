// The progress and result windows under the offscreen platform, driven as Main drives them.
#include "app/forms/frm_attendere.h"
#include "app/forms/frm_fine.h"
#include "app/forms_windows.h"
#include "platform/forms/program.h"
#include "platform/forms/window_services.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace qm {
namespace {

using forms::GetClientRect;
using forms::GetWindowRect;

struct CaptionCase {
    const char* caption;
    int major, minor, revision;
    const char* expected;
};

class VersionCaption : public ::testing::TestWithParam<CaptionCase> { };

TEST_P(VersionCaption, PadsMinorToTwoAndRevisionToFourDigits)
{
    const auto& c = GetParam();
    EXPECT_EQ(TfrmFine::VersionCaption(c.caption, c.major, c.minor, c.revision), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, VersionCaption,
    ::testing::Values(CaptionCase { "Quillmere", 1, 0, 0, "Quillmere v.1.00.0000" },
        CaptionCase { "Quillmere", 2, 5, 37, "Quillmere v.2.05.0037" },
        CaptionCase { "Q", 10, 123, 45678, "Q v.10.123.45678" }));

class MainWindowsOnForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::StartRuntimeForTests();
        forms::setUnhandledErrorHandler(
            [this](const forms::RuntimeError& e) { errors.push_back(e.Number()); });
    }
    void TearDown() override
    {
        windows.UnloadAbout();
        windows.UnloadProgress();
        windows.UnloadResult();
        windows.Release();
        forms::setUnhandledErrorHandler({});
    }
    // The screen's size in pixels.
    static gfx::Rect screen()
    {
        return { 0, 0, int(forms::Screen::Width() / forms::Screen::TwipsPerPixelX()),
            int(forms::Screen::Height() / forms::Screen::TwipsPerPixelY()) };
    }
    // Centred on the screen, give or take the thickness of a window frame.
    static void expectCentred(forms::WindowId id)
    {
        constexpr int frame = 4;
        const gfx::Rect r = GetWindowRect(id), s = screen();
        EXPECT_LE(std::abs((r.left + r.right) - s.right), 2 * frame) << r.left << " " << r.right;
        EXPECT_LE(std::abs((r.top + r.bottom) - s.bottom), 2 * frame) << r.top << " " << r.bottom;
    }
    FormsWindows windows;
    std::vector<int> errors;
};

TEST_F(MainWindowsOnForms, ResultTextLoadsTheResultWindowWithItsVersionCaption)
{
    const std::string text = "Errore: 2:\r\nNo such file or directory";
    windows.SetResultText(text);
    ASSERT_TRUE(frmFine.IsLoaded());
    EXPECT_FALSE(frmFine.Visible());
    EXPECT_EQ(frmFine.Caption(), "Quillmere v.1.00.0000");
    // The icon made beside the program (the tests' copy) is the window's from its first load.
    const forms::PictureData icon = frmFine.Icon();
    ASSERT_GE(icon.Bytes.size(), 6u);
    EXPECT_EQ(icon.Bytes[2], 1); // an icon file
    EXPECT_EQ(GetClientRect(frmFine.hWnd()), (gfx::Rect { 0, 0, 312, 124 }));
    EXPECT_EQ(frmFine.ScaleWidth(), 4680);
    EXPECT_EQ(frmFine.ScaleHeight(), 1860);

    EXPECT_EQ(std::string(frmFine.Text1.Text), text);
    EXPECT_TRUE(frmFine.Text1.MultiLine());
    EXPECT_EQ(frmFine.Text1.BackColor(), 0x8000000Fu);
    EXPECT_EQ(frmFine.Text1.TabIndex(), 0);
    EXPECT_EQ(frmFine.Text1.Left(), 60);
    EXPECT_EQ(frmFine.Text1.Top(), 120);
    EXPECT_EQ(frmFine.Text1.Width(), 4515);
    EXPECT_EQ(frmFine.Text1.Height(), 1275);

    frmFine.Show(forms::vbModeless);
    expectCentred(frmFine.hWnd());
    EXPECT_EQ(frmFine.ActiveControl(), &frmFine.Text1); // the first and only tab stop
}

TEST_F(MainWindowsOnForms, ProgressWindowPlaysItsClipUntilUnloaded)
{
    windows.Inizio();
    EXPECT_TRUE(errors.empty());
    ASSERT_TRUE(frmAttendere.Visible());
    EXPECT_EQ(frmAttendere.Caption(), "");
    EXPECT_EQ(GetClientRect(frmAttendere.hWnd()), (gfx::Rect { 0, 0, 249, 56 }));
    expectCentred(frmAttendere.hWnd());
    EXPECT_EQ(frmAttendere.Animation1.Width(), 3776);
    EXPECT_EQ(frmAttendere.Animation1.Height(), 864);
    EXPECT_EQ(frmAttendere.Animation1.BackColor(), 0x8000000Fu);
    ASSERT_TRUE(frmAttendere.Animation1.IsPlaying());

    // It moves while a blocking call runs, as during the flush.
    const int before = frmAttendere.Animation1.CurrentFrame();
    windows.RunBlocking([] { std::this_thread::sleep_for(std::chrono::milliseconds(250)); });
    EXPECT_NE(frmAttendere.Animation1.CurrentFrame(), before);

    windows.HideProgress();
    EXPECT_FALSE(frmAttendere.Visible());
    EXPECT_TRUE(frmAttendere.IsLoaded());
    windows.UnloadProgress();
    EXPECT_FALSE(frmAttendere.IsLoaded());
}

} // namespace
} // namespace qm
