// What the file list browses, without widgets: the disk or tape image open like a folder
// (its entries as the list's rows, each under a key made of the image's path and the entry's
// number, "…/pics.d64/3", which no file of the folder can have since the image is a file),
// and the guards of the list's selection (the row and the shown file are always the same).
// The folder is the folder list's; the selected row is the list's.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "app/disk_browser.h"

namespace quendra {

class BrowsingState {
  public:
    static constexpr int kUpRow = -1;   // the ".." row of an open image
    static constexpr int kNoEntry = -2; // a file of the folder

    // The program's folder (the executable's), and the folder the list starts in without
    // an argument: `lastFolder` (the folder browsed last) while it is one, else the
    // program's "samples" subfolder or the program's folder when it holds pictures, else
    // the user's Pictures folder, else home.
    static QString programFolder();
    static QString startFolder(const QString& lastFolder);
    // The row `delta` rows from `current` (-1: none) in a list of `rows`, kept inside it;
    // -1 where there is no other row to go to (an empty list, or the end reached by a
    // row that is selected already).
    static int steppedRow(int rows, int current, bool currentSelected, int delta);

    // The open image (DiskBrowser::isOpen() false when none).
    const DiskBrowser& image() const { return disk_; }
    bool insideImage() const { return disk_.isOpen(); }
    // Opens the image at `path` (true when its entries are listed; else `error` says why and
    // the image open before stays open); reads the open one again; closes it.
    bool openImage(const QString& path, QString* error = nullptr);
    bool readImageAgain();
    void closeImage() { disk_.close(); }

    // An entry's key and back: kUpRow for the ".." row, kNoEntry for any other name.
    QString entryKey(int entry) const;
    int entryOf(const QString& key) const;

    // One row of the file list for an open image: its key and its column texts.
    struct Row {
        QString key;
        QStringList texts; // name, size, type
        bool isFolder = false;
    };
    // The ".." row, then each entry with the picture's format and the C64 file type.
    QList<Row> imageRows() const;
    // "disk.d64: 5 entries, 3 of them pictures; notes." for the line under the picture.
    QString imageSummary() const;

    // The caption of a file or an entry with a format's suffix, and the name messages show.
    QString caption(const QString& fileName, QStringView suffix) const;
    QString shownName(const QString& fileName) const;
    // The name a save proposes for the file or entry, without extension; empty for a file.
    QString entryFileName(const QString& key) const;

    // Whether a move of the list's current row shows its file: not while the program
    // selects a row itself, nor while a mouse button is down on the list (its release
    // shows the file).
    bool followsListMoves() const { return !selectingByProgram_ && !mouseInList_; }
    void setSelectingByProgram(bool on) { selectingByProgram_ = on; }
    void setMouseInList(bool down) { mouseInList_ = down; }

    // The folders listed before, for Back (Alt+Left): `folder` is listed now (the one
    // before goes into the history); takeBackFolder gives the last one (and takes it off,
    // as listed now), or empty when there is none.
    void enterFolder(const QString& folder);
    QString takeBackFolder();

  private:
    static constexpr int kLongestHistory = 64;
    QStringList history_;
    QString listedFolder_;
    DiskBrowser disk_;
    bool selectingByProgram_ = false;
    bool mouseInList_ = false;
};

} // namespace quendra
