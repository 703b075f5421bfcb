// The readers of the further formats (further_readers.h), taken from their registry rows:
// the first byte picks the row, the rest is the file. An accepted picture's indices stay
// inside its palette; a refusal names its reason.
#include <cstdlib>
#include <string_view>

#include "decode/formats.h"
#include "fuzz.h"
#include "samples/further_files.h"

namespace {

// The further rows follow the GoDot rows at the end of the registry.
std::span<const quendra::C64Format> furtherRows() {
    const auto rows = quendra::c64Formats();
    const quendra::C64Format& clip = quendra::formatRow(quendra::FormatId::godotClip);
    return rows.subspan(static_cast<std::size_t>(&clip - rows.data()) + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::span<const quendra::C64Format> rows = furtherRows();
    if (size == 0 || rows.empty())
        return 0;
    const quendra::C64Format& row = rows[data[0] % rows.size()];
    const quendra::Decoded d = quendra::decodeAs(row, {data + 1, size - 1}, {});
    if (!d.accepted) {
        if (d.reason.empty())
            std::abort();
        return 0;
    }
    const std::size_t pixels =
        static_cast<std::size_t>(d.picture.width()) * static_cast<std::size_t>(d.picture.height());
    if (pixels == 0 || pixels > 16 * kFuzzMaxPixels ||
        largestByte(d.picture.indices().data(), pixels) >= d.picture.palette().size())
        std::abort();
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    const std::span<const quendra::C64Format> rows = furtherRows();
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const quendra::samples::FurtherSample& s : quendra::samples::furtherSamples()) {
        const std::string_view ext = quendra::extensionOf(s.name);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (!quendra::listsExtension(rows[i], ext))
                continue;
            std::vector<std::uint8_t> seed{static_cast<std::uint8_t>(i)};
            seed.insert(seed.end(), s.bytes.begin(), s.bytes.end());
            seeds.push_back(std::move(seed));
        }
    }
    return seeds;
}
