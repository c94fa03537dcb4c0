#pragma once
// Module1: the start-up procedure Main (the flush sequence) and GetSystemErrorText.
#include "app/main_windows.h"
#include "platform/system/volume.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// What Main leaves behind, for the program's exit status and for tests.
struct FlushOutcome {
    bool opened = false; // the open returned a handle
    std::int32_t code = 0; // the error code captured after the open (failed) or the close
    std::string resultText; // the text set into frmFine.Text1
};

// 0 when the code captured at the end is 0, 1 when the open failed, 2 when a later call left a
// non-zero code.
int ExitStatus(const FlushOutcome& outcome);

class Module1 {
public:
    Module1(MainWindows& windows, sys::Volumes& volumes)
        : windows_(windows)
        , volumes_(volumes)
    {
    }

    // Runs the flush sequence once with the command-line argument text and returns when frmFine
    // has been closed and the windows are released; the caller ends the program.
    FlushOutcome Main(std::string_view commandLine);
    // The system's message text for `code`, or "" when the system has none.
    std::string GetSystemErrorText(std::int32_t code);

    // The first two characters (UTF-8 sequences; a stray byte counts as one) of the argument
    // text, taken as they stand.
    static std::string DriveText(std::string_view commandLine);
    // "\\.\" followed by the drive text.
    static std::string DevicePath(std::string_view driveText);

private:
    MainWindows& windows_;
    sys::Volumes& volumes_;
};

} // namespace qm
