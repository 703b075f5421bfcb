// Every further format's sample through its registry row's reader: one benchmark each,
// named after the sample (BM_Further/<sample>).
#include <benchmark/benchmark.h>

#include "decode/formats.h"
#include "samples/further_files.h"

namespace {

using namespace quendra;

void decodeSample(benchmark::State& state, const C64Format* row, samples::ByteVector file) {
    IndexedImage reuse;
    for (auto _ : state) {
        Decoded d = row->decode(file, {.reuse = &reuse});
        benchmark::DoNotOptimize(d.picture.indices().data());
        reuse = std::move(d.picture);
    }
}

const bool registered = [] {
    for (samples::FurtherSample& s : samples::furtherSamples()) {
        const C64Format* row = &formatForFile(s.name);
        benchmark::RegisterBenchmark(("BM_Further/" + s.name).c_str(), decodeSample, row,
                                     std::move(s.bytes));
    }
    return true;
}();

} // namespace
