// TForm1: controls, menu, start and end, placement, and the browsing chain.
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

TForm1::TForm1(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), TestBMP(blackTemplate()), arguments_(std::move(arguments)) {
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

TForm1::~TForm1() = default;

void TForm1::setSecondaryWindows(TForm2* form2, TForm3* form3, TOKBottomDlg* about,
                                 TSaving* saving) {
    Form2 = form2;
    Form3 = form3;
    OKBottomDlg = about;
    Saving = saving;
}

QString TForm1::programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString TForm1::startFolder() {
    const QString samples = programFolder() + QStringLiteral("/samples");
    return QFileInfo(samples).isDir() ? samples : programFolder();
}

void TForm1::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    DriveComboBox1 = place(new TDriveComboBox, client, "DriveComboBox1", 10, 17, 223, 21);
    DirectoryListBox1 = place(new TDirectoryListBox, client, "DirectoryListBox1", 8, 48, 225, 89);

    // Lies under the picture area: the user never sees it, but it has the keyboard focus.
    FileListBox1 = place(new TFileListBox, client, "FileListBox1", 368, 227, 160, 97);

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
    SpeedButton1 = glyphButton(client, "SpeedButton1", glyphs::deleteFile(),
                               QStringLiteral("Delete file"), 205, 312);

    RadioGroup1 =
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
    Rotate = button(client, "Rotate", QStringLiteral("Turn"), 126, 425);
    ZoomIn = button(client, "ZoomIn", QStringLiteral("Zoom In"), 38, 456);
    ZoomOut = button(client, "ZoomOut", QStringLiteral("Zoom Out"), 126, 456);
    OrigSize = button(client, "OrigSize", QStringLiteral("OrigSize"), 38, 488);
    Turn = button(client, "Turn", QStringLiteral("Rotate"), 126, 488);

    PImg = place(new TPMultiImage, client, "PImg", 240, 16, 427, 489);
    PImg->setCenter(true);
    PImg->setBorderStyle(TBorderStyle::bsSingle);
    PImg->setColor(Qt::black);
    PImg->setImageDither(false);
    PImg->setTifSaveCompress(TTiffCompression::sLZW);
    PImg->setFocusPolicy(Qt::NoFocus);
    PImg->raise();

    kxDrop = new TkxDropFiles(this);
    kxDrop->setDropWindow(PImg);
    kxDrop->setAccept(true);

    // Handlers.
    connect(DriveComboBox1, &TDriveComboBox::driveChosen, this, &TForm1::DriveComboBox1Change);
    connect(DirectoryListBox1, &TDirectoryListBox::directoryChanged, this,
            &TForm1::DirectoryListBox1Change);
    connect(FileListBox1, &TFileListBox::contentsChanged, this, &TForm1::FileListBox1Change);
    connect(FileListBox1, &TFileListBox::userSelected, this,
            [this] { FileListBox1DblClick(FileListBox1); });
    // Also a click on the list's empty part, which selects nothing.
    connect(FileList, &TFileListView::fileClicked, this,
            [this] { FileListBox1DblClick(FileList); });
    connect(Detail, &QToolButton::clicked, this, &TForm1::DetailClick);
    connect(List, &QToolButton::clicked, this, &TForm1::ListClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SaveAs, &QPushButton::clicked, this, &TForm1::SaveAsClick);
    connect(Flip, &QPushButton::clicked, this, &TForm1::FlipClick);
    connect(Rotate, &QPushButton::clicked, this, &TForm1::RotateClick);
    connect(Turn, &QPushButton::clicked, this, &TForm1::TurnClick);
    connect(ZoomIn, &QPushButton::clicked, this, &TForm1::ZoomInClick);
    connect(ZoomOut, &QPushButton::clicked, this, &TForm1::ZoomOutClick);
    connect(OrigSize, &QPushButton::clicked, this, &TForm1::OrigSizeClick);
    connect(grey, &QCheckBox::toggled, this, &TForm1::greyClick);
    connect(PImg, &TPMultiImage::mousePressed, this,
            [this](Qt::MouseButton b, QPoint) { PImgMouseDown(b); });
    connect(PImg, &TPMultiImage::OnPaint, this, &TForm1::PImgPaint);
    connect(kxDrop, &TkxDropFiles::OnFilesDroped, this, &TForm1::kxDropFilesDroped);

    setTabOrder(FileListBox1, DriveComboBox1);
    FileListBox1->setFocus();
}

