// MainWindow: the main window. Left, the browsing chain (drive, folder, file list) and the
// commands; right, the picture area pictureView. The window builds the controls, connects
// them and renders what the picture document (picture_document.h) and the state objects
// beside it hold: the command states (command_states.h), the view's zoom and fit
// (view_state.h) and the browsing state (browsing_state.h). Showing a file goes through one
// dispatch, showCurrentFile, and one pass of the reader frame, showFile
// (main_window_readers.cpp), which hands the picture to the document; pictureView and the
// enlarged and reduced views draw the document, and the commands change it
// (main_window_commands.cpp); saving is main_window_save.cpp.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "app/settings.h"
#include "app/browsing_state.h"
#include "app/command_states.h"
#include "app/recent_folders.h"
#include "app/view_logic.h"
#include "app/view_state.h"
#include "components/bridge.h"
#include "decode/formats.h"
#include "decode/palettes.h"
#include "export/save_as.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QMenu;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quendra {

class FolderList;
class DriveBox;
class FileListView;
class EnlargedView;
class ReducedView;
class DropTarget;
class AboutBox;
class DiskBrowser;
class PictureDocument;
class PictureView;
class PaletteMenu;
class ProgressWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Runs initialise: reads the settings, shows the black template, opens the program's
    // folder. `arguments` are the command-line arguments after the program's name.
    explicit MainWindow(QStringList arguments = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The secondary windows, created after the main window (see Program).
    void setSecondaryWindows(EnlargedView* enlargedView, ReducedView* reducedView, AboutBox* about,
                             ProgressWindow* saving);

    // The blank template: 320 x 200, every pixel black, never drawn into.
    const QImage templatePicture;

    const CommandStates& commandStates() const { return states_; }
    // The open disk image and the list's selection guards.
    const BrowsingState& browsingState() const { return browsing_; }
    ProgressWindow* progressWindow() const { return progressWindow_; }
    EnlargedView* enlargedView() const { return enlargedView_; }
    ReducedView* reducedView() const { return reducedView_; }
    AboutBox* aboutBox() const { return aboutBox_; }

    // The picture shown, its file, palette, grey, flips and turns, and whether one is shown.
    PictureDocument* document() const { return document_; }
    // The zoom steps, fit to window and the whole-number scale.
    const ViewState& viewState() const { return view_; }
    // Whether the first paint after start-up is still to come: the start-up picture shows
    // no progress window meanwhile. Tests set it to stand for a window long running.
    bool firstPaintPending() const { return firstPaintPending_; }
    void setFirstPaintPending(bool pending) { firstPaintPending_ = pending; }
    // The picture area.
    PictureView* pictureView() const { return ui_.pictureView; }
    // The line under the picture: why a file is not shown, or how it was drawn.
    QString statusText() const;

  public slots:
    // Dispatch: shows the current file (from the list view when it is the trigger).
    void showCurrentFile(QObject* sender);

    // Browsing chain.
    void driveChanged();
    void folderChanged();
    void fileListChanged();

    // Commands.
    void saveAs();
    // Writes the document's picture as a GoDot 4Bit file, with the progress window.
    void saveGodot(const QString& fileName);
    // Writes the shown picture as a C64 file (main_window_export.cpp).
    void exportC64();
    // The selected file to the Trash after a question (the Delete button, the Delete key),
    // or deleted for good (Shift+Delete); nothing inside a disk image (main_window_delete.cpp).
    void deleteCurrentFile();
    void deleteCurrentFileForGood();
    void flip();
    void turnAnticlockwise();
    void turnClockwise();
    void zoomIn();
    void zoomOut();
    void originalSize();
    void applyGrey();
    // Fit to window (F) and back to 1:1 (key 1).
    void fitToWindow();
    void showActualSize();
    // The enlarged view over the whole screen (F11); F5 lists the folder again.
    void showFullScreenView();
    void reloadFolder();
    // A disk or tape image opened like a folder: its entries in the file list; out again
    // to its folder, its own row selected.
    void openImage(const QString& path);
    void leaveImage();
    // Enter or a double-click on the list's row: opens an image, leads out of one ("..")
    // or shows the file (Enter again, a double-click only when not shown yet).
    void activateListRow(bool showAgain = true);
    // Shows the file `delta` rows further down the list (up when negative).
    void stepFile(int delta);
    void pictureMouseDown(Qt::MouseButton button);
    void picturePainted();
    void showAbout();
    // Help ▸ "Formats": the registry's formats with their extensions (formats_window.h).
    void showFormats();

    // Getting to one's files (main_window_open.cpp): File ▸ "Open..." and "Open
    // Folder..." through the dialog seam; a picture, a folder or a disk image opened as the
    // command line's argument is (a folder or an image with its first picture shown).
    void openByDialog();
    void openFolderByDialog();
    void openPlace(const QString& path);
    // Go ▸ Back (Alt+Left), Up (Alt+Up; out of an open image) and Home folder (Alt+Home).
    void goBack();
    void goUp();
    void goHome();

    // Activation and closing (also run by the window system's events).
    void onActivated();

    // Shows entry 0 of a dropped-file list (the drop target's list, last file first).
    void showDropped(const QStringList& files);

  signals:
    // The program is to end (closing the window, or the menu item).
    void programEnds();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    // The window's controls. Tests find them as a person does, by their object names.
    struct Controls {
        // Controls
        DriveBox* driveBox = nullptr;
        FolderList* folderList = nullptr;
        FileListView* fileList = nullptr;
        QPushButton* saveAsButton = nullptr;
        QToolButton* detailsButton = nullptr;
        QToolButton* listButton = nullptr;
        QToolButton* deleteButton = nullptr;
        QGroupBox* saveFormatGroup = nullptr;
        QRadioButton* bmpButton = nullptr;
        QRadioButton* pcxButton = nullptr;
        QRadioButton* pngButton = nullptr;
        QRadioButton* gifButton = nullptr;
        QRadioButton* jpgButton = nullptr;
        QRadioButton* tifButton = nullptr;
        QRadioButton* godotButton = nullptr;
        QCheckBox* grey = nullptr;
        QPushButton* flipButton = nullptr;
        QPushButton* turnButton = nullptr; // captioned "Turn"
        QPushButton* zoomInButton = nullptr;
        QPushButton* zoomOutButton = nullptr;
        QPushButton* originalSizeButton = nullptr;
        QPushButton* rotateButton = nullptr; // captioned "Rotate"
        PictureView* pictureView = nullptr;
        QLabel* statusLine = nullptr;        // under the picture: why a file is not shown
        QWidget* splitterHandle = nullptr;   // between the browsing column and the picture
        QAction* fitAction = nullptr;        // "&Fit to window" (F)
        QAction* actualSizeAction = nullptr; // "&Actual size" (1)
        DropTarget* dropTarget = nullptr;
        QAction* exportC64Action = nullptr;   // "&Export as C64 picture…"
        QAction* closeAction = nullptr;       // "&Close (ALT+F4)"
        QAction* aboutAction = nullptr;       // "A&bout"
        QAction* formatsAction = nullptr;     // Help ▸ "&Formats"
        QAction* deleteAction = nullptr;        // Delete, in the file list or on the picture
        QAction* deleteForGoodAction = nullptr; // Shift+Delete, there too
    };
    // The parts of eventFilter: keys in the file list (letters type a name, Space and
    // Backspace step, Enter opens), keys and Ctrl+wheel over the picture, the splitter's drag.
    bool fileListKey(QEvent* e);
    bool pictureViewEvent(QEvent* e);
    bool splitterDrag(QEvent* e);
    void createControls();
    void createBrowseControls(QWidget* client);
    void createCommandControls(QWidget* client);
    void createPictureControls(QWidget* client);
    void connectControls();
    void createMenu();
    // The Delete and Shift+Delete keys of the file list and the picture area.
    void createDeleteActions();
    void deleteFile(bool forGood);
    void createOpenMenu(QMenu* file);
    void createGoMenu();
    void initialise();
    void saveState();
    void applyPlacement(const WindowPlacement& placement);
    void applyStates();
    // pictureView follows the document: its picture, or the black template.
    void showDocument();
    // The current file's picture drawn again from the document through the reader frame,
    // as a new reading would show it ("Show gray"); false where the file must be read.
    bool showAgainWithoutReading();
    // Places the controls for the window's size and the column width: the lists grow
    // with the window, the commands keep their places under them.
    void layoutControls();
    // The widest the browsing column may be at the window's width (the picture area at its
    // least, kMinimumPictureWidth).
    int widestColumn() const;
    // The whole-number scale for the shown picture when fitting, else 1.
    void applyFit();
    // Leaves fit to window (before a zoom step or 1:1).
    void leaveFit();
    // A zoom step from a fit or a whole-number scale (ViewState::wholeStep), placed.
    bool zoomWholeStep(int direction);
    // Whether the key is one of the View menu's shortcuts.
    bool isViewKey(const QKeyEvent* key) const;
    // The line under the picture; empty hides the reason.
    void showStatus(const QString& text);
    // "Saved pic.png in /home/me/pics.": what a save or an export wrote where.
    void showWritten(const QString& verb, const QString& fileName);
    // The line's text cut with "…" to its width (the whole text is its tooltip).
    void fitStatusToWidth();
    // A file that is not shown: black template, commands off, the reason on the line.
    void showNothing(const QString& fileName, const QString& reason);
    // Selects the list row of `path` (none when it is not listed) without showing it again.
    void selectListFile(const QString& path);
    // The list's current row moved (keys, typing): show that file.
    void listSelectionMoved();

    // Disk and tape images (main_window_disk.cpp): the entry shown; the entries listed.
    void showEntry(const QString& key);
    void listImage();

    // Reader frame: before a file or an entry is read as `format` (the component's zoom
    // undone; where a progress window may show, the commands off and the caption naming
    // the file), and after: the picture into the document, or nothing shown; the commands,
    // the caption and the fit. Returns whether the picture was accepted.
    void beginReading(const QString& fileName, const C64Format& format);
    bool endReading(const QString& fileName, const C64Format& format, const Decoded& decoded);
    // Shows a file read on the one road (decode/open_picture.h), which names its format.
    void showFile(const QString& fileName);
    // Shows a PC picture (PNG, JPEG, …; main_window_pc.cpp), true colour.
    void showPcPicture(const QString& fileName);

    // Opens `folder` in the folder list (falls back to the program's folder).
    void openFolder(const QString& folder);
    // At start: the argument's folder (a folder argument itself), else the one browsed
    // last; at the first activation the argument is shown or opened.
    void openStartFolder(const QString& lastFolder);
    void openArgument();
    // The first picture of the listed folder (disk images skipped) or the open image.
    void showFirstPicture();
    // An open image closed without showing its row, its folder's files listed again.
    void closeImageQuietly();
    // A place (folder or image) put first in File ▸ "Recent folders" and quendra.ini.
    void rememberPlace(const QString& place);
    void fillRecentMenu();
    void applyZoom(const ZoomAction& action);
    // The save-format row of the checked radio button, tested in the rows' order.
    const SaveFormatRow* checkedSaveFormat() const;
    QRadioButton* saveFormatButton(PictureFormat format) const;

    EnlargedView* enlargedView_ = nullptr;
    ReducedView* reducedView_ = nullptr;
    AboutBox* aboutBox_ = nullptr;
    ProgressWindow* progressWindow_ = nullptr;
    QWidget* formatsWindow_ = nullptr; // made when first asked for
    QStringList arguments_;
    bool argumentOpened_ = false;
    RecentFolders recent_;
    QMenu* recentMenu_ = nullptr;
    Controls ui_;
    CommandStates states_;
    BrowsingState browsing_;
    SaveFolder saveFolder_;
    bool activatedOnce_ = false;
    QList<QAction*> viewActions_;
    PictureDocument* document_ = nullptr;
    PaletteMenu* paletteMenu_ = nullptr; // the Palette menu (palette_menu.h)
    ViewState view_;
    bool firstPaintPending_ = false;
    int columnWidth_ = 225;    // the browsing column's lists, moved by the splitter
    QList<QPair<QWidget*, QPoint>> commandPlaces_; // where each command sits at 686 x 565
    // The designed size and column width; the smallest window at which every control is
    // visible (the file list keeps five rows), and the narrowest picture area.
    static constexpr int kDesignColumnWidth = 225;
    static constexpr int kDesignWidth = 686, kDesignHeight = 565;
    static constexpr int kMinimumWidth = 480, kMinimumHeight = 485;
    static constexpr int kMinimumPictureWidth = 160;
    int dragStartX_ = -1, dragStartWidth_ = 0;
};

} // namespace quendra
