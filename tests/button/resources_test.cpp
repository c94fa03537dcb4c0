#include "tests/button/support/button_fixture.h"
#include "tests/button/support/live_counts.h"

#include <memory>

namespace qm::testing {
namespace {

// ---- derived colours ----

struct StyleColours {
    std::int32_t style;
    ColorValue face;
    ColorValue shade;
    ColorValue hover;
    ColorValue checked;
};

class DerivedColoursTest : public ButtonFixture,
                           public ::testing::WithParamInterface<StyleColours> { };

TEST_P(DerivedColoursTest, FollowTheStyle)
{
    const StyleColours& c = GetParam();
    rec().ButtonStyle = c.style;
    rec().BackColor = ColorValue(0x8000000F); // button face: 212, 208, 200
    rec().HoverBackColor = 0x0000FF;
    in.RefreshCache("backcolor");
    EXPECT_EQ(rec().FaceRGB, c.face);
    EXPECT_EQ(rec().FaceShadeRGB, c.shade);
    EXPECT_EQ(rec().HoverFaceRGB, c.hover);
    EXPECT_EQ(rec().CheckedFaceRGB, c.checked);
}

INSTANTIATE_TEST_SUITE_P(Styles, DerivedColoursTest,
    ::testing::Values(StyleColours { 0, 0xC8D0D4, 0xC8D0D4, 0x0000FF, 0xDFDFDF },
        StyleColours { 1, 0xC8D0D4, 0xC8D0D4, 0x0000FF, 0xDFDFDF },
        StyleColours { 6, 0xC8D0D4, 0xC8D0D4, 0x0000FF, 0xDFDFDF },
        // etched: shade and checked face independent of the back colour
        StyleColours { 3, 0xC8D0D4, 0x8C8C8C, 0x0000FF, 0xABABAB },
        // rounded frame: +31 lighter face and hover, fixed greys
        StyleColours { 7, 0xE7EFF3, 0x707070, 0x1F1FFF, 0x8A9090 },
        // rounded glow: +48 with blue scaled; shade from the new face
        StyleColours { 2, 0xFAFFFF, 0xD1DFDF, 0x0030FF, 0xD5DFDF }));

// ---- caption font ----

struct FontCase {
    double points;
    double twipsPerPixel;
    int height;
};

class CaptionFontTest : public ButtonFixture, public ::testing::WithParamInterface<FontCase> { };

TEST_P(CaptionFontTest, HeightFromPointsAndScreen)
{
    const FontCase& c = GetParam();
    in.setScreen(
        { 1024 * c.twipsPerPixel, 768 * c.twipsPerPixel, c.twipsPerPixel, c.twipsPerPixel });
    host.Font().Size = c.points;
    button.Resize();
    EXPECT_EQ(rec().MemDC.font().logFont().height, c.height);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CaptionFontTest,
    ::testing::Values(FontCase { 8.25, 15, -11 }, FontCase { 9, 15, -12 }, FontCase { 10, 15, -13 },
        FontCase { 9, 10, -18 },
        // 1.875 * 20 / 15 = 2.5: ties go to the even height
        FontCase { 1.875, 15, -2 }));

TEST_F(ButtonFixture, CaptionFontTakesTheHostsAttributes)
{
    forms::StdFont& f = host.Font();
    f.Name = "Tahoma";
    f.setBold(true);
    f.Italic = true;
    f.Strikethrough = true;
    button.Resize();
    const gfx::LogFont& lf = rec().MemDC.font().logFont();
    EXPECT_EQ(lf.weight, 700);
    EXPECT_TRUE(lf.italic);
    EXPECT_FALSE(lf.underline);
    EXPECT_TRUE(lf.strikeOut);
    EXPECT_EQ(lf.faceName, "Tahoma");
}

// ---- picture metrics ----

gfx::Picture icon32()
{
    return gfx::Picture::fromIcon(
        gfx::Bitmap::createColor(32, 32), gfx::Bitmap::createMono(32, 32));
}

TEST_F(ButtonFixture, PictureKindAndSizeFollowTheAssignedPicture)
{
    struct Step {
        const char* what;
        gfx::Picture picture;
        std::int32_t kind, width, height;
    };
    const Step steps[] = {
        { "bitmap", gfx::Picture::fromBitmap(gfx::Bitmap::createColor(20, 10)), 0, 20, 10 },
        { "icon", icon32(), 1, 32, 32 },
        { "cleared: the kind stays", gfx::Picture(), 1, 0, 0 },
        { "bitmap again", gfx::Picture::fromBitmap(gfx::Bitmap::createColor(7, 9)), 0, 7, 9 },
        { "icon without colour image: the kind stays",
            gfx::Picture::fromIcon(gfx::Bitmap(), gfx::Bitmap::createMono(32, 64)), 0, 0, 0 },
    };
    for (const Step& s : steps) {
        rec().Picture = s.picture;
        in.RefreshCache("PICTURE");
        EXPECT_EQ(rec().PictureKind, s.kind) << s.what;
        EXPECT_EQ(rec().PictureWidth, s.width) << s.what;
        EXPECT_EQ(rec().PictureHeight, s.height) << s.what;
    }
}

TEST_F(ButtonFixture, UnknownCacheNameChangesNothing)
{
    rec().BackColor = 0x0000FF;
    in.RefreshCache("Colour");
    EXPECT_EQ(rec().FaceRGB, 0);
    EXPECT_FALSE(rec().MemDC);
}

// ---- ownership ----

TEST(OwnershipTest, NeverShownButtonTerminatesWithoutReleasingAnything)
{
    FakeHost host;
    const LiveCounts before = liveCounts();
    {
        kxButtons_H button;
        button.attachHost(&host);
        EXPECT_NO_THROW(button.Terminate());
        EXPECT_EQ(liveCounts(), before);
    }
    EXPECT_EQ(liveCounts(), before);
}

TEST(OwnershipTest, EveryObjectTheButtonMakesIsReleasedOnceByTerminate)
{
    FakeHost host(75, 23);
    const LiveCounts before = liveCounts();
    auto button = std::make_unique<kxButtons_H>();
    button->attachHost(&host);
    ButtonInternals in(*button);
    in.setScreen(kScreen1024);
    button->Resize();
    const LiveCounts shown = liveCounts();
    EXPECT_EQ(shown[0], before[0] + 1); // the memory context
    // redraws and resizes replace objects, they never pile up
    for (int i = 0; i < 3; ++i) {
        button->setButtonStyle(i);
        button->Refresh();
    }
    host.resizeTo(120, 40);
    button->Resize();
    button->setGradientMode(1);
    host.Font().Size = 12;
    button->Resize();
    EXPECT_EQ(liveCounts(), shown);

    button->Terminate();
    EXPECT_EQ(liveCounts(), before);
    EXPECT_FALSE(in.record().MemDC);
    button.reset();
    EXPECT_EQ(liveCounts(), before);
}

TEST(OwnershipTest, ResizeReplacesTheSurfaceAtTheNewSize)
{
    FakeHost host(75, 23);
    kxButtons_H button;
    button.attachHost(&host);
    ButtonInternals in(button);
    button.Resize();
    const gfx::DC memDC = in.record().MemDC;
    host.resizeTo(30, 12);
    button.Resize();
    EXPECT_EQ(in.record().MemDC, memDC); // the context is kept
    EXPECT_EQ(memDC.bkMode(), 3); // text and dotted lines leave their background alone
    EXPECT_EQ(in.record().MemDC.bitmap().size(), (gfx::Size { 30, 12 }));
    EXPECT_FALSE(in.record().MemDC.bitmap().isMono());
}

} // namespace
} // namespace qm::testing
