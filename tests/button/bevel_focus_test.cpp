#include "tests/button/support/button_fixture.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace qm::testing {
namespace {

constexpr ColorValue kBackground = 0xFFFFFF;

// Entry i of the edge colours: a distinct colour per ring edge.
ColorValue entryColour(int i)
{
    return i * 0x100010;
}

EdgeColors distinctEdges()
{
    EdgeColors e;
    for (int i = 1; i <= 12; ++i)
        e[i] = entryColour(i);
    return e;
}

// The edge entry that owns pixel (x, y) of a plain w x h rectangle: three one-pixel
// outlines at insets 2, 1 and 0; each edge stops short of the next corner, and the
// bottom edge owns both bottom corners.
std::optional<int> ringOwner(int x, int y, int w, int h)
{
    for (int k = 0; k <= 2; ++k) {
        const int base = k == 0 ? 9 : k == 1 ? 5 : 1;
        if (y == h - 1 - k && x >= k && x <= w - 1 - k)
            return base + 3;
        if (x == w - 1 - k && y >= k && y <= h - 2 - k)
            return base + 2;
        if (y == k && x >= k && x <= w - 2 - k)
            return base + 1;
        if (x == k && y >= k + 1 && y <= h - 2 - k)
            return base;
    }
    return std::nullopt;
}

class BevelTest : public ButtonFixture {
protected:
    BevelTest()
        : ButtonFixture(12, 8)
    {
    }
};

TEST_F(BevelTest, PlainRectangleGetsThreeRingsEdgeByEdge)
{
    showSurface(kBackground);
    PointTable points {};
    in.DrawBevelLines(points, distinctEdges(), -1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const auto owner = ringOwner(x, y, 12, 8);
            EXPECT_EQ(pixel(x, y), owner ? entryColour(*owner) : kBackground)
                << "(" << x << ", " << y << ")";
        }
}

struct PenRuleCase {
    const char* name;
    bool entry9EqualsEntry8;
    bool outerLeftSolid;
};

class BevelPenRuleTest : public BevelTest, public ::testing::WithParamInterface<PenRuleCase> { };

TEST_P(BevelPenRuleTest, StyleAloneNeverMakesANewPen)
{
    showSurface(kBackground);
    EdgeColors edges = distinctEdges();
    if (GetParam().entry9EqualsEntry8)
        edges[9] = edges[8];
    PointTable points {};
    in.DrawBevelLines(points, edges, 2); // dotted outer ring
    int leftLit = 0;
    for (int y = 1; y <= 6; ++y)
        leftLit += pixel(0, y) == edges[9];
    EXPECT_EQ(leftLit == 6, GetParam().outerLeftSolid) << leftLit << " of 6 lit";
    // the top edge has its own colour, so its pen is new and dotted
    int topLit = 0;
    for (int x = 0; x <= 10; ++x)
        topLit += pixel(x, 0) == edges[10];
    EXPECT_GT(topLit, 0);
    EXPECT_LT(topLit, 11);
}

INSTANTIATE_TEST_SUITE_P(Cases, BevelPenRuleTest,
    ::testing::Values(PenRuleCase { "SameColourKeepsSolidPen", true, true },
        PenRuleCase { "NewColourTakesDottedPen", false, false }),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(BevelTest, ClosingBottomLineUsesThePenLeftSelected)
{
    showSurface(kBackground);
    in.SelectDrawingTool(kTrue, 1, 0x0000FF);
    EdgeColors none;
    none.fill(-1);
    PointTable points {};
    in.DrawBevelLines(points, none, -1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool closing = y == 7 && x <= 10; // from x = -1 up to W - 1, last excluded
            EXPECT_EQ(pixel(x, y), closing ? 0x0000FF : kBackground) << x << "," << y;
        }
}

// ---- focus indicator ----

struct FocusCase {
    const char* name;
    gfx::Rect caption;
    gfx::Rect picture;
    std::uint16_t flags;
    std::int32_t style;
    Boolean aroundContent;
    gfx::Rect expected; // right and bottom exclusive: the outline's pixels
};

class FocusTest : public ButtonFixture, public ::testing::WithParamInterface<FocusCase> { };

// The bounding box of the pixels that differ from the background.
gfx::Rect changedBox(int w, int h, const std::function<ColorValue(int, int)>& px)
{
    gfx::Rect box { w, h, -1, -1 };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (px(x, y) != kBackground) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

TEST_P(FocusTest, SolidOutlineLiesOnTheExpectedRectangle)
{
    const FocusCase& c = GetParam();
    showSurface(kBackground);
    rec().Caption = c.caption.isEmpty() ? "" : "Ok";
    rec().CaptionRect = c.caption;
    rec().PictureRect = c.picture;
    rec().StateFlags = c.flags;
    rec().ButtonStyle = c.style;
    ColorValue colour = 0x00FF00;
    Boolean around = c.aroundContent;
    PointTable points {};
    in.DrawFocusIndicator(colour, kTrue, around, points);
    const auto box = changedBox(75, 23, [&](int x, int y) { return pixel(x, y); });
    EXPECT_EQ(box, c.expected);
    // a closed outline: every pixel of the box's border is lit
    int lit = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 75; ++x)
            lit += pixel(x, y) == 0x00FF00;
    EXPECT_EQ(lit, 2 * (c.expected.width() + c.expected.height()) - 4);
}

constexpr std::uint16_t kFocused = FlagDefault;
constexpr std::uint16_t kPushed = FlagDefault | FlagPressed | FlagInside;
constexpr gfx::Rect kInside { 20, 5, 55, 18 };

INSTANTIATE_TEST_SUITE_P(Cases, FocusTest,
    ::testing::Values(
        // caption clear of both inner margins: margin 2
        FocusCase { "MarginTwo", kInside, {}, kFocused, 0, kTrue, { 18, 3, 57, 20 } },
        // caption touching the left or the right inner margin: margin 1
        FocusCase { "TouchesLeft", { 4, 5, 55, 18 }, {}, kFocused, 0, kTrue, { 3, 4, 56, 19 } },
        FocusCase { "TouchesRight", { 20, 5, 71, 18 }, {}, kFocused, 0, kTrue, { 19, 4, 72, 19 } },
        // pushed look moves the rectangle down and right
        FocusCase { "Pushed", kInside, {}, kPushed, 0, kTrue, { 19, 4, 59, 22 } },
        // but not in the etched style
        FocusCase { "PushedEtched", kInside, {}, kPushed, 3, kTrue, { 18, 3, 57, 20 } },
        // no caption: the picture's rectangle, bottom kept inside H - 4
        FocusCase { "PictureOnly", {}, { 10, 2, 30, 40 }, kFocused, 0, kTrue, { 9, 1, 31, 20 } },
        // around the face: (4, 4) to (W - 4, H - 4), drawn inclusive
        FocusCase { "AroundFace", kInside, {}, kFocused, 0, kFalse, { 4, 4, 72, 20 } }),
    [](const auto& p) { return std::string(p.param.name); });

class FocusRectTest : public ButtonFixture { };

TEST_F(FocusRectTest, DottedRectangleTogglesOnlyItsEdgesAndIsDrawnOnlyWhenFocused)
{
    showSurface(kBackground);
    rec().Caption = "Ok";
    rec().CaptionRect = kInside;
    ColorValue colour = -1;
    Boolean around = kTrue;
    PointTable points {};
    rec().StateFlags = 0;
    in.DrawFocusIndicator(colour, kFalse, around, points);
    EXPECT_EQ(changedBox(75, 23, [&](int x, int y) { return pixel(x, y); }),
        (gfx::Rect { 75, 23, -1, -1 }));
    EXPECT_EQ(colour, -1); // untouched when nothing is drawn

    rec().StateFlags = kFocused;
    in.DrawFocusIndicator(colour, kFalse, around, points);
    EXPECT_EQ(colour, 0); // a negative colour turns black in the caller's variable
    const gfx::Rect r { 18, 3, 57, 20 };
    EXPECT_EQ(changedBox(75, 23, [&](int x, int y) { return pixel(x, y); }), r);
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x)
            ASSERT_EQ(pixel(x, y), kBackground) << x << "," << y;
}

TEST_F(FocusRectTest, OvalShapesForceAroundContent)
{
    showSurface(kBackground);
    rec().StateFlags = kPushed;
    rec().ButtonShape = EllipseOutline;
    rec().Caption = "Ok";
    rec().CaptionRect = kInside;
    ColorValue colour = 0;
    Boolean around = kFalse;
    PointTable points {};
    in.DrawFocusIndicator(colour, kTrue, around, points);
    EXPECT_EQ(around, kTrue);
    // pushed, but an oval moves the rectangle down only
    EXPECT_EQ(changedBox(75, 23, [&](int x, int y) { return pixel(x, y); }),
        (gfx::Rect { 18, 4, 57, 22 }));
}

TEST_F(FocusRectTest, SlantedShapeGetsASolidSlantedOutline)
{
    showSurface(kBackground);
    rec().StateFlags = FlagDefault;
    rec().ButtonShape = SlantLeft;
    rec().ShapeLeftInset = 24; // bottom-left corner of a 23-pixel-high left slant
    rec().ShapeRightEdge = 75;
    ColorValue colour = 0x00FF00;
    Boolean around = kFalse;
    PointTable points {};
    in.DrawFocusIndicator(colour, kFalse, around, points); // the dotted flag is not consulted
    // (22, 18) -> (8, 4) -> (70, 4) -> (70, 18) -> (23, 18), the last point not drawn
    for (const auto& [x, y] : { std::pair { 22, 18 }, { 15, 11 }, { 8, 4 }, { 9, 4 }, { 39, 4 },
             { 70, 4 }, { 70, 11 }, { 70, 18 }, { 24, 18 } })
        EXPECT_EQ(pixel(x, y), 0x00FF00) << x << "," << y;
    for (const auto& [x, y] :
        { std::pair { 23, 18 }, { 21, 18 }, { 7, 4 }, { 71, 4 }, { 70, 19 }, { 8, 5 } })
        EXPECT_EQ(pixel(x, y), kBackground) << x << "," << y;
}

} // namespace
} // namespace qm::testing
