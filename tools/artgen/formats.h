#pragma once
// File formats of the artwork beside the program: wave sound, icon, cursor, bitmap.
#include "tools/artgen/canvas.h"

#include <cstdint>
#include <vector>

namespace qm::artgen {

// 16-bit PCM mono samples as a RIFF WAVE file.
std::vector<std::uint8_t> waveFile(const std::vector<std::int16_t>& samples, int sampleRate);

// An icon file holding each canvas as a 32-bit image with its transparency mask.
std::vector<std::uint8_t> iconFile(const std::vector<Canvas>& images);

// A monochrome cursor file: black and white pixels drawn, the rest transparent.
std::vector<std::uint8_t> cursorFile(const Canvas& image, int hotX, int hotY);

// A 24-bit bottom-up bitmap file.
std::vector<std::uint8_t> bitmapFile(const Canvas& image);

} // namespace qm::artgen
