#pragma once
// Test access to a button's record and private procedures.
#include "button/core/kxButtons_H.h"

namespace qm {

class ButtonInternals {
public:
    explicit ButtonInternals(kxButtons_H& b)
        : b_(b)
    {
    }
    ButtonRecord& record() { return b_.btn; }
    void setScreen(ScreenMetrics m)
    {
        b_.screen_ = [m] { return m; };
    }
    template <kxButtonsEvent N, class... Args> bool raise(Args&... args)
    {
        return b_.RaiseEvent<N>(args...);
    }

    void ManageSurface(Boolean build) { b_.ManageSurface(build); }
    void SelectDrawingTool(Boolean selectFlag, std::int32_t kind, ColorValue colour,
        Boolean alsoPen = kFalse, std::int32_t penWidth = 1, std::int32_t penStyle = 0)
    {
        b_.SelectDrawingTool(selectFlag, b_.btn.MemDC, kind, colour, alsoPen, penWidth, penStyle);
    }
    void DrawRectangle(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t bottom,
        ColorValue brush, ColorValue pen = -1, std::int32_t penWidth = 1, std::int32_t penStyle = 0)
    {
        b_.DrawRectangle(b_.btn.MemDC, l, t, r, bottom, brush, pen, penWidth, penStyle);
    }
    void FillBackground(ColorValue face, VisualState& state, FaceCode& code,
        ColorValue& gradientEnd, ColorValue& hover)
    {
        b_.FillBackground(face, state, code, gradientEnd, hover);
    }
    void PaintGradient(ColorValue start, ColorValue end) { b_.PaintGradient(start, end); }
    void DrawBevelLines(PointTable& points, const EdgeColors& colours, std::int32_t outerPenStyle)
    {
        b_.DrawBevelLines(points, colours, outerPenStyle);
    }
    void DrawFocusIndicator(ColorValue& colour, Boolean solid, Boolean& around, PointTable& points)
    {
        b_.DrawFocusIndicator(colour, solid, around, points);
    }
    void RefreshCache(std::string_view name) { b_.RefreshCache(name); }
    void RedrawButton() { b_.RedrawButton(); }

private:
    kxButtons_H& b_;
};

} // namespace qm
