#include "app/command_states.h"

#include <gtest/gtest.h>

#include "decode/formats.h"

namespace quendra {
namespace {

bool pictureCommands(const CommandStates& s) {
    return s.saveAs && s.flip && s.rotate && s.turn && s.zoomIn;
}

TEST(CommandStates, AReadingTurnsThePictureCommandsOffAndBackOn) {
    CommandStates s; // start: nothing shown
    EXPECT_FALSE(s.saveAs || s.flip || s.rotate || s.turn || s.zoomIn || s.zoomOut || s.origSize ||
                 s.grey);
    EXPECT_TRUE(s.godot && s.fileList);

    // A zoomed picture, then a reading: ZoomOut and OrigSize are not touched.
    s.saveAs = s.flip = s.rotate = s.turn = s.zoomIn = s.zoomOut = s.origSize = s.grey = true;
    const C64Format& koala = formatForFile("a.koa");
    readingStarts(s, koala);
    EXPECT_FALSE(s.saveAs || s.flip || s.rotate || s.turn || s.zoomIn || s.grey || s.fileList);
    EXPECT_TRUE(s.zoomOut && s.origSize && s.godot);
    readingEnds(s, koala);
    EXPECT_TRUE(pictureCommands(s) && s.grey && s.fileList && s.zoomOut && s.origSize && s.godot);

    readerRejected(s);
    EXPECT_FALSE(s.saveAs || s.flip || s.rotate || s.turn || s.zoomIn);
}

// What each row's facts leave on: grey while and after the reading, "4Bit GoDot", GIF.
TEST(CommandStates, TheRowSaysWhatItsPicturesTake) {
    struct Case {
        const char* file;
        bool greyWhileReading, grey, godot;
    };
    for (const Case& c : {Case{"a.koa", false, true, true}, Case{"a.4bt", true, true, true},
                          Case{"a.bs", false, false, true}, Case{"a.fp2", false, false, false},
                          Case{"a.vic", false, false, false}, Case{"a.dlp", false, false, true}}) {
        CommandStates s;
        s.grey = true;
        const C64Format& row = formatForFile(c.file);
        dispatchBegins(s);
        readingStarts(s, row);
        EXPECT_EQ(s.grey, c.greyWhileReading) << c.file;
        readingEnds(s, row);
        EXPECT_TRUE(pictureCommands(s) && s.fileList) << c.file;
        EXPECT_EQ(s.grey, c.grey) << c.file;
        EXPECT_EQ(s.godot, c.godot) << c.file;
        EXPECT_EQ(s.selectGif, !c.godot) << c.file;
        dispatchBegins(s); // the next file offers "4Bit GoDot" again
        EXPECT_TRUE(s.godot);
    }
}

TEST(CommandStates, TheStartUpEndsWithAPageOfTheProgressReportingPaintPrograms) {
    EXPECT_TRUE(readingEndsStartUp(formatForFile("a.bs"), true));
    EXPECT_FALSE(readingEndsStartUp(formatForFile("a.bs"), false));
    EXPECT_TRUE(readingEndsStartUp(formatForFile("a.fp2"), false));
    EXPECT_FALSE(readingEndsStartUp(formatForFile("a.4bt"), true));
    EXPECT_FALSE(readingEndsStartUp(formatForFile("a.koa"), true));
}

TEST(CommandStates, SavingAndDeletingTurnCommandsOff) {
    CommandStates s;
    readingEnds(s, formatForFile("a.koa"));
    saveStarts(s);
    EXPECT_FALSE(s.saveAs || s.flip || s.grey || s.fileList);
    s.zoomOut = s.origSize = true;
    afterDelete(s);
    EXPECT_FALSE(s.saveAs || s.flip || s.rotate || s.turn || s.zoomIn || s.zoomOut || s.origSize ||
                 s.grey || s.godot);
}

} // namespace
} // namespace quendra
