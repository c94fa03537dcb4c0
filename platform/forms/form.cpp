#include "platform/forms/form.h"

#include "platform/forms/detail/controls.h"
#include "platform/forms/detail/form_impl.h"
#include "platform/forms/detail/runtime.h"
#include "platform/forms/runtime_error.h"

#include <QWidget>
#include <cmath>

namespace qm::forms {

using detail::FormAccess;
using detail::FormImpl;

namespace {

// Raises the handlers of a code-triggered event; errors reach the caller.
struct Busy {
    explicit Busy(std::shared_ptr<detail::FormLife> l)
        : life(std::move(l))
    {
        ++life->busy;
    }
    ~Busy() { --life->busy; }
    std::shared_ptr<detail::FormLife> life;
};

template <class T> T& kind(detail::ControlImpl& c, const std::string& name)
{
    if (auto* k = dynamic_cast<T*>(&c))
        return *k;
    Raise(errTypeMismatch, "control " + name + " is not of the member's kind");
}

} // namespace

// ---- Form -----------------------------------------------------------------------------

Form::Form(std::string descriptionName)
    : name_(std::move(descriptionName))
{
}

Form::~Form()
{
    if (impl_)
        detail::destroyForm(*this);
}

void Form::ensureLoaded() const
{
    if (!impl_)
        Load(const_cast<Form&>(*this));
}

detail::FormImpl& Form::impl() const
{
    ensureLoaded();
    if (!impl_)
        Raise(errUnableToLoad, "form " + name_ + " is not loaded");
    return *impl_;
}

void Load(Form& form)
{
    if (form.impl_ || form.loading_)
        return;
    detail::ensureRuntime();
    const FormDescription& d = formDescription(form.name_);
    form.loading_ = true;
    try {
        form.impl_ = std::make_unique<FormImpl>(&form, d, true);
    } catch (...) {
        form.loading_ = false;
        throw;
    }
    form.loading_ = false;
    Busy busy(form.impl_->life());
    form.Form_Load();
}

void detail::unloadForm(Form& form, std::int16_t mode)
{
    FormImpl* impl = FormAccess::impl(form).get();
    if (!impl)
        return;
    auto life = impl->life();
    static std::vector<const Form*> unloading;
    if (std::find(unloading.begin(), unloading.end(), &form) != unloading.end())
        return;
    unloading.push_back(&form);
    struct Pop {
        const Form* f;
        ~Pop() { std::erase(unloading, f); }
    } pop { &form };
    std::int16_t cancel = 0;
    {
        Busy busy(life);
        FormAccess::queryUnload(form, cancel, mode);
        if (!life->alive || cancel)
            return;
        FormAccess::unload(form, cancel);
        if (!life->alive || cancel)
            return;
    }
    if (FormAccess::impl(form).get() == impl)
        destroyForm(form);
}

void Unload(Form& form)
{
    detail::unloadForm(form, vbFormCode);
}

void detail::destroyForm(Form& form)
{
    std::unique_ptr<FormImpl> impl = std::move(FormAccess::impl(form));
    impl.reset();
}

detail::FormImpl* detail::implOf(const Form& form)
{
    return FormAccess::impl(form).get();
}

void Release(Form& form)
{
    if (form.impl_)
        detail::destroyForm(form);
    form.Form_Initialize();
}

std::vector<Form*> LoadedForms()
{
    return detail::loadedForms();
}

void Form::Show(int modal)
{
    impl().show(modal);
}
void Form::Hide()
{
    impl().hide();
}
void Form::Refresh()
{
    impl().refreshSurface();
}
WindowId Form::hWnd() const
{
    return impl().id;
}
gfx::DC Form::hDC() const
{
    return impl().surface();
}

void Form::Move(double left, double top, double width, double height)
{
    setLeft_(left);
    setTop_(top);
    setWidth_(width);
    setHeight_(height);
}

void Form::SetFocus()
{
    FormImpl& f = impl();
    f.window->activateWindow();
    f.window->setFocus();
}

Control* Form::ActiveControl() const
{
    FormImpl& f = impl();
    detail::ControlImpl* c = f.controlOf(f.window->focusWidget());
    return c ? c->member : nullptr;
}

double Form::ScaleWidth() const
{
    const int px = impl().window->width();
    return impl().scaleMode == vbPixels ? px : detail::pixelsToTwips(px);
}

double Form::ScaleHeight() const
{
    const int px = impl().window->height();
    return impl().scaleMode == vbPixels ? px : detail::pixelsToTwips(px);
}

std::string Form::caption_() const
{
    return impl().caption;
}
void Form::setCaption_(const std::string& v)
{
    FormImpl& f = impl();
    f.caption = v;
    f.window->setWindowTitle(QString::fromStdString(v));
}
bool Form::visible_() const
{
    return impl().visible();
}
void Form::setVisible_(const bool& v)
{
    if (v)
        Show(vbModeless);
    else
        Hide();
}
std::uint32_t Form::backColor_() const
{
    return impl().backColor;
}
void Form::setBackColor_(const std::uint32_t& v)
{
    impl().setBackColor(v);
}
std::uint32_t Form::foreColor_() const
{
    return impl().foreColor;
}
void Form::setForeColor_(const std::uint32_t& v)
{
    impl().foreColor = v;
}
StdFont Form::font_() const
{
    return impl().font;
}
void Form::setFont_(const StdFont& v)
{
    impl().font = v;
    impl().window->setFont(detail::toQFont(v));
}
double Form::left_() const
{
    return detail::pixelsToTwips(impl().window->frameGeometry().x());
}
void Form::setLeft_(const double& v)
{
    QWidget* w = impl().window;
    w->move(detail::twipsToPixels(v), w->frameGeometry().y());
}
double Form::top_() const
{
    return detail::pixelsToTwips(impl().window->frameGeometry().y());
}
void Form::setTop_(const double& v)
{
    QWidget* w = impl().window;
    w->move(w->frameGeometry().x(), detail::twipsToPixels(v));
}
double Form::width_() const
{
    return detail::pixelsToTwips(impl().window->frameGeometry().width());
}
void Form::setWidth_(const double& v)
{
    QWidget* w = impl().window;
    const int frame = w->frameGeometry().width() - w->width();
    const int px = std::max(0, detail::twipsToPixels(v) - frame);
    if (w->minimumWidth() == w->maximumWidth())
        w->setFixedWidth(px);
    else
        w->resize(px, w->height());
}
double Form::height_() const
{
    return detail::pixelsToTwips(impl().window->frameGeometry().height());
}
void Form::setHeight_(const double& v)
{
    QWidget* w = impl().window;
    const int frame = w->frameGeometry().height() - w->height();
    const int px = std::max(0, detail::twipsToPixels(v) - frame);
    if (w->minimumHeight() == w->maximumHeight())
        w->setFixedHeight(px);
    else
        w->resize(w->width(), px);
}
std::int16_t Form::scaleMode_() const
{
    return impl().scaleMode;
}
void Form::setScaleMode_(const std::int16_t& v)
{
    impl().scaleMode = v;
}
bool Form::keyPreview_() const
{
    return impl().keyPreview;
}
void Form::setKeyPreview_(const bool& v)
{
    impl().keyPreview = v;
}
bool Form::autoRedraw_() const
{
    return impl().autoRedraw;
}
void Form::setAutoRedraw_(const bool& v)
{
    impl().setAutoRedraw(v);
}
PictureData Form::icon_() const
{
    return impl().icon;
}
void Form::setIcon_(const PictureData& v)
{
    impl().icon = v;
}

// ---- Control --------------------------------------------------------------------------

Control::Control(Form* form, std::string name)
    : form_(form)
    , name_(std::move(name))
{
    form->controls_.push_back(this);
}

Control::~Control()
{
    std::erase(form_->controls_, this);
}

detail::ControlImpl& Control::impl() const
{
    detail::FormImpl& f = form_->impl();
    detail::ControlImpl* c = f.control(name_);
    if (!c)
        Raise(errUnableToLoad, "control " + name_ + " does not exist");
    return *c;
}

detail::ControlImpl* Control::liveImpl() const
{
    detail::FormImpl* f = detail::implOf(*form_);
    return f ? f->control(name_) : nullptr;
}

WindowId Control::hWnd() const
{
    return impl().id;
}
void Control::SetFocus()
{
    impl().widget()->setFocus(Qt::OtherFocusReason);
}
void Control::Refresh()
{
    impl().widget()->repaint();
}
void Control::Move(double left, double top, double width, double height)
{
    detail::ControlImpl& c = impl();
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.applyGeometry();
}

double Control::left_() const
{
    return impl().left;
}
void Control::setLeft_(const double& v)
{
    impl().left = v;
    impl().applyGeometry();
}
double Control::top_() const
{
    return impl().top;
}
void Control::setTop_(const double& v)
{
    impl().top = v;
    impl().applyGeometry();
}
double Control::width_() const
{
    return impl().width;
}
void Control::setWidth_(const double& v)
{
    impl().width = v;
    impl().applyGeometry();
}
double Control::height_() const
{
    return impl().height;
}
void Control::setHeight_(const double& v)
{
    impl().height = v;
    impl().applyGeometry();
}
bool Control::visible_() const
{
    return !impl().widget()->isHidden();
}
void Control::setVisible_(const bool& v)
{
    impl().widget()->setVisible(v);
}
bool Control::enabled_() const
{
    return impl().enabled();
}
void Control::setEnabled_(const bool& v)
{
    impl().setEnabled(v);
}
std::string Control::tag_() const
{
    return impl().tag;
}
void Control::setTag_(const std::string& v)
{
    impl().tag = v;
}
std::int16_t Control::tabIndex_() const
{
    return impl().tabIndex;
}
void Control::setTabIndex_(const std::int16_t& v)
{
    impl().tabIndex = v;
}

// ---- Label ----------------------------------------------------------------------------

#define QM_LABEL(getter, setter, field, type)                                                      \
    type Label::getter() const                                                                     \
    {                                                                                              \
        return kind<detail::LabelImpl>(impl(), Name()).field;                                      \
    }                                                                                              \
    void Label::setter(const type& v)                                                              \
    {                                                                                              \
        auto& l = kind<detail::LabelImpl>(impl(), Name());                                         \
        l.field = v;                                                                               \
        l.widget()->update();                                                                      \
    }
QM_LABEL(caption_, setCaption_, caption, std::string)
QM_LABEL(foreColor_, setForeColor_, foreColor, std::uint32_t)
QM_LABEL(backColor_, setBackColor_, backColor, std::uint32_t)
QM_LABEL(backStyle_, setBackStyle_, backStyle, std::int16_t)
QM_LABEL(borderStyle_, setBorderStyle_, borderStyle, std::int16_t)
QM_LABEL(font_, setFont_, font, StdFont)
#undef QM_LABEL

std::int16_t Label::mousePointer_() const
{
    return kind<detail::LabelImpl>(impl(), Name()).mousePointer;
}
void Label::setMousePointer_(const std::int16_t& v)
{
    auto& l = kind<detail::LabelImpl>(impl(), Name());
    l.setPointer(v, l.mouseIcon);
}
PictureData Label::mouseIcon_() const
{
    return kind<detail::LabelImpl>(impl(), Name()).mouseIcon;
}
void Label::setMouseIcon_(const PictureData& v)
{
    if (!v.empty() && !detail::isIconOrCursor(v))
        Raise(errInvalidPropertyValue);
    auto& l = kind<detail::LabelImpl>(impl(), Name());
    l.setPointer(l.mousePointer, v);
}

// ---- TextBox --------------------------------------------------------------------------

std::string TextBox::text_() const
{
    return kind<detail::TextBoxImpl>(impl(), Name()).text();
}
void TextBox::setText_(const std::string& v)
{
    kind<detail::TextBoxImpl>(impl(), Name()).setText(v);
}
std::uint32_t TextBox::foreColor_() const
{
    return kind<detail::TextBoxImpl>(impl(), Name()).foreColor;
}
void TextBox::setForeColor_(const std::uint32_t& v)
{
    auto& t = kind<detail::TextBoxImpl>(impl(), Name());
    t.foreColor = v;
    t.setColors();
}
std::uint32_t TextBox::backColor_() const
{
    return kind<detail::TextBoxImpl>(impl(), Name()).backColor;
}
void TextBox::setBackColor_(const std::uint32_t& v)
{
    auto& t = kind<detail::TextBoxImpl>(impl(), Name());
    t.backColor = v;
    t.setColors();
}
StdFont TextBox::font_() const
{
    return kind<detail::TextBoxImpl>(impl(), Name()).font;
}
void TextBox::setFont_(const StdFont& v)
{
    auto& t = kind<detail::TextBoxImpl>(impl(), Name());
    t.font = v;
    t.setFont();
}
bool TextBox::locked_() const
{
    return kind<detail::TextBoxImpl>(impl(), Name()).locked;
}
void TextBox::setLocked_(const bool& v)
{
    kind<detail::TextBoxImpl>(impl(), Name()).setLocked(v);
}
bool TextBox::MultiLine() const
{
    return kind<detail::TextBoxImpl>(impl(), Name()).multiLine;
}

// ---- Image ----------------------------------------------------------------------------

PictureData Image::picture_() const
{
    return kind<detail::ImageImpl>(impl(), Name()).picture;
}
void Image::setPicture_(const PictureData& v)
{
    kind<detail::ImageImpl>(impl(), Name()).setPicture(v);
}
std::int16_t Image::borderStyle_() const
{
    return kind<detail::ImageImpl>(impl(), Name()).borderStyle;
}
void Image::setBorderStyle_(const std::int16_t& v)
{
    auto& i = kind<detail::ImageImpl>(impl(), Name());
    i.borderStyle = v;
    i.fitToPicture();
    i.widget()->update();
}
bool Image::stretch_() const
{
    return kind<detail::ImageImpl>(impl(), Name()).stretch;
}
void Image::setStretch_(const bool& v)
{
    auto& i = kind<detail::ImageImpl>(impl(), Name());
    i.stretch = v;
    i.fitToPicture();
    i.widget()->update();
}

// ---- User and native controls ---------------------------------------------------------

UserControl& UserControlRefBase::base() const
{
    return kind<detail::UserControlImpl>(impl(), Name()).instance();
}
bool UserControlRefBase::default_() const
{
    return kind<detail::UserControlImpl>(impl(), Name()).isDefault;
}
void UserControlRefBase::setDefault_(const bool& v)
{
    auto& u = kind<detail::UserControlImpl>(impl(), Name());
    // One default button per form.
    if (v)
        for (auto& c : u.form.controls)
            if (auto* o = dynamic_cast<detail::UserControlImpl*>(c.get()))
                o->isDefault = false;
    u.isDefault = v;
    u.form.focusChanged();
}
std::int16_t UserControlRefBase::oleDropMode_() const
{
    return kind<detail::UserControlImpl>(impl(), Name()).OLEDropMode();
}
void UserControlRefBase::setOLEDropMode_(const std::int16_t& v)
{
    kind<detail::UserControlImpl>(impl(), Name()).setOLEDropMode(v);
}
void UserControlRefBase::OLEDrag()
{
    kind<detail::UserControlImpl>(impl(), Name()).OLEDrag();
}
bool UserControlRefBase::cancel_() const
{
    return kind<detail::UserControlImpl>(impl(), Name()).isCancel;
}
void UserControlRefBase::setCancel_(const bool& v)
{
    auto& u = kind<detail::UserControlImpl>(impl(), Name());
    if (v)
        for (auto& c : u.form.controls)
            if (auto* o = dynamic_cast<detail::UserControlImpl*>(c.get()))
                o->isCancel = false;
    u.isCancel = v;
}

NativeControlRef::NativeControlRef(Form* form, std::string name, Factory factory)
    : Control(form, std::move(name))
    , factory_(std::move(factory))
{
}

NativeControlRef::~NativeControlRef() = default;

NativeControl& NativeControlRef::native() const
{
    return kind<detail::NativeImpl>(impl(), Name()).native();
}

} // namespace qm::forms
