#pragma once
// Drawing contexts: the state one drawing goes through (selected bitmap, pen, brush,
// font, colours, background mode, clip region) and the primitives that draw with it.
//
// DC is a shared handle: copies refer to the same context; an empty handle is the
// value 0 and every operation on it does nothing (queries return defaults, blits false).
// Selecting an object returns the one of the same kind it displaced, so an owner can
// put the original back before it lets its own go. The context keeps what is selected
// alive; nothing needs deleting by hand.
//
// Pixel rules (all right and bottom exclusive, all clipped to the clip region and the
// selected bitmap):
// - rectangle(): the 1-pixel outline covers columns l and r-1, rows t and b-1; the
//   brush fills inside; with a null pen the brush fills l..r-2 x t..b-2.
// - polyline()/lineTo(): first pixel drawn, last not ("diamond" rule: flatter than 45
//   degrees one pixel per column, else one per row; a tie goes to the smaller
//   coordinate). Dotted pens: kDotLength pixels on, kDotLength off, running on through
//   the segments of one call; gaps are filled with the background colour only in
//   opaque mode (mode 2; modes 1 and 3 leave them alone).
// - arc(): along the ellipse inscribed in l..r-1 x t..b-1, anticlockwise on screen from
//   the radial through the start point to the radial through the end point; when both
//   radials are the same the whole ellipse. Neither fills nor moves the position.
// - drawFocusRect(): XORs a checkerboard on rows t and b-1 and columns l and r-1, each
//   edge separately, inverting pixels with (x + y) even; drawing it twice restores.
// - frameRegion(): see Region::frame().
#include "platform/raster/bitmap.h"
#include "platform/raster/font.h"
#include "platform/raster/geometry.h"
#include "platform/raster/live_objects.h"
#include "platform/raster/pen.h"
#include "platform/raster/region.h"
#include "platform/raster/rop.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace qm::gfx {

// Background modes: the platform's two values; any other value (the 3 the button sets)
// behaves as transparent.
constexpr int kTransparent = 1;
constexpr int kOpaque = 2;

// Pixels on and off in a dotted line.
constexpr int kDotLength = 1;

class DCData;

class DC {
public:
    DC() = default;
    // A memory context compatible with the screen (colour). Like the platform's, it
    // starts with a 1 x 1 monochrome bitmap, a black 1-pixel solid pen, a white brush,
    // black text on a white background in opaque mode, no clip and no font (text
    // drawing then uses defaultGuiFont()).
    static DC createMemory();
    // A memory context compatible with `other` (our surfaces are all memory-backed,
    // so this is the same as createMemory()).
    static DC createCompatible(const DC& other);

    explicit operator bool() const { return d_ != nullptr; }
    bool operator==(const DC& o) const { return d_ == o.d_; } // same handle

    // A bitmap in this context's format: monochrome when the selected bitmap is
    // monochrome (as a fresh memory context's is), colour otherwise.
    Bitmap createCompatibleBitmap(int width, int height) const;

    Bitmap select(const Bitmap& bitmap);
    Pen select(const Pen& pen);
    Brush select(const Brush& brush);
    Font select(const Font& font);
    const Bitmap& bitmap() const;
    const Pen& pen() const;
    const Brush& brush() const;
    const Font& font() const;

    ColorRef setTextColor(ColorRef c); // returns the previous one
    ColorRef textColor() const;
    ColorRef setBkColor(ColorRef c);
    ColorRef bkColor() const;
    int setBkMode(int mode); // returns the previous mode
    int bkMode() const;
    bool bkOpaque() const { return bkMode() == kOpaque; }

    // The clip region is a copy of the one given, in surface coordinates.
    RegionKind setClip(const Region& region);
    void clearClip();
    const std::optional<Region>& clip() const;
    // Surface bounds intersected with the clip region: where drawing can land.
    Region drawableRegion() const;

    Point moveTo(Point p); // returns the previous position
    Point position() const;
    void lineTo(Point p);

    void rectangle(const Rect& r);
    void polyline(std::span<const Point> points);
    // Returns the colour set, or kInvalidColor outside the surface or clip.
    ColorRef setPixel(int x, int y, ColorRef color);
    ColorRef pixel(int x, int y) const; // kInvalidColor outside the surface or clip
    void arc(const Rect& box, Point start, Point end);
    void fillRect(const Rect& r, const Brush& brush);
    void fillRegion(const Region& region, const Brush& brush);
    void frameRegion(const Region& region, const Brush& brush, int w, int h);
    void drawFocusRect(const Rect& r);

    // Pattern operations with the selected brush (any raster op that needs no source).
    bool patBlt(const Rect& r, RasterOp rop);
    // Block transfers: each destination pixel = rop(brush pattern, source, destination).
    // Source and destination may be the same surface and may overlap. Between colour
    // and monochrome surfaces a source colour equal to the source context's background
    // colour gives 1, any other 0; a 1 bit lands as the destination context's
    // background colour, a 0 bit as its text colour. Source pixels outside the source
    // bitmap leave the destination alone.
    bool bitBlt(const Rect& dest, const DC& src, Point srcOrigin, RasterOp rop);
    // Stretching replicates pixels when enlarging and ANDs the pixels it eliminates
    // when shrinking (so black wins on white). Negative sizes are refused (false).
    bool stretchBlt(const Rect& dest, const DC& src, const Rect& srcRect, RasterOp rop);

    // For text drawing: lays `color` over the destination through a coverage mask
    // (0 transparent .. 255 full; values between blend), honouring the clip.
    void blendCoverage(Point origin, int width, int height, const std::uint8_t* coverage,
        int coverageStride, ColorRef color);

    // The smallest rectangle holding every pixel that drawing through this context (any
    // handle to it) may have changed since the last call; empty when nothing was drawn.
    // Starts afresh. Lets a window show only what changed.
    Rect takeDrawnBounds();
    // For drawing code that writes the selected bitmap itself (text): adds `r` to the bounds.
    void noteDrawn(const Rect& r);

    DCData* data() const { return d_.get(); }

private:
    std::shared_ptr<DCData> d_;
};

} // namespace qm::gfx
