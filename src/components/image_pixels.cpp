#include "components/image_pixels.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "export/used_colours.h"

namespace quendra::imagelib::detail {

namespace {

// Rec. 601 brightness, 0..255.
int brightness(QRgb c) {
    return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c) + 500) / 1000;
}

} // namespace

int bitsForColours(std::size_t colours) {
    return quendra::bitsForColours(colours); // the writers' rule
}

std::optional<Palettised> palettise(const QImage& image, int maxColours) {
    Palettised p;
    p.width = image.width();
    p.height = image.height();
    p.indices.resize(static_cast<std::size_t>(p.width) * p.height);
    const auto limit = static_cast<std::size_t>(std::clamp(maxColours, 1, 256));

    if (image.format() == QImage::Format_Indexed8) {
        const QList<QRgb> table = image.colorTable();
        // Which table entries the pixels use; entries beyond the table read as black.
        std::array<bool, 256> used{};
        for (int y = 0; y < p.height; ++y) {
            const uchar* row = image.constScanLine(y);
            for (int x = 0; x < p.width; ++x)
                used[row[x]] = true;
        }
        std::array<std::uint8_t, 256> slot{};
        std::unordered_map<QRgb, std::uint8_t> seen;
        for (int i = 0; i < 256; ++i) {
            if (!used[i])
                continue;
            const QRgb c = (i < table.size() ? table[i] : 0) | 0xff000000u;
            const auto [it, fresh] = seen.try_emplace(c, static_cast<std::uint8_t>(seen.size()));
            if (fresh) {
                if (p.colours.size() == limit)
                    return std::nullopt;
                p.colours.push_back(c);
            }
            slot[i] = it->second;
        }
        for (int y = 0; y < p.height; ++y) {
            const uchar* row = image.constScanLine(y);
            std::uint8_t* out = p.indices.data() + static_cast<std::size_t>(y) * p.width;
            for (int x = 0; x < p.width; ++x)
                out[x] = slot[row[x]];
        }
        return p;
    }

    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::unordered_map<QRgb, std::uint8_t> seen;
    QRgb last = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < p.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* out = p.indices.data() + static_cast<std::size_t>(y) * p.width;
        for (int x = 0; x < p.width; ++x) {
            const QRgb c = row[x] | 0xff000000u;
            if (!haveLast || c != last) {
                const auto [it, fresh] =
                    seen.try_emplace(c, static_cast<std::uint8_t>(seen.size()));
                if (fresh) {
                    if (p.colours.size() == limit)
                        return std::nullopt;
                    p.colours.push_back(c);
                }
                last = c;
                lastIndex = it->second;
                haveLast = true;
            }
            out[x] = lastIndex;
        }
    }
    return p;
}

Palettised monochrome(const QImage& image, bool dither) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Palettised p;
    p.width = rgb.width();
    p.height = rgb.height();
    p.colours = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    p.indices.resize(static_cast<std::size_t>(p.width) * p.height);
    // Error of the current and the next line, with a spare entry on each side.
    std::vector<int> errNow(p.width + 2, 0), errNext(p.width + 2, 0);
    for (int y = 0; y < p.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* out = p.indices.data() + static_cast<std::size_t>(y) * p.width;
        for (int x = 0; x < p.width; ++x) {
            const int want = brightness(row[x]) + (dither ? errNow[x + 1] / 16 : 0);
            const bool white = want >= 128;
            out[x] = white ? 1 : 0;
            if (dither) {
                const int err = want - (white ? 255 : 0);
                errNow[x + 2] += 7 * err;
                errNext[x] += 3 * err;
                errNext[x + 1] += 5 * err;
                errNext[x + 2] += err;
            }
        }
        std::swap(errNow, errNext);
        std::fill(errNext.begin(), errNext.end(), 0);
    }
    return p;
}

QImage toIndexedImage(const Palettised& p) {
    QImage out(p.width, p.height, QImage::Format_Indexed8);
    out.setColorTable(QList<QRgb>(p.colours.begin(), p.colours.end()));
    for (int y = 0; y < p.height; ++y) {
        std::copy_n(p.indices.data() + static_cast<std::size_t>(y) * p.width, p.width,
                    out.scanLine(y));
    }
    return out;
}

QImage smoothed(const QImage& image, int factor) {
    const QImage in = image.convertToFormat(QImage::Format_RGB32);
    if (factor <= 0 || in.isNull())
        return in;
    const int w = in.width(), h = in.height();
    const int neighbour = std::min(factor, 100); // weight of each neighbour, in 1024ths
    const int centre = 1024 - 8 * neighbour;
    QImage out(w, h, QImage::Format_RGB32);
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return reinterpret_cast<const QRgb*>(in.constScanLine(y))[x];
    };
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRgb c = at(x + dx, y + dy);
                    const int weight = (dx == 0 && dy == 0) ? centre : neighbour;
                    sum[0] += weight * qRed(c);
                    sum[1] += weight * qGreen(c);
                    sum[2] += weight * qBlue(c);
                }
            }
            row[x] = qRgb((sum[0] + 512) / 1024, (sum[1] + 512) / 1024, (sum[2] + 512) / 1024);
        }
    }
    return out;
}

} // namespace quendra::imagelib::detail
