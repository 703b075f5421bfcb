// Sample pictures of every format the readers take, made here from the formats' layouts:
// a test pattern or a small drawing per format. Each registry row names the samples that
// show it (C64Format::samples); the builders are found by those names.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decode/formats.h"
#include "samples/c64_files.h"

namespace quendra::samples {

struct SampleFile {
    std::string name; // a name a registry row's `samples` gives, or one made from the row
    ByteVector bytes;
    int width = 320, height = 200;  // of the picture it shows
    const C64Format* row = nullptr; // the row that names it; null: no row does
};

// A builder of the sample that a row names `name`.
struct SampleBuilder {
    std::string_view name;
    ByteVector (*build)();
    int width = 320, height = 200;
};

// The samples the rows name, in row order, and for a plain layout row that names none one
// made from its layout (samples::makeCellFile, samples::makeFliFile). A built sample no row
// names comes last, without a row.
std::vector<SampleFile> allSampleFiles();

// The bytes of the sample of that name; empty when there is none.
ByteVector sampleBytes(std::string_view name);

// The builders of the FLI family's and the interlaced formats' samples (fli_samples.cpp).
std::span<const SampleBuilder> fliSampleBuilders();

} // namespace quendra::samples
