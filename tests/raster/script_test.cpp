// The drawing-script interpreter: small golden cases and the errors it must report.
#include "tests/raster/support/script_run.h"

#include <gtest/gtest.h>

using qm::tools::run;
using qm::tools::ScriptRun;

TEST(RasterScript, GoldenCases)
{
    struct Case {
        const char* name;
        const char* script;
        const char* expect;
    } cases[] = {
        { "rectangle and dump",
            "# outline black, brush red\n"
            "surface 4 3 #FFFFFF\n"
            "  pen solid 1 #000000\n"
            "brush #FF0000\n"
            "rectangle 0 0 4 3\n"
            "dump\n",
            "000000 000000 000000 000000\n"
            "000000 FF0000 FF0000 000000\n"
            "000000 000000 000000 000000\n" },
        { "dotted opaque line, last pixel out",
            "surface 5 1 #FFFFFF\npen dot 1 #0000FF\nbkmode opaque\nbkcolor #00FF00\npolyline 0 0 "
            "4 0\ndump\n",
            "0000FF 00FF00 0000FF 00FF00 FFFFFF\n" },
        { "region kinds",
            "region a rect 0 0 4 4\nregion b rect 4 0 8 4\nregion c rect 2 2 6 6\n"
            "combine u a b or\ncombine x a c and\ncombine d a a diff\ncombine e a c xor\n",
            "simple 0 0 8 4\nsimple 2 2 4 4\nnull\ncomplex 0 0 6 6\n" },
        { "rects and clip",
            "surface 3 2 #000000\nregion r rect 1 0 3 1\nrects r\nclip r\nsetpixel 0 0 #FFFFFF\n"
            "setpixel 2 0 #FFFFFF\nclip none\nsetpixel 0 1 #FFFFFF\ndump\n",
            "1 0 3 1\n000000 000000 FFFFFF\nFFFFFF 000000 000000\n" },
        { "corner triangles by pixel centres",
            "region a polygon winding 0 0 2 0 0 2\nrects a\n"
            "region b polygon alternate 0 23 3 23 0 20\nrects b\n",
            "0 0 1 1\n0 21 1 22\n0 22 2 23\n" },
        { "focus rectangle: (x + y) even inverted",
            "surface 5 3 #FFFFFF\nfocusrect 0 0 5 3\ndump\n",
            "000000 FFFFFF 000000 FFFFFF 000000\n"
            "FFFFFF FFFFFF FFFFFF FFFFFF FFFFFF\n"
            "000000 FFFFFF 000000 FFFFFF 000000\n" },
        { "frame of a rectangle region",
            "surface 4 4 #FFFFFF\nregion r rect 0 0 4 4\nframeregion r #000000 1 1\ndump\n",
            "000000 000000 000000 000000\n000000 FFFFFF FFFFFF 000000\n"
            "000000 FFFFFF FFFFFF 000000\n000000 000000 000000 000000\n" },
    };
    for (const Case& c : cases) {
        const ScriptRun r = run(c.script);
        EXPECT_EQ(r.rc, 0) << c.name << ": " << r.err;
        EXPECT_EQ(r.out, c.expect) << c.name;
    }
}

TEST(RasterScript, BadLinesStopWithTheirNumber)
{
    struct Case {
        const char* script;
        const char* message;
    } cases[] = {
        { "surface 2 2 #000000\nwobble 1\ndump\n", "line 2: unknown command 'wobble'" },
        { "surface 2 x #000000\n", "line 1: argument 2 is not a decimal number: 'x'" },
        { "surface 2 2 #00000G\n", "line 1: argument 3 is not a colour #RRGGBB: '#00000G'" },
        { "\n\nrectangle 0 0 1 1\n", "line 3: no surface yet" },
        { "region a rect 0 0 1 1\ncombine b a zz or\n", "line 2: unknown region 'zz'" },
        { "pen dashed 1 #000000\n", "line 1: pen style must be solid, dot or null" },
        { "surface 1 1 #000000\nrectangle 0 0 1\n", "line 2: expected 4 arguments, got 3" },
        { "surface 1 1 #000000\npolyline 0 0 1\n", "line 2: a polyline needs at least two points" },
        { "surface 9 99999 #000000\n", "line 1: surface size must be" },
        { "textcolor \"#000000\n", "line 1: unterminated string" },
        { "region e ellipse 0 0 100000000 10\n",
            "line 1: polygon and ellipse coordinates must lie within" },
        { "surface 1 1 #000000\nsetpixel 0 99999999999 #000000\n",
            "line 2: argument 2 is out of range" },
    };
    for (const Case& c : cases) {
        const ScriptRun r = run(c.script);
        EXPECT_EQ(r.rc, 1) << c.script;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << "got: " << r.err;
    }
}

TEST(RasterScript, StringsUnescape)
{
    const auto tokens = qm::tools::tokenize(R"(drawtext 0 0 9 9 0 "a\r\nb \"q\" \\")");
    ASSERT_EQ(tokens.size(), 7u);
    EXPECT_TRUE(tokens[6].quoted);
    EXPECT_EQ(tokens[6].text, "a\r\nb \"q\" \\");
    EXPECT_THROW(qm::tools::tokenize(R"(x "bad \q")"), qm::tools::ScriptError);
}
