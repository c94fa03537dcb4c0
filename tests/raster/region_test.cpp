// Region algebra against a per-pixel model, with the representation's invariants
// checked after every operation.
#include "platform/raster/region.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace qm::gfx;

namespace {

constexpr int kN = 40; // model grid: -4..35 in both directions
constexpr int kOrigin = -4;

struct Model {
    std::vector<bool> px = std::vector<bool>(kN * kN);
    bool at(int x, int y) const
    {
        x -= kOrigin;
        y -= kOrigin;
        return x >= 0 && y >= 0 && x < kN && y < kN && px[std::size_t(y * kN + x)];
    }
    void set(int x, int y) { px[std::size_t((y - kOrigin) * kN + (x - kOrigin))] = true; }
};

Model modelOf(const Region& r)
{
    Model m;
    for (int y = kOrigin; y < kOrigin + kN; ++y)
        for (int x = kOrigin; x < kOrigin + kN; ++x)
            if (r.contains(x, y))
                m.set(x, y);
    return m;
}

// Every pixel of the region's rectangles lies in the grid, so the model is complete.
void expectInsideGrid(const Region& r)
{
    if (r.isEmpty())
        return;
    EXPECT_GE(r.box().left, kOrigin);
    EXPECT_LE(r.box().right, kOrigin + kN);
}

void expectValid(const Region& r)
{
    std::string why;
    EXPECT_TRUE(r.selfCheck(&why)) << why;
}

// Truth tables of the operations, bit (a << 1 | b): and, or, xor, diff, copy.
bool op(CombineMode m, bool a, bool b)
{
    constexpr unsigned tables[] = { 0b1000, 0b1110, 0b0110, 0b0100, 0b1100 };
    return (tables[int(m) - 1] >> ((a ? 2 : 0) | (b ? 1 : 0))) & 1;
}

Region randomShape(std::mt19937& rng)
{
    std::uniform_int_distribution<int> c(0, 31);
    switch (rng() % 4) {
    case 0:
        return Region::rect(c(rng), c(rng), c(rng), c(rng));
    case 1:
        return Region::ellipse({ c(rng), c(rng), c(rng), c(rng) });
    case 2: {
        std::vector<Point> pts(3 + rng() % 5);
        for (auto& p : pts)
            p = { c(rng), c(rng) };
        return Region::polygon(pts, rng() % 2 ? FillMode::Winding : FillMode::Alternate);
    }
    default: {
        std::vector<Rect> rs(1 + rng() % 6);
        for (auto& r : rs)
            r = { c(rng), c(rng), c(rng), c(rng) };
        return Region::fromRects(rs);
    }
    }
}

} // namespace

TEST(RegionAlgebra, MatchesPixelModelOnRandomShapes)
{
    std::mt19937 rng(20261211);
    const CombineMode modes[] = { CombineMode::And, CombineMode::Or, CombineMode::Xor,
        CombineMode::Diff, CombineMode::Copy };
    for (int round = 0; round < 400; ++round) {
        Region a = randomShape(rng);
        const Region b = randomShape(rng);
        expectValid(a);
        expectValid(b);
        const Model ma = modelOf(a), mb = modelOf(b);
        for (CombineMode m : modes) {
            Region r;
            const RegionKind kind = r.combine(a, b, m);
            expectValid(r);
            expectInsideGrid(r);
            const Model mr = modelOf(r);
            int count = 0;
            for (int y = kOrigin; y < kOrigin + kN; ++y)
                for (int x = kOrigin; x < kOrigin + kN; ++x) {
                    ASSERT_EQ(mr.at(x, y), op(m, ma.at(x, y), mb.at(x, y)))
                        << "round " << round << " mode " << int(m) << " at " << x << "," << y;
                    count += mr.at(x, y);
                }
            // The kind follows from the pixels: one rectangle exactly when the pixel
            // count equals the box's area.
            const Rect box = r.box();
            const RegionKind expected = count == 0    ? RegionKind::Null
                : count == box.width() * box.height() ? RegionKind::Simple
                                                      : RegionKind::Complex;
            EXPECT_EQ(kind, expected);
        }
        // In-place use, with the target as either operand.
        Region c = a;
        c.combine(c, b, CombineMode::Xor);
        EXPECT_EQ(c, a ^ b);
        Region d = b;
        d.combine(a, d, CombineMode::Diff);
        EXPECT_EQ(d, a - b);
        EXPECT_EQ((a - a).kind(), RegionKind::Null);
    }
}

