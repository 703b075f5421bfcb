#include "mime/disk_types.h"

#include <string_view>

#include "decode/disk_image.h"

namespace quendra::mime {

namespace {

struct DiskMagic {
    std::string_view type;
    std::string_view globs[2];
    // Where the directory's header says what the disk is: the link to the first
    // directory sector, the DOS version and, for the 1541's and 1571's, the sides.
    std::string_view value;
    std::size_t offset;
};

constexpr DiskMagic kMagic[] = {
    {"application/x-d64", {"*.d64"}, "\\x12\\x01\\x41\\x00", 0x16500},
    {"application/x-d71", {"*.d71"}, "\\x12\\x01\\x41\\x80", 0x16500},
    {"application/x-d81", {"*.d81"}, "\\x28\\x03\\x44\\x00", 0x61800},
    {"application/x-t64", {"*.t64"}, "C64", 0},
    {"application/x-pc64", {"*.[psur][0-9][0-9]"}, "C64File\\x00", 0},
};

} // namespace

std::string diskTypesXml() {
    std::string xml;
    for (const DiskContainer& container : diskContainers()) {
        for (const DiskMagic& magic : kMagic) {
            if (magic.type != container.mimeType)
                continue;
            xml += "  <mime-type type=\"" + std::string(magic.type) + "\">\n";
            xml += "    <comment>Commodore 64 " + std::string(container.name) + "</comment>\n";
            xml += "    <generic-icon name=\"media-floppy\"/>\n";
            xml += "    <magic>\n      <match type=\"string\" value=\"" +
                   std::string(magic.value) + "\" offset=\"" + std::to_string(magic.offset) +
                   "\"/>\n    </magic>\n";
            for (std::string_view glob : magic.globs) {
                if (!glob.empty())
                    xml += "    <glob pattern=\"" + std::string(glob) + "\"/>\n";
            }
            xml += "  </mime-type>\n";
        }
    }
    return xml;
}

std::string diskMimeList() {
    std::string list;
    for (const DiskContainer& container : diskContainers())
        list += std::string(container.mimeType) + ";";
    return list;
}

} // namespace quendra::mime
