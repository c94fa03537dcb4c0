#pragma once
// A logical font and its realised handle. Realisation goes through Qt's font
// engine and fontconfig; this header stays free of Qt so app/ and button/ can use it.
#include <memory>
#include <string>

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

    const LogFont& logFont() const;
    TextMetrics metrics() const;
    const FontData* data() const { return d_.get(); }

private:
    std::shared_ptr<const FontData> d_;
};

// The font a new drawing context starts with (the system's default GUI font).
Font defaultGuiFont();

} // namespace qm::gfx
