#include "platform/raster/region.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace qm::gfx {

namespace {

__extension__ typedef __int128 Wide;

// Shapes are built row by row from exact integer arithmetic; keeping their
// coordinates within +-2^28 keeps every product inside 64 (polygons) or 128
// (ellipses) bits.
constexpr int kShapeLimit = 1 << 28;
int clampShape(int v)
{
    return std::clamp(v, -kShapeLimit, kShapeLimit);
}

struct Span {
    int left;
    int right;
    bool operator==(const Span&) const = default;
};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) // b > 0
{
    std::int64_t q = a / b;
    if ((a % b != 0) && (a < 0))
        --q;
    return q;
}
std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return -floorDiv(-a, b);
} // b > 0

} // namespace

// Appends bands top to bottom, merging a band into the one above when they touch and
// have the same spans, and computes the box at the end.
class RegionBuilder {
public:
    void addBand(int top, int bottom, const std::vector<Span>& spans)
    {
        if (spans.empty() || top >= bottom)
            return;
        if (!out_.empty() && out_.back().bottom == top && bandCount_ == spans.size()) {
            bool same = true;
            for (std::size_t i = 0; i < spans.size() && same; ++i) {
                const Rect& r = out_[bandStart_ + i];
                same = r.left == spans[i].left && r.right == spans[i].right;
            }
            if (same) {
                for (std::size_t i = bandStart_; i < out_.size(); ++i)
                    out_[i].bottom = bottom;
                return;
            }
        }
        bandStart_ = out_.size();
        bandCount_ = spans.size();
        for (const Span& s : spans)
            out_.push_back({ s.left, top, s.right, bottom });
    }

    void finishInto(Region& r)
    {
        r.rects_ = std::move(out_);
        r.box_ = {};
        if (!r.rects_.empty()) {
            Rect box { INT32_MAX, r.rects_.front().top, INT32_MIN, r.rects_.back().bottom };
            for (const Rect& x : r.rects_) {
                box.left = std::min(box.left, x.left);
                box.right = std::max(box.right, x.right);
            }
            r.box_ = box;
        }
        out_.clear();
        bandStart_ = bandCount_ = 0;
        r.checked();
    }

private:
    std::vector<Rect> out_;
    std::size_t bandStart_ = 0;
    std::size_t bandCount_ = 0;
};

namespace {

bool applyOp(CombineMode mode, bool a, bool b)
{
    switch (mode) {
    case CombineMode::And:
        return a && b;
    case CombineMode::Or:
        return a || b;
    case CombineMode::Xor:
        return a != b;
    case CombineMode::Diff:
        return a && !b;
    case CombineMode::Copy:
        return a;
    }
    return false;
}

// Combines the spans of one band of each operand (either may be empty).
void mergeSpans(const Rect* a, std::size_t na, const Rect* b, std::size_t nb, CombineMode mode,
    std::vector<Span>& out)
{
    out.clear();
    constexpr std::int64_t kEnd = std::numeric_limits<std::int64_t>::max();
    std::size_t i = 0, j = 0;
    bool inA = false, inB = false, in = false;
    int start = 0;
    for (;;) {
        const std::int64_t ea = i < na ? (inA ? a[i].right : a[i].left) : kEnd;
        const std::int64_t eb = j < nb ? (inB ? b[j].right : b[j].left) : kEnd;
        const std::int64_t x = std::min(ea, eb);
        if (x == kEnd)
            break;
        if (ea == x) {
            if (inA)
                ++i;
            inA = !inA;
        }
        if (eb == x) {
            if (inB)
                ++j;
            inB = !inB;
        }
        const bool now = applyOp(mode, inA, inB);
        if (now != in) {
            if (now)
                start = int(x);
            else
                out.push_back({ start, int(x) });
            in = now;
        }
    }
}

std::size_t bandEnd(const std::vector<Rect>& r, std::size_t i)
{
    std::size_t k = i;
    while (k < r.size() && r[k].top == r[i].top)
        ++k;
    return k;
}

} // namespace

