// Button outlines. Rectangular buttons only so far: no window region, no inner regions.
#include "button/core/kxButtons_H.h"
#include "platform/raster/gdi.h"

namespace qm {

void kxButtons_H::BuildButtonShape()
{
    btn.ShapeLeftInset = 0;
    btn.ShapeRightEdge = host().ScaleWidth();
    gfx::SelectClipRgn(btn.MemDC, nullptr);
    btn.RingRegion.reset();
    btn.InnerRegion.reset();
}

void kxButtons_H::PrepareShapedFace(FaceCode& faceCode)
{
    faceCode = 1; // plain face, no clip
    gfx::SelectClipRgn(btn.MemDC, nullptr);
}

} // namespace qm
