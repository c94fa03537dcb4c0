// Text commands: "font" selects a logical font, "drawtext" draws or measures text.
#include "platform/raster/text.h"
#include "tools/raster_script/script.h"

#include <ostream>

namespace qm::tools {

namespace {

using namespace qm::gfx;

// font "FACE" HEIGHT WEIGHT [italic] [underline] [strikeout]
void font(ScriptState& s, const Args& a)
{
    a.expectCount(3, 6);
    LogFont lf;
    lf.faceName = a.text(0);
    lf.height = a.number(1);
    lf.weight = a.number(2);
    if (lf.weight < 0 || lf.weight > 1000)
        throw ScriptError("font weight must be 0..1000");
    for (std::size_t i = 3; i < a.size(); ++i) {
        const std::string attribute = a.word(i);
        bool* flag = attribute == "italic" ? &lf.italic
            : attribute == "underline"     ? &lf.underline
            : attribute == "strikeout"     ? &lf.strikeOut
                                           : nullptr;
        if (!flag)
            throw ScriptError(
                "unknown font attribute '" + attribute + "' (italic, underline or strikeout)");
        if (*flag)
            throw ScriptError("font attribute '" + attribute + "' given twice");
        *flag = true;
    }
    s.dc.select(Font::create(lf));
}

// drawtext L T R B FLAGS "TEXT"; with measure-only prints "L T R B H".
void drawtext(ScriptState& s, const Args& a)
{
    a.expectCount(6);
    Rect r { a.number(0), a.number(1), a.number(2), a.number(3) };
    const int flags = a.number(4);
    if (flags < 0)
        throw ScriptError("text flags must not be negative");
    const std::string text = a.text(5);
    if (!(unsigned(flags) & DT_CALCRECT))
        s.requireSurface();
    const int height = drawText(s.dc, text, r, unsigned(flags));
    if (unsigned(flags) & DT_CALCRECT)
        *s.out << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom << ' ' << height
               << '\n';
}

const CommandRegistrar registrar {
    { "font", font },
    { "drawtext", drawtext },
};

} // namespace

} // namespace qm::tools