TEST(RegionAlgebra, OffsetMovesEveryPixelAndSaturates)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        const Region a = randomShape(rng);
        const Region moved = a.translated(3, -2);
        expectValid(moved);
        for (int y = kOrigin; y < kOrigin + kN - 4; ++y)
            for (int x = kOrigin; x < kOrigin + kN - 4; ++x)
                ASSERT_EQ(moved.contains(x + 3, y - 2), a.contains(x, y));
    }
    Region r = Region::rect(0, 0, 10, 10);
    r.offset(INT32_MAX - 5, 0);
    expectValid(r);
    EXPECT_EQ(r.box(), (Rect { INT32_MAX - 5, 0, INT32_MAX, 10 }));
}

TEST(RegionShapes, RectanglesNormaliseAndEmptyOnesAreNull)
{
    struct Case {
        Rect in;
        RegionKind kind;
        Rect box;
    } cases[] = {
        { { 0, 0, 5, 3 }, RegionKind::Simple, { 0, 0, 5, 3 } },
        { { 5, 3, 0, 0 }, RegionKind::Simple, { 0, 0, 5, 3 } },
        { { 2, 2, 2, 9 }, RegionKind::Null, {} },
        { { 0, 4, 7, 4 }, RegionKind::Null, {} },
    };
    for (const Case& c : cases) {
        const Region r = Region::rect(c.in);
        EXPECT_EQ(r.kind(), c.kind);
        EXPECT_EQ(r.box(), c.box);
    }
}

TEST(RegionShapes, AdjacentRectanglesMergeIntoOne)
{
    const Region side = Region::rect(0, 0, 5, 5) | Region::rect(5, 0, 9, 5);
    EXPECT_EQ(side.kind(), RegionKind::Simple);
    EXPECT_EQ(side.box(), (Rect { 0, 0, 9, 5 }));
    const Region stacked = Region::rect(0, 0, 5, 5) | Region::rect(0, 5, 5, 8);
    EXPECT_EQ(stacked.kind(), RegionKind::Simple);
    EXPECT_EQ(stacked.rects().size(), 1u);
}

TEST(RegionShapes, PolygonOfARectangleEqualsTheRectangle)
{
    const Point pts[] = { { 2, 1 }, { 12, 1 }, { 12, 6 }, { 2, 6 } };
    EXPECT_EQ(Region::polygon(pts, FillMode::Winding), Region::rect(2, 1, 12, 6));
    EXPECT_EQ(Region::polygon(pts, FillMode::Alternate), Region::rect(2, 1, 12, 6));
}

TEST(RegionShapes, DegeneratePolygonsAreEmpty)
{
    const Point line[] = { { 0, 0 }, { 5, 5 }, { 10, 10 } };
    const Point two[] = { { 0, 0 }, { 5, 5 } };
    EXPECT_TRUE(Region::polygon(line, FillMode::Winding).isEmpty());
    EXPECT_TRUE(Region::polygon(two, FillMode::Winding).isEmpty());
    EXPECT_TRUE(Region::polygon({}, FillMode::Alternate).isEmpty());
}

TEST(RegionShapes, WindingFillsOverlapThatAlternateLeavesOpen)
{
    // A path round the square twice: winding 2 inside (filled), alternate even (empty);
    // a pentagram's centre has winding 2 as well.
    const Point twice[]
        = { { 0, 0 }, { 8, 0 }, { 8, 8 }, { 0, 8 }, { 0, 0 }, { 8, 0 }, { 8, 8 }, { 0, 8 } };
    EXPECT_EQ(Region::polygon(twice, FillMode::Winding), Region::rect(0, 0, 8, 8));
    EXPECT_TRUE(Region::polygon(twice, FillMode::Alternate).isEmpty());
    const Point star[] = { { 10, 0 }, { 16, 19 }, { 0, 7 }, { 20, 7 }, { 4, 19 } };
    EXPECT_TRUE(Region::polygon(star, FillMode::Winding).contains(10, 10));
    EXPECT_FALSE(Region::polygon(star, FillMode::Alternate).contains(10, 10));
}

