#pragma once
// Colour conversion and shading shared by every renderer. Pure functions.
#include "button/core/types.h"

#include <cstdint>

namespace qm {

// RGB value of a colour value: a system colour (bit 31 set) is looked up by its
// low byte; any other value is returned unchanged, upper byte included.
ColorValue ConvertSystemColor(ColorValue colour);

// Lightens (amount > 0) or darkens an RGB colour channel by channel, clamping
// after the amount is applied. With scaleBlue the blue channel moves in
// proportion to its own value (amount * blue / 192, truncated).
ColorValue ShiftColor(ColorValue colour, std::int16_t amount, Boolean scaleBlue = kFalse);

} // namespace qm
