#include "platform/forms/blocking.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <exception>
#include <thread>

namespace qm::forms {

void RunWhileProcessingEvents(const std::function<void()>& work)
{
    if (!QCoreApplication::instance()) {
        work();
        return;
    }
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued, so the quit lands after exec() has started even when the work is instant.
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace qm::forms
