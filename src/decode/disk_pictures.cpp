#include "decode/disk_pictures.h"

#include <algorithm>
#include <cstdint>

namespace quendra {

namespace {

// A name for people (UTF-8) without the spaces and shifted spaces that pad it (U+00A0, as
// petsciiToUnicode shows $A0 and $E0).
std::string_view withoutPadding(std::string_view name) {
    for (;;) {
        if (name.ends_with(' '))
            name.remove_suffix(1);
        else if (name.ends_with("\xC2\xA0"))
            name.remove_suffix(2);
        else
            return name;
    }
}

// The same of a name in PETSCII: $20 and $A0.
std::string_view withoutPetsciiPadding(std::string_view name) {
    while (name.ends_with(' ') || name.ends_with('\xA0'))
        name.remove_suffix(1);
    return name;
}

} // namespace

std::string_view extensionByC64Name(std::string_view name) {
    name = withoutPetsciiPadding(name);
    if (!name.empty() && static_cast<std::uint8_t>(name.front()) == 0x81)
        name.remove_prefix(1);
    if (name.size() >= 6 && name.starts_with("PIC ") && name[5] == ' ')
        return ".koa";
    if (name.size() > 2 && name.starts_with("DD"))
        return ".dd";
    if (name.size() > 2 && name.starts_with("JJ"))
        return ".jj";
    // Printfox: "G-NAME" for a large picture, "B-NAME" for a screen, "P-NAME" for a page
    // (the first byte of the file tells them apart all the same).
    if (name.size() > 2 && name[1] == '-' && (name[0] == 'G' || name[0] == 'B' || name[0] == 'P'))
        return ".gb";
    // Parts of one work numbered after their extension: "COVER.GB1", "COVER.GB2".
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot + 3 < name.size()) {
        const std::string_view ext = name.substr(dot + 1);
        if ((ext.starts_with("GB") || ext.starts_with("BS") || ext.starts_with("PG")) &&
            ext.find_first_not_of("0123456789", 2) == std::string_view::npos)
            return ext.starts_with("GB") ? ".gb" : ext.starts_with("BS") ? ".bs" : ".pg";
    }
    return {};
}

std::string pictureNameOf(const DiskEntry& entry) {
    std::string name(withoutPadding(entry.name));
    std::replace(name.begin(), name.end(), '/', '_');
    name += extensionByC64Name(entry.petsciiName);
    return name;
}

std::string safeFileName(std::string_view c64Name) {
    c64Name = withoutPadding(c64Name);
    std::string name;
    for (std::size_t i = 0; i < c64Name.size(); ++i) {
        const auto b = static_cast<unsigned char>(c64Name[i]);
        // The C1 controls, U+0080 to U+009F, are two bytes: $C2 and $80 to $9F.
        const bool c1 = b == 0xC2 && i + 1 < c64Name.size() &&
                        (static_cast<unsigned char>(c64Name[i + 1]) & 0xE0) == 0x80;
        i += c1 ? 1 : 0;
        name += (b == '/' || b < 0x20 || b == 0x7F || c1) ? '_' : c64Name[i];
    }
    if (name.empty() || name.front() == '-' || name.front() == '.')
        name.insert(0, "_");
    return name;
}

EntryPicture decodeEntry(const DiskImage& image, const DiskEntry& entry,
                         const DecodeOptions& options) {
    if (entry.type == C64FileType::Del || entry.length == 0) {
        EntryPicture none;
        none.decoded.reason = entry.type == C64FileType::Del ? "a DEL entry holds no file"
                                                              : "the entry is empty";
        return none;
    }
    std::vector<std::uint8_t> bytes;
    OpenedPicture opened = openEntry(image, entry, options, bytes);
    EntryPicture result; // the format only for a picture
    result.format = opened.accepted() ? opened.format : nullptr;
    result.decoded = std::move(opened.decoded);
    result.note = std::move(opened.note);
    return result;
}

OpenedPicture openEntry(const DiskImage& image, const DiskEntry& entry,
                        const DecodeOptions& options, std::vector<std::uint8_t>& buffer) {
    const std::string name = pictureNameOf(entry);
    buffer = image.read(entry, firstReadLimit(name));
    OpenedPicture opened = openPicture(buffer, entry.length, name, options);
    // A format found by content detection may read more than the name's format does.
    if (opened.format && opened.format->readLimit > buffer.size() && entry.length > buffer.size()) {
        buffer = image.read(entry, opened.format->readLimit);
        DecodeOptions again = options;
        again.fileSize = entry.length;
        if (Decoded decoded = decodeAs(*opened.format, buffer, again); decoded.accepted)
            opened.decoded = std::move(decoded);
    }
    return opened;
}

} // namespace quendra
