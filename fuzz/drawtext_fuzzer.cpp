// Text drawing and measuring on arbitrary UTF-8 (or broken) text, flags and rectangles.
#include "platform/raster/text.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

int signedByte(std::uint8_t b)
{
    return int(static_cast<std::int8_t>(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qm::gfx;
    if (size < 7)
        return 0;
    static const Font font
        = Font::create(LogFont { -11, 400, false, false, false, "MS Sans Serif" });
    static const int cell = font.metrics().height;

    const unsigned flags = unsigned(data[0]) | (unsigned(data[1]) << 8);
    const Rect asked { signedByte(data[2]), signedByte(data[3]), signedByte(data[4]) * 2,
        signedByte(data[5]) };
    const bool mono = data[6] & 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 7), size - 7);

    Bitmap surface = mono ? Bitmap::createMono(40, 20) : Bitmap::createColor(40, 20, 0xFFFFFF);
    DC dc = DC::createMemory();
    dc.select(surface);
    dc.select(font);
    dc.setBkMode((data[6] >> 1) & 3);
    if (data[6] & 8)
        dc.setClip(Region::rect(signedByte(data[3]), signedByte(data[2]), 30, 15));

    Rect measured = asked;
    const int height = drawText(dc, text, measured, flags | DT_CALCRECT);
    // Measuring: the bottom bounds the lines, every line is one cell, width never negative.
    if (height != measured.bottom - asked.top || height % cell != 0 || measured.right < asked.left
        || measured.left != asked.left || measured.top != asked.top)
        std::abort();

    Rect drawn = asked;
    drawText(dc, text, drawn, flags & ~DT_CALCRECT);
    if (drawn != asked)
        std::abort();
    return 0;
}
