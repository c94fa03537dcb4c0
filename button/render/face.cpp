// The button face: solid, scan-line shaded or two-colour gradient.
#include "button/core/kxButtons_H.h"
#include "button/core/numeric.h"
#include "button/render/colour.h"
#include "button/render/gradient_colors.h"

#include <exception>
#include <vector>

namespace qm {

void kxButtons_H::FillBackground(ColorValue faceColour, VisualState& visualState,
    FaceCode& faceCode, ColorValue& gradientEnd, ColorValue& hoverColour)
{
    PrepareShapedFace(faceCode);
    if (faceCode == 0)
        return;
    const bool pressed = pressedLook(btn.StateFlags);
    visualState = pressed ? 2 : (btn.StateFlags & FlagDefault) ? 1 : 0;
    if (hoverColour < 0)
        hoverColour = faceColour;
    const bool over = btn.OverButton != kFalse;
    const ColorValue fill
        = over && ((!pressed && btn.Mode == 0) || (btn.Value == kFalse && btn.Mode > 0))
        ? hoverColour
        : faceColour;
    const float W = ScaleWidth();
    const float H = ScaleHeight();

    if (btn.GradientMode != 0 && btn.Value == kFalse && btn.ButtonShape < 7) {
        if (over && !pressed && btn.GradientColor != btn.HoverBackColor) {
            DrawRectangle(btn.MemDC, 0, 0, CLng(W), CLng(H), hoverColour, -1);
        } else {
            if (gradientEnd < 0)
                gradientEnd = faceColour;
            PaintGradient(faceColour, gradientEnd);
        }
    } else if (btn.ButtonStyle == RoundedGlow && (hostEnabled() || btn.Mode > 0)) {
        // Darkens from the top line down by up to 25 units (blue in proportion).
        // A face with no height has no lines to shade.
        const std::int16_t N = H > 0 ? CInt(H) : -1;
        for (std::int32_t i = 0; i <= N; ++i) {
            const float step = 25.0f / H;
            const std::int16_t amount = CInt(-step * float(i));
            const ColorValue line = ShiftColor(fill, amount, kTrue);
            DrawRectangle(btn.MemDC, 0, i, CLng(W), i + 1, line, -1);
        }
    } else {
        DrawRectangle(btn.MemDC, 0, 0, CLng(W), CLng(H), fill, -1);
    }
}

void kxButtons_H::PaintGradient(ColorValue startColour, ColorValue endColour)
{
    // Any failing step is passed over: the face is decoration, never an error.
    const std::int32_t Wi = CLng(ScaleWidth());
    const std::int32_t Hi = CLng(ScaleHeight());
    const bool across = btn.GradientMode <= 2; // modes 1 and 2 shade across the width
    const std::int32_t extent = across ? Wi : Hi;
    std::int32_t s = 1;
    std::int32_t n = extent;
    try {
        const ScreenMetrics screen = screen_();
        const std::int32_t twips = CLng(across ? screen.Width : screen.Height);
        const std::int32_t perPixel = CLng(across ? screen.TwipsPerPixelX : screen.TwipsPerPixelY);
        if (perPixel != 0 && extent != 0) {
            const std::int32_t P = twips / perPixel; // the screen in pixels
            if (P / extent < 4) { // larger than a quarter of the screen: 2-pixel bands
                n = extent / 2;
                s = 2;
            }
        }
    } catch (const std::exception&) {
    }
    if (Wi <= 0 || Hi <= 0)
        return;
    if (n < 2) {
        // Too few bands for a ramp: the whole face in the start colour.
        DrawRectangle(btn.MemDC, 0, 0, Wi, Hi, startColour, -1);
        return;
    }
    std::vector<ColorValue> bands(std::size_t(n), 0);
    ComputeGradientColors(bands, startColour, endColour);
    gfx::Rect band = across ? gfx::Rect { 0, 0, s, Hi } : gfx::Rect { 0, 0, Wi, s };
    const bool fromStart = btn.GradientMode % 2 != 0;
    for (std::int32_t k = 0; k < n; ++k) {
        const std::int32_t index = fromStart ? k : n - 1 - k;
        DrawRectangle(
            btn.MemDC, band.left, band.top, band.right, band.bottom, bands[std::size_t(index)], -1);
        band = across ? band.translated(s, 0) : band.translated(0, s);
    }
}

} // namespace qm
