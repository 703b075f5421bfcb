#include "export/colour_reduction.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "export/png_pixel_ratio.h"

namespace quendra {

namespace {

// A PAL C64 pixel's width over its height.
constexpr double kPixelAspect = double(kPalPixelsDown) / double(kPalPixelsAcross);

const std::array<float, 256>& linearTable() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double v = i / 255.0;
            t[i] = static_cast<float>(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return t;
    }();
    return table;
}

// The cube root of t in (0, 1]: a first guess from the float's exponent, then Newton steps.
float cubeRoot(float t) {
    std::uint32_t bits;
    std::memcpy(&bits, &t, sizeof bits);
    bits = bits / 3 + 709921077u;
    float r;
    std::memcpy(&r, &bits, sizeof r);
    for (int i = 0; i < 3; ++i)
        r = (2 * r + t / (r * r)) / 3;
    return r;
}

float labCurve(float t) {
    return t > 0.008856f ? cubeRoot(t) : 7.787f * t + 16.0f / 116.0f;
}

Lab labOfLinear(float r, float g, float b) {
    const float x = (0.4124f * r + 0.3576f * g + 0.1805f * b) / 0.95047f;
    const float y = 0.2126f * r + 0.7152f * g + 0.0722f * b;
    const float z = (0.0193f * r + 0.1192f * g + 0.9505f * b) / 1.08883f;
    const float fx = labCurve(x), fy = labCurve(y), fz = labCurve(z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

// Which source pixels (and how much of each) make one output pixel along an axis.
struct Span {
    int first = 0;
    int count = 0;      // 0: outside the source (black)
    int weights = 0;    // index of the first weight
};

// Output pixel i covers source coordinates [offset + i * step, offset + (i + 1) * step).
void spansFor(int outputs, int sourceSize, double offset, double step, std::vector<Span>& spans,
              std::vector<float>& weights) {
    spans.assign(outputs, {});
    weights.clear();
    for (int i = 0; i < outputs; ++i) {
        double a = offset + i * step, b = a + step;
        if (b - a < 1.0) { // enlarging: one source pixel's width around the centre
            const double centre = (a + b) / 2;
            a = centre - 0.5;
            b = centre + 0.5;
        }
        a = std::max(a, 0.0);
        b = std::min(b, double(sourceSize));
        if (b <= a)
            continue;
        Span& s = spans[i];
        s.first = static_cast<int>(a);
        const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(b)) - 1);
        s.count = last - s.first + 1;
        s.weights = static_cast<int>(weights.size());
        double total = 0;
        for (int k = s.first; k <= last; ++k) {
            const double w = std::min(b, k + 1.0) - std::max(a, double(k));
            weights.push_back(static_cast<float>(std::max(w, 0.0)));
            total += std::max(w, 0.0);
        }
        for (int k = 0; k < s.count; ++k)
            weights[s.weights + k] = static_cast<float>(weights[s.weights + k] / total);
    }
}

} // namespace

Lab labOf(Rgb c) {
    const auto& lin = linearTable();
    return labOfLinear(lin[c.r], lin[c.g], lin[c.b]);
}

float deltaE(const Lab& x, const Lab& y) {
    const float dl = x.l - y.l, da = x.a - y.a, db = x.b - y.b;
    return std::sqrt(dl * dl + da * da + db * db);
}

