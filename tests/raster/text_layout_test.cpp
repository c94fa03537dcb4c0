#include "platform/raster/text_layout.h"

#include <gtest/gtest.h>

namespace qm::gfx {
namespace {

struct PrefixCase {
    const char* input;
    const char* shown;
    int underline;
};

class PrefixTest : public testing::TestWithParam<PrefixCase> { };

TEST_P(PrefixTest, StripsAmpersandsAndFindsTheUnderlinedCharacter)
{
    const auto& c = GetParam();
    const auto parsed = parsePrefix(std::string_view(c.input));
    EXPECT_EQ(parsed.text, c.shown);
    EXPECT_EQ(parsed.underline, c.underline);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrefixTest,
    testing::Values(PrefixCase { "A&bc&&d", "Abc&d", 1 }, PrefixCase { "&Ok", "Ok", 0 },
        PrefixCase { "&&", "&", -1 }, PrefixCase { "abc&", "abc", -1 }, PrefixCase { "&", "", -1 },
        PrefixCase { "", "", -1 }, PrefixCase { "&a&b", "ab", 1 }, // the last prefix wins
        PrefixCase { "&&&x", "&x", 1 }, PrefixCase { "x&&&", "x&", -1 },
        PrefixCase { "Perch&\xC3\xA9", "Perch\xC3\xA9", 5 }));

TEST(PrefixTest, WorksOnUtf16Text)
{
    const auto parsed = parsePrefix(std::u16string_view(u"&Info..."));
    EXPECT_EQ(parsed.text, u"Info...");
    EXPECT_EQ(parsed.underline, 0);
}

// Every code unit is 10 pixels wide.
int monospace(std::u16string_view s)
{
    return int(s.size()) * 10;
}

struct BreakCase {
    const char16_t* text;
    int maxWidth;
    LineBreaking how;
    std::vector<TextLine> lines;
};

class BreakLinesTest : public testing::TestWithParam<BreakCase> { };

TEST_P(BreakLinesTest, GivesTheExpectedLines)
{
    const auto& c = GetParam();
    EXPECT_EQ(breakLines(c.text, c.maxWidth, c.how, monospace), c.lines);
}

constexpr LineBreaking wrap { true, false };
constexpr LineBreaking noWrap { false, false };
constexpr LineBreaking single { false, true };

INSTANTIATE_TEST_SUITE_P(Cases, BreakLinesTest,
    testing::Values(
        // Two words in a 1-pixel rectangle take exactly two lines.
        BreakCase { u"line1 line2", 1, wrap, { { 0, 5, 50 }, { 6, 5, 50 } } },
        BreakCase { u"aa bb cc", 50, wrap, { { 0, 5, 50 }, { 6, 2, 20 } } },
        BreakCase { u"aa bb cc", 49, wrap, { { 0, 2, 20 }, { 3, 2, 20 }, { 6, 2, 20 } } },
        // A word wider than the line overflows, unsplit.
        BreakCase { u"verylongword x", 30, wrap, { { 0, 12, 120 }, { 13, 1, 10 } } },
        // Spaces at a wrap belong to no line; leading spaces of a paragraph stay.
        BreakCase { u"ab   cd", 30, wrap, { { 0, 2, 20 }, { 5, 2, 20 } } },
        BreakCase { u"  lead", 100, wrap, { { 0, 6, 60 } } },
        BreakCase { u"a\r\nb", 100, noWrap, { { 0, 1, 10 }, { 3, 1, 10 } } },
        BreakCase { u"a\r\n\r\nb", 100, wrap, { { 0, 1, 10 }, { 3, 0, 0 }, { 5, 1, 10 } } },
        BreakCase { u"a\nb\rc", 100, noWrap, { { 0, 1, 10 }, { 2, 1, 10 }, { 4, 1, 10 } } },
        BreakCase { u"a\r\n", 100, wrap, { { 0, 1, 10 } } },
        BreakCase { u"wide line", 10, noWrap, { { 0, 9, 90 } } },
        BreakCase { u"a\r\nb", 100, single, { { 0, 4, 40 } } }, BreakCase { u"", 100, wrap, {} }));

} // namespace
} // namespace qm::gfx
