#pragma once
// Ternary raster operations. The boolean function of a code is its third byte i:
// result bit = (i >> ((P << 2) | (S << 1) | D)) & 1, with P the pattern (brush) bit,
// S the source bit and D the destination bit.
#include <cstdint>

namespace qm::gfx {

using RasterOp = std::uint32_t;

constexpr RasterOp SRCCOPY = 0x00CC0020;
constexpr RasterOp SRCPAINT = 0x00EE0086;
constexpr RasterOp SRCAND = 0x008800C6;
constexpr RasterOp SRCINVERT = 0x00660046;
constexpr RasterOp SRCERASE = 0x00440328;
constexpr RasterOp NOTSRCCOPY = 0x00330008;
constexpr RasterOp DSna = 0x00220326;
constexpr RasterOp PSDPxax = 0x00B8074A;
constexpr RasterOp PATCOPY = 0x00F00021;
constexpr RasterOp PATINVERT = 0x005A0049;
constexpr RasterOp DSTINVERT = 0x00550009;
constexpr RasterOp BLACKNESS = 0x00000042;
constexpr RasterOp WHITENESS = 0x00FF0062;

constexpr std::uint8_t ropIndex(RasterOp rop)
{
    return std::uint8_t((rop >> 16) & 0xFF);
}
constexpr bool ropUsesSource(std::uint8_t i)
{
    return ((i >> 2) & 0x33) != (i & 0x33);
}
constexpr bool ropUsesPattern(std::uint8_t i)
{
    return ((i >> 4) & 0x0F) != (i & 0x0F);
}

// Applies function i to every bit of the three words at once.
constexpr std::uint32_t applyRop(std::uint8_t i, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    std::uint32_t r = 0;
    for (int k = 0; k < 8; ++k) {
        if ((i >> k) & 1)
            r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
    }
    return r;
}

} // namespace qm::gfx
