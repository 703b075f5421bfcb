// The viewer's rules that need no window: captions, the file mask and placing the window
// on a screen (the command states and the view's zoom are command_states.h, view_state.h).
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace quendra {

inline const QString kProgramName = QStringLiteral("Quendra");
// The file list's mask: "*.koa;*.rpm;..." from the registry's rows that are in the mask,
// each extension once in lower case (the mask ignores case), then the disk and tape images
// ("*.d64", "*.p[0-9][0-9]").
QString fileMask();
// One line of Help ▸ "Formats": a format's name and its extensions ("koa, kla").
struct FormatListing {
    QString name;
    QString extensions;
};
// Every registry row, in the registry's order, then the disk and tape images.
QList<FormatListing> formatListing();

// The name part of a path: what follows the last "/".
QString namePart(const QString& fileName);
// "Quendra: " + name part + suffix.
QString captionFor(const QString& fileName, QStringView suffix);

// Where a window of `size` stored at `topLeft` opens: the stored position when the window
// meets at least one of the screens, else 0, 0 (a monitor that is gone). Any int values.
QPoint placementOnScreens(QPoint topLeft, QSize size, const QList<QRect>& screens);
// The stored size, each side at most that of the area all screens span together: a larger
// window shows nothing more, and one of millions of pixels cannot even be drawn.
QSize sizeOnScreens(QSize stored, const QList<QRect>& screens);

} // namespace quendra
