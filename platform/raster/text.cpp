#include "platform/raster/text.h"

#include "platform/raster/font_data.h"
#include "platform/raster/text_layout.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <algorithm>
#include <limits>
#include <vector>

namespace qm::gfx {

namespace {

QString toQString(std::u16string_view s)
{
    return QString::fromRawData(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

QColor toQColor(ColorRef c)
{
    c = drawableColor(c);
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

const FontData& fontOf(const DC& dc)
{
    const Font& f = dc.font();
    return f ? *f.data() : *defaultGuiFont().data();
}

struct Laid {
    std::u16string text; // prefixes removed
    int underline = -1;
    std::vector<TextLine> lines;
    int widest = 0;
};

Laid layOut(const FontData& font, std::string_view utf8, int width, unsigned flags)
{
    Laid laid;
    const QString source = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    const std::u16string_view view(
        reinterpret_cast<const char16_t*>(source.utf16()), std::size_t(source.size()));
    if (flags & DT_NOPREFIX) {
        laid.text.assign(view);
    } else {
        auto parsed = parsePrefix<char16_t>(view);
        laid.text = std::move(parsed.text);
        laid.underline = parsed.underline;
    }
    const LineBreaking how { (flags & DT_WORDBREAK) != 0, (flags & DT_SINGLELINE) != 0 };
    if (how.singleLine)
        std::replace_if(
            laid.text.begin(), laid.text.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; },
            u' ');
    const QFontMetrics& fm = font.fontMetrics();
    laid.lines = breakLines(laid.text, width, how,
        [&fm](std::u16string_view s) { return fm.horizontalAdvance(toQString(s)); });
    for (const auto& line : laid.lines)
        laid.widest = std::max(laid.widest, line.width);
    return laid;
}

QRegion toQRegion(const Region& region, int dx, int dy)
{
    std::vector<QRect> rects;
    rects.reserve(region.rects().size());
    for (const Rect& r : region.rects())
        rects.emplace_back(r.left + dx, r.top + dy, r.width(), r.height());
    QRegion q;
    q.setRects(rects.data(), int(rects.size()));
    return q;
}

int lineLeft(const Rect& rect, const TextLine& line, unsigned flags)
{
    if (flags & DT_CENTER)
        return rect.left + (rect.width() - line.width) / 2;
    if (flags & DT_RIGHT)
        return rect.right - line.width;
    return rect.left;
}

// Paints the glyphs (and the prefix underline) of every line in surface coordinates.
void paintLines(QPainter& p, const FontData& font, const Laid& laid, const Rect& rect, int top,
    unsigned flags, const QColor& ink, const QColor* background)
{
    const QFontMetrics& fm = font.fontMetrics();
    const int lineHeight = font.metrics.height;
    const int ascent = font.metrics.ascent;
    p.setFont(font.qfont());
    p.setPen(ink);
    int y = top;
    for (const TextLine& line : laid.lines) {
        const int x = lineLeft(rect, line, flags);
        const QString s = toQString(std::u16string_view(laid.text).substr(
            std::size_t(line.start), std::size_t(line.length)));
        if (background)
            p.fillRect(QRect(x, y, line.width, lineHeight), *background);
        p.drawText(QPoint(x, y + ascent), s);
        if (laid.underline >= line.start && laid.underline < line.start + line.length) {
            const int k = laid.underline - line.start;
            const int ux = x + fm.horizontalAdvance(s.left(k));
            const int uw = fm.horizontalAdvance(s.mid(k, 1));
            p.fillRect(QRect(ux, y + ascent + std::max(1, fm.underlinePos()), uw,
                           std::max(1, fm.lineWidth())),
                ink);
        }
        y += lineHeight;
    }
}

} // namespace

int drawText(DC& dc, std::string_view text, Rect& rect, unsigned flags)
{
    if (!dc)
        return 0;
    const FontData& font = fontOf(dc);
    const Laid laid = layOut(font, text, rect.width(), flags);
    const int lineHeight = font.metrics.height;
    const int textHeight = int(std::min<long long>(
        (long long)laid.lines.size() * lineHeight, std::numeric_limits<int>::max()));

    if (flags & DT_CALCRECT) {
        if (laid.lines.empty()) {
            rect.right = rect.left;
            rect.bottom = rect.top;
            return 0;
        }
        rect.right = addClamped(rect.left, laid.widest);
        rect.bottom = addClamped(rect.top, textHeight);
        return textHeight;
    }

    int top = rect.top;
    int result = textHeight;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            top = rect.top + (rect.height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            top = rect.bottom - lineHeight;
        if (flags & (DT_VCENTER | DT_BOTTOM))
            result = top - rect.top + lineHeight;
    }
    if (laid.lines.empty())
        return result;

    Region area = dc.drawableRegion();
    // An inverted rectangle (a caption box squeezed past its margins) shows nothing.
    if (!(flags & DT_NOCLIP))
        area = rect.isEmpty() ? Region() : area & Region::rect(rect);
    if (area.isEmpty())
        return result;

    const QColor ink = toQColor(dc.textColor());
    const QColor bk = toQColor(dc.bkColor());
    Bitmap target = dc.bitmap();
    if (!target.isMono()) {
        // Paint straight into the surface's pixels.
        QImage image(reinterpret_cast<uchar*>(target.bits()), target.width(), target.height(),
            target.bytesPerLine(), QImage::Format_RGB32);
        QPainter p(&image);
        p.setClipRegion(toQRegion(area, 0, 0));
        paintLines(p, font, laid, rect, top, flags, ink, dc.bkOpaque() ? &bk : nullptr);
        dc.noteDrawn(area.box());
        return result;
    }
    // A monochrome surface: glyph coverage is rendered apart and laid over it.
    const Rect box = area.box();
    QImage coverage(box.width(), box.height(), QImage::Format_Grayscale8);
    coverage.fill(0);
    {
        QPainter p(&coverage);
        p.translate(-box.left, -box.top);
        p.setClipRegion(toQRegion(area, 0, 0));
        paintLines(p, font, laid, rect, top, flags, Qt::white, nullptr);
    }
    if (dc.bkOpaque()) {
        int y = top;
        for (const TextLine& line : laid.lines) {
            const Region cell = Region::rect(Rect::fromSize(
                                    lineLeft(rect, line, flags), y, line.width, lineHeight))
                & area;
            dc.fillRegion(cell, Brush::solid(dc.bkColor()));
            y += lineHeight;
        }
    }
    dc.blendCoverage({ box.left, box.top }, box.width(), box.height(), coverage.constBits(),
        int(coverage.bytesPerLine()), dc.textColor());
    return result;
}

Size textExtent(const DC& dc, std::string_view text)
{
    const FontData& font = fontOf(dc);
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return { font.fontMetrics().horizontalAdvance(s), dc ? font.metrics.height : 0 };
}

} // namespace qm::gfx
