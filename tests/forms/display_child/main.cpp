// Runs on a real X display for the display test: shows the probe form with an elliptic
// window region on Probe1, reports what the screen shows and where, then counts the clicks
// that the test makes with xdotool, and reports the notifications of the drag it makes from
// Probe1 to Probe2. Talks over stdout, one line per message.
#include "platform/forms/form.h"
#include "platform/forms/program.h"
#include "platform/forms/window_services.h"
#include "tests/forms/support/probe.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

using namespace qm::forms;
namespace gfx = qm::gfx;

namespace {

class TfrmProbe : public Form {
public:
    TfrmProbe()
        : Form("frmProbe")
    {
        Probe1.Wire([this](test::Probe& p) { p.onClick = [this] { ++probeClicks; }; });
    }
    TextBox Text1 { this, "Text1" };
    UserControlRef<test::Probe> Probe1 { this, "Probe1" };
    UserControlRef<test::Probe> Probe2 { this, "Probe2" };
    Label Label1 { this, "Label1" };
    int formClicks = 0;
    int probeClicks = 0;

protected:
    void Form_Click() override { ++formClicks; }
};

void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        DoEvents();
}

unsigned screenPixel(int x, int y)
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    return shot.pixel(x, y) & 0xFFFFFFu;
}

} // namespace

int main(int argc, char** argv)
{
    std::string why;
    if (!StartRuntime(argc, argv, &why)) {
        std::printf("FAIL %s\n", why.c_str());
        return 2;
    }
    test::Probe::registerType();
    setMessageBoxRecorder([](const ShownMessage& m) { std::printf("MSG %s\n", m.Prompt.c_str()); });
    TfrmProbe frm;
    frm.Show();
    const WindowId probe = frm.Probe1.hWnd();
    const gfx::Rect r = GetWindowRect(probe);
    SetWindowRgn(probe, gfx::Region::ellipse({ 0, 0, r.width(), r.height() }));
    settle(700);
    const gfx::Rect now = GetWindowRect(probe);
    const int cx = now.left + now.width() / 2, cy = now.top + now.height() / 2;
    std::printf("PROBE %d %d %d %d\n", now.left, now.top, now.width(), now.height());
    std::printf("PIXELS %06X %06X\n", screenPixel(cx, cy), screenPixel(now.left, now.top));
    std::printf("READY %d %d %d %d\n", now.left + 1, now.top + 1, cx, cy);
    std::fflush(stdout);
    // The test clicks the corner (outside the shape), then the centre.
    QElapsedTimer t;
    t.start();
    while (frm.probeClicks == 0 && t.elapsed() < 15000)
        DoEvents();
    const gfx::Point cursor = GetCursorPos();
    std::printf("CLICKS %d %d CURSOR %d %d UNDER %s\n", frm.formClicks, frm.probeClicks, cursor.x,
        cursor.y, WindowFromPoint(cursor) == probe ? "probe" : "other");
    std::fflush(stdout);

    // A drag from Probe1 to Probe2, made by the test with xdotool. The text is declared when
    // the drag starts and given only when the target reads it.
    frm.Probe1->dragOnMove = true;
    frm.Probe1->onStartDrag = [](DataObject& data, std::int32_t&) {
        data.SetData(vbCFText);
        data.SetData(std::string("own"), 700);
    };
    frm.Probe1->onSetData = [](DataObject& data, std::int16_t format) {
        data.SetData(std::string("from Probe1"), format);
    };
    frm.Probe2.OLEDropMode = vbOLEDropManual;
    std::string dropped;
    frm.Probe2->onDragDrop = [&](DataObject& data, std::int32_t& effect) {
        dropped = std::get<std::string>(data.GetData(vbCFText)) + "/"
            + std::get<std::string>(data.GetData(700));
        effect = vbDropEffectCopy;
    };
    const gfx::Rect target = GetWindowRect(frm.Probe2.hWnd());
    std::printf("DRAGREADY %d %d %d %d\n", cx, cy, target.left + target.width() / 2,
        target.top + target.height() / 2);
    std::fflush(stdout);
    t.restart();
    auto completed = [] {
        for (const auto& e : test::probeLog())
            if (e.find("OLECompleteDrag") != std::string::npos)
                return true;
        return false;
    };
    while (!completed() && t.elapsed() < 15000)
        DoEvents();
    std::string source, targetEvents;
    for (const auto& e : test::eventsOf("Probe1"))
        if (e.rfind("OLE", 0) == 0 && e.rfind("OLEGiveFeedback", 0) != 0)
            source += (source.empty() ? "" : "|") + e;
    bool feedback = false;
    for (const auto& e : test::eventsOf("Probe1"))
        feedback = feedback || e == "OLEGiveFeedback 1";
    std::string states;
    for (const auto& e : test::eventsOf("Probe2"))
        if (e.rfind("OLEDragOver", 0) == 0)
            states += e.substr(e.rfind(' ') + 1);
        else if (e.rfind("OLEDragDrop", 0) == 0)
            states += "D";
    std::printf("DRAG %s FEEDBACK %s\n", source.c_str(), feedback ? "copy" : "none");
    std::printf("DROP %s STATES %s\n", dropped.c_str(), states.c_str());
    std::fflush(stdout);
    Unload(frm);
    return 0;
}
