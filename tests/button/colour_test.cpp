#include "button/render/colour.h"
#include "platform/raster/syscolor.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

struct ShiftCase {
    ColorValue colour;
    std::int16_t amount;
    Boolean scaleBlue;
    ColorValue expected;
};

class ShiftColorTest : public ::testing::TestWithParam<ShiftCase> { };

TEST_P(ShiftColorTest, ShiftsEachChannelAndClampsAfterwards)
{
    const ShiftCase& c = GetParam();
    EXPECT_EQ(ShiftColor(c.colour, c.amount, c.scaleBlue), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ShiftColorTest,
    ::testing::Values(ShiftCase { 0xFFFFFF, -32, kFalse, 0xDFDFDF },
        ShiftCase { 0x808080, -26, kFalse, 0x666666 }, ShiftCase { 0x808080, 16, kFalse, 0x909090 },
        // channels do not interact: red stays clamped at 255
        ShiftCase { 0x0000FF, 10, kFalse, 0x0A0AFF }, ShiftCase { 0x000000, -10, kFalse, 0x000000 },
        ShiftCase { 0xFFFFFF, 10, kFalse, 0xFFFFFF },
        // blue moves by -32 * 255 / 192 = -42.5, truncated to -42
        ShiftCase { 0xFFFFFF, -32, kTrue, 0xD5DFDF },
        // blue at 192 moves by exactly the amount; at 0 not at all
        ShiftCase { 0xC00000, 20, kTrue, 0xD41414 }, ShiftCase { 0x00FFFF, -25, kTrue, 0x00E6E6 },
        // any non-zero flag counts as set
        ShiftCase { 0xFFFFFF, -32, 1, 0xD5DFDF },
        // blue clamps after scaling: 255 + 84 * 255 / 192 = 366 -> 255
        ShiftCase { 0xFF0000, 84, kTrue, 0xFF5454 },
        // positive truncation toward zero: 100 + 31 * 100 / 192 = 100 + 16
        ShiftCase { 0x640000, 31, kTrue, 0x741F1F },
        // the upper byte of the input is masked out
        ShiftCase { 0x01000000 + 0x102030, 0, kFalse, 0x102030 },
        ShiftCase { ColorValue(0x8000000F), 0, kFalse, 0x00000F }));

class ConvertSystemColorTest : public ::testing::Test {
protected:
    void SetUp() override { gfx::setSysColorScheme(gfx::SysColorScheme::Classic); }
};

TEST_F(ConvertSystemColorTest, LooksUpSystemColoursByLowByte)
{
    EXPECT_EQ(ConvertSystemColor(ColorValue(0x8000000F)), 0xC8D0D4); // button face 212,208,200
    EXPECT_EQ(ConvertSystemColor(ColorValue(0x80000012)), 0x000000); // button text
    EXPECT_EQ(ConvertSystemColor(ColorValue(0x80000014)), 0xFFFFFF); // button highlight
    // only the low byte names the colour
    EXPECT_EQ(ConvertSystemColor(ColorValue(0x8000FF10)), 0x808080);
    // an index past the table goes to the platform unchanged
    EXPECT_EQ(ConvertSystemColor(ColorValue(0x800000FF)), ColorValue(gfx::GetSysColor(255)));
}

TEST_F(ConvertSystemColorTest, PassesNonNegativeValuesThroughUnchanged)
{
    for (ColorValue v : { 0x00FF00, 0x000000, 0x7F123456, 0x01FFFFFF })
        EXPECT_EQ(ConvertSystemColor(v), v);
}

} // namespace
} // namespace qm
