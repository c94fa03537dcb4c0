// Labels as pixels: back, border, colours, font, alignment, wrapping and the "&" prefix, compared
// with the raster layer's own text drawing of the same caption in the same rectangle.
#include "platform/forms/form_description.h"
#include "platform/raster/syscolor.h"
#include "platform/raster/text.h"
#include "tests/forms/support/forms_fixture.h"
#include "tests/raster/support/surface.h"

#include <QImage>
#include <QTest>
#include <QWidget>
#include <optional>

namespace qm::forms::test {
namespace {

using gfx::testing::Surface;

const gfx::ColorRef kGreen = gfx::rgb(0, 255, 0);
const gfx::ColorRef kBlack = gfx::rgb(0, 0, 0);

// 8.25 pt at 96 dots per inch is an 11-pixel character height; 10 pt is 13.
const gfx::LogFont kSansSerif { -11, 400, false, false, false, "MS Sans Serif" };
const gfx::LogFont kLink { -11, 400, false, true, false, "Tahoma" };

class TfrmLabel : public Form {
public:
    TfrmLabel()
        : Form("frmLabel")
    {
    }
    Label Label1 { this, "Label1" };
};

// The form is 300 x 100 pixels; the label sits at (20, 20) in it.
constexpr int kLabelX = 20;
constexpr int kLabelY = 20;

class Labels : public FormsTest {
protected:
    // Shows frmLabel with Label1 described by `settings` (its Width and Height in twips), after
    // painting green on the form's persistent image under the left half of the label.
    QImage show(TfrmLabel& frm, const std::string& settings)
    {
        registerFormDescription(
            R"({"Form": "frmLabel", "Settings": {"Caption": "", "ControlBox": false,
                "ClientWidth": 4500, "ClientHeight": 1500, "StartUpPosition": 2,
                "BackColor": {"color": "0x8000000F"}, "AutoRedraw": true},
              "Controls": [{"Name": "Label1", "Type": "Label",
                            "Settings": {"Left": 300, "Top": 300, )"
                + settings + "}}]}",
            "label_test");
        frm.Show();
        form = widgetOf(frm.hWnd());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        frm.hDC().fillRect({ kLabelX, kLabelY, kLabelX + int(frm.Label1.Width() / 30),
                               kLabelY + int(frm.Label1.Height() / 15) },
            gfx::Brush::solid(kGreen));
        return grab();
    }
    QImage grab()
    {
        DoEvents();
        return form->grab().toImage();
    }
    // What lies under the label: the form's colour, green on its left half.
    static Surface under(int w, int h)
    {
        Surface s(w, h, gfx::GetSysColor(15));
        s.dc.fillRect({ 0, 0, w / 2, h }, gfx::Brush::solid(kGreen));
        return s;
    }
    // The label's pixels grabbed from the form, as colour values.
    static gfx::ColorRef at(const QImage& shot, int x, int y)
    {
        return gfx::fromPixel(shot.pixel(kLabelX + x, kLabelY + y));
    }

    QWidget* form = nullptr;
};

struct LabelCase {
    const char* name;
    const char* settings;
    int width, height; // pixels (the settings' twips / 15)
    std::string caption; // as the raster layer is given it
    gfx::LogFont font;
    unsigned align;
    bool border;
    std::optional<gfx::ColorRef> back; // none: transparent
    gfx::ColorRef ink;
    int lines; // text lines that hold ink
};

void PrintTo(const LabelCase& c, std::ostream* os)
{
    *os << c.name;
}

class LabelLooks : public Labels, public ::testing::WithParamInterface<LabelCase> { };

TEST_P(LabelLooks, MatchTheRasterLayersTextAndKeepToTheirRectangle)
{
    const LabelCase& c = GetParam();
    TfrmLabel frm;
    const QImage shot = show(frm, c.settings);
    const int w = c.width, h = c.height;

    // The same label drawn independently: what is under it, back, border, caption.
    Surface expected = under(w, h);
    if (c.back)
        expected.dc.fillRect({ 0, 0, w, h }, gfx::Brush::solid(*c.back));
    gfx::Rect inner { 0, 0, w, h };
    if (c.border) {
        for (int x = 0; x < w; ++x) {
            expected.bitmap.setPixel(x, 0, kBlack);
            expected.bitmap.setPixel(x, h - 1, kBlack);
        }
        for (int y = 0; y < h; ++y) {
            expected.bitmap.setPixel(0, y, kBlack);
            expected.bitmap.setPixel(w - 1, y, kBlack);
        }
        inner = { 1, 1, w - 1, h - 1 };
    }
    const gfx::Bitmap withoutText = expected.bitmap.clone();
    const gfx::Font font = gfx::Font::create(c.font);
    expected.dc.select(font);
    expected.dc.setTextColor(c.ink);
    expected.dc.setBkMode(gfx::kTransparent);
    gfx::Rect r = inner;
    gfx::drawText(expected.dc, c.caption, r, gfx::DT_WORDBREAK | c.align);

    const int lineHeight = font.metrics().height;
    std::vector<bool> inkOnLine(std::size_t(c.lines + 1), false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const gfx::ColorRef got = at(shot, x, y);
            ASSERT_EQ(got, expected.bitmap.pixel(x, y)) << "at " << x << ", " << y;
            if (got == withoutText.pixel(x, y))
                continue;
            // Anything but back and border is the caption, in the fore colour.
            ASSERT_EQ(got, c.ink) << "at " << x << ", " << y;
            inkOnLine[std::size_t(std::min((y - inner.top) / lineHeight, c.lines))] = true;
        }
    }
    for (int line = 0; line < c.lines; ++line)
        EXPECT_TRUE(inkOnLine[std::size_t(line)]) << "no ink on line " << line;
    EXPECT_FALSE(inkOnLine[std::size_t(c.lines)]) << "ink below the last line";

