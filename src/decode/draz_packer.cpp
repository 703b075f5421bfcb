#include "decode/draz_packer.h"

#include <algorithm>

#include "decode/rle.h"

namespace quendra {

bool hasDrazName(Bytes file, std::string_view name) {
    return file.size() >= kDrazHeaderBytes &&
           std::equal(name.begin(), name.end(), file.begin() + 2);
}

bool unpackDraz(Bytes file, std::span<std::uint8_t> out) {
    const RunFormat format{file[kDrazHeaderBytes - 1], true};
    return expandRuns(file.subspan(kDrazHeaderBytes), out, out.size(), format) == out.size();
}

} // namespace quendra
