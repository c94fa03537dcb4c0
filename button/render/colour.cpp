#include "button/render/colour.h"

#include "platform/raster/syscolor.h"

#include <algorithm>

namespace qm {

ColorValue ConvertSystemColor(ColorValue colour)
{
    if (colour < 0)
        return ColorValue(gfx::GetSysColor(colour & 0xFF));
    return colour;
}

ColorValue ShiftColor(ColorValue colour, std::int16_t amount, Boolean scaleBlue)
{
    const std::int32_t R = colour & 0xFF;
    const std::int32_t G = (colour & 0xFF00) / 256;
    const std::int32_t B0 = (colour & 0xFF0000) / 65536;
    std::int32_t r = R + amount;
    std::int32_t g = G + amount;
    std::int32_t b = scaleBlue != 0 ? B0 + (amount * B0) / 192 : B0 + amount;
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    return r + g * 256 + b * 65536;
}

} // namespace qm