    // Nothing of the label lands outside its rectangle.
    const QRect label(kLabelX, kLabelY, w, h);
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (!label.contains(x, y)) {
                ASSERT_EQ(gfx::fromPixel(shot.pixel(x, y)), gfx::GetSysColor(15))
                    << "at " << x << ", " << y;
            }
        }
    }
}

const std::string kFreeware
    = "Questo programma \xC3\xA8 in versione freeware. Controlla eventuali aggiornamenti su:";

INSTANTIATE_TEST_SUITE_P(Forms, LabelLooks,
    ::testing::Values(LabelCase { "FormDefaults",
                          R"("Width": 1500, "Height": 195, "Caption": "Versione italiana")", 100,
                          13, "Versione italiana", kSansSerif, gfx::DT_LEFT, false,
                          gfx::GetSysColor(15), gfx::GetSysColor(18), 1 },
        LabelCase { "Link",
            R"("Width": 2100, "Height": 195, "Caption": "Licenza pubblica generale",
               "ForeColor": {"color": "0x00FF0000"},
               "Font": {"font": {"name": "Tahoma", "size": 8.25, "weight": 400, "charset": 0,
                                 "underline": true}})",
            140, 13, "Licenza pubblica generale", kLink, gfx::DT_LEFT, false, gfx::GetSysColor(15),
            gfx::rgb(0, 0, 255), 1 },
        LabelCase { "FlatFrame",
            R"("Width": 675, "Height": 675, "BorderStyle": {"int16": 1},
               "BackColor": {"color": "0x80000005"})",
            45, 45, "", kSansSerif, gfx::DT_LEFT, true, gfx::GetSysColor(5), kBlack, 0 },
        LabelCase { "TransparentHotSpot",
            R"("Width": 195, "Height": 195, "BackStyle": {"int16": 0})", 13, 13, "", kSansSerif,
            gfx::DT_LEFT, false, std::nullopt, kBlack, 0 },
        LabelCase { "TransparentWithBorderAndStyledFont",
            R"("Width": 1500, "Height": 300, "BackStyle": {"int16": 0}, "BorderStyle": {"int16": 1},
               "ForeColor": {"color": "0x000000FF"},
               "Font": {"font": {"name": "Arial", "size": 10, "weight": 700, "italic": true,
                                 "strikethrough": true}},
               "Caption": "Errore")",
            100, 20, "Errore", gfx::LogFont { -13, 700, true, false, true, "Arial" }, gfx::DT_LEFT,
            true, std::nullopt, gfx::rgb(255, 0, 0), 1 },
        LabelCase { "WrapsAtWordsCentred",
            R"("Width": 4095, "Height": 375, "Alignment": {"int16": 2}, "Caption": ")"
            "Questo programma \xC3\xA8 in versione freeware. Controlla eventuali aggiornamenti "
            "su:\"",
            273, 25, kFreeware, kSansSerif, gfx::DT_CENTER, false, gfx::GetSysColor(15),
            gfx::GetSysColor(18), 2 },
        LabelCase { "BreaksAtCrLfRightAligned",
            R"("Width": 2400, "Height": 600, "Alignment": {"int16": 1},
               "Caption": "Errore: 2:\r\nNo such file")",
            160, 40, "Errore: 2:\r\nNo such file", kSansSerif, gfx::DT_RIGHT, false,
            gfx::GetSysColor(15), gfx::GetSysColor(18), 2 },
        LabelCase { "LongWordOverflowsAndIsClipped",
            R"("Width": 600, "Height": 195, "Caption": "Supercalifragilistichespiralidoso")", 40,
            13, "Supercalifragilistichespiralidoso", kSansSerif, gfx::DT_LEFT, false,
            gfx::GetSysColor(15), gfx::GetSysColor(18), 1 }),
    [](const auto& p) { return std::string(p.param.name); });