void ColourReducer::scale(const Image& source, int width, Framing framing, bool fat) {
    width_ = width;
    pixels_.resize(static_cast<std::size_t>(width) * kLines);
    const auto& lin = linearTable();
    const int sw = source.width(), sh = source.height();
    // Pixel for pixel where the source is already the screen (or its multicolour half, or
    // the whole 320 pixels of which FLI shows the right 296).
    int copyScale = 0, copyOffset = 0;
    if (sh == kLines && sw == width)
        copyScale = 1;
    else if (sh == kLines && fat && 2 * sw == width)
        copyScale = 2;
    else if (sh == kLines && sw == 320 && width < 320) {
        copyScale = 1;
        copyOffset = 320 - width;
    }
    if (copyScale != 0) {
        for (int y = 0; y < kLines; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb c = source.pixel(copyOffset + x / copyScale, y);
                pixels_[static_cast<std::size_t>(y) * width + x] =
                    labOfLinear(lin[c.r], lin[c.g], lin[c.b]);
            }
        }
        return;
    }
    // The screen measures width * aspect by 200 in pixel heights; a source pixel `unit`.
    const double screenWidth = width * kPixelAspect;
    const double unit = framing == Framing::fill ? std::max(screenWidth / sw, double(kLines) / sh)
                                                 : std::min(screenWidth / sw, double(kLines) / sh);
    const double offsetX = (sw - screenWidth / unit) / 2, offsetY = (sh - kLines / unit) / 2;
    std::vector<Span> columns, rows;
    std::vector<float> columnWeights, rowWeights;
    spansFor(width, sw, offsetX, kPixelAspect / unit, columns, columnWeights);
    spansFor(kLines, sh, offsetY, 1.0 / unit, rows, rowWeights);
    // Rows of the source reduced across, in linear light, then down.
    rowScratch_.assign(static_cast<std::size_t>(3) * width, 0);
    std::vector<float> acc(static_cast<std::size_t>(3) * width);
    for (int y = 0; y < kLines; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        const Span& r = rows[y];
        for (int k = 0; k < r.count; ++k) {
            const float wy = rowWeights[r.weights + k];
            const int sy = r.first + k;
            for (int x = 0; x < width; ++x) {
                const Span& c = columns[x];
                float sr = 0, sg = 0, sb = 0;
                for (int j = 0; j < c.count; ++j) {
                    const Rgb p = source.pixel(c.first + j, sy);
                    const float w = columnWeights[c.weights + j];
                    sr += w * lin[p.r];
                    sg += w * lin[p.g];
                    sb += w * lin[p.b];
                }
                acc[3 * x] += wy * sr;
                acc[3 * x + 1] += wy * sg;
                acc[3 * x + 2] += wy * sb;
            }
        }
        for (int x = 0; x < width; ++x) {
            pixels_[static_cast<std::size_t>(y) * width + x] =
                labOfLinear(acc[3 * x], acc[3 * x + 1], acc[3 * x + 2]);
        }
    }
}

void ColourReducer::measure(const C64Colours& palette, bool fat) {
    for (int c = 0; c < 16; ++c)
        palette_[c] = labOf(palette[c]);
    gridWidth_ = fat ? width_ / 2 : width_;
    const std::size_t count = static_cast<std::size_t>(gridWidth_) * kLines;
    grid_.resize(count);
    error_.resize(16 * count);
    for (std::size_t p = 0; p < count; ++p) {
        float* e = &error_[16 * p];
        if (fat) {
            const Lab& left = pixels_[2 * p];
            const Lab& right = pixels_[2 * p + 1];
            for (int c = 0; c < 16; ++c)
                e[c] = deltaE(left, palette_[c]) + deltaE(right, palette_[c]);
            grid_[p] = {(left.l + right.l) / 2, (left.a + right.a) / 2, (left.b + right.b) / 2};
        } else {
            grid_[p] = pixels_[p];
            for (int c = 0; c < 16; ++c)
                e[c] = deltaE(pixels_[p], palette_[c]);
        }
    }
}

namespace {

constexpr int kMinTried = 8;

// Of a cell's 15 colours beside the background (`others`; m[c] the distances of its 32
// pixels to c or the background, whichever is nearer), the ones worth trying into `tried`:
// those nearest to some pixel, then the rest by their summed distance, kMinTried at least.
int candidates(const float (&m)[16][32], const std::array<int, 15>& others,
               std::array<int, 15>& tried) {
    std::uint32_t nearest = 0;
    for (int i = 0; i < 32; ++i) {
        int best = others[0];
        for (int c : others) {
            if (m[c][i] < m[best][i])
                best = c;
        }
        nearest |= 1u << best;
    }
    std::array<float, 16> total{};
    std::array<int, 15> order = others;
    for (int c : others) {
        for (int i = 0; i < 32; ++i)
            total[c] += m[c][i];
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const bool na = nearest >> a & 1, nb = nearest >> b & 1;
        return na != nb ? na : total[a] < total[b];
    });
    const int count = std::max(kMinTried, std::popcount(nearest));
    std::copy(order.begin(), order.end(), tried.begin());
    return count;
}

} // namespace

