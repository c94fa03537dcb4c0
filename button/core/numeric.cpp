#include "button/core/numeric.h"

#include "platform/forms/runtime_error.h"

#include <cmath>
#include <limits>

namespace qm {

namespace {
template <typename Int> Int roundChecked(double x)
{
    // nearbyint follows the default rounding mode: to nearest, ties to even.
    const double r = std::nearbyint(x);
    if (!(r >= double(std::numeric_limits<Int>::min())
            && r <= double(std::numeric_limits<Int>::max())))
        raiseOverflow(); // also NaN
    return Int(r);
}
template <typename Int> Int narrowChecked(std::int64_t x)
{
    if (x < std::numeric_limits<Int>::min() || x > std::numeric_limits<Int>::max())
        raiseOverflow();
    return Int(x);
}
} // namespace

void raiseOverflow()
{
    forms::Raise(forms::errOverflow);
}

std::int32_t CLng(double x)
{
    return roundChecked<std::int32_t>(x);
}
std::int16_t CInt(double x)
{
    return roundChecked<std::int16_t>(x);
}
std::int32_t toLong(std::int64_t x)
{
    return narrowChecked<std::int32_t>(x);
}
std::int16_t toInteger(std::int64_t x)
{
    return narrowChecked<std::int16_t>(x);
}

} // namespace qm
