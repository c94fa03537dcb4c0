#include "platform/forms/detail/form_impl.h"

#include "platform/forms/detail/controls.h"
#include "platform/forms/detail/runtime.h"
#include "platform/forms/runtime_error.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <set>

namespace qm::forms::detail {

namespace {

std::vector<FormImpl*>& liveForms()
{
    static std::vector<FormImpl*> forms;
    return forms;
}

FormImpl*& activeForm()
{
    static FormImpl* f = nullptr;
    return f;
}

std::unique_ptr<ControlImpl> makeControl(
    FormImpl& form, const ControlDescription& d, Control* member)
{
    const std::string& t = d.Type;
    if (auto* ref = dynamic_cast<UserControlRefBase*>(member))
        return std::make_unique<UserControlImpl>(form, d, member, FormAccess::createUser(*ref));
    if (auto* nat = dynamic_cast<NativeControlRef*>(member))
        return std::make_unique<NativeImpl>(form, d, member, FormAccess::nativeFactory(*nat)());
    if (keyEquals(t, "Label")) {
        if (member && !dynamic_cast<Label*>(member))
            Raise(errUnableToLoad, "control " + d.Name + " is a Label, not the member's kind");
        return std::make_unique<LabelImpl>(form, d, member);
    }
    if (keyEquals(t, "TextBox")) {
        if (member && !dynamic_cast<TextBox*>(member))
            Raise(errUnableToLoad, "control " + d.Name + " is a TextBox, not the member's kind");
        return std::make_unique<TextBoxImpl>(form, d, member);
    }
    if (keyEquals(t, "Image")) {
        if (member && !dynamic_cast<Image*>(member))
            Raise(errUnableToLoad, "control " + d.Name + " is an Image, not the member's kind");
        return std::make_unique<ImageImpl>(form, d, member);
    }
    if (auto factory = userControlFactory(t))
        return std::make_unique<UserControlImpl>(form, d, member, factory());
    Raise(errUnableToLoad, "control " + d.Name + " has an unknown type \"" + t + "\"");
}

QRect toQRect(const gfx::Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

bool drawable(const gfx::Bitmap& b)
{
    return !imageOf(b).isNull();
}

// Copies `area` of one colour bitmap into the other, whatever clip their contexts have.
void copyPixels(const gfx::Bitmap& from, gfx::Bitmap to, const QRect& area)
{
    if (!drawable(from) || !drawable(to))
        return;
    const QRect r
        = area & QRect(0, 0, from.width(), from.height()) & QRect(0, 0, to.width(), to.height());
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(to.scanLine(y) + r.left(), from.scanLine(y) + r.left(),
            std::size_t(r.width()) * sizeof(std::uint32_t));
}

// Gives the context a bitmap of `size` filled with `fill`, keeping the old pixels where they
// fit. The context stays the same one, so a handle the program holds keeps working.
void resizeKeeping(gfx::DC& dc, const QSize& size, gfx::ColorRef fill)
{
    const gfx::Bitmap old = dc.bitmap();
    gfx::Bitmap grown = gfx::Bitmap::createColor(size.width(), size.height(), fill);
    copyPixels(old, grown, QRect(QPoint(0, 0), size));
    dc.select(grown);
}

} // namespace

// ---- FormWindow -----------------------------------------------------------------------

FormWindow::FormWindow(FormImpl* f)
    : QWidget(nullptr)
    , form(f)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool FormWindow::event(QEvent* e)
{
    if (form && e->type() == QEvent::WindowActivate)
        form->activated();
    return QWidget::event(e);
}

void FormWindow::paintEvent(QPaintEvent* e)
{
    if (form)
        form->paint(this, e->region());
}

void FormWindow::closeEvent(QCloseEvent* e)
{
    e->ignore(); // the window goes when (and if) the form unloads
    if (form)
        form->requestUnload(vbFormControlMenu);
}

void FormWindow::mousePressEvent(QMouseEvent* e)
{
    pressed_ = true;
    e->accept();
}

void FormWindow::mouseReleaseEvent(QMouseEvent* e)
{
    const bool click = pressed_ && rect().contains(e->position().toPoint());
    pressed_ = false;
    if (click && form)
        form->clicked();
}

void FormWindow::resizeEvent(QResizeEvent*)
{
    if (form)
        form->resized();
}

void FormWindow::hideEvent(QHideEvent*)
{
    if (form)
        form->hidden();
}

// ---- FormImpl -------------------------------------------------------------------------

FormImpl::FormImpl(Form* f, const FormDescription& d, bool um)
    : form(f)
    , description(d)
    , userMode(um)
{
    ensureRuntime();
    const PropertyBag& s = description.Settings;
    caption = s.ReadString("Caption", "");
    backColor = s.ReadColor("BackColor", 0x8000000F);
    foreColor = s.ReadColor("ForeColor", 0x80000012);
    if (auto fnt = s.ReadFont("Font"))
        font = *fnt;
    scaleMode = s.ReadInt16("ScaleMode", vbTwips);
    borderStyle = s.ReadInt16("BorderStyle", vbSizable);
    startUpPosition = s.ReadInt16("StartUpPosition", vbStartUpWindowsDefault);
    controlBox = s.ReadBool("ControlBox", true);
    minButton = s.ReadBool("MinButton", borderStyle == vbSizable || borderStyle == vbFixedSingle);
    maxButton = s.ReadBool("MaxButton", borderStyle == vbSizable || borderStyle == vbFixedSingle);
    keyPreview = s.ReadBool("KeyPreview", false);
    autoRedraw = s.ReadBool("AutoRedraw", false);
    icon = s.ReadPicture("Icon");

    window = new FormWindow(this);
    id = WindowRegistry::instance().add(window);
    WindowRegistry::instance().find(id)->postedKeyDown
        = [this](int keyCode, std::intptr_t) { postedKeyDown(keyCode); };
    window->setWindowTitle(QString::fromStdString(caption));
    window->setFont(toQFont(font));
    if (!icon.empty()) {
        QByteArray data(
            reinterpret_cast<const char*>(icon.Bytes.data()), qsizetype(icon.Bytes.size()));
        if (isIconOrCursor(icon))
            data[2] = 1;
        window->setWindowIcon(QIcon(QPixmap::fromImage(QImage::fromData(data))));
    }
    window->resize(twipsToPixels(s.ReadInt32("ClientWidth", 4800)),
        twipsToPixels(s.ReadInt32("ClientHeight", 3600)));
    applyWindowFlags();
    if (form)
        liveForms().push_back(this);
    try {
        buildControls();
    } catch (...) {
        controls.clear();
        std::erase(liveForms(), this);
        life_->alive = false;
        window->form = nullptr;
        destroyWindowSafely(window);
        throw;
    }
}

FormImpl::~FormImpl()
{
    for (auto& c : controls)
        c->unloading();
    life_->alive = false;
    for (QEventLoop* loop : life_->modalLoops)
        loop->quit();
    std::erase(liveForms(), this);
    const bool wasActive = activeForm() == this;
    if (wasActive)
        activeForm() = nullptr;
    window->form = nullptr;
    window->hide();
    for (auto& c : controls)
        if (c->id)
            WindowRegistry::instance().remove(c->id);
    WindowRegistry::instance().remove(id);
    controls.clear();
    destroyWindowSafely(window);
    // The window under it becomes the active one again.
    if (wasActive)
        for (QWidget* w : WindowRegistry::instance().stacking())
            if (auto* fw = dynamic_cast<FormWindow*>(w); fw && fw->form && fw->isVisible()) {
                fw->activateWindow();
                fw->form->activated();
                break;
            }
}

void FormImpl::applyWindowFlags()
{
    Qt::WindowFlags f = Qt::Window;
    if (borderStyle == vbBSNone) {
        f |= Qt::FramelessWindowHint;
    } else {
        f |= Qt::CustomizeWindowHint;
        // No control box and no caption: no title bar at all.
        if (controlBox || !caption.empty())
            f |= Qt::WindowTitleHint;
        if (controlBox) {
            f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if (minButton)
                f |= Qt::WindowMinimizeButtonHint;
            if (maxButton)
                f |= Qt::WindowMaximizeButtonHint;
        }
    }
    window->setWindowFlags(f);
    const bool fixed = borderStyle == vbFixedSingle || borderStyle == vbFixedDialog
        || borderStyle == vbFixedToolWindow;
    if (fixed)
        window->setFixedSize(window->size());
}

void FormImpl::buildControls()
{
    std::vector<Control*> members = form ? FormAccess::members(*form) : std::vector<Control*> {};
    for (const ControlDescription& d : description.Controls) {
        Control* member = nullptr;
        for (Control* m : members)
            if (keyEquals(m->Name(), d.Name))
                member = m;
        if (control(d.Name))
            Raise(errUnableToLoad, "control " + d.Name + " is described twice");
        controls.push_back(makeControl(*this, d, member));
    }
    for (Control* m : members)
        if (!control(m->Name()))
            Raise(errUnableToLoad, "control " + m->Name() + " is missing from the description");
    // Tab order by TabIndex; the window itself takes the focus only when no control can.
    std::vector<ControlImpl*> order = tabOrder();
    window->setFocusPolicy(order.empty() ? Qt::StrongFocus : Qt::NoFocus);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1]->widget(), order[i]->widget());
    // User controls come to life once every control exists.
    for (auto& c : controls)
        if (auto* u = dynamic_cast<UserControlImpl*>(c.get())) {
            const ControlDescription* d = description.control(u->name);
            u->create(d && d->Properties ? &*d->Properties : nullptr);
        }
}

