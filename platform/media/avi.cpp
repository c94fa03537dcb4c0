#include "platform/media/avi.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>

namespace qm::media {

namespace {

using Bytes = std::span<const std::uint8_t>;

[[noreturn]] void fail(AviFault fault, const std::string& what)
{
    throw AviError(fault, what);
}

std::uint16_t le16(Bytes b, std::size_t at)
{
    if (at > b.size() || b.size() - at < 2)
        fail(AviFault::Corrupt, "field outside its chunk");
    return std::uint16_t(b[at] | (b[at + 1] << 8));
}

std::uint32_t le32(Bytes b, std::size_t at)
{
    if (at > b.size() || b.size() - at < 4)
        fail(AviFault::Corrupt, "field outside its chunk");
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16)
        | (std::uint32_t(b[at + 3]) << 24);
}

bool isId(Bytes b, std::size_t at, const char (&id)[5])
{
    return at <= b.size() && b.size() - at >= 4 && std::memcmp(b.data() + at, id, 4) == 0;
}

// One chunk: its four-character id, and where its data lies in the whole file.
struct Chunk {
    std::uint32_t id;
    std::size_t data; // offset of the data
    std::uint32_t size;
    bool is(const char (&name)[5]) const
    {
        std::uint32_t n;
        std::memcpy(&n, name, 4);
        return id == n;
    }
};

std::uint32_t fourcc(const char (&name)[5])
{
    std::uint32_t n;
    std::memcpy(&n, name, 4);
    return n;
}

// The chunks between begin and end (a list's contents); a chunk running past end is corrupt.
std::vector<Chunk> chunksIn(Bytes file, std::size_t begin, std::size_t end)
{
    std::vector<Chunk> out;
    std::size_t at = begin;
    while (end - at >= 8) {
        Chunk c;
        std::memcpy(&c.id, file.data() + at, 4);
        c.size = le32(file, at + 4);
        c.data = at + 8;
        if (c.size > end - c.data)
            fail(AviFault::Corrupt, "chunk runs past the end of its list");
        out.push_back(c);
        at = c.data + c.size + (c.size & 1);
        if (at > end)
            break; // a missing pad byte after the last chunk
    }
    if (at < end)
        fail(AviFault::Corrupt, "a piece of a chunk header at the end of a list");
    return out;
}

// A list chunk's type and the range of its children.
std::optional<std::uint32_t> listType(Bytes file, const Chunk& c)
{
    if (!c.is("LIST") || c.size < 4)
        return std::nullopt;
    return le32(file, c.data);
}

std::uint32_t expand(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    std::uint32_t v = (value & mask) >> shift;
    if (bits >= 8)
        return v >> (bits - 8);
    // Replicate the high bits into the low ones, so full scale maps to 255.
    std::uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << bits) | v;
        filled += bits;
    }
    return out >> (filled - 8);
}

constexpr std::uint32_t opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

std::string name(std::uint32_t id)
{
    std::string s(4, ' ');
    std::memcpy(s.data(), &id, 4);
    for (char& ch : s)
        if (ch < 32 || ch > 126)
            ch = '?';
    return s;
}

// Stream number of a movi chunk id such as "00dc", or -1.
int streamOf(std::uint32_t id)
{
    const char c0 = char(id & 0xFF), c1 = char((id >> 8) & 0xFF);
    if (c0 < '0' || c0 > '9' || c1 < '0' || c1 > '9')
        return -1;
    return (c0 - '0') * 10 + (c1 - '0');
}

std::uint16_t kindOf(std::uint32_t id)
{
    return std::uint16_t(id >> 16);
}
constexpr std::uint16_t kind(char a, char b)
{
    return std::uint16_t(std::uint8_t(a) | (std::uint8_t(b) << 8));
}

} // namespace

