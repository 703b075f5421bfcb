// The PC picture readers (PNG, GIF, JPEG, BMP) into the C64 writers: the first byte picks
// the writer and whether the picture is fitted exactly or reduced (and how); the rest is
// the file. A picture read is written, and every written file must read back to the same
// picture (the exporter checks; its failure to is a fault).
#include <cstdlib>
#include <string>

#include "decode/formats.h"
#include "decode/palettes.h"
#include "export/bmp_encoder.h"
#include "export/c64_export.h"
#include "export/gif_encoder.h"
#include "export/jpeg_encoder.h"
#include "export/pc_image_reader.h"
#include "export/png_encoder.h"
#include "fuzz.h"
#include "samples/c64_files.h"

namespace {

bool isWriteFault(const std::string& why) {
    return why.find("does not read back") != std::string::npos ||
           why.find("cannot be written") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::uint8_t choice = data[0];
    static quendra::Image picture;
    if (!quendra::readPcPicture({data + 1, size - 1}, picture, kFuzzMaxPixels).empty())
        return 0;
    if (picture.empty())
        std::abort(); // accepted, so a picture
    const auto writers = quendra::c64Writers();
    const quendra::C64Writer& writer = writers[(choice & 15) % writers.size()];
    quendra::C64ExportOptions options;
    options.reduce = (choice & 16) != 0;
    options.reduction.dither = static_cast<quendra::Dither>((choice >> 5) & 3);
    options.reduction.framing = (choice & 128) ? quendra::Framing::fit : quendra::Framing::fill;
    static quendra::C64Exporter exporter;
    std::vector<std::uint8_t> out;
    const std::string why = exporter.write(picture, writer, options, out);
    if (isWriteFault(why) || (why.empty() && out.empty()))
        std::abort();
    // Reduced, every picture fits.
    if (options.reduce && !why.empty())
        std::abort();
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    using namespace quendra;
    std::vector<std::vector<std::uint8_t>> seeds;
    const auto koala = samples::makeKoala(samples::testPattern(1));
    Decoded decoded = decodeAs(formatForExtension(".koa"), koala, {.fileSize = koala.size()});
    IndexedImage& shown = decoded.picture;
    applyPalette(shown, defaultPalette().colours);
    auto add = [&](std::uint8_t choice, std::vector<std::uint8_t> file) {
        file.insert(file.begin(), choice);
        seeds.push_back(std::move(file));
    };
    add(0, encodePng(shown)); // Koala, exactly
    std::vector<std::uint8_t> file;
    if (encodeGif(shown, file).empty())
        add(1, file);
    encodeBmp(shown, file);
    add(7, file);
    JpegEncoder jpeg;
    if (jpeg.encode(shown, 90, false, file).empty())
        add(16 | 32, file); // reduced with a Bayer dither
    IndexedImage small(24, 16);
    small.setPalette(shown.palette());
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 24; ++x)
            small.setIndex(x, y, static_cast<std::uint8_t>((x + y) % 16));
    }
    add(8 | 16 | 96, encodePng(small, {.interlaced = true}));
    if (jpeg.encode(small, 50, true, file).empty())
        add(9 | 16 | 128, file);
    return seeds;
}
