// The image library on the program's own core. A picture of at most 256 colours crosses
// over as an IndexedImage (its colours in the order the pixels first show them, which is the
// order the writers store them in), so the window writes the same bytes as quendra-convert
// through the same encoders of export/, and flips and turns with IndexedImage's functions.
// Files are read with Qt's image readers (TIFF through Qt's TIFF plugin) and our PCX
// reader. A true-colour picture (a PC file of more than 256 colours) is written by Qt's
// writers where the format keeps true colour. Every file reaches the disk through the
// atomic file write.
#include "components/image_library.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "components/bridge.h"
#include "components/dialogs.h"
#include "components/pcx_reader.h"
#include "export/atomic_write.h"
#include "export/bmp_encoder.h"
#include "export/gif_encoder.h"
#include "export/jpeg_encoder.h"
#include "export/pcx_encoder.h"
#include "export/png_encoder.h"
#include "export/tiff_encoder.h"

namespace quendra::imagelib {

namespace {

constexpr qint64 kMaxFileBytes = 256 << 20;
constexpr int kMaxSide = 32767;

Status failure(StatusCode code, const QString& message) {
    return {code, message};
}

bool validDepth(int depth) {
    return depth == 0 || depth == 1 || depth == 4 || depth == 8 || depth == 24;
}

Status badDepth(int depth) {
    return failure(kBadArgument,
                   QStringLiteral("colour depth %1 is none of 0, 1, 4, 8 and 24").arg(depth));
}

QString shown(const QString& file) {
    return dialogs::printableFileName(file);
}

// Runs an operation; nothing thrown gets out.
template <typename Operation> Status guarded(const QString& what, Operation operation) {
    try {
        return operation();
    } catch (const std::bad_alloc&) {
        return failure(kFailed, what + QStringLiteral(": not enough memory"));
    } catch (const std::exception& e) {
        return failure(kFailed, what + ": " + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return failure(kFailed, what + QStringLiteral(": unexpected error"));
    }
}

// --- Between QImage and IndexedImage -----------------------------------------------------

int brightness(QRgb c) { // Rec. 601, 0..255
    return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c) + 500) / 1000;
}

// Black (index 0) and white (index 1) by brightness; with `dither` the rounding error is
// spread to the neighbours (Floyd-Steinberg) so that areas keep their mean brightness.
IndexedImage monochrome(const QImage& image, bool dither) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width(), h = rgb.height();
    IndexedImage out(w, h);
    out.setPalette(std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}});
    std::vector<int> error(static_cast<std::size_t>(w + 2) * 2, 0);
    for (int y = 0; y < h; ++y) {
        int* here = error.data() + (y % 2) * (w + 2) + 1;
        int* below = error.data() + ((y + 1) % 2) * (w + 2) + 1;
        std::fill(below - 1, below + w + 1, 0);
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int value = brightness(in[x]) + (dither ? here[x] / 16 : 0);
            const bool white = value >= 128;
            out.setIndex(x, y, white ? 1 : 0);
            if (dither) {
                const int e = value - (white ? 255 : 0);
                here[x + 1] += e * 7;
                below[x - 1] += e * 3;
                below[x] += e * 5;
                below[x + 1] += e;
            }
        }
    }
    return out;
}

int distance(QRgb a, QRgb b) {
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return r * r + g * g + bl * bl;
}

