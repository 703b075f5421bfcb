// Sample pictures of every format the readers take, made here from the formats' layouts:
// a test pattern or a small drawing per format, one small function each.
#pragma once

#include <string>
#include <vector>

#include "samples/c64_files.h"

namespace quendra::samples {

struct SampleFile {
    std::string name; // file name with the format's usual extension
    ByteVector bytes;
};

// At least one file for each reader, in dispatch order.
std::vector<SampleFile> allSampleFiles();

ByteVector sampleKoala();
ByteVector sampleRunPaint();
ByteVector sampleKoalaCompressed();
ByteVector sampleAdvancedArtStudio();
ByteVector sampleArtStudioHires();
ByteVector sampleAmica();
ByteVector sampleDoodle();
ByteVector sampleDoodleCompressed();
ByteVector samplePrintfoxScreen(); // type B, 320 x 200
ByteVector samplePrintfoxLarge();  // type G, 640 x 400
ByteVector samplePagefoxPage();    // type P, 400 x 240
ByteVector sampleFunPainter();
ByteVector sampleGodotPicture();
ByteVector sampleGodotClip(); // 12 x 8 cells
ByteVector sampleArtStudioHiresArt();
ByteVector sampleInterpaintHires();
ByteVector sampleInterpaint();
ByteVector sampleHiEddi();
ByteVector sampleImageSystemHires();
ByteVector sampleHiresBitmap();
ByteVector sampleHiresBitmapInverted();
ByteVector sampleKla();
ByteVector sampleAdvancedArtStudioMpic();
ByteVector sampleBlazingPaddles();
ByteVector sampleArtist64();
ByteVector sampleVidcom64();
ByteVector sampleImageSystem();
ByteVector sampleSaracenPaint();
ByteVector samplePaintMagic();
ByteVector sampleRainbowPainter();
ByteVector sampleHiresManager(); // packed

} // namespace quendra::samples
