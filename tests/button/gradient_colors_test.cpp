#include "button/render/gradient_colors.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace qm {
namespace {

int channel(ColorValue c, int shift)
{
    return (c >> shift) & 0xFF;
}

TEST(ComputeGradientColorsTest, ExactStepsReachTheEndColour)
{
    std::vector<ColorValue> bands(4);
    ComputeGradientColors(bands, 0x000000, 0x0000FF);
    EXPECT_EQ(bands, (std::vector<ColorValue> { 0x000000, 0x000055, 0x0000AA, 0x0000FF }));
}

TEST(ComputeGradientColorsTest, SinglePrecisionAccumulationFallsShortOfTheEnd)
{
    // 255 / 9 added nine times in single precision gives 254.99998, rounded down.
    std::vector<ColorValue> bands(10);
    ComputeGradientColors(bands, 0x000000, 0x0000FF);
    EXPECT_EQ(bands.back(), 0x0000FE);
    EXPECT_EQ(bands[1], 0x00001C); // 28.33 rounded down
}

struct RampCase {
    ColorValue start;
    ColorValue end;
    std::size_t count;
};

class GradientRampTest : public ::testing::TestWithParam<RampCase> { };

TEST_P(GradientRampTest, EachBandFollowsTheLinearRampWithinOneUnit)
{
    const RampCase& c = GetParam();
    std::vector<ColorValue> bands(c.count, -1);
    ComputeGradientColors(bands, c.start, c.end);
    ASSERT_EQ(bands.front(), c.start);
    const double u = double(c.count - 1);
    for (std::size_t k = 1; k < c.count; ++k) {
        EXPECT_GE(bands[k], 0);
        EXPECT_LE(bands[k], 0xFFFFFF);
        for (int shift : { 0, 8, 16 }) {
            const double s = channel(c.start, shift), e = channel(c.end, shift);
            const double exact = s + (e - s) * double(k) / u;
            EXPECT_LE(std::abs(channel(bands[k], shift) - exact), 1.0)
                << "band " << k << " shift " << shift;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ramps, GradientRampTest,
    ::testing::Values(RampCase { 0xC8D0D4, 0x6A240A, 150 }, RampCase { 0xFFFFFF, 0x000000, 300 },
        RampCase { 0x102030, 0x102030, 7 }, RampCase { 0x00FF00, 0xFF00FF, 2 },
        RampCase { 0x808080, 0x818181, 1024 }));

TEST(ComputeGradientColorsTest, OneBandHoldsTheStartColourAndNoBandsIsHarmless)
{
    std::vector<ColorValue> one(1);
    ComputeGradientColors(one, 0x123456, 0xFFFFFF);
    EXPECT_EQ(one[0], 0x123456);
    std::vector<ColorValue> none;
    ComputeGradientColors(none, 0x123456, 0xFFFFFF);
    EXPECT_TRUE(none.empty());
}

} // namespace
} // namespace qm
