#pragma once
// frmFine: the result window, the outcome of the flush in a multi-line text box.
#include "platform/forms/form.h"

#include <string>

namespace qm {

class TfrmFine : public forms::Form {
public:
    TfrmFine()
        : Form("frmFine")
    {
    }

    forms::TextBox Text1 { this, "Text1" };

    // The stored caption followed by " v.", major, ".", minor as "00", ".", revision as "0000".
    static std::string VersionCaption(
        const std::string& caption, int major, int minor, int revision);
    // Stores the icon file (made at build time, beside the program) in the window's description,
    // so the window has it from its first load; without the file the description stays as it is.
    static void StoreIcon(const std::string& iconFile);

protected:
    void Form_Load() override;
};

inline TfrmFine frmFine;

} // namespace qm
