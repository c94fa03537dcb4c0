#pragma once
// Silent AVI clips, as the animation control plays them: one video stream, uncompressed
// (8-bit palettised, 16-, 24- or 32-bit, bottom-up or top-down) or RLE8-compressed.
// Every offset and size read from the file is checked against the bytes really there.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm::media {

enum class AviFault {
    Missing, // the file cannot be opened or read
    NotAvi, // not a RIFF AVI file
    Sound, // the clip has a sound stream
    Unsupported, // a well-formed clip in a form we do not play
    Corrupt, // sizes or offsets that point outside the file, or undecodable frame data
};

class AviError : public std::runtime_error {
public:
    AviError(AviFault fault, const std::string& what)
        : std::runtime_error(what)
        , fault_(fault)
    {
    }
    AviFault fault() const { return fault_; }

private:
    AviFault fault_;
};

enum class PixelLayout { Indexed8, Rgb16, Rgb24, Rgb32, Rle8 };

// One decoded picture: 0xFFRRGGBB words, rows from top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const
    {
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
    bool operator==(const Image&) const = default;
};

class AviClip {
public:
    // Both throw AviError. Every frame is decoded once while opening, so a clip that opens
    // plays to its end without errors.
    static AviClip open(const std::filesystem::path& path);
    static AviClip parse(std::vector<std::uint8_t> bytes);

    int width() const { return width_; }
    int height() const { return height_; }
    int frameCount() const { return int(frames_.size()); }
    std::chrono::microseconds frameDuration() const { return frameDuration_; }
    PixelLayout layout() const { return layout_; }
    bool topDown() const { return topDown_; }

    // Frame `index` (0-based, taken modulo the frame count). Moving forward decodes only the
    // frames in between; going back replays from the start, since RLE8 frames draw over
    // their predecessor.
    const Image& frame(int index);

    static constexpr std::size_t maxFileBytes = 256u << 20;
    static constexpr int maxSide = 8192;

private:
    struct Event {
        std::size_t offset; // of the chunk's data
        std::uint32_t size;
        bool palette; // a palette change, else a frame
    };
    AviClip() = default;
    void decodeEvent(const Event& e);
    void decodeFrame(std::span<const std::uint8_t> data);
    void applyPaletteChange(std::span<const std::uint8_t> data);
    void rewind();

    std::vector<std::uint8_t> bytes_;
    std::vector<Event> events_;
    std::vector<std::size_t> frames_; // index into events_ of each frame
    int width_ = 0;
    int height_ = 0;
    bool topDown_ = false;
    PixelLayout layout_ = PixelLayout::Rgb24;
    std::uint32_t masks_[3] = { 0, 0, 0 }; // red, green, blue for 16- and 32-bit pixels
    std::chrono::microseconds frameDuration_ { 0 };
    std::vector<std::uint32_t> initialPalette_;
    std::vector<std::uint32_t> palette_; // 0xFFRRGGBB, always 256 entries
    std::vector<std::uint8_t> indices_; // RLE8 canvas, rows bottom-up
    Image image_;
    std::size_t nextEvent_ = 0;
    int current_ = -1;
};

} // namespace qm::media
