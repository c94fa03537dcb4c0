#pragma once
// Bitmaps: 32-bit colour or 1-bit monochrome pixel arrays of any size (0 x 0 included).
//
// A Bitmap is a shared handle, like the drawing objects it stands for: copies refer
// to the same pixels (a drawing context draws into the bitmap its owner also holds);
// clone() makes an independent copy. An empty handle is "no bitmap" (the value 0).
//
// Colour pixels are 0xFFRRGGBB words in rows of width * 4 bytes, top row first, the
// layout of a 32-bit RGB image, so a display layer can wrap bits() without copying.
// Monochrome pixels are kept one byte per pixel (0 black, 1 white), rows of width bytes.
#include "platform/raster/color.h"
#include "platform/raster/geometry.h"

#include <cstdint>
#include <memory>

namespace qm::gfx {

enum class BitmapFormat { Color32, Mono1 };

class BitmapData;

class Bitmap {
public:
    Bitmap() = default;
    // New bitmaps are black, as the platform's are. Negative sizes count as 0.
    static Bitmap createColor(int width, int height);
    static Bitmap createColor(int width, int height, ColorRef fill);
    static Bitmap createMono(int width, int height);

    explicit operator bool() const { return d_ != nullptr; }
    bool operator==(const Bitmap& o) const { return d_ == o.d_; } // same handle

    BitmapFormat format() const;
    bool isMono() const { return format() == BitmapFormat::Mono1; }
    int width() const;
    int height() const;
    Size size() const { return { width(), height() }; }
    Rect rect() const { return { 0, 0, width(), height() }; }

    // Colour bitmaps: the pixel words (nullptr for a 0-sized or monochrome bitmap).
    std::uint32_t* bits();
    const std::uint32_t* bits() const;
    int bytesPerLine() const; // width * 4 for colour, width for monochrome
    std::uint32_t* scanLine(int y);
    const std::uint32_t* scanLine(int y) const;
    // Monochrome bitmaps: one byte per pixel, 0 or 1.
    std::uint8_t* monoScanLine(int y);
    const std::uint8_t* monoScanLine(int y) const;

    // Whole-bitmap pixel access without clipping rules; outside the bitmap pixel()
    // returns kInvalidColor and setPixel() does nothing. Monochrome: 1 white, 0 black;
    // a colour written to a monochrome bitmap becomes white when it is nearer white.
    ColorRef pixel(int x, int y) const;
    void setPixel(int x, int y, ColorRef color);
    void fill(ColorRef color);

    Bitmap clone() const;
    BitmapData* data() const { return d_.get(); }

private:
    explicit Bitmap(std::shared_ptr<BitmapData> d)
        : d_(std::move(d))
    {
    }
    std::shared_ptr<BitmapData> d_;
};

// The value the platform returns for "no colour" (a pixel outside the surface or clip).
constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;

// 1 for a colour nearer white than black, else 0 (how colours land on monochrome surfaces).
constexpr std::uint8_t monoBitOf(ColorRef c)
{
    const int r = redOf(c), g = greenOf(c), b = blueOf(c);
    const int toBlack = r * r + g * g + b * b;
    const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite < toBlack ? 1 : 0;
}

} // namespace qm::gfx
