// The program itself in a real window on a virtual X server: started with a picture as its
// argument, it saves what the screen shows of its window, and the picture area must show
// the picture's colours.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

#include "samples/c64_files.h"

namespace quendra {
namespace {

// A Koala picture whose left half is red (C64 colour 2) and right half light blue (14).
std::vector<std::uint8_t> halvesPicture() {
    samples::CellPicture p;
    p.bitmap.fill(0xFF); // every pixel takes its cell's colour-memory colour
    for (int n = 0; n < 1000; ++n)
        p.colour[n] = (n % 40) < 20 ? 2 : 14;
    p.background = 0;
    return samples::makeKoala(p);
}

bool near(QRgb actual, QRgb expected) {
    return std::abs(qRed(actual) - qRed(expected)) <= 8 &&
           std::abs(qGreen(actual) - qGreen(expected)) <= 8 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 8;
}

TEST(RealWindow, ShowsTheArgumentsPictureOnAnXServer) {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    ASSERT_FALSE(xvfbRun.isEmpty()) << "xvfb-run is missing (Debian packages xvfb and xauth)";
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/quendra");
    ASSERT_TRUE(QFile::exists(program)) << program.toStdString();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString picture = dir.filePath(QStringLiteral("halves.koa"));
    {
        QFile f(picture);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const auto bytes = halvesPicture();
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
    const QString shot = dir.filePath(QStringLiteral("shot.png"));

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QUENDRA_SCREENSHOT"), shot);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"),
                        QStringLiteral("-screen 0 1280x1024x24"), program, picture});
    ASSERT_TRUE(run.waitForStarted(10000));
    ASSERT_TRUE(run.waitForFinished(60000)) << run.readAll().toStdString();
    ASSERT_EQ(run.exitCode(), 0) << run.readAll().toStdString();

    QImage image(shot);
    ASSERT_FALSE(image.isNull()) << "no screenshot; program said: " << run.readAll().toStdString();
    const QStringList area = image.text(QStringLiteral("PImg")).split(u',');
    ASSERT_EQ(area.size(), 4);
    const QRect pimg(area[0].toInt(), area[1].toInt(), area[2].toInt(), area[3].toInt());
    ASSERT_TRUE(image.rect().intersects(pimg));
    std::cout << "start-up to first paint: "
              << image.text(QStringLiteral("FirstPaintMs")).toStdString() << " ms\n";

    // The 320 x 200 picture sits in the middle of the picture area, on black.
    const QRect visible = pimg.intersected(image.rect());
    const QPoint centre = pimg.center();
    const QRgb red = qRgb(136, 0, 0);
    const QRgb lightBlue = qRgb(0, 136, 255);
    for (int dy : {-90, 0, 90}) {
        EXPECT_TRUE(near(image.pixel(centre + QPoint(-150, dy)), red)) << dy;
        EXPECT_TRUE(near(image.pixel(centre + QPoint(-10, dy)), red)) << dy;
        EXPECT_TRUE(near(image.pixel(centre + QPoint(10, dy)), lightBlue)) << dy;
        EXPECT_TRUE(near(image.pixel(centre + QPoint(150, dy)), lightBlue)) << dy;
    }
    EXPECT_TRUE(near(image.pixel(visible.left() + 5, visible.top() + 5), qRgb(0, 0, 0)));
    EXPECT_TRUE(near(image.pixel(centre + QPoint(0, 110)), qRgb(0, 0, 0)));
}

TEST(RealWindow, VersionAndHelpPrintAndEnd) {
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/quendra");
    for (const QString& option : {QStringLiteral("--version"), QStringLiteral("--help")}) {
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY")); // no window may be needed
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        run.setProcessEnvironment(env);
        run.start(program, {option});
        ASSERT_TRUE(run.waitForFinished(30000));
        EXPECT_EQ(run.exitCode(), 0) << option.toStdString();
        const QString out = QString::fromUtf8(run.readAllStandardOutput());
        EXPECT_TRUE(option == QStringLiteral("--help") ? out.startsWith(QStringLiteral("Usage: quendra"))
                                                        : out == QStringLiteral("quendra " QUENDRA_TEST_VERSION "\n"))
            << out.toStdString();
    }
}

} // namespace
} // namespace quendra