AviClip AviClip::open(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        fail(AviFault::Missing, "no such clip file: " + path.string());
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        fail(AviFault::Missing, "cannot read " + path.string());
    if (size > maxFileBytes)
        fail(AviFault::Unsupported, "clip file too large: " + path.string());
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fail(AviFault::Missing, "cannot open " + path.string());
    std::vector<std::uint8_t> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    if (in.gcount() != std::streamsize(size))
        fail(AviFault::Missing, "cannot read " + path.string());
    return parse(std::move(bytes));
}

AviClip AviClip::parse(std::vector<std::uint8_t> bytes)
{
    AviClip clip;
    clip.bytes_ = std::move(bytes);
    const Bytes file(clip.bytes_);
    if (file.size() > maxFileBytes)
        fail(AviFault::Unsupported, "clip too large");
    if (file.size() < 12 || !isId(file, 0, "RIFF") || !isId(file, 8, "AVI "))
        fail(AviFault::NotAvi, "not an AVI file");
    if (8ull + le32(file, 4) > file.size())
        fail(AviFault::Corrupt, "the file is shorter than its header says");
    const std::size_t riffEnd = 8 + std::size_t(le32(file, 4));
    const auto top = chunksIn(file, 12, riffEnd);

    std::optional<Chunk> hdrl, movi, idx1;
    for (const auto& c : top) {
        const auto type = listType(file, c);
        if (type == fourcc("hdrl") && !hdrl)
            hdrl = c;
        else if (type == fourcc("movi") && !movi)
            movi = c;
        else if (c.is("idx1") && !idx1)
            idx1 = c;
    }
    if (!hdrl)
        fail(AviFault::NotAvi, "AVI file without a header list");
    if (!movi)
        fail(AviFault::Corrupt, "AVI file without frame data");

    // Header: the main header and one stream list per stream.
    std::uint32_t microSecPerFrame = 0;
    int videoStream = -1, streams = 0;
    std::optional<Chunk> strf;
    std::uint32_t scale = 0, rate = 0;
    for (const auto& c : chunksIn(file, hdrl->data + 4, hdrl->data + hdrl->size)) {
        if (c.is("avih")) {
            if (c.size < 4)
                fail(AviFault::Corrupt, "short main header");
            microSecPerFrame = le32(file, c.data);
            continue;
        }
        if (listType(file, c) != fourcc("strl"))
            continue;
        const int number = streams++;
        std::optional<Chunk> strh, format;
        for (const auto& s : chunksIn(file, c.data + 4, c.data + c.size)) {
            if (s.is("strh") && !strh)
                strh = s;
            else if (s.is("strf") && !format)
                format = s;
        }
        if (!strh || strh->size < 4)
            fail(AviFault::Corrupt, "stream without a header");
        const std::uint32_t type = le32(file, strh->data);
        if (type == fourcc("auds") || type == fourcc("mids"))
            fail(AviFault::Sound, "the clip has a sound stream");
        if (type != fourcc("vids"))
            continue;
        if (videoStream >= 0)
            fail(AviFault::Unsupported, "more than one video stream");
        if (!format)
            fail(AviFault::Corrupt, "video stream without a format");
        videoStream = number;
        strf = format;
        if (strh->size >= 28) {
            scale = le32(file, strh->data + 20);
            rate = le32(file, strh->data + 24);
        }
    }
    if (videoStream < 0)
        fail(AviFault::Unsupported, "no video stream");

    // Format: a bitmap information header, then masks or a palette.
    const Bytes fmt = file.subspan(strf->data, strf->size);
    if (fmt.size() < 40)
        fail(AviFault::Corrupt, "short video format");
    const std::uint32_t headerSize = le32(fmt, 0);
    if (headerSize < 40 || headerSize > fmt.size())
        fail(AviFault::Corrupt, "bad bitmap header size");
    const auto width = std::int32_t(le32(fmt, 4));
    const auto height = std::int32_t(le32(fmt, 8));
    const std::uint16_t bitCount = le16(fmt, 14);
    const std::uint32_t compression = le32(fmt, 16);
    const std::uint32_t colorsUsed = le32(fmt, 32);
    if (width <= 0 || height == 0 || height == INT32_MIN || width > maxSide
        || std::abs(height) > maxSide)
        fail(AviFault::Unsupported, "unsupported frame size");
    clip.width_ = width;
    clip.height_ = std::abs(height);
    clip.topDown_ = height < 0;

    constexpr std::uint32_t rgb = 0, rle8 = 1, bitfields = 3;
    if (compression == rgb && bitCount == 8)
        clip.layout_ = PixelLayout::Indexed8;
    else if (compression == rle8 && bitCount == 8)
        clip.layout_ = PixelLayout::Rle8;
    else if ((compression == rgb || compression == bitfields) && bitCount == 16)
        clip.layout_ = PixelLayout::Rgb16;
    else if (compression == rgb && bitCount == 24)
        clip.layout_ = PixelLayout::Rgb24;
    else if ((compression == rgb || compression == bitfields) && bitCount == 32)
        clip.layout_ = PixelLayout::Rgb32;
    else
        fail(AviFault::Unsupported,
            "unsupported video encoding " + name(compression) + "/" + std::to_string(bitCount));
    if (clip.layout_ == PixelLayout::Rle8 && clip.topDown_)
        fail(AviFault::Corrupt, "RLE8 frames are always bottom-up");

    if (compression == bitfields) {
        // Masks follow a 40-byte header, or lie inside a larger one at the same place.
        for (int i = 0; i < 3; ++i)
            clip.masks_[i] = le32(fmt, 40 + 4 * std::size_t(i));
        for (const auto m : clip.masks_)
            if (m == 0 || (bitCount == 16 && m > 0xFFFF))
                fail(AviFault::Corrupt, "bad colour masks");
    } else if (bitCount == 16) {
        clip.masks_[0] = 0x7C00, clip.masks_[1] = 0x03E0, clip.masks_[2] = 0x001F;
    } else {
        clip.masks_[0] = 0xFF0000, clip.masks_[1] = 0x00FF00, clip.masks_[2] = 0x0000FF;
    }

    clip.initialPalette_.assign(256, 0xFF000000u);
    if (bitCount == 8) {
        const std::size_t wanted = colorsUsed == 0 ? 256 : std::min<std::uint32_t>(colorsUsed, 256);
        const std::size_t there = std::min(wanted, (fmt.size() - headerSize) / 4);
        for (std::size_t i = 0; i < there; ++i) {
            const auto* q = fmt.data() + headerSize + 4 * i; // blue, green, red, reserved
            clip.initialPalette_[i] = opaque(q[2], q[1], q[0]);
        }
    }

    const double us
        = scale > 0 && rate > 0 ? 1e6 * double(scale) / double(rate) : double(microSecPerFrame);
    // A clip that states no rate plays at ten frames a second; none plays slower than a frame a
    // minute.
    clip.frameDuration_ = std::chrono::microseconds(
        us <= 0 ? 100000 : std::int64_t(std::clamp(std::llround(us), 1000ll, 60000000ll)));

    // Frames and palette changes of the video stream, in order: from the index when it
    // matches the data, else by walking the data list.
    auto accept = [&](const Chunk& c) {
        if (streamOf(c.id) != videoStream)
            return;
        const auto k = kindOf(c.id);
        if (k == kind('d', 'b') || k == kind('d', 'c'))
            clip.events_.push_back({ c.data, c.size, false });
        else if (k == kind('p', 'c'))
            clip.events_.push_back({ c.data, c.size, true });
    };
    const std::size_t moviBegin = movi->data + 4, moviEnd = movi->data + movi->size;
    bool indexed = false;
    if (idx1) {
        try {
            const std::size_t entries = idx1->size / 16;
            std::optional<std::size_t> base;
            for (std::size_t i = 0; i < entries; ++i) {
                const std::size_t e = idx1->data + 16 * i;
                Chunk c;
                std::memcpy(&c.id, file.data() + e, 4);
                const std::uint32_t offset = le32(file, e + 8);
                c.size = le32(file, e + 12);
                if (streamOf(c.id) != videoStream)
                    continue;
                if (!base) {
                    // Offsets count from the "movi" type, or from the start of the file.
                    for (const std::size_t candidate : { moviBegin - 4, std::size_t(0) }) {
                        const std::size_t at = candidate + offset;
                        if (at >= moviBegin && at < moviEnd && moviEnd - at >= 8
                            && std::memcmp(file.data() + at, &c.id, 4) == 0) {
                            base = candidate;
                            break;
                        }
                    }
                    if (!base)
                        throw AviError(AviFault::Corrupt, "index does not match the data");
                }
                const std::size_t at = *base + offset;
                if (at < moviBegin || at > moviEnd || moviEnd - at < 8
                    || std::memcmp(file.data() + at, &c.id, 4) != 0 || le32(file, at + 4) != c.size
                    || c.size > moviEnd - at - 8)
                    throw AviError(AviFault::Corrupt, "index does not match the data");
                c.data = at + 8;
                accept(c);
            }
            indexed = !clip.events_.empty();
        } catch (const AviError&) {
            clip.events_.clear(); // the index is optional: fall back to the data itself
        }
    }
    if (!indexed) {
        for (const auto& c : chunksIn(file, moviBegin, moviEnd)) {
            if (listType(file, c) == fourcc("rec ")) {
                for (const auto& inner : chunksIn(file, c.data + 4, c.data + c.size))
                    accept(inner);
            } else {
                accept(c);
            }
        }
    }
    for (std::size_t i = 0; i < clip.events_.size(); ++i)
        if (!clip.events_[i].palette)
            clip.frames_.push_back(i);
    if (clip.frames_.empty())
        fail(AviFault::Corrupt, "clip without frames");

    clip.image_.width = clip.width_;
    clip.image_.height = clip.height_;
    // Decode everything once, so that playing can never meet a bad frame.
    for (int i = 0; i < clip.frameCount(); ++i)
        clip.frame(i);
    clip.rewind();
    return clip;
}

