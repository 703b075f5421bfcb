// The colour reduction's quality: mean CIE76 colour error (ΔE) of each C64 format and dither
// over a set of photos, pixel by pixel and as seen (both pictures softened by a 3 x 3
// binomial blur first, as the eye mixes neighbouring pixels). With --compare, another
// converter's pictures of the same photos (NAME_KEY.png) are measured the same way.
//   quality_table [--palette P] [--compare DIR] [--pictures DIR] PHOTO.png...
// Each photo is 320 x 200, so that no converter's scaling is measured. bench/quality/run.sh
// makes them from Debian's free pictures.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "decode/palettes.h"
#include "export/c64_writers.h"
#include "export/colour_reduction.h"
#include "export/palette_match.h"
#include "export/pc_image_reader.h"
#include "export/png_encoder.h"

using namespace quendra;
namespace fs = std::filesystem;

namespace {

bool readPicture(const fs::path& path, Image& out) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string why = readPcPicture(bytes, out);
    if (!why.empty())
        std::fprintf(stderr, "%s: %s\n", path.c_str(), why.c_str());
    return why.empty();
}

// The picture softened by a 3 x 3 binomial blur in linear light, in Lab.
std::vector<Lab> seen(const Image& picture, int left) {
    const int w = picture.width() - left, h = picture.height();
    auto linear = [](std::uint8_t v) {
        const double c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    auto encoded = [](double c) {
        c = std::clamp(c, 0.0, 1.0);
        const double v = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
        return static_cast<std::uint8_t>(std::lround(v * 255));
    };
    std::vector<Lab> out(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double sum[3] = {}, weights = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sx >= w || sy < 0 || sy >= h)
                        continue;
                    const double k = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
                    const Rgb c = picture.pixel(left + sx, sy);
                    sum[0] += k * linear(c.r);
                    sum[1] += k * linear(c.g);
                    sum[2] += k * linear(c.b);
                    weights += k;
                }
            }
            out[static_cast<std::size_t>(y) * w + x] = labOf(
                {encoded(sum[0] / weights), encoded(sum[1] / weights), encoded(sum[2] / weights)});
        }
    }
    return out;
}

struct Errors {
    double pixels = 0, seen = 0;
};

// `result` against the photo's columns from `left` on (FLI pictures show 296 of 320).
Errors measured(const Image& photo, const Image& result, int resultLeft) {
    const int left = photo.width() - (result.width() - resultLeft);
    Errors e;
    const int w = result.width() - resultLeft, h = result.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            e.pixels +=
                deltaE(labOf(photo.pixel(left + x, y)), labOf(result.pixel(resultLeft + x, y)));
    }
    const std::vector<Lab> a = seen(photo, left), b = seen(result, resultLeft);
    for (std::size_t i = 0; i < a.size(); ++i)
        e.seen += deltaE(a[i], b[i]);
    e.pixels /= double(w) * h;
    e.seen /= double(w) * h;
    return e;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> photos;
    std::string palette = "pepto";
    fs::path compare, pictures;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--compare" && i + 1 < argc) {
            compare = argv[++i];
        } else if (arg == "--pictures" && i + 1 < argc) {
            pictures = argv[++i];
        } else if (arg == "--palette" && i + 1 < argc) {
            palette = argv[++i];
        } else {
            photos.emplace_back(arg);
        }
    }
    const NamedPalette* named = findKnownPalette(palette);
    if (photos.empty() || !named) {
        std::fprintf(stderr, "usage: quality_table [--palette P] [--compare DIR] [--pictures DIR] "
                             "PHOTO.png...\n");
        return 2;
    }
    const C64Colours& colours = named->colours;
    std::vector<Image> sources(photos.size());
    for (std::size_t i = 0; i < photos.size(); ++i) {
        if (!readPicture(photos[i], sources[i]))
            return 1;
    }
    const char* keys[] = {"koa", "art", "fli", "afl"};
    const std::pair<const char*, Dither> dithers[] = {{"none", Dither::none},
                                                      {"bayer4", Dither::bayer4},
                                                      {"bayer8", Dither::bayer8},
                                                      {"floyd", Dither::floyd}};
    std::printf("Mean ΔE over %zu photos in the %s palette (seen: after a 3 x 3 blur)\n\n",
                photos.size(), palette.c_str());
    std::printf("| format | dither | ΔE | ΔE seen | ms |%s\n",
                compare.empty() ? "" : " other's ΔE | other's ΔE seen | ΔE / other's |");
    std::printf("|---|---|---|---|---|%s\n", compare.empty() ? "" : "---|---|---|");
    // The least error any converter can reach: every pixel the nearest of the 16 colours.
    double bound = 0;
    for (const Image& source : sources) {
        double sum = 0;
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                const Lab l = labOf(source.pixel(x, y));
                float best = 1e9f;
                for (const Rgb c : colours)
                    best = std::min(best, deltaE(l, labOf(c)));
                sum += best;
            }
        }
        bound += sum / (double(source.width()) * source.height());
    }
    std::printf("| any colour anywhere (the least possible) | none | %.2f | | |%s\n",
                bound / double(sources.size()), compare.empty() ? "" : " | | |");
    ColourReducer reducer;
    ColourPicture out;
    for (const char* key : keys) {
        const C64Writer& writer = *findC64Writer(key);
        for (const auto& [ditherName, dither] : dithers) {
            Errors sum, other;
            double milliseconds = 0;
            bool otherComplete = !compare.empty() && dither == Dither::none;
            for (std::size_t i = 0; i < sources.size(); ++i) {
                int background = 0;
                const auto start = std::chrono::steady_clock::now();
                reducer.reduce(sources[i], colours, writer.rules, {.dither = dither}, out,
                               background);
                milliseconds += std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - start)
                                    .count();
                Image result(out.width, out.height);
                for (int y = 0; y < out.height; ++y) {
                    for (int x = 0; x < out.width; ++x)
                        result.setPixel(x, y, colours[out.at(x, y)]);
                }
                const Errors e = measured(sources[i], result, 0);
                sum.pixels += e.pixels;
                sum.seen += e.seen;
                if (!pictures.empty()) {
                    IndexedImage indexed(out.width, out.height);
                    indexed.setPalette(colours);
                    for (int y = 0; y < out.height; ++y) {
                        for (int x = 0; x < out.width; ++x)
                            indexed.setIndex(x, y, out.at(x, y));
                    }
                    const auto bytes = encodePng(indexed);
                    std::ofstream(pictures / (photos[i].stem().string() + "_" + key + "_" +
                                              ditherName + ".png"),
                                  std::ios::binary)
                        .write(reinterpret_cast<const char*>(bytes.data()),
                               static_cast<std::streamsize>(bytes.size()));
                }
                Image theirs;
                const fs::path theirPath =
                    compare / (photos[i].stem().string() + "_" + key + ".png");
                if (otherComplete && fs::exists(theirPath) && readPicture(theirPath, theirs)) {
                    const Errors o = measured(sources[i], theirs, theirs.width() - out.width);
                    other.pixels += o.pixels;
                    other.seen += o.seen;
                } else {
                    otherComplete = false;
                }
            }
            const double n = double(sources.size());
            std::printf("| %s | %s | %.2f | %.2f | %.1f |", key, ditherName, sum.pixels / n,
                        sum.seen / n, milliseconds / n);
            if (otherComplete) {
                std::printf(" %.2f | %.2f | %.2f |", other.pixels / n, other.seen / n,
                            sum.pixels / other.pixels);
            } else if (!compare.empty()) {
                std::printf(" | | |");
            }
            std::printf("\n");
        }
    }
    return 0;
}
