#pragma once
// A button on a windowless host, with the classic system colours and a 1024 x 768 screen.
#include "button/core/kxButtons_H.h"
#include "platform/raster/syscolor.h"
#include "tests/button/support/button_internals.h"
#include "tests/button/support/fake_host.h"

#include <gtest/gtest.h>

namespace qm::testing {

inline constexpr ScreenMetrics kScreen1024 { 1024 * 15.0, 768 * 15.0, 15.0, 15.0 };

class ButtonFixture : public ::testing::Test {
protected:
    explicit ButtonFixture(int width = 75, int height = 23)
        : host(width, height)
    {
        gfx::setSysColorScheme(gfx::SysColorScheme::Classic);
        button.attachHost(&host);
        in.setScreen(kScreen1024);
    }

    // Builds the surface (as the first Resize does) and fills it with `background`.
    void showSurface(ColorValue background = 0xFFFFFF)
    {
        button.Resize();
        fill(background);
    }
    void fill(ColorValue c)
    {
        in.DrawRectangle(0, 0, host.ScaleWidth(), host.ScaleHeight(), c, -1);
    }
    ColorValue pixel(int x, int y) const { return ColorValue(rec().MemDC.pixel(x, y)); }
    ButtonRecord& rec() const { return in.record(); }

    FakeHost host;
    kxButtons_H button;
    mutable ButtonInternals in { button };
};

} // namespace qm::testing
