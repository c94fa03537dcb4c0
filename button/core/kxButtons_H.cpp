#include "button/core/kxButtons_H.h"

#include "button/core/numeric.h"
#include "platform/forms/window_services.h"

namespace qm {

kxButtons_H::kxButtons_H()
    : screen_([] {
        return ScreenMetrics { forms::Screen::Width(), forms::Screen::Height(),
            forms::Screen::TwipsPerPixelX(), forms::Screen::TwipsPerPixelY() };
    })
{
}

kxButtons_H::~kxButtons_H() = default;

// ---- Properties and methods ----
// Until the property rules are in place every setter stores its value and redraws.

std::int32_t kxButtons_H::ButtonStyle() const
{
    return btn.ButtonStyle;
}
void kxButtons_H::setButtonStyle(std::int32_t Style)
{
    btn.ButtonStyle = Style;
    RedrawButton();
}

std::int32_t kxButtons_H::Mode() const
{
    return btn.Mode;
}
void kxButtons_H::setMode(std::int32_t nMode)
{
    btn.Mode = nMode;
    RedrawButton();
}

std::string kxButtons_H::Caption() const
{
    return btn.Caption;
}
void kxButtons_H::setCaption(const std::string& sCaption)
{
    btn.Caption = sCaption;
    RedrawButton();
}

std::int32_t kxButtons_H::CaptionAlign() const
{
    return btn.CaptionAlign;
}
void kxButtons_H::setCaptionAlign(std::int32_t nAlign)
{
    btn.CaptionAlign = nAlign;
    RedrawButton();
}

std::int32_t kxButtons_H::CaptionStyle() const
{
    return btn.CaptionStyle;
}
void kxButtons_H::setCaptionStyle(std::int32_t nStyle)
{
    btn.CaptionStyle = nStyle;
    RedrawButton();
}

std::int32_t kxButtons_H::CustomClick() const
{
    return btn.CustomClick;
}
void kxButtons_H::setCustomClick(std::int32_t nOpt)
{
    btn.CustomClick = nOpt;
    RedrawButton();
}

std::int32_t kxButtons_H::ButtonShape() const
{
    return btn.ButtonShape;
}
void kxButtons_H::setButtonShape(std::int32_t nShape)
{
    btn.ButtonShape = nShape;
    RedrawButton();
}

gfx::Picture kxButtons_H::Picture() const
{
    return btn.Picture;
}
void kxButtons_H::setPicture(const gfx::Picture& xPic)
{
    btn.Picture = xPic;
    RedrawButton();
}

std::int32_t kxButtons_H::PictureAlign() const
{
    return btn.PictureAlign;
}
void kxButtons_H::setPictureAlign(std::int32_t ImgAlign)
{
    btn.PictureAlign = ImgAlign;
    RedrawButton();
}

Boolean kxButtons_H::Enabled() const
{
    return toBoolean(host().Enabled());
}
void kxButtons_H::setEnabled(Boolean bEnabled)
{
    host().setEnabled(bEnabled != kFalse);
    RedrawButton();
}

Boolean kxButtons_H::ShowFocusRect() const
{
    return btn.ShowFocusRect;
}
void kxButtons_H::setShowFocusRect(Boolean bShow)
{
    btn.ShowFocusRect = bShow;
    RedrawButton();
}

Boolean kxButtons_H::Value() const
{
    return btn.Value;
}
void kxButtons_H::setValue(Boolean bValue)
{
    btn.Value = bValue;
    RedrawButton();
}

std::int32_t kxButtons_H::PictureSize()
{
    if (btn.PictureSizePx == 0)
        btn.PictureSizePx = 16;
    return btn.PictureSizePx / 8 - 2;
}
void kxButtons_H::setPictureSize(std::int32_t nSize)
{
    btn.PictureSizePx = toInteger((std::int64_t(nSize) + 2) * 8);
    RedrawButton();
}

std::int16_t kxButtons_H::MousePointer() const
{
    return host().MousePointer();
}
void kxButtons_H::setMousePointer(std::int16_t nPointer)
{
    host().setMousePointer(nPointer);
    RedrawButton();
}

forms::PictureData kxButtons_H::MouseIcon() const
{
    return host().MouseIcon();
}
void kxButtons_H::setMouseIcon(const forms::PictureData& nIcon)
{
    host().setMouseIcon(nIcon);
    RedrawButton();
}

forms::StdFont kxButtons_H::Font() const
{
    return host().Font();
}
void kxButtons_H::setFont(const forms::StdFont& nFont)
{
    host().setFont(nFont);
    RedrawButton();
}

std::int32_t kxButtons_H::FontStyle() const
{
    const forms::StdFont& f = host().Font();
    return 2 * int(f.Bold()) + 4 * int(f.Italic) + 8 * int(f.Underline);
}
void kxButtons_H::setFontStyle(std::int32_t nStyle)
{
    forms::StdFont& f = host().Font();
    f.setBold((nStyle & FontBold) != 0);
    f.Italic = (nStyle & FontItalic) != 0;
    f.Underline = (nStyle & FontUnderline) != 0;
    RedrawButton();
}

ColorValue kxButtons_H::ForeColor() const
{
    return ColorValue(host().ForeColor());
}
void kxButtons_H::setForeColor(ColorValue nColor)
{
    host().setForeColor(std::uint32_t(nColor));
    RedrawButton();
}

ColorValue kxButtons_H::BackColor() const
{
    return btn.BackColor;
}
void kxButtons_H::setBackColor(ColorValue nColor)
{
    btn.BackColor = nColor;
    RedrawButton();
}

ColorValue kxButtons_H::GradientColor() const
{
    return btn.GradientColor;
}
void kxButtons_H::setGradientColor(ColorValue nColor)
{
    btn.GradientColor = nColor;
    RedrawButton();
}

std::int32_t kxButtons_H::GradientMode() const
{
    return btn.GradientMode;
}
void kxButtons_H::setGradientMode(std::int32_t nOpt)
{
    btn.GradientMode = nOpt;
    RedrawButton();
}

// Nothing is stored: the property acts as a switch that always reads False.
void kxButtons_H::setResetDefaultColors(Boolean nDefault)
{
    (void)nDefault;
}

std::int32_t kxButtons_H::HoverColorLocks() const
{
    return btn.HoverColorLocks;
}
void kxButtons_H::setHoverColorLocks(std::int32_t nLock)
{
    btn.HoverColorLocks = nLock;
    RedrawButton();
}

ColorValue kxButtons_H::HoverForeColor() const
{
    return btn.HoverForeColor;
}
void kxButtons_H::setHoverForeColor(ColorValue nColor)
{
    btn.HoverForeColor = nColor;
    RedrawButton();
}

ColorValue kxButtons_H::HoverBackColor() const
{
    return btn.HoverBackColor;
}
void kxButtons_H::setHoverBackColor(ColorValue nColor)
{
    btn.HoverBackColor = nColor;
    RedrawButton();
}

gfx::DC kxButtons_H::hDC() const
{
    return host().hDC();
}
forms::WindowId kxButtons_H::hwnd() const
{
    return host().hWnd();
}

void kxButtons_H::Refresh()
{
    btn.DrawingDelayed = kFalse;
    RedrawButton();
}

void kxButtons_H::DelayDrawing(Boolean bDelay)
{
    btn.DrawingDelayed = bDelay;
    if (bDelay == kFalse)
        Refresh();
}

// ---- Host notifications ----

void kxButtons_H::Paint()
{
    btn.DrawingDelayed = kFalse;
    RedrawButton();
}

// The drag-and-drop notifications are relayed to the form unchanged.
void kxButtons_H::OLECompleteDrag(std::int32_t& Effect)
{
    RaiseEvent<kxButtonsEvent::OLECompleteDrag>(Effect);
}
void kxButtons_H::OLEDragDrop(forms::DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
    std::int16_t& Shift, float& X, float& Y)
{
    RaiseEvent<kxButtonsEvent::OLEDragDrop>(Data, Effect, Button, Shift, X, Y);
}
void kxButtons_H::OLEDragOver(forms::DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
    std::int16_t& Shift, float& X, float& Y, std::int16_t& State)
{
    RaiseEvent<kxButtonsEvent::OLEDragOver>(Data, Effect, Button, Shift, X, Y, State);
}
void kxButtons_H::OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors)
{
    Boolean defaultCursors = toBoolean(DefaultCursors);
    RaiseEvent<kxButtonsEvent::OLEGiveFeedback>(Effect, defaultCursors);
    DefaultCursors = defaultCursors != kFalse; // the host's variable: safe if we are gone
}
void kxButtons_H::OLESetData(forms::DataObject& Data, std::int16_t& DataFormat)
{
    RaiseEvent<kxButtonsEvent::OLESetData>(Data, DataFormat);
}
void kxButtons_H::OLEStartDrag(forms::DataObject& Data, std::int32_t& AllowedEffects)
{
    RaiseEvent<kxButtonsEvent::OLEStartDrag>(Data, AllowedEffects);
}

// ---- Host facilities ----

float kxButtons_H::ScaleWidth() const
{
    return float(host().ScaleWidth());
}
float kxButtons_H::ScaleHeight() const
{
    return float(host().ScaleHeight());
}
bool kxButtons_H::hostEnabled() const
{
    return host().Enabled();
}

} // namespace qm
