#include "app/forms/frm_fine.h"

#include "platform/forms/form_description.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace qm {

std::string TfrmFine::VersionCaption(const std::string& caption, int major, int minor, int revision)
{
    char version[64];
    std::snprintf(version, sizeof version, " v.%d.%02d.%04d", major, minor, revision);
    return caption + version;
}

void TfrmFine::StoreIcon(const std::string& iconFile)
{
    std::ifstream in(iconFile, std::ios::binary);
    forms::PictureData icon { { std::istreambuf_iterator<char>(in), {} } };
    if (icon.empty())
        return;
    forms::FormDescription description = forms::formDescription("frmFine");
    description.Settings.WriteProperty("Icon", icon);
    forms::registerFormDescription(description.toJson(), "frmFine with " + iconFile);
}

void TfrmFine::Form_Load()
{
    Caption
        = VersionCaption(Caption, forms::App::Major(), forms::App::Minor(), forms::App::Revision());
}

} // namespace qm
