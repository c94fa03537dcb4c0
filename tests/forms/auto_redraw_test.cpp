#include "platform/forms/program.h"
#include "platform/raster/dc.h"
#include "tests/forms/support/forms_fixture.h"

#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <string>

namespace qm::forms::test {
namespace {

constexpr gfx::ColorRef kGreen = gfx::rgb(0, 255, 0);
constexpr gfx::ColorRef kBlue = gfx::rgb(0, 0, 255);
constexpr gfx::ColorRef kBlack = 0;

// A black form that starts with AutoRedraw on; its Paint handler draws a blue square.
class TfrmCanvas : public Form {
public:
    TfrmCanvas()
        : Form("frmCanvas")
    {
    }
    int paints = 0;

protected:
    void Form_Paint() override
    {
        ++paints;
        hDC().fillRect({ 60, 20, 70, 30 }, gfx::Brush::solid(kBlue));
    }
};

class AutoRedraw : public FormsTest {
protected:
    QWidget* showCanvas()
    {
        canvas.Show();
        QWidget* w = widgetOf(canvas.hWnd());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        DoEvents();
        return w;
    }
    // What the window system holds for the window (not a fresh rendering of it).
    static gfx::ColorRef shown(QWidget* w, int x, int y)
    {
        const QRgb c = w->screen()->grabWindow(w->winId()).toImage().pixel(x, y);
        return gfx::rgb(std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c)));
    }
    // Draws a green square on the persistent image, switches AutoRedraw off and copies the
    // square straight onto the window, as the desktop effect does.
    void pictureThenDirectCopy(QWidget* w)
    {
        canvas.hDC().fillRect({ 10, 10, 30, 30 }, gfx::Brush::solid(kGreen));
        DoEvents();
        EXPECT_EQ(shown(w, 15, 15), kGreen);
        canvas.AutoRedraw = false;
        // The window's image is the persistent one before anything is shown again.
        EXPECT_EQ(canvas.hDC().pixel(15, 15), kGreen);
        canvas.hDC().bitBlt({ 120, 40, 140, 60 }, canvas.hDC(), { 10, 10 }, gfx::SRCCOPY);
        EXPECT_EQ(canvas.hDC().pixel(125, 45), kGreen);
        DoEvents();
        EXPECT_EQ(shown(w, 125, 45), kGreen);
        // Showing the surface and grabbing the window are no exposes.
        w->grab();
        EXPECT_EQ(canvas.paints, 0);
    }

    TfrmCanvas canvas;
};

enum class Expose { Update, Repaint, HideShow };
struct ExposeCase {
    Expose how;
    bool autoRedrawBack; // AutoRedraw switched on again before the expose
};

class AutoRedrawExpose : public AutoRedraw, public ::testing::WithParamInterface<ExposeCase> { };

// An expose brings the persistent image back over what was drawn straight on the window; with
// AutoRedraw off it also raises Paint, whose drawing shows.
TEST_P(AutoRedrawExpose, RestoresThePersistentImage)
{
    const ExposeCase c = GetParam();
    QWidget* w = showCanvas();
    EXPECT_EQ(canvas.paints, 0); // shown with AutoRedraw on
    pictureThenDirectCopy(w);
    if (c.autoRedrawBack) {
        canvas.AutoRedraw = true;
        // The persistent image never had the direct copy.
        EXPECT_EQ(canvas.hDC().pixel(125, 45), kBlack);
    }
    switch (c.how) {
    case Expose::Update:
        w->update();
        DoEvents();
        break;
    case Expose::Repaint:
        w->repaint();
        break;
    case Expose::HideShow:
        w->hide();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        DoEvents();
        break;
    }
    DoEvents(); // what Paint drew
    EXPECT_EQ(shown(w, 15, 15), kGreen);
    EXPECT_EQ(shown(w, 125, 45), kBlack);
    EXPECT_EQ(canvas.paints, c.autoRedrawBack ? 0 : 1);
    EXPECT_EQ(shown(w, 65, 25), c.autoRedrawBack ? kBlack : kBlue);
}

std::string caseName(const ::testing::TestParamInfo<ExposeCase>& info)
{
    static const char* const how[] = { "Update", "Repaint", "HideShow" };
    return std::string(how[int(info.param.how)])
        + (info.param.autoRedrawBack ? "WithAutoRedrawOn" : "WithAutoRedrawOff");
}

INSTANTIATE_TEST_SUITE_P(Exposes, AutoRedrawExpose,
    ::testing::Values(ExposeCase { Expose::Update, false }, ExposeCase { Expose::Repaint, false },
        ExposeCase { Expose::HideShow, false }, ExposeCase { Expose::Update, true },
        ExposeCase { Expose::HideShow, true }),
    caseName);

TEST_F(AutoRedraw, ResizingKeepsWhatFitsAndExposesOnlyTheNewPart)
{
    QWidget* w = showCanvas();
    pictureThenDirectCopy(w);
    const QSize old = w->size();
    w->resize(old + QSize(40, 20));
    ASSERT_TRUE(waitFor([&] { return canvas.paints > 0; }));
    DoEvents();
    EXPECT_EQ(canvas.hDC().bitmap().size(), (gfx::Size { old.width() + 40, old.height() + 20 }));
    EXPECT_EQ(shown(w, 15, 15), kGreen);
    EXPECT_EQ(shown(w, 125, 45), kGreen); // drawn straight on the window, and kept
    EXPECT_EQ(shown(w, old.width() + 20, 5), kBlack);
    EXPECT_EQ(canvas.paints, 1);
    canvas.AutoRedraw = true;
    EXPECT_EQ(canvas.hDC().pixel(15, 15), kGreen);
    EXPECT_EQ(canvas.hDC().pixel(old.width() + 20, 5), kBlack); // grown with the back colour
}

// A pass over the queue repaints just what drawing through the context changed (through a
// context kept from before as well): a pixel changed behind the context's back elsewhere is
// not shown until Refresh, which shows the whole image and raises no Paint.
TEST_F(AutoRedraw, PassesOverTheQueueShowOnlyWhatWasDrawnAndRefreshShowsAll)
{
    QWidget* w = showCanvas();
    canvas.AutoRedraw = false;
    gfx::DC kept = canvas.hDC();
    DoEvents();
    gfx::Bitmap(kept.bitmap()).setPixel(150, 50, kGreen); // not through the context
    kept.fillRect({ 100, 10, 110, 20 }, gfx::Brush::solid(kGreen));
    DoEvents();
    EXPECT_EQ(shown(w, 105, 15), kGreen);
    EXPECT_EQ(shown(w, 150, 50), kBlack);
    canvas.Refresh();
    EXPECT_EQ(shown(w, 150, 50), kGreen);
    EXPECT_EQ(canvas.paints, 0);
}

// A new back colour clears what was drawn, persistent or not, and the window shows it.
TEST_F(AutoRedraw, ANewBackColorClearsTheDrawing)
{
    QWidget* w = showCanvas();
    pictureThenDirectCopy(w);
    canvas.BackColor = 0x0000FF; // red
    DoEvents();
    EXPECT_EQ(shown(w, 15, 15), gfx::rgb(255, 0, 0));
    EXPECT_EQ(shown(w, 125, 45), gfx::rgb(255, 0, 0));
    canvas.AutoRedraw = true;
    EXPECT_EQ(canvas.hDC().pixel(15, 15), gfx::rgb(255, 0, 0));
}

} // namespace
} // namespace qm::forms::test
