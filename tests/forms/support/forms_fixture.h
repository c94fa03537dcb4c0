#pragma once
// Shared set-up of the forms tests: the runtime on Qt's offscreen platform, message boxes and
// unhandled errors recorded instead of shown, the probe control registered.
#include "platform/forms/form.h"
#include "platform/forms/program.h"
#include "tests/forms/support/probe.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class QWidget;

namespace qm::forms::test {

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The widget behind a window id.
    static QWidget* widgetOf(WindowId id);
    static WindowId idOf(const QWidget* widget);
    // Processes events until `done` holds or about two seconds pass.
    static bool waitFor(const std::function<bool()>& done);

    std::vector<ShownMessage> messages;
    std::vector<RuntimeError> errors;
};

// The form of the fixture descriptions with two probes, a text box and a label.
class TfrmProbe : public Form {
public:
    TfrmProbe();
    TextBox Text1 { this, "Text1" };
    UserControlRef<Probe> Probe1 { this, "Probe1" };
    UserControlRef<Probe> Probe2 { this, "Probe2" };
    Label Label1 { this, "Label1" };

    int loads = 0;
    int initializations = 0;
    std::vector<std::string> events;
    bool cancelQueryUnload = false;
    bool cancelUnload = false;
    std::function<void()> onProbe1Click;
    std::function<void()> onActivate;

protected:
    void Form_Initialize() override { ++initializations; }
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Click() override { events.push_back("Click"); }
    void Form_KeyDown(std::int16_t& keyCode, std::int16_t& shift) override;
    void Form_KeyPress(std::int16_t& keyAscii) override
    {
        events.push_back("KeyPress " + std::to_string(keyAscii));
    }
    void Form_QueryUnload(std::int16_t& cancel, std::int16_t mode) override;
    void Form_Unload(std::int16_t& cancel) override;
};

// A form with no controls, for showing and unloading.
class TfrmPlain : public Form {
public:
    TfrmPlain()
        : Form("frmPlain")
    {
    }
    std::vector<std::string> events;
    std::function<void()> onActivate;

protected:
    void Form_Load() override { events.push_back("Load"); }
    void Form_Activate() override
    {
        events.push_back("Activate");
        if (onActivate)
            onActivate();
    }
    void Form_Click() override { events.push_back("Click"); }
    void Form_KeyPress(std::int16_t& k) override
    {
        events.push_back("KeyPress " + std::to_string(k));
    }
    void Form_Unload(std::int16_t&) override { events.push_back("Unload"); }
};

} // namespace qm::forms::test
