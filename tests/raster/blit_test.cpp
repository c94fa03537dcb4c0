// Block transfers: the raster-operation formula on every code, colour/monochrome
// conversion, stretching, and the transparent-picture sequence built from them.
#include "platform/raster/dc.h"
#include "platform/raster/gdi.h"
#include "tests/raster/support/surface.h"

#include <gtest/gtest.h>

using namespace qm::gfx;

namespace {

constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kBlack = rgb(0, 0, 0);

struct Mono {
    DC dc = DC::createMemory();
    Bitmap bitmap;
    explicit Mono(int w, int h = 1)
    {
        bitmap = Bitmap::createMono(w, h);
        dc.select(bitmap);
    }
    void set(int x, int y, bool bit) { bitmap.setPixel(x, y, bit ? kWhite : kBlack); }
    bool at(int x, int y = 0) const { return bitmap.pixel(x, y) == kWhite; }
};

using Color = qm::gfx::testing::Surface;

} // namespace

// Eight pixels hold the eight (P, S, D) combinations; every one of the 256 codes must
// give bit i >> (P << 2 | S << 1 | D) at each, through the whole blit path.
TEST(RasterOps, EveryCodeFollowsTheFormulaOnMonochromeSurfaces)
{
    Mono src(8), pattern(8);
    for (int k = 0; k < 8; ++k) {
        src.set(k, 0, (k >> 1) & 1);
        pattern.set(k, 0, (k >> 2) & 1);
    }
    const Brush brush = Brush::pattern(pattern.bitmap);
    for (int i = 0; i < 256; ++i) {
        Mono dst(8);
        for (int k = 0; k < 8; ++k)
            dst.set(k, 0, k & 1);
        dst.dc.select(brush);
        ASSERT_TRUE(dst.dc.bitBlt({ 0, 0, 8, 1 }, src.dc, { 0, 0 }, RasterOp(i) << 16));
        for (int k = 0; k < 8; ++k)
            ASSERT_EQ(dst.at(k), bool((i >> k) & 1))
                << "code " << i << " P" << (k >> 2) << " S" << ((k >> 1) & 1) << " D" << (k & 1);
    }
}

TEST(RasterOps, NamedCodesHaveTheirDocumentedEffect)
{
    struct Case {
        const char* name;
        RasterOp rop;
        bool (*effect)(bool p, bool s, bool d);
    } cases[] = {
        { "SRCCOPY", SRCCOPY, [](bool, bool s, bool) { return s; } },
        { "SRCAND", SRCAND, [](bool, bool s, bool d) { return s && d; } },
        { "SRCPAINT", SRCPAINT, [](bool, bool s, bool d) { return s || d; } },
        { "DSna", DSna, [](bool, bool s, bool d) { return d && !s; } },
        { "PSDPxax", PSDPxax, [](bool p, bool s, bool d) { return s ? d : p; } },
        { "WHITENESS", WHITENESS, [](bool, bool, bool) { return true; } },
    };
    for (const Case& c : cases)
        for (int k = 0; k < 8; ++k) {
            const bool p = (k >> 2) & 1, s = (k >> 1) & 1, d = k & 1;
            const std::uint32_t r
                = applyRop(ropIndex(c.rop), p ? ~0u : 0u, s ? ~0u : 0u, d ? ~0u : 0u);
            EXPECT_EQ(r != 0, c.effect(p, s, d)) << c.name << " k=" << k;
        }
}

TEST(RasterOps, ColourBytesCombineBitwise)
{
    // The grey-out of a disabled picture: (surface AND picture) OR (0x80 AND NOT picture).
    Color surface(1, 1, rgb(0x3C, 0xF0, 0x0F)), picture(1, 1, rgb(0xFF, 0x00, 0x0F));
    surface.dc.select(Brush::solid(rgb(128, 128, 128)));
    surface.dc.bitBlt({ 0, 0, 1, 1 }, picture.dc, { 0, 0 }, PSDPxax);
    EXPECT_EQ(surface.bitmap.pixel(0, 0), rgb(0x3C, 0x80, 0x8F));
}

