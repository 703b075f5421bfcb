#include "decode/c64_names.h"

#include <algorithm>
#include <string>

#include "decode/detect.h"
#include "decode/disk_image.h"
#include "decode/formats.h"

namespace quendra {

bool namesListedFormat(std::string_view extension) {
    return !extension.empty() && std::ranges::any_of(c64Formats(), [&](const C64Format& row) {
        return row.inFileMask && listsExtension(row, extension);
    });
}

bool isC64StyleName(std::string_view fileName) {
    const std::string_view prefix = c64NamePrefix(fileName);
    return !prefix.empty() && !namesListedFormat(extensionOf(fileName)) &&
           !diskContainerForName(fileName) && namesListedFormat("." + std::string(prefix));
}

} // namespace quendra