ControlImpl* FormImpl::control(std::string_view name) const
{
    for (auto& c : controls)
        if (keyEquals(c->name, name))
            return c.get();
    return nullptr;
}

ControlImpl* FormImpl::controlOf(const QWidget* w) const
{
    for (; w && w != window; w = w->parentWidget())
        for (auto& c : controls)
            if (c->widget() == w)
                return c.get();
    return nullptr;
}

std::vector<ControlImpl*> FormImpl::tabOrder() const
{
    std::vector<ControlImpl*> out;
    for (auto& c : controls)
        if (c->focusable())
            out.push_back(c.get());
    std::stable_sort(out.begin(), out.end(),
        [](ControlImpl* a, ControlImpl* b) { return a->tabIndex < b->tabIndex; });
    return out;
}

bool FormImpl::fire(const std::function<void()>& handler)
{
    auto life = life_;
    if (!life->alive)
        return false;
    ++life->busy;
    const bool ok = raise(handler);
    --life->busy;
    return ok && life->alive;
}

void FormImpl::placeForFirstShow()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect sg = screen ? screen->geometry() : QRect(0, 0, 640, 480);
    const PropertyBag& s = description.Settings;
    if (startUpPosition == vbStartUpScreen || startUpPosition == vbStartUpOwner) {
        // The whole window, frame included where the window system has told its size.
        const QSize outer = window->frameGeometry().size();
        window->move(
            sg.x() + (sg.width() - outer.width()) / 2, sg.y() + (sg.height() - outer.height()) / 2);
    } else if (startUpPosition == vbStartUpManual) {
        window->move(twipsToPixels(s.ReadInt32("Left", 0)), twipsToPixels(s.ReadInt32("Top", 0)));
    }
}

