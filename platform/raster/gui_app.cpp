#include "platform/raster/gui_app.h"

#include <QApplication>

namespace qm::gfx::detail {

void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    // Realising fonts and painting on images need no display, and a tool run from a
    // terminal must not depend on (or open a connection to) the desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillmere";
    static char* argv[] = { name, nullptr };
    // A widgets application, so that code creating windows later finds the kind of
    // application object it needs. It lives until the process ends: fonts and images
    // may be used until then.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

} // namespace qm::gfx::detail
