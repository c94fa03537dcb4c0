#include "platform/raster/dc.h"
#include "tests/forms/support/forms_fixture.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace qm::forms::test {
namespace {

// A 32 x 32 monochrome cursor file with its hot spot at (12, 9).
PictureData cursorFile()
{
    std::vector<std::uint8_t> b;
    auto u16 = [&](int v) {
        b.push_back(std::uint8_t(v));
        b.push_back(std::uint8_t(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(std::uint8_t(v >> (8 * i)));
    };
    const std::uint32_t imageSize = 40 + 8 + 128 + 128;
    u16(0), u16(2), u16(1); // cursor directory, one image
    b.push_back(32), b.push_back(32), b.push_back(2), b.push_back(0);
    u16(12), u16(9), u32(imageSize), u32(22);
    u32(40), u32(32), u32(64), u16(1), u16(1), u32(0), u32(256), u32(0), u32(0), u32(2), u32(0);
    u32(0x000000), u32(0xFFFFFF); // palette
    for (int i = 0; i < 128; ++i)
        b.push_back(i % 8 < 4 ? 0xFF : 0x00); // XOR
    for (int i = 0; i < 128; ++i)
        b.push_back(0x00); // AND: all opaque
    return PictureData { b };
}

class Host : public FormsTest {
protected:
    void show()
    {
        frm.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(frm.hWnd())));
    }
    QWindow* window() { return widgetOf(frm.hWnd())->windowHandle(); }
    // A point of Probe1 in the form's client pixels.
    QPoint onProbe1(int x, int y) { return QPoint(176 + x, 96 + y); }
    QRgb screenPixel(const QPoint& client)
    {
        const QPoint g = widgetOf(frm.hWnd())->mapToGlobal(client);
        return QGuiApplication::primaryScreen()
                   ->grabWindow(0, g.x(), g.y(), 1, 1)
                   .toImage()
                   .pixel(0, 0)
            & 0xFFFFFF;
    }
    TfrmProbe frm;
};

TEST_F(Host, ControlsAreCreatedFromTheirStoredBagsInTheRuntimesOrder)
{
    show();
    EXPECT_EQ(eventsOf("Probe1"),
        (std::vector<std::string> {
            "ReadProperties &Ok", "Resize", "Show", "AmbientChanged DisplayAsDefault True" }));
    EXPECT_EQ(eventsOf("Probe2"),
        (std::vector<std::string> { "ReadProperties &Info...", "Resize", "Show" }));
    EXPECT_FALSE(logOf("Probe1.Paint").empty()); // exposed
    // Keys of the stored bag are found whatever their case.
    EXPECT_EQ(frm.Probe2->caption, "&Info...");
    EXPECT_EQ(frm.Probe2->color, 0xFF0000u);
    EXPECT_EQ(frm.Probe2->weight, 7);
    Unload(frm);
    EXPECT_EQ(eventsOf("Probe1").back(), "Terminate");
}

TEST_F(Host, FacilitiesHaveTheirMeaning)
{
    UserControlHost& h = frm.Probe1->host();
    EXPECT_EQ(h.ScaleWidth(), 61);
    EXPECT_EQ(h.ScaleHeight(), 25);
    EXPECT_EQ(h.hWnd(), frm.Probe1.hWnd());
    EXPECT_EQ(h.ContainerHwnd(), frm.hWnd());
    EXPECT_EQ(h.Tag(), std::to_string(frm.hWnd())); // written by ReadProperties
    EXPECT_EQ(h.AccessKeys(), "O");
    EXPECT_EQ(h.Width(), 915);
    EXPECT_EQ(h.ScaleX(61, vbPixels, vbTwips), 915);
    EXPECT_EQ(h.ScaleX(1440, vbTwips, vbHimetric), 2540);
    const AmbientProperties a = h.Ambient();
    EXPECT_EQ(a.DisplayName, "Probe1");
    EXPECT_TRUE(a.UserMode);
    EXPECT_EQ(a.BackColor, 0x8000000Fu);
    EXPECT_EQ(h.Parent().ScaleMode, vbTwips);
    EXPECT_FALSE(h.Parent().IsMDIForm);
    EXPECT_EQ(h.Parent().Font.Name, "MS Sans Serif");
    gfx::DC dc = h.hDC();
    ASSERT_TRUE(dc);
    EXPECT_EQ(dc.bitmap().width(), 61);
    // Sizing reaches the control at once, with a new surface of the new size.
    probeLog().clear();
    h.Size(1500, 600);
    EXPECT_EQ(h.ScaleWidth(), 100);
    EXPECT_EQ(h.ScaleHeight(), 40);
    EXPECT_EQ(h.hDC().bitmap().width(), 100);
    EXPECT_EQ(eventsOf("Probe1"), (std::vector<std::string> { "Resize" }));
    // The ambient back colour changes with the form's.
    frm.BackColor = 0x00FFFFFF;
    EXPECT_EQ(eventsOf("Probe1").back(), "AmbientChanged BackColor False");
    EXPECT_EQ(h.Ambient().BackColor, 0x00FFFFFFu);
}

TEST_F(Host, MouseIconAcceptsIconsAndCursorsOnly)
{
    UserControlHost& h = frm.Probe1->host();
    const PictureData cur = cursorFile();
    h.setMouseIcon(cur);
    h.setMousePointer(vbCustom);
    const QCursor c = widgetOf(frm.Probe1.hWnd())->cursor();
    EXPECT_EQ(c.shape(), Qt::BitmapCursor);
    EXPECT_EQ(c.hotSpot(), QPoint(12, 9));
    EXPECT_EQ(c.pixmap().size(), QSize(32, 32));
    const PictureData notAnIcon { { 'B', 'M', 0, 0, 0, 0, 0, 0 } };
    try {
        h.setMouseIcon(notAnIcon);
        FAIL() << "a bitmap was taken as mouse icon";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), errInvalidPropertyValue);
    }
    EXPECT_EQ(h.MouseIcon(), cur); // the old icon stays
    EXPECT_THROW(h.setMousePointer(42), RuntimeError);
    EXPECT_EQ(h.MousePointer(), vbCustom);
}

