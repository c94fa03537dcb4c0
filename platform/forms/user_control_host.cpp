#include "platform/forms/detail/controls.h"
#include "platform/forms/detail/drag_drop.h"
#include "platform/forms/detail/runtime.h"
#include "platform/forms/runtime_error.h"

#include <QDrag>
#include <QDropEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace qm::forms::detail {

class HostWidget : public QWidget {
public:
    HostWidget(QWidget* parent, UserControlImpl* owner)
        : QWidget(parent)
        , host(owner)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    UserControlImpl* host; // nulled when the control goes

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (host)
            host->paintEvent(this);
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (host)
            host->resized(true);
    }
    void mousePressEvent(QMouseEvent* e) override { mouse(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { mouse(e); }
    void mouseMoveEvent(QMouseEvent* e) override { mouse(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mouse(e); }
    void focusInEvent(QFocusEvent*) override
    {
        if (host)
            host->focusIn();
    }
    void focusOutEvent(QFocusEvent*) override
    {
        if (host)
            host->focusOut();
    }
    void dragEnterEvent(QDragEnterEvent* e) override { dragOver(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { dragOver(e); }
    void dragLeaveEvent(QDragLeaveEvent*) override
    {
        if (host)
            host->dragLeave();
    }
    void dropEvent(QDropEvent* e) override
    {
        if (host)
            host->drop(e);
        else
            e->ignore();
    }

private:
    void dragOver(QDropEvent* e)
    {
        if (host)
            host->dragOver(e);
        else
            e->ignore();
    }
    void mouse(QMouseEvent* e)
    {
        e->accept(); // handled here: never reaches the container as well
        if (host)
            host->mouseEvent(e);
    }
};

UserControlImpl::UserControlImpl(
    FormImpl& f, const ControlDescription& desc, Control* m, std::unique_ptr<UserControl> instance)
    : ControlImpl(f, desc, m)
    , ctl_(std::move(instance))
    , font_(f.font)
{
    const PropertyBag& s = desc.Settings;
    isDefault = s.ReadBool("Default", false);
    isCancel = s.ReadBool("Cancel", false);
    const std::int16_t dropMode = s.ReadInt16("OLEDropMode", vbOLEDropNone);
    // Without a size of its own the control takes its stored extent (hundredths of a millimetre).
    if (desc.Properties && (width == 0 || height == 0)) {
        width = std::nearbyint(desc.Properties->ReadInt32("_extentx", 0) * 1440.0 / 2540.0);
        height = std::nearbyint(desc.Properties->ReadInt32("_extenty", 0) * 1440.0 / 2540.0);
    }
    w_ = new HostWidget(f.window, this);
    w_->setVisible(s.ReadBool("Visible", true));
    id = WindowRegistry::instance().add(w_);
    WindowRegistry::instance().find(id)->postedKeyDown = [this](int keyCode, std::intptr_t) {
        std::int16_t code = std::int16_t(keyCode), shift = 0;
        keyDown(code, shift);
    };
    dc_ = gfx::DC::createMemory();
    ControlImpl::applyGeometry(); // no Resize before the control exists
    lastSize_ = w_->size();
    newSurface();
    setOLEDropMode(dropMode);
    ctl_->attachHost(this);
}

UserControlImpl::~UserControlImpl()
{
    unloading();
    ctl_.reset();
    if (w_)
        w_->host = nullptr;
}

QWidget* UserControlImpl::widget() const
{
    return w_;
}

bool UserControlImpl::focusable() const
{
    return ctl_->CanGetFocus();
}

void UserControlImpl::create(const PropertyBag* stored)
{
    w_->setFocusPolicy(
        ctl_->CanGetFocus() ? (tabStop ? Qt::StrongFocus : Qt::ClickFocus) : Qt::NoFocus);
    if (member)
        if (auto* ref = dynamic_cast<UserControlRefBase*>(member))
            ref->wire(*ctl_);
    // Errors here reach whoever loads the form.
    if (stored) {
        PropertyBag bag = *stored;
        ctl_->ReadProperties(bag);
    } else {
        ctl_->InitProperties();
    }
    resized(false);
    form.fire([this] { ctl_->Resize(); });
}

PropertyBag UserControlImpl::save()
{
    PropertyBag bag;
    bag.WriteProperty("_extentx", std::int32_t(std::nearbyint(width * 2540.0 / 1440.0)));
    bag.WriteProperty("_extenty", std::int32_t(std::nearbyint(height * 2540.0 / 1440.0)));
    ctl_->WriteProperties(bag); // errors reach the host
    return bag;
}

void UserControlImpl::unloading()
{
    if (terminated_ || !ctl_)
        return;
    terminated_ = true;
    form.fire([this] { ctl_->Terminate(); });
}

void UserControlImpl::ambientChanged(const char* what)
{
    form.fire([this, what] { ctl_->AmbientChanged(what); });
}

void UserControlImpl::shown()
{
    form.fire([this] { ctl_->Show(); });
}

void UserControlImpl::applyGeometry()
{
    ControlImpl::applyGeometry();
    // Qt holds back the resize event of a hidden widget until it is shown; the control hears of
    // its new size now. The event that comes on showing finds the size already known.
    resized(true);
}

void UserControlImpl::setEnabled(bool e)
{
    enabled_ = e;
    w_->setEnabled(e);
}

void UserControlImpl::accessKey(std::int16_t keyAscii)
{
    if (!form.userMode || !enabled_)
        return;
    auto life = form.life();
    if (keyAscii != 13 && keyAscii != 27 && ctl_->CanGetFocus() && !w_->hasFocus())
        w_->setFocus(Qt::ShortcutFocusReason);
    if (!life->alive) // GotFocus may unload the form
        return;
    std::int16_t k = keyAscii;
    form.fire([&] { ctl_->AccessKeyPress(k); });
}

void UserControlImpl::newSurface()
{
    const QSize s = w_->size();
    dc_.select(gfx::Bitmap::createColor(s.width(), s.height(), toColorRef(form.backColor)));
}

void UserControlImpl::resized(bool raise)
{
    if (w_->size() == lastSize_ && raise)
        return;
    lastSize_ = w_->size();
    width = pixelsToTwips(w_->width());
    height = pixelsToTwips(w_->height());
    newSurface();
    if (raise)
        form.fire([this] { ctl_->Resize(); });
}

void UserControlImpl::paintEvent(QWidget* on)
{
    auto life = form.life();
    if (!refreshing_ && !painting_) {
        painting_ = true;
        form.fire([this] { ctl_->Paint(); });
        if (!life->alive)
            return;
        painting_ = false;
    }
    const QImage img = imageOf(dc_.bitmap());
    if (img.isNull())
        return;
    QPainter p(on);
    p.drawImage(0, 0, img);
}

void UserControlImpl::Refresh()
{
    if (painting_ || !w_->isVisible())
        return; // the surface is shown when the paint in progress ends
    refreshing_ = true;
    w_->repaint();
    refreshing_ = false;
}

void UserControlImpl::mouseEvent(QMouseEvent* e)
{
    if (!form.userMode || !enabled_)
        return;
    auto life = form.life();
    std::int16_t button = buttonOf(e->button());
    std::int16_t shift = shiftOf(e->modifiers());
    float x = float(e->position().x()), y = float(e->position().y());
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        if (ctl_->CanGetFocus() && !w_->hasFocus())
            w_->setFocus(Qt::MouseFocusReason);
        if (!life->alive)
            return;
        if (button == vbLeftButton) {
            leftPressed_ = true;
            afterDblClick_ = false;
        }
        form.fire([&] { ctl_->MouseDown(button, shift, x, y); });
        break;
    case QEvent::MouseButtonDblClick:
        // The toolkit reports the second press of a double click as this event alone.
        if (button == vbLeftButton) {
            leftPressed_ = false;
            afterDblClick_ = true;
            form.fire([&] { ctl_->DblClick(); });
        } else {
            form.fire([&] { ctl_->MouseDown(button, shift, x, y); });
        }
        break;
    case QEvent::MouseMove: {
        std::int16_t buttons = buttonsOf(e->buttons());
        form.fire([&] { ctl_->MouseMove(buttons, shift, x, y); });
        break;
    }
    case QEvent::MouseButtonRelease: {
        const QPoint at = e->position().toPoint();
        const bool inside
            = w_->rect().contains(at) && (w_->mask().isEmpty() || w_->mask().contains(at));
        const bool click = button == vbLeftButton && leftPressed_ && !afterDblClick_ && inside;
        if (button == vbLeftButton) {
            leftPressed_ = false;
            afterDblClick_ = false;
        }
        if (!form.fire([&] { ctl_->MouseUp(button, shift, x, y); }) || !life->alive)
            return;
        if (click)
            form.fire([&] { ctl_->Click(); });
        break;
    }
    default:
        break;
    }
}

void UserControlImpl::focusIn()
{
    if (form.userMode)
        form.fire([this] { ctl_->GotFocus(); });
}

void UserControlImpl::focusOut()
{
    if (form.userMode)
        form.fire([this] { ctl_->LostFocus(); });
}

void UserControlImpl::keyDown(std::int16_t& keyCode, std::int16_t& shift)
{
    form.fire([&] { ctl_->KeyDown(keyCode, shift); });
}

void UserControlImpl::keyPress(std::int16_t& keyAscii)
{
    form.fire([&] { ctl_->KeyPress(keyAscii); });
}

void UserControlImpl::keyUp(std::int16_t& keyCode, std::int16_t& shift)
{
    form.fire([&] { ctl_->KeyUp(keyCode, shift); });
}

int UserControlImpl::ScaleWidth() const
{
    return w_->width();
}
int UserControlImpl::ScaleHeight() const
{
    return w_->height();
}

void UserControlImpl::setMousePointer(std::int16_t pointer)
{
    const bool known = (pointer >= 0 && pointer <= 15 && pointer != 4) || pointer == vbCustom;
    if (!known)
        Raise(errInvalidPropertyValue);
    pointer_ = pointer;
    applyCursor();
}

void UserControlImpl::setMouseIcon(const PictureData& icon)
{
    if (!icon.empty() && !isIconOrCursor(icon))
        Raise(errInvalidPropertyValue, "Invalid property value");
    icon_ = icon;
    applyCursor();
}

void UserControlImpl::applyCursor()
{
    if (auto c = cursorFor(pointer_, icon_))
        w_->setCursor(*c);
    else
        w_->unsetCursor();
}

WindowId UserControlImpl::ContainerHwnd() const
{
    return form.id;
}

void UserControlImpl::PropertyChanged(std::string_view)
{
    form.modified = true;
}

AmbientProperties UserControlImpl::Ambient() const
{
    AmbientProperties a;
    a.BackColor = form.backColor;
    a.DisplayName = name;
    a.UserMode = form.userMode;
    a.DisplayAsDefault = form.displaysAsDefault(this);
    return a;
}

ParentInfo UserControlImpl::Parent() const
{
    ParentInfo p;
    p.BackColor = form.backColor;
    p.Font = form.font;
    p.ScaleMode = form.scaleMode;
    p.IsMDIForm = false;
    return p;
}

double UserControlImpl::toContainerUnits(int pixels) const
{
    return form.scaleMode == vbPixels ? pixels : pixelsToTwips(pixels);
}

int UserControlImpl::fromContainerUnits(double value) const
{
    return form.scaleMode == vbPixels ? int(std::nearbyint(value)) : twipsToPixels(value);
}

double UserControlImpl::Width() const
{
    return toContainerUnits(w_->width());
}
double UserControlImpl::Height() const
{
    return toContainerUnits(w_->height());
}
void UserControlImpl::setWidth(double v)
{
    Size(v, Height());
}
void UserControlImpl::setHeight(double v)
{
    Size(Width(), v);
}

void UserControlImpl::Size(double w, double h)
{
    if (w < 0 || h < 0)
        Raise(errInvalidPropertyValue);
    // The resize reaches the control at once, as the container applies it.
    w_->resize(fromContainerUnits(w), fromContainerUnits(h));
    resized(true);
}

namespace {
double twipsPer(std::int16_t scale)
{
    switch (scale) {
    case vbPixels:
        return twipsPerPixel();
    case vbPoints:
        return 20.0;
    case vbHimetric:
        return 1440.0 / 2540.0;
    case vbTwips:
    default:
        return 1.0;
    }
}
} // namespace

double UserControlImpl::ScaleX(double value, std::int16_t from, std::int16_t to) const
{
    if (from == vbUser)
        from = form.scaleMode;
    if (to == vbUser)
        to = form.scaleMode;
    return value * twipsPer(from) / twipsPer(to);
}

double UserControlImpl::ScaleY(double value, std::int16_t from, std::int16_t to) const
{
    return ScaleX(value, from, to); // square pixels: one factor for both axes
}

} // namespace qm::forms::detail

namespace qm::forms::detail {

void UserControlImpl::setOLEDropMode(std::int16_t mode)
{
    if (mode != vbOLEDropNone && mode != vbOLEDropManual)
        Raise(errInvalidPropertyValue);
    dropMode_ = mode;
    w_->setAcceptDrops(mode == vbOLEDropManual);
}

void UserControlImpl::dragOver(QDropEvent* e)
{
    if (!form.userMode || !enabled_ || dropMode_ != vbOLEDropManual) {
        e->ignore();
        return;
    }
    const bool entering = e->type() == QEvent::DragEnter || !dragOver_;
    const std::int16_t state = entering ? vbEnter : vbOver;
    if (entering)
        dragOver_ = DragOverState { dataObjectFor(e->mimeData()) };
    DragOverState& d = *dragOver_;
    const std::shared_ptr<DataObject> data = d.data;
    DataObjectAccess::rebindForeign(*data, e->mimeData());
    d.effects = effectsOf(e->possibleActions());
    d.button = buttonsOf(e->buttons());
    d.shift = shiftOf(e->modifiers());
    d.x = float(e->position().x());
    d.y = float(e->position().y());
    std::int32_t effect = d.effects;
    std::int16_t button = d.button, shift = d.shift, st = state;
    float x = d.x, y = d.y;
    auto life = form.life();
    const bool ok = form.fire([&] { ctl_->OLEDragOver(*data, effect, button, shift, x, y, st); });
    DataObjectAccess::unbindForeign(*data);
    const Qt::DropAction action = ok ? actionOf(effect, e->possibleActions()) : Qt::IgnoreAction;
    e->setDropAction(action);
    // The toolkit sends the moves and the leave of a drag only to a widget that took its
    // entry; a control that refuses it now may still accept as the drag moves on.
    e->setAccepted(action != Qt::IgnoreAction || state == vbEnter);
}

void UserControlImpl::dragLeave()
{
    if (!dragOver_)
        return;
    DragOverState d = std::move(*dragOver_);
    dragOver_.reset();
    std::int32_t effect = d.effects;
    std::int16_t state = vbLeave;
    form.fire([&] { ctl_->OLEDragOver(*d.data, effect, d.button, d.shift, d.x, d.y, state); });
}

void UserControlImpl::drop(QDropEvent* e)
{
    std::shared_ptr<DataObject> data = dragOver_ ? dragOver_->data : dataObjectFor(e->mimeData());
    dragOver_.reset();
    if (!form.userMode || !enabled_ || dropMode_ != vbOLEDropManual) {
        e->ignore();
        return;
    }
    DataObjectAccess::rebindForeign(*data, e->mimeData());
    std::int32_t effect = effectsOf(e->possibleActions());
    std::int16_t button = buttonsOf(e->buttons()), shift = shiftOf(e->modifiers());
    float x = float(e->position().x()), y = float(e->position().y());
    const bool ok = form.fire([&] { ctl_->OLEDragDrop(*data, effect, button, shift, x, y); });
    DataObjectAccess::unbindForeign(*data);
    const Qt::DropAction action = ok ? actionOf(effect, e->possibleActions()) : Qt::IgnoreAction;
    e->setDropAction(action);
    e->setAccepted(action != Qt::IgnoreAction);
}

void UserControlImpl::OLEDrag()
{
    if (dragging_)
        Raise(errRecursiveDrag);
    if (!form.userMode)
        return;
    auto life = form.life();
    dragging_ = true;
    struct Done {
        UserControlImpl* self;
        std::shared_ptr<FormLife> life;
        ~Done()
        {
            if (life->alive)
                self->dragging_ = false;
        }
    } done { this, life };

    auto data = std::make_shared<DataObject>();
    std::int32_t allowed = vbDropEffectCopy | vbDropEffectMove;
    const bool started = form.fire([&] { ctl_->OLEStartDrag(*data, allowed); });
    if (!life->alive)
        return;
    std::int32_t effect = vbDropEffectNone;
    const Qt::DropActions actions = actionsOf(allowed);
    if (started && actions && !DataObjectAccess::formats(*data).empty()) {
        DataObject* raw = data.get();
        DataObjectAccess::seal(*data, [this, life, raw](std::int16_t format) {
            if (!life->alive)
                return;
            std::int16_t f = format;
            form.fire([&] { ctl_->OLESetData(*raw, f); });
        });
        // Owned here, not by the window: the form may go while the drag runs.
        QObject source;
        auto* drag = new QDrag(&source);
        drag->setMimeData(new DragMime(data));
        QObject::connect(
            drag, &QDrag::actionChanged, &source, [this, life, drag](Qt::DropAction action) {
                if (!life->alive)
                    return;
                std::int32_t shown = effectsOf(action);
                bool defaultCursors = true;
                form.fire([&] { ctl_->OLEGiveFeedback(shown, defaultCursors); });
                if (!defaultCursors && life->alive)
                    if (auto c = cursorFor(pointer_, icon_); c && !c->pixmap().isNull())
                        drag->setDragCursor(c->pixmap(), action);
            });
        const Qt::DropAction result = drag->exec(actions);
        if (!life->alive)
            return;
        effect = effectsOf(result);
    }
    // The press that started the drag ended inside it: no Click follows.
    leftPressed_ = false;
    form.fire([&] { ctl_->OLECompleteDrag(effect); });
}

} // namespace qm::forms::detail
