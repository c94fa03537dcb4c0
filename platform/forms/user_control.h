#pragma once
// User controls: a control written against its host alone. The control derives from
// UserControl and overrides the notifications it handles; the forms runtime supplies the
// host (UserControlHost) and raises the notifications at the moments documented below.
// Tests may implement UserControlHost themselves to run a control without a display.
#include "platform/forms/property_bag.h"
#include "platform/forms/window_services.h"
#include "platform/raster/dc.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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

// Drag and drop: data formats, drop effects, the State of OLEDragOver and the drop modes.
enum : std::int16_t {
    vbCFText = 1,
    vbCFBitmap = 2,
    vbCFMetafile = 3,
    vbCFDIB = 8,
    vbCFPalette = 9,
    vbCFEMetafile = 14,
    vbCFFiles = 15,
    vbCFRTF = -16639,
};
enum : std::int32_t {
    vbDropEffectNone = 0,
    vbDropEffectCopy = 1,
    vbDropEffectMove = 2,
    vbDropEffectScroll = INT32_MIN,
};
enum : std::int16_t { vbEnter = 0, vbLeave = 1, vbOver = 2 };
enum : std::int16_t { vbOLEDropNone = 0, vbOLEDropManual = 1 };

namespace detail {
struct DataObjectAccess;
}

// The data of one drag: the formats it offers and their data. The source fills it in
// OLEStartDrag, either with the data or by declaring a format whose data it gives later, in
// OLESetData, when a target asks for it. Targets only read it. Text, RTF and formats of our own
// are byte strings; bitmaps (vbCFBitmap, vbCFDIB) are pictures; file lists are Files.
class DataObject {
public:
    using Value = std::variant<std::string, PictureData>;

    // Removes every format (only while the drag starts).
    void Clear();
    // Whether the data offers `format` (declared formats count).
    bool GetFormat(std::int16_t format) const;
    // The data in `format`; a declared format is asked of the source first. A format the data
    // does not offer, or vbCFFiles (read Files), raises error 461.
    Value GetData(std::int16_t format);
    // Offers `format` with `value` (while the drag starts, or to supply a declared format).
    void SetData(Value value, std::int16_t format);
    // Declares `format`; its data comes from the source's OLESetData when a target asks for it.
    void SetData(std::int16_t format);
    // The files of a vbCFFiles drag; AddFile offers vbCFFiles (only while the drag starts).
    const std::vector<std::string>& Files() const;
    void AddFile(std::string path);

private:
    friend struct detail::DataObjectAccess;
    enum class Access { Build, Supply, Read };
    struct Entry {
        std::int16_t format;
        std::optional<Value> value;
    };
    // A drag that another program started: what it offers, read on demand.
    struct Foreign {
        std::vector<std::int16_t> formats;
        std::function<std::optional<Value>(std::int16_t)> read; // empty once the data is gone
        std::vector<std::string> files;
    };
    Entry* find(std::int16_t format);
    const Entry* find(std::int16_t format) const;
    void requireBuild() const;

    Access access_ = Access::Build;
    std::vector<Entry> entries_;
    std::vector<std::string> files_;
    std::function<void(std::int16_t)> supply_; // raises the source's OLESetData
    std::optional<Foreign> foreign_;
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

    // vbOLEDropManual: drags over the control raise OLEDragOver and a drop OLEDragDrop.
    // Other values than the two modes raise errInvalidPropertyValue.
    virtual std::int16_t OLEDropMode() const = 0;
    virtual void setOLEDropMode(std::int16_t mode) = 0;
    // Starts a drag from the control: OLEStartDrag fills the data, OLEGiveFeedback follows
    // the target's effect, OLESetData supplies declared formats, OLECompleteDrag ends it.
    // Returns when the drag has ended.
    virtual void OLEDrag() = 0;
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

    // Drag and drop. The source (after host().OLEDrag()): OLEStartDrag with AllowedEffects
    // vbDropEffectCopy | vbDropEffectMove (no format or no effect left: no drag), OLEGiveFeedback
    // when the target's effect changes (DefaultCursors False shows the control's own pointer),
    // OLESetData for each declared format asked for, OLECompleteDrag with the effect performed.
    // A target (OLEDropMode manual): OLEDragOver with State vbEnter, vbOver (each move) or
    // vbLeave, then OLEDragDrop; Effect comes in as the effects the source allows and the
    // handler leaves the one it accepts (vbDropEffectNone refuses). Coordinates in pixels.
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
