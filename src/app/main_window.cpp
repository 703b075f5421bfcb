// MainWindow: controls, menu, start and end, placement, and the browsing chain.
#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/glyphs.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "app/settings.h"
#include "components/drop_files.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

namespace {

QImage blackTemplate() {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

template <typename W>
W* place(W* widget, QWidget* parent, const char* name, int left, int top, int width, int height) {
    widget->setParent(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    return place(new QPushButton(caption), parent, name, left, top, 75, 25);
}

QToolButton* glyphButton(QWidget* parent, const char* name, const QIcon& icon, const QString& hint,
                         int left, int top) {
    auto* b = place(new QToolButton, parent, name, left, top, 25, 25);
    b->setIcon(icon);
    b->setToolTip(hint);
    b->setAutoRaise(false);
    return b;
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption, int left, int top,
                    int width = 55) {
    return place(new QRadioButton(caption), parent, name, left, top, width, 17);
}

} // namespace

MainWindow::MainWindow(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), templatePicture(blackTemplate()), arguments_(std::move(arguments)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProgramName);
    document_ = new PictureDocument(this);
    // The folder list changes the current folder before the argument is shown; a relative
    // argument means the folder the program was started in.
    if (!arguments_.isEmpty() && !arguments_.first().isEmpty())
        arguments_.first() = QFileInfo(arguments_.first()).absoluteFilePath();
    createControls();
    createMenu();
    initialise();
}

MainWindow::~MainWindow() = default;

void MainWindow::setSecondaryWindows(EnlargedView* enlargedView, ReducedView* reducedView,
                                     AboutBox* about, ProgressWindow* saving) {
    enlargedView_ = enlargedView;
    reducedView_ = reducedView;
    aboutBox_ = about;
    progressWindow_ = saving;
}

QString MainWindow::programFolder() {
    return QCoreApplication::applicationDirPath();
}

namespace {
// quendra.ini's section of the browsing column: the folder and the lists' width.
const QString kBrowseSection = QStringLiteral("Browse");
const QString kFolderKey = QStringLiteral("Folder");
const QString kColumnWidthKey = QStringLiteral("ColumnWidth");
// The format "Save as..." writes, by its extension ("png"), kept from run to run.
const QString kSaveSection = QStringLiteral("Save");
const QString kFormatKey = QStringLiteral("Format");
constexpr int kDesignColumnWidth = 225;
constexpr int kDesignWidth = 686, kDesignHeight = 565;
// The smallest window at which every control is visible (the file list keeps five rows).
constexpr int kMinimumWidth = 480, kMinimumHeight = 485;
constexpr int kMinimumPictureWidth = 160;

// Whether the file list would list anything there (the same name filters).
bool holdsPictures(const QString& folder) {
    return !QDir(folder).entryList(fileMask().split(u';'), QDir::Files).isEmpty();
}
} // namespace

QString MainWindow::startFolder() {
    const QString last = IniFile(settings::filePath()).readString(kBrowseSection, kFolderKey);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString samples = programFolder() + QStringLiteral("/samples");
    if (QFileInfo(samples).isDir())
        return samples;
    if (holdsPictures(programFolder()))
        return programFolder();
    // An installed program's folder (/usr/bin) is no place to browse.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}

void MainWindow::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    createBrowseControls(client);
    createCommandControls(client);
    createPictureControls(client);
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    ui_.dropTarget = new DropTarget(this);
    ui_.dropTarget->setDropWindow(ui_.pictureView);
    ui_.dropTarget->setAccept(true);

    connectControls();
    ui_.fileList->setFocus();
}

// The drive box, the folder list and the file list.
void MainWindow::createBrowseControls(QWidget* client) {
    ui_.driveBox = place(new DriveBox, client, "DriveComboBox1", 10, 17, 223, 21);
    ui_.folderList = place(new FolderList, client, "DirectoryListBox1", 8, 48, 225, 89);

    ui_.fileList = place(new FileListView, client, "FileList", 8, 144, 225, 161);
    ui_.fileList->setColumns({{QStringLiteral("Name"), 65},
                              {QStringLiteral("Size"), 50},
                              {QStringLiteral("Type"), 50},
                              {QStringLiteral("Modified"), 80}});
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(9);
    ui_.fileList->setFont(listFont);
    ui_.fileList->setMultiSelect(false);
    ui_.fileList->setToolTip(QStringLiteral("Select file to be displayed"));
    ui_.fileList->setViewStyle(FileListView::ViewStyle::Report);
    // The list's model lists the folder's files that match the mask.
    ui_.fileList->listModel()->setNameFilters(fileMask().split(u';'));
}

// The command buttons, the save format choice and "Show gray".
void MainWindow::createCommandControls(QWidget* client) {
    ui_.saveAsButton = button(client, "SaveAs", QStringLiteral("Save as..."), 12, 312);
    ui_.saveAsButton->setToolTip(QStringLiteral("Save file"));
    ui_.detailsButton =
        glyphButton(client, "Detail", glyphs::details(), QStringLiteral("Show details"), 99, 312);
    ui_.listButton = glyphButton(client, "List", glyphs::list(), QStringLiteral("Show list"), 133, 312);
    ui_.deleteButton = glyphButton(client, "SpeedButton1", glyphs::deleteFile(),
                                   QStringLiteral("Delete file"), 205, 312);

    ui_.saveFormatGroup =
        place(new QGroupBox(QStringLiteral("Save as:")), client, "RadioGroup1", 8, 344, 225, 73);
    ui_.bmpButton = radio(client, "BMP", QStringLiteral("BMP"), 24, 360);
    ui_.pcxButton = radio(client, "PCX", QStringLiteral("PCX"), 24, 376);
    ui_.pngButton = radio(client, "PNG", QStringLiteral("PNG"), 24, 392);
    ui_.gifButton = radio(client, "GIF", QStringLiteral("GIF"), 87, 360);
    ui_.jpgButton = radio(client, "JPG", QStringLiteral("JPG"), 87, 376);
    ui_.tifButton = radio(client, "TIF", QStringLiteral("TIF"), 87, 392);
    ui_.godotButton = radio(client, "Godot", QStringLiteral("4Bit GoDot"), 144, 360, 85);
    ui_.gifButton->setChecked(true);
    ui_.grey = place(new QCheckBox(QStringLiteral("Show gray")), client, "grey", 144, 391, 85, 17);

    ui_.flipButton = button(client, "Flip", QStringLiteral("Flip"), 38, 425);
    ui_.flipButton->setToolTip(QStringLiteral("Flip picture"));
    ui_.turnButton = button(client, "Rotate", QStringLiteral("Turn"), 126, 425);
    ui_.zoomInButton = button(client, "ZoomIn", QStringLiteral("Zoom In"), 38, 456);
    ui_.zoomOutButton = button(client, "ZoomOut", QStringLiteral("Zoom Out"), 126, 456);
    ui_.originalSizeButton = button(client, "OrigSize", QStringLiteral("OrigSize"), 38, 488);
    ui_.rotateButton = button(client, "Turn", QStringLiteral("Rotate"), 126, 488);
    // Where each command sits at the designed size (the layout moves them from there).
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui_.saveAsButton, ui_.detailsButton, ui_.listButton, ui_.deleteButton, ui_.saveFormatGroup, ui_.bmpButton,
             ui_.pcxButton, ui_.pngButton, ui_.gifButton, ui_.jpgButton, ui_.tifButton, ui_.godotButton, ui_.grey, ui_.flipButton,
             ui_.turnButton, ui_.zoomInButton, ui_.zoomOutButton, ui_.originalSizeButton, ui_.rotateButton})
        commandPlaces_.append({w, w->pos()});
}

