// The one seam through which every modal box and dialog of the program goes.
// Tests install their own handler so that nothing ever blocks on a box.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace quendra::dialogs {

struct SaveRequest {
    QString title;         // "Save File As..."
    QString directory;     // folder the dialog starts in
    QString fileName;      // proposed name (no folder)
    QString filter;        // "PNG-Files (*.PNG)", or several separated by ";;"
    QString defaultSuffix; // "PNG": the chosen filter's extension replaces it
    QString selectedFilter; // the filter shown first; empty: the first
};

struct OpenRequest {
    QString title;     // "Load palette file"
    QString directory; // folder the dialog starts in
    QString filter;    // "VICE palettes (*.vpl)"
    bool folder = false; // a folder is chosen instead of a file (the filter unused)
};

struct Handler {
    // A modal box; returns the button pressed.
    std::function<QMessageBox::StandardButton(QWidget* parent, QMessageBox::Icon icon,
                                              const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons)>
        message;
    // The save dialog; returns the chosen path, empty when cancelled.
    std::function<QString(QWidget* parent, const SaveRequest& request)> saveFileName;
    // The open dialog; returns the chosen existing file (or folder), empty when cancelled.
    std::function<QString(QWidget* parent, const OpenRequest& request)> openFileName = nullptr;
};

QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                    const QString& text,
                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok);
QString saveFileName(QWidget* parent, const SaveRequest& request);
QString openFileName(QWidget* parent, const OpenRequest& request);

// A file name as a message or a caption shows it: control characters and bytes that are not
// UTF-8 escaped (\n, \x1b), all else unchanged (printableName()).
QString printableFileName(const QString& name);

// Installs `handler` (an empty member keeps the real box for that kind); returns the
// previous one. The real dialogs are used when no handler was installed.
Handler setHandler(Handler handler);

} // namespace quendra::dialogs
