#include "platform/forms/form_description.h"
#include "platform/raster/dc.h"
#include "tests/forms/support/forms_fixture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace qm::forms::test {
namespace {

class Forms : public FormsTest { };

class TfrmNamed : public Form {
public:
    explicit TfrmNamed(const std::string& name)
        : Form(name)
    {
    }
};

TEST_F(Forms, FirstUseOfAMemberLoadsTheFormOnce)
{
    TfrmProbe frm;
    EXPECT_FALSE(frm.IsLoaded());
    frm.Text1.Text = "Errore: 2:\r\nNo such file or directory";
    EXPECT_TRUE(frm.IsLoaded());
    EXPECT_EQ(frm.loads, 1);
    EXPECT_FALSE(frm.Visible); // loaded, not shown
    EXPECT_EQ(std::string(frm.Text1.Text), "Errore: 2:\r\nNo such file or directory");
    frm.Caption = frm.Caption + " v.1.00.0000";
    EXPECT_EQ(frm.Caption(), "Probe v.1.00.0000");
    EXPECT_EQ(frm.loads, 1);
    // The text box shows the CR LF as a line break.
    auto* edit = widgetOf(frm.Text1.hWnd());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(
        edit->property("plainText").toString(), QString("Errore: 2:\nNo such file or directory"));
}

TEST_F(Forms, ClientAreaAndControlsAreLaidOutInTwips)
{
    TfrmProbe frm;
    QWidget* w = widgetOf(frm.hWnd());
    EXPECT_EQ(w->size(), QSize(312, 124)); // 4680 x 1860 twips
    EXPECT_EQ(frm.ScaleWidth(), 4680);
    EXPECT_EQ(widgetOf(frm.Probe1.hWnd())->geometry(), QRect(176, 96, 61, 25));
    EXPECT_EQ(frm.Probe1.Left(), 2640);
    frm.Probe1.Left = 3000;
    EXPECT_EQ(widgetOf(frm.Probe1.hWnd())->x(), 200);
    EXPECT_EQ(w->windowTitle(), QString("Probe"));
    EXPECT_FALSE(w->windowIcon().isNull());
    frm.Show();
    // Centred on the screen.
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(w->frameGeometry().center().x(), s.center().x(), 1);
    EXPECT_NEAR(w->frameGeometry().center().y(), s.center().y(), 1);
}

TEST_F(Forms, NoControlBoxAndNoCaptionMeansNoTitleBar)
{
    TfrmPlain frm;
    QWidget* w = widgetOf(frm.hWnd());
    EXPECT_FALSE(w->windowFlags() & Qt::WindowTitleHint);
    EXPECT_TRUE(w->windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_FALSE(w->windowFlags() & Qt::FramelessWindowHint); // the border stays
    TfrmProbe titled;
    EXPECT_TRUE(widgetOf(titled.hWnd())->windowFlags() & Qt::WindowTitleHint);
}

// The title bar offers what the form's settings ask for and nothing more; fixed borders do not
// resize.
TEST_F(Forms, TitleBarButtonsFollowTheBorderAndButtonSettings)
{
    constexpr Qt::WindowFlags title = Qt::WindowTitleHint, menu = Qt::WindowSystemMenuHint,
                              close = Qt::WindowCloseButtonHint, min = Qt::WindowMinimizeButtonHint,
                              max = Qt::WindowMaximizeButtonHint;
    const Qt::WindowFlags box = title | menu | close;
    struct Case {
        const char* settings;
        Qt::WindowFlags buttons;
        bool fixed;
    } cases[] = {
        { R"("BorderStyle": 2)", box | min | max, false },
        { R"("BorderStyle": 2, "MaxButton": false)", box | min, false },
        { R"("BorderStyle": 1)", box | min | max, true },
        { R"("BorderStyle": 1, "MinButton": false, "MaxButton": false)", box, true },
        { R"("BorderStyle": 3)", box, true },
        { R"("BorderStyle": 3, "MinButton": true)", box | min, true },
        { R"("BorderStyle": 3, "MaxButton": true)", box | max, true },
        { R"("BorderStyle": 3, "ControlBox": false, "MaxButton": true)", title, true },
        { R"("BorderStyle": 4)", box, true },
    };
    const Qt::WindowFlags offered = box | min | max;
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "frmTitleBar" + std::to_string(n++);
        registerFormDescription(R"({"Form": ")" + name + R"(", "Settings": {"Caption": "T", )"
            + c.settings + R"(, "ClientWidth": 3000, "ClientHeight": 1500}})");
        TfrmNamed frm(name);
        QWidget* w = widgetOf(frm.hWnd());
        SCOPED_TRACE(c.settings);
        EXPECT_TRUE(w->windowFlags() & Qt::CustomizeWindowHint);
        EXPECT_EQ(w->windowFlags() & offered, c.buttons);
        EXPECT_EQ(w->minimumSize() == w->maximumSize(), c.fixed);
        Unload(frm);
    }
    registerFormDescription(R"({"Form": "frmNoBorder", "Settings": {"BorderStyle": 0}})");
    TfrmNamed none("frmNoBorder");
    EXPECT_TRUE(widgetOf(none.hWnd())->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(Forms, UnloadTwiceAndUnloadingAFormNeverLoaded)
{
    TfrmProbe frm;
    Unload(frm); // never loaded: nothing happens
    EXPECT_TRUE(frm.events.empty());
    EXPECT_FALSE(frm.IsLoaded());
    Load(frm);
    const WindowId id = frm.hWnd();
    Unload(frm);
    Unload(frm);
    EXPECT_FALSE(frm.IsLoaded());
    EXPECT_FALSE(IsWindow(id));
    EXPECT_EQ(frm.events, (std::vector<std::string> { "Load", "QueryUnload 1", "Unload" }));
    // The user controls ended with the form.
    EXPECT_EQ(logOf("Probe1.Terminate").size(), 1u);
    EXPECT_EQ(logOf("Probe2.Terminate").size(), 1u);
    // Using it again loads it afresh.
    frm.Text1.Text = "x";
    EXPECT_EQ(frm.loads, 2);
}

TEST_F(Forms, QueryUnloadOrUnloadMayCancel)
{
    TfrmProbe frm;
    Load(frm);
    frm.cancelQueryUnload = true;
    Unload(frm);
    EXPECT_TRUE(frm.IsLoaded());
    frm.cancelQueryUnload = false;
    frm.cancelUnload = true;
    Unload(frm);
    EXPECT_TRUE(frm.IsLoaded());
    frm.cancelUnload = false;
    Unload(frm);
    EXPECT_FALSE(frm.IsLoaded());
}

TEST_F(Forms, ClosingTheWindowUnloadsLikeUnload)
{
    TfrmProbe frm;
    frm.Show();
    QWidget* w = widgetOf(frm.hWnd());
    w->close();
    EXPECT_FALSE(frm.IsLoaded());
    EXPECT_EQ(frm.events.back(), "Unload");
    EXPECT_NE(std::find(frm.events.begin(), frm.events.end(), "QueryUnload 0"), frm.events.end());
}

TEST_F(Forms, ModalShowReturnsWhenTheFormIsUnloadedOrHidden)
{
    TfrmProbe frm;
    bool modalWhileShown = false;
    QTimer::singleShot(0, [&] {
        modalWhileShown = QApplication::activeModalWidget() == widgetOf(frm.hWnd());
        Unload(frm);
    });
    frm.Show(vbModal);
    EXPECT_TRUE(modalWhileShown);
    EXPECT_FALSE(frm.IsLoaded());

    TfrmPlain plain;
    QTimer::singleShot(0, [&] { plain.Hide(); });
    plain.Show(vbModal);
    EXPECT_TRUE(plain.IsLoaded());
    EXPECT_FALSE(plain.Visible);
}

TEST_F(Forms, NestedModalFormsReturnInOrder)
{
    TfrmProbe outer;
    TfrmPlain inner;
    std::vector<std::string> order;
    // A click handler of the outer form shows the inner one modally, as "&Info..." does.
    outer.onProbe1Click = [&] {
        QTimer::singleShot(0, [&] { Unload(inner); });
        inner.Show(vbModal);
        order.push_back("inner returned");
        Unload(outer);
    };
    QTimer::singleShot(0, [&] { outer.Probe1->Click(); });
    outer.Show(vbModal);
    order.push_back("outer returned");
    EXPECT_EQ(order, (std::vector<std::string> { "inner returned", "outer returned" }));
    EXPECT_FALSE(outer.IsLoaded());
}

TEST_F(Forms, ActivateRunsOnShowAndAnUnloadThereEndsTheModalShow)
{
    TfrmPlain frm;
    // As the desktop effect does: the work runs inside Activate and unloads the form.
    frm.onActivate = [&] {
        for (int i = 0; i < 3; ++i)
            DoEvents();
        Unload(frm);
    };
    frm.Show(vbModal);
    EXPECT_FALSE(frm.IsLoaded());
    EXPECT_EQ(frm.events, (std::vector<std::string> { "Load", "Activate", "Unload" }));
}

TEST_F(Forms, DoEventsProcessesPendingEventsOnce)
{
    TfrmPlain frm;
    frm.Show();
    int ran = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { ++ran; }, Qt::QueuedConnection);
    EXPECT_EQ(ran, 0);
    DoEvents();
    EXPECT_EQ(ran, 1);
    // A click posted to the window is delivered by the pass.
    QWidget* w = widgetOf(frm.hWnd());
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    DoEvents();
    EXPECT_EQ(frm.events.back(), "Click");
}

TEST_F(Forms, WhatIsDrawnOnTheFormsSurfaceShowsUnderItsControls)
{
    TfrmPlain frm;
    frm.Show();
    QWidget* w = widgetOf(frm.hWnd());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    gfx::DC dc = frm.hDC();
    EXPECT_EQ(dc.bitmap().width(), w->width());
    dc.fillRect({ 10, 10, 20, 20 }, gfx::Brush::solid(0x00FF00));
    DoEvents();
    const QImage shot = w->grab().toImage();
    EXPECT_EQ(shot.pixel(15, 15) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(shot.pixel(25, 25) & 0xFFFFFF, 0xD4D0C8u); // the back colour around it
}

TEST_F(Forms, ReleaseStartsTheFormAfresh)
{
    TfrmProbe frm;
    Load(frm);
    EXPECT_EQ(frm.initializations, 0);
    Release(frm);
    EXPECT_FALSE(frm.IsLoaded());
    EXPECT_EQ(frm.initializations, 1);
    EXPECT_EQ(std::count(frm.events.begin(), frm.events.end(), "Unload"), 0); // no events
    EXPECT_EQ(logOf("Probe1.Terminate").size(), 1u);
}

TEST_F(Forms, ADescriptionThatDoesNotFitTheFormFailsToLoad)
{
    registerFormDescription(R"({"Form": "frmBroken", "Controls": [
            {"Name": "Text1", "Type": "TextBox"}]})");
    registerFormDescription(R"({"Form": "frmWrongType", "Controls": [
            {"Name": "Text1", "Type": "TextBox", "Settings": {"MultiLine": "yes"}}]})");
    registerFormDescription(R"({"Form": "frmUnknown", "Controls": [
            {"Name": "X", "Type": "NoSuch.Control"}]})");
    class TfrmMissing : public Form {
    public:
        TfrmMissing(const char* n)
            : Form(n)
        {
        }
        TextBox Text1 { this, "Text1" };
        Label Label9 { this, "Label9" };
    };
    struct Case {
        const char* form;
        int error;
        const char* words;
    } cases[] = {
        { "frmBroken", errUnableToLoad, "Label9" }, // declared, not described
        { "frmWrongType", errTypeMismatch, "MultiLine" },
        { "frmUnknown", errUnableToLoad, "NoSuch.Control" },
        { "frmNowhere", errUnableToLoad, "frmNowhere" },
    };
    for (const auto& c : cases) {
        TfrmMissing frm(c.form);
        try {
            Load(frm);
            ADD_FAILURE() << c.form << " loaded";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), c.error) << c.form;
            EXPECT_NE(e.Description().find(c.words), std::string::npos) << e.Description();
        }
        EXPECT_FALSE(frm.IsLoaded());
    }
    EXPECT_TRUE(LoadedForms().empty());
}

} // namespace
} // namespace qm::forms::test
