// quendra-thumbnailer: a PNG preview of a C64 picture for file managers.
//   quendra-thumbnailer -s SIZE [-p PALETTE] INPUT OUTPUT
// Reads nothing but INPUT and writes nothing but OUTPUT (through an unnamed file beside it,
// clearing the leftovers of killed runs there): no settings, no display, so it runs in the
// sandbox a thumbnail service gives it. It never writes over INPUT itself.
#include <charconv>
#include <cstdio>
#include <string_view>

#include "decode/palettes.h"
#include "decode/printable_name.h"
#include "thumbnailer/thumbnail.h"

namespace {

constexpr int kLargestSize = 4096;

void printHelp() {
    std::printf(
        "Usage: quendra-thumbnailer -s SIZE INPUT OUTPUT\n"
        "Writes a PNG preview of the C64 picture INPUT to OUTPUT, for file managers.\n"
        "\n"
        "The preview's longer side is at most SIZE pixels: a larger picture is scaled down\n"
        "by averaging, a smaller one enlarged by the largest whole factor that fits.\n"
        "The picture is read exactly as the viewer quendra reads it.\n"
        "\n"
        "A disk or tape image (D64, D71, D81, T64, PC64) gives a contact sheet of its first\n"
        "pictures, up to four in the directory's order, two to a row; an image that holds\n"
        "no picture gives no preview (exit status 1).\n"
        "\n"
        "Options:\n"
        "  -s, --size SIZE  the longest side of the preview, 1 to %d pixels\n"
        "  -p, --palette PALETTE\n"
        "                   the C64 colours: default, pepto, colodore, vice-old or a\n"
        "                   VICE .vpl palette file (default: the program's own)\n"
        "  -h, --help       show this help and exit\n"
        "      --version    show the version and exit\n"
        "\n"
        "Exit status: 0 when the preview was written; 1 when INPUT is no picture Quendra\n"
        "can read or an image without pictures, or OUTPUT cannot be written (OUTPUT is\n"
        "then left as it was); 2 for a usage error.\n",
        kLargestSize);
}

int usageError(const char* why) {
    std::fprintf(stderr, "quendra-thumbnailer: %s\nTry 'quendra-thumbnailer --help'.\n", why);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int size = 0;
    const char* paths[2] = {nullptr, nullptr};
    int pathCount = 0;
    std::string_view palette = quendra::defaultPalette().name;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (pathCount == 2)
                return usageError("one INPUT and one OUTPUT only");
            paths[pathCount++] = argv[i];
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            printHelp();
            return 0;
        }
        if (arg == "--version") {
            std::printf("quendra-thumbnailer %s\n", QUENDRA_VERSION);
            return 0;
        }
        if (arg == "-s" || arg == "--size") {
            if (++i == argc)
                return usageError("-s needs a size");
            const std::string_view text = argv[i];
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), size);
            if (ec != std::errc() || end != text.data() + text.size() || size < 1 ||
                size > kLargestSize)
                return usageError("the size must be a whole number from 1 to 4096");
            continue;
        }
        if (arg == "-p" || arg == "--palette") {
            if (++i == argc)
                return usageError("-p needs a palette");
            palette = argv[i];
            continue;
        }
        return usageError("unknown option");
    }
    if (size == 0 || pathCount != 2)
        return usageError("needs -s SIZE, an INPUT and an OUTPUT");
    const quendra::PaletteResult colours = quendra::resolvePalette(palette);
    if (!colours.ok) {
        std::fprintf(stderr, "quendra-thumbnailer: %s\n", colours.error.c_str());
        return 2;
    }
    const auto result =
        quendra::thumbnail::writeThumbnail(paths[0], paths[1], size, colours.colours);
    if (!result.written) {
        std::fprintf(stderr, "quendra-thumbnailer: %s: %s\n",
                     quendra::printableName(paths[0]).c_str(), result.error.c_str());
        return 1;
    }
    return 0;
}
