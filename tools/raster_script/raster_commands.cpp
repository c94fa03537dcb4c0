// Surface, tool, drawing and region commands.
#include "tools/raster_script/script.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace qm::tools {

namespace {

using namespace qm::gfx;

// Keeps a mistyped size from asking for gigabytes.
constexpr int kMaxSide = 8192;
// Polygon and ellipse regions are built row by row, so their extent is bounded too.
constexpr int kMaxShapeCoord = 65536;

void checkShape(const std::vector<Point>& pts)
{
    for (const Point& p : pts)
        if (std::abs(p.x) > kMaxShapeCoord || std::abs(p.y) > kMaxShapeCoord)
            throw ScriptError("polygon and ellipse coordinates must lie within -"
                + std::to_string(kMaxShapeCoord) + ".." + std::to_string(kMaxShapeCoord));
}

Rect rectArgs(const Args& a, std::size_t first)
{
    return { a.number(first), a.number(first + 1), a.number(first + 2), a.number(first + 3) };
}

std::vector<Point> pointArgs(const Args& a, std::size_t first)
{
    if ((a.size() - first) % 2 != 0)
        throw ScriptError("coordinates must come in X Y pairs");
    std::vector<Point> pts;
    for (std::size_t i = first; i + 1 < a.size(); i += 2)
        pts.push_back({ a.number(i), a.number(i + 1) });
    return pts;
}

void printBox(std::ostream& out, RegionKind kind, const Rect& box)
{
    switch (kind) {
    case RegionKind::Null:
        out << "null\n";
        return;
    case RegionKind::Simple:
        out << "simple ";
        break;
    default:
        out << "complex ";
        break;
    }
    out << box.left << ' ' << box.top << ' ' << box.right << ' ' << box.bottom << '\n';
}

void surface(ScriptState& s, const Args& a)
{
    a.expectCount(3);
    const int w = a.number(0), h = a.number(1);
    if (w < 0 || h < 0 || w > kMaxSide || h > kMaxSide)
        throw ScriptError(
            "surface size must be 0.." + std::to_string(kMaxSide) + " in each direction");
    s.surface = Bitmap::createColor(w, h, a.color(2));
    s.dc.select(s.surface);
}

void pen(ScriptState& s, const Args& a)
{
    a.expectCount(3);
    const std::string style = a.word(0);
    PenStyle ps;
    if (style == "solid")
        ps = PenStyle::Solid;
    else if (style == "dot")
        ps = PenStyle::Dot;
    else if (style == "null")
        ps = PenStyle::Null;
    else
        throw ScriptError("pen style must be solid, dot or null, not '" + style + "'");
    const int width = a.number(1);
    if (width < 0)
        throw ScriptError("pen width must not be negative");
    s.dc.select(Pen::create(ps, width, a.color(2)));
}

void brush(ScriptState& s, const Args& a)
{
    a.expectCount(1);
    s.dc.select(a.isWord(0, "null") ? Brush::null() : Brush::solid(a.color(0)));
}

void bkmode(ScriptState& s, const Args& a)
{
    a.expectCount(1);
    if (a.isWord(0, "transparent"))
        s.dc.setBkMode(kTransparent);
    else if (a.isWord(0, "opaque"))
        s.dc.setBkMode(kOpaque);
    else
        throw ScriptError("background mode must be transparent or opaque");
}

void polyline(ScriptState& s, const Args& a)
{
    s.requireSurface();
    if (a.size() < 4)
        throw ScriptError("a polyline needs at least two points");
    s.dc.polyline(pointArgs(a, 0));
}

void region(ScriptState& s, const Args& a)
{
    if (a.size() < 2)
        throw ScriptError("usage: region NAME rect|ellipse|polygon ...");
    const std::string name = a.word(0), kind = a.word(1);
    if (kind == "rect" || kind == "ellipse") {
        a.expectCount(6);
        const Rect r = rectArgs(a, 2);
        if (kind == "ellipse")
            checkShape({ { r.left, r.top }, { r.right, r.bottom } });
        s.regions[name] = kind == "rect" ? Region::rect(r) : Region::ellipse(r);
    } else if (kind == "polygon") {
        if (a.size() < 3)
            throw ScriptError("usage: region NAME polygon winding|alternate X1 Y1 ...");
        FillMode mode;
        if (a.isWord(2, "winding"))
            mode = FillMode::Winding;
        else if (a.isWord(2, "alternate"))
            mode = FillMode::Alternate;
        else
            throw ScriptError("polygon fill mode must be winding or alternate");
        const std::vector<Point> pts = pointArgs(a, 3);
        checkShape(pts);
        s.regions[name] = Region::polygon(pts, mode);
    } else {
        throw ScriptError("region kind must be rect, ellipse or polygon, not '" + kind + "'");
    }
}

void combine(ScriptState& s, const Args& a)
{
    a.expectCount(4);
    const std::string op = a.word(3);
    CombineMode mode;
    if (op == "and")
        mode = CombineMode::And;
    else if (op == "or")
        mode = CombineMode::Or;
    else if (op == "xor")
        mode = CombineMode::Xor;
    else if (op == "diff")
        mode = CombineMode::Diff;
    else if (op == "copy")
        mode = CombineMode::Copy;
    else
        throw ScriptError("combine mode must be and, or, xor, diff or copy, not '" + op + "'");
    const Region result = Region::combined(s.region(a.word(1)), s.region(a.word(2)), mode);
    s.regions[a.word(0)] = result;
    printBox(*s.out, result.kind(), result.box());
}

void dump(ScriptState& s, const Args& a)
{
    a.expectCount(0);
    s.requireSurface();
    char hex[8];
    for (int y = 0; y < s.surface.height(); ++y) {
        std::string row;
        for (int x = 0; x < s.surface.width(); ++x) {
            const ColorRef c = s.surface.pixel(x, y);
            std::snprintf(hex, sizeof hex, "%02X%02X%02X", redOf(c), greenOf(c), blueOf(c));
            if (x)
                row += ' ';
            row += hex;
        }
        *s.out << row << '\n';
    }
}

const CommandRegistrar registrar {
    { "surface", surface },
    { "pen", pen },
    { "brush", brush },
    { "textcolor",
        [](ScriptState& s, const Args& a) {
            a.expectCount(1);
            s.dc.setTextColor(a.color(0));
        } },
    { "bkcolor",
        [](ScriptState& s, const Args& a) {
            a.expectCount(1);
            s.dc.setBkColor(a.color(0));
        } },
    { "bkmode", bkmode },
    { "rectangle",
        [](ScriptState& s, const Args& a) {
            a.expectCount(4);
            s.requireSurface();
            s.dc.rectangle(rectArgs(a, 0));
        } },
    { "polyline", polyline },
    { "setpixel",
        [](ScriptState& s, const Args& a) {
            a.expectCount(3);
            s.requireSurface();
            s.dc.setPixel(a.number(0), a.number(1), a.color(2));
        } },
    { "arc",
        [](ScriptState& s, const Args& a) {
            a.expectCount(8);
            s.requireSurface();
            s.dc.arc(rectArgs(a, 0), { a.number(4), a.number(5) }, { a.number(6), a.number(7) });
        } },
    { "focusrect",
        [](ScriptState& s, const Args& a) {
            a.expectCount(4);
            s.requireSurface();
            s.dc.drawFocusRect(rectArgs(a, 0));
        } },
    { "region", region },
    { "combine", combine },
    { "fillregion",
        [](ScriptState& s, const Args& a) {
            a.expectCount(2);
            s.requireSurface();
            s.dc.fillRegion(s.region(a.word(0)), Brush::solid(a.color(1)));
        } },
    { "frameregion",
        [](ScriptState& s, const Args& a) {
            a.expectCount(4);
            s.requireSurface();
            const int w = a.number(2), h = a.number(3);
            if (w < 1 || h < 1)
                throw ScriptError("frame width and height must be at least 1");
            s.dc.frameRegion(s.region(a.word(0)), Brush::solid(a.color(1)), w, h);
        } },
    { "clip",
        [](ScriptState& s, const Args& a) {
            a.expectCount(1);
            if (a.isWord(0, "none"))
                s.dc.clearClip();
            else
                s.dc.setClip(s.region(a.word(0)));
        } },
    { "rects",
        [](ScriptState& s, const Args& a) {
            a.expectCount(1);
            for (const Rect& r : s.region(a.word(0)).rects())
                *s.out << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom << '\n';
        } },
    { "dump", dump },
};

} // namespace

} // namespace qm::tools