void Region::checked() const
{
#ifdef QM_SELF_CHECKS
    std::string why;
    if (!selfCheck(&why)) {
        std::fprintf(stderr, "region invariant broken: %s\n", why.c_str());
        std::abort();
    }
#endif
}

Region Region::rect(const Rect& r)
{
    Region g;
    const Rect n = r.normalized();
    if (!n.isEmpty()) {
        g.rects_.push_back(n);
        g.box_ = n;
    }
    g.checked();
    return g;
}

Region Region::fromRects(std::span<const Rect> rects)
{
    // Pairwise unions keep the work near n log n.
    std::vector<Region> parts;
    parts.reserve(rects.size());
    for (const Rect& r : rects) {
        Region g = rect(r);
        if (!g.isEmpty())
            parts.push_back(std::move(g));
    }
    if (parts.empty())
        return {};
    while (parts.size() > 1) {
        std::vector<Region> next;
        next.reserve((parts.size() + 1) / 2);
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
            next.push_back(combined(parts[i], parts[i + 1], CombineMode::Or));
        if (parts.size() % 2)
            next.push_back(std::move(parts.back()));
        parts = std::move(next);
    }
    return std::move(parts.front());
}

Region Region::polygon(std::span<const Point> points, FillMode mode)
{
    struct Edge {
        std::int64_t x0, y0, dx, dy; // oriented downwards: dy > 0
        int dir;
    };
    std::vector<Edge> edges;
    int ymin = INT32_MAX, ymax = INT32_MIN;
    const std::size_t n = points.size();
    if (n < 3)
        return {};
    for (std::size_t i = 0; i < n; ++i) {
        Point p = points[i], q = points[(i + 1) % n];
        p = { clampShape(p.x), clampShape(p.y) };
        q = { clampShape(q.x), clampShape(q.y) };
        if (p.y == q.y)
            continue;
        int dir = 1;
        if (p.y > q.y) {
            std::swap(p, q);
            dir = -1;
        }
        edges.push_back({ p.x, p.y, std::int64_t(q.x) - p.x, std::int64_t(q.y) - p.y, dir });
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, q.y);
    }
    Region g;
    if (edges.empty()) {
        g.checked();
        return g;
    }
    RegionBuilder builder;
    struct Crossing {
        std::int64_t x;
        int dir;
    };
    std::vector<Crossing> xs;
    std::vector<Span> spans;
    for (int y = ymin; y < ymax; ++y) {
        xs.clear();
        for (const Edge& e : edges) {
            // The row's centre line y + 0.5 meets edges with y0 <= y < y0 + dy.
            if (y < e.y0 || y >= e.y0 + e.dy)
                continue;
            // First pixel whose centre is at or right of the crossing:
            // ceil(xc - 0.5) with xc = x0 + (y + 0.5 - y0) * dx / dy.
            const std::int64_t num = 2 * e.x0 * e.dy + (2 * (y - e.y0) + 1) * e.dx - e.dy;
            xs.push_back({ ceilDiv(num, 2 * e.dy), e.dir });
        }
        std::sort(
            xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        spans.clear();
        int winding = 0;
        bool in = false;
        std::int64_t start = 0;
        for (std::size_t k = 0; k < xs.size();) {
            const std::int64_t x = xs[k].x;
            for (; k < xs.size() && xs[k].x == x; ++k)
                winding += mode == FillMode::Winding ? xs[k].dir : 1;
            const bool now = mode == FillMode::Winding ? winding != 0 : (winding & 1) != 0;
            if (now != in) {
                if (now)
                    start = x;
                else if (x > start)
                    spans.push_back({ int(start), int(x) });
                in = now;
            }
        }
        builder.addBand(y, y + 1, spans);
    }
    builder.finishInto(g);
    return g;
}

