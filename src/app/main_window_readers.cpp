// TForm1: the dispatch and the reader frame around the decoders.
//
// Every reader runs the same frame: the caption names the file and its format before the
// file is read, the picture commands (and the list box) are disabled, the file is read in
// one bounded read, decoded, and the picture handed to PImg, which keeps its own copy; then
// the commands come back and the picture-shown flag is set. A rejected file leaves the
// black template that the dispatch put there, silently.
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <filesystem>

#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"
#include "decode/readers.h"

namespace quendra {

namespace {

constexpr QStringView kLoading = u"Loading...";
constexpr QStringView kClipSuffix = u" (4Bit GoDot-Clip)";
// A clip shows the progress window only when more than this many bytes were read.
constexpr std::size_t kClipProgressBytes = 32000;

std::filesystem::path pathOf(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

std::vector<std::uint8_t> readFile(const QString& fileName, std::size_t limit) {
    return readFilePrefix(pathOf(fileName), limit);
}

const ReaderInfo& readerInfo(ReaderKind kind) {
    for (const ReaderInfo& row : readerTable()) {
        if (row.kind == kind)
            return row;
    }
    return readerTable().back();
}

QString suffixOf(std::string_view suffix) {
    return QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size()));
}

bool startsWith(const std::vector<std::uint8_t>& bytes, std::array<std::uint8_t, 4> magic) {
    return bytes.size() >= 4 && std::equal(magic.begin(), magic.end(), bytes.begin());
}

constexpr std::array<std::uint8_t, 4> kGodotPicture{'G', 'O', 'D', '0'};
constexpr std::array<std::uint8_t, 4> kGodotClip{'G', 'O', 'D', '1'};

} // namespace

QImage toQImage(const IndexedImage& picture) {
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    std::array<QRgb, 256> colours;
    colours.fill(qRgb(0, 0, 0)); // an index beyond the palette is black
    const std::vector<Rgb>& palette = picture.palette();
    for (std::size_t i = 0; i < palette.size() && i < colours.size(); ++i) {
        colours[i] = qRgb(palette[i].r, palette[i].g, palette[i].b);
    }
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = picture.row(y);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            dst[x] = colours[src[x]];
    }
    return image;
}

void TForm1::FileListBox1DblClick(QObject* sender) {
    if (sender == FileList)
        currentFileName = selectedListFile();
    // Only a plain file is a picture: a folder is none, and reading a named pipe or a
    // terminal would wait for data that may never come.
    if (currentFileName.isEmpty() || !QFileInfo(currentFileName).isFile())
        return;
    dispatchBegins(states_);
    applyStates();
    const QByteArray encoded = QFile::encodeName(currentFileName);
    const std::string_view extension =
        extensionOf({encoded.constData(), std::size_t(encoded.size())});
    if (zoomSteps != 0)
        OrigSizeClick();
    PImg->setPicture(TestBMP);
    const QString name = currentFileName; // a reader may not change it, but be sure
    switch (readerForExtension(extension).kind) {
    case ReaderKind::Koala:
        KoalaView(name);
        break;
    case ReaderKind::ArtStudio:
        ArtView(name);
        break;
    case ReaderKind::Amica:
        AmiView(name);
        break;
    case ReaderKind::KoalaCompressed:
        KoalaCompView(name);
        break;
    case ReaderKind::Doodle:
        DoodleView(name);
        break;
    case ReaderKind::DoodleCompressed:
        DoodleCompView(name);
        break;
    case ReaderKind::Printfox:
        PageGBView(name);
        break;
    case ReaderKind::FunPainter:
        FP2View(name);
        break;
    case ReaderKind::Godot:
        godotPath(name);
        break;
    }
}

void TForm1::openFrame(const QString& fileName, QStringView suffix, ReaderFamily family) {
    readerStarts(states_, family);
    applyStates();
    setWindowTitle(captionFor(fileName, suffix));
    if (family != ReaderFamily::GodotPath && family != ReaderFamily::GodotClip) {
        pictureShown = false;
    }
}

void TForm1::closeFrame(ReaderFamily family) {
    readerEnds(states_, family);
    applyStates();
    if (family != ReaderFamily::GodotPath)
        pictureShown = true;
}

void TForm1::showDecoded(const Decoded& decoded) {
    if (decoded.accepted)
        PImg->setPicture(toQImage(decoded.picture));
}

