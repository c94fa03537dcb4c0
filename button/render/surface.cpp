// The off-screen drawing surface and the tool and rectangle primitives.
#include "button/core/kxButtons_H.h"
#include "button/core/numeric.h"
#include "button/render/colour.h"
#include "platform/raster/gdi.h"

namespace qm {

namespace {
// Text and dotted lines are drawn without filling their background.
constexpr int SurfaceBkMode = 3;

gfx::ColorRef toColorRef(ColorValue c)
{
    return gfx::ColorRef(std::uint32_t(c));
}
} // namespace

void kxButtons_H::ManageSurface(Boolean build)
{
    const float W = ScaleWidth();
    const float H = ScaleHeight();
    if (build != kFalse) {
        if (!btn.MemDC) {
            btn.MemDC = gfx::CreateCompatibleDC(host().hDC());
            gfx::SetBkMode(btn.MemDC, SurfaceBkMode);
            btn.OrigBrush = gfx::SelectObject(btn.MemDC, gfx::CreateSolidBrush(0));
            btn.OrigPen = gfx::SelectObject(btn.MemDC, gfx::CreatePen(gfx::PS_SOLID, 1, 0));
        }
        RefreshCache("Font");
        if (!btn.OrigBitmap) {
            gfx::Bitmap surface = gfx::CreateCompatibleBitmap(host().hDC(), CLng(W), CLng(H));
            btn.OrigBitmap = gfx::SelectObject(btn.MemDC, surface);
        }
    } else {
        gfx::DC dc = host().hDC();
        gfx::BitBlt(dc, 0, 0, CLng(W), CLng(H), btn.MemDC, 0, 0, gfx::SRCCOPY);
    }
}

void kxButtons_H::SelectDrawingTool(Boolean selectFlag, gfx::DC& dc, std::int32_t kind,
    ColorValue colour, Boolean alsoPen, std::int32_t penWidth, std::int32_t penStyle)
{
    if (selectFlag == kFalse) {
        gfx::Brush brush = gfx::SelectObject(btn.MemDC, btn.OrigBrush);
        gfx::DeleteObject(brush);
        gfx::Pen pen = gfx::SelectObject(btn.MemDC, btn.OrigPen);
        gfx::DeleteObject(pen);
        return;
    }
    switch (kind) {
    case 0: {
        gfx::Brush displaced
            = gfx::SelectObject(btn.MemDC, gfx::CreateSolidBrush(toColorRef(colour)));
        gfx::DeleteObject(displaced);
        if (alsoPen != kFalse)
            SelectDrawingTool(kTrue, dc, 1, colour, kFalse, penWidth, penStyle);
        break;
    }
    case 1: {
        gfx::Pen displaced
            = gfx::SelectObject(btn.MemDC, gfx::CreatePen(penStyle, penWidth, toColorRef(colour)));
        gfx::DeleteObject(displaced);
        break;
    }
    case 2:
        gfx::SetTextColor(dc, toColorRef(ConvertSystemColor(colour)));
        break;
    default:
        break;
    }
}

void kxButtons_H::DrawRectangle(gfx::DC& dc, std::int32_t left, std::int32_t top,
    std::int32_t right, std::int32_t bottom, ColorValue brushColour, ColorValue penColour,
    std::int32_t penWidth, std::int32_t penStyle)
{
    if (penColour != -1)
        SelectDrawingTool(kTrue, dc, 1, penColour, kFalse, penWidth, penStyle);
    SelectDrawingTool(kTrue, dc, 0, brushColour, toBoolean(penColour == -1), 1, 0);
    gfx::Rectangle(dc, left, top, right, bottom);
}

} // namespace qm