void AviClip::rewind()
{
    palette_ = initialPalette_;
    indices_.assign(std::size_t(width_) * std::size_t(height_), 0);
    image_.pixels.assign(std::size_t(width_) * std::size_t(height_), palette_[0]);
    nextEvent_ = 0;
    current_ = -1;
}

const Image& AviClip::frame(int index)
{
    const int n = frameCount();
    index = ((index % n) + n) % n;
    if (index == current_)
        return image_;
    if (current_ < 0 || index < current_)
        rewind();
    const std::size_t target = frames_[std::size_t(index)];
    const bool delta = layout_ == PixelLayout::Rle8;
    for (; nextEvent_ <= target; ++nextEvent_) {
        const Event& e = events_[nextEvent_];
        // Whole frames that will be overwritten need no decoding; palette changes always apply.
        if (e.palette || delta || nextEvent_ == target)
            decodeEvent(e);
    }
    current_ = index;
    return image_;
}

void AviClip::decodeEvent(const Event& e)
{
    const Bytes data = Bytes(bytes_).subspan(e.offset, e.size);
    if (e.palette)
        applyPaletteChange(data);
    else if (!data.empty()) // an empty frame repeats the previous one
        decodeFrame(data);
}

void AviClip::applyPaletteChange(Bytes data)
{
    // first entry, entry count (0 means 256), flags, then red, green, blue, flags per entry
    if (data.size() < 4)
        fail(AviFault::Corrupt, "short palette change");
    const std::size_t first = data[0];
    const std::size_t count = data[1] == 0 ? 256 : data[1];
    if (first + count > 256 || data.size() < 4 + 4 * count)
        fail(AviFault::Corrupt, "palette change outside the palette");
    for (std::size_t i = 0; i < count; ++i) {
        const auto* p = data.data() + 4 + 4 * i;
        palette_[first + i] = opaque(p[0], p[1], p[2]);
    }
}

