#include "button/render/gradient_colors.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qm {

void ComputeGradientColors(
    std::vector<ColorValue>& bands, ColorValue startColour, ColorValue endColour)
{
    if (bands.empty())
        return;
    const auto u = std::int32_t(bands.size() - 1);
    std::array<float, 3> s { float(startColour & 0xFF), float((startColour >> 8) & 0xFF),
        float((startColour >> 16) & 0xFF) };
    const std::array<std::int32_t, 3> e { endColour & 0xFF, (endColour >> 8) & 0xFF,
        (endColour >> 16) & 0xFF };
    bands[0] = startColour;
    if (u == 0)
        return;
    std::array<float, 3> d {};
    for (std::size_t c = 0; c < 3; ++c)
        d[c] = (float(e[c]) - s[c]) / float(u);
    for (std::int32_t k = 1; k <= u; ++k) {
        for (std::size_t c = 0; c < 3; ++c)
            s[c] = std::clamp(s[c] + d[c], 0.0f, 255.0f);
        bands[std::size_t(k)] = std::int32_t(std::floor(s[1])) * 256
            + std::int32_t(std::floor(s[0])) + std::int32_t(std::floor(s[2])) * 65536;
    }
}

} // namespace qm