TEST(Conversion, ColourToMonoByBackgroundAndBack)
{
    Color src(3, 1);
    src.bitmap.setPixel(0, 0, rgb(10, 20, 30));
    src.bitmap.setPixel(1, 0, rgb(10, 20, 31));
    src.bitmap.setPixel(2, 0, kWhite);
    src.dc.setBkColor(rgb(10, 20, 30));
    Mono mask(3);
    mask.dc.bitBlt({ 0, 0, 3, 1 }, src.dc, { 0, 0 }, SRCCOPY);
    EXPECT_TRUE(mask.at(0));
    EXPECT_FALSE(mask.at(1));
    EXPECT_FALSE(mask.at(2));

    Color back(3, 1);
    back.dc.setBkColor(rgb(1, 2, 3));
    back.dc.setTextColor(rgb(200, 100, 50));
    back.dc.bitBlt({ 0, 0, 3, 1 }, mask.dc, { 0, 0 }, SRCCOPY);
    EXPECT_EQ(back.bitmap.pixel(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(back.bitmap.pixel(1, 0), rgb(200, 100, 50));
}

TEST(Stretching, ShrinkingAndsEliminatedPixelsEnlargingReplicates)
{
    Color src(4, 4);
    src.bitmap.setPixel(3, 2, kBlack);
    Color small(2, 2);
    small.dc.stretchBlt({ 0, 0, 2, 2 }, src.dc, { 0, 0, 4, 4 }, SRCCOPY);
    EXPECT_EQ(small.bitmap.pixel(1, 1), kBlack);
    EXPECT_EQ(small.bitmap.pixel(0, 0), kWhite);
    EXPECT_EQ(small.bitmap.pixel(1, 0), kWhite);

    Color big(8, 8);
    big.dc.stretchBlt({ 0, 0, 8, 8 }, src.dc, { 0, 0, 4, 4 }, SRCCOPY);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(big.bitmap.pixel(x, y), src.bitmap.pixel(x / 2, y / 2)) << x << "," << y;
    EXPECT_FALSE(big.dc.stretchBlt({ 0, 0, -2, 2 }, src.dc, { 0, 0, 4, 4 }, SRCCOPY));
}

TEST(BlockCopy, OverlappingCopyWithinOneSurfaceReadsTheSourceFirst)
{
    // Every direction, also past the surface's edge; without a clip and with one (two paths).
    for (const bool clipped : { false, true })
        for (const Point shift :
            { Point { 1, 1 }, Point { -1, 0 }, Point { 0, -1 }, Point { 1, 0 }, Point { 0, 1 },
                Point { -1, -1 }, Point { 1, -1 }, Point { -1, 1 }, Point { 2, 1 } }) {
            SCOPED_TRACE(std::to_string(shift.x) + "," + std::to_string(shift.y)
                + (clipped ? " clipped" : ""));
            Color s(6, 5);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x)
                    s.bitmap.setPixel(x, y, rgb(std::uint8_t(x * 40), std::uint8_t(y * 50), 7));
            if (clipped)
                s.dc.setClip(Region::rect({ 0, 0, 6, 5 }));
            const Bitmap before = s.bitmap.clone();
            s.dc.bitBlt(Rect::fromSize(1 + shift.x, 1 + shift.y, 4, 3), s.dc, { 1, 1 }, SRCCOPY);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x) {
                    const int sx = x - shift.x, sy = y - shift.y; // where (x, y) came from
                    const bool copied = sx >= 1 && sx < 5 && sy >= 1 && sy < 4;
                    EXPECT_EQ(s.bitmap.pixel(x, y), before.pixel(copied ? sx : x, copied ? sy : y))
                        << x << "," << y;
                }
        }
}

TEST(BlockCopy, SourceOutsideItsBitmapLeavesTheDestination)
{
    Color src(2, 2, kBlack), dst(4, 4, rgb(9, 9, 9));
    dst.dc.bitBlt({ 0, 0, 4, 4 }, src.dc, { -1, -1 }, SRCCOPY);
    EXPECT_EQ(dst.bitmap.pixel(0, 0), rgb(9, 9, 9));
    EXPECT_EQ(dst.bitmap.pixel(1, 1), kBlack);
    EXPECT_EQ(dst.bitmap.pixel(2, 2), kBlack);
    EXPECT_EQ(dst.bitmap.pixel(3, 3), rgb(9, 9, 9));
}

// A picture drawn with its top-left colour transparent, as the button does it: mask,
// blacken the key in the copy, AND the mask onto the background, OR the copy in.
TEST(TransparentPicture, KeyColourShowsTheBackground)
{
    const ColorRef key = rgb(200, 100, 50), face = rgb(212, 208, 200), ink = rgb(0, 0, 128);
    Color picture(4, 4, key);
    picture.bitmap.setPixel(1, 1, ink);
    picture.bitmap.setPixel(2, 2, ink);
    Color target(8, 8, face);

    const int w = 8, h = 8; // stretched to twice the size
    Color work(w, h);
    work.dc.bitBlt({ 0, 0, w, h }, target.dc, { 0, 0 }, SRCCOPY);
    Color copy(4, 4);
    copy.dc.bitBlt({ 0, 0, 4, 4 }, picture.dc, { 0, 0 }, SRCCOPY);
    Mono mask(4, 4);
    copy.dc.setBkColor(key);
    copy.dc.setTextColor(kWhite);
    mask.dc.bitBlt({ 0, 0, 4, 4 }, copy.dc, { 0, 0 }, SRCCOPY);
    copy.dc.setTextColor(kBlack);
    copy.dc.setBkColor(kWhite);
    copy.dc.bitBlt({ 0, 0, 4, 4 }, mask.dc, { 0, 0 }, DSna);
    work.dc.stretchBlt({ 0, 0, w, h }, mask.dc, { 0, 0, 4, 4 }, SRCAND);
    work.dc.stretchBlt({ 0, 0, w, h }, copy.dc, { 0, 0, 4, 4 }, SRCPAINT);
    target.dc.bitBlt({ 0, 0, w, h }, work.dc, { 0, 0 }, SRCCOPY);

    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inked = picture.bitmap.pixel(x / 2, y / 2) == ink;
            EXPECT_EQ(target.bitmap.pixel(x, y), inked ? ink : face) << x << "," << y;
        }
}

TEST(PatternOps, PatBltUsesTheBrushAndRefusesSourceCodes)
{
    Color s(3, 1, rgb(0x0F, 0xF0, 0x00));
    s.dc.select(Brush::solid(rgb(0xFF, 0xFF, 0x00)));
    EXPECT_TRUE(PatBlt(s.dc, 0, 0, 2, 1, PATINVERT));
    EXPECT_EQ(s.bitmap.pixel(0, 0), rgb(0xF0, 0x0F, 0x00));
    EXPECT_EQ(s.bitmap.pixel(2, 0), rgb(0x0F, 0xF0, 0x00));
    EXPECT_TRUE(PatBlt(s.dc, 0, 0, 3, 1, WHITENESS));
    EXPECT_EQ(s.bitmap.pixel(2, 0), kWhite);
    EXPECT_FALSE(PatBlt(s.dc, 0, 0, 3, 1, SRCCOPY));
}
