#include "components/dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <string_view>

#include "decode/printable_name.h"

namespace quendra::dialogs {

namespace {

Handler& current() {
    static Handler handler;
    return handler;
}

QMessageBox::StandardButton realMessage(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString realSaveFileName(QWidget* parent, const SaveRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    // A name typed without an extension gets the chosen filter's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const qsizetype star = f.indexOf(QStringLiteral("(*."));
        if (star < 0)
            return;
        const qsizetype end = f.indexOf(QRegularExpression(QStringLiteral("[ )]")), star + 3);
        if (end > star + 3)
            dialog.setDefaultSuffix(f.mid(star + 3, end - star - 3));
    });
    dialog.selectFile(request.fileName);
    while (dialog.exec() == QDialog::Accepted) {
        const QString chosen = dialog.selectedFiles().value(0);
        const QFileInfo info(chosen);
        // A read-only file is refused; the user picks again.
        if (info.exists() && !info.isWritable()) {
            realMessage(parent, QMessageBox::Warning, request.title,
                        printableFileName(chosen) + "\nThe file is read-only.", QMessageBox::Ok);
            continue;
        }
        return chosen;
    }
    return {};
}

QString realOpenFileName(QWidget* parent, const OpenRequest& request) {
    if (request.folder)
        return QFileDialog::getExistingDirectory(parent, request.title, request.directory);
    return QFileDialog::getOpenFileName(parent, request.title, request.directory, request.filter);
}

} // namespace

QString printableFileName(const QString& name) {
    const QByteArray bytes = QFile::encodeName(name);
    return QString::fromStdString(
        printableName(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons) {
    const Handler& h = current();
    return h.message ? h.message(parent, icon, title, text, buttons)
                     : realMessage(parent, icon, title, text, buttons);
}

QString saveFileName(QWidget* parent, const SaveRequest& request) {
    const Handler& h = current();
    return h.saveFileName ? h.saveFileName(parent, request) : realSaveFileName(parent, request);
}

QString openFileName(QWidget* parent, const OpenRequest& request) {
    const Handler& h = current();
    return h.openFileName ? h.openFileName(parent, request) : realOpenFileName(parent, request);
}

Handler setHandler(Handler handler) {
    Handler previous = current();
    current() = std::move(handler);
    return previous;
}

} // namespace quendra::dialogs
