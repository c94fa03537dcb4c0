// Cached font, picture metrics and derived colours; the drawing objects' lifetime.
#include "button/core/kxButtons_H.h"
#include "button/core/numeric.h"
#include "button/render/colour.h"
#include "platform/forms/window_services.h"
#include "platform/raster/gdi.h"

#include <algorithm>
#include <cctype>

namespace qm {

namespace {
bool sameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x))
            == std::tolower(static_cast<unsigned char>(y));
    });
}

constexpr std::uintptr_t HoverTimerId = 237;
} // namespace

void kxButtons_H::RefreshCache(std::string_view name)
{
    if (sameName(name, "Font")) {
        const forms::StdFont& hostFont = host().Font();
        gfx::LogFont lf;
        lf.height = -CLng(hostFont.Size * 20.0 / screen_().TwipsPerPixelY);
        lf.weight = hostFont.Weight;
        lf.italic = hostFont.Italic;
        lf.underline = hostFont.Underline;
        lf.strikeOut = hostFont.Strikethrough;
        lf.faceName = hostFont.Name.substr(0, 31);
        gfx::Font displaced = gfx::SelectObject(btn.MemDC, gfx::Font::create(lf));
        if (btn.OrigFont)
            gfx::DeleteObject(displaced); // the previous caption font
        else if (btn.MemDC)
            btn.OrigFont = displaced;
    } else if (sameName(name, "Picture")) {
        if (!btn.Picture) {
            gfx::DeleteObject(btn.PictureCopy);
            btn.PictureWidth = 0;
            btn.PictureHeight = 0;
            return;
        }
        gfx::Size size {};
        if (btn.Picture.kind() == gfx::PictureKind::Bitmap) {
            btn.PictureKind = 0;
            size = btn.Picture.bitmap().size();
        } else if (btn.Picture.bitmap()) {
            // an icon with a colour image; a monochrome icon leaves the kind alone
            btn.PictureKind = 1;
            size = btn.Picture.bitmap().size();
        }
        btn.PictureWidth = size.width;
        btn.PictureHeight = size.height;
    } else if (sameName(name, "BackColor")) {
        btn.FaceRGB = btn.FaceShadeRGB = ConvertSystemColor(btn.BackColor);
        btn.HoverFaceRGB = ConvertSystemColor(btn.HoverBackColor);
        switch (btn.ButtonStyle) {
        case RoundedFrame:
            btn.FaceRGB = ShiftColor(btn.FaceRGB, 31);
            btn.FaceShadeRGB = ShiftColor(0x808080, -16);
            btn.HoverFaceRGB = ShiftColor(btn.HoverFaceRGB, 31);
            btn.CheckedFaceRGB = ShiftColor(0x808080, 16, kTrue);
            break;
        case RoundedGlow:
            btn.FaceRGB = ShiftColor(btn.FaceRGB, 48, kTrue);
            btn.HoverFaceRGB = ShiftColor(btn.HoverFaceRGB, 48, kTrue);
            btn.FaceShadeRGB = ShiftColor(btn.FaceRGB, -32, kTrue);
            btn.CheckedFaceRGB = ShiftColor(0xFFFFFF, -32, kTrue);
            break;
        case EtchedBevel:
            btn.FaceShadeRGB = ShiftColor(0x808080, 12);
            btn.CheckedFaceRGB = ShiftColor(btn.FaceShadeRGB, 31);
            break;
        default:
            btn.CheckedFaceRGB = ShiftColor(0xFFFFFF, -32);
            break;
        }
    }
}

void kxButtons_H::Resize()
{
    if (btn.MemDC) {
        gfx::Bitmap surface = gfx::SelectObject(btn.MemDC, btn.OrigBitmap);
        gfx::DeleteObject(surface);
        btn.OrigBitmap = gfx::Bitmap();
    }
    ManageSurface(kTrue);
    if (btn.DrawingDelayed == kFalse) {
        BuildButtonShape();
        RedrawButton();
    }
}

void kxButtons_H::Terminate()
{
    if (btn.OverButton != kFalse)
        forms::KillTimer(host().hWnd(), HoverTimerId);
    btn.RingRegion.reset();
    btn.InnerRegion.reset();
    if (btn.MemDC) {
        SelectDrawingTool(kFalse, btn.MemDC, 0, 0);
        if (btn.OrigFont) {
            gfx::Font captionFont = gfx::SelectObject(btn.MemDC, *btn.OrigFont);
            gfx::DeleteObject(captionFont);
        }
        if (btn.OrigBitmap) {
            gfx::Bitmap surface = gfx::SelectObject(btn.MemDC, btn.OrigBitmap);
            gfx::DeleteObject(surface);
        }
        gfx::DeleteDC(btn.MemDC);
        // The originals belonged to the context and go with it.
        btn.OrigBitmap = gfx::Bitmap();
        btn.OrigPen = gfx::Pen();
        btn.OrigBrush = gfx::Brush();
        btn.OrigFont.reset();
    }
    gfx::DeleteObject(btn.PictureCopy);
}

} // namespace qm
