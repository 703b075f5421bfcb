// The dithering step of colour reduction: each pixel of the scaled picture given one of
// its cell's colours, by nearest colour, error diffusion or an ordered pattern.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "export/colour_reduction.h"

namespace quendra {

namespace {

constexpr std::array<std::uint8_t, 16> kBayer4{0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

int bayer8(int x, int y) {
    // The 8 x 8 matrix from the 4 x 4 one: 4 * M4 + M2 offsets.
    static constexpr int kTwo[4] = {0, 2, 3, 1};
    return 4 * kBayer4[(y & 3) * 4 + (x & 3)] + kTwo[((y >> 2) & 1) * 2 + ((x >> 2) & 1)];
}

// Serpentine Floyd-Steinberg error diffusion in Lab over a `width` x 200 grid: pick(x, y, v)
// gives the colour for the pixel whose value with the carried error is v.
template <typename Pick>
void diffuse(const std::vector<Lab>& grid, int width, const std::array<Lab, 16>& palette,
             Pick pick) {
    constexpr int kLines = 200;
    constexpr float kLimit = 30.0f; // error carried at most, so one wrong cell cannot smear
    // The share of a pixel's error passed on. Three quarters: the picture as seen (softened
    // as the eye mixes neighbouring pixels) comes nearest the source, with fewer stray
    // pixels than the whole error gives (bench/quality).
    constexpr float kCarried = 0.75f;
    std::vector<Lab> carry(static_cast<std::size_t>(width + 2) * 2);
    auto at = [&](int line, int x) -> Lab& {
        return carry[static_cast<std::size_t>(line & 1) * (width + 2) + x + 1];
    };
    for (int y = 0; y < kLines; ++y) {
        for (int x = -1; x <= width; ++x)
            at(y + 1, x) = {};
        const bool reverse = y & 1;
        for (int i = 0; i < width; ++i) {
            const int x = reverse ? width - 1 - i : i;
            const int ahead = reverse ? -1 : 1;
            const Lab& source = grid[static_cast<std::size_t>(y) * width + x];
            const Lab& e = at(y, x);
            const Lab v{source.l + std::clamp(e.l, -kLimit, kLimit),
                        source.a + std::clamp(e.a, -kLimit, kLimit),
                        source.b + std::clamp(e.b, -kLimit, kLimit)};
            const Lab& c = palette[pick(x, y, v)];
            const Lab d{kCarried * (v.l - c.l), kCarried * (v.a - c.a), kCarried * (v.b - c.b)};
            auto spread = [&](Lab& target, float w) {
                target.l += d.l * w;
                target.a += d.a * w;
                target.b += d.b * w;
            };
            spread(at(y, x + ahead), 7.0f / 16);
            spread(at(y + 1, x - ahead), 3.0f / 16);
            spread(at(y + 1, x), 5.0f / 16);
            spread(at(y + 1, x + ahead), 1.0f / 16);
        }
    }
}

} // namespace

bool ditherNamed(std::string_view name, Dither& out) {
    constexpr std::pair<std::string_view, Dither> kNames[] = {
        {"none", Dither::none}, {"bayer4", Dither::bayer4}, {"bayer8", Dither::bayer8},
        {"floyd", Dither::floyd}};
    for (const auto& [n, d] : kNames) {
        if (n == name) {
            out = d;
            return true;
        }
    }
    return false;
}

// For dithered pictures: each pixel's distances replaced by those of the colour that error
// diffusion over all 16 colours gives it, so that cells choose the colours a dither mixes.
void ColourReducer::measureDithered() {
    diffuse(grid_, gridWidth_, palette_, [&](int x, int y, const Lab& v) {
        int colour = 0;
        for (int c = 1; c < 16; ++c) {
            if (deltaE(v, palette_[c]) < deltaE(v, palette_[colour]))
                colour = c;
        }
        float* e = &error_[16 * (static_cast<std::size_t>(y) * gridWidth_ + x)];
        for (int c = 0; c < 16; ++c)
            e[c] = deltaE(palette_[colour], palette_[c]);
        return colour;
    });
}

void ColourReducer::assign(const C64Rules& rules, Dither dither, ColourPicture& out) {
    const bool fat = fatPixels(rules.mode);
    const bool lineSets = perLine(rules.mode);
    const int cellWidth = fat ? 4 : 8;
    const int columns = gridWidth_ / cellWidth;
    auto setOf = [&](int gx, int y) {
        const int cell = (y / 8) * columns + gx / cellWidth;
        return &sets_[4 * static_cast<std::size_t>(lineSets ? cell * 8 + (y & 7) : cell)];
    };
    out.resize(width_, kLines);
    auto put = [&](int gx, int y, int colour) {
        std::uint8_t* row = out.row(y);
        if (fat) {
            row[2 * gx] = row[2 * gx + 1] = static_cast<std::uint8_t>(colour);
        } else {
            row[gx] = static_cast<std::uint8_t>(colour);
        }
    };
    auto nearest = [&](const std::uint8_t* set, const Lab& v) {
        int best = set[0];
        float bestDistance = std::numeric_limits<float>::max();
        for (int i = 0; i < 4 && set[i] != kUnused; ++i) {
            const float d = deltaE(v, palette_[set[i]]);
            if (d < bestDistance) {
                bestDistance = d;
                best = set[i];
            }
        }
        return best;
    };
    if (dither == Dither::none) {
        for (int y = 0; y < kLines; ++y) {
            for (int gx = 0; gx < gridWidth_; ++gx) {
                const std::uint8_t* set = setOf(gx, y);
                const float* e = &error_[16 * (static_cast<std::size_t>(y) * gridWidth_ + gx)];
                int best = set[0];
                for (int i = 1; i < 4 && set[i] != kUnused; ++i) {
                    if (e[set[i]] < e[best])
                        best = set[i];
                }
                put(gx, y, best);
            }
        }
        return;
    }
    if (dither == Dither::floyd) {
        // Each pixel takes the nearest of its cell's colours.
        diffuse(grid_, gridWidth_, palette_, [&](int gx, int y, const Lab& v) {
            const int colour = nearest(setOf(gx, y), v);
            put(gx, y, colour);
            return colour;
        });
        return;
    }
    // Ordered dithering: each pixel the nearest mix of two of its cell's colours, the mix's
    // share drawn by the threshold matrix.
    const bool eight = dither == Dither::bayer8;
    const float levels = eight ? 64.0f : 16.0f;
    for (int y = 0; y < kLines; ++y) {
        for (int gx = 0; gx < gridWidth_; ++gx) {
            const std::uint8_t* set = setOf(gx, y);
            const Lab& v = grid_[static_cast<std::size_t>(y) * gridWidth_ + gx];
            const float threshold =
                ((eight ? bayer8(gx, y) : kBayer4[(y & 3) * 4 + (gx & 3)]) + 0.5f) / levels;
            int colour = nearest(set, v);
            float bestCost = deltaE(v, palette_[colour]);
            for (int i = 0; i < 4 && set[i] != kUnused; ++i) {
                for (int j = i + 1; j < 4 && set[j] != kUnused; ++j) {
                    const Lab& a = palette_[set[i]];
                    const Lab& b = palette_[set[j]];
                    const Lab ab{b.l - a.l, b.a - a.a, b.b - a.b};
                    const float length = ab.l * ab.l + ab.a * ab.a + ab.b * ab.b;
                    if (length <= 0)
                        continue;
                    float t = ((v.l - a.l) * ab.l + (v.a - a.a) * ab.a + (v.b - a.b) * ab.b) / length;
                    t = std::round(std::clamp(t, 0.0f, 1.0f) * levels) / levels;
                    if (t <= 0 || t >= 1)
                        continue;
                    const Lab mix{a.l + t * ab.l, a.a + t * ab.a, a.b + t * ab.b};
                    // Far-apart colours mixed look grainy: weigh their distance in.
                    const float cost = deltaE(v, mix) + 0.02f * std::sqrt(length);
                    if (cost < bestCost) {
                        bestCost = cost;
                        colour = threshold < t ? set[j] : set[i];
                    }
                }
            }
            put(gx, y, colour);
        }
    }
}

} // namespace quendra
