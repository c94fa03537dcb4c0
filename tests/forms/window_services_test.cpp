#include "platform/forms/window_services.h"
#include "tests/forms/support/forms_fixture.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <set>

namespace qm::forms::test {
namespace {

TEST(LinuxPath, BackslashesAreSeparatorsAndDrivesGo)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        { "C:\\", "/" }, { "C:", "/" }, { "/opt/quillmere\\res.dll", "/opt/quillmere/res.dll" },
        { "/\\korvanti.dll", "//korvanti.dll" }, // a root folder gives two separators, as built
        { "d:\\a\\b.txt", "/a/b.txt" }, { "relative\\x", "relative/x" }, { "", "" },
        { "1:\\x", "1:/x" }, // not a drive letter
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinuxPath(c.in), c.out) << c.in;
}

TEST(Twips, PerPixelFromTheLogicalDpi)
{
    struct Case {
        double dpi;
        double tpp;
    } cases[]
        = { { 96, 15 }, { 144, 10 }, { 120, 12 }, { 192, 8 }, { 72, 20 }, { 0, 15 }, { 5000, 1 } };
    for (const auto& c : cases)
        EXPECT_EQ(twipsPerPixelForDpi(c.dpi), c.tpp) << c.dpi;
}

TEST(Rnd, UniformInTheHalfOpenUnitInterval)
{
    Randomize(1234);
    std::vector<float> first;
    double sum = 0;
    int low = 0;
    for (int i = 0; i < 20000; ++i) {
        const float r = Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        sum += r;
        low += r < 0.25f;
        if (i < 8)
            first.push_back(r);
    }
    EXPECT_NEAR(sum / 20000, 0.5, 0.02);
    EXPECT_NEAR(low / 20000.0, 0.25, 0.02);
    Randomize(1234);
    for (float f : first)
        EXPECT_EQ(Rnd(), f); // the same seed repeats the sequence
}

class WindowServices : public FormsTest {
protected:
    TfrmProbe frm;
};

TEST_F(WindowServices, TimersTickByIdentifierUntilKilled)
{
    const WindowId w = frm.hWnd();
    std::multiset<std::uintptr_t> ticks;
    auto proc = [&](WindowId hWnd, std::uint32_t msg, std::uintptr_t id, std::uint32_t) {
        EXPECT_EQ(hWnd, w);
        EXPECT_EQ(msg, WM_TIMER);
        ticks.insert(id);
    };
    EXPECT_EQ(SetTimer(w, 237, 10, proc), 237u);
    EXPECT_EQ(SetTimer(w, 5, 10, proc), 5u);
    ASSERT_TRUE(waitFor([&] { return ticks.count(237) >= 2 && ticks.count(5) >= 2; }));
    EXPECT_TRUE(KillTimer(w, 237));
    EXPECT_FALSE(KillTimer(w, 237)); // gone already
    ticks.clear();
    ASSERT_TRUE(waitFor([&] { return ticks.count(5) >= 3; }));
    EXPECT_EQ(ticks.count(237), 0u);
    EXPECT_EQ(SetTimer(0x7fffffff, 1, 10, proc), 0u); // no such window
}

TEST_F(WindowServices, ATimerMayKillItselfAndDiesWithItsWindow)
{
    const WindowId w = frm.hWnd();
    int own = 0, other = 0;
    SetTimer(w, 1, 5, [&](WindowId h, std::uint32_t, std::uintptr_t id, std::uint32_t) {
        ++own;
        KillTimer(h, id);
    });
    SetTimer(frm.Probe1.hWnd(), 2, 5,
        [&](WindowId, std::uint32_t, std::uintptr_t, std::uint32_t) { ++other; });
    ASSERT_TRUE(waitFor([&] { return own >= 1 && other >= 1; }));
    Unload(frm);
    const int before = other;
    QTest::qWait(40);
    EXPECT_EQ(own, 1);
    EXPECT_EQ(other, before);
}

TEST_F(WindowServices, PropertiesHoldNumbersOrReferencesAndGoWithTheWindow)
{
    const WindowId w = frm.hWnd();
    int object = 0;
    EXPECT_TRUE(SetProp(w, "kx_OptCount", WindowProp::number(2)));
    EXPECT_TRUE(SetProp(w, "kx_Obj1", WindowProp::reference(&object)));
    EXPECT_EQ(GetProp(w, "KX_OPTCOUNT").asNumber(), 2);
    EXPECT_EQ(GetProp(w, "kx_obj1").asReference<int>(), &object);
    EXPECT_EQ(GetProp(w, "kx_Obj1").asNumber(), 0); // a reference is not a number
    EXPECT_FALSE(GetProp(w, "kx_Obj2").isSet());
    EXPECT_EQ(RemoveProp(w, "kx_OptCount").asNumber(), 2);
    EXPECT_FALSE(GetProp(w, "kx_OptCount").isSet());
    Unload(frm);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(GetProp(w, "kx_Obj1").isSet());
    EXPECT_FALSE(SetProp(w, "x", WindowProp::number(1)));
    // A new window never gets an old one's id (nor its properties).
    EXPECT_NE(frm.hWnd(), w);
    EXPECT_FALSE(GetProp(frm.hWnd(), "kx_Obj1").isSet());
}

