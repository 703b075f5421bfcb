// The viewer's rules that need no window: captions, the file mask, which commands are
// enabled when, the zoom steps and placing the window on a screen.
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
// The About box's list: "Koala Painter (koa), ..." for every registry row.
QString formatList();

// The name part of a path: what follows the last "/".
QString namePart(const QString& fileName);
// "Quendra: " + name part + suffix.
QString captionFor(const QString& fileName, QStringView suffix);

// How a reader treats the controls around its work.
enum class ReaderFamily {
    C64,        // Koala, Art Studio, Amica, Koala compressed, Doodle, Doodle compressed
    Printfox,   // leaves "Show gray" disabled
    FunPainter, // leaves "Show gray" disabled, selects GIF and disables "4Bit GoDot"
    GodotPath,  // GoDot pictures and clips, and every file no other format names:
                // "Show gray" keeps its state meanwhile
};

// Enabled states of the main window's commands, plus the save-format selection that
// FunPainter 2 changes.
struct CommandStates {
    bool saveAs = false, flip = false, rotate = false, turn = false;
    bool zoomIn = false, zoomOut = false, origSize = false;
    bool grey = false;
    bool godot = true;       // the "4Bit GoDot" radio button
    // Whether the file list takes a choice: off while a file is read or a GoDot file written.
    // The list itself stays enabled, so that it keeps the keyboard focus.
    bool fileList = true;
    bool selectGif = false;  // a request to select GIF as the save format (FunPainter 2)
    friend bool operator==(const CommandStates&, const CommandStates&) = default;
};

// Before every file: "4Bit GoDot" is offered again.
void dispatchBegins(CommandStates& s);
// The frame's opening steps: the picture commands and the file list go off, and the
// C64, Printfox and FunPainter readers also disable "Show gray".
void readerStarts(CommandStates& s, ReaderFamily family);
// The frame's closing steps.
void readerEnds(CommandStates& s, ReaderFamily family);
// After a reader rejected its file: nothing is shown, so the commands that act on the
// picture stay off (the rest is as readerEnds leaves it).
void readerRejected(CommandStates& s);
// While a GoDot file is written: the file list, "Save as...", the picture commands and
// "Show gray" go off. Afterwards the states from before the save come back as they were.
void saveStarts(CommandStates& s);
// After the selected file was deleted: back to the start, "4Bit GoDot" off as well.
void afterDelete(CommandStates& s);

// The zoom steps. `count` is the number of zoom-ins applied to the picture (0..9).
// Each returns what to do to the picture component.
struct ZoomAction {
    int zoomIns = 0;   // calls of zoomIn
    int zoomOuts = 0;  // calls of zoomOut
    bool stretchRatio; // StretchRatio afterwards
};
inline constexpr int kMaxZoomSteps = 9;
ZoomAction zoomIn(CommandStates& s, int& count);
ZoomAction zoomOut(CommandStates& s, int& count, bool stretchRatio);
ZoomAction origSize(CommandStates& s, int& count);

// Fit to window: the largest whole-number scale, at least 1, at which `picture` fits
// inside `area` uncut.
int fitScale(QSize picture, QSize area);

// Where a window of `size` stored at `topLeft` opens: the stored position when the window
// meets at least one of the screens, else 0, 0 (a monitor that is gone). Any int values.
QPoint placementOnScreens(QPoint topLeft, QSize size, const QList<QRect>& screens);
// The stored size, each side at most that of the area all screens span together: a larger
// window shows nothing more, and one of millions of pixels cannot even be drawn.
QSize sizeOnScreens(QSize stored, const QList<QRect>& screens);

} // namespace quendra
