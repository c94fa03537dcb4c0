#include "button/core/numeric.h"
#include "platform/forms/runtime_error.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace qm {
namespace {

TEST(NumericTest, RoundsToNearestWithTiesToEven)
{
    struct Case {
        double x;
        std::int32_t expected;
    };
    for (const Case& c : { Case { 0.5, 0 }, Case { 1.5, 2 }, Case { 2.5, 2 }, Case { -2.5, -2 },
             Case { -12.5, -12 }, Case { -13.5, -14 }, Case { 2.4999, 2 }, Case { -0.6, -1 } }) {
        EXPECT_EQ(CLng(c.x), c.expected) << c.x;
        EXPECT_EQ(CInt(c.x), c.expected) << c.x;
    }
    EXPECT_EQ(CInt(-32768.5), -32768); // ties to the even bound stay in range
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
}

TEST(NumericTest, OverflowRaisesInsteadOfWrapping)
{
    try {
        CInt(40000.0);
        ADD_FAILURE() << "no error";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::errOverflow);
    }
    EXPECT_THROW(CInt(32767.5), forms::RuntimeError);
    EXPECT_THROW(CInt(-32769.0), forms::RuntimeError);
    EXPECT_THROW(CLng(2147483647.5), forms::RuntimeError);
    EXPECT_THROW(CLng(std::nan("")), forms::RuntimeError);
    EXPECT_THROW(CLng(std::numeric_limits<double>::infinity()), forms::RuntimeError);
    EXPECT_THROW(
        toLong(std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1), forms::RuntimeError);
    EXPECT_THROW(toInteger(-32769), forms::RuntimeError);
    EXPECT_EQ(toInteger(-32768), -32768);
}

} // namespace
} // namespace qm
