#include "tools/artgen/canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qm::artgen {

Canvas::Canvas(int width, int height, Argb fill)
    : width_(width)
    , height_(height)
    , pixels_(std::size_t(width * height), fill)
{
}

void Canvas::set(int x, int y, Argb c)
{
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        pixels_[std::size_t(y * width_ + x)] = c;
}

void Canvas::fillRect(int left, int top, int right, int bottom, Argb c)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            set(x, y, c);
}

void Canvas::frameRect(int left, int top, int right, int bottom, Argb c)
{
    fillRect(left, top, right, top + 1, c);
    fillRect(left, bottom - 1, right, bottom, c);
    fillRect(left, top, left + 1, bottom, c);
    fillRect(right - 1, top, right, bottom, c);
}

void Canvas::bevel(int left, int top, int right, int bottom, Argb light, Argb dark)
{
    fillRect(left, top, right, top + 1, light);
    fillRect(left, top, left + 1, bottom, light);
    fillRect(left, bottom - 1, right, bottom, dark);
    fillRect(right - 1, top, right, bottom, dark);
}

void Canvas::line(int x0, int y0, int x1, int y1, Argb c)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy)
            err += dy, x0 += sx;
        if (e2 <= dx)
            err += dx, y0 += sy;
    }
}

void Canvas::fillEllipse(double cx, double cy, double rx, double ry, Argb c)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
            if (u * u + v * v <= 1.0)
                set(x, y, c);
        }
}

void Canvas::fillPolygon(const std::vector<PointF>& points, Argb c)
{
    // Even-odd rule on pixel centres.
    for (int y = 0; y < height_; ++y) {
        const double py = y + 0.5;
        std::vector<double> xs;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PointF a = points[i], b = points[(i + 1) % points.size()];
            if ((a.y <= py) != (b.y <= py))
                xs.push_back(a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = int(std::ceil(xs[i] - 0.5)); x + 0.5 < xs[i + 1]; ++x)
                set(x, y, c);
    }
}

void Canvas::draw(const Canvas& sprite, int x, int y)
{
    for (int sy = 0; sy < sprite.height(); ++sy)
        for (int sx = 0; sx < sprite.width(); ++sx)
            if (const Argb c = sprite.at(sx, sy); c >> 24)
                set(x + sx, y + sy, c);
}

std::vector<std::uint8_t> toIndices(const Canvas& canvas, std::vector<std::uint32_t>& palette)
{
    std::vector<std::uint8_t> out;
    out.reserve(canvas.pixels().size());
    for (const Argb p : canvas.pixels()) {
        const std::uint32_t c = p & 0xFFFFFF;
        auto it = std::find(palette.begin(), palette.end(), c);
        if (it == palette.end()) {
            if (palette.size() == 256)
                throw std::runtime_error("more than 256 colours in a palettised picture");
            palette.push_back(c);
            it = palette.end() - 1;
        }
        out.push_back(std::uint8_t(it - palette.begin()));
    }
    return out;
}

} // namespace qm::artgen
