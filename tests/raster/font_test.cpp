#include "platform/raster/font.h"
#include "platform/raster/live_objects.h"

#include <gtest/gtest.h>

namespace qm::gfx {
namespace {

bool familyInstalled(const char* face, const char* family)
{
    return Font::create(LogFont { -12, 400, false, false, false, face }).realisedFamily() == family;
}

#define REQUIRE_LIBERATION_SANS()                                                                  \
    if (!familyInstalled("Liberation Sans", "Liberation Sans"))                                    \
    GTEST_SKIP() << "skipped: Liberation Sans is not installed (fonts-liberation)"

struct HeightCase {
    int height;
    int character; // expected character height
};

class CharacterHeightTest : public testing::TestWithParam<HeightCase> { };

TEST_P(CharacterHeightTest, NegativeHeightIsTheCharacterHeight)
{
    REQUIRE_LIBERATION_SANS();
    const auto& c = GetParam();
    const auto m
        = Font::create(LogFont { c.height, 400, false, false, false, "MS Sans Serif" }).metrics();
    EXPECT_EQ(m.height - m.internalLeading, c.character);
    EXPECT_EQ(m.height, m.ascent + m.descent);
    // The family's cell is 1.117 em: the internal leading is one or two pixels here.
    EXPECT_GE(m.internalLeading, 1);
    EXPECT_LE(m.internalLeading, 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CharacterHeightTest,
    testing::Values(HeightCase { -11, 11 }, HeightCase { -12, 12 }, HeightCase { -13, 13 }));

TEST(FontTest, PositiveHeightIsTheLargestCellThatFits)
{
    REQUIRE_LIBERATION_SANS();
    for (int cell : { 13, 16, 24 }) {
        const auto m = Font::create(LogFont { cell, 400, false, false, false, "Arial" }).metrics();
        EXPECT_LE(m.height, cell);
        const int em = m.height - m.internalLeading;
        const auto bigger
            = Font::create(LogFont { -(em + 1), 400, false, false, false, "Arial" }).metrics();
        EXPECT_GT(bigger.height, cell) << "cell " << cell;
    }
}

TEST(FontTest, ClassicFacesResolveToInstalledFamilies)
{
    struct Case {
        const char* face;
        const char* family;
    };
    for (const auto& c :
        { Case { "MS Sans Serif", "Liberation Sans" }, Case { "tahoma", "Liberation Sans" },
            Case { "Arial", "Liberation Sans" }, Case { "Times New Roman", "Liberation Serif" },
            Case { "Courier New", "Liberation Mono" } }) {
        if (!familyInstalled(c.family, c.family))
            GTEST_SKIP() << "skipped: " << c.family << " is not installed";
        EXPECT_EQ(substituteFaceName(c.face), c.family) << c.face;
        EXPECT_EQ(Font::create(LogFont { -11, 400, false, false, false, c.face }).realisedFamily(),
            c.family)
            << c.face;
    }
    EXPECT_EQ(substituteFaceName("Quillmere Display"), "Quillmere Display");
}

TEST(FontTest, FaceNameKeepsAtMost31CharactersWithoutSplittingOne)
{
    const std::string e = "\xC3\xA9"; // one character, two bytes
    std::string longFace;
    for (int i = 0; i < 40; ++i)
        longFace += e;
    const auto lf = Font::create(LogFont { -12, 400, false, false, false, longFace }).logFont();
    EXPECT_EQ(lf.faceName.size(), 31 * e.size());
    EXPECT_EQ(Font::create(LogFont { -12, 400, false, false, false, "Arial" }).logFont().faceName,
        "Arial");
}

TEST(FontTest, HandlesCountThemselvesAndShareOneRealisation)
{
    const long before = liveObjects(ObjectKind::Font);
    {
        Font a = Font::create(LogFont { -12, 700, true, true, true, "Arial" });
        Font b = a;
        EXPECT_EQ(liveObjects(ObjectKind::Font), before + 1);
        EXPECT_TRUE(a == b);
        EXPECT_EQ(a.logFont().weight, 700);
        EXPECT_TRUE(a.logFont().italic && a.logFont().underline && a.logFont().strikeOut);
    }
    EXPECT_EQ(liveObjects(ObjectKind::Font), before);
    EXPECT_FALSE(Font {});
    EXPECT_EQ(Font {}.metrics().height, 0);
}

TEST(FontTest, ExtremeHeightsStillRealise)
{
    for (int h : { 0, 1, -1, 100000, -100000, std::numeric_limits<int>::min() }) {
        const auto m = Font::create(LogFont { h, 400, false, false, false, "" }).metrics();
        EXPECT_GT(m.height, 0) << h;
    }
}

TEST(FontTest, DefaultGuiFontIsElevenPixelSansSerif)
{
    REQUIRE_LIBERATION_SANS();
    const Font f = defaultGuiFont();
    EXPECT_TRUE(f == defaultGuiFont());
    EXPECT_EQ(f.metrics().height - f.metrics().internalLeading, 11);
    EXPECT_EQ(f.realisedFamily(), "Liberation Sans");
}

} // namespace
} // namespace qm::gfx
