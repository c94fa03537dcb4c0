#include "tools/artgen/formats.h"

#include <stdexcept>
#include <string_view>

namespace qm::artgen {

namespace {

class Out {
public:
    std::vector<std::uint8_t> bytes;
    void id(std::string_view four) { bytes.insert(bytes.end(), four.begin(), four.end()); }
    void u8(std::uint32_t v) { bytes.push_back(std::uint8_t(v)); }
    void u16(std::uint32_t v)
    {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
};

// Bitmap information header as icons and cursors store it: the height counts both masks.
void iconHeader(Out& o, int width, int height, int bitCount, std::uint32_t imageBytes)
{
    o.u32(40);
    o.u32(std::uint32_t(width));
    o.u32(std::uint32_t(2 * height));
    o.u16(1);
    o.u16(std::uint32_t(bitCount));
    o.u32(0);
    o.u32(imageBytes);
    o.u32(0), o.u32(0), o.u32(0), o.u32(0);
}

// 1 bit per pixel, rows bottom-up, each padded to four bytes.
std::vector<std::uint8_t> monoRows(const Canvas& c, bool (*bit)(Argb))
{
    const int stride = ((c.width() + 31) / 32) * 4;
    std::vector<std::uint8_t> out(std::size_t(stride * c.height()), 0);
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (bit(c.at(x, y)))
                out[std::size_t((c.height() - 1 - y) * stride + x / 8)]
                    |= std::uint8_t(0x80 >> (x % 8));
    return out;
}

bool isTransparent(Argb p)
{
    return (p >> 24) == 0;
}

} // namespace

std::vector<std::uint8_t> waveFile(const std::vector<std::int16_t>& samples, int sampleRate)
{
    Out o;
    const auto dataBytes = std::uint32_t(samples.size() * 2);
    o.id("RIFF");
    o.u32(36 + dataBytes);
    o.id("WAVE");
    o.id("fmt ");
    o.u32(16);
    o.u16(1); // PCM
    o.u16(1); // mono
    o.u32(std::uint32_t(sampleRate));
    o.u32(std::uint32_t(sampleRate) * 2);
    o.u16(2);
    o.u16(16);
    o.id("data");
    o.u32(dataBytes);
    for (const auto s : samples)
        o.u16(std::uint16_t(s));
    return std::move(o.bytes);
}

std::vector<std::uint8_t> iconFile(const std::vector<Canvas>& images)
{
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const auto& c : images) {
        if (c.width() > 256 || c.height() > 256)
            throw std::invalid_argument("icon image too large");
        Out body;
        const auto mask = monoRows(c, isTransparent);
        const auto colourBytes = std::uint32_t(c.width() * c.height() * 4);
        iconHeader(body, c.width(), c.height(), 32, colourBytes + std::uint32_t(mask.size()));
        for (int y = c.height() - 1; y >= 0; --y)
            for (int x = 0; x < c.width(); ++x)
                body.u32(c.at(x, y)); // blue, green, red, alpha in file order
        body.bytes.insert(body.bytes.end(), mask.begin(), mask.end());
        bodies.push_back(std::move(body.bytes));
    }
    Out o;
    o.u16(0);
    o.u16(1); // icon
    o.u16(std::uint32_t(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        o.u8(std::uint32_t(images[i].width() % 256));
        o.u8(std::uint32_t(images[i].height() % 256));
        o.u8(0), o.u8(0);
        o.u16(1); // planes
        o.u16(32); // bits
        o.u32(std::uint32_t(bodies[i].size()));
        o.u32(offset);
        offset += std::uint32_t(bodies[i].size());
    }
    for (const auto& b : bodies)
        o.bytes.insert(o.bytes.end(), b.begin(), b.end());
    return std::move(o.bytes);
}

std::vector<std::uint8_t> cursorFile(const Canvas& c, int hotX, int hotY)
{
    // Colour mask: 1 = white. Transparency mask: 1 = leave the screen as it is.
    const auto white = monoRows(c, [](Argb p) { return (p >> 24) != 0 && (p & 0xFFFFFF) != 0; });
    const auto mask = monoRows(c, isTransparent);
    Out body;
    iconHeader(body, c.width(), c.height(), 1, std::uint32_t(white.size() + mask.size()));
    body.u32(0x000000); // palette: black, white
    body.u32(0xFFFFFF);
    body.bytes.insert(body.bytes.end(), white.begin(), white.end());
    body.bytes.insert(body.bytes.end(), mask.begin(), mask.end());

    Out o;
    o.u16(0);
    o.u16(2); // cursor
    o.u16(1);
    o.u8(std::uint32_t(c.width()));
    o.u8(std::uint32_t(c.height()));
    o.u8(2), o.u8(0);
    o.u16(std::uint32_t(hotX));
    o.u16(std::uint32_t(hotY));
    o.u32(std::uint32_t(body.bytes.size()));
    o.u32(6 + 16);
    o.bytes.insert(o.bytes.end(), body.bytes.begin(), body.bytes.end());
    return std::move(o.bytes);
}

std::vector<std::uint8_t> bitmapFile(const Canvas& c)
{
    const int stride = (c.width() * 3 + 3) & ~3;
    const auto imageBytes = std::uint32_t(stride * c.height());
    Out o;
    o.id("BM");
    o.u32(14 + 40 + imageBytes);
    o.u32(0);
    o.u32(14 + 40);
    o.u32(40);
    o.u32(std::uint32_t(c.width()));
    o.u32(std::uint32_t(c.height()));
    o.u16(1);
    o.u16(24);
    o.u32(0);
    o.u32(imageBytes);
    o.u32(3780), o.u32(3780); // 96 dots per inch
    o.u32(0), o.u32(0);
    for (int y = c.height() - 1; y >= 0; --y) {
        for (int x = 0; x < c.width(); ++x) {
            const Argb p = c.at(x, y);
            o.u8(p), o.u8(p >> 8), o.u8(p >> 16);
        }
        for (int pad = c.width() * 3; pad < stride; ++pad)
            o.u8(0);
    }
    return std::move(o.bytes);
}

} // namespace qm::artgen
