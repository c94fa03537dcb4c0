// Pixel rules of the drawing primitives, on small surfaces drawn as text pictures:
// '.' untouched background, '#' pen or brush colour, 'o' another colour.
#include "platform/raster/dc.h"
#include "platform/raster/gdi.h"
#include "platform/raster/text.h"
#include "tests/raster/support/surface.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace qm::gfx;

namespace {

constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr ColorRef kRed = rgb(255, 0, 0);
constexpr ColorRef kBlue = rgb(0, 0, 255);

using qm::gfx::testing::Surface;

using Picture = std::vector<std::string>;

} // namespace

TEST(Rectangle, OutlineOnLastColumnAndRowBrushInside)
{
    struct Case {
        const char* name;
        Rect r;
        bool nullPen;
        Picture expect;
    } cases[] = {
        { "pen and brush", { 1, 1, 5, 4 }, false,
            { "......", ".####.", ".#oo#.", ".####.", "......" } },
        { "inverted", { 5, 4, 1, 1 }, false, { "......", ".####.", ".#oo#.", ".####.", "......" } },
        { "null pen", { 1, 1, 5, 4 }, true, { "......", ".ooo..", ".ooo..", "......", "......" } },
        { "single pixel", { 0, 0, 1, 1 }, false,
            { "#.....", "......", "......", "......", "......" } },
        { "empty", { 2, 2, 2, 4 }, false, { "......", "......", "......", "......", "......" } },
    };
    for (const Case& c : cases) {
        Surface s(6, 5);
        s.dc.select(Pen::create(c.nullPen ? PenStyle::Null : PenStyle::Solid, 1, kBlack));
        s.dc.select(Brush::solid(kRed));
        s.dc.rectangle(c.r);
        EXPECT_EQ(s.picture(), c.expect) << c.name;
    }
}

TEST(Lines, FirstPixelInLastOutOnePixelPerMajorStep)
{
    struct Case {
        Point a, b;
        Picture expect;
    } cases[] = {
        { { 0, 0 }, { 5, 0 }, { "#####.", "......", "......", "......" } },
        { { 5, 0 }, { 0, 0 }, { ".#####", "......", "......", "......" } },
        // Flat: one per column; at x = 1 and 3 the ideal y is a tie (0.5, 1.5).
        { { 0, 0 }, { 4, 2 }, { "##....", "..##..", "......", "......" } },
        // Steep: one per row.
        { { 0, 0 }, { 1, 3 }, { "#.....", "#.....", ".#....", "......" } },
        { { 2, 2 }, { 2, 2 }, { "......", "......", "......", "......" } },
        { { 0, 3 }, { 3, 0 }, { "......", "..#...", ".#....", "#....." } },
    };
    for (const Case& c : cases) {
        Surface s(6, 4);
        const Point pts[] = { c.a, c.b };
        s.dc.polyline(pts);
        EXPECT_EQ(s.picture(), c.expect)
            << c.a.x << "," << c.a.y << " -> " << c.b.x << "," << c.b.y;
    }
}

TEST(Lines, TiesGoToTheSmallerCoordinate)
{
    // (0,0)-(2,1): at x = 1 the ideal y is exactly 0.5.
    Surface s(3, 2);
    const Point pts[] = { { 0, 0 }, { 2, 1 } };
    s.dc.polyline(pts);
    EXPECT_EQ(s.picture(), (Picture { "##.", "..." }));
}

TEST(Lines, PolylineDrawsEachVertexOnceAndOmitsTheLast)
{
    // With an XOR-like check: a dotted pen's count runs once through each pixel, so a
    // vertex drawn twice would break the alternation.
    Surface s(5, 5);
    s.dc.select(Pen::create(PenStyle::Dot, 1, kBlack));
    s.dc.setBkMode(kOpaque);
    s.dc.setBkColor(kBlue);
    const Point pts[] = { { 0, 0 }, { 4, 0 }, { 4, 4 }, { 0, 4 } };
    s.dc.polyline(pts);
    EXPECT_EQ(s.picture(), (Picture { "#o#o#", "....o", "....#", "....o", ".o#o#" }));
}

