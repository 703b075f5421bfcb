// Names as file names: C64 names from disk and tape images (what the converter writes and
// the viewer proposes for an entry, and the folder made from an image's name), and the C64
// habit of naming a file by its format's prefix.
#include <gtest/gtest.h>

#include <tuple>

#include "decode/c64_names.h"
#include "decode/disk_pictures.h"

namespace quendra {
namespace {

TEST(DiskNames, C64NamesBecomeSafeFileNames) {
    const std::pair<const char*, const char*> names[] = {
        {"FERRARI", "FERRARI"},
        {"EYE FULL", "EYE FULL"},
        {"C/COVER", "C_COVER"},
        {"-RF", "_-RF"},
        {".HIDDEN", "_.HIDDEN"},
        {"..", "_.."},
        {".", "_."},
        {"", "_"},
        {"A\x01\x7F"
         "B",
         "A__B"},
        {"A\xC2\x85"
         "B",
         "A_B"}, // a C1 control
        {"♠♥", "♠♥"},
        // Padding: spaces and shifted spaces at the end go, those inside stay.
        {"PIC A MEAN    ", "PIC A MEAN"},
        {"[B]HEMAN\xC2\xA0\xC2\xA0 \xC2\xA0", "[B]HEMAN"},
        {"EYE\xC2\xA0"
         "FULL",
         "EYE\xC2\xA0"
         "FULL"},
        {"    ", "_"},
    };
    for (const auto& [c64, file] : names)
        EXPECT_EQ(safeFileName(c64), file) << c64;
}

// Padding plays no part in the name an entry is read under.
TEST(DiskNames, PaddedEntriesAreReadUnderTheirNames) {
    const std::tuple<const char*, const char*, const char*> entries[] = {
        {"\x81PIC A MEAN  \xA0", "PIC A MEAN  \xC2\xA0", "PIC A MEAN.koa"},
        {"COVER.GB2  ", "COVER.GB2  ", "COVER.GB2.gb"},
        {"PIC.KOA \xA0 ", "PIC.KOA \xC2\xA0 ", "PIC.KOA"},
        {"A/B", "A/B", "A_B"},
    };
    for (const auto& [petscii, name, pictureName] : entries) {
        DiskEntry entry;
        entry.petsciiName = petscii;
        entry.name = name;
        EXPECT_EQ(pictureNameOf(entry), pictureName) << name;
    }
}

TEST(DiskNames, C64StyleNamesAreNamedByTheirPrefix) {
    const std::pair<const char*, bool> names[] = {
        {"pi.worldmap", true}, {"MPIC.Face", true},   {"x.y/pi.world.map", true},
        {"pi.koa", false},     {"x.worldmap", false}, {"pi.d64", false},
        {".pi", false},        {"pi", false},
    };
    for (const auto& [name, c64Style] : names)
        EXPECT_EQ(isC64StyleName(name), c64Style) << name;
}

} // namespace
} // namespace quendra
