#pragma once
// A small drawing surface for the artwork: 0xAARRGGBB pixels, shapes filled by pixel centres.
#include <cstdint>
#include <utility>
#include <vector>

namespace qm::artgen {

using Argb = std::uint32_t;

constexpr Argb rgb(int r, int g, int b)
{
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}
constexpr Argb transparent = 0;

struct PointF {
    double x, y;
};

class Canvas {
public:
    Canvas(int width, int height, Argb fill = transparent);
    int width() const { return width_; }
    int height() const { return height_; }
    Argb at(int x, int y) const { return pixels_[std::size_t(y * width_ + x)]; }
    const std::vector<Argb>& pixels() const { return pixels_; }

    void set(int x, int y, Argb c);
    void fillRect(int left, int top, int right, int bottom, Argb c); // right, bottom exclusive
    void frameRect(int left, int top, int right, int bottom, Argb c);
    // Raised (light top-left, dark bottom-right) or sunken edge inside the rectangle.
    void bevel(int left, int top, int right, int bottom, Argb light, Argb dark);
    void line(int x0, int y0, int x1, int y1, Argb c);
    void fillEllipse(double cx, double cy, double rx, double ry, Argb c);
    void fillPolygon(const std::vector<PointF>& points, Argb c);
    // Lays `sprite` at (x, y); its transparent pixels leave the canvas alone.
    void draw(const Canvas& sprite, int x, int y);

private:
    int width_, height_;
    std::vector<Argb> pixels_;
};

// Palette indices of a canvas drawn with at most 256 opaque colours; `palette` gets the colours
// in order of first appearance (0xRRGGBB), starting from the colours already in it.
std::vector<std::uint8_t> toIndices(const Canvas& canvas, std::vector<std::uint32_t>& palette);

} // namespace qm::artgen