TEST(Lines, DottedGapsFollowTheBackgroundMode)
{
    for (int mode : { 1, 2, 3 }) {
        Surface s(6, 1);
        s.dc.select(Pen::create(PenStyle::Dot, 1, kBlack));
        s.dc.setBkColor(kRed);
        s.dc.setBkMode(mode);
        s.dc.moveTo({ 0, 0 });
        s.dc.lineTo({ 6, 0 });
        EXPECT_EQ(s.picture()[0], mode == kOpaque ? "#o#o#o" : "#.#.#.") << "mode " << mode;
    }
}

TEST(Lines, DotPatternRestartsWithEachCall)
{
    Surface s(6, 2);
    s.dc.select(Pen::create(PenStyle::Dot, 1, kBlack));
    const Point one[] = { { 0, 0 }, { 3, 0 } };
    const Point two[] = { { 3, 0 }, { 6, 0 } };
    s.dc.polyline(one);
    s.dc.polyline(two);
    EXPECT_EQ(s.picture()[0], "#.##.#");
}

TEST(Lines, WideDottedPenDrawsSolid)
{
    EXPECT_EQ(Pen::create(PenStyle::Dot, 2, kBlack).style(), PenStyle::Solid);
    EXPECT_EQ(Pen::create(PenStyle::Dot, 1, kBlack).style(), PenStyle::Dot);
}

TEST(Pixels, SetAndGetHonourSurfaceAndClip)
{
    Surface s(4, 4);
    s.dc.setClip(Region::rect(1, 1, 3, 3));
    EXPECT_EQ(s.dc.setPixel(1, 1, kRed), kRed);
    EXPECT_EQ(s.dc.pixel(1, 1), kRed);
    EXPECT_EQ(s.dc.setPixel(0, 0, kRed), kInvalidColor);
    EXPECT_EQ(s.dc.pixel(0, 0), kInvalidColor);
    EXPECT_EQ(s.bitmap.pixel(0, 0), kWhite);
    EXPECT_EQ(s.dc.setPixel(9, 1, kRed), kInvalidColor);
}

namespace {
bool eightConnectedRing(const Surface& s)
{
    // Every drawn pixel has at least two drawn 8-neighbours (a closed curve) and the
    // drawn pixels form one connected set.
    std::vector<Point> drawn;
    for (int y = 0; y < s.bitmap.height(); ++y)
        for (int x = 0; x < s.bitmap.width(); ++x)
            if (s.bitmap.pixel(x, y) == kBlack)
                drawn.push_back({ x, y });
    if (drawn.empty())
        return false;
    auto isDrawn = [&](int x, int y) { return s.bitmap.pixel(x, y) == kBlack; };
    for (const Point& p : drawn) {
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                n += (dx || dy) && isDrawn(p.x + dx, p.y + dy);
        if (n < 2)
            return false;
    }
    std::vector<Point> stack { drawn.front() };
    std::vector<bool> seen(std::size_t(s.bitmap.width() * s.bitmap.height()));
    std::size_t count = 0;
    while (!stack.empty()) {
        const Point p = stack.back();
        stack.pop_back();
        const std::size_t k = std::size_t(p.y * s.bitmap.width() + p.x);
        if (seen[k])
            continue;
        seen[k] = true;
        ++count;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (isDrawn(p.x + dx, p.y + dy))
                    stack.push_back({ p.x + dx, p.y + dy });
    }
    return count == drawn.size();
}
} // namespace

TEST(Arcs, EqualEndsDrawTheWholeEllipseInsideTheBox)
{
    for (const Rect box : { Rect { 0, 0, 75, 23 }, Rect { 0, 0, 12, 12 }, Rect { 1, 2, 30, 9 },
             Rect { 0, 0, 5, 40 } }) {
        Surface s(box.right + 2, box.bottom + 2);
        s.dc.arc(box, { 0, 0 }, { 0, 0 });
        int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
        for (int y = 0; y < s.bitmap.height(); ++y)
            for (int x = 0; x < s.bitmap.width(); ++x)
                if (s.bitmap.pixel(x, y) == kBlack) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                    // Symmetric about the box's centre lines.
                    EXPECT_EQ(s.bitmap.pixel(box.left + box.right - 1 - x, y), kBlack);
                    EXPECT_EQ(s.bitmap.pixel(x, box.top + box.bottom - 1 - y), kBlack);
                }
        EXPECT_EQ((Rect { minX, minY, maxX + 1, maxY + 1 }), box);
        EXPECT_TRUE(eightConnectedRing(s)) << box.right << "x" << box.bottom;
    }
}

