#pragma once
// Drawing and measuring text with the font selected into a drawing context.
//
// Layout rules:
// - Lines break at every CR LF, CR or LF (unless single-line) and, with word break,
//   before a word that would pass the right edge. A word wider than the rectangle is
//   not split: it overflows and is clipped.
// - Without "no prefix", "&x" shows x underlined and "&&" shows "&" (see parsePrefix).
// - Lines are one font cell high (ascent + descent), from the rectangle's top.
// - Measure-only sets the right edge to left + the widest line and the bottom to top +
//   the text height, and returns that height; an empty text gives an empty rectangle.
// - Drawing clips to the rectangle (unless "no clip") and to the context's clip region,
//   paints in the context's text colour, fills each line's cell with the background
//   colour only in opaque mode (mode 2), and returns the text height.
// - Glyphs are not antialiased unless setTextAntialiasing(true) (font.h).
#include "platform/raster/dc.h"
#include "platform/raster/geometry.h"

#include <string_view>

namespace qm::gfx {

constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4; // single-line only
constexpr unsigned DT_BOTTOM = 0x8; // single-line only
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

// Draws (or with DT_CALCRECT measures) UTF-8 text in `rect`; returns the text height
// in pixels (for DT_VCENTER and DT_BOTTOM, the offset from the top to the text's
// bottom). Flags not listed above are ignored. An empty context draws nothing and
// returns 0.
int drawText(DC& dc, std::string_view text, Rect& rect, unsigned flags);

inline int DrawText(DC& dc, std::string_view text, Rect& rect, unsigned flags)
{
    return drawText(dc, text, rect, flags);
}

// Width and height of one line of text (no prefix processing, no line breaks).
Size textExtent(const DC& dc, std::string_view text);

} // namespace qm::gfx
