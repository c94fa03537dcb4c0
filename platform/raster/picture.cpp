#include "platform/raster/picture.h"

#include "platform/raster/live_objects.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <vector>

namespace qm::gfx {

class PictureData {
public:
    PictureKind kind = PictureKind::Bitmap;
    Bitmap image; // the bitmap, or the icon's colour image
    Bitmap mask; // icons only
    Size size;
    LiveToken<ObjectKind::Picture> live;
};

namespace {

constexpr int preferredIconSize = 32;

void setError(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
}

Bitmap toBitmap(const QImage& rgb32)
{
    Bitmap b = Bitmap::createColor(rgb32.width(), rgb32.height());
    for (int y = 0; y < rgb32.height(); ++y)
        std::memcpy(b.scanLine(y), rgb32.constScanLine(y), std::size_t(rgb32.width()) * 4);
    return b;
}

Picture bitmapPicture(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return Picture::fromBitmap(toBitmap(image.convertToFormat(QImage::Format_RGB32)));
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter p(&flat);
    p.drawImage(0, 0, image);
    p.end();
    return Picture::fromBitmap(toBitmap(flat));
}

Picture iconPicture(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Bitmap color = Bitmap::createColor(argb.width(), argb.height());
    Bitmap mask = Bitmap::createMono(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint32_t* c = color.scanLine(y);
        std::uint8_t* m = mask.monoScanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const bool transparent = qAlpha(src[x]) < 128;
            m[x] = transparent ? 1 : 0;
            c[x] = transparent ? 0xFF000000u : (0xFF000000u | (src[x] & 0x00FFFFFFu));
        }
    }
    return Picture::fromIcon(color, mask);
}

Picture decode(QImageReader& reader, std::string* error)
{
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) {
        setError(error, "not a readable picture: " + reader.errorString().toStdString());
        return {};
    }
    const QByteArray format = reader.format().toLower();
    const bool icon = format == "ico" || format == "cur";
    if (!icon && format != "bmp" && format != "png" && format != "jpeg" && format != "jpg") {
        setError(error,
            "unsupported picture format \"" + format.toStdString()
                + "\" (BMP, JPEG, PNG, ICO and CUR are read)");
        return {};
    }
    if (icon) {
        // Take the image of the system's icon size when the file has several.
        const int count = std::max(1, reader.imageCount());
        for (int i = 0; i < count && count > 1; ++i) {
            if (reader.jumpToImage(i)
                && reader.size() == QSize(preferredIconSize, preferredIconSize))
                break;
            if (i == count - 1)
                reader.jumpToImage(0);
        }
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        setError(error, "damaged picture: " + reader.errorString().toStdString());
        return {};
    }
    return icon ? iconPicture(image) : bitmapPicture(image);
}

} // namespace

Picture Picture::load(const std::string& path, std::string* error)
{
    const QString name = QString::fromStdString(path);
    if (!QFileInfo(name).isFile()) {
        setError(error, "no such picture file: " + path);
        return {};
    }
    QImageReader reader(name);
    return decode(reader, error);
}

Picture Picture::loadBytes(std::span<const std::uint8_t> bytes, std::string* error)
{
    const QByteArray data = QByteArray::fromRawData(
        reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return decode(reader, error);
}

Picture Picture::fromBitmap(const Bitmap& bitmap)
{
    if (!bitmap)
        return {};
    auto d = std::make_shared<PictureData>();
    d->kind = PictureKind::Bitmap;
    d->image = bitmap;
    d->size = bitmap.size();
    Picture p;
    p.d_ = std::move(d);
    return p;
}

Picture Picture::fromIcon(const Bitmap& color, const Bitmap& mask)
{
    if (!mask)
        return {};
    auto d = std::make_shared<PictureData>();
    d->kind = PictureKind::Icon;
    d->image = color;
    d->mask = mask;
    d->size = color ? color.size() : Size { mask.width(), mask.height() / 2 };
    Picture p;
    p.d_ = std::move(d);
    return p;
}

PictureKind Picture::kind() const
{
    return d_ ? d_->kind : PictureKind::Bitmap;
}

Size Picture::size() const
{
    return d_ ? d_->size : Size {};
}

const Bitmap& Picture::bitmap() const
{
    static const Bitmap none;
    return d_ ? d_->image : none;
}

const Bitmap& Picture::mask() const
{
    static const Bitmap none;
    return d_ ? d_->mask : none;
}

Bitmap copyImage(const Bitmap& source, int width, int height)
{
    if (!source || width < 0 || height < 0)
        return {};
    const int sw = source.width();
    const int sh = source.height();
    const int dw = width == 0 ? sw : width;
    const int dh = height == 0 ? sh : height;
    Bitmap out = source.isMono() ? Bitmap::createMono(dw, dh) : Bitmap::createColor(dw, dh);
    if (sw == 0 || sh == 0)
        return out;
    std::vector<int> columns(static_cast<std::size_t>(dw));
    for (int x = 0; x < dw; ++x)
        columns[std::size_t(x)] = int(std::int64_t(x) * sw / dw);
    for (int y = 0; y < dh; ++y) {
        const int sy = int(std::int64_t(y) * sh / dh);
        if (source.isMono()) {
            const std::uint8_t* src = source.monoScanLine(sy);
            std::uint8_t* dst = out.monoScanLine(y);
            for (int x = 0; x < dw; ++x)
                dst[x] = src[columns[std::size_t(x)]];
        } else {
            const std::uint32_t* src = source.scanLine(sy);
            std::uint32_t* dst = out.scanLine(y);
            for (int x = 0; x < dw; ++x)
                dst[x] = src[columns[std::size_t(x)]];
        }
    }
    return out;
}

bool drawIcon(DC& dc, int x, int y, const Picture& icon, int width, int height)
{
    if (!dc || !icon || icon.kind() != PictureKind::Icon)
        return false;
    const int w = width > 0 ? width : icon.width();
    const int h = height > 0 ? height : icon.height();
    const Rect dest = Rect::fromSize(x, y, w, h);
    const bool colorless = !icon.bitmap();
    const Bitmap mask = copyImage(icon.mask(), w, colorless ? 2 * h : h);

    // A mask bit of 1 must keep the surface under AND and a 0 clear it: monochrome
    // pixels land as the background colour (1) and the text colour (0).
    const ColorRef oldText = dc.setTextColor(rgb(0, 0, 0));
    const ColorRef oldBk = dc.setBkColor(rgb(255, 255, 255));
    DC source = DC::createCompatible(dc);
    source.select(mask);
    dc.bitBlt(dest, source, { 0, 0 }, SRCAND);
    if (colorless) {
        dc.bitBlt(dest, source, { 0, h }, SRCINVERT);
    } else {
        source.select(copyImage(icon.bitmap(), w, h));
        dc.bitBlt(dest, source, { 0, 0 }, SRCINVERT);
    }
    dc.setTextColor(oldText);
    dc.setBkColor(oldBk);
    return true;
}

} // namespace qm::gfx
