#pragma once
// The windows that Module1::Main drives, behind one small interface, so that the same Main runs
// the real windows, the console front end and the fakes of the tests.
#include <functional>
#include <string>

namespace qm {

class MainWindows {
public:
    virtual ~MainWindows() = default;

    // frmAttendere.Inizio: shows the progress window without blocking and starts its animation.
    // Throws (std::exception) when the window cannot start; Main lets that through.
    virtual void Inizio() = 0;
    // One pass over the pending window messages.
    virtual void DoEvents() = 0;
    // Runs `work` (the blocking volume calls) and returns when it has ended, keeping the windows
    // painted and their animations moving meanwhile: a windowed front end runs it on a worker
    // thread and processes events until it ends. `work` touches no window. An exception thrown
    // by `work` is rethrown here.
    virtual void RunBlocking(const std::function<void()>& work) = 0;
    // frmFine.Text1 = text; the first use of frmFine, which loads it (not shown).
    virtual void SetResultText(const std::string& text) = 0;
    // frmAttendere.Visible = False.
    virtual void HideProgress() = 0;
    // frmFine.Show vbModal, without owner; returns when frmFine has been closed.
    virtual void ShowResultModal() = 0;
    // Unload frmAbout / frmAttendere / frmFine; unloading a window that is not loaded does nothing.
    virtual void UnloadAbout() = 0;
    virtual void UnloadProgress() = 0;
    virtual void UnloadResult() = 0;
    // Set frmAbout, frmAttendere and frmFine to Nothing, in that order.
    virtual void Release() = 0;
};

} // namespace qm
