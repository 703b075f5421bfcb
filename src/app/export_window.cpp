#include "app/export_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/picture_document.h"
#include "app/settings.h"
#include "components/bridge.h"
#include "components/dialogs.h"
#include "decode/formats.h"
#include "export/atomic_write.h"
#include "export/palette_match.h"
#include "export/png_pixel_ratio.h"

namespace quendra {

namespace {

const QString kSection = QStringLiteral("Export");
const QString kTitle = QStringLiteral("Export as C64 Picture");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* const kDitherNames[] = {"none", "bayer4", "bayer8", "floyd"};

QSlider* adjustmentSlider(QWidget* parent, const char* name) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(-100, 100);
    slider->setPageStep(10);
    return slider;
}

} // namespace

ExportWindow::ExportWindow(const IndexedImage& picture, const C64Colours& shownColours,
                           QString proposedPath, QWidget* parent)
    : QDialog(parent), picture_(picture), shownColours_(shownColours),
      proposedPath_(std::move(proposedPath)) {
    build();
}

ExportWindow::ExportWindow(const Image& picture, const C64Colours& palette, QString proposedPath,
                           QWidget* parent)
    : QDialog(parent), picture_(0, 0), trueColour_(picture), shownColours_(palette),
      proposedPath_(std::move(proposedPath)) {
    build();
}

