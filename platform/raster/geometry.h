#pragma once
// Points and rectangles in whole pixels. One edge rule everywhere: left and top are
// inside, right and bottom are outside, so a rectangle covers x = left..right-1 and
// y = top..bottom-1.
#include <algorithm>
#include <cstdint>

namespace qm::gfx {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// Adds with saturation so that moving a shape near the end of the coordinate range
// never wraps around.
constexpr int addClamped(int a, int b)
{
    const std::int64_t s = std::int64_t(a) + b;
    return int(std::clamp<std::int64_t>(s, INT32_MIN, INT32_MAX));
}

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    // Empty when it covers no pixel (an inverted rectangle is empty until normalised).
    constexpr bool isEmpty() const { return left >= right || top >= bottom; }
    constexpr bool contains(Point p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr Rect normalized() const
    {
        return { std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom) };
    }
    constexpr Rect translated(int dx, int dy) const
    {
        return { addClamped(left, dx), addClamped(top, dy), addClamped(right, dx),
            addClamped(bottom, dy) };
    }
    // Common part of two rectangles; an empty result is returned as {0, 0, 0, 0}.
    constexpr Rect intersected(const Rect& o) const
    {
        Rect r { std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom) };
        return r.isEmpty() ? Rect {} : r;
    }
    static constexpr Rect fromSize(int x, int y, int w, int h) { return { x, y, x + w, y + h }; }
    bool operator==(const Rect&) const = default;
};

} // namespace qm::gfx
