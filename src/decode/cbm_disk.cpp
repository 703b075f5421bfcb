// D64, D71 and D81 floppy images: 256-byte sectors, files as chains of sectors linked by
// their first two bytes (next track and sector; track 0 ends the chain and the second
// byte is the index of the last byte used), a directory of 32-byte entries on a chain of
// its own. A D64 has 35, 40 or 42 tracks of 21 to 17 sectors; a D71 is two D64 sides; a
// D81 has 80 tracks of 40 sectors. Any of them may end in one error byte per sector.
#include <array>
#include <cstdint>
#include <string>

#include "decode/disk_image.h"
#include "decode/petscii.h"

namespace quendra {

namespace {

struct Geometry {
    int tracks = 0;
    int directoryTrack = 0;
    int firstDirectorySector = 0; // where the directory begins when the header's link is bad
    std::size_t titleOffset = 0;  // of the disk's name in the header sector
    bool doubleSided = false;     // a D71: tracks 36 to 70 are a second D64 side
    bool d81 = false;

    int sectorsOn(int track) const {
        if (d81)
            return 40;
        if (doubleSided && track > 35)
            track -= 35;
        return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17;
    }
};

class Disk {
  public:
    Disk(const Geometry& geometry, const std::vector<std::uint8_t>& bytes)
        : geometry_(geometry), bytes_(bytes) {
        firstSector_.resize(static_cast<std::size_t>(geometry.tracks) + 2, 0);
        for (int t = 1; t <= geometry.tracks; ++t)
            firstSector_[static_cast<std::size_t>(t) + 1] =
                firstSector_[static_cast<std::size_t>(t)] + geometry.sectorsOn(t);
        sectors_ = firstSector_[static_cast<std::size_t>(geometry.tracks) + 1];
    }
    int sectors() const { return sectors_; }
    bool hasErrorBytes() const {
        return bytes_.size() == static_cast<std::size_t>(sectors_) * 257;
    }
    // The sector's number on the disk, or -1 when the disk has no such sector.
    int index(int track, int sector) const {
        if (track < 1 || track > geometry_.tracks || sector < 0 ||
            sector >= geometry_.sectorsOn(track))
            return -1;
        return firstSector_[static_cast<std::size_t>(track)] + sector;
    }
    const std::uint8_t* sector(int index) const {
        return bytes_.data() + static_cast<std::size_t>(index) * 256;
    }
    std::uint8_t errorCode(int index) const {
        return hasErrorBytes() ? bytes_[static_cast<std::size_t>(sectors_) * 256 +
                                        static_cast<std::size_t>(index)]
                               : 1;
    }

