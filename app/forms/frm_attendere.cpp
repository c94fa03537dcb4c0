#include "app/forms/frm_attendere.h"

namespace qm {

void TfrmAttendere::Inizio()
{
    forms::DoEvents();
    Show(forms::vbModeless);
    forms::DoEvents();
    Animation1.Open(forms::App::Path() + "\\res.dll");
    Animation1.Play();
}

void TfrmAttendere::Form_Unload(std::int16_t& Cancel)
{
    (void)Cancel;
    Animation1.Close();
}

} // namespace qm