TEST(Arcs, RunAnticlockwiseFromStartRadialToEndRadial)
{
    // Box 0..20 x 0..20, centre (10, 10). From the right (20, 10) to the top (10, 0)
    // anticlockwise on screen is the upper-right quarter; the reverse is the rest.
    Surface quarter(21, 21), rest(21, 21), whole(21, 21);
    quarter.dc.arc({ 0, 0, 21, 21 }, { 20, 10 }, { 10, 0 });
    rest.dc.arc({ 0, 0, 21, 21 }, { 10, 0 }, { 20, 10 });
    whole.dc.arc({ 0, 0, 21, 21 }, { 5, 5 }, { 5, 5 });
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            const bool q = quarter.bitmap.pixel(x, y) == kBlack;
            const bool r = rest.bitmap.pixel(x, y) == kBlack;
            if (q) {
                EXPECT_TRUE(x >= 10 && y <= 10) << x << "," << y;
            }
            if (r && !(x == 10 && y == 0) && !(x == 20 && y == 10)) {
                EXPECT_FALSE(x > 10 && y < 10) << x << "," << y;
            }
            EXPECT_EQ(whole.bitmap.pixel(x, y) == kBlack, q || r) << x << "," << y;
        }
}

TEST(FocusRect, CheckerboardOnEachEdgeTwiceRestores)
{
    struct Case {
        Rect r;
        Picture expect;
    } cases[] = {
        // (x + y) even inverted.
        { { 0, 0, 6, 4 }, { "#.#.#.", ".....#", "#.....", ".#.#.#" } },
        // One pixel high: the two rows cancel.
        { { 0, 1, 6, 2 }, { "......", "......", "......", "......" } },
        // One pixel wide: the two columns cancel, top and bottom rows remain.
        { { 2, 0, 3, 4 }, { "..#...", "......", "......", "......" } },
    };
    for (const Case& c : cases) {
        Surface s(6, 4);
        s.dc.drawFocusRect(c.r);
        EXPECT_EQ(s.picture(), c.expect);
        s.dc.drawFocusRect(c.r);
        EXPECT_EQ(s.picture(), Surface(6, 4).picture());
    }
}

TEST(Regions, FillAndFrameOnTheSurface)
{
    Surface s(7, 6);
    const Region r = Region::ellipse({ 0, 0, 8, 7 });
    s.dc.frameRegion(r, Brush::solid(kBlack), 1, 1);
    const Region f = r.frame(1, 1);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(s.bitmap.pixel(x, y) == kBlack, f.contains(x, y));
    Surface t(7, 6);
    t.dc.fillRegion(r, Brush::solid(kBlack));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(t.bitmap.pixel(x, y) == kBlack, r.contains(x, y));
}

