#include "platform/forms/window_services.h"

#include "platform/forms/detail/runtime.h"
#include "platform/forms/property_bag.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace qm::forms {
namespace detail {

WindowRegistry& WindowRegistry::instance()
{
    static WindowRegistry r;
    return r;
}

WindowId WindowRegistry::add(QWidget* widget)
{
    const WindowId id = next_++;
    entries_[id].widget = widget;
    byWidget_[widget] = id;
    QObject::connect(widget, &QObject::destroyed, widget, [this, id] { remove(id); });
    return id;
}

void WindowRegistry::remove(WindowId id)
{
    auto it = entries_.find(id);
    if (it == entries_.end())
        return;
    for (auto& [tid, timer] : it->second.timers) {
        timer->stop();
        timer->deleteLater();
    }
    for (auto b = byWidget_.begin(); b != byWidget_.end();) {
        if (b->second == id)
            b = byWidget_.erase(b);
        else
            ++b;
    }
    entries_.erase(it);
}

WindowEntry* WindowRegistry::find(WindowId id)
{
    auto it = entries_.find(id);
    if (it == entries_.end() || !it->second.widget)
        return nullptr;
    return &it->second;
}

QWidget* WindowRegistry::widget(WindowId id)
{
    WindowEntry* e = find(id);
    return e ? e->widget.data() : nullptr;
}

WindowId WindowRegistry::idOf(const QWidget* widget) const
{
    auto it = byWidget_.find(widget);
    return it == byWidget_.end() ? 0 : it->second;
}

WindowId WindowRegistry::windowAt(const QWidget* widget) const
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (WindowId id = idOf(w))
            return id;
        if (w->isWindow())
            break;
    }
    return 0;
}

void WindowRegistry::raised(QWidget* topLevel)
{
    std::erase_if(stack_, [&](const QPointer<QWidget>& p) { return !p || p == topLevel; });
    stack_.insert(stack_.begin(), topLevel);
}

std::vector<QWidget*> WindowRegistry::stacking() const
{
    std::vector<QWidget*> out;
    for (const auto& p : stack_)
        if (p)
            out.push_back(p);
    return out;
}

} // namespace detail

using detail::WindowRegistry;

std::uintptr_t SetTimer(WindowId hWnd, std::uintptr_t id, std::uint32_t intervalMs, TimerProc proc)
{
    detail::ensureRuntime();
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e)
        return 0;
    QTimer*& timer = e->timers[id];
    if (!timer) {
        timer = new QTimer(e->widget);
        timer->setTimerType(Qt::PreciseTimer);
    }
    QObject::disconnect(timer, &QTimer::timeout, nullptr, nullptr);
    QObject::connect(timer, &QTimer::timeout, timer, [hWnd, id, proc = std::move(proc)] {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        const auto tick = std::uint32_t(clock.elapsed());
        if (proc)
            detail::raise([&] { proc(hWnd, WM_TIMER, id, tick); });
    });
    timer->start(int(std::max<std::uint32_t>(intervalMs, 1)));
    return id;
}

bool KillTimer(WindowId hWnd, std::uintptr_t id)
{
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e)
        return false;
    auto it = e->timers.find(id);
    if (it == e->timers.end())
        return false;
    it->second->stop();
    it->second->deleteLater(); // may be running its own callback now
    e->timers.erase(it);
    return true;
}

bool SetProp(WindowId hWnd, std::string_view name, WindowProp value)
{
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e)
        return false;
    for (auto& [n, v] : e->props) {
        if (keyEquals(n, name)) {
            v = value;
            return true;
        }
    }
    e->props.emplace_back(std::string(name), value);
    return true;
}

WindowProp GetProp(WindowId hWnd, std::string_view name)
{
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e)
        return {};
    for (auto& [n, v] : e->props)
        if (keyEquals(n, name))
            return v;
    return {};
}

WindowProp RemoveProp(WindowId hWnd, std::string_view name)
{
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e)
        return {};
    for (auto it = e->props.begin(); it != e->props.end(); ++it) {
        if (keyEquals(it->first, name)) {
            WindowProp v = it->second;
            e->props.erase(it);
            return v;
        }
    }
    return {};
}

WindowId WindowFromPoint(gfx::Point screen)
{
    auto& reg = WindowRegistry::instance();
    const QPoint g(screen.x, screen.y);
    for (QWidget* top : reg.stacking()) {
        if (!top->isVisible())
            continue;
        const QPoint local = top->mapFromGlobal(g);
        if (!top->rect().contains(local))
            continue;
        if (!top->mask().isEmpty() && !top->mask().contains(local))
            continue;
        // childAt honours the children's masks (window regions).
        QWidget* child = top->childAt(local);
        return reg.windowAt(child ? child : top);
    }
    return 0;
}

