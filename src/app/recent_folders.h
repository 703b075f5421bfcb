// The folders (and disk or tape images, opened like folders) looked at last, newest first,
// for File ▸ "Recent folders", kept in quendra.ini's [Recent] section as Folder1, Folder2 …
// Without widgets: the window adds a place when it is opened or a picture from it shown,
// fills the menu from places() and writes them with its other settings when it closes.
#pragma once

#include <QString>
#include <QStringList>

namespace quendra {

class IniFile;

class RecentFolders {
  public:
    // At most this many places are kept.
    static constexpr int kMost = 8;

    const QStringList& places() const { return places_; }
    // Puts `place` first (once; the oldest goes past kMost). True when the list changed.
    bool add(const QString& place);
    // Drops `place` (one that is gone). True when the list changed.
    bool remove(const QString& place);

    // The places from the [Recent] section (empty keys and repeats skipped, at most kMost).
    void read(const IniFile& ini);
    // Writes them into [Recent]; keys past the list that are there are emptied.
    void write(IniFile& ini) const;
    // Reads the program's settings file (settings::filePath()).
    void load();

  private:
    QStringList places_;
};

} // namespace quendra
