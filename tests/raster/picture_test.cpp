#include "platform/raster/gui_app.h"
#include "platform/raster/picture.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qm::gfx {
namespace {

std::vector<std::uint8_t> encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (format == QByteArray("jpeg"))
        writer.setQuality(100);
    EXPECT_TRUE(writer.write(image)) << format << ": " << writer.errorString().toStdString();
    return { bytes.begin(), bytes.end() };
}

// 16 x 8: left half red, right half blue (blocks large enough for JPEG to keep).
QImage twoBlocks()
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x)
            image.setPixel(x, y, qRgb(0, 0, 255));
    return image;
}

// 16 x 16: left half transparent, right half opaque green.
QImage halfTransparent()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            image.setPixel(x, y, qRgba(0, 200, 0, 255));
    return image;
}

// A cursor file is an icon file with type 2 and a hot spot in each entry.
std::vector<std::uint8_t> asCursor(std::vector<std::uint8_t> ico)
{
    ico[2] = 2;
    ico[6 + 4] = 3; // hot spot x
    ico[6 + 5] = 0;
    ico[6 + 6] = 4; // hot spot y
    ico[6 + 7] = 0;
    return ico;
}

// One icon file holding the single images of several icon files, in order.
std::vector<std::uint8_t> combineIcons(const std::vector<std::vector<std::uint8_t>>& files)
{
    const std::size_t count = files.size();
    std::vector<std::uint8_t> out { 0, 0, 1, 0, std::uint8_t(count), 0 };
    std::vector<std::uint8_t> images;
    const std::size_t offset = 6 + 16 * count;
    for (const auto& f : files) {
        std::vector<std::uint8_t> entry(f.begin() + 6, f.begin() + 22);
        const std::size_t size = entry[8] | (entry[9] << 8) | (entry[10] << 16);
        const std::size_t at = entry[12] | (entry[13] << 8) | (entry[14] << 16);
        for (int k = 0; k < 4; ++k)
            entry[std::size_t(12 + k)] = std::uint8_t((offset + images.size()) >> (8 * k));
        out.insert(out.end(), entry.begin(), entry.end());
        images.insert(images.end(), f.begin() + long(at), f.begin() + long(at + size));
    }
    out.insert(out.end(), images.begin(), images.end());
    return out;
}

QImage solidIcon(int size, QRgb color)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

bool near(ColorRef a, ColorRef b, int tolerance)
{
    return std::abs(redOf(a) - redOf(b)) <= tolerance
        && std::abs(greenOf(a) - greenOf(b)) <= tolerance
        && std::abs(blueOf(a) - blueOf(b)) <= tolerance;
}

class PictureTest : public testing::Test {
protected:
    void SetUp() override { detail::ensureGuiApplication(); }
};

TEST_F(PictureTest, BitmapFormatsLoadWithTheirNaturalSizeAndPixels)
{
    struct Case {
        const char* format;
        int tolerance;
    };
    for (const auto& c : { Case { "bmp", 0 }, Case { "png", 0 }, Case { "jpeg", 12 } }) {
        std::string error;
        const Picture p = Picture::loadBytes(encode(twoBlocks(), c.format), &error);
        ASSERT_TRUE(p) << c.format << ": " << error;
        EXPECT_EQ(p.kind(), PictureKind::Bitmap) << c.format;
        EXPECT_EQ(p.size(), (Size { 16, 8 })) << c.format;
        EXPECT_FALSE(p.mask()) << c.format;
        EXPECT_TRUE(near(p.bitmap().pixel(2, 2), rgb(255, 0, 0), c.tolerance)) << c.format;
        EXPECT_TRUE(near(p.bitmap().pixel(13, 5), rgb(0, 0, 255), c.tolerance)) << c.format;
    }
}

