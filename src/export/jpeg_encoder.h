// JPEG files from palette pictures through libjpeg-turbo: baseline, optimised Huffman
// tables, 72 dots an inch; colour at full resolution from quality 90 on (C64 colours change
// every 4 or 8 pixels and would bleed), at half resolution each way below; grey pictures as
// one grey component. The same files the image library wrote before.
//
// An encoder keeps libjpeg's compressor between pictures: make one per thread. libjpeg
// still allocates and frees its per-picture working memory for every picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decode/image.h"

namespace quendra {

class JpegEncoder {
  public:
    JpegEncoder();
    ~JpegEncoder();
    JpegEncoder(const JpegEncoder&) = delete;
    JpegEncoder& operator=(const JpegEncoder&) = delete;

    // The whole file into `out` (replaced; its storage is reused). `quality` 1..100;
    // `grey`: one grey component (the picture's colours should be grey levels already).
    // `smoothing` 0..100: libjpeg's input smoothing (each pixel blends with its eight
    // neighbours). Empty on success, else why not. An index beyond the palette draws black.
    std::string encode(const IndexedImage& picture, int quality, bool grey,
                       std::vector<std::uint8_t>& out, int smoothing = 0);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace quendra
