#include "convert/options.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "decode/character_rom.h"
#include "decode/disk_image.h"
#include "decode/formats.h"
#include "export/palette_match.h"

#ifndef QUENDRA_VERSION
#define QUENDRA_VERSION "unknown"
#endif

namespace quendra::convert {

namespace {

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

Parsed usageError(std::string message) {
    Parsed p;
    p.action = Parsed::Action::UsageError;
    p.error = std::move(message);
    return p;
}

} // namespace

Parsed parseArguments(std::span<const std::string> arguments) {
    Parsed result;
    Options& o = result.options;
    bool onlyFiles = false;
    bool ditherGiven = false;
    std::string adjusted; // the last of --brightness, --contrast, --saturation given
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            o.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (arg == "--help" || arg == "-h")
            return {Parsed::Action::Help, {}, {}};
        if (arg == "--version")
            return {Parsed::Action::Version, {}, {}};
        if (arg == "--list-formats")
            return {Parsed::Action::ListFormats, {}, {}};
        if (arg == "--verbose" || arg == "-v") {
            o.verbose = true;
            continue;
        }
        if (arg == "--grey" || arg == "--gray") {
            o.grey = true;
            continue;
        }
        if (arg == "--force") {
            o.force = true;
            continue;
        }
        if (arg == "--quiet" || arg == "-q") {
            o.quiet = true;
            continue;
        }
        if (arg == "--pal-aspect") {
            o.palAspect = true;
            continue;
        }
        if (arg == "--reduce") {
            o.reduce = true;
            continue;
        }
        if (arg == "--recursive" || arg == "-r") {
            o.recursive = true;
            continue;
        }
        if (arg == "--fit") {
            o.reduction.framing = Framing::fit;
            continue;
        }

        // Options with a value: "--to png", "--to=png", "-j 4", "-j4".
        std::string name = arg, value;
        bool haveValue = false;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            haveValue = true;
        } else if ((arg.starts_with("-j") || arg.starts_with("-o")) && arg.size() > 2) {
            name = arg.substr(0, 2);
            value = arg.substr(2);
            haveValue = true;
        }
        if (name != "--to" && name != "-o" && name != "-j" && name != "--quality" &&
            name != "--palette" && name != "--scale" && name != "--dither" && name != "--entry" &&
            name != "--chargen" && name != "--brightness" && name != "--contrast" &&
            name != "--saturation" && name != "--background" && name != "--prg-border") {
            return usageError("unknown option " + arg);
        }
        if (!haveValue) {
            if (i + 1 >= arguments.size())
                return usageError(name + " needs a value");
            value = arguments[++i];
        }
        if (name == "--to") {
            const auto format = pictureFormatNamed(value);
            o.c64 = format ? nullptr : findC64Writer(value);
            if (!format && !o.c64)
                return usageError("--to " + value + ": not one of png, gif, bmp, pcx, tif, jpg, 4bt, " +
                                  std::string(c64WriterKeys()));
            if (format)
                o.format = *format;
        } else if (name == "--dither") {
            if (!ditherNamed(value, o.reduction.dither))
                return usageError("--dither " + value + ": not one of none, bayer4, bayer8, floyd");
            ditherGiven = true;
        } else if (name == "--brightness" || name == "--contrast" || name == "--saturation") {
            const auto n = number(value);
            if (!n || *n < -100 || *n > 100)
                return usageError(name + " " + value + ": not a whole number from -100 to 100");
            int& setting = name == "--brightness" ? o.reduction.brightness
                           : name == "--contrast" ? o.reduction.contrast
                                                  : o.reduction.saturation;
            setting = *n;
            adjusted = name;
        } else if (name == "--background") {
            o.reduction.background = c64ColourNamed(value);
            if (o.reduction.background < 0)
                return usageError("--background " + value +
                                  ": not a C64 colour (0 to 15, or a name such as light-blue)");
        } else if (name == "-o") {
            if (value.empty())
                return usageError("-o needs a folder");
            o.outputDir = value;
        } else if (name == "--entry") {
            if (value.empty())
                return usageError("--entry needs a C64 name");
            o.entry = value;
        } else if (name == "--palette") {
            o.paletteName = value;
            o.autoPalette = value == "auto";
            if (o.autoPalette) {
                o.colours = defaultPalette().colours;
                o.paletteName = defaultPalette().name;
            } else if (const NamedPalette* known = findKnownPalette(value)) {
                o.colours = known->colours;
            } else {
                const PaletteResult palette = resolvePalette(value);
                if (!palette.ok)
                    return usageError("--palette " + value + ": " + palette.error);
                o.colours = palette.colours;
                o.autoPalette = true; // a .vpl joins the known palettes
            }
        } else if (name == "--chargen") {
            // Read now, before any thread draws a PETSCII screen.
            if (!setCharacterRomFile(value))
                return usageError("--chargen " + value +
                                  ": not a readable C64 character ROM (2048 or 4096 bytes)");
        } else if (name == "--prg-border") {
            const auto n = number(value);
            if (!n || *n < 0 || *n > 15)
                return usageError("--prg-border " + value + ": not a C64 colour number, 0 to 15");
            o.programBorder = *n;
        } else if (name == "--scale") {
            const auto n = number(value);
            if (!n || *n < 1 || *n > 8)
                return usageError("--scale " + value + ": not a whole number from 1 to 8");
            o.scale = *n;
        } else if (name == "-j") {
            const auto n = number(value);
            if (!n || *n < 1)
                return usageError("-j " + value + ": not a number of 1 or more");
            o.jobs = *n;
        } else {
            const auto n = number(value);
            if (!n || *n < 1 || *n > 100)
                return usageError("--quality " + value + ": not 1 to 100");
            o.quality = *n;
        }
    }
    if (o.palAspect && (o.c64 || o.format != PictureFormat::PNG))
        return usageError("--pal-aspect: only PNG files carry a pixel aspect");
    if (o.reduce && !o.c64)
        return usageError(std::string("--reduce: only C64 formats are reduced to (--to ") +
                          std::string(c64WriterKeys()) + ")");
    if ((ditherGiven || o.reduction.framing == Framing::fit) && !o.reduce)
        return usageError(ditherGiven ? "--dither needs --reduce" : "--fit needs --reduce");
    if (o.programBorder >= 0 && (!o.c64 || o.c64->key != "prg"))
        return usageError("--prg-border: only C64 programs (--to prg) show a border");
    if (!adjusted.empty() && !o.reduce)
        return usageError(adjusted + " needs --reduce");
    if (o.reduction.background >= 0 &&
        (!o.c64 || !fatPixels(o.c64->rules.mode) || o.c64->rules.fixedBackground >= 0)) {
        return usageError(std::string("--background: only the multicolour formats with a "
                                      "background of their choice take one (--to koa, gg, "
                                      "ocp, ami)"));
    }
    if (o.c64 && o.scale != 1)
        return usageError("--scale: C64 files keep the C64's own pixels");
    if (o.files.empty())
        return usageError("no input files");
    return result;
}