// At most `colours` (16 or 256) colours: exact when the picture has no more, else Qt's
// colour reduction to 256, and for 16 the most used of those with every pixel taking the
// nearest of them.
IndexedImage reduced(const QImage& image, int colours, bool dither) {
    if (auto exact = toIndexedImage(image, colours))
        return *std::move(exact);
    const QImage quantised = image.convertToFormat(
        QImage::Format_Indexed8, dither ? Qt::DiffuseDither : Qt::ThresholdDither);
    if (quantised.isNull())
        throw std::bad_alloc();
    if (colours >= 256) {
        if (auto fitted = toIndexedImage(quantised, 256))
            return *std::move(fitted);
        throw std::runtime_error("cannot reduce the picture's colours");
    }
    std::vector<std::pair<long long, int>> uses(static_cast<std::size_t>(quantised.colorCount()));
    for (std::size_t i = 0; i < uses.size(); ++i)
        uses[i] = {0, static_cast<int>(i)};
    for (int y = 0; y < quantised.height(); ++y) {
        const uchar* row = quantised.constScanLine(y);
        for (int x = 0; x < quantised.width(); ++x)
            --uses[row[x]].first; // most used first after sorting
    }
    std::sort(uses.begin(), uses.end());
    QList<QRgb> table;
    for (std::size_t i = 0; i < uses.size() && table.size() < colours && uses[i].first < 0; ++i)
        table.push_back(quantised.color(uses[i].second));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage nearest(rgb.size(), QImage::Format_Indexed8);
    nearest.setColorTable(table);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = nearest.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            int best = 0;
            for (int i = 1; i < table.size(); ++i) {
                if (distance(in[x], table[i]) < distance(in[x], table[best]))
                    best = i;
            }
            out[x] = static_cast<uchar>(best);
        }
    }
    return *toIndexedImage(nearest, colours);
}

// The picture as a file of `depth` stores it: palette form, or true colour (none).
// Depths 0 and 24 keep the picture's exact colours; a picture of at most 256 colours is
// stored as a palette picture then, which holds the same pixels.
std::optional<IndexedImage> storedForm(const QImage& picture, int depth, bool paletteOnly) {
    switch (depth) {
    case 1:
        return monochrome(picture, false);
    case 4:
        return reduced(picture, 16, false);
    case 8:
        return reduced(picture, 256, false);
    default:
        if (auto exact = toIndexedImage(picture, 256))
            return exact;
        if (!paletteOnly)
            return std::nullopt;
        return reduced(picture, 256, false);
    }
}

// --- Files ----------------------------------------------------------------------------

Status readWhole(const QString& file, QByteArray& bytes) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return failure(kCannotRead,
                       QStringLiteral("Cannot read %1: %2").arg(shown(file), f.errorString()));
    }
    // Bounded even where the size is unknown (a device, a pipe).
    bytes = f.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        return failure(kCannotRead,
                       QStringLiteral("Cannot read %1: the file is too large").arg(shown(file)));
    }
    if (f.error() != QFileDevice::NoError) {
        return failure(kCannotRead,
                       QStringLiteral("Cannot read %1: %2").arg(shown(file), f.errorString()));
    }
    return {};
}

// The format a file's first bytes announce, among the six.
const char* sniff(const QByteArray& b) {
    auto starts = [&](const char* sig, int n) {
        return b.size() >= n && std::equal(sig, sig + n, b.constData());
    };
    if (starts("\x89PNG\r\n\x1a\n", 8))
        return "PNG";
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return "GIF";
    if (starts("\xff\xd8\xff", 3))
        return "JPEG";
    if (starts("II*\0", 4) || starts("MM\0*", 4))
        return "TIFF";
    if (starts("BM", 2))
        return "BMP";
    if (looksLikePcx(b))
        return "PCX";
    return nullptr;
}

// Whether a TIFF file's first picture is a palette or black-and-white one (its
// PhotometricInterpretation tag is 0, 1 or 3 with at most 8 bits a sample).
bool tiffHasPalette(const QByteArray& b) {
    const bool little = b.startsWith("II");
    auto number = [&](qsizetype at, int bytes) -> long long {
        if (at < 0 || at + bytes > b.size())
            return -1;
        long long v = 0;
        for (int k = 0; k < bytes; ++k)
            v |= static_cast<long long>(static_cast<uchar>(b[at + (little ? k : bytes - 1 - k)]))
                 << (8 * k);
        return v;
    };
    const long long ifd = number(4, 4);
    const long long entries = number(ifd, 2);
    long long photometric = -1, bits = 1;
    for (long long e = 0; e < entries && e < 1000; ++e) {
        const qsizetype entry = static_cast<qsizetype>(ifd + 2 + 12 * e);
        const long long tag = number(entry, 2);
        if (tag == 262)
            photometric = number(entry + 8, 2);
        if (tag == 258 && number(entry + 4, 4) == 1)
            bits = number(entry + 8, 2);
    }
    return (photometric == 0 || photometric == 1 || photometric == 3) && bits <= 8;
}