TEST_F(PictureTest, TransparentPngPixelsLieOnWhite)
{
    const Picture p = Picture::loadBytes(encode(halfTransparent(), "png"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p.kind(), PictureKind::Bitmap);
    EXPECT_EQ(p.bitmap().pixel(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(p.bitmap().pixel(12, 3), rgb(0, 200, 0));
}

TEST_F(PictureTest, IconsAndCursorsGiveAColourImageAndAMask)
{
    const auto ico = encode(halfTransparent(), "ico");
    for (const auto& bytes : { ico, asCursor(ico) }) {
        std::string error;
        const Picture p = Picture::loadBytes(bytes, &error);
        ASSERT_TRUE(p) << error;
        EXPECT_EQ(p.kind(), PictureKind::Icon);
        EXPECT_EQ(p.size(), (Size { 16, 16 }));
        ASSERT_TRUE(p.mask().isMono());
        EXPECT_EQ(p.mask().pixel(0, 0), rgb(255, 255, 255)); // 1: transparent
        EXPECT_EQ(p.mask().pixel(12, 9), rgb(0, 0, 0)); // 0: opaque
        EXPECT_EQ(p.bitmap().pixel(0, 0), rgb(0, 0, 0));
        EXPECT_EQ(p.bitmap().pixel(12, 9), rgb(0, 200, 0));
    }
}

TEST_F(PictureTest, OfSeveralIconImagesThe32PixelOneIsTaken)
{
    const auto small = encode(solidIcon(16, qRgb(255, 0, 0)), "ico");
    const auto middle = encode(solidIcon(32, qRgb(0, 255, 0)), "ico");
    const auto large = encode(solidIcon(48, qRgb(0, 0, 255)), "ico");
    struct Case {
        std::vector<std::vector<std::uint8_t>> files;
        int size;
        ColorRef color;
    };
    for (const auto& c : { Case { { small, middle, large }, 32, rgb(0, 255, 0) },
             Case { { large, middle }, 32, rgb(0, 255, 0) },
             Case { { large, small }, 48, rgb(0, 0, 255) } }) {
        std::string error;
        const Picture p = Picture::loadBytes(combineIcons(c.files), &error);
        ASSERT_TRUE(p) << error;
        EXPECT_EQ(p.size(), (Size { c.size, c.size }));
        EXPECT_EQ(p.bitmap().pixel(5, 5), c.color);
    }
}

TEST_F(PictureTest, LoadsFromAFileWhateverItsSuffix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("picture.bmp"); // PNG content under a BMP name
    QImage image = twoBlocks();
    ASSERT_TRUE(image.save(path, "png"));
    const Picture p = Picture::load(path.toStdString());
    ASSERT_TRUE(p);
    EXPECT_EQ(p.size(), (Size { 16, 8 }));
}

TEST_F(PictureTest, BadInputGivesNoPictureAndAReason)
{
    QTemporaryDir dir;
    const std::string missing = dir.filePath("missing.ico").toStdString();
    std::string error;
    EXPECT_FALSE(Picture::load(missing, &error));
    EXPECT_NE(error.find("no such picture file"), std::string::npos) << error;

    const std::vector<std::vector<std::uint8_t>> bad {
        {}, { 'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e' },
        encode(twoBlocks(), "ppm"), // readable by Qt, but not a picture format of ours
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        error.clear();
        EXPECT_FALSE(Picture::loadBytes(bad[i], &error)) << i;
        EXPECT_FALSE(error.empty()) << i;
    }
    // A PNG cut short after its header.
    auto png = encode(twoBlocks(), "png");
    png.resize(40);
    error.clear();
    EXPECT_FALSE(Picture::loadBytes(png, &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(PictureTest, HandlesCountThemselves)
{
    const long before = liveObjects(ObjectKind::Picture);
    {
        const Picture p = Picture::loadBytes(encode(twoBlocks(), "bmp"));
        const Picture q = p;
        EXPECT_EQ(liveObjects(ObjectKind::Picture), before + 1);
    }
    EXPECT_EQ(liveObjects(ObjectKind::Picture), before);
}

TEST(CopyImageTest, StretchesToTheNearestPixel)
{
    Bitmap src = Bitmap::createColor(2, 2);
    const ColorRef colors[4] = { rgb(1, 0, 0), rgb(0, 2, 0), rgb(0, 0, 3), rgb(4, 4, 4) };
    for (int i = 0; i < 4; ++i)
        src.setPixel(i % 2, i / 2, colors[i]);

    const Bitmap big = copyImage(src, 4, 6);
    ASSERT_EQ(big.size(), (Size { 4, 6 }));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(big.pixel(x, y), colors[(y / 3) * 2 + x / 2]) << x << "," << y;

    const Bitmap small = copyImage(big, 2, 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(small.pixel(i % 2, i / 2), colors[i]);

    EXPECT_EQ(copyImage(src, 0, 0).size(), src.size());
    EXPECT_FALSE(copyImage(src, -1, 2));
    EXPECT_FALSE(copyImage(Bitmap {}, 2, 2));
    EXPECT_FALSE(copyImage(src, 3, 3) == src); // always a new bitmap

    Bitmap mono = Bitmap::createMono(2, 1);
    mono.setPixel(1, 0, rgb(255, 255, 255));
    const Bitmap monoCopy = copyImage(mono, 4, 1);
    EXPECT_TRUE(monoCopy.isMono());
    EXPECT_EQ(monoCopy.pixel(1, 0), rgb(0, 0, 0));
    EXPECT_EQ(monoCopy.pixel(2, 0), rgb(255, 255, 255));
}

class DrawIconTest : public PictureTest {
protected:
    void SetUp() override
    {
        PictureTest::SetUp();
        surface = Bitmap::createColor(20, 20, face);
        dc = DC::createMemory();
        dc.select(surface);
    }
    const ColorRef face = rgb(10, 20, 30);
    Bitmap surface;
    DC dc;
};

TEST_F(DrawIconTest, MaskKeepsTheSurfaceAndTheColourImageCoversTheRest)
{
    const Picture icon = Picture::loadBytes(encode(halfTransparent(), "ico"));
    ASSERT_TRUE(icon);
    // Drawn at half size: columns 2..5 transparent, 6..9 green; rows 3..10.
    ASSERT_TRUE(drawIcon(dc, 2, 3, icon, 8, 8));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool opaque = x >= 6 && x < 10 && y >= 3 && y < 11;
            EXPECT_EQ(surface.pixel(x, y), opaque ? rgb(0, 200, 0) : face) << x << "," << y;
        }
    }
    EXPECT_EQ(dc.textColor(), rgb(0, 0, 0));
}

TEST_F(DrawIconTest, HonoursTheClipRegionAndTheNaturalSize)
{
    const Picture icon = Picture::loadBytes(encode(halfTransparent(), "ico"));
    dc.setClip(Region::rect(0, 0, 20, 5));
    ASSERT_TRUE(drawIcon(dc, 0, 0, icon, 0, 0));
    EXPECT_EQ(surface.pixel(10, 4), rgb(0, 200, 0));
    EXPECT_EQ(surface.pixel(10, 5), face);
    EXPECT_EQ(surface.pixel(2, 2), face);
}

TEST_F(DrawIconTest, MonochromeIconInvertsThroughItsXorMask)
{
    Bitmap masks = Bitmap::createMono(2, 4); // AND rows 0-1, XOR rows 2-3
    masks.fill(rgb(255, 255, 255)); // AND all 1: keep the surface
    masks.setPixel(0, 2, rgb(0, 0, 0));
    masks.setPixel(1, 2, rgb(0, 0, 0));
    masks.setPixel(0, 3, rgb(0, 0, 0)); // XOR 1 only at (1, 1)
    const Picture icon = Picture::fromIcon({}, masks);
    EXPECT_EQ(icon.size(), (Size { 2, 2 }));
    ASSERT_TRUE(drawIcon(dc, 0, 0, icon, 0, 0));
    EXPECT_EQ(surface.pixel(0, 0), face);
    EXPECT_EQ(surface.pixel(1, 1), rgb(255 - 10, 255 - 20, 255 - 30));
}

TEST_F(DrawIconTest, RefusesBitmapsAndEmptyContexts)
{
    const Picture bitmap = Picture::loadBytes(encode(twoBlocks(), "bmp"));
    EXPECT_FALSE(drawIcon(dc, 0, 0, bitmap, 4, 4));
    DC none;
    EXPECT_FALSE(drawIcon(none, 0, 0, Picture::loadBytes(encode(halfTransparent(), "ico")), 4, 4));
    EXPECT_EQ(surface.pixel(0, 0), face);
}

} // namespace
} // namespace qm::gfx