TEST_F(WindowServices, WindowFromPointHonoursRegionsAndStacking)
{
    frm.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(frm.hWnd())));
    const WindowId probe = frm.Probe1.hWnd();
    const gfx::Rect r = GetWindowRect(probe); // 61 x 25 pixels at 15 twips per pixel
    ASSERT_EQ(r.width(), 61);
    ASSERT_EQ(r.height(), 25);
    const gfx::Point inside { r.left + 30, r.top + 12 }, corner { r.left + 1, r.top + 1 };
    EXPECT_EQ(WindowFromPoint(inside), probe);
    EXPECT_EQ(WindowFromPoint(corner), probe);
    // An ellipse leaves the corner to the form.
    ASSERT_TRUE(SetWindowRgn(probe, gfx::Region::ellipse({ 0, 0, r.width(), r.height() })));
    EXPECT_EQ(WindowFromPoint(inside), probe);
    EXPECT_EQ(WindowFromPoint(corner), frm.hWnd());
    gfx::Region copy;
    EXPECT_EQ(GetWindowRgn(probe, copy), gfx::RegionKind::Complex);
    EXPECT_EQ(copy, gfx::Region::ellipse({ 0, 0, r.width(), r.height() }));
    // A label is no window of its own: its pixels belong to the form.
    const gfx::Point onLabel = ClientToScreen(frm.hWnd(), { 10, 100 });
    EXPECT_EQ(WindowFromPoint(onLabel), frm.hWnd());
    // Another form shown over the probe covers it.
    TfrmPlain over;
    over.Show();
    over.Move(frm.Left, frm.Top, frm.Width, frm.Height);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(over.hWnd())));
    EXPECT_EQ(WindowFromPoint(inside), over.hWnd());
    Unload(over);
    EXPECT_EQ(WindowFromPoint(inside), probe);
    EXPECT_EQ(WindowFromPoint({ -5000, -5000 }), 0u);
}

TEST_F(WindowServices, PointsRectanglesAndMoving)
{
    frm.Show();
    const WindowId probe = frm.Probe1.hWnd();
    const gfx::Rect before = GetWindowRect(probe);
    const gfx::Point c = ScreenToClient(frm.hWnd(), { before.left, before.top });
    EXPECT_EQ(c.x, 176); // 2640 twips
    EXPECT_EQ(c.y, 96); // 1440 twips
    EXPECT_EQ(ClientToScreen(frm.hWnd(), c), (gfx::Point { before.left, before.top }));
    ASSERT_TRUE(MoveWindow(probe, c.x + 1, c.y + 1, before.width(), before.height(), true));
    EXPECT_EQ(GetWindowRect(probe), before.translated(1, 1));
    EXPECT_EQ(GetParent(probe), frm.hWnd());
    EXPECT_EQ(GetParent(frm.hWnd()), 0u);
    bool ok = true;
    ScreenToClient(0x7ffffff0, { 1, 1 }, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(MoveWindow(0x7ffffff0, 0, 0, 1, 1));
}

TEST_F(WindowServices, CaptureIsSetAndReleased)
{
    frm.Show();
    const WindowId probe = frm.Probe1.hWnd();
    EXPECT_EQ(GetCapture(), 0u);
    EXPECT_EQ(SetCapture(probe), 0u);
    EXPECT_EQ(GetCapture(), probe);
    EXPECT_EQ(QWidget::mouseGrabber(), widgetOf(probe));
    EXPECT_EQ(SetCapture(frm.Probe2.hWnd()), probe);
    EXPECT_EQ(GetCapture(), frm.Probe2.hWnd());
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), 0u);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(WindowServices, MessageBoxesTakeTheApplicationsTitle)
{
    App::setTitle("Quillmere");
    EXPECT_EQ(MsgBox("File not found", vbInformation), vbOK);
    EXPECT_EQ(MsgBox("x", vbInformation, "Select .ico Or .cur Files Only"), vbOK);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Title, "Quillmere");
    EXPECT_EQ(messages[0].Prompt, "File not found");
    EXPECT_EQ(messages[0].Buttons, vbInformation);
    EXPECT_EQ(messages[1].Title, "Select .ico Or .cur Files Only");
}

TEST_F(WindowServices, ProgramAndScreen)
{
    EXPECT_EQ(App::Major(), 1);
    EXPECT_EQ(App::Minor(), 0);
    EXPECT_EQ(App::Revision(), 0);
    EXPECT_FALSE(App::Path().empty());
    EXPECT_NE(App::Path().back(), '/');
    // The offscreen platform reports 96 DPI: 15 twips per pixel.
    EXPECT_EQ(Screen::TwipsPerPixelX(), 15);
    EXPECT_EQ(Screen::TwipsPerPixelY(), 15);
    const QSize s = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(Screen::Width(), s.width() * 15.0);
    EXPECT_EQ(Screen::Height(), s.height() * 15.0);
}

} // namespace
} // namespace qm::forms::test
