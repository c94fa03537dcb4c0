#include "platform/raster/text.h"

#include <gtest/gtest.h>
#include <set>

namespace qm::gfx {
namespace {

constexpr ColorRef white = rgb(255, 255, 255);
constexpr ColorRef black = rgb(0, 0, 0);

// A 75 x 23 white surface with an 11-pixel Liberation Sans font, black text, the
// transparent background mode the button uses.
class TextTest : public testing::Test {
protected:
    void SetUp() override
    {
        font = Font::create(LogFont { -11, 400, false, false, false, "MS Sans Serif" });
        if (font.realisedFamily() != "Liberation Sans")
            GTEST_SKIP() << "skipped: Liberation Sans is not installed (fonts-liberation)";
        surface = Bitmap::createColor(75, 23, white);
        dc = DC::createMemory();
        dc.select(surface);
        dc.select(font);
        dc.setTextColor(black);
        dc.setBkMode(3);
        cell = font.metrics().height;
    }

    Rect measure(
        std::string_view text, Rect r, unsigned flags = DT_WORDBREAK, int* height = nullptr)
    {
        const int h = drawText(dc, text, r, flags | DT_CALCRECT);
        if (height)
            *height = h;
        return r;
    }

    int width(std::string_view text) { return measure(text, { 0, 0, 1000, 1000 }).right; }

    // Bounding box of the pixels that are not `background`.
    Rect ink(ColorRef background = white) const
    {
        Rect box { 1 << 20, 1 << 20, -1, -1 };
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x)
                if (surface.pixel(x, y) != background)
                    box = { std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                        std::max(box.bottom, y + 1) };
        return box;
    }

    std::set<ColorRef> colors() const
    {
        std::set<ColorRef> seen;
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x)
                seen.insert(surface.pixel(x, y));
        return seen;
    }

    Font font;
    Bitmap surface;
    DC dc;
    int cell = 0;
};

TEST_F(TextTest, MeasuringGivesWidestLineAndHeight)
{
    int h = 0;
    // Two words in a 1 x 1 rectangle: two lines, as wide as the wider word.
    Rect r = measure("line1 line2", { 5, 7, 6, 8 }, DT_WORDBREAK, &h);
    EXPECT_EQ(h, 2 * cell);
    EXPECT_EQ(r, (Rect { 5, 7, 5 + std::max(width("line1"), width("line2")), 7 + 2 * cell }));

    // Empty text: an empty rectangle.
    r = measure("", { 5, 7, 60, 60 }, DT_WORDBREAK, &h);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(r, (Rect { 5, 7, 5, 7 }));

    // Narrower than asked when the lines are narrower; CR LF always breaks.
    r = measure("Ok\r\nInfo...", { 0, 0, 70, 0 }, DT_WORDBREAK, &h);
    EXPECT_EQ(r.right, std::max(width("Ok"), width("Info...")));
    EXPECT_LT(r.right, 70);
    EXPECT_EQ(h, 2 * cell);
    EXPECT_EQ(measure("Ok\r\nInfo...", { 0, 0, 70, 0 }, 0).bottom, 2 * cell);
}

TEST_F(TextTest, WordBreakWrapsWhereTheNextWordWouldPassTheEdge)
{
    const int two = width("Ok Ok");
    ASSERT_GT(two, width("Ok"));
    struct Case {
        int rectWidth;
        int lines;
    };
    for (const auto& c : { Case { two, 2 }, Case { two - 1, 3 }, Case { 1000, 1 } }) {
        int h = 0;
        measure("Ok Ok Ok", { 0, 0, c.rectWidth, 0 }, DT_WORDBREAK, &h);
        EXPECT_EQ(h, c.lines * cell) << "width " << c.rectWidth;
    }
    // A word wider than the rectangle stays whole and sets the width.
    const Rect r = measure("Antidisestablishment a", { 0, 0, 20, 0 });
    EXPECT_EQ(r.right, width("Antidisestablishment"));
}

TEST_F(TextTest, PrefixIsRemovedBeforeMeasuring)
{
    EXPECT_EQ(width("A&bc&&d"), measure("Abc&d", { 0, 0, 1000, 0 }, DT_NOPREFIX).right);
    EXPECT_GT(measure("A&bc&&d", { 0, 0, 1000, 0 }, DT_NOPREFIX).right, width("A&bc&&d"));
}

TEST_F(TextTest, AlignmentShiftsTheInkByTheFreeSpace)
{
    const Rect box { 4, 2, 71, 21 };
    const int free = box.width() - width("Ok");
    struct Case {
        unsigned flags;
        int shift;
    };
    Rect leftInk;
    for (const auto& c :
        { Case { DT_LEFT, 0 }, Case { DT_CENTER, free / 2 }, Case { DT_RIGHT, free } }) {
        surface.fill(white);
        Rect r = box;
        EXPECT_EQ(drawText(dc, "Ok", r, c.flags | DT_WORDBREAK), cell);
        EXPECT_EQ(r, box); // drawing leaves the rectangle alone
        const Rect got = ink();
        if (c.flags == DT_LEFT) {
            leftInk = got;
            EXPECT_GE(got.left, box.left);
            EXPECT_LE(got.left, box.left + 2);
            EXPECT_GE(got.top, box.top);
            EXPECT_LE(got.bottom, box.top + cell);
        }
        EXPECT_EQ(got, leftInk.translated(c.shift, 0)) << "flags " << c.flags;
    }
}