TEST(RegionShapes, SlopedEdgesTakePixelsWhoseCentreIsInside)
{
    // The corner triangles the button cuts: centres inside, left edges inclusive.
    const Point topLeft[] = { { 0, 0 }, { 2, 0 }, { 0, 2 } };
    EXPECT_EQ(Region::polygon(topLeft, FillMode::Winding), Region::rect(0, 0, 1, 1));
    const Point bottomLeft[] = { { 0, 23 }, { 3, 23 }, { 0, 20 } };
    const Rect expect[] = { { 0, 21, 1, 22 }, { 0, 22, 2, 23 } };
    EXPECT_EQ(Region::polygon(bottomLeft, FillMode::Winding), Region::fromRects(expect));
}

TEST(RegionShapes, EllipseIsSymmetricOneShortOfTheBoxAndNested)
{
    for (const Rect box :
        { Rect { 0, 0, 120, 120 }, Rect { 0, 0, 75, 23 }, Rect { 3, 5, 10, 8 } }) {
        const Region e = Region::ellipse(box);
        expectValid(e);
        EXPECT_EQ(e.box().left, box.left);
        EXPECT_EQ(e.box().top, box.top);
        EXPECT_EQ(e.box().right, box.right - 1);
        EXPECT_EQ(e.box().bottom, box.bottom - 1);
        for (int y = box.top; y < box.bottom - 1; ++y)
            for (int x = box.left; x < box.right - 1; ++x) {
                const int mx = box.left + box.right - 2 - x, my = box.top + box.bottom - 2 - y;
                ASSERT_EQ(e.contains(x, y), e.contains(mx, y));
                ASSERT_EQ(e.contains(x, y), e.contains(x, my));
            }
        // The shrunken ellipses of a shaped button lie inside the outline.
        const Region inner
            = Region::ellipse({ box.left + 1, box.top + 1, box.right - 1, box.bottom - 1 });
        EXPECT_TRUE((inner - e).isEmpty());
    }
    EXPECT_TRUE(Region::ellipse({ 0, 0, 1, 10 }).isEmpty());
}

TEST(RegionShapes, EllipseRowsArePinned)
{
    // A 9 x 7 box: the ellipse inscribed in (0, 0)-(8, 6), centre (4, 3), semi-axes 4 and 3;
    // row y keeps the pixels with ((x + 0.5 - 4) / 4)^2 + ((y + 0.5 - 3) / 3)^2 < 1.
    const Region e = Region::ellipse({ 0, 0, 9, 7 });
    std::vector<std::pair<int, int>> rows;
    for (int y = 0; y < 6; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < 9; ++x)
            if (e.contains(x, y)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        rows.push_back({ first, last });
    }
    const std::vector<std::pair<int, int>> expected
        = { { 2, 5 }, { 1, 6 }, { 0, 7 }, { 0, 7 }, { 1, 6 }, { 2, 5 } };
    EXPECT_EQ(rows, expected);
}

TEST(RegionFrame, DiagonalNeighbourRule)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 100; ++round) {
        const Region a = randomShape(rng);
        const int w = 1 + int(rng() % 2), h = 1 + int(rng() % 2);
        const Region f = a.frame(w, h);
        expectValid(f);
        for (int y = kOrigin; y < kOrigin + kN; ++y)
            for (int x = kOrigin; x < kOrigin + kN; ++x) {
                const bool in = a.contains(x, y);
                const bool edge = in
                    && (!a.contains(x - w, y - h) || !a.contains(x + w, y - h)
                        || !a.contains(x - w, y + h) || !a.contains(x + w, y + h));
                ASSERT_EQ(f.contains(x, y), edge) << round << ": " << x << "," << y;
            }
    }
    // A concave corner: (2, 2) has all four orthogonal neighbours inside, yet its
    // diagonal (3, 3) is outside, so it is on the frame.
    const Rect ell[] = { { 0, 0, 6, 3 }, { 0, 3, 3, 6 } };
    const Region l = Region::fromRects(ell);
    EXPECT_TRUE(l.frame(1, 1).contains(2, 2));
    EXPECT_TRUE(l.contains(2, 3) && l.contains(3, 2) && l.contains(1, 2) && l.contains(2, 1));
}