  private:
    const Geometry& geometry_;
    const std::vector<std::uint8_t>& bytes_;
    std::vector<int> firstSector_; // by track: the number of its sector 0
    int sectors_ = 0;
};

std::string where(int track, int sector) {
    return "track " + std::to_string(track) + ", sector " + std::to_string(sector);
}

C64FileType typeOf(std::uint8_t typeByte) {
    switch (typeByte & 0x0F) {
    case 0: return C64FileType::Del;
    case 1: return C64FileType::Seq;
    case 2: return C64FileType::Prg;
    case 3: return C64FileType::Usr;
    case 4: return C64FileType::Rel;
    default: return C64FileType::Unknown;
    }
}

void addNote(DiskEntry& entry, const std::string& note) {
    if (!entry.note.empty())
        entry.note += "; ";
    entry.note += note;
}

constexpr int kFree = -1;
constexpr int kDirectory = -2;

// Follows an entry's sector chain from (track, sector) and fills its pieces and notes.
// `owner` says, per sector, which entry read it first (or the directory).
void followChain(const Disk& disk, DiskEntry& entry, int self, int track, int sector,
                 std::vector<int>& owner, std::vector<int>& visitedBy,
                 const std::vector<DiskEntry>& entries) {
    bool crossed = false, unreadable = false, endedWell = false;
    unsigned blocks = 0;
    for (int step = 0; step <= disk.sectors(); ++step) {
        const int at = disk.index(track, sector);
        if (at < 0) {
            addNote(entry, "the sector chain leads outside the disk (" + where(track, sector) +
                               ")");
            break;
        }
        if (visitedBy[static_cast<std::size_t>(at)] == self) {
            addNote(entry, "the sector chain loops back to " + where(track, sector));
            break;
        }
        visitedBy[static_cast<std::size_t>(at)] = self;
        int& first = owner[static_cast<std::size_t>(at)];
        if (first == kDirectory) {
            addNote(entry, "the sector chain runs into the directory (" + where(track, sector) +
                               ")");
            break;
        }
        if (first >= 0 && first != self && !crossed) {
            crossed = true;
            addNote(entry, "cross-linked: shares " + where(track, sector) + " with " +
                               entries[static_cast<std::size_t>(first)].name);
        }
        if (first == kFree)
            first = self;
        if (const std::uint8_t code = disk.errorCode(at); code > 1 && !unreadable) {
            unreadable = true;
            addNote(entry, where(track, sector) + " could not be read from the original disk "
                           "(error code " + std::to_string(code) + ")");
        }
        const std::uint8_t* data = disk.sector(at);
        ++blocks;
        const auto offset = static_cast<std::uint32_t>(at) * 256 + 2;
        if (data[0] == 0) {
            const std::uint32_t used = data[1] >= 2 ? data[1] - 1u : 0u;
            entry.pieces.push_back({offset, used});
            endedWell = true;
            break;
        }
        entry.pieces.push_back({offset, 254});
        track = data[0];
        sector = data[1];
    }
    for (const DiskEntry::Piece& piece : entry.pieces)
        entry.length += piece.size;
    if (endedWell && blocks != entry.blocks) {
        addNote(entry, "the directory says " + std::to_string(entry.blocks) +
                           " blocks, the sector chain has " + std::to_string(blocks));
    }
}

} // namespace

std::string readCbmDisk(DiskImage& image) {
    const std::string_view kind = image.container().name;
    const std::size_t size = image.bytes().size();
    Geometry geometry;
    if (kind.starts_with("D81")) {
        geometry = {.tracks = 80, .directoryTrack = 40, .firstDirectorySector = 3,
                    .titleOffset = 0x04, .d81 = true};
    } else if (kind.starts_with("D71")) {
        geometry = {.tracks = 70, .directoryTrack = 18, .firstDirectorySector = 1,
                    .titleOffset = 0x90, .doubleSided = true};
    } else {
        geometry = {.tracks = 35, .directoryTrack = 18, .firstDirectorySector = 1,
                    .titleOffset = 0x90};
        for (int tracks : {40, 42}) {
            const Geometry longer{.tracks = tracks, .directoryTrack = 18,
                                  .firstDirectorySector = 1, .titleOffset = 0x90};
            const std::size_t sectors = static_cast<std::size_t>(Disk(longer, image.bytes()).sectors());
            if (size == sectors * 256 || size == sectors * 257)
                geometry = longer;
        }
    }
    const Disk disk(geometry, image.bytes());
    const auto sectors = static_cast<std::size_t>(disk.sectors());
    if (size != sectors * 256 && size != sectors * 257) {
        std::string sizes;
        if (geometry.d81 || geometry.doubleSided)
            sizes = std::to_string(sectors * 256) + " or " + std::to_string(sectors * 257);
        else
            sizes = "174848, 175531, 196608, 197376, 205312 or 206114";
        return "not a " + std::string(kind) + ": " + std::to_string(size) +
               " bytes, where one has " + sizes;
    }

    std::vector<int> owner(sectors, kFree);
    std::vector<int> visitedBy(sectors, kFree);
    const int header = disk.index(geometry.directoryTrack, 0);
    owner[static_cast<std::size_t>(header)] = kDirectory;
    if (geometry.d81) { // and its two BAM sectors
        owner[static_cast<std::size_t>(header) + 1] = kDirectory;
        owner[static_cast<std::size_t>(header) + 2] = kDirectory;
    }
    const std::uint8_t* headerBytes = disk.sector(header);
    image.title_ = petsciiToUnicode(cutPadding(std::string_view(
        reinterpret_cast<const char*>(headerBytes + geometry.titleOffset), 16)));

    int track = headerBytes[0], sector = headerBytes[1];
    if (disk.index(track, sector) < 0 || disk.index(track, sector) == header) {
        track = geometry.directoryTrack;
        sector = geometry.firstDirectorySector;
    }
    struct Start {
        int track, sector;
    };
    std::vector<Start> starts;
    // Every sector's chain may run through the whole disk: the entries are bounded by the
    // room of a real directory, and so is the work.
    const std::size_t entryBound = geometry.d81 ? kD81DirectoryEntries : kD64DirectoryEntries;
    bool tooMany = false;
    for (std::size_t step = 0; track != 0 && step <= sectors; ++step) {
        const int at = disk.index(track, sector);
        if (at < 0) {
            image.notes_.push_back("the directory leads outside the disk (" +
                                   where(track, sector) + "); the rest of it is lost");
            break;
        }
        if (owner[static_cast<std::size_t>(at)] == kDirectory) {
            image.notes_.push_back("the directory loops back to " + where(track, sector) +
                                   "; the rest of it is ignored");
            break;
        }
        owner[static_cast<std::size_t>(at)] = kDirectory;
        const std::uint8_t* data = disk.sector(at);
        for (int slot = 0; slot < 8; ++slot) {
            const std::uint8_t* e = data + slot * 32;
            if (e[2] == 0)
                continue; // an empty or scratched slot
            if (image.entries_.size() == entryBound) {
                tooMany = true;
                break;
            }
            DiskEntry entry;
            const std::string_view raw(reinterpret_cast<const char*>(e + 5), 16);
            entry.petsciiName = std::string(cutPadding(raw));
            entry.name = petsciiToUnicode(entry.petsciiName);
            entry.type = typeOf(e[2]);
            entry.locked = (e[2] & 0x40) != 0;
            entry.closed = (e[2] & 0x80) != 0;
            entry.blocks = e[30] | (e[31] << 8);
            image.entries_.push_back(std::move(entry));
            starts.push_back({e[3], e[4]});
        }
        if (tooMany) {
            image.notes_.push_back(
                "the directory holds more than the " + std::to_string(entryBound) + " entries a " +
                std::string(kind.substr(0, 3)) + " has room for; the rest of it is ignored");
            break;
        }
        track = data[0];
        sector = data[1];
    }
    if (image.entries_.empty() && !image.notes_.empty())
        return "the directory cannot be read: " + image.notes_.front();

    std::vector<DiskEntry>& entries = image.entries_;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        DiskEntry& entry = entries[i];
        if (!entry.closed)
            addNote(entry, "not closed: the program writing it did not finish");
        // DEL entries hold no file: disks use them as separator lines.
        if (entry.type == C64FileType::Del)
            continue;
        followChain(disk, entry, static_cast<int>(i), starts[i].track, starts[i].sector, owner,
                    visitedBy, entries);
    }
    return {};
}

} // namespace quendra