// The picture, the status line under it and the splitter beside it.
void MainWindow::createPictureControls(QWidget* client) {
    ui_.pictureView = place(new PictureView, client, "PImg", 240, 16, 427, 489);
    ui_.pictureView->setCenter(true);
    ui_.pictureView->setBorderStyle(BorderStyle::SingleBorder);
    ui_.pictureView->setColor(Qt::black);
    ui_.pictureView->setImageDither(false);
    ui_.pictureView->setTifSaveCompress(TiffSaveCompression::Lzw);
    // Takes the focus by Tab or a click: Space, Page Down, Backspace and Page Up browse.
    ui_.pictureView->setFocusPolicy(Qt::StrongFocus);
    ui_.pictureView->installEventFilter(this);
    ui_.pictureView->raise();

    ui_.statusLine = place(new QLabel, client, "StatusLine", 240, 508, 427, 18);
    ui_.statusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ui_.splitterHandle = place(new QWidget, client, "Splitter", 233, 16, 7, 490);
    ui_.splitterHandle->setCursor(Qt::SplitHCursor);
    ui_.splitterHandle->setToolTip(QStringLiteral("Drag to widen the file list"));
    ui_.splitterHandle->installEventFilter(this);
}

void MainWindow::connectControls() {
    connect(ui_.driveBox, &DriveBox::driveChosen, this, &MainWindow::driveChanged);
    connect(ui_.folderList, &FolderList::directoryChanged, this, &MainWindow::folderChanged);
    connect(ui_.folderList, &FolderList::imageActivated, this, &MainWindow::openImage);
    connect(ui_.fileList->listModel(), &FileListModel::refreshed, this,
            &MainWindow::fileListChanged);
    // Also a click on the list's empty part, which selects nothing.
    connect(ui_.fileList, &FileListView::fileClicked, this,
            [this] { showCurrentFile(ui_.fileList); });
    // Keys and typing move the current row: the picture follows.
    connect(ui_.fileList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::listSelectionMoved);
    // A double-click (or Enter, eventFilter) opens a disk image or leads out of one.
    // (The click before it has shown the file.)
    connect(ui_.fileList, &FileListView::doubleClicked, this, [this] { activateListRow(false); });
    ui_.fileList->installEventFilter(this);
    ui_.fileList->viewport()->installEventFilter(this);
    connect(ui_.detailsButton, &QToolButton::clicked, this, &MainWindow::showDetails);
    connect(ui_.listButton, &QToolButton::clicked, this, &MainWindow::showList);
    connect(ui_.deleteButton, &QToolButton::clicked, this, &MainWindow::deleteCurrentFile);
    connect(ui_.saveAsButton, &QPushButton::clicked, this, &MainWindow::saveAs);
    connect(ui_.flipButton, &QPushButton::clicked, this, &MainWindow::flip);
    connect(ui_.turnButton, &QPushButton::clicked, this, &MainWindow::turnAnticlockwise);
    connect(ui_.rotateButton, &QPushButton::clicked, this, &MainWindow::turnClockwise);
    connect(ui_.zoomInButton, &QPushButton::clicked, this, &MainWindow::zoomIn);
    connect(ui_.zoomOutButton, &QPushButton::clicked, this, &MainWindow::zoomOut);
    connect(ui_.originalSizeButton, &QPushButton::clicked, this, &MainWindow::originalSize);
    connect(ui_.grey, &QCheckBox::toggled, this, &MainWindow::applyGrey);
    connect(ui_.pictureView, &PictureView::mousePressed, this,
            [this](Qt::MouseButton b, QPoint) { pictureMouseDown(b); });
    connect(ui_.pictureView, &PictureView::painted, this, &MainWindow::picturePainted);
    connect(ui_.dropTarget, &DropTarget::filesDropped, this, &MainWindow::onFilesDropped);
    connect(document_, &PictureDocument::pictureChanged, this, &MainWindow::showDocument);
    connect(document_, &PictureDocument::cleared, this, &MainWindow::showDocument);
}

