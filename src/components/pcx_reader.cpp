#include "components/pcx_reader.h"

#include <vector>

namespace quendra {

namespace {

constexpr int kHeaderSize = 128;
constexpr int kMaxSide = 32767;

int u8(const QByteArray& b, int at) {
    return static_cast<uchar>(b[at]);
}
int u16le(const QByteArray& b, int at) {
    return u8(b, at) | u8(b, at + 1) << 8;
}

// The run-length coded data from the header on, unpacked to `lines` lines of `lineBytes`;
// false when the file ends first.
bool unpack(const QByteArray& file, qsizetype lineBytes, int lines, std::vector<uchar>& out) {
    const std::size_t total = static_cast<std::size_t>(lineBytes) * lines;
    out.clear();
    out.reserve(total);
    qsizetype p = kHeaderSize;
    while (out.size() < total) {
        if (p >= file.size())
            return false;
        const uchar c = static_cast<uchar>(file[p++]);
        if ((c & 0xC0) == 0xC0) {
            if (p >= file.size())
                return false;
            const std::size_t run = std::min<std::size_t>(c & 0x3F, total - out.size());
            out.insert(out.end(), run, static_cast<uchar>(file[p++]));
        } else {
            out.push_back(c);
        }
    }
    return true;
}

} // namespace

bool looksLikePcx(const QByteArray& b) {
    return b.size() >= kHeaderSize && b[0] == 0x0A && b[2] == 1;
}

QImage readPcx(const QByteArray& b, QString& error) {
    if (!looksLikePcx(b)) {
        error = QStringLiteral("not a PCX file");
        return {};
    }
    const int bits = u8(b, 3), planes = u8(b, 65);
    const int width = u16le(b, 8) - u16le(b, 4) + 1;
    const int height = u16le(b, 10) - u16le(b, 6) + 1;
    const int lineBytes = u16le(b, 66); // per plane
    const bool kinds = (planes == 1 && (bits == 1 || bits == 8)) || (planes == 4 && bits == 1) ||
                       (planes == 3 && bits == 8);
    if (!kinds) {
        error = QStringLiteral("a PCX file of %1 planes of %2 bits is not read").arg(planes).arg(bits);
        return {};
    }
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<long long>(lineBytes) * 8 < static_cast<long long>(width) * bits) {
        error = QStringLiteral("the PCX header gives an impossible size");
        return {};
    }
    std::vector<uchar> data;
    if (!unpack(b, static_cast<qsizetype>(lineBytes) * planes, height, data)) {
        error = QStringLiteral("the PCX file ends before its picture");
        return {};
    }
    const std::size_t stride = static_cast<std::size_t>(lineBytes) * planes;
    if (planes == 3) {
        QImage out(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            const uchar* line = data.data() + stride * y;
            auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < width; ++x)
                row[x] = qRgb(line[x], line[lineBytes + x], line[2 * lineBytes + x]);
        }
        return out;
    }
    QImage out(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    if (bits == 8) {
        // The 256-colour palette: 768 bytes after a 12 at the end of the file.
        if (b.size() < kHeaderSize + 769 || b[b.size() - 769] != 12) {
            error = QStringLiteral("the PCX file lacks its palette");
            return {};
        }
        const qsizetype at = b.size() - 768;
        for (int i = 0; i < 256; ++i)
            table.push_back(qRgb(u8(b, at + 3 * i), u8(b, at + 3 * i + 1), u8(b, at + 3 * i + 2)));
    } else if (planes == 4) {
        for (int i = 0; i < 16; ++i)
            table.push_back(qRgb(u8(b, 16 + 3 * i), u8(b, 17 + 3 * i), u8(b, 18 + 3 * i)));
    } else {
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    }
    out.setColorTable(table);
    for (int y = 0; y < height; ++y) {
        const uchar* line = data.data() + stride * y;
        uchar* row = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (bits == 8) {
                row[x] = line[x];
                continue;
            }
            int index = 0;
            for (int plane = 0; plane < planes; ++plane) {
                const uchar byte = line[plane * lineBytes + x / 8];
                index |= ((byte >> (7 - x % 8)) & 1) << plane;
            }
            row[x] = static_cast<uchar>(index);
        }
    }
    return out;
}

} // namespace quendra
