// A disk or tape image opened like a folder, without widgets: its entries as the file list
// shows them (C64 name, type, size, the picture format found for each), the picture of an
// entry and the caption the window shows for it. The file list and the dispatch show an
// open image through this model; the image file is read once, when it is opened.
#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <string_view>

#include "decode/disk_image.h"
#include "decode/open_picture.h"

namespace quendra {

class DiskBrowser {
  public:
    struct Row {
        QString name;   // the C64 name as the C64 font shows it
        QString type;   // "PRG", "SEQ", "DEL" …
        quint64 size = 0;
        QString format; // the picture format found, "Koala Painter"; empty for no picture
        QString note;   // what is odd about the entry; empty when nothing
    };

    // Whether a file's name says it is a disk or tape image, and the Type text for it
    // ("D64 disk image"; empty when it is none).
    static bool isImageName(const QString& fileName);
    static QString typeText(const QString& fileName);
    // Whether the file at `path` is one to open: a plain file whose name says an image (a
    // PC64 name only with the PC64 signature).
    static bool isImageFile(const QString& path);

    // Opens the image: true when its entries are listed; else `error` says why and the
    // image open before stays open.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return image_ != nullptr; }
    QString imagePath() const { return path_; }

    const QList<Row>& rows() const { return rows_; }

    // The picture of entry `row` on the one road of a file; no format for an entry that
    // is no picture (a DEL entry, a program, a row out of range).
    OpenedPicture picture(int row, const DecodeOptions& options = {}) const;

    // The entry's name as a file name ("C_HOUSE"): what a save proposes.
    QString safeName(int row) const;
    // What the image says about itself as a whole (a directory that loops …), one line.
    QString imageNotes() const;

    // "Quendra: disk.d64 › FERRARI (Koala)", the suffix of the format that reads the entry.
    QString caption(int row, std::string_view suffix) const;

  private:
    QString path_;
    std::shared_ptr<const DiskImage> image_;
    QList<Row> rows_;
};

} // namespace quendra