void FormImpl::show(int modal)
{
    auto life = life_;
    if (modal == vbModal && window->isVisible() && window->isModal())
        Raise(400, "Form already displayed; can't show modally");
    if (modal == vbModal) {
        window->hide();
        window->setWindowModality(Qt::ApplicationModal);
    }
    const bool first = !window->isVisible();
    if (!everShown_)
        placeForFirstShow();
    window->show();
    if (!everShown_) {
        everShown_ = true;
        placeForFirstShow(); // again, now that the frame is known
    }
    window->raise();
    window->activateWindow();
    WindowRegistry::instance().raised(window);
    if (first) {
        for (auto& c : controls) {
            c->shown();
            if (!life->alive)
                return;
        }
        if (!window->focusWidget()) {
            auto order = tabOrder();
            for (ControlImpl* c : order)
                if (c->widget()->isVisible() && c->enabled()) {
                    c->widget()->setFocus(Qt::ActiveWindowFocusReason);
                    break;
                }
        }
        if (!life->alive) // GotFocus may unload the form
            return;
        focusChanged();
        if (!life->alive)
            return;
    }
    activated();
    if (!life->alive || modal != vbModal)
        return;
    QEventLoop loop;
    life->modalLoops.push_back(&loop);
    // Hidden or unloaded while activating: nothing to wait for.
    if (life->alive && window->isVisible())
        loop.exec();
    if (life->alive) {
        std::erase(life->modalLoops, &loop);
        window->setWindowModality(Qt::NonModal);
    }
}