// Each 4 x 8 cell's best three colours beside `background`; the summed distance.
float ColourReducer::chooseMulticolour(int background, std::vector<std::uint8_t>& sets) {
    const int columns = gridWidth_ / 4;
    sets.assign(static_cast<std::size_t>(4) * columns * 25, kUnused);
    std::array<int, 15> others{};
    for (int c = 0, n = 0; c < 16; ++c) {
        if (c != background)
            others[n++] = c;
    }
    float total = 0;
    alignas(32) float m[16][32];
    alignas(32) float pair[32];
    for (int row = 0; row < 25; ++row) {
        for (int column = 0; column < columns; ++column) {
            for (int i = 0; i < 32; ++i) {
                const std::size_t p = static_cast<std::size_t>(8 * row + i / 4) * gridWidth_ +
                                      4 * column + (i & 3);
                const float* e = &error_[16 * p];
                for (int c = 0; c < 16; ++c)
                    m[c][i] = std::min(e[c], e[background]);
            }
            // The colours worth trying: every colour nearest to one of the cell's pixels,
            // then the ones nearest to the whole cell, kMinTried at least.
            std::array<int, 15> tried{};
            const int count = candidates(m, others, tried);
            float best = std::numeric_limits<float>::max();
            int ba = tried[0], bb = tried[1], bc = tried[2];
            for (int a = 0; a < count; ++a) {
                for (int b = a + 1; b < count; ++b) {
                    const float* ma = m[tried[a]];
                    const float* mb = m[tried[b]];
                    for (int i = 0; i < 32; ++i)
                        pair[i] = std::min(ma[i], mb[i]);
                    for (int c = b + 1; c < count; ++c) {
                        const float* mc = m[tried[c]];
                        // Eight sums side by side, so that the loop runs on vectors.
                        float lanes[8] = {};
                        for (int i = 0; i < 32; i += 8) {
                            for (int j = 0; j < 8; ++j)
                                lanes[j] += std::min(pair[i + j], mc[i + j]);
                        }
                        const float sum = ((lanes[0] + lanes[1]) + (lanes[2] + lanes[3])) +
                                          ((lanes[4] + lanes[5]) + (lanes[6] + lanes[7]));
                        if (sum < best) {
                            best = sum;
                            ba = tried[a];
                            bb = tried[b];
                            bc = tried[c];
                        }
                    }
                }
            }
            total += best;
            std::uint8_t* set = &sets[4 * (static_cast<std::size_t>(row) * columns + column)];
            set[0] = static_cast<std::uint8_t>(background);
            set[1] = static_cast<std::uint8_t>(ba);
            set[2] = static_cast<std::uint8_t>(bb);
            set[3] = static_cast<std::uint8_t>(bc);
        }
    }
    return total;
}

// Each cell's colour-memory colour and each of its lines' two colours beside `background`.
void ColourReducer::chooseFli(int background) {
    const int columns = gridWidth_ / 4;
    sets_.assign(static_cast<std::size_t>(32) * columns * 25, kUnused);
    for (int row = 0; row < 25; ++row) {
        for (int column = 0; column < columns; ++column) {
            float e[8][16][4];
            for (int k = 0; k < 8; ++k) {
                for (int i = 0; i < 4; ++i) {
                    const float* pe =
                        &error_[16 * (static_cast<std::size_t>(8 * row + k) * gridWidth_ +
                                      4 * column + i)];
                    for (int c = 0; c < 16; ++c)
                        e[k][c][i] = pe[c];
                }
            }
            float bestCell = std::numeric_limits<float>::max();
            std::array<std::uint8_t, 32> bestSets{};
            for (int shared = 0; shared < 16; ++shared) {
                float cellSum = 0;
                std::array<std::uint8_t, 32> sets{};
                for (int k = 0; k < 8 && cellSum < bestCell; ++k) {
                    float base[4];
                    for (int i = 0; i < 4; ++i)
                        base[i] = std::min(e[k][background][i], e[k][shared][i]);
                    float best = std::numeric_limits<float>::max();
                    int ba = background, bb = background;
                    for (int a = 0; a < 16; ++a) {
                        if (a == background || a == shared)
                            continue;
                        float withA[4];
                        for (int i = 0; i < 4; ++i)
                            withA[i] = std::min(base[i], e[k][a][i]);
                        for (int b = a + 1; b < 16; ++b) {
                            if (b == background || b == shared)
                                continue;
                            float sum = 0;
                            for (int i = 0; i < 4; ++i)
                                sum += std::min(withA[i], e[k][b][i]);
                            if (sum < best) {
                                best = sum;
                                ba = a;
                                bb = b;
                            }
                        }
                    }
                    cellSum += best;
                    sets[4 * k] = static_cast<std::uint8_t>(background);
                    sets[4 * k + 1] = static_cast<std::uint8_t>(shared);
                    sets[4 * k + 2] = static_cast<std::uint8_t>(ba);
                    sets[4 * k + 3] = static_cast<std::uint8_t>(bb);
                }
                if (cellSum < bestCell) {
                    bestCell = cellSum;
                    bestSets = sets;
                }
            }
            std::copy(bestSets.begin(), bestSets.end(),
                      sets_.begin() + 32 * (static_cast<std::size_t>(row) * columns + column));
        }
    }
}