gfx::Point ScreenToClient(WindowId hWnd, gfx::Point screen, bool* ok)
{
    QWidget* w = WindowRegistry::instance().widget(hWnd);
    if (ok)
        *ok = w != nullptr;
    if (!w)
        return screen;
    const QPoint p = w->mapFromGlobal(QPoint(screen.x, screen.y));
    return { p.x(), p.y() };
}

gfx::Point ClientToScreen(WindowId hWnd, gfx::Point client, bool* ok)
{
    QWidget* w = WindowRegistry::instance().widget(hWnd);
    if (ok)
        *ok = w != nullptr;
    if (!w)
        return client;
    const QPoint p = w->mapToGlobal(QPoint(client.x, client.y));
    return { p.x(), p.y() };
}

gfx::Rect GetWindowRect(WindowId hWnd)
{
    QWidget* w = WindowRegistry::instance().widget(hWnd);
    if (!w)
        return {};
    QRect r;
    if (w->isWindow())
        r = w->frameGeometry();
    else
        r = QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    return gfx::Rect::fromSize(r.x(), r.y(), r.width(), r.height());
}

gfx::Rect GetClientRect(WindowId hWnd)
{
    QWidget* w = WindowRegistry::instance().widget(hWnd);
    if (!w)
        return {};
    return { 0, 0, w->width(), w->height() };
}

bool MoveWindow(WindowId hWnd, int x, int y, int width, int height, bool repaint)
{
    QWidget* w = WindowRegistry::instance().widget(hWnd);
    if (!w)
        return false;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (w->isWindow()) {
        const QRect frame = w->frameGeometry();
        const QRect client = w->geometry();
        w->move(x, y);
        w->resize(std::max(0, width - (frame.width() - client.width())),
            std::max(0, height - (frame.height() - client.height())));
    } else {
        w->setGeometry(x, y, width, height);
    }
    if (repaint && w->isVisible())
        w->repaint();
    return true;
}

WindowId GetParent(WindowId hWnd)
{
    QWidget* w = WindowRegistry::instance().widget(hWnd);
    if (!w || w->isWindow())
        return 0;
    return WindowRegistry::instance().windowAt(w->parentWidget());
}

bool IsWindow(WindowId hWnd)
{
    return WindowRegistry::instance().widget(hWnd) != nullptr;
}

namespace {
WindowId& captured()
{
    static WindowId id = 0;
    return id;
}
} // namespace

WindowId SetCapture(WindowId hWnd)
{
    const WindowId old = GetCapture();
    QWidget* w = WindowRegistry::instance().widget(hWnd);
    if (!w)
        return old;
    if (QWidget* g = QWidget::mouseGrabber(); g && g != w)
        g->releaseMouse();
    w->grabMouse();
    captured() = hWnd;
    return old;
}

bool ReleaseCapture()
{
    if (QWidget* g = QWidget::mouseGrabber())
        g->releaseMouse();
    captured() = 0;
    return true;
}

WindowId GetCapture()
{
    if (QWidget* g = QWidget::mouseGrabber())
        return WindowRegistry::instance().idOf(g);
    // A capture set while the button is down lives on as the implicit grab of the press.
    return IsWindow(captured()) ? captured() : 0;
}

bool PostMessage(WindowId hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (message != WM_KEYDOWN)
        return false;
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e || !e->postedKeyDown)
        return false;
    QPointer<QWidget> target = e->widget;
    QMetaObject::invokeMethod(
        target.data(),
        [hWnd, wParam, lParam] {
            // The window may have gone, or changed hands, since the message was posted.
            if (detail::WindowEntry* now = WindowRegistry::instance().find(hWnd);
                now && now->postedKeyDown)
                now->postedKeyDown(int(wParam), lParam);
        },
        Qt::QueuedConnection);
    return true;
}

bool SetWindowRgn(WindowId hWnd, gfx::Region region, bool redraw)
{
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e)
        return false;
    QWidget* w = e->widget;
    w->setMask(detail::toQRegion(region));
    // An empty region hides the whole window; QWidget treats an empty mask as "no mask".
    if (region.isEmpty())
        w->setMask(QRegion(-1, -1, 1, 1));
    e->region = std::move(region);
    if (redraw && w->isVisible())
        w->update();
    return true;
}

bool ClearWindowRgn(WindowId hWnd, bool redraw)
{
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e)
        return false;
    e->widget->clearMask();
    e->region.reset();
    if (redraw && e->widget->isVisible())
        e->widget->update();
    return true;
}

gfx::RegionKind GetWindowRgn(WindowId hWnd, gfx::Region& out)
{
    detail::WindowEntry* e = WindowRegistry::instance().find(hWnd);
    if (!e || !e->region)
        return gfx::RegionKind::Error;
    out = *e->region;
    return out.kind();
}

} // namespace qm::forms
