#pragma once
// Forms and their controls as the application's windows use them. A form is a C++ class
// derived from Form, named after its description (app/forms/<name>.json), with its controls as
// members named as in the description and its event handlers as overrides:
//
//   class TfrmFine : public Form {
//   public:
//       TfrmFine() : Form("frmFine") { kxButtons_H1.Wire([this](kxButtons_H& b) { ... }); }
//       TextBox Text1 { this, "Text1" };
//       UserControlRef<kxButtons_H> kxButtons_H1 { this, "kxButtons_H1" };
//   protected:
//       void Form_Load() override { Caption = Caption + " v.1.00.0000"; }
//   };
//   inline TfrmFine frmFine;   ...   frmFine.Text1.Text = text; frmFine.Show(vbModal);
//
// A form loads itself on first use of any member (its window, controls and user controls are
// created from the description and Form_Load runs); Unload destroys them (the C++ object stays,
// with the form's own fields); using a member again loads it afresh.
#include "platform/forms/property.h"
#include "platform/forms/property_bag.h"
#include "platform/forms/user_control.h"
#include "platform/forms/window_services.h"
#include "platform/raster/dc.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qm::forms {

class Form;
class NativeControl;
namespace detail {
class FormImpl;
class ControlImpl;
class UserControlImpl;
struct FormAccess;
} // namespace detail

enum : int { vbModeless = 0, vbModal = 1 };
// Why a form is being unloaded (UnloadMode of QueryUnload).
enum : std::int16_t {
    vbFormControlMenu = 0,
    vbFormCode = 1,
    vbAppWindows = 2,
    vbAppTaskManager = 3
};
// Border styles.
enum : std::int16_t {
    vbBSNone = 0,
    vbFixedSingle = 1,
    vbSizable = 2,
    vbFixedDialog = 3,
    vbFixedToolWindow = 4,
    vbSizableToolWindow = 5,
};
// Start positions.
enum : std::int16_t {
    vbStartUpManual = 0,
    vbStartUpOwner = 1,
    vbStartUpScreen = 2,
    vbStartUpWindowsDefault = 3
};

