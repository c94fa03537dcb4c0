#include "app/forms_windows.h"

#include "app/forms/frm_attendere.h"
#include "app/forms/frm_fine.h"
#include "platform/forms/blocking.h"
#include "platform/forms/program.h"
#include "platform/forms/window_services.h"

namespace qm {

FormsWindows::FormsWindows()
{
    TfrmFine::StoreIcon(forms::App::Path() + "/quillmere.ico");
}

void FormsWindows::Inizio()
{
    try {
        frmAttendere.Inizio();
    } catch (const forms::RuntimeError& error) {
        forms::ReportUnhandledError(error);
        throw;
    }
}

void FormsWindows::DoEvents()
{
    forms::DoEvents();
}

void FormsWindows::RunBlocking(const std::function<void()>& work)
{
    forms::RunWhileProcessingEvents(work);
}

void FormsWindows::SetResultText(const std::string& text)
{
    frmFine.Text1.Text = text;
}

void FormsWindows::HideProgress()
{
    frmAttendere.Visible = false;
}

void FormsWindows::ShowResultModal()
{
    frmFine.Show(forms::vbModal);
}

void FormsWindows::UnloadAbout()
{
    // The About window is reached by name: it is loaded only if the user opened it.
    for (forms::Form* form : forms::LoadedForms())
        if (form->Name() == "frmAbout")
            forms::Unload(*form);
}

void FormsWindows::UnloadProgress()
{
    forms::Unload(frmAttendere);
}

void FormsWindows::UnloadResult()
{
    forms::Unload(frmFine);
}

void FormsWindows::Release()
{
    forms::Release(frmAttendere);
    forms::Release(frmFine);
}

} // namespace qm
