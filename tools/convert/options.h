// The converter's command line:
//   quendra-convert [--to png|gif|bmp|pcx|tif|jpg|4bt] [--grey] [-o DIR] [--force] [-j N]
//                   [--quality N] [--quiet] [-v] [--entry NAME] [-r] FILE|FOLDER...
//   quendra-convert --to koa|gg|ocp|art|dd|jj|ami|hbm|fli|afl [--reduce [--dither D] [--fit]
//                   [--brightness N] [--contrast N] [--saturation N]] [--background C]
//                   [--palette P|auto|FILE.vpl] ... FILE...
//   quendra-convert --to prg [--prg-border N] [--reduce ...] ... FILE...
//   quendra-convert --list-formats
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decode/palettes.h"
#include "export/c64_writers.h"
#include "export/colour_reduction.h"
#include "export/picture_format.h"

namespace quendra::convert {

struct Options {
    PictureFormat format = PictureFormat::PNG;
    bool grey = false;
    std::optional<std::filesystem::path> outputDir = {};
    bool force = false;
    int jobs = 0;         // 0: one per core
    int quality = 90;     // JPEG, 1..100
    bool quiet = false;   // no progress bar (failures are still reported)
    bool verbose = false; // a line for every file converted, naming the format read
    C64Colours colours = defaultPalette().colours; // --palette: named or from a .vpl file
    // PC pictures to C64 files: their palette found among the known ones (--palette auto,
    // the default; a .vpl joins them, tried first); off for a palette named.
    bool autoPalette = true;
    std::string paletteName = "default";
    int scale = 1;          // --scale: every pixel a scale x scale block, 1..8
    bool palAspect = false; // --pal-aspect: PNG files say the PAL pixel's proportions
    // --to koa ...: a C64 format instead of a PC picture; C64 pictures and PC pictures in.
    const C64Writer* c64 = nullptr;
    bool reduce = false;     // --reduce: colour reduction where the picture breaks the rules
    ReduceOptions reduction = {}; // --dither, --fit, --brightness ..., --background
    int programBorder = -1; // --prg-border N: the C64 program's border colour; -1 the background
    std::string entry = {}; // --entry NAME: only this entry of each disk or tape image
    bool recursive = false; // -r: a folder's pictures and those of the folders below
    std::vector<std::string> files = {};
};

// The output files' extension without the dot: the C64 format's or the PC picture's.
std::string_view outputExtension(const Options& options);

struct Parsed {
    enum class Action { Convert, Help, Version, ListFormats, UsageError } action = Action::Convert;
    Options options;
    std::string error; // for UsageError
};

// `arguments` without the program name.
Parsed parseArguments(std::span<const std::string> arguments);

std::string usageText();
// The registry of C64 formats as a table: name, extensions, file lengths.
std::string formatListText();
std::string versionText();

} // namespace quendra::convert
