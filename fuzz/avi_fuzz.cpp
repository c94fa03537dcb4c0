// Clip reader: whatever the bytes, opening either fails with AviError or yields a clip
// whose every frame decodes. Inputs that do not start like a RIFF file are used as edits
// of a small valid RLE8 clip, so random inputs also reach the chunk, index and frame code.
#include "platform/media/avi.h"
#include "platform/media/avi_writer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::vector<std::uint8_t> seedClip()
{
    using namespace qm::media;
    const int w = 9, h = 5;
    AviVideo v;
    v.width = w, v.height = h, v.compression = 1;
    std::vector<std::uint32_t> palette(16);
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = std::uint32_t(i * 0x111111);
    v.formatExtra = paletteQuads(palette);
    v.colorsUsed = 16;
    std::vector<std::uint8_t> previous;
    for (int f = 0; f < 3; ++f) {
        std::vector<std::uint8_t> frame(std::size_t(w * h));
        for (std::size_t i = 0; i < frame.size(); ++i)
            frame[i] = std::uint8_t((i * 7 + std::size_t(f) * (i % 3)) % 16);
        v.frames.push_back(encodeRle8(frame, previous, w, h));
        previous = frame;
    }
    v.paletteChanges = { {}, { 2, 1, 0, 0, 9, 9, 9, 0 } };
    return writeAvi(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes;
    if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0) {
        bytes.assign(data, data + size);
    } else {
        static const std::vector<std::uint8_t> seed = seedClip();
        bytes = seed;
        // Pairs of (position, value) overwrite bytes; a final odd byte cuts the clip short.
        for (std::size_t i = 0; i + 2 <= size; i += 3) {
            const std::size_t at = (std::size_t(data[i]) << 8 | data[i + 1]) % bytes.size();
            bytes[at] = i + 2 < size ? data[i + 2] : std::uint8_t(0);
        }
        if (size % 3 == 1)
            bytes.resize(bytes.size() * data[size - 1] / 256);
    }
    try {
        auto clip = qm::media::AviClip::parse(std::move(bytes));
        for (int i = 0; i < clip.frameCount(); ++i)
            clip.frame(i);
        clip.frame(0);
    } catch (const qm::media::AviError&) {
    }
    return 0;
}