// The file's picture as it is stored: Indexed8 for palette and black-and-white files,
// else RGB32. Null with `why` set when it cannot be read.
QImage decodeBytes(const QByteArray& bytes, const char* type, QString& why) {
    if (std::strcmp(type, "PCX") == 0)
        return readPcx(bytes, why);
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, QByteArray(type).toLower());
    reader.setAutoTransform(false);
    if (reader.size().width() > kMaxSide || reader.size().height() > kMaxSide) {
        why = QStringLiteral("the picture is too large");
        return {};
    }
    // Qt hands some palette files over in true colour (GIF, palette TIFF); what the file
    // stores decides.
    const auto isPalette = [](QImage::Format f) {
        return f == QImage::Format_Indexed8 || f == QImage::Format_Mono ||
               f == QImage::Format_MonoLSB;
    };
    const bool paletteFile = std::strcmp(type, "GIF") == 0 || isPalette(reader.imageFormat()) ||
                             (std::strcmp(type, "TIFF") == 0 && tiffHasPalette(bytes));
    QImage image = reader.read();
    if (image.isNull()) {
        why = reader.errorString();
        return {};
    }
    if (isPalette(image.format()))
        return image.convertToFormat(QImage::Format_Indexed8);
    if (paletteFile) {
        if (auto indexed = toIndexedImage(image))
            return toIndexedQImage(*indexed);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

Status readAs(const QString& file, const char* type, int depth, bool dither, QImage& out) {
    if (!validDepth(depth))
        return badDepth(depth);
    return guarded(QStringLiteral("Reading %1").arg(shown(file)), [&]() -> Status {
        QByteArray bytes;
        if (Status s = readWhole(file, bytes); !s.ok())
            return s;
        // Only the asked format is read, whatever else the file may be.
        const char* found = sniff(bytes);
        if (!found || std::strcmp(found, type) != 0) {
            return failure(kNotDecodable, QStringLiteral("%1 is not a %2 file")
                                              .arg(shown(file), QString::fromLatin1(type)));
        }
        QString why;
        const QImage image = decodeBytes(bytes, type, why);
        if (image.isNull()) {
            return failure(kNotDecodable,
                           QStringLiteral("%1 is not a readable %2 file (%3)")
                               .arg(shown(file), QString::fromLatin1(type), why));
        }
        switch (depth) {
        case 0:
            out = image;
            break;
        case 24:
            out = image.convertToFormat(QImage::Format_RGB32);
            break;
        case 1:
            out = toIndexedQImage(monochrome(image, dither));
            break;
        default:
            out = toIndexedQImage(reduced(image, depth == 4 ? 16 : 256, dither));
        }
        return {};
    });
}

const char* typeOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::BMP:
        return "BMP";
    case PictureFormat::JPEG:
        return "JPEG";
    case PictureFormat::GIF:
        return "GIF";
    case PictureFormat::PCX:
        return "PCX";
    case PictureFormat::PNG:
        return "PNG";
    case PictureFormat::TIFF:
        return "TIFF";
    case PictureFormat::Godot4Bit:
        break; // the GoDot writer's (export/godot_writer.h), not the library's
    }
    return "";
}

QByteArray toBytes(const std::vector<std::uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

// A true-colour picture through Qt's writer of the format.
Status encodeTrueColour(PictureFormat format, const QImage& picture, const WriteSettings& s,
                        QByteArray& out) {
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray(typeOf(format)).toLower());
    if (format == PictureFormat::JPEG)
        writer.setQuality(s.quality);
    if (format == PictureFormat::TIFF)
        writer.setCompression(s.compression == 1 ? 0 : 1); // none or LZW
    const bool grey = format == PictureFormat::JPEG && (s.depth == 1 || s.depth == 8);
    const QImage image = picture.convertToFormat(grey ? QImage::Format_Grayscale8
                                                      : QImage::Format_RGB888);
    if (!writer.write(image))
        return failure(kCannotEncode, writer.errorString());
    return {};
}

