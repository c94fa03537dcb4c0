#include "button/core/registration.h"
#include "platform/forms/form.h"
#include "platform/forms/form_description.h"
#include "platform/forms/program.h"
#include "tests/button/support/button_internals.h"
#include "tests/button/support/live_counts.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace qm::testing {
namespace {

constexpr const char* kDescription = R"({
  "Form": "frmButtonPlacement",
  "Settings": {"Caption": "Buttons", "ClientWidth": 3000, "ClientHeight": 1200},
  "Controls": [
    {"Name": "kxButtons_H1", "Type": "Quillmere.kxButtons_H",
     "Settings": {"Left": 120, "Top": 120, "Width": 1125, "Height": 345, "TabIndex": 0,
                  "OLEDropMode": 1},
     "Properties": {"_extentx": 1984, "_extenty": 609, "caption": "&Ok"}}
  ]
})";

class TfrmButtonPlacement : public forms::Form {
public:
    TfrmButtonPlacement()
        : Form("frmButtonPlacement")
    {
    }
    forms::UserControlRef<kxButtons_H> kxButtons_H1 { this, "kxButtons_H1" };
};

class FormPlacementTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        forms::StartRuntimeForTests();
        registerKxButtonsType();
        forms::registerFormDescription(kDescription, "form_placement_test");
    }
};

TEST_F(FormPlacementTest, ButtonFromADescriptionIsBuiltResizedAndReleased)
{
    TfrmButtonPlacement frm;
    forms::Load(frm);
    const LiveCounts loaded = liveCounts();
    kxButtons_H& button = frm.kxButtons_H1.object();
    ButtonInternals in(button);
    ASSERT_TRUE(in.record().MemDC);
    EXPECT_EQ(in.record().MemDC.bitmap().size(), (gfx::Size { 75, 23 }));

    frm.kxButtons_H1.Width = 1500.0; // 100 pixels
    forms::DoEvents();
    EXPECT_EQ(in.record().MemDC.bitmap().size(), (gfx::Size { 100, 23 }));
    EXPECT_EQ(in.record().ShapeRightEdge, 100);
    EXPECT_EQ(liveCounts(), loaded); // the old surface went with the resize

    forms::Unload(frm);
    EXPECT_FALSE(frm.IsLoaded());
}

TEST_F(FormPlacementTest, UnloadingReleasesEveryObjectTheButtonMade)
{
    {
        TfrmButtonPlacement warmUp; // shared objects the runtime makes once
        forms::Load(warmUp);
        forms::Unload(warmUp);
    }
    const LiveCounts before = liveCounts();
    {
        TfrmButtonPlacement frm;
        forms::Load(frm);
        frm.kxButtons_H1->setGradientMode(GradientHorizontal);
        frm.kxButtons_H1->Refresh();
        forms::Unload(frm);
    }
    EXPECT_EQ(liveCounts(), before);
}

TEST_F(FormPlacementTest, TerminateStopsTheHoverTimer)
{
    TfrmButtonPlacement frm;
    forms::Load(frm);
    kxButtons_H& button = frm.kxButtons_H1.object();
    const forms::WindowId hWnd = button.hwnd();
    ASSERT_EQ(forms::SetTimer(hWnd, 237, 50, [](auto...) {}), 237u);
    ButtonInternals(button).record().OverButton = kTrue;
    button.Terminate();
    EXPECT_FALSE(forms::KillTimer(hWnd, 237)); // already stopped
    forms::Unload(frm);
}

TEST_F(FormPlacementTest, DragsOverAndFromTheButtonReachTheFormsHandlers)
{
    TfrmButtonPlacement frm;
    frm.Show();
    EXPECT_EQ(frm.kxButtons_H1.OLEDropMode, forms::vbOLEDropManual); // from the description
    std::vector<std::string> seen;
    kxButtons_H& button = frm.kxButtons_H1.object();
    button.Events().OLEDragOver = [&](forms::DataObject& data, std::int32_t&, std::int16_t&,
                                      std::int16_t&, float& x, float& y, std::int16_t& state) {
        seen.push_back("over " + std::get<std::string>(data.GetData(forms::vbCFText)) + " "
            + std::to_string(int(x)) + "," + std::to_string(int(y)) + " " + std::to_string(state));
    };
    button.Events().OLEDragDrop = [&](forms::DataObject&, std::int32_t& effect, std::int16_t&,
                                      std::int16_t&, float&, float&) {
        seen.push_back("drop " + std::to_string(effect));
        effect = forms::vbDropEffectCopy;
    };
    QMimeData mime;
    mime.setText("text");
    QWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "Buttons")
            window = w->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint at(8 + 10, 8 + 5); // the button's own (10, 5)
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::NoButton, {});
    QApplication::sendEvent(window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(seen, (std::vector<std::string> { "over text 10,5 0", "drop 1" }));

    std::vector<std::string> source;
    button.Events().OLEStartDrag = [&](forms::DataObject& data, std::int32_t& allowed) {
        source.push_back("start " + std::to_string(allowed));
        data.SetData(std::string("x"), forms::vbCFText);
    };
    button.Events().OLECompleteDrag
        = [&](std::int32_t& effect) { source.push_back("complete " + std::to_string(effect)); };
    frm.kxButtons_H1.OLEDrag();
    EXPECT_EQ(source, (std::vector<std::string> { "start 3", "complete 0" }));
    forms::Unload(frm);
}

TEST_F(FormPlacementTest, DesignerPlacesTheRegisteredType)
{
    forms::Designer designer(forms::formDescription("frmButtonPlacement"));
    forms::UserControl& placed
        = designer.Place(std::string(kxButtons_H::ProgId), "kxButtons_H2", 0, 0, 900, 300);
    auto* button = dynamic_cast<kxButtons_H*>(&placed);
    ASSERT_NE(button, nullptr);
    ButtonInternals in(*button);
    EXPECT_EQ(in.record().MemDC.bitmap().size(), (gfx::Size { 60, 20 }));
    EXPECT_NE(dynamic_cast<kxButtons_H*>(designer.userControl("kxButtons_H1")), nullptr);
}

} // namespace
} // namespace qm::testing
