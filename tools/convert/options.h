// The converter's command line:
//   quendra-convert [--to png|gif|bmp|pcx|tif|jpg|4bt] [--grey] [-o DIR] [--force] [-j N]
//                   [--quality N] [--quiet] FILE...
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decode/palettes.h"
#include "export/picture_format.h"

namespace quendra::convert {

struct Options {
    PictureFormat format = PictureFormat::PNG;
    bool grey = false;
    std::optional<std::filesystem::path> outputDir;
    bool force = false;
    int jobs = 0;                                  // 0: one per core
    int quality = 90;                              // JPEG, 1..100
    bool quiet = false;                            // no progress bar (failures are still reported)
    C64Colours colours = defaultPalette().colours; // --palette: named or from a .vpl file
    int scale = 1;          // --scale: every pixel a scale x scale block, 1..8
    bool palAspect = false; // --pal-aspect: PNG files say the PAL pixel's proportions
    std::vector<std::string> files;
};

struct Parsed {
    enum class Action { Convert, Help, Version, UsageError } action = Action::Convert;
    Options options;
    std::string error; // for UsageError
};

// `arguments` without the program name.
Parsed parseArguments(std::span<const std::string> arguments);

std::string usageText();
std::string versionText();

} // namespace quendra::convert
