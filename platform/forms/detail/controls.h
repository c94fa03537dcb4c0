#pragma once
// Internal to platform/forms: the control kinds a form description can place.
#include "platform/forms/detail/form_impl.h"

#include <QImage>
#include <QWidget>
#include <optional>

class QDropEvent;
class QPlainTextEdit;
class QLineEdit;

namespace qm::forms::detail {

// Labels and images draw themselves; they are not windows of their own.
class LabelImpl : public ControlImpl {
public:
    LabelImpl(FormImpl& form, const ControlDescription& desc, Control* member);
    QWidget* widget() const override { return w_; }
    std::string accessKeys() const override;
    void accessKey(std::int16_t keyAscii) override;
    void setPointer(std::int16_t pointer, const PictureData& icon);

    std::string caption;
    std::uint32_t foreColor = 0x80000012;
    std::uint32_t backColor = 0x8000000F;
    std::int16_t backStyle = 1; // 0 transparent
    std::int16_t borderStyle = 0; // 1 flat one-pixel border
    std::int16_t alignment = 0; // 0 left, 1 right, 2 centre
    StdFont font;
    std::int16_t mousePointer = 0;
    PictureData mouseIcon;

    // Back, border and caption drawn through the raster layer on `dc`, whose bitmap is the
    // label's size; nothing but border and caption when the back is transparent.
    void draw(gfx::DC& dc);
    // The label's pixels as shown: premultiplied alpha, clear where a transparent label
    // draws nothing.
    QImage image();

private:
    const gfx::Font& realisedFont();

    QWidget* w_;
    gfx::LogFont realisedFor_;
    gfx::Font realised_;
};

class TextBoxImpl : public ControlImpl {
public:
    TextBoxImpl(FormImpl& form, const ControlDescription& desc, Control* member);
    QWidget* widget() const override { return w_; }
    bool focusable() const override { return true; }
    bool takesText() const override { return true; }
    bool takesEnter() const override { return multiLine; }
    std::string text() const;
    void setText(const std::string& text);
    void setColors();
    void setFont();
    void setLocked(bool locked);

    bool multiLine = false;
    bool locked = false;
    std::uint32_t foreColor = 0x80000008;
    std::uint32_t backColor = 0x80000005;
    StdFont font;

private:
    QWidget* w_;
    QPlainTextEdit* multi_ = nullptr;
    QLineEdit* single_ = nullptr;
};

class ImageImpl : public ControlImpl {
public:
    ImageImpl(FormImpl& form, const ControlDescription& desc, Control* member);
    QWidget* widget() const override { return w_; }
    void setPicture(const PictureData& picture);
    void fitToPicture();

    PictureData picture;
    QImage image;
    std::int16_t borderStyle = 0;
    bool stretch = false;

private:
    QWidget* w_;
};

class HostWidget;

class UserControlImpl : public ControlImpl, public UserControlHost {
public:
    UserControlImpl(FormImpl& form, const ControlDescription& desc, Control* member,
        std::unique_ptr<UserControl> instance);
    ~UserControlImpl() override;
    QWidget* widget() const override;
    bool focusable() const override;
    std::string accessKeys() const override { return accessKeys_; }
    void accessKey(std::int16_t keyAscii) override;
    void unloading() override;
    void ambientChanged(const char* what) override;
    void shown() override;
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    void applyGeometry() override;

    // Creation: InitProperties (new control) or ReadProperties (stored bag), then Resize.
    void create(const PropertyBag* stored);
    PropertyBag save();
    UserControl& instance() const { return *ctl_; }

    // Raised from the widget and the form.
    void paintEvent(QWidget* on);
    void resized(bool raise);
    void mouseEvent(QMouseEvent* e);
    void focusIn();
    void focusOut();
    void keyDown(std::int16_t& keyCode, std::int16_t& shift);
    void keyPress(std::int16_t& keyAscii);
    void keyUp(std::int16_t& keyCode, std::int16_t& shift);
    // Drags over the control (enter and move), leaving it, and the drop.
    void dragOver(QDropEvent* e);
    void dragLeave();
    void drop(QDropEvent* e);

    // UserControlHost
    int ScaleWidth() const override;
    int ScaleHeight() const override;
    gfx::DC hDC() override { return dc_; }
    WindowId hWnd() const override { return id; }
    bool Enabled() const override { return enabled_; }
    std::uint32_t ForeColor() const override { return foreColor_; }
    void setForeColor(std::uint32_t c) override { foreColor_ = c; }
    StdFont& Font() override { return font_; }
    void setFont(const StdFont& f) override { font_ = f; }
    std::int16_t MousePointer() const override { return pointer_; }
    void setMousePointer(std::int16_t pointer) override;
    const PictureData& MouseIcon() const override { return icon_; }
    void setMouseIcon(const PictureData& icon) override;
    std::string AccessKeys() const override { return accessKeys_; }
    void setAccessKeys(std::string keys) override { accessKeys_ = std::move(keys); }
    std::string Tag() const override { return tag_; }
    void setTag(std::string t) override { tag_ = std::move(t); }
    WindowId ContainerHwnd() const override;
    void Refresh() override;
    void PropertyChanged(std::string_view key) override;
    AmbientProperties Ambient() const override;
    ParentInfo Parent() const override;
    double Width() const override;
    double Height() const override;
    void setWidth(double w) override;
    void setHeight(double h) override;
    void Size(double w, double h) override;
    double ScaleX(double value, std::int16_t from, std::int16_t to) const override;
    double ScaleY(double value, std::int16_t from, std::int16_t to) const override;
    std::int16_t OLEDropMode() const override { return dropMode_; }
    void setOLEDropMode(std::int16_t mode) override;
    void OLEDrag() override;

    bool isDefault = false;
    bool isCancel = false;

private:
    void applyCursor();
    void newSurface();
    double toContainerUnits(int pixels) const;
    int fromContainerUnits(double value) const;

    HostWidget* w_;
    std::unique_ptr<UserControl> ctl_;
    gfx::DC dc_;
    bool enabled_ = true;
    std::uint32_t foreColor_ = 0x80000012;
    StdFont font_;
    std::int16_t pointer_ = 0;
    PictureData icon_;
    std::string accessKeys_;
    std::string tag_;
    bool refreshing_ = false;
    bool painting_ = false;
    bool leftPressed_ = false; // a left press began on the control
    bool afterDblClick_ = false; // the release that follows a double click raises no Click
    bool terminated_ = false;
    QSize lastSize_;
    std::int16_t dropMode_ = vbOLEDropNone;
    bool dragging_ = false; // a drag from this control runs
    // The drag over the control: its data and the arguments of its last OLEDragOver.
    struct DragOverState {
        std::shared_ptr<DataObject> data;
        std::int32_t effects = vbDropEffectNone;
        std::int16_t button = 0, shift = 0;
        float x = 0, y = 0;
    };
    std::optional<DragOverState> dragOver_;
};

class NativeImpl : public ControlImpl {
public:
    NativeImpl(FormImpl& form, const ControlDescription& desc, Control* member,
        std::unique_ptr<NativeControl> native);
    QWidget* widget() const override { return w_; }
    bool focusable() const override { return native_->canGetFocus(); }
    void unloading() override { native_->unload(); }
    void ambientChanged(const char* what) override;
    NativeControl& native() const { return *native_; }

private:
    std::unique_ptr<NativeControl> native_;
    QWidget* w_;
};

} // namespace qm::forms::detail
