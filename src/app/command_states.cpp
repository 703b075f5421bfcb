#include "app/command_states.h"

#include "decode/formats.h"

namespace quendra {

namespace {
void pictureCommands(CommandStates& s, bool on) {
    s.saveAs = s.flip = s.rotate = s.turn = s.zoomIn = on;
}
} // namespace

void dispatchBegins(CommandStates& s) {
    s.godot = true;
}

void readingStarts(CommandStates& s, const C64Format& format) {
    s.fileList = false;
    pictureCommands(s, false);
    if (!format.showsInGrey || !format.reportsProgress)
        s.grey = false;
}

void readingEnds(CommandStates& s, const C64Format& format) {
    pictureCommands(s, true);
    s.fileList = true;
    s.grey = format.showsInGrey;
    if (!format.fitsGodot) {
        s.selectGif = true;
        s.godot = false;
    }
}

void trueColourShown(CommandStates& s) {
    pictureCommands(s, true);
    s.fileList = true;
    s.grey = false;
    s.selectGif = true;
    s.godot = false;
}

void readerRejected(CommandStates& s) {
    pictureCommands(s, false);
}

bool readingEndsStartUp(const C64Format& format, bool decodingBegan) {
    return format.reportsProgress && !format.showsInGrey && (decodingBegan || !format.fitsGodot);
}

void saveStarts(CommandStates& s) {
    s.fileList = false;
    pictureCommands(s, false);
    s.grey = false;
}

void afterDelete(CommandStates& s) {
    pictureCommands(s, false);
    s.zoomOut = s.origSize = s.godot = s.grey = false;
}

} // namespace quendra