Region Region::ellipse(const Rect& boxIn)
{
    const Rect box = Rect { clampShape(boxIn.left), clampShape(boxIn.top), clampShape(boxIn.right),
        clampShape(boxIn.bottom) }
                         .normalized();
    Region g;
    // Doubled semi-axes; in doubled coordinates the centre of pixel x is at
    // X = 2x + 2 - left - right (relative to the ellipse centre).
    const std::int64_t a2 = std::int64_t(box.right) - 1 - box.left;
    const std::int64_t b2 = std::int64_t(box.bottom) - 1 - box.top;
    if (a2 <= 0 || b2 <= 0) {
        g.checked();
        return g;
    }
    const Wide A2 = Wide(a2) * a2, B2 = Wide(b2) * b2;
    const std::int64_t parity = (std::int64_t(box.left) + box.right) & 1; // parity of X
    RegionBuilder builder;
    std::vector<Span> spans(1);
    for (int y = box.top; y < box.bottom - 1; ++y) {
        const std::int64_t Y = 2 * std::int64_t(y) + 2 - box.top - box.bottom;
        const Wide rest = A2 * (B2 - Wide(Y) * Y); // X^2 * B2 < rest
        if (rest <= 0)
            continue;
        auto inside = [&](std::int64_t X) { return Wide(X) * X * B2 < rest; };
        std::int64_t X = std::int64_t(std::sqrt(double(rest) / double(B2)));
        if ((X & 1) != parity)
            --X;
        while (X >= 0 && !inside(X))
            X -= 2;
        while (inside(X + 2))
            X += 2;
        if (X < 0)
            continue;
        // x = (X - 2 + left + right) / 2 for X in [-X, X].
        const std::int64_t sum = std::int64_t(box.left) + box.right - 2;
        spans[0] = { int((sum - X) / 2), int((sum + X) / 2 + 1) };
        builder.addBand(y, y + 1, spans);
    }
    builder.finishInto(g);
    return g;
}

RegionKind Region::kind() const
{
    if (rects_.empty())
        return RegionKind::Null;
    return rects_.size() == 1 ? RegionKind::Simple : RegionKind::Complex;
}

bool Region::contains(Point p) const
{
    if (!box_.contains(p))
        return false;
    auto it = std::partition_point(
        rects_.begin(), rects_.end(), [&](const Rect& r) { return r.bottom <= p.y; });
    for (; it != rects_.end() && it->top <= p.y; ++it) {
        if (it->left > p.x)
            return false;
        if (p.x < it->right)
            return true;
    }
    return false;
}

bool Region::intersects(const Rect& r) const
{
    const Rect n = r.normalized();
    if (n.intersected(box_).isEmpty())
        return false;
    for (const Rect& x : rects_) {
        if (!x.intersected(n).isEmpty())
            return true;
    }
    return false;
}

RegionKind Region::combine(const Region& a, const Region& b, CombineMode mode)
{
    if (mode == CombineMode::Copy) {
        if (this != &a) {
            rects_ = a.rects_;
            box_ = a.box_;
        }
        return kind();
    }
    const std::vector<Rect>& ra = a.rects_;
    const std::vector<Rect>& rb = b.rects_;
    RegionBuilder builder;
    std::vector<Span> spans;
    constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();
    std::size_t ia = 0, ib = 0;
    std::int64_t y
        = std::min(ra.empty() ? kNone : ra.front().top, rb.empty() ? kNone : rb.front().top);
    while (ia < ra.size() || ib < rb.size()) {
        const bool aIn = ia < ra.size() && ra[ia].top <= y;
        const bool bIn = ib < rb.size() && rb[ib].top <= y;
        const std::int64_t aNext = ia < ra.size() ? (aIn ? ra[ia].bottom : ra[ia].top) : kNone;
        const std::int64_t bNext = ib < rb.size() ? (bIn ? rb[ib].bottom : rb[ib].top) : kNone;
        const std::int64_t next = std::min(aNext, bNext);
        const std::size_t aEnd = aIn ? bandEnd(ra, ia) : ia;
        const std::size_t bEnd = bIn ? bandEnd(rb, ib) : ib;
        if (aIn || bIn) {
            mergeSpans(ra.data() + ia, aEnd - ia, rb.data() + ib, bEnd - ib, mode, spans);
            builder.addBand(int(y), int(next), spans);
        }
        if (aIn && next == ra[ia].bottom)
            ia = aEnd;
        if (bIn && next == rb[ib].bottom)
            ib = bEnd;
        y = next;
    }
    builder.finishInto(*this);
    return kind();
}

