// The batch converter: 1000 Koala pictures to PNG in one run (files per second, wall
// time), and the parts of one file: decode, PNG encode, putting the file in place.
// Target: 1000 files in under 0.4 s of wall time on two cores, PNG files no larger than
// plain indexed PNGs (8 bits a pixel, no filtering).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "convert/convert.h"
#include "convert/output_file.h"
#include "decode/formats.h"
#include "decode/readers.h"
#include "export/png_encoder.h"
#include "samples/c64_files.h"

namespace {

namespace fs = std::filesystem;
using namespace quendra;

// "k12.koa" and the like (std::format is not in this compiler's library yet).
std::string numbered(const char* prefix, int n, const char* suffix = "") {
    char name[64];
    std::snprintf(name, sizeof name, "%s%d%s", prefix, n, suffix);
    return name;
}

// A smoke run (QUENDRA_BENCH_SMOKE set, as the test suite's run of every benchmark) takes
// twenty: ten batches of 1000 files written take half a minute on a busy disk.
const int kFiles = std::getenv("QUENDRA_BENCH_SMOKE") ? 20 : 1000;

// 1000 different Koala files, written once.
const fs::path& batchFolder() {
    static const fs::path dir = [] {
        // In the build folder rather than the system's temporary folder, whose file
        // system is often busy with other programs' short-lived files.
        std::error_code ec;
        const fs::path d = fs::read_symlink("/proc/self/exe", ec).parent_path() / "bench-koala";
        fs::remove_all(d);
        fs::create_directories(d / "in");
        for (int i = 0; i < kFiles; ++i) {
            const auto bytes = samples::makeKoala(samples::testPattern(static_cast<unsigned>(i)));
            std::ofstream(d / "in" / numbered("k", i, ".koa"), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
        return d;
    }();
    return dir;
}

class Quiet : public convert::Reporter {
  public:
    void report(std::size_t, const convert::Outcome& o) override { failed += !o.converted; }
    void progress(std::size_t, std::size_t) override {}
    int failed = 0;
};

void BM_Batch1000KoalaToPng(benchmark::State& state) {
    convert::Options options;
    options.jobs = static_cast<int>(state.range(0));
    options.outputDir = batchFolder() / "out";
    for (int i = 0; i < kFiles; ++i) {
        options.files.push_back((batchFolder() / "in" / numbered("k", i, ".koa")).string());
    }
    for (auto _ : state) {
        // Earlier outputs are moved aside, not deleted: ext4 makes creating files right
        // after deleting many others slow, which would measure the file system instead.
        state.PauseTiming();
        static int run = 0;
        if (fs::exists(*options.outputDir)) {
            fs::path aside = batchFolder() / "old";
            aside += std::to_string(run++);
            fs::rename(*options.outputDir, aside);
        }
        state.ResumeTiming();
        Quiet quiet;
        if (convert::runBatch(options, quiet) != 0 || quiet.failed)
            state.SkipWithError("files failed");
    }
    state.counters["files/s"] =
        benchmark::Counter(static_cast<double>(kFiles) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Batch1000KoalaToPng)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

void BM_DecodeKoalaFile(benchmark::State& state) {
    const fs::path file = batchFolder() / "in" / "k7.koa";
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeFile(file, {}));
}
BENCHMARK(BM_DecodeKoalaFile)->Unit(benchmark::kMicrosecond);

// With the encoder kept from picture to picture, as each of the converter's threads does.
void BM_EncodePng(benchmark::State& state) {
    const Decoded d = decodeKoala(samples::makeKoala(samples::testPattern(7)), {});
    PngEncoder encoder;
    std::vector<std::uint8_t> bytes;
    for (auto _ : state)
        encoder.encode(d.picture, bytes);
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMicrosecond);

// A new file each time (no flush to the disk: only replacing an existing file flushes).
void BM_PutFile(benchmark::State& state) {
    const fs::path dir = batchFolder() / "put";
    fs::create_directories(dir);
    const std::vector<std::uint8_t> bytes(3200, 0x5A);
    int n = 0;
    for (auto _ : state) {
        if (!convert::putFile(dir / numbered("f", n++), bytes, false).empty()) {
            state.SkipWithError("write failed");
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_PutFile)->Unit(benchmark::kMicrosecond);

// PNG size against the plain indexed PNG of the same picture, over all 1000 pictures.
void BM_PngSizeAgainstPlainIndexedPng(benchmark::State& state) {
    double ours = 0, plain = 0, worst = 0;
    for (auto _ : state) {
        ours = plain = worst = 0;
        for (int i = 0; i < kFiles; ++i) {
            const Decoded d =
                decodeKoala(samples::makeKoala(samples::testPattern(static_cast<unsigned>(i))), {});
            const auto a = static_cast<double>(encodePng(d.picture).size());
            const auto b = static_cast<double>(encodePng(d.picture, {.fewestBits = false}).size());
            ours += a;
            plain += b;
            worst = std::max(worst, a / b);
        }
    }
    state.counters["mean_bytes"] = ours / kFiles;
    state.counters["plain_mean_bytes"] = plain / kFiles;
    state.counters["worst_ratio"] = worst;
}
BENCHMARK(BM_PngSizeAgainstPlainIndexedPng)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