Status encodeIndexed(PictureFormat format, const IndexedImage& picture, const WriteSettings& s,
                     QByteArray& out) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    switch (format) {
    case PictureFormat::PNG:
        if (!PngEncoder({.interlaced = s.interlaced}).encode(picture, bytes))
            why = "not enough memory";
        break;
    case PictureFormat::GIF:
        why = encodeGif(picture, bytes);
        break;
    case PictureFormat::BMP:
        encodeBmp(picture, bytes);
        break;
    case PictureFormat::PCX:
        encodePcx(picture, bytes);
        break;
    case PictureFormat::TIFF:
        why = encodeTiff(picture, static_cast<TiffCompression>(s.compression), bytes);
        break;
    case PictureFormat::JPEG:
        why = JpegEncoder().encode(picture, s.quality, s.depth == 1 || s.depth == 8, bytes,
                                   s.smoothing);
        break;
    case PictureFormat::Godot4Bit:
        why = "GoDot 4Bit is written by its own writer";
        break;
    }
    if (!why.empty())
        return failure(kCannotEncode, QString::fromStdString(why));
    out = toBytes(bytes);
    return {};
}

Status writeAs(PictureFormat format, const QString& file, const WriteSettings& s,
               const QImage& picture) {
    QByteArray bytes;
    if (Status st = encode(format, picture, s, bytes); !st.ok())
        return st;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const WriteResult written = writeFileAtomically(std::filesystem::path(QFile::encodeName(file).toStdString()),
                                                    {data, static_cast<std::size_t>(bytes.size())});
    if (!written.written) {
        return failure(kCannotWrite,
                       QStringLiteral("Cannot write %1: %2")
                           .arg(shown(file), QString::fromLocal8Bit(written.error.c_str())));
    }
    return {};
}

Status transform(int displayDepth, QImage& picture, bool flipIt) {
    if (!validDepth(displayDepth))
        return badDepth(displayDepth);
    if (picture.isNull())
        return failure(kBadArgument, QStringLiteral("There is no picture"));
    return guarded(flipIt ? QStringLiteral("Flipping") : QStringLiteral("Rotating"),
                   [&]() -> Status {
                       QImage done = flipIt ? flippedTopToBottom(picture)
                                            : turnedAnticlockwise(picture);
                       if (done.isNull())
                           throw std::bad_alloc();
                       picture = std::move(done);
                       return {};
                   });
}

} // namespace

Status encode(PictureFormat format, const QImage& picture, const WriteSettings& s,
              QByteArray& out) {
    if (picture.isNull())
        return failure(kBadArgument, QStringLiteral("There is no picture"));
    if (!validDepth(s.depth))
        return badDepth(s.depth);
    if (format == PictureFormat::Godot4Bit)
        return failure(kBadArgument, QStringLiteral("GoDot 4Bit is written by its own writer"));
    if (format == PictureFormat::JPEG && (s.quality < 1 || s.quality > 100)) {
        return failure(kBadArgument,
                       QStringLiteral("JPEG quality %1 is not 1 to 100").arg(s.quality));
    }
    if (format == PictureFormat::JPEG && (s.smoothing < 0 || s.smoothing > 100)) {
        return failure(kBadArgument,
                       QStringLiteral("JPEG smoothing %1 is not 0 to 100").arg(s.smoothing));
    }
    if (format == PictureFormat::TIFF && s.compression != 1 && s.compression != 2 &&
        s.compression != 5 && s.compression != 32773) {
        return failure(
            kBadArgument,
            QStringLiteral("TIFF compression %1 is none of 1, 2, 5 and 32773").arg(s.compression));
    }
    return guarded(QStringLiteral("Writing %1").arg(QString::fromLatin1(typeOf(format))),
                   [&]() -> Status {
                       std::optional<IndexedImage> palette;
                       if (format == PictureFormat::JPEG) {
                           palette = toIndexedImage(picture, 256);
                       } else {
                           // TIFF's compression 2 codes only black and white.
                           const bool fax =
                               format == PictureFormat::TIFF && s.compression == 2;
                           palette = storedForm(picture, fax ? 1 : s.depth,
                                                format == PictureFormat::GIF ||
                                                    format == PictureFormat::PCX);
                       }
                       return palette ? encodeIndexed(format, *palette, s, out)
                                      : encodeTrueColour(format, picture, s, out);
                   });
}