Region Region::combined(const Region& a, const Region& b, CombineMode mode)
{
    Region r;
    r.combine(a, b, mode);
    return r;
}

void Region::offset(int dx, int dy)
{
    if (rects_.empty() || (dx == 0 && dy == 0))
        return;
    const Rect moved = box_.translated(dx, dy);
    const bool saturates = moved.width() != box_.width() || moved.height() != box_.height();
    if (!saturates) {
        for (Rect& r : rects_)
            r = { r.left + dx, r.top + dy, r.right + dx, r.bottom + dy };
        box_ = moved;
        checked();
        return;
    }
    std::vector<Rect> rs;
    rs.reserve(rects_.size());
    for (const Rect& r : rects_)
        rs.push_back(r.translated(dx, dy));
    *this = fromRects(rs);
}

Region Region::translated(int dx, int dy) const
{
    Region r = *this;
    r.offset(dx, dy);
    return r;
}

Region Region::frame(int w, int h) const
{
    if (rects_.empty())
        return {};
    Region inner = *this;
    const int dirs[4][2] = { { -1, -1 }, { 1, -1 }, { -1, 1 }, { 1, 1 } };
    for (const auto& d : dirs) {
        inner.combine(inner, translated(-d[0] * w, -d[1] * h), CombineMode::And);
        if (inner.isEmpty())
            break;
    }
    return combined(*this, inner, CombineMode::Diff);
}

bool Region::selfCheck(std::string* why) const
{
    auto fail = [&](const char* what, std::size_t i) {
        if (why)
            *why = std::string(what) + " at rectangle " + std::to_string(i);
        return false;
    };
    if (rects_.empty()) {
        if (box_ != Rect {})
            return fail("empty region with a box", 0);
        return true;
    }
    Rect box { INT32_MAX, rects_.front().top, INT32_MIN, rects_.back().bottom };
    std::size_t prevStart = 0, prevEnd = 0;
    bool havePrev = false;
    for (std::size_t i = 0; i < rects_.size();) {
        const std::size_t end = bandEnd(rects_, i);
        for (std::size_t k = i; k < end; ++k) {
            const Rect& r = rects_[k];
            if (r.isEmpty())
                return fail("empty rectangle", k);
            if (r.bottom != rects_[i].bottom)
                return fail("uneven band", k);
            if (k > i && rects_[k - 1].right >= r.left)
                return fail("overlapping or touching rectangles in a band", k);
            box.left = std::min(box.left, r.left);
            box.right = std::max(box.right, r.right);
        }
        if (havePrev) {
            const Rect& p = rects_[prevStart];
            if (p.bottom > rects_[i].top)
                return fail("bands out of order or overlapping", i);
            if (p.bottom == rects_[i].top && prevEnd - prevStart == end - i) {
                bool same = true;
                for (std::size_t k = 0; k < end - i && same; ++k)
                    same = rects_[prevStart + k].left == rects_[i + k].left
                        && rects_[prevStart + k].right == rects_[i + k].right;
                if (same)
                    return fail("unmerged bands", i);
            }
        }
        havePrev = true;
        prevStart = i;
        prevEnd = end;
        i = end;
    }
    if (box != box_)
        return fail("box is not the exact extent", 0);
    return true;
}

} // namespace qm::gfx