TEST_F(TextTest, PrefixUnderlinesOneCharacterBelowTheBaseline)
{
    Rect r { 10, 2, 70, 21 };
    drawText(dc, "b", r, DT_NOPREFIX);
    const Bitmap plain = surface.clone();
    surface.fill(white);
    drawText(dc, "&b", r, 0);
    Rect diff { 1 << 20, 1 << 20, -1, -1 };
    int changed = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 75; ++x)
            if (surface.pixel(x, y) != plain.pixel(x, y)) {
                ++changed;
                EXPECT_EQ(surface.pixel(x, y), black);
                diff = { std::min(diff.left, x), std::min(diff.top, y), std::max(diff.right, x + 1),
                    std::max(diff.bottom, y + 1) };
            }
    ASSERT_GT(changed, 0);
    EXPECT_EQ(diff.left, 10);
    EXPECT_EQ(diff.width(), width("b"));
    EXPECT_GT(diff.top, 2 + font.metrics().ascent - 1); // below the baseline
    EXPECT_LE(diff.bottom, 2 + cell);
    EXPECT_EQ(changed, diff.width() * diff.height()); // one solid bar
}

TEST_F(TextTest, ClipsToTheRectangleAndTheClipRegion)
{
    Rect r { 10, 5, 20, 9 }; // far smaller than the text
    drawText(dc, "WWWW WWWW", r, 0);
    const Rect got = ink();
    ASSERT_LT(got.left, got.right);
    EXPECT_GE(got.left, 10);
    EXPECT_LE(got.right, 20);
    EXPECT_GE(got.top, 5);
    EXPECT_LE(got.bottom, 9);

    surface.fill(white);
    dc.setClip(Region::rect(0, 0, 30, 23));
    r = { 0, 0, 75, 23 };
    drawText(dc, "WWWWWWWW", r, 0);
    EXPECT_LE(ink().right, 30);
    EXPECT_GT(ink().right, 20);

    surface.fill(white);
    dc.clearClip();
    r = { 10, 5, 20, 9 };
    drawText(dc, "WWWW", r, DT_NOCLIP);
    EXPECT_GT(ink().right, 20);

    surface.fill(white);
    r = { 60, 20, 10, 2 }; // inverted: nothing visible
    drawText(dc, "WWWW", r, 0);
    EXPECT_EQ(colors(), (std::set<ColorRef> { white }));
}

TEST_F(TextTest, ColoursAndBackgroundMode)
{
    const ColorRef ink = rgb(200, 0, 0);
    const ColorRef bk = rgb(0, 0, 200);
    dc.setTextColor(ink);
    dc.setBkColor(bk);
    Rect r { 2, 2, 73, 21 };
    drawText(dc, "Ok", r, 0);
    EXPECT_EQ(colors(), (std::set<ColorRef> { white, ink })); // not antialiased: two colours

    surface.fill(white);
    dc.setBkMode(kOpaque);
    drawText(dc, "Ok", r, 0);
    EXPECT_EQ(colors(), (std::set<ColorRef> { white, ink, bk }));
    EXPECT_EQ(this->ink(), (Rect { 2, 2, 2 + width("Ok"), 2 + cell })); // the cell is filled
}

TEST_F(TextTest, AntialiasingSwitchBlendsEdges)
{
    setTextAntialiasing(true);
    Rect r { 2, 2, 73, 21 };
    drawText(dc, "Ok", r, 0);
    setTextAntialiasing(false);
    EXPECT_GT(colors().size(), 2u);
}

TEST_F(TextTest, BoldIsWiderAndFontUnderlineAddsInk)
{
    const int regular = width("Quillmere");
    dc.select(Font::create(LogFont { -11, 700, false, false, false, "MS Sans Serif" }));
    EXPECT_GT(width("Quillmere"), regular);

    Rect r { 2, 2, 73, 21 };
    dc.select(font);
    drawText(dc, "x", r, 0);
    const Rect plain = ink();
    surface.fill(white);
    dc.select(Font::create(LogFont { -11, 400, false, true, false, "MS Sans Serif" }));
    drawText(dc, "x", r, 0);
    EXPECT_GT(ink().bottom, plain.bottom);
}

TEST_F(TextTest, MonochromeSurfacesTakeTheNearerOfBlackAndWhite)
{
    Bitmap mono = Bitmap::createMono(40, 16);
    mono.fill(white);
    dc.select(mono);
    Rect r { 0, 0, 40, 16 };
    drawText(dc, "Ok", r, 0);
    int black_ = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 40; ++x)
            black_ += mono.pixel(x, y) == black;
    EXPECT_GT(black_, 10);
}

TEST(TextNoContextTest, EmptyContextDrawsNothing)
{
    DC none;
    Rect r { 0, 0, 10, 10 };
    EXPECT_EQ(drawText(none, "text", r, DT_CALCRECT), 0);
    EXPECT_EQ(r, (Rect { 0, 0, 10, 10 }));
}

} // namespace
} // namespace qm::gfx
