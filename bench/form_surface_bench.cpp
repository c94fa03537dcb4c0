// One round of the desktop effect on a 1024 x 768 form: a 128 x 128 block copied one pixel
// aside on the form's surface, then one pass over the message queue. Side by side with a bare
// Qt window that knows the block it changed and repaints only that (the peer), and with passes
// over the queue when nothing was drawn. Runs on Qt's offscreen platform.
#include "platform/forms/form.h"
#include "platform/forms/form_description.h"
#include "platform/forms/program.h"
#include "platform/forms/window_services.h"
#include "platform/raster/dc.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

using namespace qm;

constexpr int W = 1024, H = 768, B = 128;

class TfrmEffect : public forms::Form {
public:
    TfrmEffect()
        : Form("frmEffectBench")
    {
    }
};

struct EffectForm {
    TfrmEffect frm;
    EffectForm()
    {
        forms::registerFormDescription(
            R"({"Form": "frmEffectBench", "Settings": {"Caption": "", "BorderStyle": 0,
                "BackColor": {"color": "0x000000"}, "AutoRedraw": true, "StartUpPosition": 0,
                "ClientWidth": 15360, "ClientHeight": 11520}})",
            "form_surface_bench");
        frm.Show();
        frm.hDC().fillRect({ 0, 0, W / 2, H }, gfx::Brush::solid(gfx::rgb(0, 128, 255)));
        frm.AutoRedraw = false;
        forms::DoEvents();
    }
    ~EffectForm() { forms::Unload(frm); }
};

// Where the block of round `i` is taken from.
gfx::Point blockAt(int i)
{
    return { (i * 97) % (W - B), (i * 61) % (H - B) };
}

void FormEffectRound(benchmark::State& state)
{
    EffectForm f;
    int i = 0;
    for (auto _ : state) {
        const gfx::Point p = blockAt(i++);
        f.frm.hDC().bitBlt(
            { p.x + 1, p.y + 1, p.x + 1 + B, p.y + 1 + B }, f.frm.hDC(), p, gfx::SRCCOPY);
        forms::DoEvents();
    }
}
BENCHMARK(FormEffectRound);

void FormIdlePass(benchmark::State& state)
{
    EffectForm f;
    for (auto _ : state)
        forms::DoEvents();
}
BENCHMARK(FormIdlePass);

// The peer: a window that paints its own image and repaints only the block it changed.
class PeerWindow : public QWidget {
public:
    QImage image { W, H, QImage::Format_RGB32 };
    PeerWindow()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowFlag(Qt::FramelessWindowHint);
        image.fill(Qt::black);
        resize(W, H);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        for (const QRect& r : e->region())
            p.drawImage(r.topLeft(), image, r);
    }
};

void QtPeerEffectRound(benchmark::State& state)
{
    PeerWindow w;
    w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    int i = 0;
    for (auto _ : state) {
        const gfx::Point p = blockAt(i++);
        const QRect from(p.x, p.y, B, B);
        const QImage block = w.image.copy(from);
        QPainter(&w.image).drawImage(from.topLeft() + QPoint(1, 1), block);
        w.update(from.translated(1, 1));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}
BENCHMARK(QtPeerEffectRound);

void QtPeerIdlePass(benchmark::State& state)
{
    PeerWindow w;
    w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    for (auto _ : state)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}
BENCHMARK(QtPeerIdlePass);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    forms::StartRuntimeForTests();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