namespace {

// The registry's format names, "A, B, C", broken into lines of at most `width` characters.
std::string formatNames(std::size_t width) {
    std::string text, line;
    const auto formats = c64Formats();
    for (std::size_t i = 0; i < formats.size(); ++i) {
        std::string word(formats[i].name);
        word += i + 1 < formats.size() ? "," : "";
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            text += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return text + line + "\n";
}

// A row's extensions without dots, lower case, each once: "koa rpm".
std::string extensionsOf(const C64Format& format) {
    std::string text;
    for (std::string_view form : format.extensions) {
        if (form.empty())
            continue;
        std::string e(form.substr(1));
        std::ranges::transform(e, e.begin(),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (text.empty() || (" " + text + " ").find(" " + e + " ") == std::string::npos)
            text += (text.empty() ? "" : " ") + e;
    }
    return text;
}

// `text` in lines of at most `width` characters, each indented by `indent` spaces.
std::string wrapped(const std::string& text, std::size_t indent, std::size_t width) {
    std::string out, line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            out += std::string(indent, ' ') + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return out + std::string(indent, ' ') + line + "\n";
}

// "D64, D71, D81, T64, PC64" with their extensions, for the usage text.
std::string containerNames() {
    std::string text;
    for (const DiskContainer& c : diskContainers()) {
        std::string name(c.name.substr(0, c.name.find(' ')));
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

} // namespace

std::string_view outputExtension(const Options& options) {
    return options.c64 ? options.c64->key : extensionOf(options.format);
}

std::string usageText() {
    // The palettes get a block of their own after the options, so that the manual page
    // made from this text shows them as a list rather than one run-on sentence.
    std::string paletteNames, palettes;
    for (const NamedPalette& p : namedPalettes()) {
        paletteNames += (paletteNames.empty() ? "" : ", ") + std::string(p.name);
        std::string line = "  " + std::string(p.name);
        line.resize(std::max<std::size_t>(line.size() + 2, 18), ' ');
        palettes += line + std::string(p.description) + "\n";
    }
    // What auto does, with the shipped palettes' names, in lines under the option's text.
    std::string shipped;
    for (const NamedPalette& p : knownPalettes().subspan(namedPalettes().size()))
        shipped += std::string(p.name) + ", ";
    const std::string autoText = wrapped(
        "PC pictures to C64 files: auto (the default) finds which of these palettes their "
        "colours come from, or of " + shipped + "a .vpl given tried first; a picture in none "
        "is reduced. An emulator's screenshot loses its border and its whole-number "
        "enlargement first.", 18, 86);
    // One usage line, as help2man reads it for the manual page.
    return "Usage: quendra-convert [OPTION]... FILE|FOLDER...\n"
           "\n"
           "Converts Commodore 64 pictures into PC picture files, and C64 or PC pictures into\n"
           "C64 files (--to koa ...). It reads these formats:\n" +
           formatNames(86) +
           "A file is read by its extension; a file that its extension's format refuses, or\n"
           "whose extension names none, is read by the format its length and first bytes fit\n"
           "best (a C64-style name such as pi.worldmap counts its prefix as the extension);\n"
           "its length alone decides only when its name names no C64 format.\n"
           "A disk or tape image (" + containerNames() + ")\n"
           "stands for the pictures inside: disk.d64 gives disk/NAME.png for each, and\n"
           "disk.d64:NAME (or --entry NAME) only the one entry.\n"
           "A folder stands for its picture files: those whose extension or C64 prefix names a\n"
           "format, and disk and tape images (with --to C64FORMAT also PNG, GIF, BMP and JPEG\n"
           "pictures); -r adds those of the folders below, written to the same folders below\n"
           "-o DIR.\n"
           "\n"
           "  --to FORMAT     output format (default png); png, gif, bmp, pcx and tif keep the\n"
           "                  exact colours, jpg is lossy, 4bt writes a GoDot 4Bit file\n"
           "  --to C64FORMAT  a C64 file instead: " + std::string(c64WriterKeys()) + ";\n"
           "                  from C64 pictures and from PNG, GIF, BMP and JPEG pictures, exactly\n"
           "                  when the picture keeps the format's rules (its size, its colours\n"
           "                  per cell, the palette's colours), else the reason\n"
           "  --to prg        a C64 program: LOAD\"PIC\",8 and RUN show the picture until a key\n"
           "                  or fire is pressed, then BASIC goes on; multicolour (as koa), else\n"
           "                  hires (as art and dd). FLI and AFLI pictures are not written as\n"
           "                  programs: their displayer needs timing exact to the raster line\n"
           "  --prg-border N  the program's border colour, 0 to 15 (default: the background)\n"
           "  --reduce        with a C64 format: fit any picture to the format's rules, scaled\n"
           "                  to the screen (PAL pixels) and its colours chosen cell by cell\n"
           "  --dither D      with --reduce: none (default), bayer4, bayer8 or floyd\n"
           "  --fit           with --reduce: the whole picture, with black bars, instead of\n"
           "                  filling the screen and cutting the sides\n"
           "  --brightness N, --contrast N, --saturation N\n"
           "                  with --reduce: the picture's, changed by N, -100 to 100 (0: as\n"
           "                  it is)\n"
           "  --background C  the background of a multicolour picture (koa, gg, ocp, ami):\n"
           "                  0 to 15 or a name (black, light-blue ...), where it fits\n"
           "  --grey          the grey palette instead of the colours\n"
           "  --palette P     the colours to draw in: " + paletteNames + " (see\n"
           "                  Palettes below; default: default) or a VICE palette file\n"
           "                  (.vpl); GoDot 4Bit files do not change.\n" + autoText +
           "  --scale N       every pixel N x N pixels, 1 to 8 (default 1), no smoothing\n"
           "  --chargen FILE  draw PETSCII screens with this C64 character ROM (else the\n"
           "                  emulators' usual chargen, else a stand-in font)\n"
           "  --pal-aspect    PNG files say the PAL C64 pixel's proportions (a pHYs chunk)\n"
           "  -o DIR          write into DIR (made if missing) instead of beside each input\n"
           "  --entry NAME    of each disk or tape image only the entry NAME (any case)\n"
           "  -r, --recursive  with a folder: also the pictures in the folders below\n"
           "  --force         replace output files that exist already\n"
           "  -j N            convert N files at a time (default: one per core)\n"
           "  --quality N     JPEG quality, 1 to 100 (default 90)\n"
           "  -q, --quiet     no progress bar on a terminal; failures are still reported\n"
           "  -v, --verbose   name each file converted, its output and the format read\n"
           "  --list-formats  show the formats read, their extensions and file lengths, and\n"
           "                  which --to writes each\n"
           "  --help          show this text\n"
           "  --version       show the version\n"
           "\n"
           "Palettes:\n" +
           palettes +
           "\n"
           "The output's name is the input's with its extension replaced (pic.koa gives\n"
           "pic.png); a C64-style name is kept whole (pi.worldmap gives pi.worldmap.png), a\n"
           "C64 name from a disk loses its padding. Of inputs with one output name, the first\n"
           "that converts writes it and the later ones are refused. No output is ever written\n"
           "outside -o DIR (or the input's folder). Files that cannot be converted are\n"
           "reported on standard error as \"FILE: REASON\" (\"FILE: rejected: REASON\" when\n"
           "the picture's data is wrong).\n"
           "Exit status: 0 all files converted, 1 some did not, 2 usage error.\n";
}

std::string formatListText() {
    struct Line {
        std::string name, extensions, sizes, written;
    };
    std::vector<Line> lines{{"Format", "Extensions", "File lengths (bytes)", "Written by"}};
    std::size_t nameWidth = 0, extensionWidth = 0, sizeWidth = 0;
    for (const C64Format& format : c64Formats()) {
        std::string written;
        for (const C64Writer& writer : c64Writers()) {
            if (&writer.row() == &format)
                written += (written.empty() ? "--to " : ", ") + std::string(writer.key);
        }
        lines.push_back({std::string(format.name), extensionsOf(format),
                         sizesOf(format), written});
    }
    for (const Line& l : lines) {
        nameWidth = std::max(nameWidth, l.name.size());
        extensionWidth = std::max(extensionWidth, l.extensions.size());
        sizeWidth = std::max(sizeWidth, l.sizes.size());
    }
    std::string text;
    for (const Line& l : lines) {
        std::string line = l.name + std::string(nameWidth + 2 - l.name.size(), ' ') +
                           l.extensions + std::string(extensionWidth + 2 - l.extensions.size(), ' ') +
                           l.sizes;
        if (!l.written.empty())
            line += std::string(sizeWidth + 2 - l.sizes.size(), ' ') + l.written;
        text += line + "\n";
    }
    text += "\nDisk and tape images, read for the pictures inside:\n";
    for (const DiskContainer& c : diskContainers())
        text += "  " + std::string(c.name) + " (" + std::string(c.extensions) + ")\n";
    return text;
}

std::string versionText() {
    return std::string("quendra-convert ") + QUENDRA_VERSION + "\n";
}

} // namespace quendra::convert
