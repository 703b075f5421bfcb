#include "decode/rle.h"

#include <algorithm>
#include <cstring>

namespace quendra {

std::size_t expandRuns(Bytes in, std::span<std::uint8_t> out, std::size_t stop, RunFormat format) {
    const std::uint8_t* p = in.data();
    const std::uint8_t* const end = p + in.size();
    std::uint8_t* const first = out.data();
    std::uint8_t* const last = first + out.size();
    std::uint8_t* q = first;
    std::uint8_t* const limit = first + std::min(stop, out.size());
    while (p < end && q < limit) {
        const std::uint8_t b = *p;
        if (b != format.escape) {
            *q++ = b;
            ++p;
            continue;
        }
        if (end - p < 3)
            break; // the token is cut off by the end of the data
        const std::uint8_t count = format.countFirst ? p[1] : p[2];
        const std::uint8_t value = format.countFirst ? p[2] : p[1];
        const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(last - q));
        std::memset(q, value, n);
        q += n;
        p += 3;
    }
    return static_cast<std::size_t>(q - first);
}

std::size_t expandedSize(Bytes in, RunFormat format) {
    std::size_t size = 0;
    for (std::size_t p = 0; p < in.size();) {
        if (in[p] != format.escape) {
            ++size;
            ++p;
        } else if (in.size() - p < 3) {
            break;
        } else {
            size += format.countFirst ? in[p + 1] : in[p + 2];
            p += 3;
        }
    }
    return size;
}

} // namespace quendra
