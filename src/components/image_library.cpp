// The image library on GraphicsMagick. Pictures cross over in one of two forms: palette
// form (exact colours plus indices, built straight into a GraphicsMagick colour map so no
// quantising can touch them) or true colour. Files are read from and written to memory;
// the bytes reach the disk through the atomic file write.
#include "components/image_library.h"

#include <Magick++.h>

#include <QFile>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <optional>

#include "components/dialogs.h"
#include "components/image_pixels.h"
#include "components/tiff_encoder.h"
#include "export/atomic_write.h"

namespace quendra::imagelib {

namespace {

using detail::Palettised;
using MagickLib::Quantum; // for the library's scaling macros

constexpr qint64 kMaxFileBytes = 256 << 20;
constexpr int kMaxSide = 32767;
constexpr long long kMaxPixels = 1LL << 28;

void initialise() {
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        // The callers run files in parallel themselves; one thread per picture is enough.
        MagickLib::SetMagickResourceLimit(MagickLib::ThreadsResource, 1);
        MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, kMaxSide);
        MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, kMaxSide);
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, kMaxPixels);
    });
}

Status failure(StatusCode code, const QString& message) {
    return {code, message};
}

// Runs an operation with the library initialised; nothing thrown gets out.
template <typename Operation> Status guarded(const QString& what, Operation operation) {
    try {
        initialise();
        return operation();
    } catch (const Magick::Exception& e) {
        return failure(kFailed, what + ": " + QString::fromLocal8Bit(e.what()));
    } catch (const std::bad_alloc&) {
        return failure(kFailed, what + ": not enough memory");
    } catch (const std::exception& e) {
        return failure(kFailed, what + ": " + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return failure(kFailed, what + ": unexpected error");
    }
}

bool validDepth(int depth) {
    return depth == 0 || depth == 1 || depth == 4 || depth == 8 || depth == 24;
}

Status badDepth(int depth) {
    return failure(kBadArgument,
                   QStringLiteral("colour depth %1 is none of 0, 1, 4, 8 and 24").arg(depth));
}

// --- Between QImage and GraphicsMagick -------------------------------------------------

Magick::Image fromPalettised(const Palettised& p) {
    MagickLib::ImageInfo* info = MagickLib::CloneImageInfo(nullptr);
    MagickLib::Image* raw = info ? MagickLib::AllocateImage(info) : nullptr;
    MagickLib::DestroyImageInfo(info);
    if (!raw)
        throw std::bad_alloc();
    Magick::Image image(raw); // owns `raw` from here on
    raw->columns = static_cast<unsigned long>(p.width);
    raw->rows = static_cast<unsigned long>(p.height);
    if (!MagickLib::AllocateImageColormap(raw, p.colours.size()))
        throw std::bad_alloc();
    for (std::size_t i = 0; i < p.colours.size(); ++i) {
        MagickLib::PixelPacket& c = raw->colormap[i];
        c.red = ScaleCharToQuantum(qRed(p.colours[i]));
        c.green = ScaleCharToQuantum(qGreen(p.colours[i]));
        c.blue = ScaleCharToQuantum(qBlue(p.colours[i]));
        c.opacity = OpaqueOpacity;
    }
    for (int y = 0; y < p.height; ++y) {
        MagickLib::PixelPacket* q =
            MagickLib::SetImagePixels(raw, 0, y, static_cast<unsigned long>(p.width), 1);
        MagickLib::IndexPacket* indexes = q ? MagickLib::AccessMutableIndexes(raw) : nullptr;
        if (!indexes)
            throw std::runtime_error("cannot set the picture's pixels");
        const std::uint8_t* in = p.indices.data() + static_cast<std::size_t>(y) * p.width;
        for (int x = 0; x < p.width; ++x) {
            indexes[x] = in[x];
            q[x] = raw->colormap[in[x]];
        }
        if (!MagickLib::SyncImagePixels(raw))
            throw std::runtime_error("cannot set the picture's pixels");
    }
    return image;
}

Magick::Image fromTrueColour(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> tight(static_cast<std::size_t>(rgb.width()) * rgb.height() * 3);
    const std::size_t line = static_cast<std::size_t>(rgb.width()) * 3;
    for (int y = 0; y < rgb.height(); ++y) {
        std::copy_n(rgb.constScanLine(y), line, tight.data() + y * line);
    }
    Magick::Image image;
    image.read(static_cast<unsigned>(rgb.width()), static_cast<unsigned>(rgb.height()), "RGB",
               Magick::CharPixel, tight.data());
    return image;
}

// A palette image comes out indexed when `keepIndexed` is set; everything else as RGB32.
QImage toQImage(Magick::Image& image, bool keepIndexed) {
    const int w = static_cast<int>(image.columns()), h = static_cast<int>(image.rows());
    const MagickLib::Image* raw = image.constImage();
    if (keepIndexed && raw->storage_class == MagickLib::PseudoClass && raw->colors >= 1 &&
        raw->colors <= 256) {
        QImage out(w, h, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (unsigned long i = 0; i < raw->colors; ++i) {
            const MagickLib::PixelPacket& c = raw->colormap[i];
            table.push_back(qRgb(ScaleQuantumToChar(c.red), ScaleQuantumToChar(c.green),
                                 ScaleQuantumToChar(c.blue)));
        }
        out.setColorTable(table);
        for (int y = 0; y < h; ++y) {
            image.getConstPixels(0, y, static_cast<unsigned>(w), 1);
            const MagickLib::IndexPacket* indexes = image.getConstIndexes();
            if (!indexes)
                throw std::runtime_error("cannot get the picture's pixels");
            uchar* row = out.scanLine(y);
            for (int x = 0; x < w; ++x) {
                row[x] = static_cast<uchar>(indexes[x] < raw->colors ? indexes[x] : 0);
            }
        }
        return out;
    }
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3);
    image.write(0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), "RGB", Magick::CharPixel,
                rgb.data());
    QImage out(w, h, QImage::Format_RGB32);
    const unsigned char* p = rgb.data();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x, p += 3)
            row[x] = qRgb(p[0], p[1], p[2]);
    }
    return out;
}