void FormImpl::hide()
{
    for (QEventLoop* loop : life_->modalLoops)
        loop->quit();
    window->hide();
    if (activeForm() == this)
        activeForm() = nullptr;
}

bool FormImpl::visible() const
{
    return window->isVisible();
}

void FormImpl::activated()
{
    if (activeForm() == this || !window->isVisible())
        return;
    activeForm() = this;
    WindowRegistry::instance().raised(window);
    if (form && userMode)
        fire([this] { FormAccess::activate(*form); });
}

void FormImpl::requestUnload(std::int16_t mode)
{
    if (form && userMode)
        fire([this, mode] { unloadForm(*form, mode); });
}

void FormImpl::paint(QWidget* on, const QRegion& region)
{
    QPainter p(on);
    // Only a repaint of the window itself can be an expose; a grab of it changes nothing.
    const QPaintEngine* engine = p.paintEngine();
    const bool toWindow = engine && on->backingStore()
        && engine->paintDevice() == on->backingStore()->paintDevice();
    QRegion exposed;
    if (toWindow) {
        exposed = region - requested_;
        requested_ = QRegion();
    }
    if (!autoRedraw && !exposed.isEmpty()) {
        // What was drawn straight on the window is lost where it is exposed: the lasting
        // background comes back there, and the program is asked to draw again.
        for (const QRect& r : exposed)
            copyPixels(persistent_.bitmap(), onScreen_.bitmap(), r);
        if (form && userMode) {
            auto life = life_;
            painting_ = true;
            fire([this] { FormAccess::paint(*form); });
            if (!life->alive)
                return;
            painting_ = false;
            // This repaint shows what the handler drew inside it; the rest shows later.
            const QRegion beyond = QRegion(toQRect(onScreen_.takeDrawnBounds())) - region;
            if (!beyond.isEmpty())
                showLater(beyond.boundingRect());
        }
    }
    const gfx::Bitmap& shown = (autoRedraw ? persistent_ : onScreen_).bitmap();
    QRegion rest = region;
    if (const QImage img = imageOf(shown); !img.isNull()) {
        const QRegion covered = region & QRect(0, 0, shown.width(), shown.height());
        for (const QRect& r : covered)
            p.drawImage(r.topLeft(), img, r);
        rest -= covered;
    }
    for (const QRect& r : rest)
        p.fillRect(r, toQColor(backColor));
}

void FormImpl::resized()
{
    if (persistent_) {
        const QRect kept
            = window->rect() & QRect(0, 0, onScreen_.bitmap().width(), onScreen_.bitmap().height());
        const gfx::ColorRef back = toColorRef(backColor);
        resizeKeeping(persistent_, window->size(), back);
        resizeKeeping(onScreen_, window->size(), back);
        // The repaint that follows shows what the window kept; only the new part is exposed.
        showLater(kept);
    }
    if (form && userMode)
        fire([this] { FormAccess::resize(*form); });
}

void FormImpl::hidden()
{
    requested_ = QRegion(); // showing again exposes the whole window
}

void FormImpl::clicked()
{
    if (form && userMode)
        fire([this] { FormAccess::click(*form); });
}

void FormImpl::makeImages()
{
    if (persistent_)
        return;
    const gfx::ColorRef back = toColorRef(backColor);
    for (gfx::DC* dc : { &persistent_, &onScreen_ }) {
        *dc = gfx::DC::createMemory();
        dc->select(gfx::Bitmap::createColor(window->width(), window->height(), back));
    }
}

void FormImpl::showLater(const QRect& area)
{
    if (!window->isVisible())
        return; // showing the window repaints all of it
    requested_ += area;
    window->update(area);
}

gfx::DC FormImpl::surface()
{
    makeImages();
    // Whatever the program draws next shows at the next pass over the message queue.
    if (!showQueued_) {
        showQueued_ = true;
        QTimer::singleShot(0, window, [this, life = life_] {
            if (life->alive)
                showDrawn();
        });
    }
    return autoRedraw ? persistent_ : onScreen_;
}

