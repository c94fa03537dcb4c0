// Starts a window and prints, on standard output, the monotonic clock in nanoseconds at the end
// of the window's first paint, then exits at once. `quillmere` shows the progress window as the
// program does (runtime start, frmAttendere.Inizio with "res.dll" playing) and waits for the
// first paint with the clip on it; `qt` shows a bare Qt window of the same size. The peer is
// plain Qt, so this file uses Qt directly.
#include "app/forms/frm_attendere.h"
#include "platform/forms/program.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Reports after the first paint that follows arming.
class FirstPaint : public QObject {
public:
    bool armed = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (armed && event->type() == QEvent::Paint && watched->isWidgetType()) {
            armed = false;
            // Runs once the paint in progress has finished.
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("%lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || (std::strcmp(argv[1], "quillmere") != 0 && std::strcmp(argv[1], "qt") != 0)) {
        std::fprintf(stderr, "usage: startup_probe quillmere|qt\n");
        return 2;
    }
    FirstPaint probe;
    if (std::strcmp(argv[1], "qt") == 0) {
        QApplication app(argc, argv);
        app.installEventFilter(&probe);
        QWidget window;
        window.resize(249, 56);
        probe.armed = true;
        window.show();
        return app.exec();
    }
    std::string whyNot;
    if (!qm::forms::StartRuntime(argc, argv, &whyNot)) {
        std::fprintf(stderr, "startup_probe: %s\n", whyNot.c_str());
        return 1;
    }
    qApp->installEventFilter(&probe);
    qm::frmAttendere.Inizio();
    probe.armed = true; // the clip is playing: the next paint shows it
    return qApp->exec();
}