TEST_F(Host, PressAndReleaseRaiseMouseDownMouseUpThenClick)
{
    show();
    probeLog().clear();
    QTest::mouseClick(window(), Qt::LeftButton, {}, onProbe1(10, 5));
    QTest::mouseClick(window(), Qt::RightButton, Qt::ShiftModifier, onProbe1(20, 6));
    // Pressed on the control, released outside it: no Click.
    QTest::mousePress(window(), Qt::LeftButton, {}, onProbe1(30, 12));
    QTest::mouseRelease(window(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(eventsOf("Probe1"),
        (std::vector<std::string> { "GotFocus", "MouseDown 1 0 10 5", "MouseUp 1 0 10 5", "Click",
            "MouseDown 2 1 20 6", "MouseUp 2 1 20 6", "MouseDown 1 0 30 12",
            "MouseUp 1 0 -171 -91" }));
    EXPECT_EQ(frm.events.back(), "Probe1_Click");
}

TEST_F(Host, ADoubleClickArrivesAsDblClickInPlaceOfTheSecondPress)
{
    show();
    frm.Probe1.SetFocus();
    probeLog().clear();
    QTest::mouseDClick(window(), Qt::LeftButton, {}, onProbe1(10, 5));
    EXPECT_EQ(eventsOf("Probe1"),
        (std::vector<std::string> {
            "MouseDown 1 0 10 5", "MouseUp 1 0 10 5", "Click", "DblClick", "MouseUp 1 0 10 5" }));
}

TEST_F(Host, TheWindowRegionShapesWhatIsShownAndWhereTheMouseReaches)
{
    show();
    const WindowId p = frm.Probe1.hWnd();
    ASSERT_TRUE(SetWindowRgn(p, gfx::Region::ellipse({ 0, 0, 61, 25 })));
    DoEvents();
    probeLog().clear();
    frm.events.clear();
    // The corner is outside the ellipse: the press goes to the form.
    QTest::mouseClick(window(), Qt::LeftButton, {}, onProbe1(1, 1));
    EXPECT_TRUE(eventsOf("Probe1").empty());
    EXPECT_EQ(frm.events, (std::vector<std::string> { "Click" }));
    // Inside, the control takes it and the form sees nothing.
    frm.events.clear();
    QTest::mouseClick(window(), Qt::LeftButton, {}, onProbe1(30, 12));
    EXPECT_EQ(frm.events, (std::vector<std::string> { "Probe1_Click" }));
    // Red surface inside the shape; the form's button face outside.
    EXPECT_EQ(screenPixel(onProbe1(30, 12)), 0xFF0000u);
    EXPECT_EQ(screenPixel(onProbe1(0, 0)), 0xD4D0C8u);
}

TEST_F(Host, RefreshShowsTheSurfaceWithoutRaisingPaint)
{
    show();
    Probe& p = frm.Probe1.object();
    probeLog().clear();
    gfx::DC dc = p.host().hDC();
    dc.fillRect({ 0, 0, 61, 25 }, gfx::Brush::solid(0xFF0000)); // blue
    p.host().Refresh();
    EXPECT_TRUE(logOf("Probe1.Paint").empty());
    EXPECT_EQ(screenPixel(onProbe1(30, 12)), 0x0000FFu);
    // A Refresh inside Paint does not paint again.
    p.refreshInPaint = true;
    widgetOf(frm.Probe1.hWnd())->repaint();
    EXPECT_EQ(logOf("Probe1.Paint").size(), 1u);
}

TEST_F(Host, AClickHandlerMayUnloadTheFormThatHoldsTheControl)
{
    show();
    frm.onProbe1Click = [this] { Unload(frm); };
    probeLog().clear();
    QTest::mouseClick(window(), Qt::LeftButton, {}, onProbe1(10, 5));
    EXPECT_FALSE(frm.IsLoaded());
    DoEvents();
    // Nothing reached the control after it ended.
    const auto ev = eventsOf("Probe1");
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev.back(), "Terminate");
    EXPECT_EQ(std::count(ev.begin(), ev.end(), "Click"), 1);
    // The same from the keyboard: Enter on the default button clicks it.
    frm.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(widgetOf(frm.hWnd())));
    frm.onProbe1Click = [this] { Unload(frm); };
    probeLog().clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(frm.IsLoaded());
    DoEvents();
    EXPECT_EQ(eventsOf("Probe1"),
        (std::vector<std::string> { "AccessKeyPress 13", "Click", "Terminate" }));
}