void MainWindow::createMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    ui_.exportC64Action = file->addAction(QStringLiteral("&Export as C64 picture\u2026"), this,
                                          &MainWindow::exportC64);
    ui_.exportC64Action->setObjectName(QStringLiteral("exportC64"));
    file->addSeparator();
    ui_.closeAction = file->addAction(QStringLiteral("&Close (ALT+F4)"));
    ui_.closeAction->setObjectName(QStringLiteral("Beenden"));
    connect(ui_.closeAction, &QAction::triggered, this, &MainWindow::endProgram);
    createPaletteMenu();
    QMenu* info = menuBar()->addMenu(QStringLiteral("&Info"));
    ui_.aboutAction = info->addAction(QStringLiteral("A&bout"));
    ui_.aboutAction->setObjectName(QStringLiteral("ber1"));
    connect(ui_.aboutAction, &QAction::triggered, this, &MainWindow::showAbout);

    // The view keys act in the whole window, the file list included (eventFilter); there
    // letters and digits that are no view key type a name.
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    ui_.fitAction =
        view->addAction(QStringLiteral("&Fit to window"), this, &MainWindow::fitToWindow);
    ui_.fitAction->setShortcut(Qt::Key_F);
    ui_.fitAction->setObjectName(QStringLiteral("fit"));
    ui_.actualSizeAction =
        view->addAction(QStringLiteral("&Actual size"), this, &MainWindow::showActualSize);
    ui_.actualSizeAction->setShortcuts(
        {QKeySequence(Qt::Key_1), QKeySequence(Qt::CTRL | Qt::Key_0), QKeySequence(Qt::CTRL | Qt::Key_1)});
    QAction* in = view->addAction(QStringLiteral("Zoom &in"), this, [this] {
        if (ui_.zoomInButton->isEnabled())
            zoomIn();
    });
    in->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                      QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    QAction* out = view->addAction(QStringLiteral("Zoom &out"), this, [this] {
        if (ui_.zoomOutButton->isEnabled())
            zoomOut();
        else
            leaveFit(); // from fit to window, one step out is 1:1
    });
    out->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    view->addSeparator();
    QAction* fullScreen =
        view->addAction(QStringLiteral("F&ull screen"), this, &MainWindow::showFullScreenView);
    fullScreen->setShortcut(Qt::Key_F11);
    QAction* reload = view->addAction(QStringLiteral("&Reload folder"), this, &MainWindow::reloadFolder);
    reload->setShortcut(QKeySequence::Refresh);
    viewActions_ = {ui_.fitAction, ui_.actualSizeAction, in, out, fullScreen, reload};
    for (QAction* a : viewActions_)
        a->setShortcutContext(Qt::WindowShortcut);
}

