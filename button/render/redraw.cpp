// The single entry point that turns the button's state into pixels.
#include "button/core/kxButtons_H.h"
#include "button/render/colour.h"
#include "platform/raster/syscolor.h"

namespace qm {

void kxButtons_H::RedrawButton()
{
    if (btn.DrawingDelayed != kFalse)
        return;
    PointTable points {};
    EdgeColors colours;
    VisualState visualState = 0;
    FaceCode faceCode = 0;
    if (btn.ButtonStyle >= RaisedBevel && btn.ButtonStyle <= RoundedFrame)
        DrawStyleInterim(points, colours, visualState, faceCode);
    if (faceCode == 0)
        return;
    ManageSurface(kFalse);
    host().Refresh();
}

// One look for every style until the style renderers are in place: the face, a
// classic raised (or, pressed, sunken) two-ring bevel and the dotted focus rectangle.
void kxButtons_H::DrawStyleInterim(
    PointTable& points, EdgeColors& colours, VisualState& visualState, FaceCode& faceCode)
{
    const bool pressed = pressedLook(btn.StateFlags);
    ColorValue face = btn.FaceRGB;
    if (btn.Value != kFalse && btn.Mode > 0)
        face = btn.CheckedFaceRGB;
    else if (pressed)
        face = btn.FaceShadeRGB;
    ColorValue gradientEnd = ConvertSystemColor(btn.GradientColor);
    ColorValue hover = btn.HoverFaceRGB;
    FillBackground(face, visualState, faceCode, gradientEnd, hover);
    if (faceCode == 0)
        return;
    if (btn.ButtonShape <= SlantBoth) {
        const auto sys = [](int index) { return ColorValue(gfx::GetSysColor(index)); };
        const ColorValue light = sys(20), shadow = sys(16), dark = sys(21), face3d = sys(22);
        const bool sunken = visualState == 2 || (btn.Value != kFalse && btn.Mode > 0);
        const ColorValue middleLT = sunken ? shadow : face3d, middleRB = sunken ? face3d : shadow;
        const ColorValue outerLT = sunken ? dark : light, outerRB = sunken ? light : dark;
        for (int i = 1; i <= 4; ++i)
            colours[i] = -1;
        colours[5] = colours[6] = middleLT;
        colours[7] = colours[8] = middleRB;
        colours[9] = colours[10] = outerLT;
        colours[11] = colours[12] = outerRB;
        DrawBevelLines(points, colours, -1);
    }
    if (btn.ButtonShape <= EllipseRing)
        faceCode = 1;
    if (btn.ShowFocusRect != kFalse) {
        ColorValue focusColour = -1;
        Boolean aroundContent = kFalse;
        DrawFocusIndicator(focusColour, kFalse, aroundContent, points);
    }
}

} // namespace qm
