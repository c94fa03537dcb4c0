#include "platform/forms/detail/form_impl.h"
#include "platform/forms/detail/runtime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <map>

namespace qm::forms::detail {

namespace {

// The top-level widget an event receiver belongs to (timers count for their window).
QWidget* windowOf(QObject* o)
{
    for (; o; o = o->parent())
        if (o->isWidgetType())
            return static_cast<QWidget*>(o)->window();
    return nullptr;
}

class FormsApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* e) override
    {
        QWidget* top = windowOf(receiver);
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (auto* fw = dynamic_cast<FormWindow*>(top);
                fw && fw->form && receiver->isWidgetType()) {
                const QPointer<QWidget> keep(top);
                ++depth_[top];
                const bool consumed = fw->form
                    && fw->form->keyEvent(
                        static_cast<QWidget*>(receiver), static_cast<QKeyEvent*>(e));
                leave(keep, top);
                if (consumed)
                    return true;
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::MouseButtonDblClick:
            noteCursor(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
            break;
        default:
            break;
        }
        if (!top)
            return QApplication::notify(receiver, e);
        const QPointer<QWidget> keep(top);
        ++depth_[top];
        bool r;
        try {
            r = QApplication::notify(receiver, e);
        } catch (...) {
            leave(keep, top);
            throw;
        }
        leave(keep, top);
        return r;
    }

    void destroyWhenIdle(QWidget* w)
    {
        auto it = depth_.find(w);
        if (it == depth_.end() || it->second == 0) {
            depth_.erase(w);
            delete w;
            return;
        }
        pending_.push_back(w);
    }

private:
    void leave(const QPointer<QWidget>& keep, QWidget* top)
    {
        auto it = depth_.find(top);
        if (it != depth_.end() && --it->second == 0)
            depth_.erase(it);
        (void)keep;
        if (pending_.empty())
            return;
        // Windows whose events have all been delivered can go now.
        for (auto p = pending_.begin(); p != pending_.end();) {
            if (!depth_.count(*p)) {
                QWidget* w = *p;
                p = pending_.erase(p);
                delete w;
                p = pending_.begin(); // deleting may have changed the list
            } else {
                ++p;
            }
        }
    }

    std::map<QWidget*, int> depth_;
    std::vector<QWidget*> pending_;
};

FormsApplication* app()
{
    return dynamic_cast<FormsApplication*>(QCoreApplication::instance());
}

} // namespace

void createApplication(int& argc, char** argv)
{
    auto* a = new FormsApplication(argc, argv);
    // The button shown as default follows the focus.
    QObject::connect(a, &QApplication::focusChanged, a, [](QWidget* old, QWidget* now) {
        FormImpl* seen = nullptr;
        for (QWidget* w : { old, now }) {
            auto* fw = w ? dynamic_cast<FormWindow*>(w->window()) : nullptr;
            if (fw && fw->form && fw->form != seen) {
                seen = fw->form;
                fw->form->focusChanged();
            }
        }
    });
}

void destroyWindowSafely(QWidget* window)
{
    if (auto* a = app())
        a->destroyWhenIdle(window);
    else
        delete window;
}

} // namespace qm::forms::detail
