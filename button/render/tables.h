#pragma once
// The working tables of one redraw, filled by the renderer and the primitives.
#include "button/core/types.h"
#include "platform/raster/geometry.h"

#include <array>
#include <cstdint>

namespace qm {

// 16 points in surface pixels, indices 0..15.
using PointTable = std::array<gfx::Point, 16>;

// 12 colours, indices 1..12: 1-4 the inner ring, 5-8 the middle ring, 9-12 the outer
// ring, each as left, top, right, bottom edge. A negative entry is not drawn.
class EdgeColors {
public:
    ColorValue& operator[](int index) { return entries_.at(std::size_t(index - 1)); }
    ColorValue operator[](int index) const { return entries_.at(std::size_t(index - 1)); }
    void fill(ColorValue c) { entries_.fill(c); }

private:
    std::array<ColorValue, 12> entries_ {};
};

// What the face looks like in this redraw: 0 normal, 1 default/focused, 2 pressed.
using VisualState = std::int16_t;
// How the face was prepared: 0 skip, 1 plain, 3 framed, 4 ring.
using FaceCode = std::int16_t;

} // namespace qm
