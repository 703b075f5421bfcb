// A running viewer for widget tests: its own settings file and folder, boxes answered by
// the test, files written from bytes the test builds.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include <QTest>

#include "app/browse_controls.h"
#include "app/picture_document.h"
#include "app/program.h"
#include "app/secondary_windows.h"
#include "app/settings.h"
#include "components/dialogs.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"
#include "decode/readers.h"
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

// Readable values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QImage& image, std::ostream* os) {
    *os << "picture " << image.width() << " x " << image.height();
}

namespace quendra::testing {

// A control of the window found as a person finds it, by its name (the object names the
// settings and the tests look up); a test fails when it is not there.
template <typename T> T* control(const QObject* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class ViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previousFolder = QDir::currentPath();
        settings::setFilePath(dir.filePath(QStringLiteral("config/quendra.ini")));
        dialogs::Handler handler;
        handler.message = [this](QWidget*, QMessageBox::Icon, const QString& title,
                                 const QString& text, QMessageBox::StandardButtons buttons) {
            boxes.push_back({title, text, buttons});
            return answer;
        };
        // No real open dialog waits for a person: cancelled unless a test answers it.
        handler.openFileName = [](QWidget*, const dialogs::OpenRequest&) { return QString(); };
        previousHandler = dialogs::setHandler(handler);
        QDir(dir.path()).mkpath(QStringLiteral("pics"));
        // Deleted files go to a Trash of the test's own.
        previousDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    }

    void TearDown() override {
        program.reset();
        dialogs::setHandler(previousHandler);
        settings::setFilePath({});
        QDir::setCurrent(previousFolder);
        if (previousDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", previousDataHome);
    }

    // Creates the windows as the program does, then opens the test's picture folder.
    void start(QStringList arguments = {}) {
        program = std::make_unique<Program>(std::move(arguments));
        form = program->mainWindow();
    }
    void openPictures() { folderList()->setDirectory(picsFolder()); }
    // The window shown and active, so that keys and shortcuts reach it as typed.
    void bringUp() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        fileList()->setFocus();
    }
    QString caption() const { return form->windowTitle(); }
    QString selected() const { return fileList()->selectedCaption(); }

    // The window's controls by their names.
    QPushButton* pushButton(const char* name) const { return control<QPushButton>(form, name); }
    QRadioButton* radioButton(const char* name) const { return control<QRadioButton>(form, name); }
    QToolButton* toolButton(const char* name) const { return control<QToolButton>(form, name); }
    QCheckBox* checkBox(const char* name) const { return control<QCheckBox>(form, name); }
    QLabel* label(const char* name) const { return control<QLabel>(form, name); }
    QWidget* widget(const char* name) const { return control<QWidget>(form, name); }
    QAction* menuAction(const char* name) const { return control<QAction>(form, name); }
    FileListView* fileList() const { return control<FileListView>(form, "FileList"); }
    FolderList* folderList() const { return control<FolderList>(form, "DirectoryListBox1"); }
    DriveBox* driveBox() const { return control<DriveBox>(form, "DriveComboBox1"); }
    QGroupBox* saveFormatGroup() const { return control<QGroupBox>(form, "RadioGroup1"); }
    // The Palette menu's named palettes, in the menu's order.
    QList<QAction*> paletteActions() const {
        QList<QAction*> out;
        for (QAction* a : form->findChildren<QAction*>()) {
            if (a->objectName().startsWith(QStringLiteral("palette-")))
                out << a;
        }
        return out;
    }

    // Clicks the list view's row of `name` (as the list shows it: lower case); an empty
    // name clicks below the last row.
    void clickListItem(const QString& name) {
        FileListView* list = fileList();
        QPoint at(5, list->viewport()->height() - 3);
        if (!name.isEmpty()) {
            const int row = listRow(name);
            ASSERT_GE(row, 0) << name.toStdString();
            at = list->visualRect(list->model()->index(row, 0)).center();
        }
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    // The list view's row showing `name` (in lower case), or -1.
    int listRow(const QString& name) const {
        FileListView* list = fileList();
        for (int row = 0; row < list->rowCount(); ++row) {
            if (list->text(row, FileListView::Caption) == name)
                return row;
        }
        return -1;
    }

    QString picsFolder() const { return dir.filePath(QStringLiteral("pics")); }

    // Writes `bytes` as pics/<name>; returns the full path.
    QString write(const QString& name, const std::vector<std::uint8_t>& bytes) {
        const QString path = QDir(picsFolder()).filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path;
    }

    // Shows a file the way a drop or the start-up argument does.
    void show(const QString& path) {
        form->document()->setFileName(path);
        form->showCurrentFile(form);
    }

    QImage shown() const { return form->pictureView()->picture(); }

    struct Box {
        QString title, text;
        QMessageBox::StandardButtons buttons;
    };

    QTemporaryDir dir;
    QString previousFolder;
    QByteArray previousDataHome;
    dialogs::Handler previousHandler;
    std::unique_ptr<Program> program;
    MainWindow* form = nullptr;
    std::vector<Box> boxes;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
};

// Records whether the progress window was shown, its caption and maximum then, and the
// main window's command states at that moment.
class ProgressWatch : public QObject {
  public:
    ProgressWatch(ProgressWindow* saving, MainWindow* form) : progressWindow_(saving), form_(form) {
        saving->installEventFilter(this);
    }
    bool shown = false;
    QString caption;
    int maximum = -1;
    bool commandsOff = false;
    bool greyOff = false;
    bool listBoxOff = false;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            shown = true;
            caption = progressWindow_->windowTitle();
            maximum = progressWindow_->bar()->maximum();
            commandsOff = true;
            for (const char* name : {"SaveAs", "Flip", "Rotate", "Turn", "ZoomIn"})
                commandsOff = commandsOff && !control<QPushButton>(form_, name)->isEnabled();
            greyOff = !control<QCheckBox>(form_, "grey")->isEnabled();
            listBoxOff = !form_->commandStates().fileList;
        }
        return false;
    }

  private:
    ProgressWindow* progressWindow_;
    MainWindow* form_;
};

// The picture a reader makes of `bytes`, as pictureView shows it.
QImage expectedPicture(Decoded (*decode)(Bytes, const DecodeOptions&),
                       const std::vector<std::uint8_t>& bytes, bool grey = false);
QImage blackTemplate();

} // namespace quendra::testing
