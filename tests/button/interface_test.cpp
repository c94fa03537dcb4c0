#include "tests/button/support/button_fixture.h"

#include <memory>

namespace qm::testing {
namespace {

class InterfaceTest : public ButtonFixture { };

TEST_F(InterfaceTest, PictureSizeReadsThePixelSizeAndStores16ForUnset)
{
    const std::pair<std::int16_t, std::int32_t> cases[]
        = { { 0, 0 }, { 16, 0 }, { 24, 1 }, { 32, 2 }, { 40, 3 }, { 48, 4 } };
    for (const auto& [px, size] : cases) {
        rec().PictureSizePx = px;
        EXPECT_EQ(button.PictureSize(), size) << px;
        EXPECT_EQ(rec().PictureSizePx, px == 0 ? 16 : px);
    }
}

TEST_F(InterfaceTest, FontStyleIsReadFromTheHostFont)
{
    struct Case {
        bool bold, italic, underline, strike;
        std::int32_t style;
    };
    for (const Case& c :
        { Case { true, false, true, false, 10 }, Case { false, false, false, true, 0 },
            Case { true, true, true, true, 14 }, Case { false, true, false, false, 4 } }) {
        forms::StdFont& f = host.Font();
        f.setBold(c.bold);
        f.Italic = c.italic;
        f.Underline = c.underline;
        f.Strikethrough = c.strike;
        EXPECT_EQ(button.FontStyle(), c.style);
    }
}

TEST_F(InterfaceTest, FontStyleSetterChangesTheHostFontOnly)
{
    host.Font().Strikethrough = true;
    button.setFontStyle(FontBold | FontItalic | FontUnderline);
    EXPECT_EQ(host.Font().Weight, 700);
    EXPECT_TRUE(host.Font().Italic && host.Font().Underline && host.Font().Strikethrough);
    button.setFontStyle(1); // no meaning: regular
    EXPECT_EQ(button.FontStyle(), 0);
}

TEST_F(InterfaceTest, ResetDefaultColorsAlwaysReadsFalse)
{
    button.setResetDefaultColors(kTrue);
    EXPECT_EQ(button.ResetDefaultColors(), kFalse);
}

TEST_F(InterfaceTest, DefaultMemberIsValueWithSixteenBitBooleans)
{
    button.setValue(kTrue);
    EXPECT_EQ(button.DefaultMember(), -1);
    button.setDefaultMember(kFalse);
    EXPECT_EQ(button.Value(), 0);
    EXPECT_EQ(kxButtons_H::MemberIdValue, 0);
}

TEST_F(InterfaceTest, HostFacilitiesAreNotCopied)
{
    button.setEnabled(kFalse);
    EXPECT_FALSE(host.Enabled());
    host.setEnabled(true);
    EXPECT_EQ(button.Enabled(), -1);
    button.setForeColor(0x0000FF);
    EXPECT_EQ(host.ForeColor(), 0x0000FFu);
    host.setForeColor(0x80000012);
    EXPECT_EQ(button.ForeColor(), ColorValue(0x80000012));
    button.setMousePointer(forms::vbHourglass);
    EXPECT_EQ(host.MousePointer(), forms::vbHourglass);
    forms::StdFont f;
    f.Name = "Tahoma";
    button.setFont(f);
    EXPECT_EQ(host.Font().Name, "Tahoma");
    EXPECT_EQ(button.Font().Name, "Tahoma");
}

TEST_F(InterfaceTest, DelayedDrawingBatchesChangesIntoOneRedraw)
{
    button.Resize();
    const int shown = host.refreshes;
    button.setCaption("&Ok");
    EXPECT_EQ(host.refreshes, shown + 1);
    button.DelayDrawing(kTrue);
    button.setButtonStyle(RoundedGlow);
    button.setBackColor(0x00FF00);
    button.setGradientMode(GradientVertical);
    button.setValue(kFalse);
    host.resizeTo(90, 30);
    button.Resize();
    EXPECT_EQ(host.refreshes, shown + 1);
    button.DelayDrawing(kFalse);
    EXPECT_EQ(host.refreshes, shown + 2);
    EXPECT_EQ(rec().DrawingDelayed, kFalse);
    // an exposed window is always drawn
    button.DelayDrawing(kTrue);
    button.Paint();
    EXPECT_EQ(host.refreshes, shown + 3);
    EXPECT_EQ(rec().DrawingDelayed, kFalse);
}

TEST_F(InterfaceTest, SurfaceIsPresentedOnTheHostsContext)
{
    button.Resize();
    rec().FaceRGB = 0x00FF00;
    button.Refresh();
    const gfx::DC screen = host.hDC();
    for (const auto& [x, y] : { std::pair { 37, 11 }, std::pair { 0, 0 }, std::pair { 74, 22 } })
        EXPECT_EQ(screen.pixel(x, y), rec().MemDC.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(ColorValue(screen.pixel(37, 11)), 0x00FF00);
}

TEST_F(InterfaceTest, RedrawBeforeTheFirstResizeDrawsNothing)
{
    button.Refresh();
    EXPECT_FALSE(rec().MemDC);
    EXPECT_EQ(host.hDC().pixel(10, 10), 0u); // the host's surface starts black
}

// ---- events ----

TEST_F(InterfaceTest, EventArgumentsArePassedByReference)
{
    button.Events().OLEGiveFeedback = [](std::int32_t& effect, Boolean& defaultCursors) {
        effect = 7;
        defaultCursors = kFalse;
    };
    std::int32_t effect = 1;
    bool defaultCursors = true;
    button.OLEGiveFeedback(effect, defaultCursors);
    EXPECT_EQ(effect, 7);
    EXPECT_FALSE(defaultCursors);

    button.Events().OLEDragOver = [](forms::DataObject&, std::int32_t&, std::int16_t& b,
                                      std::int16_t&, float& x, float&, std::int16_t& state) {
        b = 2;
        x = 1.5f;
        state = 1;
    };
    forms::DataObject data;
    std::int32_t e = 0;
    std::int16_t b = 1, shift = 0, state = 0;
    float x = 0, y = 0;
    button.OLEDragOver(data, e, b, shift, x, y, state);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(x, 1.5f);
    EXPECT_EQ(state, 1);

    button.Events().MouseDown = [](std::int16_t& btn, std::int16_t&, float& mx, float&) {
        btn = 4;
        mx += 0.25f;
    };
    std::int16_t mb = 1, ms = 0;
    float mx = 10.5f, my = 3;
    EXPECT_TRUE(in.raise<kxButtonsEvent::MouseDown>(mb, ms, mx, my));
    EXPECT_EQ(mb, 4);
    EXPECT_EQ(mx, 10.75f);
}

TEST(EventGuardTest, HandlerMayDestroyTheButton)
{
    FakeHost host;
    auto button = std::make_unique<kxButtons_H>();
    button->attachHost(&host);
    int calls = 0;
    button->Events().Click = [&] {
        ++calls;
        button.reset(); // the form unloads itself from the handler
    };
    ButtonInternals in(*button);
    EXPECT_FALSE(in.raise<kxButtonsEvent::Click>());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(button, nullptr);

    // a relayed host notification survives the same
    auto other = std::make_unique<kxButtons_H>();
    other->attachHost(&host);
    other->Events().OLEStartDrag = [&](forms::DataObject&, std::int32_t& allowed) {
        allowed = 3;
        other.reset();
    };
    forms::DataObject data;
    std::int32_t allowed = 0;
    other->OLEStartDrag(data, allowed);
    EXPECT_EQ(allowed, 3);
    EXPECT_EQ(other, nullptr);
}

TEST(EventGuardTest, LiveButtonReportsAliveAndEmptyHandlersAreSkipped)
{
    FakeHost host;
    kxButtons_H button;
    button.attachHost(&host);
    ButtonInternals in(button);
    std::int16_t key = 13;
    EXPECT_TRUE(in.raise<kxButtonsEvent::KeyPress>(key));
    EXPECT_EQ(key, 13);
}

} // namespace
} // namespace qm::testing
