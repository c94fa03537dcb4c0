#include "platform/media/avi_writer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace qm::media {

namespace {

class Out {
public:
    std::vector<std::uint8_t> bytes;

    void id(std::string_view four) { bytes.insert(bytes.end(), four.begin(), four.begin() + 4); }
    void u16(std::uint32_t v)
    {
        bytes.push_back(std::uint8_t(v));
        bytes.push_back(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void raw(std::span<const std::uint8_t> data)
    {
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    // Starts a chunk (or a list, with its type) and returns where its size goes.
    std::size_t open(std::string_view four, std::string_view type = {})
    {
        id(four);
        const std::size_t at = bytes.size();
        u32(0);
        if (!type.empty())
            id(type);
        return at;
    }
    void close(std::size_t at)
    {
        const auto size = std::uint32_t(bytes.size() - at - 4);
        for (int i = 0; i < 4; ++i)
            bytes[at + std::size_t(i)] = std::uint8_t(size >> (8 * i));
        if (size & 1)
            bytes.push_back(0);
    }
};

void streamHeader(Out& o, std::string_view type, std::string_view handler, std::uint32_t scale,
    std::uint32_t rate, std::uint32_t length, std::uint32_t sampleSize, int width, int height)
{
    const auto at = o.open("strh");
    o.id(type);
    o.id(handler);
    o.u32(0); // flags
    o.u32(0); // priority, language
    o.u32(0); // initial frames
    o.u32(scale);
    o.u32(rate);
    o.u32(0); // start
    o.u32(length);
    o.u32(0); // suggested buffer size
    o.u32(0xFFFFFFFF); // quality
    o.u32(sampleSize);
    o.u16(0), o.u16(0), o.u16(std::uint32_t(width)), o.u16(std::uint32_t(height));
    o.close(at);
}

} // namespace

std::vector<std::uint8_t> writeAvi(const AviVideo& v)
{
    const bool rle = v.compression == 1;
    const auto frames = std::uint32_t(v.frames.size());
    const int streams = v.withSound ? 2 : 1;
    constexpr std::uint32_t soundRate = 8000;
    const auto soundBytesPerFrame = std::uint32_t(soundRate * v.frameDuration.count() / 1000000);

    Out o;
    const auto riff = o.open("RIFF", "AVI ");
    const auto hdrl = o.open("LIST", "hdrl");
    const auto avih = o.open("avih");
    o.u32(std::uint32_t(v.frameDuration.count()));
    o.u32(0); // max bytes per second
    o.u32(0); // padding granularity
    o.u32(v.withIndex ? 0x10 : 0); // has an index
    o.u32(frames);
    o.u32(0);
    o.u32(std::uint32_t(streams));
    o.u32(0);
    o.u32(std::uint32_t(v.width));
    o.u32(std::uint32_t(v.height));
    for (int i = 0; i < 4; ++i)
        o.u32(0);
    o.close(avih);

    const auto strl = o.open("LIST", "strl");
    streamHeader(o, "vids", rle ? "mrle" : "DIB ", std::uint32_t(v.frameDuration.count()), 1000000,
        frames, 0, v.width, v.height);
    const auto strf = o.open("strf");
    o.u32(40);
    o.u32(std::uint32_t(v.width));
    o.u32(std::uint32_t(v.topDown ? -v.height : v.height));
    o.u16(1);
    o.u16(std::uint32_t(v.bitCount));
    o.u32(v.compression);
    o.u32(0); // image size
    o.u32(0), o.u32(0);
    o.u32(v.colorsUsed);
    o.u32(0);
    o.raw(v.formatExtra);
    o.close(strf);
    o.close(strl);

    if (v.withSound) {
        const auto sl = o.open("LIST", "strl");
        streamHeader(o, "auds", "\0\0\0\0", 1, soundRate, soundBytesPerFrame * frames, 1, 0, 0);
        const auto sf = o.open("strf");
        o.u16(1); // PCM
        o.u16(1); // mono
        o.u32(soundRate);
        o.u32(soundRate);
        o.u16(1); // block align
        o.u16(8); // bits
        o.u16(0);
        o.close(sf);
        o.close(sl);
    }
    o.close(hdrl);

    struct Entry {
        std::string_view id;
        std::uint32_t flags, offset, size;
    };
    std::vector<Entry> index;
    const auto movi = o.open("LIST", "movi");
    const std::size_t moviType = movi + 4;
    for (std::uint32_t i = 0; i < frames; ++i) {
        if (i < v.paletteChanges.size() && !v.paletteChanges[i].empty()) {
            index.push_back({ "00pc", 0u, std::uint32_t(o.bytes.size() - moviType),
                std::uint32_t(v.paletteChanges[i].size()) });
            const auto c = o.open("00pc");
            o.raw(v.paletteChanges[i]);
            o.close(c);
        }
        const bool key = i >= v.keyFrames.size() || v.keyFrames[i];
        const std::string_view id = rle || v.compression == 3 || v.bitCount != 8 ? "00dc" : "00db";
        index.push_back({ id, key ? 0x10u : 0u, std::uint32_t(o.bytes.size() - moviType),
            std::uint32_t(v.frames[i].size()) });
        const auto c = o.open(id);
        o.raw(v.frames[i]);
        o.close(c);
        if (v.withSound) {
            index.push_back(
                { "01wb", 0x10u, std::uint32_t(o.bytes.size() - moviType), soundBytesPerFrame });
            const auto s = o.open("01wb");
            o.bytes.insert(o.bytes.end(), soundBytesPerFrame, 0x80);
            o.close(s);
        }
    }
    o.close(movi);

    if (v.withIndex) {
        const auto idx = o.open("idx1");
        for (const auto& e : index) {
            o.id(e.id);
            o.u32(e.flags);
            o.u32(e.offset);
            o.u32(e.size);
        }
        o.close(idx);
    }
    o.close(riff);
    return std::move(o.bytes);
}

std::vector<std::uint8_t> paletteQuads(std::span<const std::uint32_t> rgb)
{
    std::vector<std::uint8_t> out;
    for (const auto c : rgb) {
        out.push_back(std::uint8_t(c));
        out.push_back(std::uint8_t(c >> 8));
        out.push_back(std::uint8_t(c >> 16));
        out.push_back(0);
    }
    return out;
}

std::vector<std::uint8_t> packIndexed(
    std::span<const std::uint8_t> indices, int width, int height, bool topDown)
{
    const auto w = std::size_t(width), h = std::size_t(height);
    if (indices.size() != w * h)
        throw std::invalid_argument("packIndexed: wrong number of pixels");
    const std::size_t stride = (w + 3) & ~std::size_t(3);
    std::vector<std::uint8_t> out(stride * h, 0);
    for (std::size_t y = 0; y < h; ++y)
        std::copy_n(indices.data() + y * w, w, out.data() + (topDown ? y : h - 1 - y) * stride);
    return out;
}

std::vector<std::uint8_t> encodeRle8(std::span<const std::uint8_t> indices,
    std::span<const std::uint8_t> previous, int width, int height)
{
    const auto w = std::size_t(width), h = std::size_t(height);
    if (indices.size() != w * h || (!previous.empty() && previous.size() != w * h))
        throw std::invalid_argument("encodeRle8: wrong number of pixels");
    const bool delta = !previous.empty();
    std::vector<std::uint8_t> out;
    auto same = [&](std::size_t y, std::size_t x) {
        return delta && indices[y * w + x] == previous[y * w + x];
    };

    // Position the decoder has reached: column x of stored row sy (0 = bottom row).
    std::size_t px = 0, py = 0;
    for (std::size_t sy = 0; sy < h; ++sy) {
        const std::size_t y = h - 1 - sy; // the source row, top first
        std::size_t x = 0;
        while (x < w) {
            if (same(y, x)) {
                ++x;
                continue;
            }
            // Move the decoder to (x, sy): end-of-line codes down to the row, then offsets.
            while (py < sy) {
                if (px == 0 && sy - py > 1) {
                    const auto dy = std::uint8_t(std::min<std::size_t>(sy - py, 255));
                    out.insert(out.end(), { 0, 2, 0, dy });
                    py += dy;
                } else {
                    out.insert(out.end(), { 0, 0 });
                    px = 0, ++py;
                }
            }
            while (px < x) {
                const auto dx = std::uint8_t(std::min<std::size_t>(x - px, 255));
                out.insert(out.end(), { 0, 2, dx, 0 });
                px += dx;
            }
            // The changed stretch: up to the next run of unchanged pixels worth skipping.
            std::size_t end = x;
            while (end < w) {
                std::size_t unchanged = 0;
                while (end + unchanged < w && same(y, end + unchanged))
                    ++unchanged;
                if (unchanged >= 4 || end + unchanged == w)
                    break;
                end += unchanged + 1;
            }
            const std::uint8_t* row = indices.data() + y * w;
            while (x < end) {
                std::size_t run = 1;
                while (x + run < end && run < 255 && row[x + run] == row[x])
                    ++run;
                if (run >= 3 || end - x < 3) {
                    out.insert(out.end(), { std::uint8_t(run), row[x] });
                    x += run;
                    continue;
                }
                // A literal stretch until the next run of three, at least three long.
                std::size_t lit = 0;
                while (x + lit < end && lit < 255) {
                    if (x + lit + 2 < end && row[x + lit] == row[x + lit + 1]
                        && row[x + lit] == row[x + lit + 2])
                        break;
                    ++lit;
                }
                if (lit < 3) {
                    out.insert(out.end(), { 1, row[x] });
                    ++x;
                    continue;
                }
                out.push_back(0);
                out.push_back(std::uint8_t(lit));
                out.insert(out.end(), row + x, row + x + lit);
                if (lit & 1)
                    out.push_back(0);
                x += lit;
            }
            px = x;
        }
    }
    out.insert(out.end(), { 0, 1 });
    return out;
}

} // namespace qm::media
