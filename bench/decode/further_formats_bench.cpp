// Every further format's sample on the one road by its name: one benchmark each, named
// after the sample (BM_Further/<sample>).
#include <benchmark/benchmark.h>

#include "road.h"
#include "samples/further_files.h"

namespace {

using namespace quendra;

const bool registered = [] {
    for (samples::FurtherSample& s : samples::furtherSamples()) {
        benchmark::RegisterBenchmark(
            ("BM_Further/" + s.name).c_str(),
            [name = s.name, bytes = std::move(s.bytes)](benchmark::State& state) {
                bench::readFile(state, name, bytes);
            });
    }
    return true;
}();

} // namespace
