// The four small windows beside the main window: the enlarged view, the reduced view, the
// about box and the progress window. All are created hidden at start, stay on top while
// shown, are never modal, and are shown and hidden again rather than re-created.
#pragma once

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

#include "decode/decoded.h"

namespace quendra {

class PictureDocument;
class PictureView;

// Flags shared by the four: a fixed dialog frame with only the system menu, on top.
Qt::WindowFlags secondaryWindowFlags();

// Enlarged view: screen-sized, the document's picture scaled keeping its proportions.
class EnlargedView : public QWidget {
    Q_OBJECT
  public:
    explicit EnlargedView(const PictureDocument* document, QWidget* parent = nullptr);
    // The picture component filling the window.
    PictureView* pictureView() const { return pictureView_; }

    // Shows the window with a copy of the document's picture (again: replaces it and
    // re-activates). While shown, the copy follows the document's colours (a new palette).
    void showPicture();

  public slots:
    void onPictureMousePressed();

  protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override; // Escape or F11 closes the view

  private:
    void onActivated();
    void replacePicture();
    const PictureDocument* document_;
    PictureView* pictureView_ = nullptr;
};

// Reduced view: half the picture's size, the document's picture stretched into it.
class ReducedView : public QWidget {
    Q_OBJECT
  public:
    explicit ReducedView(const PictureDocument* document, QWidget* parent = nullptr);
    // The picture, stretched into the window.
    QLabel* pictureLabel() const { return pictureLabel_; }

    // Shows the window with a copy of the document's picture stretched to half its size.
    // While shown, the copy follows the document's colours (a new palette).
    void showPicture();

  protected:
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    void onActivated();
    void replacePicture();
    const PictureDocument* document_;
    QLabel* pictureLabel_ = nullptr;
    QSize pictureSize_;
};

// The about box.
class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);
    // The four lines of text, top to bottom (0..3).
    QLabel* line(int i) const { return lines_[i]; }

  private:
    QLabel* lines_[4] = {};
};

// The progress window; every user sets its caption first.
class ProgressWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    QProgressBar* bar() const { return bar_; }

    // The bar's step (2 at design); kept for the users that change it.
    int step() const { return step_; }
    void setStep(int step) { step_ = step; }
    // Moves the bar and paints it at once (the work runs inside one event handler).
    void setPosition(int position);
    // Shows the window and lets it reach the screen before the work goes on.
    void showNow();

  private:
    QProgressBar* bar_ = nullptr;
    int step_ = 2;
};

// Drives the progress window from a reader's progress reports.
class SavingProgress : public Progress {
  public:
    // `mayShow`: false keeps the window hidden (first paint still pending, a small clip).
    SavingProgress(ProgressWindow* window, QString caption, bool mayShow);
    void start(int maximum) override;
    void position(int position) override;
    bool shown() const { return shown_; }

  private:
    ProgressWindow* window_;
    QString caption_;
    bool mayShow_;
    bool shown_ = false;
};

} // namespace quendra
