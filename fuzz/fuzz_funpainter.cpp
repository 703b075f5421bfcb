// The FunPainter 2 reader. The input is the file; a progress recorder checks the
// sequence of positions (x div 4 after each of 160 columns).
#include <cstdlib>

#include "decode/readers.h"
#include "fuzz.h"
#include "samples/funpainter_files.h"

namespace {
struct Checker : quendra::Progress {
    int maximum = -1;
    int count = 0;
    void start(int m) override {
        if (maximum != -1 || m != 40)
            std::abort();
        maximum = m;
    }
    void position(int p) override {
        if (p != count++ / 4 || p >= maximum)
            std::abort();
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Checker progress;
    const quendra::Decoded d = quendra::decodeFunPainter({data, size}, {.progress = &progress});
    if (d.accepted) {
        if (progress.count != 160 || d.picture.width() != 320 || d.picture.height() != 200) {
            std::abort();
        }
        if (!indicesWithinPalette(d.picture))
            std::abort();
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    using namespace quendra::samples;
    std::vector<std::uint8_t> runAtEnd = makeFunPainter(funPainterPattern(2), true);
    runAtEnd.insert(runAtEnd.end(), {0xAD, 0x00});
    return {
        makeFunPainter(funPainterPattern(), true),
        makeFunPainter(funPainterPattern(1), true, 0x00),
        makeFunPainter(funPainterPattern(3), false),
        runAtEnd,
        {0xF0, 0x3F, 'F', 'U', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x9B, 0x9B, 0x00, 0x11},
    };
}
