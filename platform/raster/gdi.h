#pragma once
// The drawing layer under the platform's classic names, for code that reads like the
// procedures it was written from. Each function forwards to the idiomatic API in dc.h
// and region.h; "deleting" an object only drops this handle, the object itself goes
// when its last user (a context it is selected into, say) lets it go.
#include "platform/raster/dc.h"

#include <span>

namespace qm::gfx {

constexpr int PS_SOLID = 0;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;
constexpr int TRANSPARENT = kTransparent;
constexpr int OPAQUE = kOpaque;
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// An empty DC stands for the screen, as the handle 0 does.
inline DC CreateCompatibleDC(const DC& dc)
{
    return DC::createCompatible(dc);
}
inline Bitmap CreateCompatibleBitmap(const DC& dc, int w, int h)
{
    return dc ? dc.createCompatibleBitmap(w, h) : Bitmap::createColor(w, h);
}
inline void DeleteDC(DC& dc)
{
    dc = DC();
}
inline Pen CreatePen(int style, int width, ColorRef color)
{
    return Pen::create(style, width, color);
}
inline Brush CreateSolidBrush(ColorRef color)
{
    return Brush::solid(color);
}

inline Bitmap SelectObject(DC& dc, const Bitmap& o)
{
    return dc.select(o);
}
inline Pen SelectObject(DC& dc, const Pen& o)
{
    return dc.select(o);
}
inline Brush SelectObject(DC& dc, const Brush& o)
{
    return dc.select(o);
}
inline Font SelectObject(DC& dc, const Font& o)
{
    return dc.select(o);
}
template <class Object> inline void DeleteObject(Object& o)
{
    o = Object();
}

inline int SetBkMode(DC& dc, int mode)
{
    return dc.setBkMode(mode);
}
inline ColorRef SetBkColor(DC& dc, ColorRef c)
{
    return dc.setBkColor(c);
}
inline ColorRef SetTextColor(DC& dc, ColorRef c)
{
    return dc.setTextColor(c);
}

inline bool Rectangle(DC& dc, int l, int t, int r, int b)
{
    dc.rectangle({ l, t, r, b });
    return bool(dc);
}
inline bool Polyline(DC& dc, const Point* points, int count)
{
    if (count < 0)
        return false;
    dc.polyline(std::span<const Point>(points, std::size_t(count)));
    return bool(dc);
}
inline bool MoveToEx(DC& dc, int x, int y, Point* old)
{
    const Point p = dc.moveTo({ x, y });
    if (old)
        *old = p;
    return bool(dc);
}
inline bool LineTo(DC& dc, int x, int y)
{
    dc.lineTo({ x, y });
    return bool(dc);
}
inline ColorRef SetPixel(DC& dc, int x, int y, ColorRef c)
{
    return dc.setPixel(x, y, c);
}
inline ColorRef GetPixel(const DC& dc, int x, int y)
{
    return dc.pixel(x, y);
}
inline bool Arc(DC& dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    dc.arc({ l, t, r, b }, { xs, ys }, { xe, ye });
    return bool(dc);
}
inline bool DrawFocusRect(DC& dc, const Rect& r)
{
    dc.drawFocusRect(r);
    return bool(dc);
}
inline int FillRect(DC& dc, const Rect& r, const Brush& brush)
{
    dc.fillRect(r, brush);
    return bool(dc);
}
inline bool PatBlt(DC& dc, int x, int y, int w, int h, RasterOp rop)
{
    return dc.patBlt(Rect::fromSize(x, y, w, h), rop);
}
inline bool BitBlt(DC& dst, int x, int y, int w, int h, const DC& src, int sx, int sy, RasterOp rop)
{
    return dst.bitBlt(Rect::fromSize(x, y, w, h), src, { sx, sy }, rop);
}
inline bool StretchBlt(DC& dst, int x, int y, int w, int h, const DC& src, int sx, int sy, int sw,
    int sh, RasterOp rop)
{
    return dst.stretchBlt(Rect::fromSize(x, y, w, h), src, Rect::fromSize(sx, sy, sw, sh), rop);
}

inline Region CreateRectRgn(int l, int t, int r, int b)
{
    return Region::rect(l, t, r, b);
}
inline Region CreateEllipticRgn(int l, int t, int r, int b)
{
    return Region::ellipse({ l, t, r, b });
}
inline Region CreatePolygonRgn(const Point* points, int count, int mode)
{
    return Region::polygon(std::span<const Point>(points, std::size_t(count < 0 ? 0 : count)),
        mode == WINDING ? FillMode::Winding : FillMode::Alternate);
}
inline int CombineRgn(Region& dest, const Region& a, const Region& b, int mode)
{
    if (mode < RGN_AND || mode > RGN_COPY)
        return 0;
    return int(dest.combine(a, b, CombineMode(mode)));
}
inline int OffsetRgn(Region& r, int dx, int dy)
{
    r.offset(dx, dy);
    return int(r.kind());
}
inline bool PtInRegion(const Region& r, int x, int y)
{
    return r.contains(x, y);
}
inline int GetRgnBox(const Region& r, Rect* box)
{
    if (box)
        *box = r.box();
    return int(r.kind());
}
// A null region pointer clears the clip.
inline int SelectClipRgn(DC& dc, const Region* region)
{
    if (!region) {
        dc.clearClip();
        return SIMPLEREGION;
    }
    return int(dc.setClip(*region));
}
inline bool FillRgn(DC& dc, const Region& r, const Brush& brush)
{
    dc.fillRegion(r, brush);
    return bool(dc);
}
inline bool FrameRgn(DC& dc, const Region& r, const Brush& brush, int w, int h)
{
    dc.frameRegion(r, brush, w, h);
    return bool(dc);
}

} // namespace qm::gfx
