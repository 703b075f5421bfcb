// The FLI-family and interlaced readers. Every input goes to each of them; an accepted
// picture has its format's size and a palette that covers its indices.
#include <cstdlib>

#include "decode/fli_readers.h"
#include "fuzz.h"
#include "samples/fli_files.h"

namespace {

struct Reader {
    quendra::Decoded (*decode)(quendra::Bytes, const quendra::DecodeOptions&);
    int width, height;
};

constexpr Reader kReaders[] = {
    {quendra::decodeFliDesigner, 296, 200},    {quendra::decodeFliGraph, 296, 200},
    {quendra::decodeAfli, 296, 200},           {quendra::decodeHiresFli, 296, 112},
    {quendra::decodeBfli, 296, 400},           {quendra::decodeTruePaint, 320, 200},
    {quendra::decodeDrazlace, 320, 200},       {quendra::decodeGunpaint, 296, 200},
    {quendra::decodeFfli, 296, 200},           {quendra::decodeDrazpaint, 320, 200},
    {quendra::decodeHiresInterlace, 320, 200},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const Reader& reader : kReaders) {
        const quendra::Decoded d = reader.decode({data, size}, {});
        if (!d.accepted) {
            if (d.reason.empty())
                std::abort();
            continue;
        }
        // Blend positions and colour numbers both stay inside the palette; the corners
        // stand for the rest, which the unit tests check pixel by pixel.
        const auto& picture = d.picture;
        if (picture.width() != reader.width || picture.height() != reader.height ||
            picture.index(0, 0) >= picture.palette().size() ||
            picture.index(reader.width - 1, reader.height - 1) >= picture.palette().size()) {
            std::abort();
        }
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    using namespace quendra::samples;
    const FliPicture p = fliPattern();
    return {
        makeFliDesigner(p),     makeFliGraph(p),
        makeFliGraphPacked(p),  makeAfli(p),
        makeHiresFli(p),        makeBfli(p),
        makeTruePaint(p),       makeTruePaintPacked(p),
        makeDrazlace(p),        makeDrazlacePacked(p),
        makeGunpaint(p),        makeFfli(p),
        makeDrazpaintPacked(p), makeDrazpaint(p),
        makeHiresInterlace(p),
    };
}
