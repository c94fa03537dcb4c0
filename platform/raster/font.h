#pragma once
// A logical font and its realised handle. Realisation goes through Qt's font
// engine and fontconfig; this header stays free of Qt so app/ and button/ can use it.
#include <memory>
#include <string>
#include <string_view>

namespace qm::gfx {

struct LogFont {
    int height = 0; // below zero: character height in pixels; above: cell height; 0: default
    int weight = 400; // 100..900, 400 regular, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::string faceName; // at most 31 characters are kept
    bool operator==(const LogFont&) const = default;
};

struct TextMetrics {
    int height = 0; // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
};

class FontData; // defined by the implementation

// A shared, immutable handle. An empty handle is "no font" (the handle value 0).
class Font {
public:
    Font() = default;
    static Font create(const LogFont& lf);

    explicit operator bool() const { return d_ != nullptr; }
    bool operator==(const Font& o) const { return d_ == o.d_; }

    const LogFont& logFont() const; // as realised: face name cut to 31 characters
    TextMetrics metrics() const;
    std::string realisedFamily() const; // the installed family the font engine chose
    const FontData* data() const { return d_.get(); }

private:
    std::shared_ptr<const FontData> d_;
};

// The font a new drawing context starts with (the system's default GUI font).
Font defaultGuiFont();

// The installed family a face name is realised with: classic face names map to
// metric-compatible installed families; any other name is returned unchanged.
std::string substituteFaceName(std::string_view face);

// Text is drawn without antialiasing by default (the classic look). Turning it on
// affects fonts drawn and measured from then on; the environment variable
// QM_TEXT_ANTIALIAS=1 sets the initial state.
void setTextAntialiasing(bool on);
bool textAntialiasing();

} // namespace qm::gfx
