#include "platform/raster/dc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>
#include <vector>

namespace qm::gfx {

// The objects a new context starts with are shared by all contexts, as the platform's
// stock objects are (and are counted once, for the life of the program).
struct StockObjects {
    Bitmap bitmap = Bitmap::createMono(1, 1);
    Pen pen = Pen::create(PenStyle::Solid, 1, 0);
    Brush brush = Brush::solid(rgb(255, 255, 255));
};
const StockObjects& stock()
{
    static const StockObjects objects;
    return objects;
}

class DCData {
public:
    Bitmap bitmap = stock().bitmap;
    Pen pen = stock().pen;
    Brush brush = stock().brush;
    Font font;
    ColorRef text = 0;
    ColorRef bk = rgb(255, 255, 255);
    int bkMode = kOpaque;
    std::optional<Region> clip;
    Point position;
    // What drawing through the context may have changed since the last takeDrawnBounds().
    mutable Rect drawn;
    LiveToken<ObjectKind::DC> live;
};

namespace {

// Raster operations work on "words": 0x00RRGGBB for colour surfaces, 0 or
// 0x00FFFFFF for monochrome ones (every bit equal, so any bit is the pixel).
constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

std::uint32_t colorWord(ColorRef c)
{
    return toPixel(drawableColor(c)) & kRgbMask;
}
std::uint32_t monoWord(bool bit)
{
    return bit ? kRgbMask : 0u;
}

void markDrawn(const DCData& d, const Rect& r)
{
    Rect& a = d.drawn;
    a = a.isEmpty() ? r
                    : Rect { std::min(a.left, r.left), std::min(a.top, r.top),
                          std::max(a.right, r.right), std::max(a.bottom, r.bottom) };
}

// Where on `d`'s surface drawing may land within r: calls f(y, x0, x1) per clipped span.
template <class F> void forEachSpan(const DCData& d, const Rect& r, F&& f)
{
    const Rect area = r.intersected(d.bitmap.rect());
    if (area.isEmpty())
        return;
    markDrawn(d, area);
    if (!d.clip) {
        for (int y = area.top; y < area.bottom; ++y)
            f(y, area.left, area.right);
        return;
    }
    for (const Rect& c : d.clip->rects()) {
        if (c.top >= area.bottom)
            break;
        const Rect part = c.intersected(area);
        for (int y = part.top; y < part.bottom; ++y)
            f(y, part.left, part.right);
    }
}

bool drawable(const DCData& d, int x, int y)
{
    return d.bitmap.rect().contains({ x, y }) && (!d.clip || d.clip->contains(x, y));
}

// The brush's word at (x, y) for a surface of the given kind.
class PatternSource {
public:
    PatternSource(const DCData& d, const Brush& brush)
        : mono_(d.bitmap.isMono())
        , style_(brush.style())
        , bitmap_(brush.patternBitmap())
        , text_(d.text)
        , bk_(d.bk)
    {
        if (style_ == BrushStyle::Solid)
            solid_ = mono_ ? monoWord(monoBitOf(drawableColor(brush.color())))
                           : colorWord(brush.color());
    }
    bool isConstant() const { return style_ != BrushStyle::Pattern; }
    std::uint32_t at(int x, int y) const
    {
        if (style_ != BrushStyle::Pattern)
            return solid_;
        const int w = bitmap_.width(), h = bitmap_.height();
        const int px = ((x % w) + w) % w, py = ((y % h) + h) % h;
        if (bitmap_.isMono()) {
            const bool bit = bitmap_.monoScanLine(py)[px] != 0;
            if (mono_)
                return monoWord(bit);
            return colorWord(bit ? bk_ : text_);
        }
        const std::uint32_t p = bitmap_.scanLine(py)[px] & kRgbMask;
        return mono_ ? monoWord(monoBitOf(fromPixel(p))) : p;
    }

private:
    bool mono_;
    BrushStyle style_;
    const Bitmap& bitmap_;
    ColorRef text_, bk_;
    std::uint32_t solid_ = 0;
};

std::uint32_t readWord(const Bitmap& b, int x, int y)
{
    return b.isMono() ? monoWord(b.monoScanLine(y)[x] != 0) : (b.scanLine(y)[x] & kRgbMask);
}
void writeWord(Bitmap& b, int x, int y, std::uint32_t w)
{
    if (b.isMono())
        b.monoScanLine(y)[x] = std::uint8_t(w & 1);
    else
        b.scanLine(y)[x] = 0xFF000000u | (w & kRgbMask);
}

// Fills a span with one word (no raster operation).
void fillSpan(Bitmap& b, int y, int x0, int x1, std::uint32_t w)
{
    if (b.isMono())
        std::fill(b.monoScanLine(y) + x0, b.monoScanLine(y) + x1, std::uint8_t(w & 1));
    else
        std::fill(b.scanLine(y) + x0, b.scanLine(y) + x1, 0xFF000000u | w);
}

void fillWithBrush(DCData& d, const Rect& r, const Brush& brush)
{
    if (brush.style() == BrushStyle::Null || r.isEmpty())
        return;
    const PatternSource pat(d, brush);
    Bitmap& b = d.bitmap;
    if (pat.isConstant()) {
        const std::uint32_t w = pat.at(0, 0);
        if (b.isMono()) {
            forEachSpan(d, r, [&](int y, int x0, int x1) { fillSpan(b, y, x0, x1, w); });
            return;
        }
        // One row of the colour, copied into every span (the library copy is far
        // quicker than a word-by-word fill).
        std::vector<std::uint32_t> row(
            std::size_t(std::max(0, std::min(r.width(), b.width()))), 0xFF000000u | w);
        forEachSpan(d, r, [&](int y, int x0, int x1) {
            std::memcpy(b.scanLine(y) + x0, row.data(), std::size_t(x1 - x0) * 4);
        });
        return;
    }
    forEachSpan(d, r, [&](int y, int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            writeWord(b, x, y, pat.at(x, y));
    });
}

// Draws the pixels of one pen stroke, keeping the dot pattern's place across calls.
class Stroker {
public:
    explicit Stroker(DCData& d)
        : d_(d)
        , style_(d.pen.style())
        , width_(d.pen.width())
    {
        const bool mono = d.bitmap.isMono();
        const ColorRef pc = drawableColor(d.pen.color());
        ink_ = mono ? monoWord(monoBitOf(pc)) : colorWord(pc);
        gap_ = mono ? monoWord(monoBitOf(drawableColor(d.bk))) : colorWord(d.bk);
        opaqueGaps_ = d.bkMode == kOpaque;
        w_ = d.bitmap.width();
        h_ = d.bitmap.height();
        clip_ = d.clip ? &*d.clip : nullptr;
    }
    bool visible() const { return style_ != PenStyle::Null; }

