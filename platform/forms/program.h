#pragma once
// The forms runtime as a whole: starting it, the command line, ending the program, and
// what happens to an error that no handler catches.
#include "platform/forms/runtime_error.h"

#include <exception>
#include <functional>
#include <string>

namespace qm::forms {

// Starts the runtime (the toolkit's application object) before any window exists. Qt's automatic
// high-DPI scaling is switched off: our windows are laid out in device pixels. Returns false with
// a one-line reason when no display can be opened. Calling it again does nothing.
bool StartRuntime(int& argc, char** argv, std::string* whyNot = nullptr);
// For tests and tools: starts the runtime on the platform named by QT_QPA_PLATFORM (offscreen
// when unset).
void StartRuntimeForTests();
bool RuntimeStarted();

// The argument text of the command line (the arguments after the program, joined by blanks).
std::string Command();

// Ends the program at once: every window is closed without raising events; exit status 0.
[[noreturn]] void End();

// Reports an error that no handler caught: a message box with its number and description
// ("Errore di run-time '53':" and the description), then the program ends. A test may replace
// the reaction; the replacement returns and the runtime then abandons the event it was raising.
using UnhandledErrorHandler = std::function<void(const RuntimeError&)>;
UnhandledErrorHandler setUnhandledErrorHandler(UnhandledErrorHandler handler);
void ReportUnhandledError(const RuntimeError& error);
// Runs `fn`, reporting any RuntimeError or other exception that escapes it (other exceptions
// are reported as error 51, "Internal error", with their message). Returns false when it failed.
bool RunGuarded(const std::function<void()>& fn);

// Message boxes shown, for tests: when a recorder is set, MsgBox calls it instead of showing a box.
struct ShownMessage {
    std::string Prompt;
    std::string Title;
    int Buttons = 0;
};
using MessageBoxRecorder = std::function<void(const ShownMessage&)>;
MessageBoxRecorder setMessageBoxRecorder(MessageBoxRecorder recorder);

} // namespace qm::forms
