#pragma once
// The raster layer's live drawing objects of the kinds a button makes, for ownership checks.
#include "platform/raster/live_objects.h"

#include <array>

namespace qm::testing {

using LiveCounts = std::array<long, 5>; // contexts, bitmaps, pens, brushes, fonts

inline LiveCounts liveCounts()
{
    using gfx::ObjectKind;
    return { gfx::liveObjects(ObjectKind::DC), gfx::liveObjects(ObjectKind::Bitmap),
        gfx::liveObjects(ObjectKind::Pen), gfx::liveObjects(ObjectKind::Brush),
        gfx::liveObjects(ObjectKind::Font) };
}

} // namespace qm::testing
