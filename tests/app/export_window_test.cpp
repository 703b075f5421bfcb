// The export window: a change of dither changes the preview, and Save writes the file the
// converter writes with the same settings; the choices are kept for the next time.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/export_window.h"
#include "app/settings.h"
#include "components/dialogs.h"
#include "export/c64_export.h"

namespace quendra {
namespace {

// A PC picture of 64 shades from red to blue, as the viewer holds one.
IndexedImage shades() {
    IndexedImage picture(320, 200);
    std::vector<Rgb> palette;
    for (int i = 0; i < 64; ++i)
        palette.push_back({std::uint8_t(255 - 4 * i), std::uint8_t(40 + i), std::uint8_t(4 * i)});
    picture.setPalette(palette);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x)
            picture.setIndex(x, y, static_cast<std::uint8_t>((x / 5 + y / 8) % 64));
    }
    return picture;
}

TEST(ExportWindow, DitherChangesThePreviewAndSaveWritesWhatTheConverterWrites) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    settings::setFilePath(dir.filePath(QStringLiteral("quendra.ini")));
    const QString target = dir.filePath(QStringLiteral("shades.koa"));
    dialogs::Handler handler;
    handler.saveFileName = [&](QWidget*, const dialogs::SaveRequest& request) {
        EXPECT_EQ(request.fileName, QStringLiteral("shades.koa"));
        return target;
    };
    const dialogs::Handler previous = dialogs::setHandler(handler);
    const IndexedImage picture = shades();
    {
        ExportWindow window(picture, defaultPalette().colours,
                            dir.filePath(QStringLiteral("shades")));
        window.show();
        auto* mode = window.findChild<QComboBox*>(QStringLiteral("modeBox"));
        auto* dither = window.findChild<QComboBox*>(QStringLiteral("ditherBox"));
        ASSERT_TRUE(mode && dither);
        // In no known palette, the picture is reduced even in exact mode, and says so.
        EXPECT_TRUE(window.previewText().contains(QStringLiteral("no known palette")))
            << window.previewText().toStdString();
        mode->setCurrentIndex(1);
        const QImage undithered = window.preview();
        EXPECT_TRUE(window.previewText().startsWith(QStringLiteral("Mean \u0394E ")));
        dither->setCurrentIndex(3);
        EXPECT_EQ(window.preview().size(), undithered.size());
        EXPECT_NE(window.preview(), undithered);

        window.save();
        QFile saved(target);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        // quendra-convert --to koa --reduce --dither floyd shades.png
        C64ExportOptions converter;
        converter.reduce = true;
        converter.reduction.dither = Dither::floyd;
        converter.autoPalette = true;
        C64Exporter exporter;
        std::vector<std::uint8_t> expected;
        ASSERT_EQ(exporter.write(picture.toRgb(), *findC64Writer("koa"), converter, expected), "");
        EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(expected.data()),
                                    static_cast<qsizetype>(expected.size())));
    }
    // The next window starts where this one was left.
    ExportWindow again(picture, defaultPalette().colours, target);
    EXPECT_EQ(again.options().reduction.dither, Dither::floyd);
    EXPECT_TRUE(again.options().reduce);
    dialogs::setHandler(previous);
    settings::setFilePath({});
}

} // namespace
} // namespace quendra
