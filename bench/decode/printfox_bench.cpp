#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "road.h"
#include "samples/printfox_files.h"

namespace {

using namespace quendra::samples;

void decode(benchmark::State& state, const ByteVector& file, const char* name = "x.gb") {
    quendra::bench::readFile(state, name, file);
}

void BM_DecodePrintfoxScreen(benchmark::State& state) {
    decode(state, makePrintfoxScreen(printfoxPage(40, 25), true), "x.bs");
}
BENCHMARK(BM_DecodePrintfoxScreen);

// The largest fixed page, 640 x 400.
void BM_DecodePrintfoxLarge(benchmark::State& state) {
    decode(state, makePrintfoxLarge(printfoxPage(80, 50), true));
}
BENCHMARK(BM_DecodePrintfoxLarge);

// A 640 x 400 page of literals only: every byte of the page is a token.
void BM_DecodePrintfoxLargeLiterals(benchmark::State& state) {
    ByteVector file{'G'};
    for (int i = 0; i < 32000; ++i)
        file.push_back(static_cast<std::uint8_t>(i * 7 % 0x9B));
    decode(state, file);
}
BENCHMARK(BM_DecodePrintfoxLargeLiterals);

// A large picture followed by runs of 65535 bytes up to the read limit: they cost
// nothing beyond the page area.
void BM_DecodePrintfoxLargeFlooded(benchmark::State& state) {
    ByteVector file = makePrintfoxLarge(printfoxPage(80, 50));
    while (file.size() + 4 <= quendra::kPrintfoxReadLimit) {
        file.insert(file.end(), {0x9B, 0xFF, 0xFF, 0x55});
    }
    decode(state, file);
}
BENCHMARK(BM_DecodePrintfoxLargeFlooded);

} // namespace