// A control on a form, known by its name in the form's description.
class Control {
private:
    double left_() const;
    void setLeft_(const double& v);
    double top_() const;
    void setTop_(const double& v);
    double width_() const;
    void setWidth_(const double& v);
    double height_() const;
    void setHeight_(const double& v);
    bool visible_() const;
    void setVisible_(const bool& v);
    bool enabled_() const;
    void setEnabled_(const bool& v);
    std::string tag_() const;
    void setTag_(const std::string& v);
    std::int16_t tabIndex_() const;
    void setTabIndex_(const std::int16_t& v);

public:
    Control(Form* form, std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    Form& Parent() const { return *form_; }
    // The control's window, or 0 for windowless controls (labels, images).
    WindowId hWnd() const;
    void SetFocus();
    void Refresh();
    void Move(double left, double top, double width, double height);

    // Position and size in twips (the form's units).
    Prop<double, Control, &Control::left_, &Control::setLeft_> Left { this };
    Prop<double, Control, &Control::top_, &Control::setTop_> Top { this };
    Prop<double, Control, &Control::width_, &Control::setWidth_> Width { this };
    Prop<double, Control, &Control::height_, &Control::setHeight_> Height { this };
    Prop<bool, Control, &Control::visible_, &Control::setVisible_> Visible { this };
    Prop<bool, Control, &Control::enabled_, &Control::setEnabled_> Enabled { this };
    Prop<std::string, Control, &Control::tag_, &Control::setTag_> Tag { this };
    Prop<std::int16_t, Control, &Control::tabIndex_, &Control::setTabIndex_> TabIndex { this };

    // Event handlers set by the form.
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    // The live control; loads the form first when it is not loaded.
    detail::ControlImpl& impl() const;
    // The live control when the form is loaded, else nullptr (never loads).
    detail::ControlImpl* liveImpl() const;

private:
    Form* form_;
    std::string name_;
};

class Label : public Control {
private:
    std::string caption_() const;
    void setCaption_(const std::string& v);
    std::uint32_t foreColor_() const;
    void setForeColor_(const std::uint32_t& v);
    std::uint32_t backColor_() const;
    void setBackColor_(const std::uint32_t& v);
    std::int16_t backStyle_() const;
    void setBackStyle_(const std::int16_t& v);
    std::int16_t borderStyle_() const;
    void setBorderStyle_(const std::int16_t& v);
    StdFont font_() const;
    void setFont_(const StdFont& v);
    std::int16_t mousePointer_() const;
    void setMousePointer_(const std::int16_t& v);
    PictureData mouseIcon_() const;
    void setMouseIcon_(const PictureData& v);

public:
    using Control::Control;
    Prop<std::string, Label, &Label::caption_, &Label::setCaption_> Caption { this };
    Prop<std::uint32_t, Label, &Label::foreColor_, &Label::setForeColor_> ForeColor { this };
    Prop<std::uint32_t, Label, &Label::backColor_, &Label::setBackColor_> BackColor { this };
    Prop<std::int16_t, Label, &Label::backStyle_, &Label::setBackStyle_> BackStyle {
        this
    }; // 0 transparent, 1 opaque
    Prop<std::int16_t, Label, &Label::borderStyle_, &Label::setBorderStyle_> BorderStyle {
        this
    }; // 0 none, 1 fixed single
    Prop<StdFont, Label, &Label::font_, &Label::setFont_> Font { this };
    Prop<std::int16_t, Label, &Label::mousePointer_, &Label::setMousePointer_> MousePointer {
        this
    };
    Prop<PictureData, Label, &Label::mouseIcon_, &Label::setMouseIcon_> MouseIcon { this };
};

class TextBox : public Control {
private:
    std::string text_() const;
    void setText_(const std::string& v);
    std::uint32_t foreColor_() const;
    void setForeColor_(const std::uint32_t& v);
    std::uint32_t backColor_() const;
    void setBackColor_(const std::uint32_t& v);
    StdFont font_() const;
    void setFont_(const StdFont& v);
    bool locked_() const;
    void setLocked_(const bool& v);

public:
    using Control::Control;
    Prop<std::string, TextBox, &TextBox::text_, &TextBox::setText_> Text { this };
    Prop<std::uint32_t, TextBox, &TextBox::foreColor_, &TextBox::setForeColor_> ForeColor { this };
    Prop<std::uint32_t, TextBox, &TextBox::backColor_, &TextBox::setBackColor_> BackColor { this };
    Prop<StdFont, TextBox, &TextBox::font_, &TextBox::setFont_> Font { this };
    Prop<bool, TextBox, &TextBox::locked_, &TextBox::setLocked_> Locked { this };
    bool MultiLine() const; // fixed by the description
    std::function<void()> Change;
};

class Image : public Control {
private:
    PictureData picture_() const;
    void setPicture_(const PictureData& v);
    std::int16_t borderStyle_() const;
    void setBorderStyle_(const std::int16_t& v);
    bool stretch_() const;
    void setStretch_(const bool& v);

public:
    using Control::Control;
    Prop<PictureData, Image, &Image::picture_, &Image::setPicture_> Picture { this };
    Prop<std::int16_t, Image, &Image::borderStyle_, &Image::setBorderStyle_> BorderStyle { this };
    Prop<bool, Image, &Image::stretch_, &Image::setStretch_> Stretch { this };
};

// A user control placed on the form. The instance exists while the form is loaded.
class UserControlRefBase : public Control {
private:
    bool default_() const;
    void setDefault_(const bool& v);
    bool cancel_() const;
    void setCancel_(const bool& v);
    std::int16_t oleDropMode_() const;
    void setOLEDropMode_(const std::int16_t& v);

public:
    using Control::Control;
    // Whether the container treats the control as its default (Enter) or cancel (Esc) button.
    Prop<bool, UserControlRefBase, &UserControlRefBase::default_, &UserControlRefBase::setDefault_>
        Default { this };
    Prop<bool, UserControlRefBase, &UserControlRefBase::cancel_, &UserControlRefBase::setCancel_>
        Cancel { this };
    // Whether drops on the control raise its OLEDragOver and OLEDragDrop (vbOLEDropManual).
    Prop<std::int16_t, UserControlRefBase, &UserControlRefBase::oleDropMode_,
        &UserControlRefBase::setOLEDropMode_>
        OLEDropMode { this };
    // Starts a drag from the control (its OLEStartDrag gives the data); returns when it ends.
    void OLEDrag();
    UserControl& base() const; // loads the form when needed

protected:
    // Makes the instance (the type is fixed by the member's declaration).
    virtual std::unique_ptr<UserControl> create() const = 0;
    // Runs after the instance is made and before its properties are applied.
    virtual void wire(UserControl& instance) const = 0;
    friend class detail::FormImpl;
    friend class detail::UserControlImpl;
    friend struct detail::FormAccess;
};

template <class T> class UserControlRef : public UserControlRefBase {
public:
    using UserControlRefBase::UserControlRefBase;
    T& object() const { return static_cast<T&>(base()); }
    T* operator->() const { return &object(); }
    // `wire(instance)` runs for every new instance, before InitProperties/ReadProperties:
    // the place to connect the control's events to the form's handlers.
    void Wire(std::function<void(T&)> wire) { wire_ = std::move(wire); }

protected:
    std::unique_ptr<UserControl> create() const override { return std::make_unique<T>(); }
    void wire(UserControl& instance) const override
    {
        if (wire_)
            wire_(static_cast<T&>(instance));
    }

private:
    std::function<void(T&)> wire_;
};

// A control implemented by platform code on a toolkit widget (see native_control.h).
class NativeControlRef : public Control {
public:
    using Factory = std::function<std::unique_ptr<NativeControl>()>;
    NativeControlRef(Form* form, std::string name, Factory factory);
    ~NativeControlRef() override;

protected:
    // The live native control (loads the form when needed).
    NativeControl& native() const;
    friend class detail::FormImpl;
    friend struct detail::FormAccess;

private:
    Factory factory_;
};

class Form {
private:
    std::string caption_() const;
    void setCaption_(const std::string& v);
    bool visible_() const;
    void setVisible_(const bool& v);
    std::uint32_t backColor_() const;
    void setBackColor_(const std::uint32_t& v);
    std::uint32_t foreColor_() const;
    void setForeColor_(const std::uint32_t& v);
    StdFont font_() const;
    void setFont_(const StdFont& v);
    double left_() const;
    void setLeft_(const double& v);
    double top_() const;
    void setTop_(const double& v);
    double width_() const;
    void setWidth_(const double& v);
    double height_() const;
    void setHeight_(const double& v);
    std::int16_t scaleMode_() const;
    void setScaleMode_(const std::int16_t& v);
    bool keyPreview_() const;
    void setKeyPreview_(const bool& v);
    bool autoRedraw_() const;
    void setAutoRedraw_(const bool& v);
    PictureData icon_() const;
    void setIcon_(const PictureData& v);

public:
    // `descriptionName`: the form description to load (normally the form's own name).
    explicit Form(std::string descriptionName);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    bool IsLoaded() const { return impl_ != nullptr; }