// Ink of a label drawn with `caption` as a mask (true where the pixel differs from the back).
std::vector<std::vector<bool>> inkOf(const QImage& shot, int w, int h, gfx::ColorRef back)
{
    std::vector<std::vector<bool>> ink(std::size_t(h), std::vector<bool>(std::size_t(w), false));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ink[std::size_t(y)][std::size_t(x)]
                = gfx::fromPixel(shot.pixel(kLabelX + x, kLabelY + y)) != back;
    return ink;
}

TEST_F(Labels, AlignmentShiftsTheCaptionByTheRoomLeftOnItsLine)
{
    constexpr int w = 150, h = 13;
    const char* base = R"("Width": 2250, "Height": 195, "Caption": "Info...")";
    const gfx::ColorRef back = gfx::GetSysColor(15);
    Surface measure(1, 1);
    measure.dc.select(gfx::Font::create(kSansSerif));
    const int room = w - gfx::textExtent(measure.dc, "Info...").width;
    ASSERT_GT(room, 40);

    std::vector<std::vector<bool>> left;
    {
        TfrmLabel frm;
        left = inkOf(show(frm, base), w, h, back);
        Unload(frm);
    }
    for (const auto& [alignment, shift] : { std::pair { 1, room }, std::pair { 2, room / 2 } }) {
        SCOPED_TRACE(alignment);
        TfrmLabel frm;
        const auto ink = inkOf(show(frm,
                                   std::string(base) + R"(, "Alignment": {"int16": )"
                                       + std::to_string(alignment) + "}"),
            w, h, back);
        int inked = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool fromLeft = x >= shift && left[std::size_t(y)][std::size_t(x - shift)];
                EXPECT_EQ(ink[std::size_t(y)][std::size_t(x)], fromLeft) << x << ", " << y;
                inked += fromLeft;
            }
        EXPECT_GT(inked, 20);
        Unload(frm);
    }
}

