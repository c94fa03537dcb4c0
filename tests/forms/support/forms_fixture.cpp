#include "tests/forms/support/forms_fixture.h"

#include "platform/forms/detail/runtime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

namespace qm::forms::test {

void FormsTest::SetUp()
{
    StartRuntimeForTests();
    Probe::registerType();
    probeLog().clear();
    setMessageBoxRecorder([this](const ShownMessage& m) { messages.push_back(m); });
    setUnhandledErrorHandler([this](const RuntimeError& e) { errors.push_back(e); });
}

void FormsTest::TearDown()
{
    for (Form* f : LoadedForms())
        Release(*f);
    QCoreApplication::processEvents();
    setMessageBoxRecorder({});
    setUnhandledErrorHandler({});
}

QWidget* FormsTest::widgetOf(WindowId id)
{
    return detail::WindowRegistry::instance().widget(id);
}

WindowId FormsTest::idOf(const QWidget* w)
{
    return detail::WindowRegistry::instance().idOf(w);
}

bool FormsTest::waitFor(const std::function<bool()>& done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 2000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

TfrmProbe::TfrmProbe()
    : Form("frmProbe")
{
    Probe1.Wire([this](Probe& p) {
        p.onClick = [this] {
            events.push_back("Probe1_Click");
            if (onProbe1Click)
                onProbe1Click();
        };
    });
    Probe2.Wire([this](Probe& p) { p.onClick = [this] { events.push_back("Probe2_Click"); }; });
    Label1.Click = [this] { events.push_back("Label1_Click"); };
}

void TfrmProbe::Form_Load()
{
    ++loads;
    events.push_back("Load");
}

void TfrmProbe::Form_Activate()
{
    events.push_back("Activate");
    if (onActivate)
        onActivate();
}

void TfrmProbe::Form_KeyDown(std::int16_t& keyCode, std::int16_t& shift)
{
    events.push_back("KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
}

void TfrmProbe::Form_QueryUnload(std::int16_t& cancel, std::int16_t mode)
{
    events.push_back("QueryUnload " + std::to_string(mode));
    if (cancelQueryUnload)
        cancel = 1;
}

void TfrmProbe::Form_Unload(std::int16_t& cancel)
{
    events.push_back("Unload");
    if (cancelUnload)
        cancel = 1;
}

} // namespace qm::forms::test
