#pragma once
// Colours as the drawing interface exchanges them: 0x00BBGGRR, red in the low byte.
#include <cstdint>

namespace qm::gfx {

using ColorRef = std::uint32_t;

constexpr ColorRef rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return ColorRef(r) | (ColorRef(g) << 8) | (ColorRef(b) << 16);
}
constexpr std::uint8_t redOf(ColorRef c)
{
    return std::uint8_t(c & 0xFF);
}
constexpr std::uint8_t greenOf(ColorRef c)
{
    return std::uint8_t((c >> 8) & 0xFF);
}
constexpr std::uint8_t blueOf(ColorRef c)
{
    return std::uint8_t((c >> 16) & 0xFF);
}

// Pixels of colour bitmaps are stored as 0xFFRRGGBB words (the layout of a 32-bit
// RGB image), so a surface can be shown or painted on without conversion.
constexpr std::uint32_t toPixel(ColorRef c)
{
    return 0xFF000000u | (std::uint32_t(redOf(c)) << 16) | (std::uint32_t(greenOf(c)) << 8)
        | blueOf(c);
}
constexpr ColorRef fromPixel(std::uint32_t p)
{
    return rgb(
        std::uint8_t((p >> 16) & 0xFF), std::uint8_t((p >> 8) & 0xFF), std::uint8_t(p & 0xFF));
}

} // namespace qm::gfx
