#pragma once
// Pens and brushes: immutable, shared drawing tools. An empty handle is "none" (0).
#include "platform/raster/bitmap.h"
#include "platform/raster/color.h"

#include <memory>

namespace qm::gfx {

// The platform's style numbers, so a stored style value converts directly.
enum class PenStyle { Solid = 0, Dot = 2, Null = 5 };

class PenData;

class Pen {
public:
    Pen() = default;
    // A dotted pen wider than 1 pixel draws solid, as on the platform. Style values
    // other than Solid, Dot and Null are treated as Solid.
    static Pen create(PenStyle style, int width, ColorRef color);
    static Pen create(int style, int width, ColorRef color);

    explicit operator bool() const { return d_ != nullptr; }
    bool operator==(const Pen& o) const { return d_ == o.d_; } // same handle

    PenStyle style() const;
    int width() const; // at least 1
    ColorRef color() const;

private:
    std::shared_ptr<const PenData> d_;
};

enum class BrushStyle { Solid, Null, Pattern };

class BrushData;

class Brush {
public:
    Brush() = default;
    static Brush solid(ColorRef color);
    static Brush null();
    // A pattern tiled from (0, 0) of the surface. A monochrome pattern takes the
    // context's text colour for 0 bits and its background colour for 1 bits.
    static Brush pattern(const Bitmap& bitmap);

    explicit operator bool() const { return d_ != nullptr; }
    bool operator==(const Brush& o) const { return d_ == o.d_; } // same handle

    BrushStyle style() const;
    ColorRef color() const; // solid brushes
    const Bitmap& patternBitmap() const; // a private copy, taken at creation

private:
    std::shared_ptr<const BrushData> d_;
};

// Colours with any bit of the top byte set are not RGB values (a system-colour code
// or -1 handed on unconverted); drawing uses black for them.
constexpr ColorRef drawableColor(ColorRef c)
{
    return (c & 0xFF000000u) ? 0u : c;
}

} // namespace qm::gfx
