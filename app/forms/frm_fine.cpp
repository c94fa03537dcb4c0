#include "app/forms/frm_fine.h"

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

void TfrmFine::Form_Load()
{
    Caption
        = VersionCaption(Caption, forms::App::Major(), forms::App::Minor(), forms::App::Revision());
    // The icon is made at build time and lies beside the program; without it the window
    // keeps the system's.
    std::ifstream in(forms::App::Path() + "/quillmere.ico", std::ios::binary);
    forms::PictureData icon { { std::istreambuf_iterator<char>(in), {} } };
    if (!icon.empty())
        Icon = icon;
}

} // namespace qm