TEST_F(Host, ADisabledControlGetsNoInput)
{
    show();
    frm.Probe1.Enabled = false;
    probeLog().clear();
    QTest::mouseClick(window(), Qt::LeftButton, {}, onProbe1(10, 5));
    EXPECT_TRUE(eventsOf("Probe1").empty());
}

TEST_F(Host, AnUnhandledErrorInAHandlerIsReportedAndTheEventAbandoned)
{
    show();
    frm.onProbe1Click = [] { Raise(errFileNotFound); };
    QTest::mouseClick(window(), Qt::LeftButton, {}, onProbe1(10, 5));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Number(), errFileNotFound);
    EXPECT_EQ(errors[0].Description(), "File not found");
    EXPECT_TRUE(frm.IsLoaded());
}

// Resize comes with every change of size, once, whether the form is on screen or only loaded.
class HostResize : public Host, public ::testing::WithParamInterface<bool> { };

TEST_P(HostResize, EachChangeOfSizeRaisesResizeOnce)
{
    const bool shownFirst = GetParam();
    Load(frm);
    if (shownFirst)
        show();
    std::vector<int>& seen = frm.Probe1->resizeWidths;
    seen.clear();
    frm.Probe1.Width = 1500.0; // 100 pixels
    DoEvents();
    frm.Probe1.Height = 600.0;
    DoEvents();
    frm.Probe1.Move(0, 0, 1500.0, 600.0); // moved, same size
    frm.Probe1.Width = 1500.0;
    DoEvents();
    frm.Probe1->host().Size(1800, 600); // through the control's own host
    DoEvents();
    EXPECT_EQ(seen, (std::vector<int> { 100, 100, 120 }));
    EXPECT_EQ(frm.Probe1->host().ScaleHeight(), 40);
    if (!shownFirst) {
        show(); // the size held back until now is no news to the control
        DoEvents();
        EXPECT_EQ(seen, (std::vector<int> { 100, 100, 120 }));
    }
    EXPECT_EQ(frm.Probe1->host().hDC().bitmap().width(), 120);
}

INSTANTIATE_TEST_SUITE_P(ShownOrHidden, HostResize, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Shown" : "LoadedOnly"; });

} // namespace
} // namespace qm::forms::test