void TForm1::runReader(const QString& fileName, ReaderKind kind, ReaderFamily family) {
    const ReaderInfo& reader = readerInfo(kind);
    const bool withProgress =
        family == ReaderFamily::Printfox || family == ReaderFamily::FunPainter;
    openFrame(fileName, suffixOf(reader.captionSuffix), family);
    const std::vector<std::uint8_t> bytes = readFile(fileName, reader.readLimit);
    // The progress window stays hidden while the start-up picture is on its way.
    SavingProgress progress(Saving, kLoading.toString(), !firstPaintPending);
    DecodeOptions options;
    options.grey = grey->isChecked();
    options.progress = withProgress && Saving ? &progress : nullptr;
    const Decoded decoded = reader.decode(bytes, options);
    showDecoded(decoded);
    // Printfox ends its progress only for a page it decoded; FunPainter 2 always does.
    if ((family == ReaderFamily::Printfox && decoded.decodingBegan) ||
        family == ReaderFamily::FunPainter) {
        if (firstPaintPending) {
            firstPaintPending = false;
        } else if (Saving) {
            Saving->hide();
        }
    }
    closeFrame(family);
}

void TForm1::KoalaView(const QString& fileName) {
    runReader(fileName, ReaderKind::Koala, ReaderFamily::C64);
}

void TForm1::ArtView(const QString& fileName) {
    const ReaderInfo& reader = readerInfo(ReaderKind::ArtStudio);
    openFrame(fileName, suffixOf(reader.captionSuffix), ReaderFamily::C64);
    const std::vector<std::uint8_t> bytes = readFile(fileName, reader.readLimit);
    DecodeOptions options;
    options.grey = grey->isChecked();
    const Decoded decoded = reader.decode(bytes, options);
    if (decoded.accepted && decoded.captionSuffix != reader.captionSuffix) {
        // The hires kind: its own reader names it and shows it.
        ArtHiView(fileName);
    } else {
        showDecoded(decoded);
    }
    closeFrame(ReaderFamily::C64);
}

void TForm1::ArtHiView(const QString& fileName) {
    const ReaderInfo& reader = readerInfo(ReaderKind::ArtStudio);
    openFrame(fileName, u" (Art Studio HiRes)", ReaderFamily::C64);
    const std::vector<std::uint8_t> bytes = readFile(fileName, reader.readLimit);
    DecodeOptions options;
    options.grey = grey->isChecked();
    const Decoded decoded = reader.decode(bytes, options);
    if (decoded.captionSuffix != reader.captionSuffix)
        showDecoded(decoded);
    closeFrame(ReaderFamily::C64);
}

void TForm1::AmiView(const QString& fileName) {
    runReader(fileName, ReaderKind::Amica, ReaderFamily::C64);
}

void TForm1::KoalaCompView(const QString& fileName) {
    runReader(fileName, ReaderKind::KoalaCompressed, ReaderFamily::C64);
}

void TForm1::DoodleView(const QString& fileName) {
    runReader(fileName, ReaderKind::Doodle, ReaderFamily::C64);
}

void TForm1::DoodleCompView(const QString& fileName) {
    runReader(fileName, ReaderKind::DoodleCompressed, ReaderFamily::C64);
}

void TForm1::PageGBView(const QString& fileName) {
    runReader(fileName, ReaderKind::Printfox, ReaderFamily::Printfox);
}

void TForm1::FP2View(const QString& fileName) {
    runReader(fileName, ReaderKind::FunPainter, ReaderFamily::FunPainter);
}

void TForm1::godotPath(const QString& fileName) {
    const ReaderInfo& reader = readerInfo(ReaderKind::Godot);
    openFrame(fileName, suffixOf(reader.captionSuffix), ReaderFamily::GodotPath);
    PImg->setPicture(TestBMP);
    const std::vector<std::uint8_t> bytes = readFile(fileName, reader.readLimit);
    if (startsWith(bytes, kGodotClip)) {
        GodClipView(fileName);
    } else if (startsWith(bytes, kGodotPicture)) {
        pictureShown = true;
        DecodeOptions options;
        options.grey = grey->isChecked();
        showDecoded(reader.decode(bytes, options));
    }
    closeFrame(ReaderFamily::GodotPath);
}

void TForm1::GodClipView(const QString& fileName) {
    const ReaderInfo& reader = readerInfo(ReaderKind::Godot);
    openFrame(fileName, kClipSuffix, ReaderFamily::GodotClip);
    const std::vector<std::uint8_t> bytes = readFile(fileName, kGodotClipReadLimit);
    pictureShown = true;
    SavingProgress progress(Saving, kLoading.toString(),
                            bytes.size() > kClipProgressBytes && !firstPaintPending);
    DecodeOptions options;
    options.grey = grey->isChecked();
    options.progress = Saving ? &progress : nullptr;
    showDecoded(reader.decode(bytes, options));
    if (Saving)
        Saving->hide();
    closeFrame(ReaderFamily::GodotClip);
}

} // namespace quendra
