#include "app/windowed.h"

#include <cstdlib>

namespace qm {

namespace {
bool envSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}
} // namespace

std::unique_ptr<MainWindows> OpenWindowedFrontEnd(int& argc, char** argv, std::string& whyNot)
{
    (void)argc;
    (void)argv;
    whyNot.clear();
    if (!envSet("DISPLAY") && !envSet("WAYLAND_DISPLAY") && !envSet("QT_QPA_PLATFORM"))
        whyNot = "no display to open (DISPLAY and WAYLAND_DISPLAY are not set); running in console "
                 "mode";
    // The windows are not built yet: every run is a console run.
    return nullptr;
}

} // namespace qm