void ExportWindow::build() {
    setWindowTitle(kTitle);
    setObjectName(QStringLiteral("exportWindow"));
    auto* controls = new QFormLayout;
    formatBox_ = new QComboBox(this);
    formatBox_->setObjectName(QStringLiteral("formatBox"));
    for (const C64Writer& w : c64Writers())
        formatBox_->addItem(fromUtf8(w.row().name) + QStringLiteral(" (.") + fromUtf8(w.key) + u')',
                            fromUtf8(w.key));
    modeBox_ = new QComboBox(this);
    modeBox_->setObjectName(QStringLiteral("modeBox"));
    modeBox_->addItems({QStringLiteral("Exact"), QStringLiteral("Reduced")});
    paletteBox_ = new QComboBox(this);
    paletteBox_->setObjectName(QStringLiteral("paletteBox"));
    paletteBox_->addItem(QStringLiteral("Auto"), QStringLiteral("auto"));
    for (const NamedPalette& p : knownPalettes())
        paletteBox_->addItem(fromUtf8(p.name), fromUtf8(p.name));
    paletteBox_->addItem(QStringLiteral("Palette file\u2026"));
    ditherBox_ = new QComboBox(this);
    ditherBox_->setObjectName(QStringLiteral("ditherBox"));
    ditherBox_->addItems({QStringLiteral("None"), QStringLiteral("Bayer 4 x 4"),
                          QStringLiteral("Bayer 8 x 8"), QStringLiteral("Floyd\u2013Steinberg")});
    framingBox_ = new QComboBox(this);
    framingBox_->setObjectName(QStringLiteral("framingBox"));
    framingBox_->addItems({QStringLiteral("Fill the screen"), QStringLiteral("Fit (black bars)")});
    backgroundBox_ = new QComboBox(this);
    backgroundBox_->setObjectName(QStringLiteral("backgroundBox"));
    backgroundBox_->addItem(QStringLiteral("Chosen"));
    for (int c = 0; c < 16; ++c)
        backgroundBox_->addItem(fromUtf8(c64ColourName(c)));
    brightness_ = adjustmentSlider(this, "brightnessSlider");
    contrast_ = adjustmentSlider(this, "contrastSlider");
    saturation_ = adjustmentSlider(this, "saturationSlider");
    zoom_ = new QSpinBox(this);
    zoom_->setObjectName(QStringLiteral("zoomBox"));
    zoom_->setRange(1, 4);
    zoom_->setSuffix(QStringLiteral(" x"));
    controls->addRow(QStringLiteral("&Format:"), formatBox_);
    controls->addRow(QStringLiteral("&Colours:"), modeBox_);
    controls->addRow(QStringLiteral("&Palette:"), paletteBox_);
    controls->addRow(QStringLiteral("&Dither:"), ditherBox_);
    controls->addRow(QStringLiteral("F&raming:"), framingBox_);
    controls->addRow(QStringLiteral("&Background:"), backgroundBox_);
    controls->addRow(QStringLiteral("Br&ightness:"), brightness_);
    controls->addRow(QStringLiteral("C&ontrast:"), contrast_);
    controls->addRow(QStringLiteral("Sa&turation:"), saturation_);
    controls->addRow(QStringLiteral("&Zoom:"), zoom_);

    previewLabel_ = new QLabel(this);
    previewLabel_->setObjectName(QStringLiteral("previewLabel"));
    previewLabel_->setAlignment(Qt::AlignCenter);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(previewLabel_);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(620, 420);
    textLabel_ = new QLabel(this);
    textLabel_->setObjectName(QStringLiteral("previewText"));
    textLabel_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    saveButton_ = buttons->button(QDialogButtonBox::Save);
    saveButton_->setText(QStringLiteral("&Save\u2026"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ExportWindow::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addLayout(controls);
    top->addWidget(scroll, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(textLabel_);
    layout->addWidget(buttons);

    loadSettings();
    for (QComboBox* box : {formatBox_, modeBox_, ditherBox_, framingBox_, backgroundBox_})
        connect(box, &QComboBox::currentIndexChanged, this, &ExportWindow::updatePreview);
    connect(paletteBox_, &QComboBox::currentIndexChanged, this, &ExportWindow::choosePaletteFile);
    for (QSlider* slider : {brightness_, contrast_, saturation_})
        connect(slider, &QSlider::valueChanged, this, &ExportWindow::updatePreview);
    connect(zoom_, &QSpinBox::valueChanged, this, &ExportWindow::showZoomed);
    updatePreview();
}

ExportWindow::~ExportWindow() {
    keepSettings();
}

QString ExportWindow::exportPicture(QWidget* parent, const IndexedImage& picture,
                                    const C64Colours& shownColours, const QString& proposedPath) {
    ExportWindow window(picture, shownColours, proposedPath, parent);
    window.exec();
    return window.savedPath_;
}

QString ExportWindow::exportPicture(QWidget* parent, const Image& picture,
                                    const C64Colours& palette, const QString& proposedPath) {
    ExportWindow window(picture, palette, proposedPath, parent);
    window.exec();
    return window.savedPath_;
}

QString ExportWindow::exportShown(QWidget* parent, const PictureDocument& document,
                                  const QString& proposedPath) {
    if (document.isTrueColour()) {
        const std::optional<Image> rgb = toRgbImage(document.picture());
        return rgb ? exportPicture(parent, *rgb, document.paletteColours(), proposedPath)
                   : QString();
    }
    return exportPicture(parent, document.indices(), document.paletteColours(), proposedPath);
}

const C64Writer& ExportWindow::writer() const {
    const C64Writer* w = findC64Writer(formatBox_->currentData().toString().toStdString());
    return w ? *w : c64Writers().front();
}

C64ExportOptions ExportWindow::options() const {
    C64ExportOptions o;
    o.reduce = modeBox_->currentIndex() == 1;
    o.reduction.dither = static_cast<Dither>(std::max(0, ditherBox_->currentIndex()));
    o.reduction.framing = framingBox_->currentIndex() == 1 ? Framing::fit : Framing::fill;
    const C64Rules& rules = writer().rules;
    if (fatPixels(rules.mode) && rules.fixedBackground < 0)
        o.reduction.background = backgroundBox_->currentIndex() - 1;
    o.reduction.brightness = brightness_->value();
    o.reduction.contrast = contrast_->value();
    o.reduction.saturation = saturation_->value();
    const int row = paletteBox_->currentIndex();
    const int known = static_cast<int>(knownPalettes().size());
    o.autoPalette = row <= 0;
    o.palette = shownColours_;
    if (row >= 1 && row <= known) {
        o.palette = knownPalettes()[row - 1].colours;
        o.paletteName = std::string(knownPalettes()[row - 1].name);
    } else if (row > known && row - known - 1 < static_cast<int>(fileColours_.size())) {
        o.palette = fileColours_[row - known - 1];
        o.paletteName = paletteBox_->currentText().toStdString();
    }
    return o;
}

std::string ExportWindow::written(std::vector<std::uint8_t>& bytes) {
    const C64ExportOptions o = options();
    // C64 pictures by their colour numbers; PC pictures by their colours.
    if (!trueColour_.empty())
        return exporter_.write(trueColour_, writer(), o, bytes);
    if (picture_.meaning() != IndexMeaning::fixed)
        return exporter_.write(picture_, writer(), o, bytes);
    return exporter_.write(picture_.toRgb(), writer(), o, bytes);
}

QString ExportWindow::previewText() const {
    return textLabel_->text();
}

void ExportWindow::updatePreview() {
    const C64Writer& w = writer();
    backgroundBox_->setEnabled(fatPixels(w.rules.mode) && w.rules.fixedBackground < 0);
    const bool reduce = modeBox_->currentIndex() == 1;
    for (QWidget* control : std::initializer_list<QWidget*>{ditherBox_, framingBox_, brightness_,
                                                            contrast_, saturation_})
        control->setEnabled(reduce);
    std::vector<std::uint8_t> bytes;
    const std::string why = written(bytes);
    const QString note = fromUtf8(exporter_.note());
    if (why.empty()) {
        Decoded back = decodeAs(w.row(), bytes, {.fileSize = bytes.size()});
        // In the palette the colours were matched in (a PC picture's as found).
        applyPalette(back.picture, !trueColour_.empty()    ? exporter_.palette()
                                   : options().autoPalette ? shownColours_
                                                           : options().palette);
        preview_ = toQImage(back.picture);
        QString text = exporter_.meanError() > 0
                           ? QStringLiteral("Mean \u0394E %1").arg(exporter_.meanError(), 0, 'f', 2)
                           : QStringLiteral("Exact");
        if (!note.isEmpty())
            text += QStringLiteral("; ") + note;
        textLabel_->setText(text);
        saveButton_->setEnabled(true);
    } else {
        // The picture as it is, the cells that break the rules marked.
        preview_ = trueColour_.empty() ? toQImage(picture_) : toQImage(trueColour_);
        ColourPicture numbers;
        const std::string notExact = trueColour_.empty()
                                         ? colourNumbersOf(picture_, options().palette, numbers)
                                         : colourNumbersOf(trueColour_, options().palette, numbers);
        if (notExact.empty() && !preview_.isNull()) {
            const bool halved = numbers.width * 2 == shownWidth(w.rules.mode);
            const int scale = preview_.width() / std::max(1, numbers.width) * (halved ? 4 : 8);
            const int hidden = hiddenColumns(w.rules.mode);
            preview_ = preview_.convertToFormat(QImage::Format_RGB32);
            QPainter painter(&preview_);
            painter.setPen(QColor(255, 0, 0));
            for (int cell : crowdedCells(numbers, w.rules))
                painter.drawRect((cell % 40 - hidden) * scale, cell / 40 * 8, scale - 1, 7);
        }
        textLabel_->setText(QString::fromStdString(why));
        saveButton_->setEnabled(false);
    }
    showZoomed();
}

void ExportWindow::showZoomed() {
    if (preview_.isNull()) {
        previewLabel_->clear();
        return;
    }
    // A picture larger than the screen (a page shown as it is) is not enlarged.
    const int zoom = preview_.width() > 400 || preview_.height() > 300 ? 1 : zoom_->value();
    const double across = double(kPalPixelsDown) / double(kPalPixelsAcross);
    const int width = static_cast<int>(preview_.width() * zoom * across + 0.5);
    previewLabel_->setPixmap(QPixmap::fromImage(preview_.scaled(
        width, preview_.height() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

void ExportWindow::choosePaletteFile(int index) {
    if (index == paletteBox_->count() - 1) {
        dialogs::OpenRequest request;
        request.title = QStringLiteral("Load palette file");
        request.directory = QFileInfo(proposedPath_).absolutePath();
        request.filter = QStringLiteral("VICE palettes (*.vpl)");
        const QString file = dialogs::openFileName(this, request);
        const PaletteResult read = file.isEmpty() ? PaletteResult{} : readVplFile(toPath(file));
        QSignalBlocker blocker(paletteBox_);
        if (!read.ok) {
            if (!file.isEmpty())
                dialogs::message(this, QMessageBox::Warning, kTitle,
                                 QString::fromStdString(read.error));
            paletteBox_->setCurrentIndex(0);
        } else {
            fileColours_.push_back(read.colours);
            paletteBox_->insertItem(index, file, file);
            paletteBox_->setCurrentIndex(index);
        }
    }
    updatePreview();
}

void ExportWindow::save() {
    const C64Writer& w = writer();
    dialogs::SaveRequest request;
    request.title = kTitle;
    const QFileInfo proposed(proposedPath_);
    request.directory = proposed.absolutePath();
    request.fileName = proposed.fileName() + u'.' + fromUtf8(w.key);
    request.filter = fromUtf8(w.row().name) + QStringLiteral(" (*.") + fromUtf8(w.key) + u')';
    request.defaultSuffix = fromUtf8(w.key);
    const QString chosen = dialogs::saveFileName(this, request);
    if (chosen.isEmpty())
        return;
    std::vector<std::uint8_t> bytes;
    if (const std::string why = written(bytes); !why.empty()) {
        dialogs::message(this, QMessageBox::Warning, kTitle,
                         QStringLiteral("The picture cannot be written as %1: %2.")
                             .arg(fromUtf8(w.row().name), QString::fromStdString(why)));
        return;
    }
    const WriteResult result = writeFileAtomically(toPath(chosen), bytes, Flush::WhenReplacing);
    if (!result.written) {
        dialogs::message(this, QMessageBox::Warning, kTitle,
                         QStringLiteral("%1 cannot be written: %2.")
                             .arg(dialogs::printableFileName(QFileInfo(chosen).fileName()),
                                  QString::fromStdString(result.error)));
        return;
    }
    savedPath_ = chosen;
    accept();
}

void ExportWindow::loadSettings() {
    const IniFile ini(settings::filePath());
    const int format = formatBox_->findData(ini.readString(kSection, QStringLiteral("Format")));
    formatBox_->setCurrentIndex(std::max(0, format));
    modeBox_->setCurrentIndex(ini.readInteger(kSection, QStringLiteral("Reduce"), 0) ? 1 : 0);
    const int palette = paletteBox_->findData(ini.readString(kSection, QStringLiteral("Palette")));
    paletteBox_->setCurrentIndex(std::max(0, palette));
    Dither dither = Dither::none;
    ditherNamed(ini.readString(kSection, QStringLiteral("Dither")).toStdString(), dither);
    ditherBox_->setCurrentIndex(static_cast<int>(dither));
    framingBox_->setCurrentIndex(ini.readInteger(kSection, QStringLiteral("Fit"), 0) ? 1 : 0);
    backgroundBox_->setCurrentIndex(
        std::clamp(ini.readInteger(kSection, QStringLiteral("Background"), -1), -1, 15) + 1);
    brightness_->setValue(ini.readInteger(kSection, QStringLiteral("Brightness"), 0));
    contrast_->setValue(ini.readInteger(kSection, QStringLiteral("Contrast"), 0));
    saturation_->setValue(ini.readInteger(kSection, QStringLiteral("Saturation"), 0));
    zoom_->setValue(ini.readInteger(kSection, QStringLiteral("Zoom"), 2));
}

void ExportWindow::keepSettings() const {
    IniFile ini(settings::filePath());
    ini.writeString(kSection, QStringLiteral("Format"), formatBox_->currentData().toString());
    ini.writeInteger(kSection, QStringLiteral("Reduce"), modeBox_->currentIndex());
    // A palette file chosen is not kept: its row is gone next time.
    const QString palette = paletteBox_->currentData().toString();
    ini.writeString(kSection, QStringLiteral("Palette"),
                    findKnownPalette(palette.toStdString()) ? palette : QStringLiteral("auto"));
    ini.writeString(
        kSection, QStringLiteral("Dither"),
        QString::fromLatin1(kDitherNames[std::clamp(ditherBox_->currentIndex(), 0, 3)]));
    ini.writeInteger(kSection, QStringLiteral("Fit"), framingBox_->currentIndex());
    ini.writeInteger(kSection, QStringLiteral("Background"), backgroundBox_->currentIndex() - 1);
    ini.writeInteger(kSection, QStringLiteral("Brightness"), brightness_->value());
    ini.writeInteger(kSection, QStringLiteral("Contrast"), contrast_->value());
    ini.writeInteger(kSection, QStringLiteral("Saturation"), saturation_->value());
    ini.writeInteger(kSection, QStringLiteral("Zoom"), zoom_->value());
    ini.save();
}

} // namespace quendra