// At most `colours` colours: exact when the picture has no more, else GraphicsMagick's
// nearest colours.
Palettised reduced(const QImage& picture, int colours, bool dither) {
    if (auto exact = detail::palettise(picture, colours))
        return *exact;
    Magick::Image image = fromTrueColour(picture);
    image.quantizeColors(static_cast<unsigned>(colours));
    image.quantizeDither(dither);
    image.quantize();
    if (auto fitted = detail::palettise(toQImage(image, true), colours))
        return *fitted;
    throw std::runtime_error("cannot reduce the picture's colours");
}

// The picture as a file of `depth` stores it: palette form, or true colour (nullopt).
std::optional<Palettised> storedForm(const QImage& picture, int depth, bool paletteOnly) {
    switch (depth) {
    case 1:
        return detail::monochrome(picture, false);
    case 4:
        return reduced(picture, 16, false);
    case 8:
        return reduced(picture, 256, false);
    case 24:
        if (!paletteOnly)
            return std::nullopt;
        return reduced(picture, 256, false);
    default: // 0: as the picture is
        if (auto exact = detail::palettise(picture, 256))
            return exact;
        if (!paletteOnly)
            return std::nullopt;
        return reduced(picture, 256, false);
    }
}

// --- Files ----------------------------------------------------------------------------

std::filesystem::path localPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

Status readWhole(const QString& file, QByteArray& bytes) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return failure(kCannotRead, QStringLiteral("Cannot read %1: %2")
                                        .arg(dialogs::printableFileName(file), f.errorString()));
    }
    // Bounded even where the size is unknown (a device, a pipe).
    bytes = f.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        return failure(kCannotRead, QStringLiteral("Cannot read %1: the file is too large")
                                        .arg(dialogs::printableFileName(file)));
    }
    if (f.error() != QFileDevice::NoError) {
        return failure(kCannotRead, QStringLiteral("Cannot read %1: %2")
                                        .arg(dialogs::printableFileName(file), f.errorString()));
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
    if (b.size() >= 128 && b[0] == 0x0A && b[2] == 1)
        return "PCX";
    return nullptr;
}

