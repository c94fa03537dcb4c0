#include "platform/raster/syscolor.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <atomic>
#include <optional>

namespace qm::gfx {

namespace {

constexpr int colorCount = 31;

constexpr std::array<ColorRef, colorCount> classicTable {
    rgb(212, 208, 200), // 0 scroll bar
    rgb(58, 110, 165), // 1 desktop
    rgb(10, 36, 106), // 2 active caption
    rgb(128, 128, 128), // 3 inactive caption
    rgb(212, 208, 200), // 4 menu
    rgb(255, 255, 255), // 5 window
    rgb(0, 0, 0), // 6 window frame
    rgb(0, 0, 0), // 7 menu text
    rgb(0, 0, 0), // 8 window text
    rgb(255, 255, 255), // 9 caption text
    rgb(212, 208, 200), // 10 active border
    rgb(212, 208, 200), // 11 inactive border
    rgb(128, 128, 128), // 12 application workspace
    rgb(10, 36, 106), // 13 highlight
    rgb(255, 255, 255), // 14 highlight text
    rgb(212, 208, 200), // 15 button face
    rgb(128, 128, 128), // 16 button shadow
    rgb(128, 128, 128), // 17 grey text
    rgb(0, 0, 0), // 18 button text
    rgb(212, 208, 200), // 19 inactive caption text
    rgb(255, 255, 255), // 20 button highlight
    rgb(64, 64, 64), // 21 3-D dark shadow
    rgb(212, 208, 200), // 22 3-D light
    rgb(0, 0, 0), // 23 tooltip text
    rgb(255, 255, 225), // 24 tooltip back
    0, // 25 has no colour
    rgb(0, 0, 128), // 26 hot-tracking
    rgb(166, 202, 240), // 27 active caption gradient
    rgb(192, 192, 192), // 28 inactive caption gradient
    rgb(10, 36, 106), // 29 menu highlight
    rgb(212, 208, 200), // 30 menu bar
};

std::atomic<SysColorScheme>& scheme()
{
    static std::atomic<SysColorScheme> s { SysColorScheme::Classic };
    return s;
}

ColorRef fromQColor(const QColor& c)
{
    return rgb(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
}

// The desktop palette's entry for a system colour; none where the palette has no
// counterpart (those keep their classic value).
std::optional<ColorRef> desktopColor(int index)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return std::nullopt;
    const QPalette pal = QGuiApplication::palette();
    auto role = [&](QPalette::ColorRole r, QPalette::ColorGroup g = QPalette::Active) {
        return std::optional<ColorRef>(fromQColor(pal.color(g, r)));
    };
    switch (index) {
    case 0: // scroll bar
    case 10: // active border
    case 11: // inactive border
    case 15: // button face
        return role(QPalette::Button);
    case 4: // menu
    case 30: // menu bar
        return role(QPalette::Window);
    case 5:
        return role(QPalette::Base);
    case 7: // menu text
        return role(QPalette::WindowText);
    case 8:
        return role(QPalette::Text);
    case 2: // active caption
    case 13: // highlight
    case 29: // menu highlight
        return role(QPalette::Highlight);
    case 3:
        return role(QPalette::Highlight, QPalette::Inactive);
    case 9: // caption text
    case 14: // highlight text
        return role(QPalette::HighlightedText);
    case 16: // button shadow
        return role(QPalette::Dark);
    case 17: // grey text
        return role(QPalette::Text, QPalette::Disabled);
    case 18:
        return role(QPalette::ButtonText);
    case 20: // button highlight
        return role(QPalette::Light);
    case 21: // 3-D dark shadow
        return role(QPalette::Shadow);
    case 22: // 3-D light
        return role(QPalette::Midlight);
    case 23:
        return role(QPalette::ToolTipText);
    case 24:
        return role(QPalette::ToolTipBase);
    case 26: // hot-tracking
        return role(QPalette::Link);
    default:
        return std::nullopt;
    }
}

} // namespace

ColorRef GetSysColor(int index)
{
    if (index < 0 || index >= colorCount)
        return 0;
    if (scheme().load() == SysColorScheme::Desktop) {
        if (auto c = desktopColor(index))
            return *c;
    }
    return classicTable[std::size_t(index)];
}

void setSysColorScheme(SysColorScheme s)
{
    scheme() = s;
}

SysColorScheme sysColorScheme()
{
    return scheme().load();
}

} // namespace qm::gfx
