#include "tests/media/support/clips.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace qm::media::test {

bool haveFfmpeg()
{
    static const bool have = std::system("ffmpeg -hide_banner -version >/dev/null 2>&1") == 0;
    return have;
}

bool ffmpeg(const std::string& args)
{
    return std::system(
               ("ffmpeg -hide_banner -loglevel error -nostdin -y " + args + " >/dev/null 2>&1")
                   .c_str())
        == 0;
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return { std::istreambuf_iterator<char>(in), {} };
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::vector<Image> ffmpegFrames(const std::filesystem::path& clip, int width, int height)
{
    const auto raw = clip.parent_path() / (clip.stem().string() + ".rgb");
    if (!ffmpeg("-i '" + clip.string() + "' -f rawvideo -pix_fmt rgb24 '" + raw.string() + "'"))
        throw std::runtime_error("ffmpeg could not decode " + clip.string());
    const auto bytes = readFile(raw);
    const std::size_t frameBytes = std::size_t(width) * std::size_t(height) * 3;
    std::vector<Image> frames;
    for (std::size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes) {
        Image img { width, height, {} };
        for (std::size_t i = 0; i < frameBytes; i += 3)
            img.pixels.push_back(0xFF000000u | (std::uint32_t(bytes[at + i]) << 16)
                | (std::uint32_t(bytes[at + i + 1]) << 8) | bytes[at + i + 2]);
        frames.push_back(std::move(img));
    }
    return frames;
}

std::vector<std::uint32_t> testPalette()
{
    std::vector<std::uint32_t> p;
    for (std::uint32_t i = 0; i < 256; ++i)
        p.push_back(((i * 97u) & 0xFF) << 16 | ((i * 31u + 7) & 0xFF) << 8 | (255 - i));
    return p;
}

std::vector<std::vector<std::uint8_t>> testFrames(int width, int height, int count)
{
    std::mt19937 rng(7);
    std::vector<std::uint8_t> background(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Bands of flat colour (runs) interleaved with noise (literal stretches).
            const bool noisy = (x / 7 + y / 3) % 3 == 0;
            background[std::size_t(y * width + x)]
                = std::uint8_t(noisy ? rng() % 256 : (y * 5 + x / 11) % 256);
        }
    std::vector<std::vector<std::uint8_t>> frames;
    for (int f = 0; f < count; ++f) {
        auto frame = background;
        const int bx = (f * 5) % std::max(1, width - 6), by = (f * 3) % std::max(1, height - 4);
        for (int y = by; y < std::min(height, by + 4); ++y)
            for (int x = bx; x < std::min(width, bx + 6); ++x)
                frame[std::size_t(y * width + x)] = std::uint8_t(200 + f);
        frame[std::size_t((f * 13) % (width * height))] ^= 0x55; // a lone changed pixel
        frames.push_back(std::move(frame));
    }
    return frames;
}

Image expected(const std::vector<std::uint8_t>& indices, const std::vector<std::uint32_t>& palette,
    int width, int height)
{
    Image img { width, height, {} };
    for (const auto i : indices)
        img.pixels.push_back(0xFF000000u | palette[i]);
    return img;
}

AviVideo rleVideo(int width, int height, int count)
{
    const auto frames = testFrames(width, height, count);
    AviVideo v;
    v.width = width;
    v.height = height;
    v.compression = 1;
    v.bitCount = 8;
    v.frameDuration = std::chrono::microseconds(66667);
    v.formatExtra = paletteQuads(testPalette());
    v.colorsUsed = 256;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        v.frames.push_back(encodeRle8(
            frames[i], i == 0 ? std::span<const std::uint8_t>() : frames[i - 1], width, height));
        v.keyFrames.push_back(i == 0);
    }
    return v;
}

} // namespace qm::media::test
