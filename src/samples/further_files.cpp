#include "samples/further_files.h"

#include <algorithm>

#include "samples/bitmap_files.h"
#include "samples/further_pictures.h"

namespace quendra::samples {

ByteVector escapeRuns(std::span<const std::uint8_t> data, std::uint8_t escape, RunCount count,
                      bool backward) {
    ByteVector in(data.begin(), data.end());
    if (backward)
        std::reverse(in.begin(), in.end());
    ByteVector out;
    const std::size_t most = count == RunCount::plusOne ? 256 : 255;
    for (std::size_t i = 0; i < in.size();) {
        const std::uint8_t v = in[i];
        std::size_t run = 1;
        while (i + run < in.size() && run < most && in[i + run] == v)
            ++run;
        if (run >= 4 || v == escape) {
            const auto n = static_cast<std::uint8_t>(count == RunCount::plusOne ? run - 1 : run);
            out.insert(out.end(), {escape, n, v});
        } else {
            out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(i),
                       in.begin() + static_cast<std::ptrdiff_t>(i + run));
        }
        i += run;
    }
    if (backward)
        std::reverse(out.begin(), out.end());
    return out;
}

ByteVector zeroFile(std::size_t length, std::uint16_t loadAddress) {
    ByteVector f(length, 0);
    f[0] = static_cast<std::uint8_t>(loadAddress & 0xFF);
    f[1] = static_cast<std::uint8_t>(loadAddress >> 8);
    return f;
}

void putBytes(ByteVector& file, std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

void putScreens(ByteVector& file, std::size_t offset, const FliLayer& layer) {
    for (std::size_t k = 0; k < 8; ++k)
        putBytes(file, offset + 1024 * k, std::span(layer.screens[k]).first(1000));
}

std::vector<FurtherSample> furtherSamples() {
    std::vector<FurtherSample> all;
    appendRoutedSamples(all);
    appendPaintSamples(all);
    appendFliSamples(all);
    appendCharSamples(all);
    appendUnderlaySamples(all);
    appendSpriteSamples(all);
    return all;
}

} // namespace quendra::samples