void MainWindow::initialise() {
    firstPaintPending_ = true;
    applyPlacement(settings::readPlacement(settings::filePath()));
    // The exception handler is the application object itself (Application).
    showDocument();
    restorePalette();
    restoreCharacterRom();
    const IniFile ini(settings::filePath());
    columnWidth_ = std::max(
        kDesignColumnWidth, ini.readInteger(kBrowseSection, kColumnWidthKey, kDesignColumnWidth));
    const QByteArray savedFormat = ini.readString(kSaveSection, kFormatKey).toLatin1();
    if (const auto format = pictureFormatNamed(savedFormat.toStdString()))
        saveFormatButton(*format)->setChecked(true);
    // With an argument, its folder, with the file selected (shown at the first activation).
    const bool withFile = !arguments_.isEmpty() && QFileInfo(arguments_.first()).isFile();
    openFolder(withFile ? QFileInfo(arguments_.first()).absolutePath() : startFolder());
    if (withFile)
        selectListFile(arguments_.first());
    layoutControls();
    states_ = CommandStates{};
    applyStates();
}

const QString& MainWindow::currentFile() const {
    return document_->fileName();
}

void MainWindow::applyPlacement(const WindowPlacement& p) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->geometry();
    const QPoint stored(p.left, p.top);
    const QSize size = sizeOnScreens(QSize(p.width, p.height), screens);
    move(screens.isEmpty() ? stored : placementOnScreens(stored, size, screens));
    resize(size);
    switch (p.style) {
    case 0:
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        break;
    case 1:
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    case 2:
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    default: // any other value leaves the state as it is
        break;
    }
}

void MainWindow::saveState() {
    WindowPlacement p;
    p.top = pos().y();
    p.left = pos().x();
    p.style = isMinimized() ? 2 : isMaximized() ? 1 : 0;
    p.width = width();
    p.height = height();
    settings::writePlacement(settings::filePath(), p); // a failure is not reported
    IniFile ini(settings::filePath());
    ini.writeString(kBrowseSection, kFolderKey, ui_.folderList->directory());
    ini.writeInteger(kBrowseSection, kColumnWidthKey, columnWidth_);
    // Only a choice other than the first run's GIF makes the section.
    if (const SaveFormatRow* row = checkedSaveFormat();
        row && (row->format != PictureFormat::GIF ||
                !ini.readString(kSaveSection, kFormatKey).isEmpty())) {
        ini.writeString(kSaveSection, kFormatKey,
                        QString::fromLatin1(extensionOf(row->format).data(),
                                            static_cast<qsizetype>(extensionOf(row->format).size())));
    }
    ini.save();
}

