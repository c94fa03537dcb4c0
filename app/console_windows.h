#pragma once
// The console front end: no windows; the result text goes to an output stream when the result
// window would be shown, with Linux line breaks.
#include "app/main_windows.h"

#include <ostream>
#include <string>

namespace qm {

class ConsoleWindows final : public MainWindows {
public:
    explicit ConsoleWindows(std::ostream& out)
        : out_(out)
    {
    }

    void Inizio() override { }
    void DoEvents() override { }
    void RunBlocking(const std::function<void()>& work) override { work(); }
    void SetResultText(const std::string& text) override { text_ = text; }
    void HideProgress() override { }
    void ShowResultModal() override;
    void UnloadAbout() override { }
    void UnloadProgress() override { }
    void UnloadResult() override { }
    void Release() override { }

    // CR LF and lone CR become LF; a text that does not end a line gets one, an empty one none.
    static std::string ConsoleText(const std::string& text);

private:
    std::ostream& out_;
    std::string text_;
};

} // namespace qm