Status readAs(const QString& file, const char* magick, int depth, bool dither, QImage& out) {
    if (!validDepth(depth))
        return badDepth(depth);
    const QString what = QStringLiteral("Reading %1").arg(dialogs::printableFileName(file));
    return guarded(what, [&]() -> Status {
        QByteArray bytes;
        if (Status s = readWhole(file, bytes); !s.ok())
            return s;
        // The library would take any format it recognises; only the asked one is read.
        const char* found = sniff(bytes);
        if (!found || std::strcmp(found, magick) != 0) {
            return failure(kNotDecodable,
                           QStringLiteral("%1 is not a %2 file")
                               .arg(dialogs::printableFileName(file), QString::fromLatin1(magick)));
        }
        Magick::Image image;
        image.quiet(true);
        try {
            image.magick(magick);
            image.read(Magick::Blob(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        } catch (const Magick::Exception& e) {
            return failure(kNotDecodable,
                           QStringLiteral("%1 is not a readable %2 file (%3)")
                               .arg(dialogs::printableFileName(file), QString::fromLatin1(magick),
                                    QString::fromLocal8Bit(e.what())));
        }
        if (image.columns() == 0 || image.rows() == 0) {
            return failure(
                kNotDecodable,
                QStringLiteral("%1 holds no picture").arg(dialogs::printableFileName(file)));
        }
        switch (depth) {
        case 0:
            out = toQImage(image, true);
            break;
        case 24:
            out = toQImage(image, false);
            break;
        case 1:
            out = detail::toIndexedImage(detail::monochrome(toQImage(image, false), dither));
            break;
        default:
            out = detail::toIndexedImage(
                reduced(toQImage(image, true), depth == 4 ? 16 : 256, dither));
        }
        return {};
    });
}

const char* magickOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::BMP:
        return "BMP3"; // the Windows 3 layout every reader knows
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

QByteArray fromBlob(const Magick::Blob& blob) {
    return QByteArray(static_cast<const char*>(blob.data()), static_cast<qsizetype>(blob.length()));
}

Status encodeJpeg(const QImage& picture, const WriteSettings& s, QByteArray& out) {
    Magick::Image image = fromTrueColour(detail::smoothed(picture, s.smoothing));
    image.quiet(true); // warnings are no failures
    if (s.depth == 1 || s.depth == 8)
        image.type(Magick::GrayscaleType);
    image.quality(static_cast<unsigned>(s.quality));
    Magick::Blob blob;
    image.write(&blob, "JPEG");
    out = fromBlob(blob);
    return {};
}

Status encodeLossless(PictureFormat format, const QImage& picture, const WriteSettings& s,
                      QByteArray& out) {
    // TIFF's compression 2 codes only black and white.
    const int depth = (format == PictureFormat::TIFF && s.compression == 2) ? 1 : s.depth;
    const std::optional<Palettised> palette =
        storedForm(picture, depth, format == PictureFormat::GIF);
    if (format == PictureFormat::TIFF) {
        QString error;
        const bool ok = palette ? detail::encodeTiff(*palette, s.compression, out, error)
                                : detail::encodeTiff(picture, s.compression, out, error);
        return ok ? Status{} : failure(kCannotEncode, error);
    }
    Magick::Image image = palette ? fromPalettised(*palette) : fromTrueColour(picture);
    image.quiet(true); // warnings are no failures
    if (format == PictureFormat::PNG && s.interlaced)
        image.interlaceType(Magick::LineInterlace);
    Magick::Blob blob;
    image.write(&blob, magickOf(format));
    out = fromBlob(blob);
    return {};
}

Status writeAs(PictureFormat format, const QString& file, const WriteSettings& s,
               const QImage& picture) {
    QByteArray bytes;
    if (Status st = encode(format, picture, s, bytes); !st.ok())
        return st;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const WriteResult written =
        writeFileAtomically(localPath(file), {data, static_cast<std::size_t>(bytes.size())});
    if (!written.written) {
        return failure(kCannotWrite, QStringLiteral("Cannot write %1: %2")
                                         .arg(dialogs::printableFileName(file),
                                              QString::fromLocal8Bit(written.error.c_str())));
    }
    return {};
}

Status transform(int displayDepth, QImage& picture, bool flipIt) {
    if (!validDepth(displayDepth))
        return badDepth(displayDepth);
    if (picture.isNull())
        return failure(kBadArgument, QStringLiteral("There is no picture"));
    return guarded(
        flipIt ? QStringLiteral("Flipping") : QStringLiteral("Rotating"), [&]() -> Status {
            const std::optional<Palettised> palette = detail::palettise(picture, 256);
            Magick::Image image = palette ? fromPalettised(*palette) : fromTrueColour(picture);
            if (flipIt) {
                image.flip(); // top to bottom
            } else {
                image.rotate(-90); // negative angles turn counter-clockwise
            }
            // An indexed picture stays indexed with its colours; any other comes back as RGB32.
            picture = toQImage(image, palette && picture.format() == QImage::Format_Indexed8);
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
    return guarded(
        QStringLiteral("Writing %1").arg(QString::fromLatin1(magickOf(format))), [&]() -> Status {
            return format == PictureFormat::JPEG ? encodeJpeg(picture, s, out)
                                                 : encodeLossless(format, picture, s, out);
        });
}

Status imageInfo(const QString& file, ImageInfo& info) {
    return guarded(
        QStringLiteral("Reading %1").arg(dialogs::printableFileName(file)), [&]() -> Status {
            QByteArray bytes;
            if (Status s = readWhole(file, bytes); !s.ok())
                return s;
            const char* magick = sniff(bytes);
            if (!magick) {
                return failure(kNotDecodable,
                               QStringLiteral("%1 is not a BMP, JPEG, PNG, GIF, TIFF or PCX file")
                                   .arg(dialogs::printableFileName(file)));
            }
            using InfoPtr =
                std::unique_ptr<MagickLib::ImageInfo, decltype(&MagickLib::DestroyImageInfo)>;
            using ListPtr =
                std::unique_ptr<MagickLib::Image, decltype(&MagickLib::DestroyImageList)>;
            InfoPtr request(MagickLib::CloneImageInfo(nullptr), MagickLib::DestroyImageInfo);
            std::snprintf(request->filename, MaxTextExtent, "%s:", magick); // no guessing
            MagickLib::ExceptionInfo exception;
            MagickLib::GetExceptionInfo(&exception);
            ListPtr list(MagickLib::PingBlob(request.get(), bytes.constData(),
                                             static_cast<std::size_t>(bytes.size()), &exception),
                         MagickLib::DestroyImageList);
            const MagickLib::MagickInfo* coder = MagickLib::GetMagickInfo(magick, &exception);
            MagickLib::DestroyExceptionInfo(&exception);
            if (!list || list->columns == 0 || list->rows == 0) {
                return failure(kNotDecodable, QStringLiteral("%1 holds no readable picture")
                                                  .arg(dialogs::printableFileName(file)));
            }
            auto clamp16 = [](unsigned long v) {
                return static_cast<std::int16_t>(std::min<unsigned long>(v, 32767));
            };
            info.type = QString::fromLatin1(magick);
            if (info.type == "BMP3")
                info.type = "BMP";
            info.width = clamp16(list->columns);
            info.height = clamp16(list->rows);
            const bool palette = list->storage_class == MagickLib::PseudoClass && list->colors > 0;
            info.depth = static_cast<std::int16_t>(palette ? detail::bitsForColours(list->colors)
                                                           : (list->matte ? 32 : 24));
            info.colours = palette ? clamp16(list->colors) : 0;
            info.pages = clamp16(MagickLib::GetImageListLength(list.get()));
            info.format =
                coder && coder->description ? QString::fromLatin1(coder->description) : info.type;
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
