#pragma once
// User controls: a control written against its host alone. The control derives from
// UserControl and overrides the notifications it handles; the forms runtime supplies the
// host (UserControlHost) and raises the notifications at the moments documented below.
// Tests may implement UserControlHost themselves to run a control without a display.
#include "platform/forms/property_bag.h"
#include "platform/forms/window_services.h"
#include "platform/raster/dc.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qm::forms {

// Mouse buttons (Button argument) and shift state (Shift argument).
enum : std::int16_t { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum : std::int16_t { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
// Scale modes of a container.
enum : std::int16_t { vbUser = 0, vbTwips = 1, vbPoints = 2, vbPixels = 3, vbHimetric = 8 };
// Mouse pointers: the host's numbers; 99 uses MouseIcon.
enum : std::int16_t {
    vbDefault = 0,
    vbArrow = 1,
    vbCrosshair = 2,
    vbIbeam = 3,
    vbSizePointer = 5,
    vbSizeNESW = 6,
    vbSizeNS = 7,
    vbSizeNWSE = 8,
    vbSizeWE = 9,
    vbUpArrow = 10,
    vbHourglass = 11,
    vbNoDrop = 12,
    vbArrowHourglass = 13,
    vbArrowQuestion = 14,
    vbSizeAll = 15,
    vbCustom = 99,
};

// The drag-and-drop data object of the drag notifications (a format -> bytes store).
class DataObject {
public:
    virtual ~DataObject() = default;
    virtual bool GetFormat(std::int16_t format) const = 0;
};

// What the container tells the control about itself.
struct AmbientProperties {
    std::uint32_t BackColor = 0x8000000F; // colour value
    std::string DisplayName; // the control's name on its container
    bool UserMode = true; // false while the form is being designed
    bool DisplayAsDefault = false; // the container shows this control as its default button
};

// The form that holds the control.
struct ParentInfo {
    std::uint32_t BackColor = 0x8000000F;
    StdFont Font;
    std::int16_t ScaleMode = vbTwips;
    bool IsMDIForm = false;
};

class UserControlHost {
public:
    virtual ~UserControlHost() = default;

    // Client size in pixels (the control's scale is pixels).
    virtual int ScaleWidth() const = 0;
    virtual int ScaleHeight() const = 0;
    // The control window's surface: a drawing context whose selected bitmap the window shows.
    // Its size follows the window (a new bitmap on every resize, before Resize is raised).
    virtual gfx::DC hDC() = 0;
    virtual WindowId hWnd() const = 0;

    virtual bool Enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual std::uint32_t ForeColor() const = 0;
    virtual void setForeColor(std::uint32_t color) = 0;
    // The control's font object; changes made through the reference are the host's font.
    virtual StdFont& Font() = 0;
    virtual void setFont(const StdFont& font) = 0;
    virtual std::int16_t MousePointer() const = 0;
    // Values outside the host's pointer numbers raise errInvalidPropertyValue.
    virtual void setMousePointer(std::int16_t pointer) = 0;
    virtual const PictureData& MouseIcon() const = 0;
    // Accepts an icon or cursor (or an empty picture); anything else raises
    // errInvalidPropertyValue with the host's description, leaving the old icon.
    virtual void setMouseIcon(const PictureData& icon) = 0;
    virtual std::string AccessKeys() const = 0;
    virtual void setAccessKeys(std::string keys) = 0;
    virtual std::string Tag() const = 0;
    virtual void setTag(std::string tag) = 0;

    virtual WindowId ContainerHwnd() const = 0;
    // Shows the surface on screen now; does not raise Paint.
    virtual void Refresh() = 0;
    // A stored property changed (the property-bag key); the container marks itself modified.
    virtual void PropertyChanged(std::string_view key) = 0;

    virtual AmbientProperties Ambient() const = 0;
    virtual ParentInfo Parent() const = 0;