    Prop<std::string, Form, &Form::caption_, &Form::setCaption_> Caption { this };
    Prop<bool, Form, &Form::visible_, &Form::setVisible_> Visible { this };
    Prop<std::uint32_t, Form, &Form::backColor_, &Form::setBackColor_> BackColor { this };
    Prop<std::uint32_t, Form, &Form::foreColor_, &Form::setForeColor_> ForeColor { this };
    Prop<StdFont, Form, &Form::font_, &Form::setFont_> Font { this };
    // Outer position and size in twips.
    Prop<double, Form, &Form::left_, &Form::setLeft_> Left { this };
    Prop<double, Form, &Form::top_, &Form::setTop_> Top { this };
    Prop<double, Form, &Form::width_, &Form::setWidth_> Width { this };
    Prop<double, Form, &Form::height_, &Form::setHeight_> Height { this };
    Prop<std::int16_t, Form, &Form::scaleMode_, &Form::setScaleMode_> ScaleMode { this };
    Prop<bool, Form, &Form::keyPreview_, &Form::setKeyPreview_> KeyPreview { this };
    Prop<bool, Form, &Form::autoRedraw_, &Form::setAutoRedraw_> AutoRedraw { this };
    Prop<PictureData, Form, &Form::icon_, &Form::setIcon_> Icon { this };
    // Client size in the form's ScaleMode units.
    double ScaleWidth() const;
    double ScaleHeight() const;

    WindowId hWnd() const;
    // The form's surface, drawn under the controls. With AutoRedraw on it is the persistent
    // image; with AutoRedraw off it is what the window shows, and where the window is exposed
    // the persistent image comes back and Form_Paint runs. What is drawn shows at the next pass
    // over the message queue (only the part drawn is repainted), or at Refresh.
    gfx::DC hDC() const;
    void Show(int modal = vbModeless);
    void Hide();
    void Refresh();
    void Move(double left, double top, double width, double height);
    void SetFocus();
    // The control that has the focus, or nullptr.
    Control* ActiveControl() const;

protected:
    // Events. Load runs once per loading, before the window is shown; Activate when the form
    // becomes the active window of the program; Unload may cancel through Cancel.
    virtual void Form_Initialize() { }
    virtual void Form_Load() { }
    virtual void Form_Activate() { }
    virtual void Form_Deactivate() { }
    virtual void Form_Resize() { }
    virtual void Form_Paint() { }
    virtual void Form_Click() { }
    virtual void Form_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift)
    {
        (void)KeyCode, (void)Shift;
    }
    virtual void Form_KeyPress(std::int16_t& KeyAscii) { (void)KeyAscii; }
    virtual void Form_KeyUp(std::int16_t& KeyCode, std::int16_t& Shift)
    {
        (void)KeyCode, (void)Shift;
    }
    virtual void Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode)
    {
        (void)Cancel, (void)UnloadMode;
    }
    virtual void Form_Unload(std::int16_t& Cancel) { (void)Cancel; }

private:
    friend class Control;
    friend class detail::FormImpl;
    friend struct detail::FormAccess;
    friend void Load(Form&);
    friend void Unload(Form&);
    friend void Release(Form&);

    detail::FormImpl& impl() const; // loads on first use
    void ensureLoaded() const;

    std::string name_;
    std::vector<Control*> controls_; // declared members, in declaration order
    mutable std::unique_ptr<detail::FormImpl> impl_;
    bool loading_ = false;
};

// Loads a form without showing it (nothing happens when it is loaded already).
void Load(Form& form);
// Unloads a form: QueryUnload and Unload run (either may cancel), then its window and controls
// are destroyed (user controls get Terminate). Unloading a form that is not loaded does nothing.
void Unload(Form& form);
// Drops the form's instance ("Set frm = Nothing"): unloads it when loaded without raising its
// events, and runs Form_Initialize so its own fields start afresh.
void Release(Form& form);
// Every form that is loaded, in the order they were loaded.
std::vector<Form*> LoadedForms();

} // namespace qm::forms
