#include "platform/raster/gui_app.h"

#include <QGuiApplication>
#include <cstdlib>

namespace qm::gfx::detail {

void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    // No display is needed to realise fonts or paint on images, and a tool run from a
    // terminal must not open a connection to the desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillmere";
    static char* argv[] = { name, nullptr };
    // Lives until the process ends: fonts and images may be used until then.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

} // namespace qm::gfx::detail