    // The control's size and position in the container's units (twips on a form).
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    virtual void setWidth(double width) = 0;
    virtual void setHeight(double height) = 0;
    virtual void Size(double width, double height) = 0;
    // Converts between scale modes (vbTwips, vbPixels, vbPoints, vbHimetric) using the screen.
    virtual double ScaleX(double value, std::int16_t fromScale, std::int16_t toScale) const = 0;
    virtual double ScaleY(double value, std::int16_t fromScale, std::int16_t toScale) const = 0;
};

// The notifications the host raises. Every argument that the host passes by reference can be
// changed by the handler and the runtime uses the changed value where it has one (key codes).
class UserControl {
public:
    virtual ~UserControl() = default;

    // Whether the control can take the focus, and whether it takes part in its container's
    // default (Enter) and cancel (Esc) handling as a command button does.
    virtual bool CanGetFocus() const { return true; }
    virtual bool DefaultCancel() const { return false; }

    // A control newly placed on a form (design mode) gets InitProperties; one created from a
    // description gets ReadProperties with its stored bag. Errors propagate to the host: a
    // failing ReadProperties leaves the control unloaded and the form load fails.
    virtual void InitProperties() { }
    virtual void ReadProperties(PropertyBag& PropBag) { (void)PropBag; }
    virtual void WriteProperties(PropertyBag& PropBag) { (void)PropBag; }
    // The size changed (and once after the properties are applied, before the first Show).
    virtual void Resize() { }
    // The window was exposed: draw into host().hDC().
    virtual void Paint() { }
    // The control is being destroyed; the host is still usable.
    virtual void Terminate() { }
    // The control is shown on its form for the first time.
    virtual void Show() { }
    virtual void AmbientChanged(std::string_view PropertyName) { (void)PropertyName; }
    // The control's access key, or 13 / 27 as its container's default / cancel button.
    virtual void AccessKeyPress(std::int16_t& KeyAscii) { (void)KeyAscii; }
    virtual void KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) { (void)KeyCode, (void)Shift; }
    virtual void KeyPress(std::int16_t& KeyAscii) { (void)KeyAscii; }
    virtual void KeyUp(std::int16_t& KeyCode, std::int16_t& Shift) { (void)KeyCode, (void)Shift; }
    // Coordinates in the control's pixels.
    virtual void MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)
    {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)
    {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)
    {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    // After a left press and release on the control (after MouseUp).
    virtual void Click() { }
    // The second press of a double click, in place of its MouseDown.
    virtual void DblClick() { }
    virtual void GotFocus() { }
    virtual void LostFocus() { }

    // Drag and drop.
    virtual void OLECompleteDrag(std::int32_t& Effect) { (void)Effect; }
    virtual void OLEDragDrop(DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
        std::int16_t& Shift, float& X, float& Y)
    {
        (void)Data, (void)Effect, (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void OLEDragOver(DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
        std::int16_t& Shift, float& X, float& Y, std::int16_t& State)
    {
        (void)Data, (void)Effect, (void)Button, (void)Shift, (void)X, (void)Y, (void)State;
    }
    virtual void OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors)
    {
        (void)Effect, (void)DefaultCursors;
    }
    virtual void OLESetData(DataObject& Data, std::int16_t& DataFormat)
    {
        (void)Data, (void)DataFormat;
    }
    virtual void OLEStartDrag(DataObject& Data, std::int32_t& AllowedEffects)
    {
        (void)Data, (void)AllowedEffects;
    }

    // The host object ("UserControl" in the control's code). Valid from before
    // InitProperties/ReadProperties until after Terminate.
    UserControlHost& host() const { return *host_; }
    bool hasHost() const { return host_ != nullptr; }
    // Called by the runtime (and by tests with a host of their own).
    void attachHost(UserControlHost* host) { host_ = host; }

private:
    UserControlHost* host_ = nullptr;
};

} // namespace qm::forms
