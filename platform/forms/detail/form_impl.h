#pragma once
// Internal to platform/forms: the live side of a loaded form. A FormImpl owns the form's
// top-level window, its controls and the user-control instances; it exists from Load to Unload.
#include "platform/forms/form.h"
#include "platform/forms/form_description.h"
#include "platform/forms/native_control.h"
#include "platform/forms/user_control.h"
#include "platform/raster/dc.h"

#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <memory>
#include <set>
#include <vector>

class QEventLoop;
class QKeyEvent;

namespace qm::forms::detail {

class FormImpl;

// Outlives the FormImpl for the code still on the stack when a handler unloads the form: every
// path that raised an event checks `alive` before touching the form again.
struct FormLife {
    bool alive = true;
    int busy = 0; // events of this form being raised right now
    std::vector<QEventLoop*> modalLoops;
};

class FormWindow : public QWidget {
public:
    explicit FormWindow(FormImpl* form);
    FormImpl* form = nullptr; // nulled when the form unloads

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool pressed_ = false;
};

class ControlImpl {
public:
    ControlImpl(FormImpl& form, const ControlDescription& desc, Control* member);
    virtual ~ControlImpl();
    ControlImpl(const ControlImpl&) = delete;
    ControlImpl& operator=(const ControlImpl&) = delete;

    virtual QWidget* widget() const = 0;
    // Focusable controls take part in the tab order.
    virtual bool focusable() const { return false; }
    virtual bool takesText() const { return false; }
    virtual bool takesEnter() const { return false; }
    virtual std::string accessKeys() const { return {}; }
    // The control's access key was pressed (Alt and the letter, or the letter alone).
    virtual void accessKey(std::int16_t keyAscii) { (void)keyAscii; }
    // The form is unloading: last notifications, the widget still exists.
    virtual void unloading() { }
    virtual void ambientChanged(const char* what) { (void)what; }
    virtual void shown() { }
    virtual void setEnabled(bool enabled);
    virtual bool enabled() const;

    virtual void applyGeometry();
    void raiseClick();
    void raiseDblClick();

    FormImpl& form;
    Control* member; // the form's declared member, or nullptr
    std::string name;
    std::string type;
    std::int16_t tabIndex = 0;
    bool tabStop = true;
    std::string tag;
    double left = 0, top = 0, width = 0, height = 0; // twips
    WindowId id = 0; // 0 for windowless controls
};

class UserControlImpl;

class FormImpl {
public:
    // `form` is null for a form hosted by the designer. Raises RuntimeError when the
    // description cannot be realised (unknown control type, a ReadProperties that fails, ...).
    FormImpl(Form* form, const FormDescription& description, bool userMode);
    ~FormImpl();
    FormImpl(const FormImpl&) = delete;
    FormImpl& operator=(const FormImpl&) = delete;

    // Runs `handler` as an event of this form; false when it failed or the form went away.
    bool fire(const std::function<void()>& handler);
    std::shared_ptr<FormLife> life() const { return life_; }

    void show(int modal);
    void hide();
    bool visible() const;
    void activated(); // the window became the active window
    void requestUnload(std::int16_t mode); // closing through the window system
    void paint(QWidget* on, const QRegion& region);
    void resized();
    void hidden();
    void clicked();

    // Keys reaching any widget of the form; true when consumed.
    bool keyEvent(QWidget* target, QKeyEvent* e);
    void postedKeyDown(int keyCode);
    void focusChanged();
    void moveFocus(bool forward);
    ControlImpl* controlOf(const QWidget* widget) const;
    ControlImpl* control(std::string_view name) const;
    std::vector<ControlImpl*> tabOrder() const; // focusable controls by TabIndex
    bool displaysAsDefault(const ControlImpl* c) const { return c == displayedDefault_; }
    void setBackColor(std::uint32_t c);

    // The form's drawing context (hDC): the persistent image while AutoRedraw is on, else the
    // window's on-screen image. Both are made on first use; what is drawn shows at the next
    // pass over the message queue (only the part that changed is repainted).
    gfx::DC surface();
    // Repaints the part of the window that drawing on the shown image changed since last time.
    void showDrawn();
    // Shows the surface now (Refresh): no restoring, no Paint.
    void refreshSurface();
    void setAutoRedraw(bool on);

