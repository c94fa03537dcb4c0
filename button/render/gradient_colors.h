#pragma once
// Band colours of the two-colour gradient.
#include "button/core/types.h"

#include <vector>

namespace qm {

// Fills bands[0..u] with a ramp from start to end (both RGB). The channels
// accumulate in single precision and are rounded down, so the last band may
// fall one unit short of the end colour.
void ComputeGradientColors(
    std::vector<ColorValue>& bands, ColorValue startColour, ColorValue endColour);

} // namespace qm