void MainWindow::onActivated() {
    if (!arguments_.isEmpty() && firstPaintPending_) {
        document_->setFileName(arguments_.first());
        // A disk or tape image opens like a folder.
        if (DiskBrowser::isImageFile(arguments_.first()) && !browsing_.insideImage())
            openImage(arguments_.first());
        else if (!browsing_.insideImage())
            showCurrentFile(this);
    }
}

void MainWindow::picturePainted() {
    // The first paint after the window came up ends the start-up: the argument has been
    // shown (or there was none). A paint before the first activation does not count, so
    // the argument is shown whichever comes first on the window system.
    if (activatedOnce_)
        firstPaintPending_ = false;
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        activatedOnce_ = true;
        onActivated();
    }
    return QMainWindow::event(e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    saveState();
    e->accept();
    emit programEnds();
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    onResized();
}

void MainWindow::onResized() {
    layoutControls();
}

void MainWindow::layoutControls() {
    // The picture area keeps the layout's right margin of 19 pixels, so at the default
    // size it is the designed 427 pixels wide and never runs past the window's edge.
    if (!ui_.statusLine)
        return; // not all made yet
    const int widest =
        std::max(kDesignColumnWidth, width() - 259 - kMinimumPictureWidth + kDesignColumnWidth);
    columnWidth_ = std::clamp(columnWidth_, kDesignColumnWidth, widest);
    const int dx = columnWidth_ - kDesignColumnWidth;
    const int dy = height() - kDesignHeight;
    // The lists take the extra height: a third the folder list, the rest the file list.
    const int folderGrowth = dy > 0 ? dy / 3 : 0;
    ui_.driveBox->setGeometry(10, 17, 223 + dx, 21);
    ui_.folderList->setGeometry(8, 48, 225 + dx, 89 + folderGrowth);
    ui_.fileList->setGeometry(8, 144 + folderGrowth, 225 + dx, 161 + dy - folderGrowth);
    for (const auto& [widget, place] : commandPlaces_)
        widget->move(place.x(), place.y() + dy);
    const int pictureHeight = height() - 75;
    ui_.pictureView->setGeometry(240 + dx, 16, width() - 259 - dx, pictureHeight);
    ui_.statusLine->setGeometry(240 + dx, 16 + pictureHeight + 2, width() - 259 - dx, 18);
    ui_.splitterHandle->setGeometry(233 + dx, 16, 7, pictureHeight);
    applyFit();
}

void MainWindow::showStatus(const QString& text) {
    ui_.statusLine->setText(text);
    ui_.statusLine->setToolTip(text);
}

QString MainWindow::statusText() const {
    return ui_.statusLine->text();
}

void MainWindow::endProgram() {
    emit programEnds();
}

void MainWindow::showAbout() {
    if (!aboutBox_)
        return;
    aboutBox_->show();
    aboutBox_->raise();
    aboutBox_->activateWindow();
}

void MainWindow::applyStates() {
    if (states_.selectGif) {
        ui_.gifButton->setChecked(true); // unticks "4Bit GoDot" with it
        states_.selectGif = false;
    }
    // The zoom commands as the picture area shows the picture (a whole-number scale).
    const CommandStates shown = view_.withPlacement(states_, document_->isShown(),
                                                    ui_.pictureView->scale(), ui_.pictureView->shrunk());
    ui_.saveAsButton->setEnabled(shown.saveAs);
    ui_.flipButton->setEnabled(shown.flip);
    ui_.turnButton->setEnabled(shown.rotate);
    ui_.rotateButton->setEnabled(shown.turn);
    ui_.zoomInButton->setEnabled(shown.zoomIn);
    ui_.zoomOutButton->setEnabled(shown.zoomOut);
    ui_.originalSizeButton->setEnabled(shown.origSize);
    ui_.grey->setEnabled(shown.grey);
    ui_.godotButton->setEnabled(shown.godot);
    ui_.exportC64Action->setEnabled(shown.saveAs);
    // Entries of a disk image are not files of their own.
    ui_.deleteButton->setEnabled(!browsing_.insideImage());
    // Fit and 1:1 act on a shown picture, as Flip does.
    ui_.fitAction->setEnabled(shown.flip);
    ui_.actualSizeAction->setEnabled(shown.flip);
}

} // namespace quendra
