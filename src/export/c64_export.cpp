#include "export/c64_export.h"

#include "export/palette_match.h"
#include "export/screenshot_fit.h"

namespace quendra {

std::string C64Exporter::write(const IndexedImage& picture, const C64Writer& writer,
                               const C64ExportOptions& options, std::vector<std::uint8_t>& out) {
    note_.clear();
    reducedLast_ = false;
    palette_ = options.palette;
    if (options.reduce) {
        IndexedImage shown = picture;
        applyPalette(shown, options.palette);
        return reduced(shown.toRgb(), writer, options, out);
    }
    if (std::string why = colourNumbersOf(picture, options.palette, colours_); !why.empty())
        return why;
    return exactly(writer, options, out);
}

std::string C64Exporter::write(const Image& picture, const C64Writer& writer,
                               const C64ExportOptions& options, std::vector<std::uint8_t>& out) {
    reducedLast_ = false;
    palette_ = options.palette;
    note_ = fitScreenshot(picture, screen_);
    const Image& shown = note_.empty() ? picture : screen_;
    auto noted = [&](const std::string& what) {
        note_ += (note_.empty() ? "" : "; ") + what;
    };
    if (!options.autoPalette) {
        if (options.reduce)
            return reduced(shown, writer, options, out);
        if (std::string why = colourNumbersOf(shown, options.palette, colours_); !why.empty())
            return why;
        return exactly(writer, options, out);
    }
    std::vector<NamedPalette> candidates{{options.paletteName, "", options.palette}};
    candidates.insert(candidates.end(), knownPalettes().begin(), knownPalettes().end());
    const PaletteMatch match = matchPalette(shown, candidates);
    if (match.index < 0) {
        if (!options.reduce)
            noted("its colours are of no known palette: reduced");
        return reduced(shown, writer, options, out);
    }
    C64ExportOptions found = options;
    found.palette = candidates[match.index].colours;
    palette_ = found.palette;
    noted("palette " + std::string(candidates[match.index].name));
    if (options.reduce)
        return reduced(shown, writer, found, out);
    if (&shown != &screen_)
        screen_ = shown;
    snapToPalette(screen_, found.palette);
    if (std::string why = colourNumbersOf(screen_, found.palette, colours_); !why.empty())
        return why;
    return exactly(writer, found, out);
}

std::string C64Exporter::reduced(const Image& picture, const C64Writer& writer,
                                 const C64ExportOptions& options, std::vector<std::uint8_t>& out) {
    if (picture.empty())
        return "the picture is empty";
    int background = 0;
    reducedLast_ = true;
    reducer_.reduce(picture, options.palette, writer.rules, options.reduction, colours_,
                    background);
    return laidOut(writer, background, options.border, out);
}

// The colour numbers as they are, by the writer's rules, else by its other kind's.
std::string C64Exporter::exactly(const C64Writer& writer, const C64ExportOptions& options,
                                 std::vector<std::uint8_t>& out) {
    std::string why = laidOut(writer, options.reduction.background, options.border, out);
    if (why.empty() || !writer.otherKind)
        return why;
    std::string otherWhy = laidOut(*writer.otherKind, -1, options.border, out);
    if (otherWhy.empty())
        return otherWhy;
    return "as multicolour, " + why + "; as hires, " + otherWhy;
}

std::string C64Exporter::laidOut(const C64Writer& writer, int background, int border,
                                 std::vector<std::uint8_t>& out) {
    const C64Format& row = writer.row();
    if (std::string why = fitExactly(colours_, writer.rules, row.name, memories_, background);
        !why.empty())
        return why;
    memories_.border = border;
    writer.write(memories_, out);
    // Read back: the reader must take the file and show the same colour numbers.
    const Decoded back = decodeAs(row, out, {.fileSize = out.size()});
    if (!back.accepted)
        return "the " + std::string(row.name) + " file cannot be written: " + back.reason;
    const int scale = back.picture.width() / std::max(colours_.width, 1);
    bool same = back.picture.height() == colours_.height &&
                back.picture.width() == colours_.width * scale && scale >= 1;
    for (int y = 0; same && y < colours_.height; ++y) {
        const std::uint8_t* row = back.picture.row(y);
        for (int x = 0; x < back.picture.width(); ++x) {
            if (row[x] != colours_.at(x / scale, y)) {
                same = false;
                break;
            }
        }
    }
    if (!same)
        return "the " + std::string(row.name) + " file does not read back to the same picture";
    return {};
}

} // namespace quendra
