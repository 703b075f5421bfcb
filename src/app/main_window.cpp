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
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStorageInfo>
#include <QToolButton>

#include "app/browse_controls.h"
#include "app/glyphs.h"
#include "app/secondary_windows.h"
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
    // The folder list changes the current folder before the argument is shown; a relative
    // argument means the folder the program was started in.
    if (!arguments_.isEmpty() && !arguments_.first().isEmpty())
        arguments_.first() = QFileInfo(arguments_.first()).absoluteFilePath();
    createControls();
    createMenu();
    FormCreate();
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

QString MainWindow::startFolder() {
    const QString samples = programFolder() + QStringLiteral("/samples");
    return QFileInfo(samples).isDir() ? samples : programFolder();
}

void MainWindow::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    driveBox = place(new TDriveComboBox, client, "DriveComboBox1", 10, 17, 223, 21);
    folderList = place(new TDirectoryListBox, client, "DirectoryListBox1", 8, 48, 225, 89);

    // Lies under the picture area: the user never sees it, but it has the keyboard focus.
    fileListBox = place(new TFileListBox, client, "FileListBox1", 368, 227, 160, 97);

    FileList = place(new TFileListView, client, "FileList", 8, 144, 225, 161);
    FileList->setColumns({{QStringLiteral("Name"), 65},
                          {QStringLiteral("Size"), 50},
                          {QStringLiteral("Type"), 50},
                          {QStringLiteral("Modified"), 80}});
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(9);
    FileList->setFont(listFont);
    FileList->setMultiSelect(false);
    FileList->setToolTip(QStringLiteral("Select file to be displayed"));
    FileList->setViewStyle(TFileListView::ViewStyle::Report);

    SaveAs = button(client, "SaveAs", QStringLiteral("Save as..."), 12, 312);
    SaveAs->setToolTip(QStringLiteral("Save file"));
    Detail =
        glyphButton(client, "Detail", glyphs::details(), QStringLiteral("Show details"), 99, 312);
    List = glyphButton(client, "List", glyphs::list(), QStringLiteral("Show list"), 133, 312);
    deleteButton = glyphButton(client, "SpeedButton1", glyphs::deleteFile(),
                               QStringLiteral("Delete file"), 205, 312);

    saveFormatGroup =
        place(new QGroupBox(QStringLiteral("Save as:")), client, "RadioGroup1", 8, 344, 225, 73);
    BMP = radio(client, "BMP", QStringLiteral("BMP"), 24, 360);
    PCX = radio(client, "PCX", QStringLiteral("PCX"), 24, 376);
    PNG = radio(client, "PNG", QStringLiteral("PNG"), 24, 392);
    GIF = radio(client, "GIF", QStringLiteral("GIF"), 87, 360);
    JPG = radio(client, "JPG", QStringLiteral("JPG"), 87, 376);
    TIF = radio(client, "TIF", QStringLiteral("TIF"), 87, 392);
    Godot = radio(client, "Godot", QStringLiteral("4Bit GoDot"), 144, 360, 85);
    GIF->setChecked(true);
    grey = place(new QCheckBox(QStringLiteral("Show gray")), client, "grey", 144, 391, 85, 17);

    Flip = button(client, "Flip", QStringLiteral("Flip"), 38, 425);
    Flip->setToolTip(QStringLiteral("Flip picture"));
    turnButton = button(client, "Rotate", QStringLiteral("Turn"), 126, 425);
    ZoomIn = button(client, "ZoomIn", QStringLiteral("Zoom In"), 38, 456);
    ZoomOut = button(client, "ZoomOut", QStringLiteral("Zoom Out"), 126, 456);
    OrigSize = button(client, "OrigSize", QStringLiteral("OrigSize"), 38, 488);
    rotateButton = button(client, "Turn", QStringLiteral("Rotate"), 126, 488);

    pictureView = place(new TPMultiImage, client, "PImg", 240, 16, 427, 489);
    pictureView->setCenter(true);
    pictureView->setBorderStyle(TBorderStyle::bsSingle);
    pictureView->setColor(Qt::black);
    pictureView->setImageDither(false);
    pictureView->setTifSaveCompress(TTiffCompression::sLZW);
    pictureView->setFocusPolicy(Qt::NoFocus);
    pictureView->raise();

    dropTarget = new TkxDropFiles(this);
    dropTarget->setDropWindow(pictureView);
    dropTarget->setAccept(true);

    // Handlers.
    connect(driveBox, &TDriveComboBox::driveChosen, this, &MainWindow::driveChanged);
    connect(folderList, &TDirectoryListBox::directoryChanged, this, &MainWindow::folderChanged);
    connect(fileListBox, &TFileListBox::contentsChanged, this, &MainWindow::fileListChanged);
    connect(fileListBox, &TFileListBox::userSelected, this,
            [this] { showCurrentFile(fileListBox); });
    // Also a click on the list's empty part, which selects nothing.
    connect(FileList, &TFileListView::fileClicked, this, [this] { showCurrentFile(FileList); });
    connect(Detail, &QToolButton::clicked, this, &MainWindow::DetailClick);
    connect(List, &QToolButton::clicked, this, &MainWindow::ListClick);
    connect(deleteButton, &QToolButton::clicked, this, &MainWindow::deleteClick);
    connect(SaveAs, &QPushButton::clicked, this, &MainWindow::SaveAsClick);
    connect(Flip, &QPushButton::clicked, this, &MainWindow::FlipClick);
    connect(turnButton, &QPushButton::clicked, this, &MainWindow::turnClick);
    connect(rotateButton, &QPushButton::clicked, this, &MainWindow::rotateClick);
    connect(ZoomIn, &QPushButton::clicked, this, &MainWindow::ZoomInClick);
    connect(ZoomOut, &QPushButton::clicked, this, &MainWindow::ZoomOutClick);
    connect(OrigSize, &QPushButton::clicked, this, &MainWindow::OrigSizeClick);
    connect(grey, &QCheckBox::toggled, this, &MainWindow::greyClick);
    connect(pictureView, &TPMultiImage::mousePressed, this,
            [this](Qt::MouseButton b, QPoint) { pictureMouseDown(b); });
    connect(pictureView, &TPMultiImage::OnPaint, this, &MainWindow::picturePainted);
    connect(dropTarget, &TkxDropFiles::OnFilesDroped, this, &MainWindow::filesDropped);

    setTabOrder(fileListBox, driveBox);
    fileListBox->setFocus();
}

