// Disk and tape images: the D64, D71 and D81 floppy images, T64 tape archives and the PC64
// single-file wrappers (.P00, .S00, .U00). Each container's unit turns the image's bytes
// into a list of entries; an entry's bytes are then read from memory, so the whole image
// is read once. Every walk is bounded: a link outside the image, a chain that loops or
// runs into another file, a header that lies give a note on the entry (or an error for
// the image), never a hang or a read outside the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

enum class C64FileType : std::uint8_t { Del, Seq, Prg, Usr, Rel, Unknown };

// "PRG", "SEQ", …
std::string_view fileTypeName(C64FileType type);

struct DiskEntry {
    std::string name;        // for people: UTF-8, as the C64 font shows it, padding cut
    std::string petsciiName; // the C64 bytes of the name, the $A0 padding cut
    C64FileType type = C64FileType::Prg;
    bool locked = false;
    bool closed = true;
    unsigned blocks = 0;     // as the directory says
    std::uint64_t length = 0; // the bytes read() gives, as the sector chain has them
    std::string note;        // what is odd about the entry, for people; empty when nothing

    // Where the bytes are: `leading` (a tape's load address), then the pieces in order.
    struct Piece {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
    };
    std::vector<std::uint8_t> leading;
    std::vector<Piece> pieces;
};

// One kind of container, for people and for the desktop's file types.
struct DiskContainer {
    std::string_view name;          // "D64 disk image"
    std::string_view extensions;    // "d64" or "p00 … p99" as people read it
    std::string_view mimeType;      // "application/x-d64"
};

std::span<const DiskContainer> diskContainers();

class DiskImage {
  public:
    DiskImage(const DiskContainer& container, std::vector<std::uint8_t> bytes)
        : container_(&container), bytes_(std::move(bytes)) {}

    const DiskContainer& container() const { return *container_; }
    const std::string& title() const { return title_; } // the disk's or tape's name
    const std::vector<DiskEntry>& entries() const { return entries_; }
    // Notes about the image as a whole (a directory that loops, a header that lies).
    const std::vector<std::string>& notes() const { return notes_; }

    // An entry's bytes (a file as the C64 loads it: load address first for programs), or
    // its first `limit` bytes.
    std::vector<std::uint8_t> read(const DiskEntry& entry,
                                   std::size_t limit = static_cast<std::size_t>(-1)) const;

    // For the container units.
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::string title_;
    std::vector<DiskEntry> entries_;
    std::vector<std::string> notes_;

  private:
    const DiskContainer* container_;
    std::vector<std::uint8_t> bytes_;
};

struct OpenedDisk {
    std::unique_ptr<DiskImage> image; // null when the bytes are no image of their kind
    std::string error;               // then why, for people
};

// The container a file's name says (its extension, in any case); null when none.
const DiskContainer* diskContainerForName(std::string_view fileName);

// The container of the file at `path`: the one its name says, except that a name like a
// PC64 file's (.p64 is also a picture format's extension) counts only when the file begins
// with the PC64 signature "C64File". Null when none.
const DiskContainer* diskContainerForFile(const std::filesystem::path& path);

// The image in `bytes`, read as the container its file name says.
OpenedDisk openDiskImage(std::vector<std::uint8_t> bytes, std::string_view fileName);

// What a real image holds, and so all that is read of one: the directory entries of a
// D64 or D71 (18 sectors of 8 on track 18) and of a D81 (37 sectors of 8 on track 40); the
// entries of a T64 (the archives in use have 30 slots or fewer; 1024 is far more than a
// tape holds), each at most the bytes that fit into the C64's memory from its load
// address on. Whatever lies beyond is ignored with a note on the image.
inline constexpr std::size_t kD64DirectoryEntries = 144;
inline constexpr std::size_t kD81DirectoryEntries = 296;
inline constexpr std::size_t kT64Entries = 1024;
inline constexpr std::size_t kC64Memory = 0x10000;

// The largest image file read (a T64 archive may be larger than a floppy).
inline constexpr std::size_t kDiskImageReadLimit = 16u << 20;

// Reads the file (once, whole) and opens it.
OpenedDisk readDiskImage(const std::filesystem::path& path);

// The container units: each fills `image` from its bytes or returns why it cannot.
std::string readCbmDisk(DiskImage& image);   // D64, D71, D81
std::string readT64(DiskImage& image);
std::string readPc64(DiskImage& image, std::string_view fileName);

} // namespace quendra
