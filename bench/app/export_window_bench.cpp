// The export window's preview: a change of a setting to the preview drawn, for a 320 x 200
// photo-like source, under 100 ms for every format and dither.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QTemporaryDir>
#include <cmath>

#include "app/export_window.h"
#include "app/settings.h"

namespace {

using namespace quendra;

// Smooth colours with rings of detail, as the viewer holds a PC picture.
IndexedImage photoLike() {
    IndexedImage picture(320, 200);
    std::vector<Rgb> palette;
    for (int i = 0; i < 256; ++i) {
        palette.push_back(
            {std::uint8_t(i), std::uint8_t(128 + 127 * std::sin(i / 20.0)), std::uint8_t(255 - i)});
    }
    picture.setPalette(palette);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x) {
            const double r = std::hypot(x - 160, y - 100);
            picture.setIndex(x, y,
                             static_cast<std::uint8_t>(int(x * 0.6 + 40 * std::sin(r / 4)) & 255));
        }
    }
    return picture;
}

void ExportWindowPreview(benchmark::State& state) {
    QTemporaryDir dir;
    settings::setFilePath(dir.filePath(QStringLiteral("quendra.ini")));
    ExportWindow window(photoLike(), defaultPalette().colours, dir.filePath("photo.png"));
    window.findChild<QComboBox*>(QStringLiteral("modeBox"))->setCurrentIndex(1);
    window.findChild<QComboBox*>(QStringLiteral("formatBox"))
        ->setCurrentIndex(static_cast<int>(state.range(0)));
    auto* dither = window.findChild<QComboBox*>(QStringLiteral("ditherBox"));
    int next = 0;
    for (auto _ : state)
        dither->setCurrentIndex(next++ % 4); // each change draws the preview
    state.SetLabel(window.writer().key.data());
    settings::setFilePath({});
}
// Koala, Art Studio hires, FLI Designer, AFLI.
BENCHMARK(ExportWindowPreview)->Arg(0)->Arg(3)->Arg(8)->Arg(9)->Unit(benchmark::kMillisecond);

} // namespace
