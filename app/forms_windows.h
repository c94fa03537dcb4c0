#pragma once
// The windowed front end: Main's windows are the forms frmAttendere and frmFine.
#include "app/main_windows.h"

namespace qm {

class FormsWindows final : public MainWindows {
public:
    // The forms runtime must be started. Gives the result window the icon beside the program.
    FormsWindows();

    // A clip that cannot be opened goes to the runtime's unhandled-error report (a message
    // box, then the program ends); when that report returns, as in tests, the error is thrown on.
    void Inizio() override;
    void DoEvents() override;
    void RunBlocking(const std::function<void()>& work) override;
    void SetResultText(const std::string& text) override;
    void HideProgress() override;
    void ShowResultModal() override;
    void UnloadAbout() override;
    void UnloadProgress() override;
    void UnloadResult() override;
    void Release() override;
};

} // namespace qm
