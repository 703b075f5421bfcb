// The GoDot 4Bit reader, and the writer on whatever the reader drew: saving a decoded
// picture and reading it back must give the same indices. The first byte's bit 0 picks
// the grey palettes; the rest is the file. The same bytes also go through the run-length
// compression as cell data, which must expand back to them. Clips above kFuzzMaxPixels are
// not decoded, above kFuzzMaxRgbPixels not saved (the unit tests decode and save the
// largest clip).
#include <algorithm>
#include <cstring>

#include "decode/godot_format.h"
#include "decode/readers.h"
#include "export/godot_writer.h"
#include "fuzz.h"
#include "samples/godot_files.h"

namespace {

bool sameIndices(const quendra::IndexedImage& a, const quendra::IndexedImage& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           (a.indices().empty() ||
            std::memcmp(a.indices().data(), b.indices().data(), a.indices().size()) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool grey = (data[0] & 1) != 0;
    const quendra::Bytes file(data + 1, size - 1);

    std::vector<std::uint8_t> items = quendra::compressGodotCells(file);
    items.push_back(quendra::kGodotEscape);
    const auto cells = quendra::expandGodotData(items, file.size());
    if (!std::ranges::equal(cells, file))
        __builtin_trap();

    // A clip names its size in cells (columns, rows) in header bytes 6 and 7.
    const bool clip =
        file.size() >= 8 && file[0] == 'G' && file[1] == 'O' && file[2] == 'D' && file[3] == '1';
    if (clip && std::size_t{64} * file[6] * file[7] > kFuzzMaxPixels)
        return 0;
    const quendra::Decoded d = quendra::decodeGodot(file, {.grey = grey});
    // Saving is the same for every cell; larger clips only slow the search down.
    if (!d.accepted || d.picture.indices().size() > kFuzzMaxRgbPixels)
        return 0;
    const quendra::GodotEncoded saved = quendra::encodeGodot(d.picture.toRgb(), grey);
    if (!saved.ok)
        __builtin_trap();
    const quendra::Decoded back = quendra::decodeGodot(saved.bytes, {.grey = grey});
    if (!back.accepted || !sameIndices(back.picture, d.picture))
        __builtin_trap();
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    namespace samples = quendra::samples;
    std::vector<std::vector<std::uint8_t>> seeds;
    auto add = [&](std::uint8_t flags, const std::vector<std::uint8_t>& file) {
        std::vector<std::uint8_t> s{flags};
        s.insert(s.end(), file.begin(), file.end());
        seeds.push_back(std::move(s));
    };
    const auto picture = samples::godotTestPattern();
    add(0, samples::makeGodot(picture));
    add(1, quendra::encodeGodot(picture.toRgb(), false).bytes);
    add(1, samples::makeGodot(samples::godotTestPattern(24, 16, 3)));
    add(0, quendra::encodeGodot(samples::godotTestPattern(100, 56, 1).toRgb(), false).bytes);
    add(0, samples::makeGodotClip(0, 3, std::vector<std::uint8_t>{0xAD, 0x00, 0x12}));
    add(0, samples::makeGodotPicture(std::vector<std::uint8_t>{0xAD, 0x00, 0x12, 0xAD, 0x05}));
    add(1, samples::makeGodotPicture(std::vector<std::uint8_t>{0x12, 0xAD, 0x01, 0xAD, 0xAD}));
    return seeds;
}
