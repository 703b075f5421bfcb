// The browsing chain's controls above the file list: a drive selector listing the mounted
// volumes, and a folder list showing the current folder's path, subfolders and disk images.
// The file list (components/file_list_view.h) lists the folder's files itself.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

namespace quendra {

// Mounted volumes by their root paths.
class DriveBox : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveBox(QWidget* parent = nullptr);
    // Re-reads the mounted volumes, keeping the selection where it can.
    void refreshVolumes();
    // The selected volume's root path.
    QString drive() const;
    // Selects the volume that holds `path` (without emitting driveChosen).
    void setDriveOf(const QString& path);
    // True when `root` is a mounted, ready volume whose root can be listed.
    static bool isReady(const QString& root);

  signals:
    // The user chose a volume, or clicked, entered or left the selector.
    void driveChosen();

  protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
};

// The current folder as a path from the root, one line per folder, then its subfolders and
// its disk and tape images. Activating a line (double click, Enter) opens that folder or
// image; while an image is open, its line is the current one, and activating a folder's
// line (its own folder's too) leads back out.
class FolderList : public QListWidget {
    Q_OBJECT
  public:
    explicit FolderList(QWidget* parent = nullptr);
    QString directory() const { return directory_; }
    // Opens `folder` (made absolute and clean); false, changing nothing, when it cannot
    // be listed. Emits directoryChanged when the folder changed.
    bool setDirectory(const QString& folder);
    // Lists the current folder again.
    void refresh();
    // The image shown open (one of the folder's), or none (empty).
    QString openImage() const { return openImage_; }
    void setOpenImage(const QString& path);

  signals:
    void directoryChanged(const QString& folder);
    // A line of a disk or tape image was activated.
    void imageActivated(const QString& path);

  private:
    void fill();
    QString directory_;
    QString openImage_;
    QStringList paths_;  // the folder or image each line stands for
    int firstImage_ = 0; // the lines from here on stand for images
};

} // namespace quendra