void MainWindow::createMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    closeAction = file->addAction(QStringLiteral("&Close (ALT+F4)"));
    closeAction->setObjectName(QStringLiteral("Beenden"));
    connect(closeAction, &QAction::triggered, this, &MainWindow::closeClick);
    QMenu* info = menuBar()->addMenu(QStringLiteral("&Info"));
    aboutAction = info->addAction(QStringLiteral("A&bout"));
    aboutAction->setObjectName(QStringLiteral("ber1"));
    connect(aboutAction, &QAction::triggered, this, &MainWindow::aboutClick);
}

void MainWindow::FormCreate() {
    firstPaintPending = true;
    applyPlacement(settings::readPlacement(settings::filePath()));
    // The exception handler is the application object itself (Application).
    pictureView->setPicture(templatePicture);
    zoomSteps = 0;
    openFolder(startFolder());
    fileListBox->setMask(fileMask());
    pictureShown = false;
    states_ = CommandStates{};
    applyStates();
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

void MainWindow::FormClose() {
    WindowPlacement p;
    p.top = pos().y();
    p.left = pos().x();
    p.style = isMinimized() ? 2 : isMaximized() ? 1 : 0;
    p.width = width();
    p.height = height();
    settings::writePlacement(settings::filePath(), p); // a failure is not reported
}

void MainWindow::FormActivate() {
    if (!arguments_.isEmpty() && firstPaintPending) {
        currentFileName = arguments_.first();
        showCurrentFile(this);
    }
}

void MainWindow::picturePainted() {
    // The first paint after the window came up ends the start-up: the argument has been
    // shown (or there was none). A paint before the first activation does not count, so
    // the argument is shown whichever comes first on the window system.
    if (activatedOnce_)
        firstPaintPending = false;
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        activatedOnce_ = true;
        FormActivate();
    }
    return QMainWindow::event(e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept();
    emit programEnds();
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void MainWindow::FormResize() {
    // The picture area keeps the layout's right margin of 19 pixels, so at the default
    // size it is the designed 427 pixels wide and never runs past the window's edge.
    pictureView->setGeometry(240, 16, width() - 259, height() - 75);
}

void MainWindow::closeClick() {
    emit programEnds();
}

void MainWindow::aboutClick() {
    if (!aboutBox_)
        return;
    aboutBox_->show();
    aboutBox_->raise();
    aboutBox_->activateWindow();
}

void MainWindow::applyStates() {
    SaveAs->setEnabled(states_.saveAs);
    Flip->setEnabled(states_.flip);
    turnButton->setEnabled(states_.rotate);
    rotateButton->setEnabled(states_.turn);
    ZoomIn->setEnabled(states_.zoomIn);
    ZoomOut->setEnabled(states_.zoomOut);
    OrigSize->setEnabled(states_.origSize);
    grey->setEnabled(states_.grey);
    Godot->setEnabled(states_.godot);
    fileListBox->setEnabled(states_.fileListBox);
    if (states_.selectGif) {
        GIF->setChecked(true); // unticks "4Bit GoDot" with it
        states_.selectGif = false;
    }
}

// ---- Browsing chain ----

void MainWindow::openFolder(const QString& folder) {
    if (!folderList->setDirectory(folder)) {
        folderList->setDirectory(programFolder());
    }
}

void MainWindow::driveChanged() {
    const QString root = driveBox->drive();
    // The folder list keeps its folder while the selector names the drive it is on.
    if (root.isEmpty() || QStorageInfo(folderList->directory()).rootPath() == root)
        return;
    if (!TDriveComboBox::isReady(root) || !folderList->setDirectory(root)) {
        folderList->setDirectory(programFolder());
        driveBox->setDriveOf(programFolder());
    }
}

void MainWindow::folderChanged() {
    const QString folder = folderList->directory();
    QDir::setCurrent(folder);
    driveBox->setDriveOf(folder);
    fileListBox->setDirectory(folder);
}

void MainWindow::fileListChanged() {
    FileList->clear();
    for (const QString& name : fileListBox->fileNames()) {
        qint64 size = 0;
        FileList->AddFile(name, size);
    }
}

void MainWindow::DetailClick() {
    FileList->setViewStyle(TFileListView::ViewStyle::Report);
}

void MainWindow::ListClick() {
    FileList->setViewStyle(TFileListView::ViewStyle::List);
}

QString MainWindow::selectedListFile() const {
    // The list shows names in lower case; the file system may not, so take the name the
    // row was made from. The list's names are relative to the current folder.
    const QString name = FileList->selectedFileName();
    return name.isEmpty() ? QString() : QDir::current().absoluteFilePath(name);
}

} // namespace quendra
