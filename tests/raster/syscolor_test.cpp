#include "platform/raster/gui_app.h"
#include "platform/raster/syscolor.h"

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace qm::gfx {
namespace {

struct SchemeGuard {
    SysColorScheme saved = sysColorScheme();
    ~SchemeGuard() { setSysColorScheme(saved); }
};

TEST(SysColorTest, ClassicTableByDefault)
{
    EXPECT_EQ(sysColorScheme(), SysColorScheme::Classic);
    struct Case {
        int index;
        ColorRef color;
    };
    for (const auto& c :
        { Case { 0, 0xC8D0D4 }, Case { 1, 0xA56E3A }, Case { 2, 0x6A240A }, Case { 5, 0xFFFFFF },
            Case { 8, 0x000000 }, Case { 13, 0x6A240A }, Case { 15, 0xC8D0D4 },
            Case { 16, 0x808080 }, Case { 17, 0x808080 }, Case { 18, 0x000000 },
            Case { 19, 0xC8D0D4 }, Case { 20, 0xFFFFFF }, Case { 21, 0x404040 },
            Case { 22, 0xC8D0D4 }, Case { 24, 0xE1FFFF }, Case { 26, 0x800000 },
            Case { 27, 0xF0CAA6 }, Case { 28, 0xC0C0C0 }, Case { 30, 0xC8D0D4 },
            // No colour: unused and unknown indexes.
            Case { 25, 0 }, Case { 31, 0 }, Case { 255, 0 }, Case { -1, 0 } }) {
        EXPECT_EQ(GetSysColor(c.index), c.color) << "index " << c.index;
    }
}

TEST(SysColorTest, DesktopSchemeFollowsThePalette)
{
    detail::ensureGuiApplication();
    SchemeGuard guard;
    const QPalette saved = QGuiApplication::palette();
    QPalette pal = saved;
    pal.setColor(QPalette::Button, QColor(1, 2, 3));
    pal.setColor(QPalette::ButtonText, QColor(200, 100, 50));
    pal.setColor(QPalette::Highlight, QColor(9, 8, 7));
    QGuiApplication::setPalette(pal);

    setSysColorScheme(SysColorScheme::Desktop);
    EXPECT_EQ(GetSysColor(15), rgb(1, 2, 3));
    EXPECT_EQ(GetSysColor(18), rgb(200, 100, 50));
    EXPECT_EQ(GetSysColor(13), rgb(9, 8, 7));
    EXPECT_EQ(GetSysColor(1), rgb(58, 110, 165)); // no palette counterpart: classic
    setSysColorScheme(SysColorScheme::Classic);
    EXPECT_EQ(GetSysColor(15), rgb(212, 208, 200));
    QGuiApplication::setPalette(saved);
}

} // namespace
} // namespace qm::gfx
