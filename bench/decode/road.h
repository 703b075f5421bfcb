// The decode benchmarks time what every program does with a file: the one road from its
// bytes and name to its picture (openPicture), reusing the picture's storage from file to
// file as the converter does. A file the road refuses is an error the smoke run reports.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "decode/open_picture.h"

namespace quendra::bench {

inline void readFile(benchmark::State& state, const std::string& name, Bytes file) {
    IndexedImage reuse;
    for (auto _ : state) {
        OpenedPicture opened = openPicture(file, file.size(), name, {.reuse = &reuse});
        benchmark::DoNotOptimize(opened.decoded.picture.indices().data());
        reuse = std::move(opened.decoded.picture);
    }
    if (const OpenedPicture opened = openPicture(file, file.size(), name, {}); !opened.accepted())
        state.SkipWithError((name + ": " + opened.decoded.reason).c_str());
}

} // namespace quendra::bench