    Form* form;
    FormDescription description;
    bool userMode;
    FormWindow* window = nullptr;
    WindowId id = 0;
    std::vector<std::unique_ptr<ControlImpl>> controls;

    std::string caption;
    std::uint32_t backColor = 0x8000000F;
    std::uint32_t foreColor = 0x80000012;
    StdFont font;
    std::int16_t scaleMode = vbTwips;
    std::int16_t borderStyle = vbSizable;
    std::int16_t startUpPosition = vbStartUpWindowsDefault;
    bool controlBox = true, minButton = true, maxButton = true;
    bool keyPreview = false;
    bool autoRedraw = false; // set through setAutoRedraw
    PictureData icon;
    bool modified = false;

private:
    void applyWindowFlags();
    void placeForFirstShow();
    void buildControls();
    void fireKey(bool down, std::int16_t& keyCode, std::int16_t& shift);
    bool accessKeys(ControlImpl* focused, int keyCode, std::int16_t shift, QKeyEvent* e);

    std::shared_ptr<FormLife> life_ = std::make_shared<FormLife>();
    ControlImpl* displayedDefault_ = nullptr;
    bool everShown_ = false;
    std::set<int> consumedKeys_; // key codes whose key-down worked as an access key
    void makeImages();
    void showLater(const QRect& area);
    bool showQueued_ = false; // a pass over the queue will show what was drawn
    // What was drawn while AutoRedraw was on: the lasting background the window is restored from.
    gfx::DC persistent_;
    // What the window shows while AutoRedraw is off.
    gfx::DC onScreen_;
    // Parts of the window the runtime asked to repaint; any other part repainted is an expose.
    QRegion requested_;
    bool painting_ = false;
};

// The FormImpl of a loaded form (nullptr when not loaded).
FormImpl* implOf(const Form& form);
// Destroys a loaded form's FormImpl without raising its events.
void destroyForm(Form& form);
// QueryUnload and Unload (either may cancel), then destruction. Errors of the handlers propagate.
void unloadForm(Form& form, std::int16_t mode);
std::vector<Form*> loadedForms();
void destroyAllForms();
// Shows what was drawn on every loaded form's image since the last time.
void showDrawnSurfaces();
// The registered factory of a user-control type (form_description.cpp); empty when unknown.
UserControlFactory userControlFactory(std::string_view type);

// The runtime's access to the protected parts of forms and controls.
struct FormAccess {
    static std::vector<Control*> members(Form& f) { return f.controls_; }
    static NativeControlRef::Factory nativeFactory(const NativeControlRef& r) { return r.factory_; }
    static std::unique_ptr<UserControl> createUser(const UserControlRefBase& r)
    {
        return r.create();
    }
    static void activate(Form& f) { f.Form_Activate(); }
    static void paint(Form& f) { f.Form_Paint(); }
    static void resize(Form& f) { f.Form_Resize(); }
    static void click(Form& f) { f.Form_Click(); }
    static void keyDown(Form& f, std::int16_t& k, std::int16_t& s) { f.Form_KeyDown(k, s); }
    static void keyPress(Form& f, std::int16_t& k) { f.Form_KeyPress(k); }
    static void keyUp(Form& f, std::int16_t& k, std::int16_t& s) { f.Form_KeyUp(k, s); }
    static void queryUnload(Form& f, std::int16_t& c, std::int16_t m) { f.Form_QueryUnload(c, m); }
    static void unload(Form& f, std::int16_t& c) { f.Form_Unload(c); }
    static void load(Form& f) { f.Form_Load(); }
    static void initialize(Form& f) { f.Form_Initialize(); }
    static std::unique_ptr<FormImpl>& impl(const Form& f) { return f.impl_; }
    static bool& loading(Form& f) { return f.loading_; }
    static const std::string& descriptionName(const Form& f) { return f.name_; }
};

} // namespace qm::forms::detail
