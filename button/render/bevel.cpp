// The three bevel rings of rectangular and slanted buttons, and the focus indicator.
#include "button/core/kxButtons_H.h"
#include "button/core/numeric.h"
#include "platform/raster/gdi.h"

namespace qm {

namespace {
gfx::Point pt(std::int64_t x, std::int64_t y)
{
    return { toLong(x), toLong(y) };
}
} // namespace

void kxButtons_H::DrawBevelLines(
    PointTable& points, const EdgeColors& colours, std::int32_t outerPenStyle)
{
    const std::int64_t A = (btn.ButtonShape == SlantLeft || btn.ButtonShape == SlantBoth) ? 1 : 0;
    const std::int64_t B = (btn.ButtonShape == SlantRight || btn.ButtonShape == SlantBoth) ? 1 : 0;
    const std::int64_t L = btn.ShapeLeftInset;
    const std::int64_t R = btn.ShapeRightEdge;
    const float W = ScaleWidth();
    const float H = ScaleHeight();
    auto& P = points;

    // Rings from the inside out, each bottom-left, top-left, top-right, bottom-right,
    // bottom-left end.
    P[0] = pt(L + 2 - 4 * A, CLng(H - 3));
    P[1] = pt(2 + 2 * A, 2);
    P[2] = pt(R - 3 + 3 * B, 2);
    P[3] = pt(CLng(W - 3 - 3 * float(B)), CLng(H - 3));
    P[4] = pt(L + 1 - 4 * A, CLng(H - 3));
    P[5] = pt(std::int64_t(P[0].x) + A - 1, std::int64_t(P[0].y) + 1);
    P[6] = pt(std::int64_t(P[1].x) - 1 - A, std::int64_t(P[1].y) - 1);
    P[7] = pt(std::int64_t(P[2].x) + 1 - B, std::int64_t(P[2].y) - 1);
    P[8] = pt(std::int64_t(P[3].x) + 1 + B, std::int64_t(P[3].y) + 1);
    P[9] = pt(std::int64_t(P[4].x) - 1, std::int64_t(P[4].y) + 1);
    P[10] = pt(L - A, CLng(H - 1 + float(A)));
    P[11] = pt(0, 0);
    P[12] = pt(R - 1 + B, 0);
    P[13] = pt(CLng(W - 1), CLng(H - 1 + float(B)));
    P[14] = pt(L - 1 - 2 * A, CLng(H - 1));
    P[15] = pt(CLng(W - 1), CLng(H - 1));

    // A pen is made only when the colour changes; the style alone never makes one.
    bool penMade = false;
    ColorValue penColour = 0;
    for (int j = 0; j <= 13; ++j) {
        if (j == 4 || j == 9)
            continue;
        const int entry = j <= 3 ? j + 1 : j <= 8 ? j : j - 1;
        const ColorValue colour = colours[entry];
        if (colour < 0)
            continue;
        if (!penMade || colour != penColour) {
            const std::int32_t style = (j >= 10 && outerPenStyle >= 0) ? outerPenStyle : 0;
            SelectDrawingTool(kTrue, btn.MemDC, 1, colour, kFalse, 1, style);
            penMade = true;
            penColour = colour;
        }
        gfx::Polyline(btn.MemDC, &P[std::size_t(j)], 2);
    }
    // The closing bottom line, with whatever pen is selected now.
    if (W != float(B))
        gfx::Polyline(btn.MemDC, &P[14], 2);
}

void kxButtons_H::DrawFocusIndicator(
    ColorValue& colour, Boolean solid, Boolean& aroundContent, PointTable& points)
{
    const std::int32_t shape = btn.ButtonShape;
    if ((btn.StateFlags & FlagDefault) == 0 || shape > 6
        || (shape >= 4 && shape <= 6 && btn.ButtonStyle == RoundedGlow))
        return;
    if (shape >= 4 && shape <= 6)
        aroundContent = kTrue;
    const std::int64_t L = btn.ShapeLeftInset;
    const std::int64_t R = btn.ShapeRightEdge;
    const float W = ScaleWidth();
    const float H = ScaleHeight();
    auto& P = points;

    if (shape >= 1 && shape <= 3) {
        const std::int64_t Ls = btn.ShapeLeftInset != 0 ? 1 : 0;
        const std::int64_t Rs = W > float(btn.ShapeRightEdge) ? 1 : 0;
        P[0] = pt(L + 4 - 6 * Ls, CLng(H - 5));
        P[1] = pt(4 + 4 * Ls, 4);
        P[2] = pt(R - 5 + 4 * Rs, 4);
        P[3] = pt(CLng(W - 5 - 6 * float(Rs)), CLng(H - 5));
        P[4] = pt(L + 3 - 4 * Ls, CLng(H - 5));
        SelectDrawingTool(kTrue, btn.MemDC, 1, colour, kFalse, 1, 0);
        gfx::Polyline(btn.MemDC, P.data(), 5);
        return;
    }

    if (colour < 0)
        colour = 0;
    SelectDrawingTool(kTrue, btn.MemDC, 1, colour, kFalse, 1, 0);
    if (aroundContent != kFalse) {
        gfx::Rect base = btn.CaptionRect;
        if (btn.Caption.empty()) {
            base = btn.PictureRect;
            if (H - 4 < float(base.bottom))
                base.bottom = CLng(H - 4);
            if (W - 4 < float(base.right))
                base.right = CLng(W - 4);
        }
        const std::int64_t m
            = (btn.CaptionRect.left > L + 4 && btn.CaptionRect.right < R - 4) ? 2 : 1;
        const std::int64_t f = ((btn.Value != kFalse || pressedLook(btn.StateFlags))
                                   && btn.ButtonStyle != EtchedBevel)
            ? 1
            : 0;
        const std::int64_t g = shape < 4 ? 1 : 0;
        const gfx::Point topLeft = pt(base.left + g * f - m, base.top + f - m);
        const gfx::Point bottomRight
            = pt(base.right + m + 2 * g * f, std::int64_t(base.bottom) + m + 2 * f);
        const gfx::Rect r { topLeft.x, topLeft.y, bottomRight.x, bottomRight.y };
        if (solid == kFalse) {
            gfx::DrawFocusRect(btn.MemDC, r);
        } else {
            P[0] = pt(r.left, r.top);
            P[1] = pt(std::int64_t(r.right) - 1, r.top);
            P[2] = pt(std::int64_t(r.right) - 1, std::int64_t(r.bottom) - 1);
            P[3] = pt(r.left, std::int64_t(r.bottom) - 1);
            P[4] = P[0];
            gfx::Polyline(btn.MemDC, P.data(), 5);
        }
    } else {
        const gfx::Point topLeft = pt(L + 4, 4);
        const gfx::Point bottomRight = pt(R - 4, std::int64_t(CLng(H - 8)) + 4);
        const gfx::Rect r { topLeft.x, topLeft.y, bottomRight.x, bottomRight.y };
        if (solid == kFalse) {
            gfx::DrawFocusRect(btn.MemDC, r);
        } else {
            P[0] = pt(r.left, r.bottom);
            P[1] = pt(r.left, r.top);
            P[2] = pt(r.right, r.top);
            P[3] = pt(r.right, r.bottom);
            P[4] = P[0];
            gfx::Polyline(btn.MemDC, P.data(), 5);
        }
    }
}

} // namespace qm