// Each 8 x 8 cell's (or cell line's) best two colours.
void ColourReducer::chooseHires(bool perLine, bool blackAndWhite) {
    const int columns = gridWidth_ / 8;
    const int lines = perLine ? 1 : 8;
    const int blocks = columns * 25 * (8 / lines);
    sets_.assign(static_cast<std::size_t>(4) * blocks, kUnused);
    for (int row = 0; row < 25; ++row) {
        for (int column = 0; column < columns; ++column) {
            for (int first = 0; first < 8; first += lines) {
                const int block = perLine ? (row * columns + column) * 8 + first
                                          : row * columns + column;
                std::uint8_t* set = &sets_[4 * static_cast<std::size_t>(block)];
                if (blackAndWhite) {
                    set[0] = 0;
                    set[1] = 1;
                    continue;
                }
                alignas(32) float e[16][64];
                const int count = 8 * lines;
                for (int k = 0; k < lines; ++k) {
                    for (int i = 0; i < 8; ++i) {
                        const float* pe =
                            &error_[16 * (static_cast<std::size_t>(8 * row + first + k) *
                                              gridWidth_ +
                                          8 * column + i)];
                        for (int c = 0; c < 16; ++c)
                            e[c][8 * k + i] = pe[c];
                    }
                }
                float best = std::numeric_limits<float>::max();
                for (int a = 0; a < 16; ++a) {
                    for (int b = a + 1; b < 16; ++b) {
                        float sum = 0;
                        for (int i = 0; i < count; ++i)
                            sum += std::min(e[a][i], e[b][i]);
                        if (sum < best) {
                            best = sum;
                            set[0] = static_cast<std::uint8_t>(a);
                            set[1] = static_cast<std::uint8_t>(b);
                        }
                    }
                }
            }
        }
    }
}

float ColourReducer::meanError(const ColourPicture& out) const {
    if (out.colours.size() != pixels_.size() || pixels_.empty())
        return 0;
    double sum = 0;
    for (std::size_t i = 0; i < pixels_.size(); ++i)
        sum += deltaE(pixels_[i], palette_[out.colours[i] & 15]);
    return static_cast<float>(sum / double(pixels_.size()));
}

void ColourReducer::adjust(const ReduceOptions& options) {
    if (options.brightness == 0 && options.contrast == 0 && options.saturation == 0)
        return;
    const float shift = options.brightness / 2.0f;
    const float spread = 1 + options.contrast / 100.0f;
    const float colourful = 1 + options.saturation / 100.0f;
    for (Lab& p : pixels_) {
        p.l = std::clamp(50 + (p.l + shift - 50) * spread, 0.0f, 100.0f);
        p.a *= colourful;
        p.b *= colourful;
    }
}

void ColourReducer::reduce(const Image& source, const C64Colours& palette,
                           const C64Rules& formatRules, const ReduceOptions& options,
                           ColourPicture& out, int& background) {
    C64Rules rules = formatRules;
    if (rules.fixedBackground < 0 && fatPixels(rules.mode) && options.background >= 0)
        rules.fixedBackground = options.background & 15;
    const bool fat = fatPixels(rules.mode);
    scale(source, shownWidth(rules.mode), options.framing, fat);
    adjust(options);
    measure(palette, fat);
    if (options.dither != Dither::none)
        measureDithered();
    background = rules.fixedBackground >= 0 ? rules.fixedBackground : 0;
    switch (rules.mode) {
    case C64Mode::multicolour: {
        if (rules.fixedBackground >= 0) {
            chooseMulticolour(background, sets_);
            break;
        }
        // The background is tried among the colours most pixels are nearest to.
        std::array<int, 16> nearestCount{};
        for (std::size_t p = 0; p < grid_.size(); ++p) {
            const float* e = &error_[16 * p];
            ++nearestCount[std::min_element(e, e + 16) - e];
        }
        std::array<int, 16> order{};
        for (int c = 0; c < 16; ++c)
            order[c] = c;
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return nearestCount[a] > nearestCount[b]; });
        float best = std::numeric_limits<float>::max();
        for (int i = 0; i < 3; ++i) {
            const float total = chooseMulticolour(order[i], candidateSets_);
            if (total < best) {
                best = total;
                background = order[i];
                sets_.swap(candidateSets_);
            }
        }
        break;
    }
    case C64Mode::fli:
        chooseFli(background);
        break;
    case C64Mode::hires:
    case C64Mode::afli:
        chooseHires(perLine(rules.mode), rules.blackAndWhite);
        break;
    }
    assign(rules, options.dither, out);
}

} // namespace quendra
