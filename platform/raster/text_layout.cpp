#include "platform/raster/text_layout.h"

namespace qm::gfx {

namespace {

bool isBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}
bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Wraps one paragraph (no line breaks inside) at word boundaries.
void wrapParagraph(std::u16string_view text, std::size_t begin, std::size_t end, int maxWidth,
    const MeasureText& measure, std::vector<TextLine>& lines)
{
    std::size_t start = begin;
    bool first = true;
    while (first || start < end) {
        // Spaces that ended the previous line are not carried over.
        if (!first) {
            while (start < end && isSpace(text[start]))
                ++start;
            if (start == end)
                break;
        }
        first = false;
        std::size_t lineEnd = start; // end of the last word that fits (or the first word)
        int lineWidth = 0;
        std::size_t pos = start;
        while (pos < end) {
            std::size_t wordEnd = pos;
            while (wordEnd < end && isSpace(text[wordEnd]))
                ++wordEnd;
            while (wordEnd < end && !isSpace(text[wordEnd]))
                ++wordEnd;
            const int w = measure(text.substr(start, wordEnd - start));
            if (lineEnd > start && w > maxWidth)
                break;
            lineEnd = wordEnd;
            lineWidth = w;
            pos = wordEnd;
            if (w > maxWidth)
                break; // a single word wider than the line stays whole
        }
        lines.push_back({ int(start), int(lineEnd - start), lineWidth });
        start = lineEnd;
    }
}

} // namespace

std::vector<TextLine> breakLines(
    std::u16string_view text, int maxWidth, LineBreaking how, const MeasureText& measure)
{
    std::vector<TextLine> lines;
    if (text.empty())
        return lines;
    if (how.singleLine) {
        lines.push_back({ 0, int(text.size()), measure(text) });
        return lines;
    }
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = begin;
        while (end < text.size() && !isBreak(text[end]))
            ++end;
        if (how.wordBreak)
            wrapParagraph(text, begin, end, maxWidth, measure, lines);
        else
            lines.push_back(
                { int(begin), int(end - begin), measure(text.substr(begin, end - begin)) });
        if (end == text.size())
            break;
        // CR LF is one break; a lone CR or LF is one too.
        begin = end
            + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
    }
    return lines;
}

} // namespace qm::gfx
