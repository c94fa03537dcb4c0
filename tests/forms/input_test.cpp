#include "tests/forms/support/forms_fixture.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace qm::forms::test {
namespace {

class Input : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        frm.Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(widgetOf(frm.hWnd())));
        probeLog().clear();
    }
    // Keys go where a real key goes: the widget with the focus.
    void key(Qt::Key k, Qt::KeyboardModifiers m = {})
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, k, m);
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    static std::vector<std::string> only(const std::string& name, const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const auto& e : eventsOf(name))
            if (e.rfind(prefix, 0) == 0)
                out.push_back(e);
        return out;
    }
    TfrmProbe frm;
};

TEST_F(Input, TabOrderFollowsTabIndexAndSkipsLabels)
{
    EXPECT_EQ(focused(), widgetOf(frm.Text1.hWnd()));
    std::vector<WindowId> seen;
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_Tab);
        seen.push_back(idOf(focused()));
    }
    EXPECT_EQ(
        seen, (std::vector<WindowId> { frm.Probe1.hWnd(), frm.Probe2.hWnd(), frm.Text1.hWnd() }));
    EXPECT_EQ(only("Probe1", "GotFocus"), (std::vector<std::string> { "GotFocus" }));
    EXPECT_EQ(only("Probe2", "GotFocus"), (std::vector<std::string> { "GotFocus" }));
    EXPECT_EQ(frm.ActiveControl(), &frm.Text1);
}

TEST_F(Input, DefaultAndCancelButtonsGetEnterAndEscAsAccessKeys)
{
    // From the multi-line text box too: the form has a default button.
    key(Qt::Key_Return);
    key(Qt::Key_Escape);
    EXPECT_EQ(eventsOf("Probe1"), (std::vector<std::string> { "AccessKeyPress 13", "Click" }));
    EXPECT_EQ(eventsOf("Probe2"), (std::vector<std::string> { "AccessKeyPress 27", "Click" }));
    EXPECT_EQ(std::string(frm.Text1.Text), "Text1"); // no line break typed
    EXPECT_EQ(focused(), widgetOf(frm.Text1.hWnd())); // the focus stays
}

TEST_F(Input, AccessKeysWithAltOrAloneWhenTheFocusTakesNoText)
{
    key(Qt::Key_O, Qt::AltModifier); // from the text box: needs Alt
    EXPECT_EQ(eventsOf("Probe1"),
        (std::vector<std::string> { "GotFocus", "AccessKeyPress 111", "Click" }));
    EXPECT_EQ(focused(), widgetOf(frm.Probe1.hWnd()));
    probeLog().clear();
    key(Qt::Key_I); // the letter alone: the focused probe takes no text
    EXPECT_EQ(eventsOf("Probe2"),
        (std::vector<std::string> {
            "GotFocus", "AmbientChanged DisplayAsDefault True", "AccessKeyPress 105", "Click" }));
    EXPECT_EQ(
        eventsOf("Probe1"), (std::vector<std::string> { "AmbientChanged DisplayAsDefault False" }));
    // In the text box the letter is text.
    frm.Text1.SetFocus();
    probeLog().clear();
    key(Qt::Key_O);
    EXPECT_TRUE(eventsOf("Probe1").empty());
    EXPECT_NE(std::string(frm.Text1.Text).find('o'), std::string::npos);
    // A label's access key moves the focus to the next control in the tab order.
    key(Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(focused(), widgetOf(frm.Probe1.hWnd()));
}

TEST_F(Input, DisplayAsDefaultFollowsTheFocusedButton)
{
    // Shown: the default button displays as default (that change was raised at show).
    frm.Text1.SetFocus();
    key(Qt::Key_Tab); // Probe1 (the default itself): no change
    key(Qt::Key_Tab); // Probe2 takes over
    key(Qt::Key_Tab); // back to the text box: the default again
    auto ambient = [](const std::string& name) { return only(name, "AmbientChanged"); };
    EXPECT_EQ(ambient("Probe1"),
        (std::vector<std::string> {
            "AmbientChanged DisplayAsDefault False", "AmbientChanged DisplayAsDefault True" }));
    EXPECT_EQ(ambient("Probe2"),
        (std::vector<std::string> {
            "AmbientChanged DisplayAsDefault True", "AmbientChanged DisplayAsDefault False" }));
    EXPECT_TRUE(frm.Probe1->host().Ambient().DisplayAsDefault);
    EXPECT_FALSE(frm.Probe2->host().Ambient().DisplayAsDefault);
}

TEST_F(Input, AnArrowKeyPostedToTheContainerMovesTheFocus)
{
    frm.Probe1.SetFocus();
    struct Case {
        int keyCode;
        std::intptr_t lParam;
        WindowId expect;
    } cases[] = {
        { 39, 0x4D0001, frm.Probe2.hWnd() }, // right: next
        { 40, 0x500001, frm.Text1.hWnd() }, // down: next, wrapping round
        { 37, 0x4B0001, frm.Probe2.hWnd() }, // left: previous, wrapping round
        { 38, 0x480001, frm.Probe1.hWnd() }, // up: previous
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(PostMessage(frm.hWnd(), WM_KEYDOWN, std::uintptr_t(c.keyCode), c.lParam));
        EXPECT_NE(idOf(focused()), c.expect); // not before the loop runs
        DoEvents();
        EXPECT_EQ(idOf(focused()), c.expect) << c.keyCode;
    }
    EXPECT_FALSE(PostMessage(frm.hWnd(), 0x0200, 0, 0)); // other messages are refused
}

TEST_F(Input, KeysReachTheFocusedUserControlWithThePlatformsCodes)
{
    frm.Probe1.SetFocus();
    probeLog().clear();
    key(Qt::Key_A);
    QTest::keyClick(focused(), 'A', Qt::ShiftModifier); // Shift goes down and up around it
    key(Qt::Key_Space);
    key(Qt::Key_F5);
    key(Qt::Key_Right);
    EXPECT_EQ(eventsOf("Probe1"),
        (std::vector<std::string> { "KeyDown 65 0", "KeyPress 97", "KeyUp 65 0", "KeyDown 16 1",
            "KeyDown 65 1", "KeyPress 65", "KeyUp 65 1", "KeyUp 16 0", "KeyDown 32 0",
            "KeyPress 32", "KeyUp 32 0", "KeyDown 116 0", "KeyUp 116 0", "KeyDown 39 0",
            "KeyUp 39 0" }));
}

TEST_F(Input, KeyPreviewRaisesTheFormsKeysFirst)
{
    frm.KeyPreview = true;
    frm.Probe1.SetFocus();
    frm.events.clear();
    probeLog().clear();
    key(Qt::Key_Z);
    EXPECT_EQ(frm.events, (std::vector<std::string> { "KeyDown 90 0", "KeyPress 122" }));
    EXPECT_EQ(eventsOf("Probe1"),
        (std::vector<std::string> { "KeyDown 90 0", "KeyPress 122", "KeyUp 90 0" }));
}

TEST_F(Input, AFormWithoutControlsGetsItsOwnKeys)
{
    TfrmPlain plain;
    plain.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(widgetOf(plain.hWnd())));
    QTest::keyClick(widgetOf(plain.hWnd()), Qt::Key_X);
    EXPECT_EQ(plain.events.back(), "KeyPress 120");
}

} // namespace
} // namespace qm::forms::test
