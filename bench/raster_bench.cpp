// Button-sized drawing through our raster layer, side by side with the same drawing
// through QPainter on a QImage (raster engine, no antialiasing).
#include "platform/raster/dc.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <benchmark/benchmark.h>

using namespace qm::gfx;

namespace {

constexpr int W = 75, H = 23;
constexpr ColorRef kFace = rgb(212, 208, 200);

struct OurSurface {
    DC dc = DC::createMemory();
    Bitmap bitmap = Bitmap::createColor(W, H);
    OurSurface() { dc.select(bitmap); }
};

QColor qcolor(ColorRef c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// The three rings of a rectangular button: 12 segments, 4 colours.
const Point kRing[3][5] = {
    { { 2, H - 3 }, { 2, 2 }, { W - 3, 2 }, { W - 3, H - 3 }, { 1, H - 3 } },
    { { 1, H - 2 }, { 1, 1 }, { W - 2, 1 }, { W - 2, H - 2 }, { 0, H - 2 } },
    { { 0, H - 1 }, { 0, 0 }, { W - 1, 0 }, { W - 1, H - 1 }, { -1, H - 1 } },
};
const ColorRef kEdge[4]
    = { rgb(255, 255, 255), rgb(255, 255, 255), rgb(128, 128, 128), rgb(64, 64, 64) };

void BM_Fill_Ours(benchmark::State& state)
{
    OurSurface s;
    s.dc.select(Pen::create(PenStyle::Null, 1, 0));
    s.dc.select(Brush::solid(kFace));
    for (auto _ : state) {
        s.dc.rectangle({ 0, 0, W + 1, H + 1 });
        benchmark::DoNotOptimize(s.bitmap.bits());
    }
}
void BM_Fill_QPainter(benchmark::State& state)
{
    QImage img(W, H, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&img);
        p.fillRect(QRect(0, 0, W, H), qcolor(kFace));
        p.end();
        benchmark::DoNotOptimize(img.bits());
    }
}

void BM_Bevel_Ours(benchmark::State& state)
{
    OurSurface s;
    for (auto _ : state) {
        for (const auto& ring : kRing)
            for (int e = 0; e < 4; ++e) {
                s.dc.select(Pen::create(PenStyle::Solid, 1, kEdge[e]));
                s.dc.polyline(std::span<const Point>(&ring[e], 2));
            }
        benchmark::DoNotOptimize(s.bitmap.bits());
    }
}
void BM_Bevel_QPainter(benchmark::State& state)
{
    QImage img(W, H, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&img);
        for (const auto& ring : kRing)
            for (int e = 0; e < 4; ++e) {
                p.setPen(QPen(qcolor(kEdge[e]), 0));
                p.drawLine(ring[e].x, ring[e].y, ring[e + 1].x, ring[e + 1].y);
            }
        p.end();
        benchmark::DoNotOptimize(img.bits());
    }
}

// A 32 x 32 picture whose top-left colour is transparent, drawn at 32 x 32 through a
// monochrome mask (mask, blacken key, AND mask, OR picture, copy back).
constexpr int P = 32;
constexpr ColorRef kKey = rgb(255, 0, 255);
Bitmap makePicture()
{
    Bitmap b = Bitmap::createColor(P, P, kKey);
    for (int y = 4; y < 28; ++y)
        for (int x = 4 + y % 3; x < 28; ++x)
            b.setPixel(x, y, rgb(std::uint8_t(x * 8), std::uint8_t(y * 8), 90));
    return b;
}

void BM_TransparentBlit_Ours(benchmark::State& state)
{
    OurSurface s;
    s.bitmap.fill(kFace);
    DC pic = DC::createMemory();
    pic.select(makePicture());
    for (auto _ : state) {
        DC work = DC::createMemory(), copy = DC::createMemory(), mask = DC::createMemory();
        work.select(Bitmap::createColor(P, P));
        copy.select(Bitmap::createColor(P, P));
        mask.select(Bitmap::createMono(P, P));
        work.bitBlt({ 0, 0, P, P }, s.dc, { 20, 0 }, SRCCOPY);
        copy.bitBlt({ 0, 0, P, P }, pic, { 0, 0 }, SRCCOPY);
        copy.setBkColor(kKey);
        copy.setTextColor(rgb(255, 255, 255));
        mask.bitBlt({ 0, 0, P, P }, copy, { 0, 0 }, SRCCOPY);
        copy.setTextColor(0);
        copy.setBkColor(rgb(255, 255, 255));
        copy.bitBlt({ 0, 0, P, P }, mask, { 0, 0 }, DSna);
        work.stretchBlt({ 0, 0, P, P }, mask, { 0, 0, P, P }, SRCAND);
        work.stretchBlt({ 0, 0, P, P }, copy, { 0, 0, P, P }, SRCPAINT);
        s.dc.bitBlt({ 20, 0, 20 + P, P }, work, { 0, 0 }, SRCCOPY);
        benchmark::DoNotOptimize(s.bitmap.bits());
    }
}
void BM_TransparentBlit_QPainter(benchmark::State& state)
{
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(qcolor(kFace));
    const Bitmap src = makePicture();
    const QImage pic(reinterpret_cast<const uchar*>(src.bits()), P, P, P * 4, QImage::Format_RGB32);
    for (auto _ : state) {
        const QImage mask = pic.createMaskFromColor(qcolor(kKey).rgb(), Qt::MaskOutColor);
        QImage argb = pic.convertToFormat(QImage::Format_ARGB32);
        argb.setAlphaChannel(mask);
        QPainter p(&img);
        p.drawImage(20, 0, argb);
        p.end();
        benchmark::DoNotOptimize(img.bits());
    }
}

// The outline of an oval button: its elliptic region framed one pixel wide.
void BM_EllipseFrame_Ours(benchmark::State& state)
{
    OurSurface s;
    const Brush black = Brush::solid(0);
    for (auto _ : state) {
        const Region e = Region::ellipse({ 0, 0, W, H });
        s.dc.frameRegion(e, black, 1, 1);
        benchmark::DoNotOptimize(s.bitmap.bits());
    }
}
void BM_EllipseFrame_QPainter(benchmark::State& state)
{
    QImage img(W, H, QImage::Format_RGB32);
    for (auto _ : state) {
        const QRegion e(0, 0, W, H, QRegion::Ellipse);
        QRegion inner = e;
        for (const QPoint d : { QPoint(1, 1), QPoint(-1, 1), QPoint(1, -1), QPoint(-1, -1) })
            inner &= e.translated(d);
        const QRegion frame = e - inner;
        QPainter p(&img);
        p.setClipRegion(frame);
        p.fillRect(QRect(0, 0, W, H), Qt::black);
        p.end();
        benchmark::DoNotOptimize(img.bits());
    }
}

} // namespace

BENCHMARK(BM_Fill_Ours);
BENCHMARK(BM_Fill_QPainter);
BENCHMARK(BM_Bevel_Ours);
BENCHMARK(BM_Bevel_QPainter);
BENCHMARK(BM_TransparentBlit_Ours);
BENCHMARK(BM_TransparentBlit_QPainter);
BENCHMARK(BM_EllipseFrame_Ours);
BENCHMARK(BM_EllipseFrame_QPainter);
BENCHMARK_MAIN();
