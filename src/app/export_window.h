// File ▸ "Export as C64 picture...": the shown picture to one of the C64 formats, with a
// live preview. The target format, exact or reduced, the palette the picture's colours are
// matched against (Auto, a known one, a .vpl), the dither, fill or fit, the background and
// the source's brightness, contrast and saturation; the preview shows the file as the
// format's reader shows it (PAL pixel proportions, zoomable) with its mean ΔE, or in exact
// mode marks the cells that break the format's rules and says why. Save writes through the
// one atomic write; the choices are kept in quendra.ini ([Export]). The converter takes the
// same settings as options (--to, --reduce, --palette, --dither, --fit, --background,
// --brightness, --contrast, --saturation).
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <vector>

#include "decode/image.h"
#include "decode/palettes.h"
#include "export/c64_export.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace quendra {

class PictureDocument;

class ExportWindow : public QDialog {
    Q_OBJECT
  public:
    // `picture` as the viewer shows it (in `shownColours`); Save proposes `proposedPath`.
    ExportWindow(const IndexedImage& picture, const C64Colours& shownColours, QString proposedPath,
                 QWidget* parent = nullptr);
    // A PC picture, true colour: its colours are a palette's (Auto finds it, the viewer's
    // `palette` tried first; a screenshot's border and enlargement undone) or are reduced
    // (in `palette` where Auto finds none).
    ExportWindow(const Image& picture, const C64Colours& palette, QString proposedPath,
                 QWidget* parent = nullptr);
    ~ExportWindow() override;

    // The window for the shown picture, modal; the file written, or empty. `proposedPath` is
    // the folder and the name without an extension that Save proposes (the format's follows).
    static QString exportPicture(QWidget* parent, const IndexedImage& picture,
                                 const C64Colours& shownColours, const QString& proposedPath);
    static QString exportPicture(QWidget* parent, const Image& picture, const C64Colours& palette,
                                 const QString& proposedPath);
    // The same for the document's picture (File ▸ "Export as C64 picture...").
    static QString exportShown(QWidget* parent, const PictureDocument& document,
                               const QString& proposedPath);

    // The writer and the options the controls stand for.
    const C64Writer& writer() const;
    C64ExportOptions options() const;
    // The preview as drawn (before zooming), and the line under it.
    const QImage& preview() const { return preview_; }
    QString previewText() const;
    // The file's bytes for the current settings, or why not.
    std::string written(std::vector<std::uint8_t>& bytes);

  public slots:
    void updatePreview();
    void save();

  private:
    void build();
    void loadSettings();
    void keepSettings() const;
    void showZoomed();
    void choosePaletteFile(int index);

    IndexedImage picture_;
    Image trueColour_{0, 0}; // a PC picture's; empty for a C64 one
    C64Colours shownColours_;
    QString proposedPath_;
    QString savedPath_;
    std::vector<C64Colours> fileColours_; // palettes of .vpl files chosen, by their row
    C64Exporter exporter_;
    QImage preview_;

    QComboBox* formatBox_ = nullptr;
    QComboBox* modeBox_ = nullptr;
    QComboBox* paletteBox_ = nullptr;
    QComboBox* ditherBox_ = nullptr;
    QComboBox* framingBox_ = nullptr;
    QComboBox* backgroundBox_ = nullptr;
    QSlider* brightness_ = nullptr;
    QSlider* contrast_ = nullptr;
    QSlider* saturation_ = nullptr;
    QSpinBox* zoom_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QLabel* textLabel_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

} // namespace quendra