Status imageInfo(const QString& file, ImageInfo& info) {
    return guarded(QStringLiteral("Reading %1").arg(shown(file)), [&]() -> Status {
        QByteArray bytes;
        if (Status s = readWhole(file, bytes); !s.ok())
            return s;
        const char* type = sniff(bytes);
        if (!type) {
            return failure(kNotDecodable,
                           QStringLiteral("%1 is not a BMP, JPEG, PNG, GIF, TIFF or PCX file")
                               .arg(shown(file)));
        }
        QString why;
        const QImage image = decodeBytes(bytes, type, why);
        if (image.isNull()) {
            return failure(kNotDecodable,
                           QStringLiteral("%1 holds no readable picture").arg(shown(file)));
        }
        auto clamp16 = [](long long v) {
            return static_cast<std::int16_t>(std::clamp<long long>(v, 0, 32767));
        };
        const bool palette = image.format() == QImage::Format_Indexed8;
        int pages = 1;
        if (std::strcmp(type, "PCX") != 0) {
            QBuffer buffer;
            buffer.setData(bytes);
            QImageReader reader(&buffer, QByteArray(type).toLower());
            pages = std::max(1, reader.imageCount());
        }
        static const QHash<QString, QString> descriptions = {
            {"BMP", "Microsoft Windows bitmap"},     {"JPEG", "Joint Photographic Experts Group"},
            {"GIF", "CompuServe graphics interchange"}, {"PCX", "ZSoft IBM PC Paintbrush"},
            {"PNG", "Portable Network Graphics"},    {"TIFF", "Tagged Image File Format"}};
        info.type = QString::fromLatin1(type);
        info.width = clamp16(image.width());
        info.height = clamp16(image.height());
        int bits = 8;
        for (const int b : {1, 2, 4, 8}) {
            if ((1 << b) >= image.colorCount()) {
                bits = b;
                break;
            }
        }
        info.depth = static_cast<std::int16_t>(palette ? bits : image.hasAlphaChannel() ? 32 : 24);
        info.colours = palette ? clamp16(image.colorCount()) : 0;
        info.pages = clamp16(pages);
        info.format = descriptions.value(info.type, info.type);
        return {};
    });
}

Status readBMP(const QString& f, int depth, bool dither, QImage& out) {
    return readAs(f, "BMP", depth, dither, out);
}
Status readJPEG(const QString& f, int depth, bool dither, QImage& out) {
    return readAs(f, "JPEG", depth, dither, out);
}
Status readGIF(const QString& f, int depth, bool dither, QImage& out) {
    return readAs(f, "GIF", depth, dither, out);
}
Status readPCX(const QString& f, int depth, bool dither, QImage& out) {
    return readAs(f, "PCX", depth, dither, out);
}
Status readPNG(const QString& f, int depth, bool dither, QImage& out) {
    return readAs(f, "PNG", depth, dither, out);
}
Status readTIFF(const QString& f, int depth, bool dither, QImage& out) {
    return readAs(f, "TIFF", depth, dither, out);
}

Status writeBMP(const QString& file, int depth, const QImage& image) {
    return writeAs(PictureFormat::BMP, file, {.depth = depth}, image);
}
Status writeJPEG(const QString& file, int quality, int smoothing, int depth, const QImage& image) {
    return writeAs(PictureFormat::JPEG, file,
                   {.depth = depth, .quality = quality, .smoothing = smoothing}, image);
}
Status writeGIF(const QString& file, int depth, const QImage& image) {
    return writeAs(PictureFormat::GIF, file, {.depth = depth}, image);
}
Status writePCX(const QString& file, int depth, const QImage& image) {
    return writeAs(PictureFormat::PCX, file, {.depth = depth}, image);
}
Status writePNG(const QString& file, int depth, bool interlaced, const QImage& image) {
    return writeAs(PictureFormat::PNG, file, {.depth = depth, .interlaced = interlaced}, image);
}
Status writeTIFF(const QString& file, int compression, int depth, const QImage& image) {
    return writeAs(PictureFormat::TIFF, file, {.depth = depth, .compression = compression}, image);
}

Status flip(int displayDepth, QImage& image) {
    return transform(displayDepth, image, true);
}
Status rotate(int displayDepth, QImage& image) {
    return transform(displayDepth, image, false);
}

} // namespace quendra::imagelib
