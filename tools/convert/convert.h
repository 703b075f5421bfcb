// The batch converter: every input along the viewer's road (formatForFile, one bounded read,
// the format's decode function, content detection for a file it refuses), its picture encoded in the chosen format and put in place
// atomically, files in parallel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/disk_inputs.h"
#include "convert/options.h"
#include "decode/decoded.h"

namespace quendra::convert {

// The input's name with its extension (from the last "." of the name) replaced by the
// format's, in `dir` when given, else beside the input: pic.koa -> pic.png. A C64-style
// name is kept whole: pi.worldmap -> pi.worldmap.png (keepsWholeName, batch_plan.h).
std::filesystem::path outputPathFor(const std::string& input, PictureFormat format,
                                    const std::optional<std::filesystem::path>& dir);
// The same with the extension (without the dot) given: "koa".
std::filesystem::path outputPathFor(const std::string& input, std::string_view extension,
                                    const std::optional<std::filesystem::path>& dir);

struct Outcome {
    bool converted = false;
    // Not converted: the line for standard error, "FILE: REASON". Converted: the verbose
    // line, "FILE -> OUTPUT (FORMAT)", the format being the one whose reader took the file.
    std::string message;
    // An entry of a disk or tape image that is no picture: not a failure; its message,
    // "IMAGE:NAME: skipped: REASON", is for -v only.
    bool skipped = false;
};

// Converts files one after another and keeps what it needs from file to file: the read
// buffer, the picture, the encoders' state and the output bytes. After the first files of a
// kind it makes no new buffers (only giflib, libtiff and libjpeg allocate working memory of
// their own per picture). One per thread.
class Converter {
  public:
    explicit Converter(const Options& options);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // One file, start to end.
    Outcome convert(const std::string& input, const std::filesystem::path& output);
    // One picture inside a disk or tape image (disk_inputs.h), its format already found.
    Outcome convertEntry(const Task& task);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// One file with a converter of its own.
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

// Converts options.files on options.jobs threads (one per core when 0); a disk or tape
// image among them stands for the pictures inside (disk_inputs.h), a folder for its picture
// files (batch_plan.h), each reported as a file of its own. An output that would lie outside
// its output folder is refused before anything is written; of inputs with one output, the
// first that converts writes it and the later ones are refused. Returns the exit status: 0
// when every file converted (entries that are no pictures skipped), 1 when any did not.
int runBatch(const Options& options, Reporter& reporter);

} // namespace quendra::convert
