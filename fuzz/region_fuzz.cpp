// Region operations driven by arbitrary bytes: every result must keep the banded
// invariants and agree pixel for pixel with a direct evaluation on a small grid.
#include "platform/raster/region.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace qm::gfx;

namespace {

constexpr int kLo = -10, kHi = 40; // coordinates come from this range

struct Reader {
    const std::uint8_t* p;
    std::size_t n;
    bool more() const { return n > 0; }
    int byte()
    {
        if (!n)
            return 0;
        --n;
        return *p++;
    }
    int coord() { return kLo + byte() % (kHi - kLo); }
};

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "region fuzz: %s\n", what.c_str());
    std::abort();
}

void check(const Region& r)
{
    std::string why;
    if (!r.selfCheck(&why))
        fail("invariant: " + why);
}

Region shape(Reader& in)
{
    switch (in.byte() % 4) {
    case 0:
        return Region::rect(in.coord(), in.coord(), in.coord(), in.coord());
    case 1:
        return Region::ellipse({ in.coord(), in.coord(), in.coord(), in.coord() });
    case 2: {
        std::vector<Point> pts(std::size_t(in.byte() % 9));
        for (auto& p : pts)
            p = { in.coord(), in.coord() };
        return Region::polygon(pts, in.byte() % 2 ? FillMode::Winding : FillMode::Alternate);
    }
    default: {
        std::vector<Rect> rs(std::size_t(in.byte() % 6));
        for (auto& r : rs)
            r = { in.coord(), in.coord(), in.coord(), in.coord() };
        return Region::fromRects(rs);
    }
    }
}

// Truth tables of the operations, bit (a << 1 | b): and, or, xor, diff, copy.
bool expected(CombineMode m, bool a, bool b)
{
    constexpr unsigned tables[] = { 0b1000, 0b1110, 0b0110, 0b0100, 0b1100 };
    return (tables[int(m) - 1] >> ((a ? 2 : 0) | (b ? 1 : 0))) & 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader in { data, size };
    std::vector<Region> regs;
    regs.push_back(shape(in));
    regs.push_back(shape(in));
    for (int step = 0; step < 10 && in.more(); ++step) {
        const int op = in.byte() % 8;
        const std::size_t a = std::size_t(in.byte()) % regs.size(),
                          b = std::size_t(in.byte()) % regs.size();
        Region r;
        if (op < 5) {
            const CombineMode m = CombineMode(op + 1);
            r.combine(regs[a], regs[b], m);
            for (int y = kLo - 2; y < kHi + 2; ++y)
                for (int x = kLo - 2; x < kHi + 2; ++x)
                    if (r.contains(x, y)
                        != expected(m, regs[a].contains(x, y), regs[b].contains(x, y)))
                        fail("combine differs at " + std::to_string(x) + "," + std::to_string(y));
        } else if (op == 5) {
            const int dx = in.byte() % 9 - 4, dy = in.byte() % 9 - 4;
            r = regs[a].translated(dx, dy);
            for (int y = kLo; y < kHi; ++y)
                for (int x = kLo; x < kHi; ++x)
                    if (r.contains(x + dx, y + dy) != regs[a].contains(x, y))
                        fail("offset differs");
        } else if (op == 6) {
            const int w = 1 + in.byte() % 3, h = 1 + in.byte() % 3;
            r = regs[a].frame(w, h);
            for (int y = kLo; y < kHi; ++y)
                for (int x = kLo; x < kHi; ++x) {
                    const Region& g = regs[a];
                    const bool edge = g.contains(x, y)
                        && (!g.contains(x - w, y - h) || !g.contains(x + w, y - h)
                            || !g.contains(x - w, y + h) || !g.contains(x + w, y + h));
                    if (r.contains(x, y) != edge)
                        fail("frame differs");
                }
        } else {
            r = shape(in);
        }
        check(r);
        if ((r.kind() == RegionKind::Simple) != (r.rects().size() == 1))
            fail("kind does not match the rectangles");
        regs.push_back(std::move(r));
    }
    return 0;
}
