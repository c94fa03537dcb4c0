#pragma once
// Writes AVI clips: the artwork generator makes the program's clips with it, and tests make
// clips of every layout the reader accepts (and some it must refuse).
#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

namespace qm::media {

struct AviVideo {
    int width = 0;
    int height = 0;
    bool topDown = false; // stored with a negative height
    int bitCount = 8;
    std::uint32_t compression = 0; // 0 uncompressed, 1 RLE8, 3 colour masks
    std::chrono::microseconds frameDuration { 100000 };
    std::vector<std::uint8_t>
        formatExtra; // after the 40-byte bitmap header: palette quads or masks
    std::uint32_t colorsUsed = 0;
    std::vector<std::vector<std::uint8_t>> frames; // chunk payloads, in order
    std::vector<bool> keyFrames; // per frame; missing entries count as key frames
    std::vector<std::vector<std::uint8_t>>
        paletteChanges; // per frame, written before it; empty for none
    bool withIndex = true;
    bool withSound = false; // adds a second stream of silent 8 kHz PCM
};

std::vector<std::uint8_t> writeAvi(const AviVideo& video);

// Palette of 0xRRGGBB colours as the format stores it (blue, green, red, 0 per entry).
std::vector<std::uint8_t> paletteQuads(std::span<const std::uint32_t> rgb);

// One uncompressed frame from palette indices given top row first: rows padded to four
// bytes, bottom row first unless topDown.
std::vector<std::uint8_t> packIndexed(
    std::span<const std::uint8_t> indices, int width, int height, bool topDown);

// One RLE8 frame from palette indices given top row first. With `previous` (the frame before,
// same layout) pixels that did not change are skipped, so the frame draws over its predecessor.
std::vector<std::uint8_t> encodeRle8(std::span<const std::uint8_t> indices,
    std::span<const std::uint8_t> previous, int width, int height);

} // namespace qm::media
