// Painting the picture area: a C64 picture on a full-HD screen (the enlarged view) and a
// Pagefox page in the main window's picture area. Target: each paint under 5 ms.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QWindow>

#include "components/pmultiimage.h"
#include "components/render.h"

namespace {

QImage pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 7, y * 13, (x ^ y) * 3));
    return image;
}

// One full paint of the widget (background, scaled copy, border, OnPaint) into an image.
void paintInto(benchmark::State& state, quendra::PictureView& w) {
    QImage target(w.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        w.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2 into %3x%4")
                       .arg(w.picture().width())
                       .arg(w.picture().height())
                       .arg(w.width())
                       .arg(w.height())
                       .toStdString());
}

void BM_Paint320x200Into1920x1080(benchmark::State& state) {
    quendra::PictureView w; // the enlarged view's settings
    w.setCenter(true);
    w.setBorderStyle(quendra::BorderStyle::SingleBorder);
    w.setStretchRatio(true);
    w.resize(1920, 1080);
    w.setPicture(pattern(320, 200));
    paintInto(state, w);
}
BENCHMARK(BM_Paint320x200Into1920x1080)->Unit(benchmark::kMillisecond);

void BM_Paint2040x2040Into427x489(benchmark::State& state) {
    quendra::PictureView w; // the main window's settings
    w.setCenter(true);
    w.setBorderStyle(quendra::BorderStyle::SingleBorder);
    w.setColor(Qt::black);
    w.setImageDither(false);
    w.setStretchRatio(true);
    w.resize(427, 489);
    w.setPicture(pattern(2040, 2040));
    paintInto(state, w);
}
BENCHMARK(BM_Paint2040x2040Into427x489)->Unit(benchmark::kMillisecond);

// A zoom step paints at once on a shown window: the whole way through the backing store.
void BM_ZoomRepaintShown1920x1080(benchmark::State& state) {
    quendra::PictureView w;
    w.setStretchRatio(true);
    w.resize(1920, 1080);
    w.setPicture(pattern(320, 200));
    w.show();
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    int paints = 0;
    QObject::connect(&w, &quendra::PictureView::painted, [&paints] { ++paints; });
    bool in = true;
    for (auto _ : state) { // one zoom step, one paint
        if (in)
            w.zoomIn();
        else
            w.zoomOut();
        in = !in;
    }
    if (paints != static_cast<int>(state.iterations()))
        state.SkipWithError("a zoom step did not paint");
    state.SetItemsProcessed(paints);
}
BENCHMARK(BM_ZoomRepaintShown1920x1080)->Unit(benchmark::kMillisecond);

// The scaled copy alone, without the widget around it.
void BM_ScaledCopy320x200Into1920x1080(benchmark::State& state) {
    const QImage picture = pattern(320, 200);
    QImage frame(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        quendra::render::scaled(frame, picture, QRect(0, 0, 320, 200), {0, -60, 1920, 1200},
                                0xFF000000);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_ScaledCopy320x200Into1920x1080)->Unit(benchmark::kMillisecond);

} // namespace
