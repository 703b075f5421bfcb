#include <gtest/gtest.h>

#include "export/save_as.h"

namespace quendra {
namespace {

TEST(SaveAsProposal, CutsThreeCharactersAndKeepsOrAddsTheDot) {
    EXPECT_EQ(proposedFileName("a.b.koa", PictureFormat::GIF), "a.b.gif");
    EXPECT_EQ(proposedFileName("a.b.gg", PictureFormat::GIF), "a.bgif");
    EXPECT_EQ(proposedFileName("PIC.KOA", PictureFormat::GIF), "PIC.gif");
    EXPECT_EQ(proposedFileName("pic.gg", PictureFormat::PNG), "pic.png");
    EXPECT_EQ(proposedFileName("/home/u/pics.d/pic.koa", PictureFormat::Godot4Bit), "pic.4bt");
    EXPECT_EQ(proposedFileName("ab", PictureFormat::TIFF), ".tif");
    EXPECT_EQ(proposedFileName("", PictureFormat::JPEG), ".jpg");
    EXPECT_EQ(proposedFileName("/pics/pi.worldmap", PictureFormat::PNG), "pi.worldmap.png");
}

TEST(SaveAsProposal, CutsCharactersNotBytes) {
    // "bild.\u00fc\u00e4\u00f6": the three umlauts are six bytes.
    EXPECT_EQ(proposedBaseName("bild.\xC3\xBC\xC3\xA4\xC3\xB6"), "bild.");
    EXPECT_EQ(proposedBaseName("m\xC3\xBC.koa"), "m\xC3\xBC.");
}

TEST(SaveAsRows, AreTestedInTheirOrderWithTheirFilters) {
    const auto rows = saveFormatRows();
    ASSERT_EQ(rows.size(), 7u);
    const char* order[] = {"tif", "gif", "bmp", "pcx", "png", "jpg", "4bt"};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].extension, order[i]);
    const SaveFormatRow& godot = saveFormatRow(PictureFormat::Godot4Bit);
    EXPECT_EQ(godot.button, "4Bit GoDot");
    EXPECT_EQ(filterDescription(godot), "4Bit-GoDot-Files (*.4bt *.4BT)");
    EXPECT_EQ(filterPattern(godot), "*.4bt *.4BT");
}

TEST(SaveFolder, StartsInTheListedFolderThenFollowsConfirmedSaves) {
    SaveFolder f;
    EXPECT_EQ(f.start("/pics/"), "/pics/");
    f.confirmed("/elsewhere/out/pic.GIF");
    EXPECT_EQ(f.start("/pics/"), "/elsewhere/out/");
    SaveFolder afterRestart;
    EXPECT_EQ(afterRestart.start("/pics/"), "/pics/");
}

} // namespace
} // namespace quendra