TEST_F(Labels, AmpersandUnderlinesTheNextCharacterAndADoubleOneShowsItself)
{
    struct Case {
        const char* caption; // as described
        const char* shown;
        int underlined; // index in `shown`, -1 for none
    };
    const Case cases[] = {
        { "&Versione", "Versione", 0 },
        { "Ver&sione", "Versione", 3 },
        { "Rock && Roll", "Rock & Roll", -1 },
    };
    constexpr int w = 120, h = 13;
    const gfx::Font font = gfx::Font::create(kSansSerif);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        TfrmLabel frm;
        const QImage shot = show(
            frm, R"("Width": 1800, "Height": 195, "Caption": ")" + std::string(c.caption) + "\"");
        // The shown text drawn without prefix handling: the label differs only by its underline.
        Surface plain(w, h, gfx::GetSysColor(15));
        plain.dc.select(font);
        plain.dc.setBkMode(gfx::kTransparent);
        gfx::Rect r { 0, 0, w, h };
        gfx::drawText(plain.dc, c.shown, r, gfx::DT_WORDBREAK | gfx::DT_NOPREFIX);

        int from = w, to = -1, row = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const gfx::ColorRef got = at(shot, x, y);
                if (got == plain.bitmap.pixel(x, y))
                    continue;
                EXPECT_EQ(got, gfx::GetSysColor(18)) << x << ", " << y;
                EXPECT_TRUE(row < 0 || row == y) << "differs on rows " << row << " and " << y;
                row = y;
                from = std::min(from, x);
                to = std::max(to, x + 1);
            }
        if (c.underlined < 0) {
            EXPECT_EQ(row, -1);
        } else {
            const std::string shown = c.shown;
            const int x0
                = gfx::textExtent(plain.dc, shown.substr(0, std::size_t(c.underlined))).width;
            const int x1
                = x0 + gfx::textExtent(plain.dc, shown.substr(std::size_t(c.underlined), 1)).width;
            EXPECT_EQ(from, x0);
            EXPECT_EQ(to, x1);
            EXPECT_GT(row, font.metrics().ascent - 1); // under the letters' base line
        }
        Unload(frm);
    }
}

TEST_F(Labels, ShowTheCaptionFontAndColourSetWhileShown)
{
    TfrmLabel frm;
    show(frm, R"("Width": 1830, "Height": 195, "Caption": "lblVersione")");
    frm.Label1.Caption = "Quillmere v.1.00.0000";
    StdFont link;
    link.Name = "Tahoma";
    link.Underline = true;
    frm.Label1.Font = link;
    frm.Label1.ForeColor = 0x00FF0000;
    frm.Label1.BackStyle = 0;
    const QImage shot = grab();

    Surface expected = under(122, 13);
    expected.dc.select(gfx::Font::create(kLink));
    expected.dc.setTextColor(gfx::rgb(0, 0, 255));
    expected.dc.setBkMode(gfx::kTransparent);
    gfx::Rect r { 0, 0, 122, 13 };
    gfx::drawText(expected.dc, "Quillmere v.1.00.0000", r, gfx::DT_WORDBREAK);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 122; ++x)
            ASSERT_EQ(at(shot, x, y), expected.bitmap.pixel(x, y)) << x << ", " << y;
}

// A disabled label shows its caption engraved: the shadow colour over a highlight one pixel down
// and right; enabled again, it is drawn in its fore colour.
TEST_F(Labels, ADisabledLabelShowsItsCaptionEngraved)
{
    TfrmLabel frm;
    const QImage disabled
        = show(frm, R"("Width": 1500, "Height": 300, "Caption": "Errore", "Enabled": false)");
    Surface expected(100, 20, gfx::GetSysColor(15));
    expected.dc.select(gfx::Font::create(kSansSerif));
    expected.dc.setBkMode(gfx::kTransparent);
    gfx::Rect shifted { 1, 1, 101, 21 }, r { 0, 0, 100, 20 };
    expected.dc.setTextColor(gfx::GetSysColor(20));
    gfx::drawText(expected.dc, "Errore", shifted, gfx::DT_WORDBREAK);
    expected.dc.setTextColor(gfx::GetSysColor(16));
    gfx::drawText(expected.dc, "Errore", r, gfx::DT_WORDBREAK);
    int shadow = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x) {
            ASSERT_EQ(at(disabled, x, y), expected.bitmap.pixel(x, y)) << x << ", " << y;
            shadow += at(disabled, x, y) == gfx::GetSysColor(16);
        }
    EXPECT_GT(shadow, 20); // the caption is there

    frm.Label1.Enabled = true;
    const QImage enabled = grab();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x) {
            const gfx::ColorRef c = at(enabled, x, y);
            EXPECT_TRUE(c != gfx::GetSysColor(16) && c != gfx::GetSysColor(20)) << x << ", " << y;
        }
}

} // namespace
} // namespace qm::forms::test
