#include "app/screenshot.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <memory>

#include "app/main_window.h"
#include "components/pmultiimage.h"

namespace quendra {

namespace {

void takeScreenshot(MainWindow* form, const QString& path, qint64 firstPaintMs) {
    QScreen* screen = form->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QPoint origin = form->mapToGlobal(QPoint(0, 0));
    // The window system's own picture of the screen, cut to the window.
    QImage shot =
        screen
            ->grabWindow(0, origin.x() - screen->geometry().x(),
                         origin.y() - screen->geometry().y(), form->width(), form->height())
            .toImage();
    const QPoint area = form->pictureView()->mapTo(form, QPoint(0, 0));
    shot.setText(QStringLiteral("PImg"), QStringLiteral("%1,%2,%3,%4")
                                             .arg(area.x())
                                             .arg(area.y())
                                             .arg(form->pictureView()->width())
                                             .arg(form->pictureView()->height()));
    shot.setText(QStringLiteral("FirstPaintMs"), QString::number(firstPaintMs));
    shot.save(path, "PNG");
}

} // namespace

void arrangeScreenshot(MainWindow* form, const QElapsedTimer& sinceStart) {
    const QString path = qEnvironmentVariable("QUENDRA_SCREENSHOT");
    if (path.isEmpty())
        return;
    auto* poll = new QTimer(form);
    auto firstPaint = std::make_shared<qint64>(-1);
    const QElapsedTimer started = sinceStart;
    QObject::connect(poll, &QTimer::timeout, form, [=] {
        const bool painted = !form->firstPaintPending() && form->isVisible();
        if (painted && *firstPaint < 0)
            *firstPaint = started.elapsed();
        // Let the window system settle once the picture is up; give up waiting after 15 s.
        const bool settled = *firstPaint >= 0 && started.elapsed() - *firstPaint > 300;
        if (!settled && started.elapsed() < 15000)
            return;
        poll->stop();
        takeScreenshot(form, path, *firstPaint);
        QCoreApplication::quit();
    });
    poll->start(20);
}

} // namespace quendra
