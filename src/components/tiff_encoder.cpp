#include "components/tiff_encoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quendra::imagelib::detail {

namespace {

// The file grows in memory; libtiff seeks back to patch its directory offsets.
struct MemoryFile {
    std::vector<char> bytes;
    toff_t position = 0;
    QString error; // the first message libtiff gave
};

tmsize_t readProc(thandle_t h, void* buf, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (f->position >= f->bytes.size())
        return 0;
    const auto n = std::min<toff_t>(static_cast<toff_t>(size), f->bytes.size() - f->position);
    std::memcpy(buf, f->bytes.data() + f->position, n);
    f->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t h, void* buf, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    const auto end = f->position + static_cast<toff_t>(size);
    if (end > f->bytes.size())
        f->bytes.resize(end);
    std::memcpy(f->bytes.data() + f->position, buf, static_cast<std::size_t>(size));
    f->position = end;
    return size;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = f->position;
    if (whence == SEEK_END)
        base = f->bytes.size();
    f->position = base + offset;
    return f->position;
}

int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t h) {
    return static_cast<MemoryFile*>(h)->bytes.size();
}
int mapProc(thandle_t, void**, toff_t*) {
    return 0;
}
void unmapProc(thandle_t, void*, toff_t) {}

int errorHandler(TIFF*, void* user, const char* module, const char* fmt, va_list ap) {
    auto* f = static_cast<MemoryFile*>(user);
    if (f->error.isEmpty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, fmt, ap);
        f->error = QString::fromUtf8(module ? module : "TIFF") + ": " + QString::fromUtf8(text);
    }
    return 1; // handled: the process-wide handler stays silent
}

int warningHandler(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

bool validCompression(int compression) {
    return compression == COMPRESSION_NONE || compression == COMPRESSION_CCITTRLE ||
           compression == COMPRESSION_LZW || compression == COMPRESSION_PACKBITS;
}

// Opens, lets `fill` set the tags and write the rows, closes, and hands out the bytes.
template <typename Fill> bool encode(int compression, QByteArray& out, QString& error, Fill fill) {
    if (!validCompression(compression)) {
        error = QStringLiteral("TIFF compression %1 is none of 1, 2, 5 and 32773").arg(compression);
        return false;
    }
    MemoryFile file;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, errorHandler, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, warningHandler, &file);
    TIFF* tif = TIFFClientOpenExt("memory", "w", &file, readProc, writeProc, seekProc, closeProc,
                                  sizeProc, mapProc, unmapProc, options);
    TIFFOpenOptionsFree(options);
    if (!tif) {
        error = file.error.isEmpty() ? QStringLiteral("TIFF: cannot start the file") : file.error;
        return false;
    }
    const bool filled = fill(tif);
    TIFFClose(tif);
    if (!filled || !file.error.isEmpty()) {
        error =
            file.error.isEmpty() ? QStringLiteral("TIFF: cannot write the picture") : file.error;
        return false;
    }
    out = QByteArray(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
    return true;
}

void commonTags(TIFF* tif, int width, int height, int compression) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, static_cast<uint16_t>(compression));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 72.0f);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 72.0f);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
}

} // namespace

bool encodeTiff(const Palettised& p, int compression, QByteArray& out, QString& error) {
    // Black and white only: a bilevel picture, 0 black and 1 white.
    const bool bilevel = std::all_of(p.colours.begin(), p.colours.end(), [](QRgb c) {
        return c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255);
    });
    if (compression == COMPRESSION_CCITTRLE && !bilevel) {
        error = QStringLiteral("TIFF compression 2 codes black and white pictures only");
        return false;
    }
    // Palette pictures have 4 or 8 bits per sample.
    const int bits = bilevel ? 1 : p.colours.size() <= 16 ? 4 : 8;
    std::vector<uint8_t> value(p.colours.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        value[i] =
            bilevel ? (p.colours[i] == qRgb(255, 255, 255) ? 1 : 0) : static_cast<uint8_t>(i);
    }
    return encode(compression, out, error, [&](TIFF* tif) {
        commonTags(tif, p.width, p.height, compression);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
        if (bilevel) {
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        } else {
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
            std::vector<uint16_t> r(1u << bits, 0), g(1u << bits, 0), b(1u << bits, 0);
            for (std::size_t i = 0; i < p.colours.size(); ++i) {
                r[i] = static_cast<uint16_t>(qRed(p.colours[i]) * 257);
                g[i] = static_cast<uint16_t>(qGreen(p.colours[i]) * 257);
                b[i] = static_cast<uint16_t>(qBlue(p.colours[i]) * 257);
            }
            TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
        }
        std::vector<uint8_t> line(static_cast<std::size_t>(TIFFScanlineSize(tif)));
        const int perByte = 8 / bits;
        for (int y = 0; y < p.height; ++y) {
            std::fill(line.begin(), line.end(), 0);
            const std::uint8_t* in = p.indices.data() + static_cast<std::size_t>(y) * p.width;
            for (int x = 0; x < p.width; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                line[x / perByte] |= static_cast<uint8_t>(value[in[x]] << shift);
            }
            if (TIFFWriteScanline(tif, line.data(), static_cast<uint32_t>(y), 0) < 0)
                return false;
        }
        return true;
    });
}

bool encodeTiff(const QImage& image, int compression, QByteArray& out, QString& error) {
    if (compression == COMPRESSION_CCITTRLE) {
        error = QStringLiteral("TIFF compression 2 codes black and white pictures only");
        return false;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return encode(compression, out, error, [&](TIFF* tif) {
        commonTags(tif, rgb.width(), rgb.height(), compression);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        std::vector<uint8_t> line(static_cast<std::size_t>(rgb.width()) * 3);
        for (int y = 0; y < rgb.height(); ++y) {
            std::copy_n(rgb.constScanLine(y), line.size(), line.data());
            if (TIFFWriteScanline(tif, line.data(), static_cast<uint32_t>(y), 0) < 0)
                return false;
        }
        return true;
    });
}

} // namespace quendra::imagelib::detail
