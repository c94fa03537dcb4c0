#include "button/render/colour.h"
#include "button/render/gradient_colors.h"
#include "tests/button/support/button_fixture.h"

namespace qm::testing {
namespace {

constexpr ColorValue kUntouched = 0x123456;
constexpr ColorValue kStart = 0xC8D0D4;
constexpr ColorValue kEnd = 0x6A240A;

struct GradientCase {
    const char* name;
    std::int32_t mode;
    int width;
    int height;
    int bands; // expected band count
    int bandSize; // pixels
};

class GradientTest : public ::testing::TestWithParam<GradientCase> { };

TEST_P(GradientTest, BandsFollowModeSizeAndScreen)
{
    const GradientCase& c = GetParam();
    FakeHost host(c.width, c.height);
    kxButtons_H button;
    button.attachHost(&host);
    ButtonInternals in(button);
    in.setScreen(kScreen1024);
    button.Resize();
    in.DrawRectangle(0, 0, c.width, c.height, kUntouched, -1);
    in.record().GradientMode = c.mode;
    in.PaintGradient(kStart, kEnd);

    std::vector<ColorValue> ramp(std::size_t(c.bands));
    ComputeGradientColors(ramp, kStart, kEnd);
    const bool across = c.mode <= 2;
    const bool fromStart = c.mode % 2 == 1;
    const gfx::DC& dc = in.record().MemDC;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const int k = (across ? x : y) / c.bandSize;
            const ColorValue expected
                = k < c.bands ? ramp[std::size_t(fromStart ? k : c.bands - 1 - k)] : kUntouched;
            ASSERT_EQ(ColorValue(dc.pixel(x, y)), expected) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Cases, GradientTest,
    ::testing::Values(
        // 1024 \ 300 = 3 < 4: 150 bands of 2 pixels, the rightmost in the start colour
        GradientCase { "WideReversed", 2, 300, 6, 150, 2 },
        // odd width: the last column is left as it was
        GradientCase { "WideOddWidth", 1, 301, 4, 150, 2 },
        // 1024 \ 200 = 5: one band per column
        GradientCase { "Narrow", 1, 200, 3, 200, 1 },
        // vertical modes measure the height against the screen's 768
        GradientCase { "TallTopDown", 3, 5, 200, 100, 2 },
        GradientCase { "ShortBottomUp", 4, 5, 100, 100, 1 }),
    [](const auto& p) { return std::string(p.param.name); });

TEST(GradientEdgeTest, TooFewBandsPaintTheStartColour)
{
    FakeHost host(1, 5);
    kxButtons_H button;
    button.attachHost(&host);
    ButtonInternals in(button);
    in.setScreen(kScreen1024);
    button.Resize();
    in.record().GradientMode = 1;
    in.PaintGradient(kStart, kEnd);
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(ColorValue(in.record().MemDC.pixel(0, y)), kStart);
}

// ---- scan-line shading and the choice of fill ----

class ShadingTest : public ButtonFixture {
protected:
    ShadingTest()
        : ButtonFixture(10, 20)
    {
    }
    void fillFace(ColorValue face, ColorValue hover = -1, ColorValue gradientEnd = -1)
    {
        in.FillBackground(face, state, code, gradientEnd, hover);
        hoverOut = hover;
    }
    VisualState state = -7;
    FaceCode code = -7;
    ColorValue hoverOut = 0;
};

TEST_F(ShadingTest, RoundedGlowShadesEachLineWithTiesToEven)
{
    showSurface(kUntouched);
    rec().ButtonStyle = RoundedGlow;
    fillFace(0x808080);
    EXPECT_EQ(code, 1);
    // amount of line i = CInt(-(25 / 20) * i)
    const std::pair<int, std::int16_t> lines[] = { { 0, 0 }, { 1, -1 }, { 2, -2 }, { 6, -8 },
        { 10, -12 }, { 14, -18 }, { 18, -22 }, { 19, -24 } };
    for (const auto& [row, amount] : lines)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(pixel(x, row), ShiftColor(0x808080, amount, kTrue)) << "row " << row;
}

TEST_F(ShadingTest, DisabledCommandButtonIsNotShaded)
{
    showSurface(kUntouched);
    rec().ButtonStyle = RoundedGlow;
    host.setEnabled(false);
    fillFace(0x808080);
    for (int y = 0; y < 20; ++y)
        ASSERT_EQ(pixel(5, y), 0x808080) << y;
    // a disabled check box still is
    rec().Mode = CheckBox;
    fillFace(0x808080);
    EXPECT_EQ(pixel(5, 19), ShiftColor(0x808080, -24, kTrue));
}

struct FillCase {
    const char* name;
    std::uint16_t flags;
    Boolean over;
    std::int32_t mode;
    Boolean value;
    std::int32_t gradientMode;
    ColorValue gradientColor;
    ColorValue hoverBackColor;
    VisualState expectedState;
    char expectedFill; // 'f' face, 'h' hover, 'g' gradient
};

class FillChoiceTest : public ShadingTest, public ::testing::WithParamInterface<FillCase> { };

TEST_P(FillChoiceTest, PicksFaceHoverOrGradient)
{
    const FillCase& c = GetParam();
    showSurface(kUntouched);
    rec().StateFlags = c.flags;
    rec().OverButton = c.over;
    rec().Mode = c.mode;
    rec().Value = c.value;
    rec().GradientMode = c.gradientMode;
    rec().GradientColor = c.gradientColor;
    rec().HoverBackColor = c.hoverBackColor;
    fillFace(0x404040, 0x00FF00, 0xFFFFFF);
    EXPECT_EQ(state, c.expectedState);
    const ColorValue top = pixel(5, 0), bottom = pixel(5, 19);
    switch (c.expectedFill) {
    case 'f':
        EXPECT_EQ(top, 0x404040);
        EXPECT_EQ(bottom, 0x404040);
        break;
    case 'h':
        EXPECT_EQ(top, 0x00FF00);
        EXPECT_EQ(bottom, 0x00FF00);
        break;
    default: // mode 1: a ramp across the width from the face colour towards white
        EXPECT_EQ(pixel(0, 0), 0x404040);
        EXPECT_GT(pixel(9, 0) & 0xFF, 0x40);
        EXPECT_EQ(pixel(9, 0), pixel(9, 19));
        break;
    }
}

constexpr std::uint16_t kPushed = FlagDefault | FlagPressed | FlagInside;

INSTANTIATE_TEST_SUITE_P(Cases, FillChoiceTest,
    ::testing::Values(FillCase { "Idle", 0, kFalse, 0, kFalse, 0, 0, 0, 0, 'f' },
        FillCase { "Focused", FlagDefault, kFalse, 0, kFalse, 0, 0, 0, 1, 'f' },
        FillCase { "HoveredCommand", 0, kTrue, 0, kFalse, 0, 0, 0, 0, 'h' },
        FillCase { "PushedCommand", kPushed, kTrue, 0, kFalse, 0, 0, 0, 2, 'f' },
        // pressed without the cursor inside is not the pushed look
        FillCase { "PressedOutside", FlagPressed, kTrue, 0, kFalse, 0, 0, 0, 0, 'h' },
        FillCase { "HoveredCheckedBox", 0, kTrue, 1, kTrue, 0, 0, 0, 0, 'f' },
        FillCase { "HoveredClearBox", kPushed, kTrue, 1, kFalse, 0, 0, 0, 2, 'h' },
        // the hover colour replaces the gradient unless the two colours are equal
        FillCase { "GradientHovered", 0, kTrue, 0, kFalse, 1, 0xFFFFFF, 0x0000FF, 0, 'h' },
        FillCase { "GradientHoverSameColour", 0, kTrue, 0, kFalse, 1, 0xFFFFFF, 0xFFFFFF, 0, 'g' },
        FillCase { "GradientIdle", 0, kFalse, 0, kFalse, 1, 0xFFFFFF, 0x0000FF, 0, 'g' }),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ShadingTest, NegativeHoverColourBecomesTheFaceColour)
{
    showSurface(kUntouched);
    fillFace(0x404040, -1);
    EXPECT_EQ(hoverOut, 0x404040);
}

} // namespace
} // namespace qm::testing
