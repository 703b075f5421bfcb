// The C64 writers and their read-back: the first byte picks the writer, the second the
// background; the rest, read round and round, gives each cell (or each pixel line of a cell
// in the FLI modes) its colours and each pixel one of them, so that the picture keeps the
// writer's rules. Every such picture must fit exactly, be written, and read back to the same
// colour numbers (the exporter compares), unless a packed format's file grows longer than
// its reader takes; reduced from its colours, it must fit as well.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "decode/palettes.h"
#include "export/c64_export.h"
#include "fuzz.h"

namespace {

using quendra::C64Mode;

// The input's bytes, round and round (zeros when there are none).
class Stream {
  public:
    Stream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() { return size_ == 0 ? 0 : data_[at_++ % size_]; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A picture of C64 colour numbers that keeps `rules`, drawn from the stream.
quendra::IndexedImage pictureKeeping(const quendra::C64Rules& rules, std::uint8_t background,
                                     Stream& in) {
    const bool fat = quendra::fatPixels(rules.mode);
    const int cellWidth = fat ? 4 : 8;
    const int width = quendra::shownWidth(rules.mode) / (fat ? 2 : 1);
    quendra::IndexedImage picture(width, 200);
    picture.setPalette(quendra::defaultPalette().colours);
    picture.setMeaning(quendra::IndexMeaning::c64Numbers, false);
    auto colour = [&] {
        const int c = in.next() & 15;
        return rules.blackAndWhite ? c & 1 : c;
    };
    const int bg = rules.fixedBackground >= 0 ? rules.fixedBackground : background & 15;
    for (int cellY = 0; cellY < 200; cellY += 8) {
        for (int cellX = 0; cellX < width; cellX += cellWidth) {
            int colours[4] = {bg, colour(), colour(), colour()};
            if (!fat) // hires: two colours, no background
                colours[0] = colour();
            for (int y = cellY; y < cellY + 8; ++y) {
                if (quendra::perLine(rules.mode)) { // each line its own screen colours
                    colours[fat ? 1 : 0] = colour();
                    colours[fat ? 2 : 1] = colour();
                }
                for (int x = cellX; x < cellX + cellWidth; x += 4) {
                    const std::uint8_t bits = in.next();
                    for (int k = 0; k < 4; ++k) {
                        const int pick = fat ? (bits >> (2 * k)) & 3 : (bits >> k) & 1;
                        picture.setIndex(x + k, y, static_cast<std::uint8_t>(colours[pick]));
                    }
                }
            }
        }
    }
    return picture;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const auto writers = quendra::c64Writers();
    const quendra::C64Writer& writer = writers[data[0] % writers.size()];
    Stream in(data + 2, size - 2);
    const quendra::IndexedImage picture = pictureKeeping(writer.rules, data[1], in);
    static quendra::C64Exporter exporter;
    std::vector<std::uint8_t> out;
    quendra::C64ExportOptions options;
    std::string why = exporter.write(picture, writer, options, out);
    options.reduce = (data[1] & 0x10) != 0;
    if (why.empty() && options.reduce)
        why = exporter.write(picture, writer, options, out);
    // A packed format's packer may make a file longer than its reader takes (a picture of
    // many bytes equal to the escape byte, each a run of its own): refused with that reason.
    const bool tooLongPacked = why.find("cannot be written: ") != std::string::npos &&
                               why.find(" bytes long, this one has ") != std::string::npos;
    if ((!why.empty() && !tooLongPacked) || (why.empty() && out.empty())) {
        std::fprintf(stderr, "%s%s: %s\n", writer.key.data(), options.reduce ? " reduced" : "",
                     why.c_str());
        std::abort();
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (std::uint8_t w = 0; w < quendra::c64Writers().size(); ++w) {
        std::vector<std::uint8_t> seed{w, static_cast<std::uint8_t>(w * 7)};
        for (int i = 0; i < 64; ++i)
            seed.push_back(static_cast<std::uint8_t>(i * 37 + w));
        seeds.push_back(seed);
    }
    seeds.back()[1] |= 0x10; // reduced too
    return seeds;
}
