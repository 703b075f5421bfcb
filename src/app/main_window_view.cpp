// MainWindow: the picture area following the document and placed as the view state says;
// the view keys and fit to window. The View menu's keys act in the whole
// window, the file list included (eventFilter: there letters and digits that are no view
// key type a name); fit shows the whole picture, by the largest whole-number scale or
// scaled down, and zoom steps from a fit go by whole numbers.
#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

void MainWindow::showFullScreenView() {
    if (!document_->isShown() || !enlargedView_)
        return;
    enlargedView_->showPicture();
    enlargedView_->showFullScreen();
}

void MainWindow::reloadFolder() {
    ui_.folderList->refresh();
    if (browsing_.insideImage()) {
        // The image read again: a changed image lists its entries as they are now.
        const QString image = browsing_.image().imagePath();
        const int row = ui_.fileList->currentIndex().row();
        if (browsing_.readImageAgain()) {
            listImage();
            if (row >= 0 && row < ui_.fileList->rowCount())
                ui_.fileList->setCurrentIndex(ui_.fileList->model()->index(row, 0));
            return;
        }
        leaveImage();
        return;
    }
    ui_.fileList->listModel()->refresh();
}

bool MainWindow::isViewKey(const QKeyEvent* key) const {
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* a : viewActions_) {
        for (const QKeySequence& shortcut : a->shortcuts()) {
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch)
                return true;
        }
    }
    return false;
}

void MainWindow::showDocument() {
    if (document_->isTrueColour()) {
        ui_.pictureView->setPicture(document_->picture()); // a PC picture, as it is
    } else if (document_->isShown()) {
        ui_.pictureView->setPicture(document_->indices());
        document_->shareDrawing(ui_.pictureView->picture()); // the views draw no copy of their own
    } else {
        ui_.pictureView->setPicture(templatePicture);
    }
}

void MainWindow::applyFit() {
    const Placement placement =
        view_.placement(ui_.pictureView->picture().size(), ui_.pictureView->contentsRect().size(),
                        document_->isShown());
    ui_.pictureView->setShrinkToFit(placement.shrinkToFit);
    ui_.pictureView->setScale(placement.scale);
    applyStates();
}

void MainWindow::leaveFit() {
    view_.leaveFit();
    applyFit();
}

bool MainWindow::zoomWholeStep(int direction) {
    if (!view_.wholeStep(direction, document_->isShown(), ui_.pictureView->scale(),
                         ui_.pictureView->shrunk()))
        return false;
    applyFit();
    return true;
}

void MainWindow::fitToWindow() {
    if (!document_->isShown())
        return;
    if (view_.zoomSteps() != 0)
        originalSize();
    view_.fit();
    applyFit();
}

void MainWindow::showActualSize() {
    view_.leaveWholeScale();
    leaveFit();
    if (view_.zoomSteps() != 0)
        originalSize();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == ui_.fileList->viewport()) {
        if (e->type() == QEvent::MouseButtonPress)
            browsing_.setMouseInList(true);
        else if (e->type() == QEvent::MouseButtonRelease)
            browsing_.setMouseInList(false);
        return false;
    }
    if (watched == ui_.fileList)
        return fileListKey(e);
    if (watched == ui_.pictureView)
        return pictureViewEvent(e);
    if (watched == ui_.splitterHandle)
        return splitterDrag(e);
    return QMainWindow::eventFilter(watched, e);
}

bool MainWindow::fileListKey(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        // Letters and digits type a name in the list, unless they are a view key.
        const auto* key = static_cast<QKeyEvent*>(e);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && !key->text().isEmpty() && key->text().front().isLetterOrNumber() &&
            !isViewKey(key)) {
            e->accept();
            return true;
        }
    } else if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Backspace) {
            stepFile(key == Qt::Key_Space ? 1 : -1);
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            activateListRow();
            return true;
        }
    }
    return false;
}

bool MainWindow::pictureViewEvent(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(e)->key()) {
        case Qt::Key_Space:
        case Qt::Key_PageDown:
            stepFile(1);
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_PageUp:
            stepFile(-1);
            return true;
        default:
            return false;
        }
    }
    if (e->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(e);
        if (!(wheel->modifiers() & Qt::ControlModifier) || wheel->angleDelta().y() == 0)
            return false;
        if (wheel->angleDelta().y() > 0 && ui_.zoomInButton->isEnabled())
            zoomIn();
        else if (wheel->angleDelta().y() < 0 && ui_.zoomOutButton->isEnabled())
            zoomOut();
        else if (wheel->angleDelta().y() < 0)
            leaveFit();
        return true;
    }
    return false;
}

bool MainWindow::splitterDrag(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        dragStartX_ = qRound(static_cast<QMouseEvent*>(e)->globalPosition().x());
        dragStartWidth_ = columnWidth_;
        return true;
    case QEvent::MouseMove:
        if (dragStartX_ >= 0) {
            const auto* mouse = static_cast<QMouseEvent*>(e);
            columnWidth_ = std::clamp(dragStartWidth_ + qRound(mouse->globalPosition().x()) -
                                          dragStartX_,
                                      kDesignColumnWidth, widestColumn());
            layoutControls();
        }
        return true;
    case QEvent::MouseButtonRelease:
        dragStartX_ = -1;
        return true;
    default:
        return false;
    }
}

} // namespace quendra
