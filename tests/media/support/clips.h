#pragma once
// Shared fixtures for clip tests: a scratch folder, an independent producer/decoder
// (ffmpeg, when installed) and small generated clips.
#include "platform/media/avi.h"
#include "platform/media/avi_writer.h"
#include "tests/system/support/scratch_dir.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qm::media::test {

using qm::test::ScratchDir;

bool haveFfmpeg();
// Runs ffmpeg quietly with the given arguments; true on exit code 0.
bool ffmpeg(const std::string& args);
// ffmpeg's decoding of every frame of `clip` as 0xFFRRGGBB pictures.
std::vector<Image> ffmpegFrames(const std::filesystem::path& clip, int width, int height);

std::vector<std::uint8_t> readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A palette of 256 distinct colours and `count` frames of palette indices (top row first)
// with a moving block over a fixed noisy background, so that RLE8 frames mix runs,
// literal stretches and skipped pixels.
std::vector<std::uint32_t> testPalette();
std::vector<std::vector<std::uint8_t>> testFrames(int width, int height, int count);
// The picture the indices stand for.
Image expected(const std::vector<std::uint8_t>& indices, const std::vector<std::uint32_t>& palette,
    int width, int height);

// An RLE8 clip of testFrames(), key frame first and deltas after it.
AviVideo rleVideo(int width, int height, int count);

} // namespace qm::media::test
