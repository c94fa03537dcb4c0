#include "app/windowed.h"

#include "app/forms_windows.h"
#include "platform/forms/program.h"

namespace qm {

std::unique_ptr<MainWindows> OpenWindowedFrontEnd(int& argc, char** argv, std::string& whyNot)
{
    whyNot.clear();
    if (!forms::StartRuntime(argc, argv, &whyNot)) {
        whyNot += "; running in console mode";
        return nullptr;
    }
    return std::make_unique<FormsWindows>();
}

} // namespace qm
