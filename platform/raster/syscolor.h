#pragma once
// System colours by index (button face 15, button text 18, ...).
#include "platform/raster/color.h"

namespace qm::gfx {

enum class SysColorScheme {
    Classic, // the fixed classic table (tests pin this)
    Desktop, // entries taken from the desktop's palette where it has them
};

// Current colour of system colour `index` (0..30); 0 for an unknown index.
ColorRef GetSysColor(int index);
void setSysColorScheme(SysColorScheme scheme);
SysColorScheme sysColorScheme();

} // namespace qm::gfx
