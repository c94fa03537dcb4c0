#include "platform/raster/font.h"

#include "platform/raster/font_data.h"
#include "platform/raster/gui_app.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <limits>

namespace qm::gfx {

namespace {

constexpr std::size_t maxFaceChars = 31;
constexpr int defaultCharacterHeight = 11; // 8.25 pt at 96 dpi, the classic dialog size

// Keeps at most `limit` characters of UTF-8 text without splitting a sequence.
std::string truncateChars(std::string_view s, std::size_t limit)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == limit)
                return std::string(s.substr(0, i));
            ++chars;
        }
    }
    return std::string(s);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

struct Substitution {
    std::string_view face;
    std::array<const char*, 2> families; // first installed one wins
};

// Liberation families have the advance widths of the classic Windows faces they
// stand for, so captions wrap where the classic system wraps them.
constexpr std::array<const char*, 2> sansFamilies { "Liberation Sans", "DejaVu Sans" };
constexpr std::array<const char*, 2> serifFamilies { "Liberation Serif", "DejaVu Serif" };
constexpr std::array<const char*, 2> monoFamilies { "Liberation Mono", "DejaVu Sans Mono" };
constexpr std::array<const char*, 2> wideSansFamilies { "DejaVu Sans", "Liberation Sans" };

constexpr Substitution substitutions[] = {
    { "", sansFamilies },
    { "MS Sans Serif", sansFamilies },
    { "Microsoft Sans Serif", sansFamilies },
    { "MS Shell Dlg", sansFamilies },
    { "MS Shell Dlg 2", sansFamilies },
    { "System", sansFamilies },
    { "Tahoma", sansFamilies },
    { "Arial", sansFamilies },
    { "Helvetica", sansFamilies },
    { "Segoe UI", sansFamilies },
    { "Verdana", wideSansFamilies },
    { "Times New Roman", serifFamilies },
    { "Times", serifFamilies },
    { "MS Serif", serifFamilies },
    { "Courier New", monoFamilies },
    { "Courier", monoFamilies },
    { "Fixedsys", monoFamilies },
    { "Terminal", monoFamilies },
    { "Lucida Console", monoFamilies },
};

std::atomic<int>& antialiasingState()
{
    // -1: not decided yet (read from the environment on first use).
    static std::atomic<int> state { -1 };
    return state;
}

QFont makeQFont(const LogFont& lf, const QString& family, int pixelSize, bool antialiased)
{
    QFont f(family);
    f.setPixelSize(std::max(1, pixelSize));
    f.setWeight(QFont::Weight(std::clamp(lf.weight == 0 ? 400 : lf.weight, 1, 1000)));
    f.setItalic(lf.italic);
    f.setUnderline(lf.underline);
    f.setStrikeOut(lf.strikeOut);
    f.setKerning(false); // advances add up exactly, as the classic text engine's do
    if (antialiased) {
        f.setStyleStrategy(QFont::PreferAntialias);
    } else {
        f.setStyleStrategy(QFont::NoAntialias);
        f.setHintingPreference(QFont::PreferFullHinting);
    }
    return f;
}

} // namespace

std::string substituteFaceName(std::string_view face)
{
    for (const auto& s : substitutions) {
        if (!equalsIgnoringCase(s.face, face))
            continue;
        detail::ensureGuiApplication();
        for (const char* family : s.families) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(family)))
                return family;
        }
        return s.families[0];
    }
    return std::string(face);
}

void setTextAntialiasing(bool on)
{
    antialiasingState() = on ? 1 : 0;
}

bool textAntialiasing()
{
    auto& state = antialiasingState();
    int v = state.load();
    if (v < 0) {
        const char* env = std::getenv("QM_TEXT_ANTIALIAS");
        v = (env && std::string_view(env) == "1") ? 1 : 0;
        int expected = -1;
        if (!state.compare_exchange_strong(expected, v))
            v = expected;
    }
    return v == 1;
}

FontData::FontData(const LogFont& lf)
    : logFont(lf)
    , plainMetrics_(QFont())
    , smoothMetrics_(QFont())
{
    logFont.faceName = truncateChars(lf.faceName, maxFaceChars);
    const QString family = QString::fromStdString(substituteFaceName(logFont.faceName));

    int pixelSize = defaultCharacterHeight;
    if (lf.height < 0) {
        pixelSize = lf.height == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                                 : -lf.height;
    } else if (lf.height > 0) {
        // A positive height is the cell height: the largest em whose cell fits it.
        pixelSize = lf.height;
        while (pixelSize > 1) {
            QFontMetrics fm(makeQFont(lf, family, pixelSize, false));
            if (fm.ascent() + fm.descent() <= lf.height)
                break;
            --pixelSize;
        }
    }
    // Beyond this the font engine gives nothing useful and memory use explodes.
    pixelSize = std::min(pixelSize, 2048);

    plain_ = makeQFont(lf, family, pixelSize, false);
    smooth_ = makeQFont(lf, family, pixelSize, true);
    plainMetrics_ = QFontMetrics(plain_);
    smoothMetrics_ = QFontMetrics(smooth_);

    characterHeight = QFontInfo(plain_).pixelSize();
    const QFontMetrics& fm = plainMetrics_;
    metrics.ascent = fm.ascent();
    metrics.descent = fm.descent();
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - characterHeight);
    metrics.externalLeading = std::max(0, fm.leading());
    metrics.aveCharWidth = fm.averageCharWidth();
    metrics.maxCharWidth = fm.maxWidth();
}

const QFont& FontData::qfont() const
{
    return textAntialiasing() ? smooth_ : plain_;
}

const QFontMetrics& FontData::fontMetrics() const
{
    return textAntialiasing() ? smoothMetrics_ : plainMetrics_;
}

Font Font::create(const LogFont& lf)
{
    detail::ensureGuiApplication();
    Font f;
    f.d_ = std::make_shared<const FontData>(lf);
    return f;
}

namespace {
const LogFont& emptyLogFont()
{
    static const LogFont empty;
    return empty;
}
} // namespace

const LogFont& Font::logFont() const
{
    return d_ ? d_->logFont : emptyLogFont();
}

TextMetrics Font::metrics() const
{
    return d_ ? d_->metrics : TextMetrics {};
}

std::string Font::realisedFamily() const
{
    return d_ ? QFontInfo(d_->qfont()).family().toStdString() : std::string();
}

Font defaultGuiFont()
{
    // One shared handle, like the system's stock object.
    static const Font font = Font::create(
        LogFont { -defaultCharacterHeight, 400, false, false, false, "MS Sans Serif" });
    return font;
}

} // namespace qm::gfx