    void pixel(int x, int y)
    {
        if (style_ == PenStyle::Dot) {
            const bool on = (count_++ / kDotLength) % 2 == 0;
            if (on)
                put(x, y, ink_);
            else if (opaqueGaps_)
                put(x, y, gap_);
            return;
        }
        if (width_ == 1) {
            put(x, y, ink_);
            return;
        }
        // Wide pens: a square of the pen's width centred on the pixel.
        const int h = (width_ - 1) / 2;
        const Rect sq { x - h, y - h, x - h + width_, y - h + width_ };
        forEachSpan(d_, sq, [&](int yy, int x0, int x1) { fillSpan(d_.bitmap, yy, x0, x1, ink_); });
    }

    // From p towards q, p drawn, q not: one pixel per column when flatter than 45
    // degrees, one per row otherwise; a tie goes to the smaller coordinate.
    void segment(Point p, Point q)
    {
        const std::int64_t dx = std::int64_t(q.x) - p.x, dy = std::int64_t(q.y) - p.y;
        const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
        if (adx == 0 && ady == 0)
            return;
        // Step i of n along the major axis moves the minor coordinate to
        // ceil((2 i d - n) / 2n) (the nearest, ties to the smaller), tracked incrementally.
        // Only steps whose major coordinate can reach the surface are walked; the dot
        // count still advances over the others.
        const int margin = width_ + 1;
        auto walk = [&](std::int64_t n, std::int64_t from, int step, std::int64_t extent,
                        std::int64_t minorFrom, std::int64_t d, auto&& at) {
            const std::int64_t lo = -margin, hi = extent + margin; // visible major coordinates
            std::int64_t first = step > 0 ? lo - from : from - hi;
            std::int64_t last = step > 0 ? hi - from : from - lo;
            first = std::clamp<std::int64_t>(first, 0, n);
            last = std::clamp<std::int64_t>(last + 1, 0, n);
            count_ += first;
            const std::int64_t den = 2 * n;
            const std::int64_t num = 2 * first * d - n;
            std::int64_t k = num / den;
            if (num % den != 0 && num > 0)
                ++k;
            std::int64_t r = num - k * den; // in (-den, 0]
            for (std::int64_t i = first; i < last; ++i) {
                at(from + step * i, minorFrom + k);
                r += 2 * d;
                if (r > 0) {
                    ++k;
                    r -= den;
                } else if (r <= -den) {
                    --k;
                    r += den;
                }
            }
            count_ += n - std::max(first, last);
        };
        if (adx >= ady) {
            walk(adx, p.x, dx < 0 ? -1 : 1, d_.bitmap.width(), p.y, dy,
                [&](std::int64_t x, std::int64_t y) { pixel(int(x), int(y)); });
        } else {
            walk(ady, p.y, dy < 0 ? -1 : 1, d_.bitmap.height(), p.x, dx,
                [&](std::int64_t y, std::int64_t x) { pixel(int(x), int(y)); });
        }
    }

private:
    void put(int x, int y, std::uint32_t word)
    {
        if (unsigned(x) < unsigned(w_) && unsigned(y) < unsigned(h_)
            && (!clip_ || clip_->contains(x, y))) {
            writeWord(d_.bitmap, x, y, word);
            markDrawn(d_, { x, y, x + 1, y + 1 });
        }
    }

