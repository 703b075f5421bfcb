#include "export/palette_match.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

namespace quendra {

namespace {

struct ShippedPalette {
    const char* name;
    const char* vpl;
};

constexpr ShippedPalette kShipped[] = {
#include "shipped_palettes.inc"
};

int squaredDistance(Rgb x, Rgb y) {
    const int dr = x.r - y.r, dg = x.g - y.g, db = x.b - y.b;
    return dr * dr + dg * dg + db * db;
}

int nearestColour(Rgb c, const C64Colours& colours, int& distance) {
    int best = 0;
    distance = squaredDistance(c, colours[0]);
    for (int i = 1; i < 16; ++i) {
        const int d = squaredDistance(c, colours[i]);
        if (d < distance) {
            distance = d;
            best = i;
        }
    }
    return best;
}

std::uint32_t keyOf(Rgb c) {
    return std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b;
}

} // namespace

std::span<const NamedPalette> knownPalettes() {
    static const std::vector<NamedPalette> palettes = [] {
        std::vector<NamedPalette> all(namedPalettes().begin(), namedPalettes().end());
        for (const ShippedPalette& shipped : kShipped) {
            const PaletteResult read = parseVpl(shipped.vpl);
            if (read.ok)
                all.push_back({shipped.name, "a palette emulators and artists use", read.colours});
        }
        return all;
    }();
    return palettes;
}

const NamedPalette* findKnownPalette(std::string_view name) {
    for (const NamedPalette& p : knownPalettes()) {
        if (p.name == name)
            return &p;
    }
    return nullptr;
}

PaletteMatch matchPalette(const Image& picture, std::span<const NamedPalette> candidates) {
    // The picture's colours and how often each comes; a picture of more colours than a few
    // per palette colour is no screenshot.
    constexpr std::size_t kMostColours = 16 * 64;
    std::unordered_map<std::uint32_t, std::size_t> counts;
    Rgb last{};
    std::size_t run = 0;
    auto flush = [&] {
        if (run != 0)
            counts[keyOf(last)] += run;
        run = 0;
    };
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.pixel(x, y);
            if (run == 0 || !(c == last)) {
                flush();
                last = c;
                if (counts.size() > kMostColours)
                    return {};
            }
            ++run;
        }
    }
    flush();
    if (counts.empty() || counts.size() > kMostColours)
        return {};
    PaletteMatch best;
    double bestSum = 0;
    const std::size_t pixels = static_cast<std::size_t>(picture.width()) * picture.height();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        double sum = 0;
        bool holds = true;
        for (const auto& [key, count] : counts) {
            const Rgb c{std::uint8_t(key >> 16), std::uint8_t(key >> 8), std::uint8_t(key)};
            int distance = 0;
            nearestColour(c, candidates[i].colours, distance);
            if (distance > kPaletteTolerance * kPaletteTolerance) {
                holds = false;
                break;
            }
            sum += std::sqrt(double(distance)) * double(count);
        }
        if (holds && (best.index < 0 || sum < bestSum)) {
            best.index = static_cast<int>(i);
            bestSum = sum;
        }
    }
    if (best.index >= 0)
        best.meanDistance = static_cast<float>(bestSum / double(pixels));
    return best;
}

void snapToPalette(Image& picture, const C64Colours& colours) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            int distance = 0;
            picture.setPixel(x, y, colours[nearestColour(picture.pixel(x, y), colours, distance)]);
        }
    }
}

} // namespace quendra