// Every primitive, drawn with and without a clip region: inside the clip the two
// surfaces agree; outside it the clipped one is untouched.
TEST(Clipping, EveryPrimitiveHonoursTheClipRegion)
{
    const std::vector<std::pair<const char*, std::function<void(DC&, const DC&)>>> ops = {
        { "rectangle",
            [](DC& dc, const DC&) {
                dc.rectangle({ 1, 1, 18, 12 });
            } },
        { "polyline",
            [](DC& dc, const DC&) {
                const Point p[] = { { 0, 0 }, { 19, 13 }, { 0, 13 }, { 19, 0 } };
                dc.polyline(p);
            } },
        { "dotted",
            [](DC& dc, const DC&) {
                dc.select(Pen::create(PenStyle::Dot, 1, kRed));
                dc.setBkMode(kOpaque);
                const Point p[] = { { 0, 5 }, { 19, 5 } };
                dc.polyline(p);
            } },
        { "wide",
            [](DC& dc, const DC&) {
                dc.select(Pen::create(PenStyle::Solid, 3, kRed));
                const Point p[] = { { 0, 5 }, { 19, 9 } };
                dc.polyline(p);
            } },
        { "setpixel",
            [](DC& dc, const DC&) {
                for (int i = 0; i < 14; ++i)
                    dc.setPixel(i, i, kRed);
            } },
        { "arc",
            [](DC& dc, const DC&) {
                dc.arc({ 0, 0, 20, 14 }, { 0, 0 }, { 0, 0 });
            } },
        { "fillrect",
            [](DC& dc, const DC&) {
                dc.fillRect({ 2, 2, 17, 11 }, Brush::solid(kBlue));
            } },
        { "fillregion",
            [](DC& dc, const DC&) {
                dc.fillRegion(Region::ellipse({ 0, 0, 20, 14 }), Brush::solid(kBlue));
            } },
        { "frameregion",
            [](DC& dc, const DC&) {
                dc.frameRegion(Region::ellipse({ 0, 0, 20, 14 }), Brush::solid(kBlue), 1, 1);
            } },
        { "focusrect",
            [](DC& dc, const DC&) {
                dc.drawFocusRect({ 1, 1, 19, 13 });
            } },
        { "patblt",
            [](DC& dc, const DC&) {
                dc.patBlt({ 0, 0, 20, 14 }, PATINVERT);
            } },
        { "bitblt",
            [](DC& dc, const DC& src) {
                dc.bitBlt({ 0, 0, 20, 14 }, src, { 0, 0 }, SRCCOPY);
            } },
        { "stretchblt",
            [](DC& dc, const DC& src) {
                dc.stretchBlt({ 0, 0, 20, 14 }, src, { 0, 0, 10, 7 }, SRCAND);
            } },
        { "coverage",
            [](DC& dc, const DC&) {
                std::vector<std::uint8_t> cov(20 * 14, 200);
                dc.blendCoverage({ 0, 0 }, 20, 14, cov.data(), 20, kRed);
            } },
    };
    Surface source(20, 14, kRed);
    source.dc.setPixel(3, 3, kBlue);
    const Rect clipRects[] = { { 4, 2, 9, 12 }, { 12, 0, 16, 6 } };
    const Region clip = Region::fromRects(clipRects);
    for (const auto& [name, draw] : ops) {
        Surface plain(20, 14), clipped(20, 14);
        clipped.dc.setClip(clip);
        draw(plain.dc, source.dc);
        draw(clipped.dc, source.dc);
        bool changedInside = false;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 20; ++x) {
                if (clip.contains(x, y)) {
                    ASSERT_EQ(clipped.bitmap.pixel(x, y), plain.bitmap.pixel(x, y))
                        << name << " " << x << "," << y;
                    changedInside |= plain.bitmap.pixel(x, y) != kWhite;
                } else {
                    ASSERT_EQ(clipped.bitmap.pixel(x, y), kWhite) << name << " " << x << "," << y;
                }
            }
        EXPECT_TRUE(changedInside) << name << " drew nothing inside the clip";
    }
}

TEST(Objects, SelectReturnsTheDisplacedObjectAndOwnersReleaseAll)
{
    DC::createMemory(); // the shared stock objects exist from the first context on
    const long dcs = liveObjects(ObjectKind::DC), bitmaps = liveObjects(ObjectKind::Bitmap);
    const long pens = liveObjects(ObjectKind::Pen), brushes = liveObjects(ObjectKind::Brush);
    {
        DC dc = CreateCompatibleDC(DC());
        Bitmap surface = CreateCompatibleBitmap(DC(), 75, 23);
        EXPECT_FALSE(surface.isMono());
        const Bitmap origBitmap = SelectObject(dc, surface);
        EXPECT_TRUE(origBitmap.isMono());
        EXPECT_EQ(origBitmap.size(), (Size { 1, 1 }));
        const Pen mine = CreatePen(PS_SOLID, 1, kRed);
        const Pen origPen = SelectObject(dc, mine);
        EXPECT_EQ(SelectObject(dc, origPen), mine);
        const Brush b = CreateSolidBrush(kBlue);
        const Brush origBrush = SelectObject(dc, b);
        EXPECT_EQ(SelectObject(dc, origBrush), b);
        EXPECT_EQ(SelectObject(dc, origBitmap), surface);
        EXPECT_EQ(liveObjects(ObjectKind::DC), dcs + 1);
        // A fresh memory context is monochrome: bitmaps compatible with it are too.
        EXPECT_TRUE(dc.createCompatibleBitmap(4, 4).isMono());
    }
    EXPECT_EQ(liveObjects(ObjectKind::DC), dcs);
    EXPECT_EQ(liveObjects(ObjectKind::Bitmap), bitmaps);
    EXPECT_EQ(liveObjects(ObjectKind::Pen), pens);
    EXPECT_EQ(liveObjects(ObjectKind::Brush), brushes);
}

