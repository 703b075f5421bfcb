// The batch converter: every input along the viewer's road (formatForFile, readPicture),
// its picture encoded in the chosen format and put in place atomically, files in parallel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "convert/options.h"
#include "decode/decoded.h"

namespace quendra::convert {

// The input's name with its extension (from the last "." of the name) replaced by the
// format's, in `dir` when given, else beside the input: pic.koa -> pic.png.
std::filesystem::path outputPathFor(const std::string& input, PictureFormat format,
                                    const std::optional<std::filesystem::path>& dir);

// The bytes of the output file for an accepted picture, or why there are none.
struct Encoded {
    std::vector<std::uint8_t> bytes;
    std::string error;
};
Encoded encodePicture(const Decoded& decoded, const Options& options);

struct Outcome {
    bool converted = false;
    std::string message; // the line for standard error when not converted, "FILE: REASON"
};

// One file, start to end.
Outcome convertFile(const std::string& input, const std::filesystem::path& output,
                    const Options& options);

// Hears of the batch as it goes. report() comes in input order, one call per file,
// progress() after each finished file; calls never overlap.
class Reporter {
  public:
    virtual ~Reporter() = default;
    virtual void report(std::size_t index, const Outcome& outcome) = 0;
    virtual void progress(std::size_t done, std::size_t total) = 0;
};

// Why `-o DIR` cannot be the output folder because it names something that exists and is
// not a folder (a mistake in the command line); empty otherwise. A missing folder is made.
std::string outputDirProblem(const Options& options);

// Converts options.files on options.jobs threads (one per core when 0). Returns the exit
// status: 0 when every file converted, 1 when any did not.
int runBatch(const Options& options, Reporter& reporter);

} // namespace quendra::convert