void FormImpl::showDrawn()
{
    showQueued_ = false;
    if (!persistent_)
        return;
    // Drawing on the image that is not shown changes nothing on screen.
    const gfx::Rect kept = persistent_.takeDrawnBounds();
    const gfx::Rect direct = onScreen_.takeDrawnBounds();
    const gfx::Rect drawn = autoRedraw ? kept : direct;
    if (!drawn.isEmpty())
        showLater(toQRect(drawn));
}

void showDrawnSurfaces()
{
    for (FormImpl* f : liveForms())
        f->showDrawn();
}

void FormImpl::refreshSurface()
{
    if (!window->isVisible())
        return;
    requested_ += window->rect();
    if (painting_)
        window->update(); // shown when the paint in progress ends
    else
        window->repaint();
}

void FormImpl::setAutoRedraw(bool on)
{
    if (on == autoRedraw)
        return;
    autoRedraw = on;
    // Switched off: the persistent image stays as the lasting background and is what the window
    // shows from now on. Switched on: the context is the persistent image again, without what
    // was drawn straight on the window.
    if (!on && persistent_) {
        copyPixels(persistent_.bitmap(), onScreen_.bitmap(), window->rect());
        showLater(window->rect());
    }
}

void FormImpl::setBackColor(std::uint32_t c)
{
    backColor = c;
    // As the classic runtime does, a new back colour clears what was drawn, persistent or not.
    if (persistent_) {
        const gfx::ColorRef back = toColorRef(c);
        gfx::Bitmap(persistent_.bitmap()).fill(back);
        gfx::Bitmap(onScreen_.bitmap()).fill(back);
    }
    window->update();
    for (auto& ctl : controls) {
        ctl->ambientChanged("BackColor");
        if (!life_->alive)
            return;
    }
}

// ---- Focus, keys ----------------------------------------------------------------------

void FormImpl::focusChanged()
{
    // The control shown as the default button: a focused command-button-like control, else
    // the form's Default control.
    ControlImpl* focused = controlOf(window->focusWidget());
    ControlImpl* next = nullptr;
    if (auto* u = dynamic_cast<UserControlImpl*>(focused); u && u->instance().DefaultCancel())
        next = u;
    else
        for (auto& c : controls)
            if (auto* d = dynamic_cast<UserControlImpl*>(c.get()); d && d->isDefault)
                next = d;
    if (next == displayedDefault_)
        return;
    ControlImpl* old = displayedDefault_;
    displayedDefault_ = next;
    auto life = life_;
    if (old)
        old->ambientChanged("DisplayAsDefault");
    if (next && life->alive)
        next->ambientChanged("DisplayAsDefault");
}

void FormImpl::moveFocus(bool forward)
{
    std::vector<ControlImpl*> order;
    for (ControlImpl* c : tabOrder())
        if (c->widget()->isVisible() && c->enabled() && c->tabStop)
            order.push_back(c);
    if (order.empty())
        return;
    ControlImpl* cur = controlOf(window->focusWidget());
    auto it = std::find(order.begin(), order.end(), cur);
    std::size_t i;
    if (it == order.end())
        i = forward ? 0 : order.size() - 1;
    else {
        const std::size_t at = std::size_t(it - order.begin());
        i = forward ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
    }
    auto life = life_;
    order[i]->widget()->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    if (life->alive) // GotFocus may unload the form
        focusChanged();
}

void FormImpl::postedKeyDown(int keyCode)
{
    if (!userMode)
        return;
    // A key-down reaching the container itself: the arrow keys move the focus.
    switch (keyCode) {
    case 39: // right
    case 40: // down
        moveFocus(true);
        break;
    case 37: // left
    case 38: // up
        moveFocus(false);
        break;
    default:
        if (form) {
            std::int16_t code = std::int16_t(keyCode), shift = 0;
            fire([&] { FormAccess::keyDown(*form, code, shift); });
        }
        break;
    }
}

namespace {
std::int16_t asciiOf(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    default:
        break;
    }
    const QString t = e->text();
    if (t.isEmpty())
        return 0;
    const char16_t u = t.at(0).unicode();
    return u < 256 ? std::int16_t(u) : 0;
}
} // namespace

