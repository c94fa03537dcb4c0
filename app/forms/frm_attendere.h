#pragma once
// frmAttendere: the progress window, a clip playing while the drive is flushed.
#include "platform/forms/animation_control.h"
#include "platform/forms/form.h"

#include <cstdint>

namespace qm {

class TfrmAttendere : public forms::Form {
public:
    TfrmAttendere()
        : Form("frmAttendere")
    {
    }

    forms::Animation Animation1 { this, "Animation1" };

    // Shows the window without blocking and starts its clip ("res.dll" beside the program).
    // A clip that cannot be opened raises the runtime error of Animation::Open.
    void Inizio();

protected:
    void Form_Unload(std::int16_t& Cancel) override;
};

inline TfrmAttendere frmAttendere;

} // namespace qm