void AviClip::decodeFrame(Bytes data)
{
    const std::size_t w = std::size_t(width_), h = std::size_t(height_);
    auto row = [&](std::size_t y) { return image_.pixels.data() + (topDown_ ? y : h - 1 - y) * w; };

    if (layout_ == PixelLayout::Rle8) {
        // Rows bottom-up; pixels the frame does not mention keep the previous frame's colours.
        std::size_t x = 0, y = 0, at = 0;
        auto need = [&](std::size_t n) {
            if (data.size() - at < n)
                fail(AviFault::Corrupt, "RLE8 frame ends inside a code");
        };
        auto put = [&](std::size_t n) {
            if (y >= h || x + n > w)
                fail(AviFault::Corrupt, "RLE8 frame draws outside the picture");
        };
        bool done = false;
        while (!done && at < data.size()) {
            need(2);
            const std::uint8_t count = data[at], value = data[at + 1];
            at += 2;
            if (count > 0) {
                put(count);
                std::memset(indices_.data() + y * w + x, value, count);
                x += count;
            } else if (value == 0) {
                x = 0, ++y;
            } else if (value == 1) {
                done = true;
            } else if (value == 2) {
                need(2);
                x += data[at], y += data[at + 1];
                at += 2;
                if (x > w || y > h)
                    fail(AviFault::Corrupt, "RLE8 offset outside the picture");
            } else {
                need(value + (value & 1u));
                put(value);
                std::memcpy(indices_.data() + y * w + x, data.data() + at, value);
                x += value;
                at += value + (value & 1u);
            }
        }
        for (std::size_t yy = 0; yy < h; ++yy) {
            const std::uint8_t* src = indices_.data() + yy * w;
            std::uint32_t* dst = image_.pixels.data() + (h - 1 - yy) * w;
            for (std::size_t i = 0; i < w; ++i)
                dst[i] = palette_[src[i]];
        }
        return;
    }

    const std::size_t bpp = layout_ == PixelLayout::Indexed8 ? 1
        : layout_ == PixelLayout::Rgb16                      ? 2
        : layout_ == PixelLayout::Rgb24                      ? 3
                                                             : 4;
    const std::size_t stride = (w * bpp + 3) & ~std::size_t(3);
    if (data.size() / stride < h)
        fail(AviFault::Corrupt, "frame shorter than its picture");
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* src = data.data() + y * stride;
        std::uint32_t* dst = row(y);
        switch (layout_) {
        case PixelLayout::Indexed8:
            for (std::size_t i = 0; i < w; ++i)
                dst[i] = palette_[src[i]];
            break;
        case PixelLayout::Rgb24:
            for (std::size_t i = 0; i < w; ++i, src += 3)
                dst[i] = opaque(src[2], src[1], src[0]);
            break;
        case PixelLayout::Rgb16:
        case PixelLayout::Rgb32:
            for (std::size_t i = 0; i < w; ++i, src += bpp) {
                const std::uint32_t v = bpp == 2
                    ? std::uint32_t(src[0] | (src[1] << 8))
                    : std::uint32_t(src[0]) | (std::uint32_t(src[1]) << 8)
                        | (std::uint32_t(src[2]) << 16) | (std::uint32_t(src[3]) << 24);
                dst[i] = opaque(std::uint8_t(expand(v, masks_[0])),
                    std::uint8_t(expand(v, masks_[1])), std::uint8_t(expand(v, masks_[2])));
            }
            break;
        case PixelLayout::Rle8:
            break;
        }
    }
}

} // namespace qm::media