bool FormImpl::accessKeys(ControlImpl* focused, int keyCode, std::int16_t shift, QKeyEvent* e)
{
    auto enabledAndShown = [](ControlImpl* c) { return c->widget()->isVisible() && c->enabled(); };
    // Enter goes to the button shown as default, even from a multi-line text box (which
    // takes Enter itself only when the form has no default button, or with Ctrl).
    if (keyCode == 13 && !(shift & (vbCtrlMask | vbAltMask))) {
        ControlImpl* target = displayedDefault_;
        if (!target || !enabledAndShown(target))
            return false;
        target->accessKey(13);
        return true;
    }
    if (keyCode == 27 && !(shift & (vbCtrlMask | vbAltMask))) {
        for (auto& c : controls)
            if (auto* u = dynamic_cast<UserControlImpl*>(c.get());
                u && u->isCancel && enabledAndShown(u)) {
                u->accessKey(27);
                return true;
            }
        return false;
    }
    const bool letter = (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9');
    if (!letter || (shift & vbCtrlMask))
        return false;
    const bool alt = shift & vbAltMask;
    if (!alt && focused && focused->takesText())
        return false;
    if (!alt && !focused && keyPreview)
        return false;
    for (auto& c : controls) {
        const std::string keys = c->accessKeys();
        for (char k : keys) {
            const char up = (k >= 'a' && k <= 'z') ? char(k - 'a' + 'A') : k;
            if (up == keyCode && enabledAndShown(c.get())) {
                std::int16_t ascii = asciiOf(e);
                if (ascii == 0)
                    ascii = std::int16_t(
                        (shift & vbShiftMask) || keyCode < 'A' ? keyCode : keyCode - 'A' + 'a');
                c->accessKey(ascii);
                return true;
            }
        }
    }
    return alt; // Alt and a letter that is nobody's access key does nothing
}

bool FormImpl::keyEvent(QWidget* target, QKeyEvent* e)
{
    if (!userMode || !form)
        return false;
    auto life = life_;
    const bool down = e->type() == QEvent::KeyPress;
    if (!down && e->isAutoRepeat())
        return true; // auto-repeat repeats key-downs only
    const int vk = keyCodeOf(e->key());
    if (vk == 9 && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false; // Tab moves the focus
    ControlImpl* ctl = controlOf(target);
    auto* user = dynamic_cast<UserControlImpl*>(ctl);
    std::int16_t shift = shiftOf(e->modifiers());
    std::int16_t code = std::int16_t(vk);
    const bool formGets = keyPreview || ctl == nullptr;
    if (down) {
        if (formGets && code) {
            fire([&] { FormAccess::keyDown(*form, code, shift); });
            if (!life->alive)
                return true;
        }
        if (code && accessKeys(ctl, vk, shift, e)) {
            if (life->alive) // the access key may have unloaded the form
                consumedKeys_.insert(vk);
            return true;
        }
        if (!life->alive)
            return true;
        std::int16_t ascii = (shift & vbAltMask) ? 0 : asciiOf(e);
        if (user) {
            if (code) {
                user->keyDown(code, shift);
                if (!life->alive)
                    return true;
            }
            if (ascii && keyPreview)
                fire([&] { FormAccess::keyPress(*form, ascii); });
            if (ascii && life->alive)
                user->keyPress(ascii);
            return true;
        }
        if (!ctl) {
            if (ascii)
                fire([&] { FormAccess::keyPress(*form, ascii); });
            return true;
        }
        if (ascii && keyPreview) {
            fire([&] { FormAccess::keyPress(*form, ascii); });
            if (!life->alive || ascii == 0)
                return true;
        }
        return code == 0
            && vk != 0; // a preview that cleared the key code keeps it from the control
    }
    // The release of a key that worked as an access key goes nowhere.
    if (consumedKeys_.erase(vk))
        return true;
    if (formGets && code) {
        fire([&] { FormAccess::keyUp(*form, code, shift); });
        if (!life->alive)
            return true;
    }
    if (user) {
        if (code)
            user->keyUp(code, shift);
        return true;
    }
    return !ctl;
}

// ---- Helpers for the public side ------------------------------------------------------

std::vector<Form*> loadedForms()
{
    std::vector<Form*> out;
    for (FormImpl* f : liveForms())
        if (f->form)
            out.push_back(f->form);
    return out;
}

void destroyAllForms()
{
    while (!liveForms().empty()) {
        FormImpl* f = liveForms().back();
        if (f->form)
            destroyForm(*f->form);
        else
            std::erase(liveForms(), f);
    }
}

} // namespace qm::forms::detail
