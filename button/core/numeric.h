#pragma once
// The control's numeric conventions: floating values convert to integers by
// rounding to nearest with ties to even, and a result that does not fit its
// integer type raises the runtime's overflow error instead of wrapping.
#include <cstdint>

namespace qm {

// Raises the runtime's overflow error ("Overflow").
[[noreturn]] void raiseOverflow();

// Nearest 32-bit integer, ties to even.
std::int32_t CLng(double x);
// Nearest 16-bit integer, ties to even.
std::int16_t CInt(double x);
// Checked narrowing of exact integer arithmetic done in a wider type.
std::int32_t toLong(std::int64_t x);
std::int16_t toInteger(std::int64_t x);

} // namespace qm
