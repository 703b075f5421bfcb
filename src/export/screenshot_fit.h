// An emulator's screenshot made back into the C64's screen: a picture enlarged by a whole
// number is reduced by it, and the border around a 320 x 200 screen is cut away.
#pragma once

#include <string>

#include "decode/image.h"

namespace quendra {

// The screen inside `picture`, into `screen`. What was done, for people ("halved; the
// 384 x 272 frame's border cut at 32, 35"), or empty when the picture is no screenshot
// (then `screen` is left as it was). A picture is reduced when every block of the scale's
// size is one colour and what is left is at least 320 x 200; the border is cut when all
// around a 320 x 200 window is one colour, the window put where emulators put the screen
// (384 x 272 at 32, 35) or else as near to the middle as the picture allows.
std::string fitScreenshot(const Image& picture, Image& screen);

} // namespace quendra
