// T64 tape archives: a 64-byte header ("C64…", version, the directory's size and the
// number of entries used, the tape's name), then 32-byte directory entries (kind, C64
// file type, start and end address, the offset of the data in the archive, the name),
// then the files' data without their load addresses.
//
// Real archives lie: many say 0 entries are used (or 1 for many) and many give $C3C6 or
// another wrong end address. So every directory slot is read, and a file's length is
// bounded by the next file's data and the archive's end.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "decode/counted.h"
#include "decode/disk_image.h"
#include "decode/petscii.h"

namespace quendra {

namespace {

unsigned word(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

std::string hexAddress(unsigned address) {
    char text[8];
    std::snprintf(text, sizeof text, "$%04X", address & 0xFFFF);
    return text;
}

std::string_view cutSpaces(std::string_view name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0' ||
                             static_cast<std::uint8_t>(name.back()) == 0xA0))
        name.remove_suffix(1);
    return name;
}

} // namespace

std::string readT64(DiskImage& image) {
    const std::vector<std::uint8_t>& bytes = image.bytes();
    const std::size_t size = bytes.size();
    if (size < 64 || bytes[0] != 'C' || bytes[1] != '6' || bytes[2] != '4')
        return "not a T64 tape image: it does not begin with \"C64\" and a 64-byte header";
    const std::uint8_t* header = bytes.data();
    image.title_ = petsciiToUnicode(
        cutSpaces(std::string_view(reinterpret_cast<const char*>(header + 0x28), 24)));
    const unsigned slotsSaid = word(header + 0x22);
    const unsigned usedSaid = word(header + 0x24);
    const std::size_t room = (size - 64) / 32;
    const std::size_t slots = std::min<std::size_t>(std::max(slotsSaid, 1u), room);

    struct Slot {
        std::size_t entry;
        std::uint32_t offset;
        unsigned start, end;
    };
    std::vector<Slot> found;
    bool tooMany = false;
    for (std::size_t i = 0; i < slots; ++i) {
        const std::uint8_t* e = header + 64 + i * 32;
        if (e[0] == 0)
            continue; // a free slot
        if (found.size() == kT64Entries) {
            image.notes_.push_back("more than " + std::to_string(kT64Entries) +
                                   " entries are used; the rest are ignored");
            tooMany = true;
            break;
        }
        DiskEntry entry;
        const std::string_view raw(reinterpret_cast<const char*>(e + 16), 16);
        entry.petsciiName = std::string(cutSpaces(raw));
        entry.name = petsciiToUnicode(entry.petsciiName);
        switch ((e[1] & 0x80) ? (e[1] & 0x07) : 2) {
        case 0: entry.type = C64FileType::Del; break;
        case 1: entry.type = C64FileType::Seq; break;
        case 2: entry.type = C64FileType::Prg; break;
        case 3: entry.type = C64FileType::Usr; break;
        case 4: entry.type = C64FileType::Rel; break;
        default: entry.type = C64FileType::Unknown; break;
        }
        found.push_back({image.entries_.size(),
                         static_cast<std::uint32_t>(e[8] | (e[9] << 8) | (e[10] << 16) |
                                                    (static_cast<std::uint32_t>(e[11]) << 24)),
                         word(e + 2), word(e + 4)});
        image.entries_.push_back(std::move(entry));
    }
    if (found.size() != usedSaid && !tooMany) {
        image.notes_.push_back("the header says " + counted(usedSaid, "entry is", "entries are") +
                               " used, " + std::to_string(found.size()) +
                               (found.size() == 1 ? " is" : " are"));
    }

    // The entries by their data's offset, in the directory's order where they share it:
    // a file's data ends where the next offset above its own begins.
    std::vector<std::size_t> byOffset(found.size());
    for (std::size_t i = 0; i < byOffset.size(); ++i)
        byOffset[i] = i;
    std::stable_sort(byOffset.begin(), byOffset.end(), [&](std::size_t a, std::size_t b) {
        return found[a].offset < found[b].offset;
    });
    std::size_t sharer = 0; // the first of the entries at this offset
    for (std::size_t k = 0, next = 0; k < byOffset.size(); ++k) {
        const Slot& slot = found[byOffset[k]];
        DiskEntry& entry = image.entries_[slot.entry];
        if (k == 0 || found[byOffset[k - 1]].offset != slot.offset)
            sharer = slot.entry;
        else
            entry.note = "shares its data with " + image.entries_[sharer].name;
        for (next = std::max(next, k + 1);
             next < byOffset.size() && found[byOffset[next]].offset == slot.offset;)
            ++next;
        const std::size_t limit = next < byOffset.size()
                                      ? std::min<std::size_t>(found[byOffset[next]].offset, size)
                                      : size;
        if (slot.offset >= size || slot.offset < 64 + slots * 32) {
            entry.note = (slot.offset >= size ? "its data would lie outside the archive"
                                              : "its data would lie in the archive's directory") +
                         std::string(" (offset ") + std::to_string(slot.offset) + ")";
            continue;
        }
        // Never more than fits into the C64's memory from the load address on.
        const std::size_t memory = kC64Memory - slot.start;
        const std::size_t room = std::min(limit - slot.offset, memory);
        std::size_t length = slot.end > slot.start ? slot.end - slot.start : 0;
        if (length == 0 || length > room) {
            if (!entry.note.empty())
                entry.note += "; ";
            entry.note += "the end address " + hexAddress(slot.end) + " is wrong; read " +
                          std::to_string(room) + " bytes up to " +
                          (limit - slot.offset > memory ? "the end of the C64's memory"
                           : limit == size              ? "the end of the archive"
                                                        : "the next file");
            length = room;
        }
        entry.leading = {static_cast<std::uint8_t>(slot.start & 0xFF),
                         static_cast<std::uint8_t>(slot.start >> 8)};
        entry.pieces.push_back({slot.offset, static_cast<std::uint32_t>(length)});
        entry.length = 2 + length;
        entry.blocks = static_cast<unsigned>((entry.length + 253) / 254);
    }
    return {};
}

std::string readPc64(DiskImage& image, std::string_view fileName) {
    const std::vector<std::uint8_t>& bytes = image.bytes();
    constexpr std::string_view kMagic{"C64File\0", 8};
    if (bytes.size() < 26 ||
        std::string_view(reinterpret_cast<const char*>(bytes.data()), 8) != kMagic)
        return "not a PC64 file: it does not begin with \"C64File\" and a 26-byte header";
    DiskEntry entry;
    std::string_view raw(reinterpret_cast<const char*>(bytes.data() + 8), 16);
    if (const auto end = raw.find('\0'); end != std::string_view::npos)
        raw = raw.substr(0, end);
    entry.petsciiName = std::string(cutPadding(raw));
    entry.name = petsciiToUnicode(entry.petsciiName);
    const auto dot = fileName.rfind('.');
    const char letter = dot == std::string_view::npos || dot + 1 >= fileName.size()
                            ? 'p'
                            : static_cast<char>(fileName[dot + 1] | 0x20);
    entry.type = letter == 's'   ? C64FileType::Seq
                 : letter == 'u' ? C64FileType::Usr
                 : letter == 'r' ? C64FileType::Rel
                                 : C64FileType::Prg;
    entry.pieces.push_back({26, static_cast<std::uint32_t>(bytes.size() - 26)});
    entry.length = bytes.size() - 26;
    entry.blocks = static_cast<unsigned>((entry.length + 253) / 254);
    image.title_ = entry.name;
    image.entries_.push_back(std::move(entry));
    return {};
}

} // namespace quendra
