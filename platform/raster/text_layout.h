#pragma once
// The pure parts of text drawing: the "&" prefix and breaking text into lines.
// Free of Qt so they can be tested with any measure of width.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::gfx {

// Text with its "&" prefixes removed. "&x" shows x underlined, "&&" shows one "&",
// and a trailing "&" shows nothing. When several characters are prefixed, the last
// one is underlined. `underline` is the index of the underlined character's first
// code unit in `text`, or -1.
template <typename CharT> struct PrefixedText {
    std::basic_string<CharT> text;
    int underline = -1;
    bool operator==(const PrefixedText&) const = default;
};

template <typename CharT> PrefixedText<CharT> parsePrefix(std::basic_string_view<CharT> s)
{
    PrefixedText<CharT> out;
    out.text.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != CharT('&')) {
            out.text.push_back(s[i]);
            continue;
        }
        if (++i == s.size())
            break;
        if (s[i] != CharT('&'))
            out.underline = int(out.text.size());
        out.text.push_back(s[i]);
    }
    return out;
}

inline PrefixedText<char> parsePrefix(std::string_view utf8)
{
    return parsePrefix<char>(utf8);
}

// One line of laid-out text: a range of the text and its drawn width.
struct TextLine {
    int start = 0;
    int length = 0;
    int width = 0;
    bool operator==(const TextLine&) const = default;
};

struct LineBreaking {
    bool wordBreak = false; // wrap between words at maxWidth
    bool singleLine = false; // CR and LF do not break
};

// Width in pixels of a run of text as the font draws it.
using MeasureText = std::function<int(std::u16string_view)>;

// Lines break at every CR LF, CR or LF (unless single-line) and, with word break,
// before a word that would pass maxWidth. A word wider than maxWidth is never split.
// Spaces where a line wraps belong to no line; a break at the very end adds no line.
std::vector<TextLine> breakLines(
    std::u16string_view text, int maxWidth, LineBreaking how, const MeasureText& measure);

} // namespace qm::gfx
