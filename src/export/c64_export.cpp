#include "export/c64_export.h"

namespace quendra {

std::string C64Exporter::write(const IndexedImage& picture, const C64Writer& writer,
                               const C64ExportOptions& options, std::vector<std::uint8_t>& out) {
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
    if (options.reduce)
        return reduced(picture, writer, options, out);
    if (std::string why = colourNumbersOf(picture, options.palette, colours_); !why.empty())
        return why;
    return exactly(writer, options, out);
}

std::string C64Exporter::reduced(const Image& picture, const C64Writer& writer,
                                 const C64ExportOptions& options, std::vector<std::uint8_t>& out) {
    if (picture.empty())
        return "the picture is empty";
    int background = 0;
    reducer_.reduce(picture, options.palette, writer.rules, options.reduction, colours_,
                    background);
    return laidOut(writer, background, options.border, out);
}

// The colour numbers as they are, by the writer's rules, else by its other kind's.
std::string C64Exporter::exactly(const C64Writer& writer, const C64ExportOptions& options,
                                 std::vector<std::uint8_t>& out) {
    std::string why = laidOut(writer, -1, options.border, out);
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
