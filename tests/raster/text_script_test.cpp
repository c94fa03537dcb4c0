// The text commands of the drawing-script interpreter.
#include "platform/raster/text.h"
#include "tests/raster/support/script_run.h"

#include <gtest/gtest.h>
#include <sstream>

namespace qm::gfx {
namespace {

TEST(TextScriptTest, MeasureOnlyPrintsTheRectangleAndHeight)
{
    const Font font = Font::create(LogFont { -11, 700, true, false, false, "MS Sans Serif" });
    DC dc = DC::createMemory();
    dc.select(font);
    Rect r { 3, 4, 4, 5 };
    const int h = drawText(dc, "line1 line2", r, DT_CALCRECT | DT_WORDBREAK);
    ASSERT_EQ(h, 2 * font.metrics().height);
    std::ostringstream want;
    want << "3 4 " << r.right << ' ' << r.bottom << ' ' << h << "\n5 6 5 6 0\n";

    const tools::ScriptRun got = tools::run("font \"MS Sans Serif\" -11 700 italic\n"
                                            "drawtext 3 4 4 5 1040 \"line1 line2\"\n"
                                            "drawtext 5 6 50 60 1040 \"\"\n");
    EXPECT_EQ(got.rc, 0) << got.err;
    EXPECT_EQ(got.out, want.str());
}

TEST(TextScriptTest, DrawsInTheTextColourWithinTheRectangle)
{
    const tools::ScriptRun got = tools::run("surface 30 14 #FFFFFF\n"
                                            "font \"Arial\" -12 400 underline strikeout\n"
                                            "textcolor #FF0000\n"
                                            "bkmode transparent\n"
                                            "drawtext 2 1 28 13 1 \"&Ok\"\n"
                                            "dump\n");
    ASSERT_EQ(got.rc, 0) << got.err;
    std::istringstream rows(got.out);
    std::string pixel;
    int red = 0, other = 0;
    for (int i = 0; rows >> pixel; ++i) {
        const int x = i % 30, y = i / 30;
        if (pixel == "FF0000") {
            ++red;
            EXPECT_TRUE(x >= 2 && x < 28 && y >= 1 && y < 13) << x << "," << y;
        } else if (pixel != "FFFFFF") {
            ++other;
        }
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(other, 0);
}

TEST(TextScriptTest, BadTextCommandsStopWithTheirLine)
{
    struct Case {
        const char* script;
        const char* message;
    };
    for (const auto& c : {
             Case { "font \"Arial\" -11\n", "line 1: expected 3 to 6 arguments, got 2" },
             Case { "font Arial -11 400\n", "line 1: argument 1 must be a quoted string" },
             Case { "\nfont \"Arial\" -11 400 bold\n", "line 2: unknown font attribute 'bold'" },
             Case { "font \"Arial\" -11 400 italic italic\n",
                 "line 1: font attribute 'italic' given twice" },
             Case { "font \"Arial\" -11 4000\n", "line 1: font weight must be 0..1000" },
             Case { "drawtext 0 0 9 9 -1 \"a\"\n", "line 1: text flags must not be negative" },
             Case { "drawtext 0 0 9 9 0 a\n", "line 1: argument 6 must be a quoted string" },
             Case { "drawtext 0 0 9 9 0 \"a\"\n", "line 1: no surface yet" },
         }) {
        const tools::ScriptRun got = tools::run(c.script);
        EXPECT_EQ(got.rc, 1) << c.script;
        EXPECT_EQ(got.err.rfind(c.message, 0), 0u) << "got: " << got.err;
    }
}

} // namespace
} // namespace qm::gfx
