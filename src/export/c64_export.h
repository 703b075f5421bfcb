// A picture written as a C64 file: exactly where it keeps the format's rules, or by colour
// reduction when asked. The file is read back by the format's reader before it is handed
// out, so a file that would not show the same pixels is never written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decode/image.h"
#include "decode/palettes.h"
#include "export/c64_fit.h"
#include "export/c64_writers.h"
#include "export/colour_reduction.h"

namespace quendra {

struct C64ExportOptions {
    bool reduce = false;
    ReduceOptions reduction;
    C64Colours palette = defaultPalette().colours; // PC images' colours, and the reduction's
    int border = -1; // the C64 program's border colour; -1: the background
    // PC images: the palette their colours come from is found (palette_match.h), `palette`
    // (called `paletteName`) tried first, then the known palettes; a picture in none of them
    // is reduced (in `palette`) even when `reduce` is off.
    bool autoPalette = false;
    std::string paletteName = "default";
};

// Keeps its working memory from picture to picture; one per thread.
class C64Exporter {
  public:
    // A decoded C64 picture: exactly, its pixels' colour numbers; reduced, its colours in
    // options.palette. `out` gets the file's bytes; returns empty, or why not.
    std::string write(const IndexedImage& picture, const C64Writer& writer,
                      const C64ExportOptions& options, std::vector<std::uint8_t>& out);
    // A PC image: exactly, each pixel must be one of options.palette's colours.
    std::string write(const Image& picture, const C64Writer& writer,
                      const C64ExportOptions& options, std::vector<std::uint8_t>& out);
    // What the last write did beside the plain conversion, for people: the screenshot's
    // border cut, the palette found, a reduction nobody asked for; empty when nothing.
    const std::string& note() const { return note_; }
    // The palette the last write's colours were matched in: options.palette, or the one the
    // palette search found for a PC image.
    const C64Colours& palette() const { return palette_; }
    // The mean ΔE of the last write's picture against its source: 0 when written exactly,
    // else against the source as the reduction scaled it.
    float meanError() const { return reducedLast_ ? reducer_.meanError(colours_) : 0.0f; }

  private:
    std::string reduced(const Image& picture, const C64Writer& writer,
                        const C64ExportOptions& options, std::vector<std::uint8_t>& out);
    std::string exactly(const C64Writer& writer, const C64ExportOptions& options,
                        std::vector<std::uint8_t>& out);
    std::string laidOut(const C64Writer& writer, int background, int border,
                        std::vector<std::uint8_t>& out);

    ColourPicture colours_;
    C64Memories memories_;
    ColourReducer reducer_;
    Image screen_; // a PC image's screen, cut from its screenshot or snapped to its palette
    std::string note_;
    C64Colours palette_{};
    bool reducedLast_ = false;
};

} // namespace quendra
