// PNG files from palette pictures, fast enough for batches: the palette holds exactly the
// colours the picture uses, at the fewest bits per pixel that hold them, rows unfiltered
// (filters do not pay for palette pictures), one IDAT chunk compressed by libdeflate.
//
// An encoder keeps its deflate state and buffers between pictures: make one per thread and
// pass it every picture; after the first picture of a size it allocates nothing more.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "decode/image.h"

namespace quendra {

struct PngSettings {
    // libdeflate's level, 0 (stored) to 12. Level 1 compresses a C64 picture in about 40 %
    // of level 6's time for files 9-13 % larger (still far smaller than 8-bit PNG files):
    // in a batch the encoder is most of the work, so the faster level wins. bench_core's
    // BM_PngDeflate* compare the choices.
    int level = 1;
    bool fewestBits = true; // false: always 8 bits a pixel
    bool interlaced = false; // Adam7: the picture shows coarse first while it loads
};

class PngEncoder {
  public:
    explicit PngEncoder(const PngSettings& settings = {});
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // The whole file into `out` (replaced; its storage is reused). `indices` holds
    // width * height palette indices, rows top to bottom; an index beyond `palette` draws
    // black. False only when memory runs out.
    bool encode(int width, int height, std::span<const std::uint8_t> indices,
                std::span<const Rgb> palette, std::vector<std::uint8_t>& out);
    bool encode(const IndexedImage& picture, std::vector<std::uint8_t>& out) {
        return encode(picture.width(), picture.height(), picture.indices(), picture.palette(), out);
    }

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// One picture with a throw-away encoder; empty when memory runs out.
std::vector<std::uint8_t> encodePng(const IndexedImage& picture, const PngSettings& settings = {});

} // namespace quendra
