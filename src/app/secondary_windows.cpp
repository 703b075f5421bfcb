#include "app/secondary_windows.h"

#include "app/view_logic.h"

#include <algorithm>
#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "app/picture_document.h"
#include "decode/formats.h"
#include "components/pmultiimage.h"

namespace quendra {

namespace {

void centreOnScreen(QWidget* w) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

} // namespace

Qt::WindowFlags secondaryWindowFlags() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
}

// ---- EnlargedView: enlarged view ----

EnlargedView::EnlargedView(const PictureDocument* document, QWidget* parent)
    : QWidget(parent, secondaryWindowFlags()), document_(document) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Maximized (Click to close)"));
    resize(588, 448);
    pictureView_ = new PictureView(this);
    pictureView_->setObjectName(QStringLiteral("pictureView"));
    pictureView_->setCenter(true);
    pictureView_->setBorderStyle(BorderStyle::SingleBorder);
    pictureView_->setImageDither(true);
    pictureView_->setStretchRatio(true);
    pictureView_->setColor(Qt::black); // around the picture, as in the main picture area
    pictureView_->setToolTip(QStringLiteral("Click to close"));
    pictureView_->setGeometry(rect());
    connect(pictureView_, &PictureView::mousePressed, this, &EnlargedView::onPictureMousePressed);
    connect(document_, &PictureDocument::coloursChanged, this, [this] {
        if (isVisible())
            replacePicture();
    });
}

void EnlargedView::showPicture() {
    replacePicture();
    showMaximized();
    onActivated();
    raise();
    activateWindow();
}

void EnlargedView::replacePicture() {
    // The document's drawing, shared with the reduced view (this view writes no files).
    pictureView_->setPicture(document_->picture());
}

void EnlargedView::onPictureMousePressed() {
    hide();
}

void EnlargedView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_F11)
        hide();
    else
        QWidget::keyPressEvent(e);
}

bool EnlargedView::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        onActivated();
    return QWidget::event(e);
}

void EnlargedView::resizeEvent(QResizeEvent* e) {
    pictureView_->setGeometry(rect());
    QWidget::resizeEvent(e);
}

void EnlargedView::hideEvent(QHideEvent* e) {
    // A hidden view keeps no copy: a large page would otherwise stay in memory.
    pictureView_->clearPicture();
    QWidget::hideEvent(e);
    // The window system's surface of the view is megabytes; once the window is hidden,
    // let it go (showing the window again makes a new one).
    QTimer::singleShot(0, this, [this] {
        if (!isVisible())
            destroy();
    });
}

void EnlargedView::onActivated() {
    // The whole screen, from its top-left corner.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area(QPoint(0, 0), screen->geometry().size());
    if (geometry() != area)
        setGeometry(area);
}

// ---- ReducedView: reduced view ----

ReducedView::ReducedView(const PictureDocument* document, QWidget* parent)
    : QWidget(parent, secondaryWindowFlags()), document_(document) {
    setObjectName(QStringLiteral("Form3"));
    // Short enough for the title bar of a window half a picture wide.
    setWindowTitle(QStringLiteral("Half size"));
    setToolTip(QStringLiteral("Click to close"));
    setFixedSize(160, 100);
    pictureLabel_ = new QLabel(this);
    pictureLabel_->setObjectName(QStringLiteral("SmallImg"));
    pictureLabel_->setScaledContents(true);
    pictureLabel_->setAlignment(Qt::AlignCenter);
    pictureLabel_->setToolTip(QStringLiteral("Click to close"));
    pictureLabel_->setGeometry(rect());
    centreOnScreen(this);
    connect(document_, &PictureDocument::coloursChanged, this, [this] {
        if (isVisible())
            replacePicture();
    });
}

void ReducedView::showPicture() {
    replacePicture();
    onActivated();
    show();
    raise();
    activateWindow();
}

