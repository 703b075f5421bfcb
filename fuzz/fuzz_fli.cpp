// The FLI-family and interlaced readers. The first byte picks the reader (modulo their
// number), so that each input costs one decoding rather than eleven; the rest is the file.
// An accepted picture has its format's size and a palette that covers its indices.
#include <cstdlib>
#include <utility>

#include "decode/formats.h"
#include "fuzz.h"
#include "samples/fli_files.h"

namespace {

struct Reader {
    quendra::FormatId row; // the registry row that reads it
    int width, height;
};

constexpr Reader kReaders[] = {
    {quendra::FormatId::fliDesigner, 296, 200},    {quendra::FormatId::fliGraph, 296, 200},
    {quendra::FormatId::afli, 296, 200},           {quendra::FormatId::hiresFli, 296, 112},
    {quendra::FormatId::bfli, 296, 400},           {quendra::FormatId::truePaint, 320, 200},
    {quendra::FormatId::drazlace, 320, 200},       {quendra::FormatId::gunpaint, 296, 200},
    {quendra::FormatId::ffli, 296, 200},           {quendra::FormatId::drazpaint, 320, 200},
    {quendra::FormatId::hiresInterlace, 320, 200},
};
constexpr std::size_t kCount = sizeof(kReaders) / sizeof(kReaders[0]);

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const Reader& reader = kReaders[data[0] % kCount];
    const quendra::Decoded d =
        quendra::decodeAs(quendra::formatRow(reader.row), {data + 1, size - 1}, {});
    if (!d.accepted) {
        if (d.reason.empty())
            std::abort();
        return 0;
    }
    // Blend positions and colour numbers both stay inside the palette; the corners stand
    // for the rest, which the unit tests check pixel by pixel.
    const auto& picture = d.picture;
    if (picture.width() != reader.width || picture.height() != reader.height ||
        picture.index(0, 0) >= picture.palette().size() ||
        picture.index(reader.width - 1, reader.height - 1) >= picture.palette().size()) {
        std::abort();
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    using namespace quendra::samples;
    const FliPicture p = fliPattern();
    // Each file after the number of the reader that takes it (the order of kReaders).
    const std::pair<std::uint8_t, std::vector<std::uint8_t>> files[] = {
        {0, makeFliDesigner(p)},     {1, makeFliGraph(p)},
        {1, makeFliGraphPacked(p)},  {2, makeAfli(p)},
        {3, makeHiresFli(p)},        {4, makeBfli(p)},
        {5, makeTruePaint(p)},       {5, makeTruePaintPacked(p)},
        {6, makeDrazlace(p)},        {6, makeDrazlacePacked(p)},
        {7, makeGunpaint(p)},        {8, makeFfli(p)},
        {9, makeDrazpaintPacked(p)}, {9, makeDrazpaint(p)},
        {10, makeHiresInterlace(p)},
    };
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const auto& [reader, file] : files) {
        std::vector<std::uint8_t> seed{reader};
        seed.insert(seed.end(), file.begin(), file.end());
        seeds.push_back(std::move(seed));
    }
    return seeds;
}
