// The Printfox/Pagefox reader. The input is the file; a progress recorder checks that the
// positions stay below the maximum and come in order.
#include <cstdlib>

#include "decode/readers.h"
#include "fuzz.h"
#include "samples/printfox_files.h"

namespace {
struct Checker : quendra::Progress {
    int maximum = -1;
    int next = 0;
    void start(int m) override {
        if (maximum != -1 || m < 0)
            std::abort();
        maximum = m;
    }
    void position(int p) override {
        if (p != next++ || p >= maximum)
            std::abort();
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A page names its size in cells (rows, columns) in bytes 1 and 2.
    if (size >= 3 && data[0] == 'P' && std::size_t{64} * data[1] * data[2] > kFuzzMaxPixels)
        return 0;
    Checker progress;
    const quendra::Decoded d = quendra::decodePrintfox({data, size}, {.progress = &progress});
    if (d.accepted) {
        if (progress.next != progress.maximum || d.picture.height() != 8 * progress.maximum) {
            std::abort();
        }
        if (!indicesWithinPalette(d.picture))
            std::abort();
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    using namespace quendra::samples;
    return {
        makePrintfoxScreen(printfoxPage(40, 25), true),
        makePrintfoxLarge(printfoxPage(80, 50, 1), true),
        makePagefoxPage(10, 20, printfoxPage(20, 10, 2)),
        makePagefoxPage(3, 2, printfoxPage(2, 3, 4), ""),
        {'B', 0x9B, 0xFF, 0xFF, 0xFF, 0x9B, 0x40},
        {'P', 1, 1, 0xF0, 0x9B, 0x00},
    };
}
