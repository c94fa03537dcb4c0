#include "platform/raster/bitmap.h"

#include "platform/raster/live_objects.h"

#include <algorithm>
#include <vector>

namespace qm::gfx {

class BitmapData {
public:
    BitmapData(BitmapFormat f, int w, int h)
        : format(f)
        , width(std::max(w, 0))
        , height(std::max(h, 0))
    {
        if (width == 0 || height == 0)
            return;
        if (format == BitmapFormat::Color32)
            color.assign(std::size_t(width) * std::size_t(height), 0xFF000000u);
        else
            mono.assign(std::size_t(width) * std::size_t(height), 0);
    }

    BitmapFormat format;
    int width;
    int height;
    std::vector<std::uint32_t> color;
    std::vector<std::uint8_t> mono;
    LiveToken<ObjectKind::Bitmap> live;
};

Bitmap Bitmap::createColor(int width, int height)
{
    return Bitmap(std::make_shared<BitmapData>(BitmapFormat::Color32, width, height));
}

Bitmap Bitmap::createColor(int width, int height, ColorRef fill)
{
    Bitmap b = createColor(width, height);
    b.fill(fill);
    return b;
}

Bitmap Bitmap::createMono(int width, int height)
{
    return Bitmap(std::make_shared<BitmapData>(BitmapFormat::Mono1, width, height));
}

BitmapFormat Bitmap::format() const
{
    return d_ ? d_->format : BitmapFormat::Color32;
}
int Bitmap::width() const
{
    return d_ ? d_->width : 0;
}
int Bitmap::height() const
{
    return d_ ? d_->height : 0;
}

std::uint32_t* Bitmap::bits()
{
    return d_ && !d_->color.empty() ? d_->color.data() : nullptr;
}
const std::uint32_t* Bitmap::bits() const
{
    return d_ && !d_->color.empty() ? d_->color.data() : nullptr;
}

int Bitmap::bytesPerLine() const
{
    if (!d_)
        return 0;
    return d_->format == BitmapFormat::Color32 ? d_->width * 4 : d_->width;
}

std::uint32_t* Bitmap::scanLine(int y)
{
    return bits() + std::size_t(y) * std::size_t(d_->width);
}
const std::uint32_t* Bitmap::scanLine(int y) const
{
    return bits() + std::size_t(y) * std::size_t(d_->width);
}

std::uint8_t* Bitmap::monoScanLine(int y)
{
    return d_->mono.data() + std::size_t(y) * std::size_t(d_->width);
}
const std::uint8_t* Bitmap::monoScanLine(int y) const
{
    return d_->mono.data() + std::size_t(y) * std::size_t(d_->width);
}

ColorRef Bitmap::pixel(int x, int y) const
{
    if (!d_ || !rect().contains({ x, y }))
        return kInvalidColor;
    if (d_->format == BitmapFormat::Mono1)
        return monoScanLine(y)[x] ? rgb(255, 255, 255) : rgb(0, 0, 0);
    return fromPixel(scanLine(y)[x]);
}

void Bitmap::setPixel(int x, int y, ColorRef c)
{
    if (!d_ || !rect().contains({ x, y }))
        return;
    if (d_->format == BitmapFormat::Mono1)
        monoScanLine(y)[x] = monoBitOf(c);
    else
        scanLine(y)[x] = toPixel(c);
}

void Bitmap::fill(ColorRef c)
{
    if (!d_)
        return;
    if (d_->format == BitmapFormat::Mono1)
        std::fill(d_->mono.begin(), d_->mono.end(), monoBitOf(c));
    else
        std::fill(d_->color.begin(), d_->color.end(), toPixel(c));
}

Bitmap Bitmap::clone() const
{
    if (!d_)
        return {};
    return Bitmap(std::make_shared<BitmapData>(*d_));
}

} // namespace qm::gfx