void TForm1::createMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    Beenden = file->addAction(QStringLiteral("&Close (ALT+F4)"));
    Beenden->setObjectName(QStringLiteral("Beenden"));
    connect(Beenden, &QAction::triggered, this, &TForm1::BeendenClick);
    QMenu* info = menuBar()->addMenu(QStringLiteral("&Info"));
    ber1 = info->addAction(QStringLiteral("A&bout"));
    ber1->setObjectName(QStringLiteral("ber1"));
    connect(ber1, &QAction::triggered, this, &TForm1::ber1Click);
}

void TForm1::FormCreate() {
    firstPaintPending = true;
    applyPlacement(settings::readPlacement(settings::filePath()));
    // The exception handler is the application object itself (AppException).
    PImg->setPicture(TestBMP);
    zoomSteps = 0;
    openFolder(startFolder());
    FileListBox1->setMask(fileMask());
    pictureShown = false;
    states_ = CommandStates{};
    applyStates();
}

void TForm1::applyPlacement(const WindowPlacement& p) {
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

void TForm1::FormClose() {
    WindowPlacement p;
    p.top = pos().y();
    p.left = pos().x();
    p.style = isMinimized() ? 2 : isMaximized() ? 1 : 0;
    p.width = width();
    p.height = height();
    settings::writePlacement(settings::filePath(), p); // a failure is not reported
}

void TForm1::FormActivate() {
    if (!arguments_.isEmpty() && firstPaintPending) {
        currentFileName = arguments_.first();
        FileListBox1DblClick(this);
    }
}

void TForm1::PImgPaint() {
    // The first paint after the window came up ends the start-up: the argument has been
    // shown (or there was none). A paint before the first activation does not count, so
    // the argument is shown whichever comes first on the window system.
    if (activatedOnce_)
        firstPaintPending = false;
}

bool TForm1::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        activatedOnce_ = true;
        FormActivate();
    }
    return QMainWindow::event(e);
}

void TForm1::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept();
    emit programEnds();
}

void TForm1::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TForm1::FormResize() {
    // The picture area keeps the layout's right margin of 19 pixels, so at the default
    // size it is the designed 427 pixels wide and never runs past the window's edge.
    PImg->setGeometry(240, 16, width() - 259, height() - 75);
}

void TForm1::BeendenClick() {
    emit programEnds();
}

void TForm1::ber1Click() {
    if (!OKBottomDlg)
        return;
    OKBottomDlg->show();
    OKBottomDlg->raise();
    OKBottomDlg->activateWindow();
}

void TForm1::applyStates() {
    SaveAs->setEnabled(states_.saveAs);
    Flip->setEnabled(states_.flip);
    Rotate->setEnabled(states_.rotate);
    Turn->setEnabled(states_.turn);
    ZoomIn->setEnabled(states_.zoomIn);
    ZoomOut->setEnabled(states_.zoomOut);
    OrigSize->setEnabled(states_.origSize);
    grey->setEnabled(states_.grey);
    Godot->setEnabled(states_.godot);
    FileListBox1->setEnabled(states_.fileListBox);
    if (states_.selectGif) {
        GIF->setChecked(true); // unticks "4Bit GoDot" with it
        states_.selectGif = false;
    }
}

// ---- Browsing chain ----

void TForm1::openFolder(const QString& folder) {
    if (!DirectoryListBox1->setDirectory(folder)) {
        DirectoryListBox1->setDirectory(programFolder());
    }
}

void TForm1::DriveComboBox1Change() {
    const QString root = DriveComboBox1->drive();
    // The folder list keeps its folder while the selector names the drive it is on.
    if (root.isEmpty() || QStorageInfo(DirectoryListBox1->directory()).rootPath() == root)
        return;
    if (!TDriveComboBox::isReady(root) || !DirectoryListBox1->setDirectory(root)) {
        DirectoryListBox1->setDirectory(programFolder());
        DriveComboBox1->setDriveOf(programFolder());
    }
}

void TForm1::DirectoryListBox1Change() {
    const QString folder = DirectoryListBox1->directory();
    QDir::setCurrent(folder);
    DriveComboBox1->setDriveOf(folder);
    FileListBox1->setDirectory(folder);
}

void TForm1::FileListBox1Change() {
    FileList->clear();
    for (const QString& name : FileListBox1->fileNames()) {
        qint64 size = 0;
        FileList->AddFile(name, size);
    }
}

void TForm1::DetailClick() {
    FileList->setViewStyle(TFileListView::ViewStyle::Report);
}

void TForm1::ListClick() {
    FileList->setViewStyle(TFileListView::ViewStyle::List);
}

QString TForm1::selectedListFile() const {
    // The list shows names in lower case; the file system may not, so take the name the
    // row was made from. The list's names are relative to the current folder.
    const QString name = FileList->selectedFileName();
    return name.isEmpty() ? QString() : QDir::current().absoluteFilePath(name);
}

} // namespace quendra
