#pragma once
// The windowed front end, chosen by main() unless --console is given.
#include "app/main_windows.h"

#include <memory>
#include <string>

namespace qm {

// Opens the real windows behind MainWindows. Returns nullptr when windows cannot be used; then
// `whyNot` holds a one-line reason for standard error (empty when there is nothing to say) and
// the caller falls back to the console front end. `argc` and `argv` go to the toolkit.
std::unique_ptr<MainWindows> OpenWindowedFrontEnd(int& argc, char** argv, std::string& whyNot);

} // namespace qm