TEST(Objects, ZeroSizedSurfacesAndEmptyHandlesAreHarmless)
{
    Surface s(0, 0);
    s.dc.rectangle({ 0, 0, 5, 5 });
    s.dc.fillRect({ 0, 0, 5, 5 }, Brush::solid(kRed));
    EXPECT_EQ(s.dc.pixel(0, 0), kInvalidColor);
    EXPECT_EQ(s.bitmap.bits(), nullptr);
    DC none;
    none.rectangle({ 0, 0, 5, 5 });
    EXPECT_FALSE(none.bitBlt({ 0, 0, 1, 1 }, s.dc, { 0, 0 }, SRCCOPY));
    EXPECT_EQ(none.pixel(0, 0), kInvalidColor);
}

TEST(Monochrome, ColoursLandAsTheNearerOfBlackAndWhite)
{
    DC dc = DC::createMemory();
    Bitmap mono = Bitmap::createMono(4, 1);
    dc.select(mono);
    struct Case {
        ColorRef color;
        ColorRef lands;
    } cases[] = {
        { rgb(212, 208, 200), kWhite }, { rgb(128, 128, 128), kWhite },
        { rgb(127, 127, 127), kBlack }, { rgb(64, 64, 64), kBlack },
        { 0x80000012u, kBlack }, // a system-colour code handed on unconverted draws black
    };
    for (const Case& c : cases) {
        mono.fill(c.lands == kWhite ? kBlack : kWhite);
        dc.fillRect({ 0, 0, 2, 1 }, Brush::solid(c.color));
        dc.select(Pen::create(PenStyle::Solid, 1, c.color));
        dc.moveTo({ 2, 0 });
        dc.lineTo({ 4, 0 });
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(mono.pixel(x, 0), c.lands) << std::hex << c.color << " at " << x;
    }
    mono.fill(kBlack);
    dc.drawFocusRect({ 0, 0, 4, 2 });
    EXPECT_EQ(mono.pixel(0, 0), kWhite);
    EXPECT_EQ(mono.pixel(1, 0), kBlack);
}

// Shapes far larger than the surface cost only what lands on it, and agree with the
// same shapes drawn in range.
TEST(Bounds, HugeLinesAndArcsDrawOnlyTheirVisiblePart)
{
    Surface near(20, 20), far(20, 20);
    const Point inRange[] = { { -30, 5 }, { 50, 15 } };
    near.dc.polyline(inRange);
    // The same line, extended along its slope far past both edges: (dx, dy) = (80, 10).
    const Point huge[] = { { -30 - 80 * 10000000, 5 - 10 * 10000000 },
        { 50 + 80 * 10000000, 15 + 10 * 10000000 } };
    far.dc.polyline(huge);
    EXPECT_EQ(far.picture(), near.picture());

    Surface arc(20, 20);
    arc.dc.arc({ -2000000000, 0, 2000000000, 20 }, { 0, 0 }, { 0, 0 });
    // A very flat ellipse: its top and bottom rows cross the whole surface.
    EXPECT_EQ(arc.picture()[0], std::string(20, '#'));
    EXPECT_EQ(arc.picture()[19], std::string(20, '#'));
    EXPECT_EQ(arc.picture()[10], std::string(20, '.'));
}

// Random segments against the rule written out directly: step i of n along the major
// axis puts the minor coordinate at the nearest value, a tie going to the smaller.
TEST(Lines, RandomSegmentsFollowTheNearestPixelRule)
{
    std::mt19937 rng(424242);
    std::uniform_int_distribution<int> c(-5, 34);
    for (int round = 0; round < 300; ++round) {
        const Point a { c(rng), c(rng) }, b { c(rng), c(rng) };
        Surface s(30, 30);
        const Point pts[] = { a, b };
        s.dc.polyline(pts);
        std::vector<std::string> expect(30, std::string(30, '.'));
        const int dx = b.x - a.x, dy = b.y - a.y;
        const int n = std::max(std::abs(dx), std::abs(dy));
        for (int i = 0; i < n; ++i) {
            const bool xMajor = std::abs(dx) >= std::abs(dy);
            // nearest(i * d / n), ties down, in exact integers: ceil((2 i d - n) / 2n).
            auto nearest = [&](int d) {
                const int num = 2 * i * d - n, den = 2 * n;
                return num >= 0 ? (num + den - 1) / den : -((-num) / den);
            };
            const int x = xMajor ? a.x + (dx < 0 ? -i : i) : a.x + nearest(dx);
            const int y = xMajor ? a.y + nearest(dy) : a.y + (dy < 0 ? -i : i);
            if (x >= 0 && y >= 0 && x < 30 && y < 30)
                expect[std::size_t(y)][std::size_t(x)] = '#';
        }
        ASSERT_EQ(s.picture(), expect) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
    }
}

