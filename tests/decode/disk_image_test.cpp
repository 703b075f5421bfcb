// Disk and tape images: the real ones in ../shared/real-samples/disks, and images made
// here with one defect each.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>

#include "decode/disk_pictures.h"
#include "decode/petscii.h"
#include "shared_folder.h"

namespace quendra {
namespace {

namespace fs = std::filesystem;

const fs::path kRealDisks = testing::sharedFolder("real-samples/disks");

std::uint32_t fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t h = 2166136261u;
    for (std::uint8_t b : bytes)
        h = (h ^ b) * 16777619u;
    return h;
}

const DiskEntry* entryNamed(const DiskImage& image, std::string_view name) {
    for (const DiskEntry& e : image.entries()) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

// Opens the image on another thread and fails (ending the program) when it takes too
// long: a defect must never make the reader hang.
OpenedDisk openWithin(std::vector<std::uint8_t> bytes, std::string name) {
    auto future = std::async(std::launch::async, [&] { return openDiskImage(bytes, name); });
    if (future.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << name << " hangs";
        std::_Exit(1);
    }
    return future.get();
}

struct RealDisk {
    const char* file;
    const char* container;
    std::size_t entries;
    std::size_t deleted; // DEL separator entries
    std::size_t pictures;
    const char* firstPicture;
};

TEST(DiskImage, RealImagesListTheirEntriesAndPictures) {
    QUENDRA_NEED_FOLDER(kRealDisks);
    const RealDisk disks[] = {
        {"PicturesAndSource.d64", "D64 disk image", 17, 0, 15, "FERRARI"},
        {"Printfox_v1.3b1.d64", "D64 disk image", 76, 14, 5, "FOXI"},
        {"Printfox_v1.2_2025_cs.d81", "D81 disk image", 60, 13, 3, "FOXI"},
        {"WeComeInPeace.d64", "D64 disk image", 1, 0, 0, ""},
        {"kikstart_iii-wrong-end-address.t64", "T64 tape image", 1, 0, 0, ""},
    };
    for (const RealDisk& disk : disks) {
        SCOPED_TRACE(disk.file);
        const OpenedDisk opened = readDiskImage(kRealDisks / disk.file);
        ASSERT_TRUE(opened.image) << opened.error;
        EXPECT_EQ(opened.image->container().name, disk.container);
        EXPECT_EQ(opened.image->entries().size(), disk.entries);
        std::size_t deleted = 0, pictures = 0;
        std::string first;
        for (const DiskEntry& e : opened.image->entries()) {
            deleted += e.type == C64FileType::Del;
            if (decodeEntry(*opened.image, e, {}).format) {
                if (pictures++ == 0)
                    first = e.name;
            }
        }
        EXPECT_EQ(deleted, disk.deleted);
        EXPECT_EQ(pictures, disk.pictures);
        EXPECT_EQ(first, disk.firstPicture);
    }
}

TEST(DiskImage, RealEntriesHoldTheBytesOfTheirChainsAndTheirOddities) {
    QUENDRA_NEED_FOLDER(kRealDisks);
    // Checksums of the files taken from the images by a separate program.
    struct Extracted {
        const char* disk;
        const char* entry;
        std::uint64_t length;
        std::uint32_t fnv;
        const char* extension; // the same bytes as a file are read with it
    };
    for (const Extracted& x : {Extracted{"PicturesAndSource.d64", "FERRARI", 10003, 0x51d6ae2f, ".koa"},
                               Extracted{"Printfox_v1.3b1.d64", "DISKHUELLE.GB1", 1186, 0x57fd998a, ".gb"}}) {
        SCOPED_TRACE(x.entry);
        const OpenedDisk opened = readDiskImage(kRealDisks / x.disk);
        ASSERT_TRUE(opened.image);
        const DiskEntry* entry = entryNamed(*opened.image, x.entry);
        ASSERT_TRUE(entry);
        const std::vector<std::uint8_t> bytes = opened.image->read(*entry);
        EXPECT_EQ(entry->length, x.length);
        EXPECT_EQ(bytes.size(), x.length);
        EXPECT_EQ(fnv1a(bytes), x.fnv);
        // The picture is the one the extracted file gives.
        const fs::path file = fs::temp_directory_path() / (std::string("quendra-disk-") +
                                                          std::to_string(::getpid()) + x.extension);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        const Decoded fromFile = decodeFile(file, {});
        fs::remove(file);
        const EntryPicture fromDisk = decodeEntry(*opened.image, *entry, {});
        ASSERT_TRUE(fromFile.accepted && fromDisk.format);
        EXPECT_EQ(fromDisk.decoded.picture, fromFile.picture);
    }
    const OpenedDisk censor = readDiskImage(kRealDisks / "WeComeInPeace.d64");
    ASSERT_TRUE(censor.image);
    EXPECT_NE(censor.image->entries()[0].note.find("the directory says 9 blocks"), std::string::npos);
    const OpenedDisk tape = readDiskImage(kRealDisks / "kikstart_iii-wrong-end-address.t64");
    ASSERT_TRUE(tape.image);
    EXPECT_EQ(tape.image->notes().at(0), "the header says 0 entries are used, 1 is");
    EXPECT_EQ(tape.image->entries()[0].length, 32090u - 1024 + 2);
    EXPECT_NE(tape.image->entries()[0].note.find("end address $C3C6 is wrong"), std::string::npos);
}

TEST(DiskImage, PetsciiNamesReadAsTheC64ShowsThem) {
    EXPECT_EQ(petsciiToUnicode("\x81PIC A FERRARI"), "PIC A FERRARI");
    EXPECT_EQ(petsciiToUnicode("\xC1\xD3\xDA\xD8 \x5C\x5E\xFF"), "♠♥♦♣ £↑π");
    EXPECT_EQ(petsciiToUnicode("\xA6\xB0\xDD"), "▒┌│");
    EXPECT_EQ(cutPadding("EYE\xA0" "FULL\xA0\xA0"), "EYE\xA0" "FULL");
    EXPECT_EQ(extensionByC64Name("\x81PIC B TIGER"), ".koa");
    EXPECT_EQ(extensionByC64Name("DDMOUNTAIN"), ".dd");
    EXPECT_EQ(extensionByC64Name("COVER.GB2"), ".gb");
    EXPECT_EQ(extensionByC64Name("PICTURE"), "");
}

// A blank 35-track D64 whose directory is one sector (18/1), and its editing.
struct MadeDisk {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(174848, 0);
    static int index(int track, int sector) {
        int first = 0;
        for (int t = 1; t < track; ++t)
            first += t <= 17 ? 21 : t <= 24 ? 19 : t <= 30 ? 18 : 17;
        return first + sector;
    }
    std::uint8_t* sector(int track, int sector) { return bytes.data() + index(track, sector) * 256; }
    MadeDisk() {
        sector(18, 0)[0] = 18;
        sector(18, 0)[1] = 1;
        sector(18, 1)[1] = 0xFF;
    }
    void entry(int slot, std::uint8_t type, int track, int sec, std::string_view name, int blocks) {
        std::uint8_t* e = sector(18, 1) + slot * 32;
        e[2] = type;
        e[3] = static_cast<std::uint8_t>(track);
        e[4] = static_cast<std::uint8_t>(sec);
        std::fill_n(e + 5, 16, 0xA0);
        std::copy(name.begin(), name.end(), e + 5);
        e[30] = static_cast<std::uint8_t>(blocks);
    }
    void link(int track, int sec, int nextTrack, int nextSector) {
        sector(track, sec)[0] = static_cast<std::uint8_t>(nextTrack);
        sector(track, sec)[1] = static_cast<std::uint8_t>(nextSector);
    }
};

TEST(DiskImage, EveryDefectGivesANoteNotAHang) {
    struct Case {
        const char* what;
        void (*make)(MadeDisk&);
        const char* note; // on the last entry, or on the image when no entry has it
    };
    const Case cases[] = {
        {"a file chain that loops",
         [](MadeDisk& d) {
             d.entry(0, 0x82, 17, 0, "LOOP", 2);
             d.link(17, 0, 17, 1);
             d.link(17, 1, 17, 0);
         },
         "the sector chain loops back to track 17, sector 0"},
        {"a link to a track the disk lacks",
         [](MadeDisk& d) {
             d.entry(0, 0x82, 17, 0, "FAR", 2);
             d.link(17, 0, 36, 0);
         },
         "the sector chain leads outside the disk (track 36, sector 0)"},
        {"a link to a sector the track lacks",
         [](MadeDisk& d) { d.entry(0, 0x82, 31, 17, "FAR", 1); },
         "the sector chain leads outside the disk (track 31, sector 17)"},
        {"two files starting at one sector",
         [](MadeDisk& d) {
             d.entry(0, 0x82, 17, 0, "ONE", 1);
             d.entry(1, 0x82, 17, 0, "TWO", 1);
             d.link(17, 0, 0, 10);
         },
         "cross-linked: shares track 17, sector 0 with ONE"},
        {"a file inside the directory",
         [](MadeDisk& d) { d.entry(0, 0x82, 18, 0, "----", 1); },
         "the sector chain runs into the directory (track 18, sector 0)"},
        {"a block count the chain does not have",
         [](MadeDisk& d) {
             d.entry(0, 0x82, 17, 0, "SHORT", 9);
             d.link(17, 0, 0, 10);
         },
         "the directory says 9 blocks, the sector chain has 1"},
        {"a directory that loops",
         [](MadeDisk& d) {
             d.entry(0, 0x82, 17, 0, "A", 1);
             d.link(17, 0, 0, 10);
             d.link(18, 1, 18, 1);
         },
         "the directory loops back to track 18, sector 1; the rest of it is ignored"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MadeDisk disk;
        c.make(disk);
        const OpenedDisk opened = openWithin(disk.bytes, "made.d64");
        ASSERT_TRUE(opened.image) << opened.error;
        ASSERT_FALSE(opened.image->entries().empty());
        const DiskEntry& last = opened.image->entries().back();
        const std::string notes = opened.image->notes().empty() ? last.note
                                                                : opened.image->notes().front();
        EXPECT_EQ(notes, c.note);
        EXPECT_LE(opened.image->read(last).size(), 174848u);
    }
}

TEST(DiskImage, ImagesOfOtherSizesAndHeadersAreRefusedOrBounded) {
    MadeDisk disk;
    disk.bytes.resize(174000);
    EXPECT_EQ(openWithin(disk.bytes, "cut.d64").error,
              "not a D64 disk image: 174000 bytes, where one has 174848, 175531, 196608, "
              "197376, 205312 or 206114");
    EXPECT_FALSE(openWithin({}, "empty.d81").image);

    // A 40-track image with its error bytes: a file on track 38 whose sector was unreadable.
    std::vector<std::uint8_t> longer(197376, 0);
    auto at = [&](int t, int s) { return longer.data() + MadeDisk::index(t, s) * 256; };
    at(18, 0)[0] = 18;
    at(18, 0)[1] = 1;
    at(18, 1)[1] = 0xFF;
    at(18, 1)[2] = 0x82;
    at(18, 1)[3] = 38;
    at(18, 1)[5] = 'X';
    at(18, 1)[30] = 1;
    at(38, 0)[1] = 101; // 100 bytes
    longer[768 * 256 + static_cast<std::size_t>(MadeDisk::index(38, 0))] = 5;
    const OpenedDisk forty = openWithin(longer, "forty.D64");
    ASSERT_TRUE(forty.image) << forty.error;
    EXPECT_EQ(forty.image->entries()[0].length, 100u);
    EXPECT_EQ(forty.image->entries()[0].note,
              "track 38, sector 0 could not be read from the original disk (error code 5)");

    // A tape whose entry's data lies beyond the archive, and a PC64 wrapper.
    std::vector<std::uint8_t> tape(64 + 32 + 10, 0);
    std::copy_n("C64 tape image file", 19, tape.begin());
    tape[0x22] = 1;
    tape[0x24] = 1;
    tape[64] = 1;
    tape[65] = 0x82;
    tape[64 + 8] = 0xFF;
    tape[64 + 9] = 0xFF;
    const OpenedDisk t64 = openWithin(tape, "t.t64");
    ASSERT_TRUE(t64.image);
    EXPECT_EQ(t64.image->entries()[0].note, "its data would lie outside the archive (offset 65535)");
    EXPECT_TRUE(t64.image->read(t64.image->entries()[0]).empty());

    std::vector<std::uint8_t> p00(26 + 3, 0);
    std::copy_n("C64File\0DDSKY", 13, p00.begin());
    p00[26] = 0x00;
    p00[27] = 0x5C;
    const OpenedDisk pc64 = openWithin(p00, "ddsky.p00");
    ASSERT_TRUE(pc64.image);
    EXPECT_EQ(pc64.image->entries()[0].name, "DDSKY");
    EXPECT_EQ(pc64.image->read(pc64.image->entries()[0]).size(), 3u);
    EXPECT_FALSE(openWithin(p00, "ddsky.s00").error.size());
    p00[0] = 'X';
    EXPECT_FALSE(openWithin(p00, "ddsky.p00").image);
}

// A T64 archive of `count` entries, entry i's data at offsets(i), each with the end
// address $0801 (wrong), behind `data` bytes of data.
std::vector<std::uint8_t> madeTape(std::size_t count, std::size_t data,
                                   const std::function<std::uint32_t(std::size_t)>& offsetOf) {
    std::vector<std::uint8_t> tape(64 + 32 * count + data, 0);
    std::copy_n("C64 tape image file", 19, tape.begin());
    tape[0x22] = static_cast<std::uint8_t>(count);
    tape[0x23] = static_cast<std::uint8_t>(count >> 8);
    tape[0x24] = tape[0x22];
    tape[0x25] = tape[0x23];
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* e = tape.data() + 64 + 32 * i;
        e[0] = 1;
        e[1] = 0x82;
        e[2] = 0x01; // $0801
        e[3] = 0x08;
        e[4] = 0x01; // $0801: no bytes
        e[5] = 0x08;
        const std::uint32_t offset = offsetOf(i);
        for (int k = 0; k < 4; ++k)
            e[8 + k] = static_cast<std::uint8_t>(offset >> (8 * k));
        const std::string name = "E" + std::to_string(i);
        std::fill_n(e + 16, 16, 0x20);
        std::copy(name.begin(), name.end(), e + 16);
    }
    return tape;
}

TEST(DiskImage, ImagesThatClaimMoreThanARealOneHoldsAreBounded) {
    // 65,535 entries sharing one block of data larger than the C64's memory.
    const std::size_t slots = 65535, directoryEnd = 64 + 32 * slots;
    const OpenedDisk shared =
        openWithin(madeTape(slots, 100000, [&](std::size_t) { return directoryEnd; }), "s.t64");
    ASSERT_TRUE(shared.image) << shared.error;
    const auto& entries = shared.image->entries();
    ASSERT_EQ(entries.size(), kT64Entries);
    EXPECT_EQ(shared.image->notes().front(),
              "more than 1024 entries are used; the rest are ignored");
    EXPECT_EQ(entries[0].length, 2u + 0x10000 - 0x0801);
    EXPECT_EQ(entries[0].note, "the end address $0801 is wrong; read 63487 bytes up to the end "
                               "of the C64's memory");
    EXPECT_EQ(entries[1023].note.substr(0, 25), "shares its data with E0; ");
    EXPECT_EQ(shared.image->read(entries[1023], 100).size(), 100u);

    // Entries whose data lie in the reverse of their order: each ends where the next above
    // its own begins.
    const OpenedDisk reversed = openWithin(
        madeTape(1000, 16000, [](std::size_t i) { return 64 + 32 * 1000 + 16 * (999 - i); }),
        "r.t64");
    ASSERT_TRUE(reversed.image);
    EXPECT_EQ(reversed.image->entries()[5].note,
              "the end address $0801 is wrong; read 16 bytes up to the next file");
    EXPECT_EQ(reversed.image->entries()[0].note,
              "the end address $0801 is wrong; read 16 bytes up to the end of the archive");

    // A D81 whose directory runs on through 1,600 sectors, 12,800 entries all on one chain
    // through 1,560 sectors; a D64's through 19 sectors.
    std::vector<std::uint8_t> d81(819200, 0);
    auto at = [&](int t, int s) { return d81.data() + ((t - 1) * 40 + s) * 256; };
    at(40, 0)[0] = 41;
    for (int n = 0; n < 1600; ++n) {
        std::uint8_t* sector = at(41 + n / 40, n % 40);
        sector[0] = n + 1 < 1600 ? static_cast<std::uint8_t>(41 + (n + 1) / 40) : 0;
        sector[1] = static_cast<std::uint8_t>((n + 1) % 40);
        for (int slot = 0; slot < 8; ++slot) {
            sector[slot * 32 + 2] = 0x82;
            sector[slot * 32 + 3] = 1;
            std::fill_n(sector + slot * 32 + 5, 16, 0xA0);
            sector[slot * 32 + 5] = 'X';
        }
    }
    for (int n = 0; n + 1 < 1560; ++n) {
        at(1 + n / 40, n % 40)[0] = static_cast<std::uint8_t>(1 + (n + 1) / 40);
        at(1 + n / 40, n % 40)[1] = static_cast<std::uint8_t>((n + 1) % 40);
    }
    at(39, 39)[1] = 0xFF;
    const OpenedDisk crossed = openWithin(d81, "x.d81");
    ASSERT_TRUE(crossed.image) << crossed.error;
    EXPECT_EQ(crossed.image->entries().size(), kD81DirectoryEntries);
    EXPECT_EQ(crossed.image->notes().front(), "the directory holds more than the 296 entries a "
                                              "D81 has room for; the rest of it is ignored");
    EXPECT_EQ(crossed.image->entries()[1].note.substr(0, 45),
              "cross-linked: shares track 1, sector 0 with X");

    MadeDisk d64;
    for (int n = 1; n <= 19; ++n) {
        std::uint8_t* sector = d64.sector(n < 19 ? 18 : 19, n < 19 ? n : 0);
        sector[0] = n < 18 ? 18 : n == 18 ? 19 : 0;
        sector[1] = static_cast<std::uint8_t>(n < 18 ? n + 1 : 0);
        for (int slot = 0; slot < 8; ++slot)
            sector[slot * 32 + 2] = 0x80;
    }
    const OpenedDisk full = openWithin(d64.bytes, "full.d64");
    ASSERT_TRUE(full.image);
    EXPECT_EQ(full.image->entries().size(), kD64DirectoryEntries);
    EXPECT_EQ(full.image->notes().front(), "the directory holds more than the 144 entries a "
                                           "D64 has room for; the rest of it is ignored");
}

} // namespace
} // namespace quendra