    DCData& d_;
    PenStyle style_;
    int width_;
    int w_ = 0, h_ = 0;
    const Region* clip_ = nullptr;
    std::uint32_t ink_ = 0, gap_ = 0;
    bool opaqueGaps_ = false;
    long count_ = 0;
};

double screenAngle(double x, double y, double cx, double cy)
{
    double a = std::atan2(cy - y, x - cx); // y grows downwards; anticlockwise on screen
    if (a < 0)
        a += 2 * std::numbers::pi;
    return a;
}

// Pixels of the ellipse inscribed in l..r-1 x t..b-1, in anticlockwise order
// starting at angle 0 (the rightmost point), with their angles.
struct ArcPixel {
    Point p;
    double angle;
};
// Only pixels within `visible` are produced, so a huge box costs no more than the surface.
std::vector<ArcPixel> ellipseOutline(const Rect& box, const Rect& visible)
{
    std::vector<Point> pts;
    const double l = box.left, t = box.top, r = double(box.right) - 1, b = double(box.bottom) - 1;
    const double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
    const double a = (r - l) / 2.0, bb = (b - t) / 2.0;
    auto keep = [&](double x, double y) {
        if (x >= visible.left && x < visible.right && y >= visible.top && y < visible.bottom)
            pts.push_back({ int(x), int(y) });
    };
    if (a == 0 || bb == 0) {
        const Rect line = Rect { box.left, box.top, box.right, box.bottom }.intersected(visible);
        for (int y = line.top; y < line.bottom; ++y)
            for (int x = line.left; x < line.right; ++x)
                pts.push_back({ x, y });
    } else {
        // One quadrant (x >= cx, y <= cy), mirrored; the mirror of x is l + r - x.
        std::vector<std::pair<double, double>> q;
        // Offsets from the centre, on the pixel grid, for which the pixel or its mirror
        // falls within [lo, hi): the two intervals c - hi < s <= c - lo and lo - c <= s < hi - c.
        auto offsets = [](double grid, double limit, double c, double lo, double hi, auto&& f) {
            for (const auto& [from, to] :
                { std::pair { c - hi, c - lo }, std::pair { lo - c, hi - c } }) {
                const double start = std::max(grid, grid + std::ceil(from - grid));
                for (double s = start; s <= std::min(limit, to); s += 1.0)
                    if (!f(s))
                        break;
            }
        };
        // Rows while the curve is steep.
        offsets(
            (cy == std::floor(cy)) ? 0.0 : 0.5, bb, cy, visible.top, visible.bottom, [&](double v) {
                const double u = a * std::sqrt(std::max(0.0, 1.0 - (v / bb) * (v / bb)));
                if (bb * bb * u < a * a * v)
                    return false;
                q.push_back({ std::floor(cx + u + 0.5), std::round(cy - v) });
                return true;
            });
        // Columns while it is flat.
        offsets(
            (cx == std::floor(cx)) ? 0.0 : 0.5, a, cx, visible.left, visible.right, [&](double u) {
                const double v = bb * std::sqrt(std::max(0.0, 1.0 - (u / a) * (u / a)));
                if (bb * bb * u > a * a * v)
                    return false;
                q.push_back({ std::round(cx + u), std::ceil(cy - v - 0.5) });
                return true;
            });
        for (const auto& [x, y] : q) {
            const double mx = l + r - x, my = t + b - y;
            keep(x, y);
            keep(mx, y);
            keep(x, my);
            keep(mx, my);
        }
    }
    std::sort(pts.begin(), pts.end(),
        [](Point m, Point n) { return m.y != n.y ? m.y < n.y : m.x < n.x; });
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    std::vector<ArcPixel> out;
    out.reserve(pts.size());
    for (const Point& p : pts)
        out.push_back({ p, screenAngle(p.x, p.y, cx, cy) });
    std::stable_sort(out.begin(), out.end(),
        [](const ArcPixel& m, const ArcPixel& n) { return m.angle < n.angle; });
    return out;
}

// The source of a block transfer, read once (so source and destination may overlap),
// converted to the destination's kind and reduced to the destination's size.
struct SourceBlock {
    int width = 0, height = 0;
    std::vector<std::uint32_t> words;
    std::vector<std::uint8_t> valid;
};

std::uint32_t convertedWord(const Bitmap& src, int x, int y, bool dstMono, std::uint32_t srcBk,
    std::uint32_t dstBk, std::uint32_t dstText)
{
    if (src.isMono()) {
        const bool bit = src.monoScanLine(y)[x] != 0;
        return dstMono ? monoWord(bit) : (bit ? dstBk : dstText);
    }
    const std::uint32_t p = src.scanLine(y)[x] & kRgbMask;
    return dstMono ? monoWord(p == srcBk) : p;
}

SourceBlock readSource(const DCData& dst, const DCData& src, const Rect& s, int dw, int dh)
{
    const Bitmap& sb = src.bitmap;
    const bool dstMono = dst.bitmap.isMono();
    const std::uint32_t srcBk = colorWord(src.bk), dstBk = colorWord(dst.bk),
                        dstText = colorWord(dst.text);
    const int sw = s.width(), sh = s.height();
    const Rect bounds = sb.rect();
    if (sw == dw && sh == dh) {
        SourceBlock out;
        out.width = dw;
        out.height = dh;
        out.words.assign(std::size_t(dw) * std::size_t(dh), 0);
        out.valid.assign(out.words.size(), 0);
        const Rect inside = s.intersected(bounds);
        for (int y = inside.top; y < inside.bottom; ++y) {
            const std::size_t row = std::size_t(y - s.top) * std::size_t(dw);
            for (int x = inside.left; x < inside.right; ++x) {
                out.words[row + std::size_t(x - s.left)]
                    = convertedWord(sb, x, y, dstMono, srcBk, dstBk, dstText);
                out.valid[row + std::size_t(x - s.left)] = 1;
            }
        }
        return out;
    }
    // Source columns and rows feeding each destination column and row.
    auto ranges = [](int from, int to) {
        std::vector<std::pair<int, int>> r(std::size_t(std::max(to, 0)));
        for (int i = 0; i < to; ++i) {
            const int a = int(std::int64_t(i) * from / to);
            const int e = std::max(a + 1, int(std::int64_t(i + 1) * from / to));
            r[std::size_t(i)] = { a, e };
        }
        return r;
    };
    const auto cols = ranges(sw, dw), rows = ranges(sh, dh);
    // Columns first (per source row), then rows; eliminated pixels are ANDed.
    std::vector<std::uint32_t> tmp(std::size_t(sh) * std::size_t(dw));
    std::vector<std::uint8_t> tmpValid(tmp.size());
    for (int sy = 0; sy < sh; ++sy) {
        const int y = s.top + sy;
        for (int dx = 0; dx < dw; ++dx) {
            std::uint32_t acc = ~0u;
            bool any = false;
            for (int sx = cols[std::size_t(dx)].first; sx < cols[std::size_t(dx)].second; ++sx) {
                const int x = s.left + sx;
                if (!bounds.contains({ x, y }))
                    continue;
                acc &= convertedWord(sb, x, y, dstMono, srcBk, dstBk, dstText);
                any = true;
            }
            tmp[std::size_t(sy) * std::size_t(dw) + std::size_t(dx)] = acc & kRgbMask;
            tmpValid[std::size_t(sy) * std::size_t(dw) + std::size_t(dx)] = any;
        }
    }
    SourceBlock out;
    out.width = dw;
    out.height = dh;
    out.words.assign(std::size_t(dw) * std::size_t(dh), 0);
    out.valid.assign(out.words.size(), 0);
    for (int dy = 0; dy < dh; ++dy) {
        for (int dx = 0; dx < dw; ++dx) {
            std::uint32_t acc = ~0u;
            bool any = false;
            for (int sy = rows[std::size_t(dy)].first; sy < rows[std::size_t(dy)].second; ++sy) {
                const std::size_t k = std::size_t(sy) * std::size_t(dw) + std::size_t(dx);
                if (!tmpValid[k])
                    continue;
                acc &= tmp[k];
                any = true;
            }
            out.words[std::size_t(dy) * std::size_t(dw) + std::size_t(dx)] = acc & kRgbMask;
            out.valid[std::size_t(dy) * std::size_t(dw) + std::size_t(dx)] = any;
        }
    }
    return out;
}

// Where a transfer's source words come from: straight from the source surface, or
// from a block read beforehand (stretching, or a copy within one surface that overlaps).
class SourceRows {
public:
    // Source pixel of destination (x, y) is (x + offset.x, y + offset.y).
    SourceRows(const DCData& dst, const DCData& src, Point offset)
        : bitmap_(&src.bitmap)
        , offset_(offset)
        , dstMono_(dst.bitmap.isMono())
        , srcBk_(colorWord(src.bk))
        , dstBk_(colorWord(dst.bk))
        , dstText_(colorWord(dst.text))
    {
    }
    SourceRows(const SourceBlock& block, Point destOrigin)
        : block_(&block)
        , offset_ { -destOrigin.x, -destOrigin.y }
    {
    }

