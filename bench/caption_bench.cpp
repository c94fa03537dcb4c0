// One caption on a button-sized surface: our text drawing against QPainter::drawText on a
// QImage with the same font family and size, without antialiasing on both sides.
#include "platform/raster/gui_app.h"
#include "platform/raster/text.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using namespace qm::gfx;

constexpr const char* caption = "&Info...";

void OurCaption(benchmark::State& state)
{
    detail::ensureGuiApplication();
    Bitmap surface = Bitmap::createColor(75, 23, rgb(212, 208, 200));
    DC dc = DC::createMemory();
    dc.select(surface);
    dc.select(Font::create(LogFont { -11, 400, false, false, false, "MS Sans Serif" }));
    dc.setBkMode(3);
    for (auto _ : state) {
        Rect r { 4, 4, 71, 19 };
        benchmark::DoNotOptimize(drawText(dc, caption, r, DT_CENTER | DT_WORDBREAK));
    }
}
BENCHMARK(OurCaption);

void QPainterCaption(benchmark::State& state)
{
    detail::ensureGuiApplication();
    QImage image(75, 23, QImage::Format_RGB32);
    image.fill(QColor(212, 208, 200));
    QFont font(QString::fromStdString(substituteFaceName("MS Sans Serif")));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    const QString text = QString::fromUtf8(caption);
    for (auto _ : state) {
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(
            QRect(4, 4, 67, 15), Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, text);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(QPainterCaption);

} // namespace
