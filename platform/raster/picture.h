#pragma once
// Pictures: an image loaded from a BMP, JPEG, PNG, ICO or CUR file (or bytes), kept
// either as a bitmap or as an icon (a colour image with a monochrome mask).
//
// - BMP, JPEG and PNG give bitmaps. Transparent pixels of a PNG (or of a 32-bit BMP)
//   are laid over white, since a bitmap has no alpha.
// - ICO and CUR give icons. Of several images in one file the 32 x 32 one is taken
//   (the system's icon size), else the first. The mask is 1 where the image is
//   transparent (alpha below half), and the colour image is black there, so drawing
//   (destination AND mask) XOR colour shows the surface through the mask.
#include "platform/raster/bitmap.h"
#include "platform/raster/dc.h"
#include "platform/raster/geometry.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace qm::gfx {

enum class PictureKind { Bitmap = 0, Icon = 1 };

class PictureData;

// A shared, immutable handle. An empty handle is "no picture".
class Picture {
public:
    Picture() = default;
    // On failure (missing file, unknown or damaged format) the picture is empty and
    // *error, when given, says why.
    static Picture load(const std::string& path, std::string* error = nullptr);
    static Picture loadBytes(std::span<const std::uint8_t> bytes, std::string* error = nullptr);
    static Picture fromBitmap(const Bitmap& bitmap);
    // `color` may be empty: a monochrome icon, whose mask holds the AND mask above the
    // XOR mask (twice the icon's height).
    static Picture fromIcon(const Bitmap& color, const Bitmap& mask);

    explicit operator bool() const { return d_ != nullptr; }
    bool operator==(const Picture& o) const { return d_ == o.d_; }

    PictureKind kind() const;
    Size size() const; // natural size; 0 x 0 for no picture
    int width() const { return size().width; }
    int height() const { return size().height; }
    const Bitmap& bitmap() const; // a bitmap's image, or an icon's colour image
    const Bitmap& mask() const; // an icon's mask (1 transparent); empty for bitmaps

private:
    std::shared_ptr<const PictureData> d_;
};

// A new bitmap of `width` x `height` with the pixels of `source` stretched to it
// (nearest pixel, so no new colours appear). A width or height of 0 keeps the
// source's; a negative one, or no source, gives an empty handle.
Bitmap copyImage(const Bitmap& source, int width, int height);

// Draws an icon at (x, y) stretched to width x height (0 takes the natural size):
// the surface is ANDed with the mask, then XORed with the colour image, honouring the
// clip region. Returns false for an empty context or a picture that is not an icon.
bool drawIcon(DC& dc, int x, int y, const Picture& icon, int width, int height);

inline bool DrawIconEx(DC& dc, int x, int y, const Picture& icon, int width, int height)
{
    return drawIcon(dc, x, y, icon, width, height);
}

} // namespace qm::gfx