    void fetch(int y, int x0, int x1, std::uint32_t* words, std::uint8_t* valid) const
    {
        const int n = x1 - x0;
        if (block_) {
            const std::size_t k = std::size_t(y + offset_.y) * std::size_t(block_->width)
                + std::size_t(x0 + offset_.x);
            std::copy_n(block_->words.data() + k, n, words);
            std::copy_n(block_->valid.data() + k, n, valid);
            return;
        }
        const Bitmap& b = *bitmap_;
        const int sy = y + offset_.y;
        std::fill_n(valid, n, std::uint8_t(0));
        if (sy < 0 || sy >= b.height())
            return;
        const int from = std::max(x0, -offset_.x), to = std::min(x1, b.width() - offset_.x);
        if (b.isMono()) {
            const std::uint8_t* row = b.monoScanLine(sy);
            for (int x = from; x < to; ++x) {
                const bool bit = row[x + offset_.x] != 0;
                words[x - x0] = dstMono_ ? monoWord(bit) : (bit ? dstBk_ : dstText_);
                valid[x - x0] = 1;
            }
            return;
        }
        const std::uint32_t* row = b.scanLine(sy);
        for (int x = from; x < to; ++x) {
            const std::uint32_t p = row[x + offset_.x] & kRgbMask;
            words[x - x0] = dstMono_ ? monoWord(p == srcBk_) : p;
            valid[x - x0] = 1;
        }
    }

private:
    const SourceBlock* block_ = nullptr;
    const Bitmap* bitmap_ = nullptr;
    Point offset_;
    bool dstMono_ = false;
    std::uint32_t srcBk_ = 0, dstBk_ = 0, dstText_ = 0;
};

template <class Op>
void transferWith(DCData& d, const Rect& dest, const SourceRows* source, bool usesPattern, Op op)
{
    const PatternSource pat(d, d.brush);
    Bitmap& b = d.bitmap;
    const bool mono = b.isMono();
    std::vector<std::uint32_t> words(source ? std::size_t(std::max(dest.width(), 0)) : 0);
    std::vector<std::uint8_t> valid(words.size());
    const std::uint32_t* sw = words.data();
    const std::uint8_t* sv = valid.data();
    forEachSpan(d, dest, [&](int y, int x0, int x1) {
        if (source)
            source->fetch(y, x0, x1, words.data(), valid.data());
        std::uint32_t* crow = mono ? nullptr : b.scanLine(y);
        std::uint8_t* mrow = mono ? b.monoScanLine(y) : nullptr;
        for (int x = x0; x < x1; ++x) {
            std::uint32_t s = 0;
            if (source) {
                const std::size_t i = std::size_t(x - x0);
                if (!sv[i])
                    continue;
                s = sw[i];
            }
            const std::uint32_t p = usesPattern ? pat.at(x, y) : 0;
            if (mono)
                mrow[x] = std::uint8_t(op(p, s, monoWord(mrow[x] != 0)) & 1);
            else
                crow[x] = 0xFF000000u | (op(p, s, crow[x] & kRgbMask) & kRgbMask);
        }
    });
}

// dest = rop(pattern, source, dest) over the clipped destination rectangle; the
// codes in everyday use get a direct expression, the rest the general formula.
void transfer(DCData& d, const Rect& dest, const SourceRows* source, std::uint8_t rop)
{
    const bool pat = ropUsesPattern(rop);
    using W = std::uint32_t;
    switch (rop) {
    case 0xCC:
        return transferWith(d, dest, source, false, [](W, W s, W) { return s; });
    case 0x88:
        return transferWith(d, dest, source, false, [](W, W s, W t) { return s & t; });
    case 0xEE:
        return transferWith(d, dest, source, false, [](W, W s, W t) { return s | t; });
    case 0x22:
        return transferWith(d, dest, source, false, [](W, W s, W t) { return t & ~s; });
    case 0x66:
        return transferWith(d, dest, source, false, [](W, W s, W t) { return s ^ t; });
    case 0xB8:
        return transferWith(
            d, dest, source, true, [](W p, W s, W t) { return (s & t) | (p & ~s); });
    case 0xF0:
        return transferWith(d, dest, source, true, [](W p, W, W) { return p; });
    case 0x5A:
        return transferWith(d, dest, source, true, [](W p, W, W t) { return p ^ t; });
    default:
        return transferWith(
            d, dest, source, pat, [rop](W p, W s, W t) { return applyRop(rop, p, s, t); });
    }
}

// Same-format plain copy, row by row (memmove keeps overlapping copies right).
bool fastCopy(DCData& d, const Rect& dest, const DCData& src, Point so)
{
    if (d.bitmap.isMono() || src.bitmap.isMono())
        return false;
    const Rect srcArea
        = Rect::fromSize(so.x, so.y, dest.width(), dest.height()).intersected(src.bitmap.rect());
    const Rect usable = srcArea.translated(dest.left - so.x, dest.top - so.y);
    if (d.bitmap == src.bitmap && !usable.intersected(srcArea).isEmpty()) {
        // Overlapping within one surface: rows in the order that reads each before it is
        // overwritten (memmove takes care of each row). With a clip, the general path.
        if (d.clip)
            return false;
        const Rect area = usable.intersected(d.bitmap.rect());
        if (area.isEmpty())
            return true;
        markDrawn(d, area);
        const bool bottomUp = dest.top > so.y; // copying down: the lowest row first
        auto row = [&](int y) {
            std::memmove(d.bitmap.scanLine(y) + area.left,
                src.bitmap.scanLine(y - dest.top + so.y) + (area.left - dest.left + so.x),
                std::size_t(area.width()) * 4);
        };
        if (bottomUp)
            for (int y = area.bottom - 1; y >= area.top; --y)
                row(y);
        else
            for (int y = area.top; y < area.bottom; ++y)
                row(y);
        return true;
    }
    forEachSpan(d, usable, [&](int y, int x0, int x1) {
        const std::uint32_t* from
            = src.bitmap.scanLine(y - dest.top + so.y) + (x0 - dest.left + so.x);
        std::memcpy(d.bitmap.scanLine(y) + x0, from, std::size_t(x1 - x0) * 4);
    });
    return true;
}

} // namespace

DC DC::createMemory()
{
    DC dc;
    dc.d_ = std::make_shared<DCData>();
    return dc;
}

DC DC::createCompatible(const DC&)
{
    return createMemory();
}

Bitmap DC::createCompatibleBitmap(int width, int height) const
{
    if (d_ && d_->bitmap.isMono())
        return Bitmap::createMono(width, height);
    return Bitmap::createColor(width, height);
}

namespace {
template <class T> T swapIn(bool ok, T& slot, const T& incoming)
{
    if (!ok || !incoming)
        return T();
    T old = std::move(slot);
    slot = incoming;
    return old;
}
} // namespace

Rect DC::takeDrawnBounds()
{
    return d_ ? std::exchange(d_->drawn, Rect {}) : Rect {};
}

void DC::noteDrawn(const Rect& r)
{
    if (!d_)
        return;
    const Rect area = r.intersected(d_->bitmap.rect());
    if (!area.isEmpty())
        markDrawn(*d_, area);
}

Bitmap DC::select(const Bitmap& bitmap)
{
    return d_ ? swapIn(true, d_->bitmap, bitmap) : Bitmap();
}
Pen DC::select(const Pen& pen)
{
    return d_ ? swapIn(true, d_->pen, pen) : Pen();
}
Brush DC::select(const Brush& brush)
{
    return d_ ? swapIn(true, d_->brush, brush) : Brush();
}
Font DC::select(const Font& font)
{
    // The font slot may legitimately be empty (the default), so an empty font selects too.
    if (!d_)
        return Font();
    Font old = d_->font;
    d_->font = font;
    return old;
}

namespace {
template <class T> const T& emptyOf()
{
    static const T none;
    return none;
}
} // namespace

const Bitmap& DC::bitmap() const
{
    return d_ ? d_->bitmap : emptyOf<Bitmap>();
}
const Pen& DC::pen() const
{
    return d_ ? d_->pen : emptyOf<Pen>();
}
const Brush& DC::brush() const
{
    return d_ ? d_->brush : emptyOf<Brush>();
}
const Font& DC::font() const
{
    return d_ ? d_->font : emptyOf<Font>();
}

ColorRef DC::setTextColor(ColorRef c)
{
    if (!d_)
        return kInvalidColor;
    return std::exchange(d_->text, c);
}
ColorRef DC::textColor() const
{
    return d_ ? d_->text : 0;
}
ColorRef DC::setBkColor(ColorRef c)
{
    if (!d_)
        return kInvalidColor;
    return std::exchange(d_->bk, c);
}
ColorRef DC::bkColor() const
{
    return d_ ? d_->bk : rgb(255, 255, 255);
}
int DC::setBkMode(int mode)
{
    if (!d_)
        return 0;
    return std::exchange(d_->bkMode, mode);
}
int DC::bkMode() const
{
    return d_ ? d_->bkMode : kOpaque;
}

RegionKind DC::setClip(const Region& region)
{
    if (!d_)
        return RegionKind::Error;
    d_->clip = region;
    return region.kind();
}
void DC::clearClip()
{
    if (d_)
        d_->clip.reset();
}
const std::optional<Region>& DC::clip() const
{
    static const std::optional<Region> none;
    return d_ ? d_->clip : none;
}

Region DC::drawableRegion() const
{
    if (!d_)
        return {};
    Region r = Region::rect(d_->bitmap.rect());
    if (d_->clip)
        r.combine(r, *d_->clip, CombineMode::And);
    return r;
}

Point DC::moveTo(Point p)
{
    if (!d_)
        return {};
    return std::exchange(d_->position, p);
}
Point DC::position() const
{
    return d_ ? d_->position : Point {};
}

void DC::lineTo(Point p)
{
    if (!d_)
        return;
    Stroker s(*d_);
    if (s.visible())
        s.segment(d_->position, p);
    d_->position = p;
}

void DC::polyline(std::span<const Point> points)
{
    if (!d_ || points.size() < 2)
        return;
    Stroker s(*d_);
    if (!s.visible())
        return;
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        s.segment(points[i], points[i + 1]);
}

void DC::rectangle(const Rect& rIn)
{
    if (!d_)
        return;
    const Rect r = rIn.normalized();
    if (r.isEmpty())
        return;
    const Pen& pen = d_->pen;
    if (pen.style() == PenStyle::Null) {
        fillWithBrush(*d_, { r.left, r.top, r.right - 1, r.bottom - 1 }, d_->brush);
        return;
    }
    fillWithBrush(*d_, { r.left + 1, r.top + 1, r.right - 1, r.bottom - 1 }, d_->brush);
    if (pen.style() == PenStyle::Solid && pen.width() == 1) {
        const std::uint32_t w = d_->bitmap.isMono()
            ? monoWord(monoBitOf(drawableColor(pen.color())))
            : colorWord(pen.color());
        const Rect edges[4]
            = { { r.left, r.top, r.right, r.top + 1 }, { r.left, r.bottom - 1, r.right, r.bottom },
                  { r.left, r.top + 1, r.left + 1, r.bottom - 1 },
                  { r.right - 1, r.top + 1, r.right, r.bottom - 1 } };
        for (const Rect& e : edges)
            forEachSpan(*d_, e, [&](int y, int x0, int x1) { fillSpan(d_->bitmap, y, x0, x1, w); });
        return;
    }
    Stroker s(*d_);
    if (r.width() == 1 && r.height() == 1) {
        s.pixel(r.left, r.top);
        return;
    }
    const Point path[5] = { { r.left, r.top }, { r.right - 1, r.top },
        { r.right - 1, r.bottom - 1 }, { r.left, r.bottom - 1 }, { r.left, r.top } };
    for (int i = 0; i < 4; ++i)
        s.segment(path[i], path[i + 1]);
}

ColorRef DC::setPixel(int x, int y, ColorRef color)
{
    if (!d_ || !drawable(*d_, x, y))
        return kInvalidColor;
    d_->bitmap.setPixel(x, y, drawableColor(color));
    markDrawn(*d_, { x, y, x + 1, y + 1 });
    return d_->bitmap.pixel(x, y);
}

ColorRef DC::pixel(int x, int y) const
{
    if (!d_ || !drawable(*d_, x, y))
        return kInvalidColor;
    return d_->bitmap.pixel(x, y);
}

void DC::arc(const Rect& boxIn, Point start, Point end)
{
    if (!d_)
        return;
    const Rect box = boxIn.normalized();
    if (box.isEmpty())
        return;
    Stroker s(*d_);
    if (!s.visible())
        return;
    const int margin = d_->pen.width() + 1;
    const auto outline = ellipseOutline(
        box, { -margin, -margin, d_->bitmap.width() + margin, d_->bitmap.height() + margin });
    const double cx = (double(box.left) + box.right - 1) / 2.0,
                 cy = (double(box.top) + box.bottom - 1) / 2.0;
    const double a0 = screenAngle(start.x, start.y, cx, cy);
    const double a1 = screenAngle(end.x, end.y, cx, cy);
    const double twoPi = 2 * std::numbers::pi;
    const bool whole = start == end || a0 == a1;
    const double sweep = whole ? twoPi : std::fmod(a1 - a0 + twoPi, twoPi);
    // Walk anticlockwise from the start radial.
    std::vector<std::pair<double, Point>> picked;
    for (const ArcPixel& px : outline) {
        const double off = std::fmod(px.angle - a0 + twoPi, twoPi);
        if (whole || off <= sweep)
            picked.push_back({ off, px.p });
    }
    std::stable_sort(picked.begin(), picked.end(),
        [](const auto& m, const auto& n) { return m.first < n.first; });
    for (const auto& [off, p] : picked)
        s.pixel(p.x, p.y);
}

void DC::fillRect(const Rect& r, const Brush& brush)
{
    if (d_)
        fillWithBrush(*d_, r, brush);
}

void DC::fillRegion(const Region& region, const Brush& brush)
{
    if (!d_)
        return;
    for (const Rect& r : region.rects())
        fillWithBrush(*d_, r, brush);
}

void DC::frameRegion(const Region& region, const Brush& brush, int w, int h)
{
    if (!d_ || w < 1 || h < 1)
        return;
    fillRegion(region.frame(w, h), brush);
}

void DC::drawFocusRect(const Rect& r)
{
    if (!d_ || r.isEmpty())
        return;
    // Four separate passes, as four pattern inversions: in a rectangle one pixel high the
    // top and bottom rows cancel.
    const Rect edges[4]
        = { { r.left, r.top, r.right, r.top + 1 }, { r.left, r.bottom - 1, r.right, r.bottom },
              { r.left, r.top + 1, r.left + 1, r.bottom - 1 },
              { r.right - 1, r.top + 1, r.right, r.bottom - 1 } };
    Bitmap& b = d_->bitmap;
    for (const Rect& e : edges) {
        forEachSpan(*d_, e, [&](int y, int x0, int x1) {
            for (int x = x0 + ((x0 + y) & 1); x < x1; x += 2)
                writeWord(b, x, y, readWord(b, x, y) ^ kRgbMask);
        });
    }
}

bool DC::patBlt(const Rect& rIn, RasterOp rop)
{
    if (!d_)
        return false;
    const std::uint8_t i = ropIndex(rop);
    if (ropUsesSource(i))
        return false;
    const Rect r = rIn.normalized();
    transfer(*d_, r, nullptr, i);
    return true;
}

bool DC::bitBlt(const Rect& dest, const DC& src, Point srcOrigin, RasterOp rop)
{
    if (!d_ || dest.width() < 0 || dest.height() < 0)
        return false;
    const std::uint8_t i = ropIndex(rop);
    if (!ropUsesSource(i)) {
        transfer(*d_, dest, nullptr, i);
        return true;
    }
    if (!src)
        return false;
    if (dest.isEmpty())
        return true;
    if (i == ropIndex(SRCCOPY) && fastCopy(*d_, dest, *src.d_, srcOrigin))
        return true;
    const Rect srcRect = Rect::fromSize(srcOrigin.x, srcOrigin.y, dest.width(), dest.height());
    if (d_->bitmap == src.d_->bitmap && !srcRect.intersected(dest).isEmpty()) {
        // Overlapping copy within one surface: read the source first.
        const SourceBlock block = readSource(*d_, *src.d_, srcRect, dest.width(), dest.height());
        const SourceRows rows(block, { dest.left, dest.top });
        transfer(*d_, dest, &rows, i);
        return true;
    }
    const SourceRows rows(*d_, *src.d_, { srcOrigin.x - dest.left, srcOrigin.y - dest.top });
    transfer(*d_, dest, &rows, i);
    return true;
}

bool DC::stretchBlt(const Rect& dest, const DC& src, const Rect& srcRect, RasterOp rop)
{
    if (srcRect.width() < 0 || srcRect.height() < 0)
        return false;
    const std::uint8_t i = ropIndex(rop);
    if (!ropUsesSource(i) || (dest.width() == srcRect.width() && dest.height() == srcRect.height()))
        return bitBlt(dest, src, { srcRect.left, srcRect.top }, rop);
    if (!d_ || dest.width() < 0 || dest.height() < 0 || !src)
        return false;
    if (dest.isEmpty() || srcRect.isEmpty())
        return true;
    const SourceBlock block = readSource(*d_, *src.d_, srcRect, dest.width(), dest.height());
    const SourceRows rows(block, { dest.left, dest.top });
    transfer(*d_, dest, &rows, i);
    return true;
}

void DC::blendCoverage(Point origin, int width, int height, const std::uint8_t* coverage,
    int coverageStride, ColorRef color)
{
    if (!d_ || !coverage || width <= 0 || height <= 0)
        return;
    const ColorRef c = drawableColor(color);
    Bitmap& b = d_->bitmap;
    const bool mono = b.isMono();
    const std::uint8_t bit = monoBitOf(c);
    forEachSpan(*d_, Rect::fromSize(origin.x, origin.y, width, height), [&](int y, int x0, int x1) {
        const std::uint8_t* row = coverage + std::ptrdiff_t(y - origin.y) * coverageStride;
        for (int x = x0; x < x1; ++x) {
            const unsigned k = row[x - origin.x];
            if (k == 0)
                continue;
            if (mono) {
                if (k >= 128)
                    b.monoScanLine(y)[x] = bit;
                continue;
            }
            std::uint32_t& p = b.scanLine(y)[x];
            if (k == 255) {
                p = toPixel(c);
                continue;
            }
            const ColorRef old = fromPixel(p);
            auto mix = [k](unsigned from, unsigned to) {
                return std::uint8_t((from * (255 - k) + to * k + 127) / 255);
            };
            p = toPixel(rgb(mix(redOf(old), redOf(c)), mix(greenOf(old), greenOf(c)),
                mix(blueOf(old), blueOf(c))));
        }
    });
}

} // namespace qm::gfx
