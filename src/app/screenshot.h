// A picture of the main window as the screen shows it, for checking the program from
// outside: with QUENDRA_SCREENSHOT=<file.png> set, the program waits until its first
// picture has been painted, saves what the screen shows of its window, and ends.
// The PNG carries the picture area's rectangle (text "PImg": "x,y,w,h", window
// coordinates) and the time from the start to the first paint ("FirstPaintMs").
#pragma once

#include <QElapsedTimer>
#include <QString>

namespace quendra {

class MainWindow;

// Arranges the screenshot when the environment asks for one. `sinceStart` runs from the
// program's start.
void arrangeScreenshot(MainWindow* form, const QElapsedTimer& sinceStart);

} // namespace quendra