namespace qm::gfx {
namespace {

// The bounds a context reports hold every pixel its drawing changed, and no more than the
// clipped area of the operation.
TEST(DrawnBounds, CoverEveryChangedPixelAndStartAfreshWhenTaken)
{
    struct Case {
        const char* what;
        std::function<void(DC&)> draw;
        Rect limit; // the reported bounds lie within this
        std::function<void(DC&)> prepare = [](DC&) {};
    };
    const std::vector<Case> cases = {
        { "fill",
            [](DC& dc) {
                dc.fillRect({ 3, 4, 9, 6 }, Brush::solid(0));
            },
            { 3, 4, 9, 6 } },
        { "fill past the edge",
            [](DC& dc) {
                dc.fillRect({ -5, 10, 4, 40 }, Brush::solid(0));
            },
            { 0, 10, 4, 20 } },
        { "line",
            [](DC& dc) {
                dc.moveTo({ 2, 2 });
                dc.lineTo({ 12, 7 });
            },
            { 2, 2, 12, 7 } },
        { "pixel", [](DC& dc) { dc.setPixel(7, 8, 0); }, { 7, 8, 8, 9 } },
        { "rectangle",
            [](DC& dc) {
                dc.rectangle({ 1, 1, 6, 6 });
            },
            { 1, 1, 6, 6 } },
        { "focus",
            [](DC& dc) {
                dc.drawFocusRect({ 4, 4, 14, 12 });
            },
            { 4, 4, 14, 12 } },
        { "arc",
            [](DC& dc) {
                dc.arc({ 2, 3, 12, 13 }, { 0, 0 }, { 0, 0 });
            },
            { 2, 3, 12, 13 } },
        { "copy within",
            [](DC& dc) {
                dc.bitBlt({ 10, 10, 14, 14 }, dc, { 0, 0 }, SRCCOPY);
            },
            { 10, 10, 14, 14 },
            [](DC& dc) {
                dc.fillRect({ 0, 0, 4, 4 }, Brush::solid(rgb(255, 0, 0)));
            } },
        { "text",
            [](DC& dc) {
                Rect r { 1, 1, 19, 19 };
                DrawText(dc, "Ag", r, 0);
            },
            { 1, 1, 19, 19 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::Surface s(20, 20);
        c.prepare(s.dc);
        s.dc.takeDrawnBounds();
        const std::vector<std::string> before = s.picture();
        c.draw(s.dc);
        const Rect b = s.dc.takeDrawnBounds();
        const std::vector<std::string> after = s.picture();
        Rect changed { 20, 20, 0, 0 };
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                if (before[std::size_t(y)][std::size_t(x)]
                    != after[std::size_t(y)][std::size_t(x)]) {
                    changed = { std::min(changed.left, x), std::min(changed.top, y),
                        std::max(changed.right, x + 1), std::max(changed.bottom, y + 1) };
                }
        ASSERT_FALSE(b.isEmpty());
        ASSERT_FALSE(changed.isEmpty()); // every case draws something
        EXPECT_EQ(changed.intersected(b), changed);
        EXPECT_EQ(b.intersected(c.limit), b);
        EXPECT_TRUE(s.dc.takeDrawnBounds().isEmpty()); // taken: nothing drawn since
    }
    // Reading draws nothing; drawing outside the surface or the clip changes nothing.
    testing::Surface s(20, 20);
    s.dc.pixel(3, 3);
    s.dc.fillRect({ 30, 30, 40, 40 }, Brush::solid(0));
    s.dc.setPixel(-1, 5, 0);
    EXPECT_TRUE(s.dc.takeDrawnBounds().isEmpty());
}

} // namespace
} // namespace qm::gfx
