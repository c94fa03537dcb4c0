#pragma once
// Internal to platform/raster: the realised state behind a Font handle.
#include "platform/raster/font.h"
#include "platform/raster/live_objects.h"

#include <QFont>
#include <QFontMetrics>

namespace qm::gfx {

class FontData {
public:
    explicit FontData(const LogFont& lf);

    LogFont logFont;
    TextMetrics metrics; // of the unantialiased rendering (metrics do not depend on it)
    int characterHeight = 0; // pixel size of the em

    // The font to paint and measure with under the current antialiasing switch.
    const QFont& qfont() const;
    const QFontMetrics& fontMetrics() const;

private:
    QFont plain_; // no antialiasing
    QFont smooth_; // antialiased
    QFontMetrics plainMetrics_;
    QFontMetrics smoothMetrics_;
    LiveToken<ObjectKind::Font> live_;
};

} // namespace qm::gfx
