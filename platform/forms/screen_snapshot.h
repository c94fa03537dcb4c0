#pragma once
// A picture of the desktop, as the desktop-effect window starts from.
#include "platform/raster/bitmap.h"

namespace qm::forms {

// The primary screen's pixels as a colour bitmap of the screen's size. Where the window system
// will not give them (Wayland without a grab, or any failed grab), the picture is composed
// instead: the desktop colour with the program's own visible windows at their places.
// An empty bitmap before the runtime is started.
gfx::Bitmap ScreenSnapshot();

} // namespace qm::forms
