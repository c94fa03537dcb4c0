#pragma once
// kxButtons_H: an owner-drawn push button hosted as a user control. It draws into an
// off-screen surface and presents it in one block copy.
#include "button/core/events.h"
#include "button/core/record.h"
#include "button/core/types.h"
#include "button/render/tables.h"
#include "platform/forms/user_control.h"
#include "platform/raster/picture.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qm {

// Screen metrics the drawing depends on (gradient band size, font height).
struct ScreenMetrics {
    double Width = 0; // twips
    double Height = 0; // twips
    double TwipsPerPixelX = 15;
    double TwipsPerPixelY = 15;
};

class kxButtons_H : public forms::UserControl {
public:
    static constexpr std::string_view ProgId = "Quillmere.kxButtons_H";
    // Standard member identities: Value is the default member.
    static constexpr std::int32_t MemberIdValue = 0;
    static constexpr std::int32_t MemberIdEnabled = -514;
    static constexpr std::int32_t MemberIdCaption = -518;

    kxButtons_H();
    ~kxButtons_H() override;
    kxButtons_H(const kxButtons_H&) = delete;
    kxButtons_H& operator=(const kxButtons_H&) = delete;

    // Handlers of the form that holds the button.
    kxButtons_HEvents& Events() { return events_; }

    // ---- Properties and methods, in the order of the interface ----
    std::int32_t ButtonStyle() const;
    void setButtonStyle(std::int32_t Style);
    std::int32_t Mode() const;
    void setMode(std::int32_t nMode);
    std::string Caption() const;
    void setCaption(const std::string& sCaption);
    std::int32_t CaptionAlign() const;
    void setCaptionAlign(std::int32_t nAlign);
    std::int32_t CaptionStyle() const;
    void setCaptionStyle(std::int32_t nStyle);
    std::int32_t CustomClick() const;
    void setCustomClick(std::int32_t nOpt);
    std::int32_t ButtonShape() const;
    void setButtonShape(std::int32_t nShape);
    gfx::Picture Picture() const;
    void setPicture(const gfx::Picture& xPic);
    std::int32_t PictureAlign() const;
    void setPictureAlign(std::int32_t ImgAlign);
    Boolean Enabled() const;
    void setEnabled(Boolean bEnabled);
    Boolean ShowFocusRect() const;
    void setShowFocusRect(Boolean bShow);
    Boolean Value() const;
    void setValue(Boolean bValue);
    std::int32_t PictureSize(); // stores 16 in place of an unset pixel size
    void setPictureSize(std::int32_t nSize);
    std::int16_t MousePointer() const;
    void setMousePointer(std::int16_t nPointer);
    forms::PictureData MouseIcon() const;
    void setMouseIcon(const forms::PictureData& nIcon);
    forms::StdFont Font() const;
    void setFont(const forms::StdFont& nFont);
    std::int32_t FontStyle() const;
    void setFontStyle(std::int32_t nStyle);
    ColorValue ForeColor() const;
    void setForeColor(ColorValue nColor);
    ColorValue BackColor() const;
    void setBackColor(ColorValue nColor);
    ColorValue GradientColor() const;
    void setGradientColor(ColorValue nColor);
    std::int32_t GradientMode() const;
    void setGradientMode(std::int32_t nOpt);
    Boolean ResetDefaultColors() const { return kFalse; }
    void setResetDefaultColors(Boolean nDefault);
    std::int32_t HoverColorLocks() const;
    void setHoverColorLocks(std::int32_t nLock);
    ColorValue HoverForeColor() const;
    void setHoverForeColor(ColorValue nColor);
    ColorValue HoverBackColor() const;
    void setHoverBackColor(ColorValue nColor);
    gfx::DC hDC() const;
    forms::WindowId hwnd() const;
    void Refresh();
    void DelayDrawing(Boolean bDelay);

    // The default member, reached when a container names no member.
    Boolean DefaultMember() const { return Value(); }
    void setDefaultMember(Boolean v) { setValue(v); }

    // ---- Host notifications ----
    bool DefaultCancel() const override { return true; }
    void Resize() override;
    void Paint() override;
    void Terminate() override;
    void OLECompleteDrag(std::int32_t& Effect) override;
    void OLEDragDrop(forms::DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
        std::int16_t& Shift, float& X, float& Y) override;
    void OLEDragOver(forms::DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
        std::int16_t& Shift, float& X, float& Y, std::int16_t& State) override;
    void OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors) override;
    void OLESetData(forms::DataObject& Data, std::int16_t& DataFormat) override;
    void OLEStartDrag(forms::DataObject& Data, std::int32_t& AllowedEffects) override;

private:
    friend class ButtonInternals; // test access to the record and the private procedures

    // Raises event N to the form. The handler may destroy this button: the result says
    // whether it is still alive, and nothing may touch it when it is not.
    template <kxButtonsEvent N, class... Args> bool RaiseEvent(Args&... args)
    {
        auto handler = events_.*eventSlot<N>(); // a copy: the button may die in the call
        std::weak_ptr<const int> alive = alive_;
        if (handler)
            handler(args...);
        return !alive.expired();
    }

    // ---- Private procedures ----
    void RedrawButton();
    void ManageSurface(Boolean build);
    void SelectDrawingTool(Boolean selectFlag, gfx::DC& dc, std::int32_t kind, ColorValue colour,
        Boolean alsoPen = kFalse, std::int32_t penWidth = 1, std::int32_t penStyle = 0);
    void DrawRectangle(gfx::DC& dc, std::int32_t left, std::int32_t top, std::int32_t right,
        std::int32_t bottom, ColorValue brushColour, ColorValue penColour = -1,
        std::int32_t penWidth = 1, std::int32_t penStyle = 0);
    void FillBackground(ColorValue faceColour, VisualState& visualState, FaceCode& faceCode,
        ColorValue& gradientEnd, ColorValue& hoverColour);
    void PaintGradient(ColorValue startColour, ColorValue endColour);
    void DrawBevelLines(PointTable& points, const EdgeColors& colours, std::int32_t outerPenStyle);
    void DrawFocusIndicator(
        ColorValue& colour, Boolean solid, Boolean& aroundContent, PointTable& points);
    void RefreshCache(std::string_view name);
    void BuildButtonShape();
    void PrepareShapedFace(FaceCode& faceCode);
    void DrawStyleInterim(
        PointTable& points, EdgeColors& colours, VisualState& visualState, FaceCode& faceCode);

    // Host facilities as the drawing code reads them.
    float ScaleWidth() const;
    float ScaleHeight() const;
    bool hostEnabled() const;

    ButtonRecord btn;
    kxButtons_HEvents events_;
    std::function<ScreenMetrics()> screen_;
    std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
};

} // namespace qm
