#pragma once
// The shell's "Open" on a document or an address, through the desktop's xdg-open.
#include <chrono>
#include <string>

namespace qm::sys {

// Result codes as the platform's shell gives them: above 32 means success.
enum ShellResult : int {
    shellNotStarted = 0, // xdg-open is missing or could not be started
    shellFileNotFound = 2,
    shellPathNotFound = 3,
    shellAccessDenied = 5,
    shellNoAssociation = 31, // no application could open it
    shellOpened = 42,
};

// Opens `target` (a file path, or an address such as https://... or mailto:...) with the
// desktop's application for it. xdg-open is started without a shell, from `directory` when one
// is given, with no terminal input or output. A file that is missing, in a missing folder or
// unreadable gives its code without starting anything. Waits at most `limit` for xdg-open: one
// still running then has handed the target to an application, which counts as success (it is
// left running, and reaped when it ends), so the caller's window never hangs.
int ShellOpen(const std::string& target, const std::string& directory = {},
    std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

} // namespace qm::sys