void ReducedView::replacePicture() {
    const QImage picture = document_->picture();
    pictureSize_ = picture.size();
    // Stretched once here (whole pixels, no blending), not at every paint.
    const QSize half(picture.width() / 2, picture.height() / 2);
    pictureLabel_->setPixmap(half.isEmpty() ? QPixmap()
                                       : QPixmap::fromImage(picture.scaled(
                                             half, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

bool ReducedView::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        onActivated();
    return QWidget::event(e);
}

void ReducedView::mousePressEvent(QMouseEvent* e) {
    // Presses on the picture arrive here too: the label does not take them.
    hide();
    e->accept();
}

void ReducedView::hideEvent(QHideEvent* e) {
    pictureLabel_->clear();
    QWidget::hideEvent(e);
    // The window system's surface of the view is megabytes; once the window is hidden,
    // let it go (showing the window again makes a new one).
    QTimer::singleShot(0, this, [this] {
        if (!isVisible())
            destroy();
    });
}

void ReducedView::onActivated() {
    // Half the picture in each direction, rounded toward zero; a window at least as wide as
    // its title needs beside the title bar's buttons, the picture in its middle.
    const QSize half(pictureSize_.width() / 2, pictureSize_.height() / 2);
    const int titled = fontMetrics().horizontalAdvance(windowTitle()) + 80;
    const QSize window(std::max(half.width(), titled), std::max(half.height(), 1));
    if (size() != window)
        setFixedSize(window);
    pictureLabel_->setGeometry((window.width() - half.width()) / 2, (window.height() - half.height()) / 2,
                          half.width(), half.height());
}

// ---- AboutBox: about box ----

AboutBox::AboutBox(QWidget* parent) : QDialog(parent, secondaryWindowFlags()) {
    setObjectName(QStringLiteral("OKBottomDlg"));
    setWindowTitle(QStringLiteral("About..."));
    setModal(false);
    // 313 x 214, its four lines; the formats themselves are listed by Help ▸ "Formats".
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* text = new QVBoxLayout(frame);
    text->setContentsMargins(8, 10, 8, 10);
    const QString texts[4] = {QStringLiteral("Quendra"),
                              QStringLiteral("Converter for GoDot, Version " QUENDRA_VERSION),
                              QStringLiteral("Displays: %1 C64 picture formats, listed "
                                             "under Help \u25B8 Formats")
                                  .arg(c64Formats().size()),
                              QStringLiteral("Just double-click or drag'n drop pics")};
    for (int i = 0; i < 4; ++i) {
        lines_[i] = new QLabel(texts[i], frame);
        lines_[i]->setAlignment(Qt::AlignCenter);
        lines_[i]->setWordWrap(true);
        text->addWidget(lines_[i]);
    }
    QFont big = lines_[0]->font();
    big.setPixelSize(18);
    lines_[0]->setFont(big);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    ok->setFixedSize(75, 25);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(8, 8, 8, 8);
    box->addWidget(frame);
    box->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(313, 214);
    centreOnScreen(this);
}

// ---- ProgressWindow: progress ----

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, secondaryWindowFlags()) {
    setObjectName(QStringLiteral("Saving"));
    setWindowTitle(QStringLiteral("Saving..."));
    setFixedSize(294, 36);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("SaveProgress"));
    bar_->setGeometry(16, 9, 265, 16);
    bar_->setRange(0, 39);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    centreOnScreen(this);
}

void ProgressWindow::setPosition(int position) {
    // The bar paints itself at once when the change shows.
    bar_->setValue(position);
}

void ProgressWindow::showNow() {
    show();
    raise();
    // Only the window system's own work (expose, paint); no input reaches the program
    // while a reader or the turn runs.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---- SavingProgress ----

SavingProgress::SavingProgress(ProgressWindow* window, QString caption, bool mayShow)
    : window_(window), caption_(std::move(caption)), mayShow_(mayShow) {}

void SavingProgress::start(int maximum) {
    if (!window_)
        return;
    window_->setWindowTitle(caption_);
    window_->bar()->setRange(0, std::max(0, maximum));
    window_->bar()->setValue(0);
    if (mayShow_) {
        window_->showNow();
        shown_ = true;
    }
}

void SavingProgress::position(int position) {
    if (window_)
        window_->setPosition(position);
}

} // namespace quendra
