// MainWindow: the controls at their designed places, their connections, the menu, and the
// layout that moves them with the window's size and the column's width.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>

#include "app/browse_controls.h"
#include "app/glyphs.h"
#include "app/main_window.h"
#include "app/palette_menu.h"
#include "app/picture_document.h"
#include "components/drop_files.h"
#include "components/file_list_view.h"
#include "components/pc_picture_file.h"
#include "components/pmultiimage.h"

namespace quendra {

namespace {

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
    createDeleteActions();
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
    ui_.fileList->listModel()->setNameFilters(fileMask().split(u';') + pcPictureNameFilters());
}

// The command buttons, the save format choice and "Show gray".
void MainWindow::createCommandControls(QWidget* client) {
    ui_.saveAsButton = button(client, "SaveAs", QStringLiteral("Save as..."), 12, 312);
    ui_.saveAsButton->setToolTip(QStringLiteral("Save file"));
    ui_.detailsButton =
        glyphButton(client, "Detail", glyphs::details(), QStringLiteral("Show details"), 99, 312);
    ui_.listButton =
        glyphButton(client, "List", glyphs::list(), QStringLiteral("Show list"), 133, 312);
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
             ui_.saveAsButton, ui_.detailsButton, ui_.listButton, ui_.deleteButton,
             ui_.saveFormatGroup, ui_.bmpButton, ui_.pcxButton, ui_.pngButton, ui_.gifButton,
             ui_.jpgButton, ui_.tifButton, ui_.godotButton, ui_.grey, ui_.flipButton,
             ui_.turnButton, ui_.zoomInButton, ui_.zoomOutButton, ui_.originalSizeButton,
             ui_.rotateButton})
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
    connect(ui_.detailsButton, &QToolButton::clicked, this, [this] {
        ui_.fileList->setViewStyle(FileListView::ViewStyle::Report);
        ui_.fileList->fitColumns(); // the defined widths back, fitted to the list
    });
    connect(ui_.listButton, &QToolButton::clicked, this,
            [this] { ui_.fileList->setViewStyle(FileListView::ViewStyle::List); });
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
    connect(ui_.dropTarget, &DropTarget::filesDropped, this,
            [this](DropTarget* target) { showDropped(target->files()); });
    connect(document_, &PictureDocument::pictureChanged, this, &MainWindow::showDocument);
    connect(document_, &PictureDocument::cleared, this, &MainWindow::showDocument);
}

void MainWindow::createMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    createOpenMenu(file);
    ui_.exportC64Action = file->addAction(QStringLiteral("&Export as C64 picture\u2026"), this,
                                          &MainWindow::exportC64);
    ui_.exportC64Action->setObjectName(QStringLiteral("exportC64"));
    file->addSeparator();
    ui_.closeAction = file->addAction(QStringLiteral("&Close (ALT+F4)"));
    ui_.closeAction->setObjectName(QStringLiteral("Beenden"));
    connect(ui_.closeAction, &QAction::triggered, this, &MainWindow::programEnds);
    paletteMenu_ = new PaletteMenu(this, document_, [this] { return ui_.folderList->directory(); });
    connect(paletteMenu_, &PaletteMenu::chosen, ui_.pictureView,
            [this] { ui_.pictureView->repaint(); });
    connect(paletteMenu_, &PaletteMenu::charactersChanged, this, [this] {
        if (document_->isShown())
            showCurrentFile(this);
    });
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
    ui_.actualSizeAction->setShortcuts({QKeySequence(Qt::Key_1), QKeySequence(Qt::CTRL | Qt::Key_0),
                                        QKeySequence(Qt::CTRL | Qt::Key_1)});
    QAction* in = view->addAction(QStringLiteral("Zoom &in"), this, [this] {
        if (ui_.zoomInButton->isEnabled())
            zoomIn();
    });
    in->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                      QKeySequence(Qt::CTRL | Qt::Key_Equal),
                      QKeySequence(Qt::CTRL | Qt::Key_Plus)});
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
    QAction* reload =
        view->addAction(QStringLiteral("&Reload folder"), this, &MainWindow::reloadFolder);
    reload->setShortcut(QKeySequence::Refresh);
    createGoMenu();
    viewActions_ = {ui_.fitAction, ui_.actualSizeAction, in, out, fullScreen, reload};
    for (QAction* a : viewActions_)
        a->setShortcutContext(Qt::WindowShortcut);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    ui_.formatsAction = help->addAction(QStringLiteral("&Formats"), this, &MainWindow::showFormats);
    ui_.formatsAction->setObjectName(QStringLiteral("formats"));
}

int MainWindow::widestColumn() const {
    return std::max(kDesignColumnWidth, width() - 259 - kMinimumPictureWidth + kDesignColumnWidth);
}

void MainWindow::layoutControls() {
    // The picture area keeps the layout's right margin of 19 pixels, so at the default
    // size it is the designed 427 pixels wide and never runs past the window's edge.
    if (!ui_.statusLine)
        return; // not all made yet
    // The picture area gives way first: the column keeps the width chosen for it (kept as
    // chosen, for a wider window again) while the picture area is wider than its least.
    const int dx =
        std::clamp(columnWidth_, kDesignColumnWidth, widestColumn()) - kDesignColumnWidth;
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
    fitStatusToWidth();
    ui_.splitterHandle->setGeometry(233 + dx, 16, 7, pictureHeight);
    applyFit();
}

} // namespace quendra
