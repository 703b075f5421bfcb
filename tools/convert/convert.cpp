#include "convert/convert.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <optional>
#include <thread>

#include "convert/batch_plan.h"
#include "convert/output_file.h"
#include "decode/disk_pictures.h"
#include "decode/formats.h"
#include "decode/open_picture.h"
#include "decode/palettes.h"
#include "decode/printable_name.h"
#include "decode/readers.h"
#include "export/bmp_encoder.h"
#include "export/c64_export.h"
#include "export/gif_encoder.h"
#include "export/godot_writer.h"
#include "export/jpeg_encoder.h"
#include "export/pc_image_reader.h"
#include "export/pcx_encoder.h"
#include "export/png_encoder.h"
#include "export/png_pixel_ratio.h"
#include "export/tiff_encoder.h"

namespace quendra::convert {

namespace fs = std::filesystem;

namespace {

// An open input file; closed when it goes.
class InputFile {
  public:
    ~InputFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    // Empty when the file is open, else why it cannot be read. Only regular files are read:
    // a pipe or a device could keep the reader waiting for ever.
    std::string open(const std::string& name) {
        fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0)
            return std::strerror(errno);
        if (::fstat(fd_, &status_) != 0)
            return std::strerror(errno);
        if (S_ISDIR(status_.st_mode))
            return std::strerror(EISDIR);
        if (!S_ISREG(status_.st_mode))
            return "not a regular file";
        return {};
    }
    const struct stat& status() const { return status_; }

    // The first `limit` bytes (fewer when the file is shorter) into `bytes`, whose storage
    // is reused. Empty when the file is not open; the error when a read fails.
    std::string read(std::size_t limit, std::vector<std::uint8_t>& bytes) {
        const auto size = static_cast<std::uint64_t>(std::max<off_t>(status_.st_size, 0));
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, limit)));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n =
                ::pread(fd_, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return std::strerror(errno);
            if (n == 0)
                break; // shorter than it was a moment ago
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        return {};
    }

  private:
    int fd_ = -1;
    struct stat status_ {};
};

// Two names of one file, as far as the path tells (symbolic links in the folders resolved;
// each folder is resolved once).
class Identities {
  public:
    fs::path of(const fs::path& p) { return folder(p.parent_path()) / p.filename(); }

    const fs::path& folder(const fs::path& path) {
        auto it = folders_.find(path);
        if (it == folders_.end()) {
            std::error_code ec;
            const fs::path abs = fs::absolute(path.empty() ? fs::path(".") : path, ec);
            fs::path resolved = ec ? path : fs::weakly_canonical(abs, ec);
            if (ec)
                resolved = abs.lexically_normal();
            it = folders_.emplace(path, std::move(resolved)).first;
        }
        return it->second;
    }

    // Whether `output` names a file inside `root` or a folder below it, symbolic links in
    // the folders resolved.
    bool inside(const fs::path& output, const fs::path& root) {
        const fs::path name = output.filename();
        if (name.empty() || name == "." || name == "..")
            return false;
        const fs::path& folderOf = folder(output.parent_path());
        const fs::path& top = folder(root);
        const auto [end, _] = std::ranges::mismatch(top, folderOf);
        return end == top.end() || (std::next(end) == top.end() && end->empty());
    }

  private:
    std::map<fs::path, fs::path> folders_;
};

} // namespace

fs::path outputPathFor(const std::string& input, PictureFormat format,
                       const std::optional<fs::path>& dir) {
    return outputPathFor(input, extensionOf(format), dir);
}

fs::path outputPathFor(const std::string& input, std::string_view extension,
                       const std::optional<fs::path>& dir) {
    const fs::path in(input);
    std::string name = in.filename().string();
    if (!keepsWholeName(name))
        name.resize(name.size() - quendra::extensionOf(name).size());
    name += ".";
    name += extension;
    return dir ? *dir / name : in.parent_path() / name;
}

struct Converter::State {
    Options options;
    std::vector<std::uint8_t> input;  // the bytes of the file being converted
    IndexedImage picture{0, 0};       // storage the readers draw in, handed back after each file
    std::vector<std::uint8_t> workspace; // working memory of the readers that unpack into one
    std::vector<std::uint8_t> output; // the bytes of the file to write
    std::unique_ptr<PngEncoder> png;
    std::unique_ptr<JpegEncoder> jpeg;
    GodotScratch godot;
    C64Exporter c64;  // --to koa ...
    Image pcPicture;  // a PC picture read for a C64 file

    IndexedImage shown{0, 0}; // the picture enlarged or in another palette, when asked for

    // The picture as the options want it written: enlarged by whole pixels, in the chosen
    // palette. GoDot 4Bit stays in the program's own colours, which its tables match.
    const IndexedImage& prepared(const IndexedImage& picture) {
        const bool ownColours = options.format == PictureFormat::Godot4Bit ||
                                options.colours == defaultPalette().colours;
        if (options.scale <= 1 && ownColours)
            return picture;
        shown = enlarged(picture, options.scale);
        if (!ownColours)
            applyPalette(shown, options.colours);
        return shown;
    }

    C64ExportOptions c64Options() const {
        C64ExportOptions o;
        o.reduce = options.reduce;
        o.reduction = options.reduction;
        o.palette = options.colours;
        o.border = options.programBorder;
        o.autoPalette = options.autoPalette;
        o.paletteName = options.paletteName;
        return o;
    }

    // The output file's bytes for an accepted picture into `output`; empty or why not.
    std::string encode(const IndexedImage& decoded) {
        if (decoded.width() == 0 || decoded.height() == 0)
            return "the picture is empty";
        if (options.c64)
            return c64.write(decoded, *options.c64, c64Options(), output);
        const IndexedImage& picture = prepared(decoded);
        switch (options.format) {
        case PictureFormat::PNG:
            if (!png)
                png = std::make_unique<PngEncoder>();
            if (!png->encode(picture, output))
                return "cannot encode the PNG file";
            if (options.palAspect && !addPixelAspect(output, kPalPixelsAcross, kPalPixelsDown))
                return "cannot add the pixel aspect to the PNG file";
            return {};
        case PictureFormat::GIF:
            return encodeGif(picture, output);
        case PictureFormat::BMP:
            encodeBmp(picture, output);
            return {};
        case PictureFormat::PCX:
            encodePcx(picture, output);
            return {};
        case PictureFormat::TIFF:
            return encodeTiff(picture, TiffCompression::Lzw, output);
        case PictureFormat::JPEG:
            if (!jpeg)
                jpeg = std::make_unique<JpegEncoder>();
            return jpeg->encode(picture, options.quality, options.grey, output);
        case PictureFormat::Godot4Bit:
            return encodeGodot(picture, options.grey, godot, output);
        }
        return "unknown output format";
    }

    // An accepted picture encoded and put in place; the outcome names the format read.
    Outcome write(OpenedPicture& opened, const std::string& input, const fs::path& output) {
        const std::string why = encode(opened.decoded.picture);
        picture = std::move(opened.decoded.picture); // for the next file
        if (!why.empty())
            return {false, printableName(input) + ": " + why};
        if (std::string problem = putFile(output, this->output, options.force); !problem.empty())
            return {false, printableName(input) + ": " + problem};
        // Notes of the road (an unusual load address) and of the reader (a stand-in font).
        std::string notes = opened.note;
        if (!opened.decoded.note.empty())
            notes += (notes.empty() ? "" : "; ") + std::string(opened.decoded.note);
        return {true, printableName(input) + " -> " + printableName(output.string()) + " (" +
                          std::string(opened.format->name) + (notes.empty() ? "" : "; " + notes) +
                          ")"};
    }
};

Converter::Converter(const Options& options) : state_(std::make_unique<State>()) {
    state_->options = options;
    state_->options.files.clear(); // not needed here
}

Converter::~Converter() = default;

Outcome Converter::convert(const std::string& input, const fs::path& output) {
    State& s = *state_;
    auto failed = [&](const std::string& reason) {
        return Outcome{false, printableName(input) + ": " + reason};
    };
    InputFile file;
    if (std::string why = file.open(input); !why.empty())
        return failed(why);
    struct stat existing {};
    if (::stat(output.c_str(), &existing) == 0) {
        if (existing.st_dev == file.status().st_dev && existing.st_ino == file.status().st_ino)
            return failed("the output would replace the input file");
        if (!s.options.force)
            return failed(printableName(output.string()) + " exists; --force replaces it");
    }
    // A PC picture to a C64 file: read whole, then written exactly or reduced.
    if (s.options.c64 && isPcPictureName(fs::path(input).filename().native())) {
        if (std::string why = file.read(kPcPictureReadLimit, s.input); !why.empty())
            return failed(why);
        if (std::string why = readPcPicture(s.input, s.pcPicture); !why.empty())
            return failed(why);
        if (std::string why = s.c64.write(s.pcPicture, *s.options.c64, s.c64Options(), s.output);
            !why.empty())
            return failed(why);
        if (std::string problem = putFile(output, s.output, s.options.force); !problem.empty())
            return failed(problem);
        const std::string& note = s.c64.note();
        return {true, printableName(input) + " -> " + printableName(output.string()) +
                          " (PC picture" + (note.empty() ? "" : "; " + note) + ")"};
    }
    // The viewer does not offer GoDot for formats whose mixed colours are not among
    // GoDot's 16 (FunPainter 2): known by the name before the read, else by the format read.
    auto mixesColours = [&](const C64Format& format) {
        return failed("a " + std::string(format.name) +
                      " picture mixes colours that GoDot 4Bit cannot hold");
    };
    const bool toGodot = s.options.format == PictureFormat::Godot4Bit;
    if (const C64Format& named = formatForFile(input); toGodot && !named.fitsGodot)
        return mixesColours(named);
    // The viewer's road (openPicture): one read of what the name's format and detection
    // need, into the buffers this thread keeps from file to file.
    if (std::string why = file.read(firstReadLimit(input), s.input); !why.empty())
        return failed(why);
    OpenedPicture opened =
        openPicture(s.input, static_cast<std::uint64_t>(file.status().st_size), input,
                    {.grey = s.options.grey, .reuse = &s.picture, .workspace = &s.workspace});
    if (!opened.accepted())
        return failed("rejected: " + opened.decoded.reason);
    if (toGodot && !opened.format->fitsGodot)
        return mixesColours(*opened.format);
    return s.write(opened, input, output);
}

Outcome Converter::convertEntry(const Task& task) {
    State& s = *state_;
    const DiskEntry& entry = task.disk->entries().at(task.entry);
    auto failed = [&](const std::string& reason) {
        return Outcome{false, printableName(task.input) + ": " + reason};
    };
    if (!s.options.force && fs::exists(task.output))
        return failed(printableName(task.output.string()) + " exists; --force replaces it");
    // The entry's bytes on the one road, under the name its C64 habits give.
    OpenedPicture opened = openEntry(
        *task.disk, entry, {.grey = s.options.grey, .reuse = &s.picture, .workspace = &s.workspace},
        s.input);
    if (!opened.accepted())
        return failed("rejected: " + opened.decoded.reason);
    if (s.options.format == PictureFormat::Godot4Bit && !opened.format->fitsGodot) {
        return failed("a " + std::string(opened.format->name) +
                      " picture mixes colours that GoDot 4Bit cannot hold");
    }
    return s.write(opened, task.input, task.output);
}

Outcome convertFile(const std::string& input, const fs::path& output, const Options& options) {
    return Converter(options).convert(input, output);
}

std::string outputDirProblem(const Options& options) {
    if (!options.outputDir)
        return {};
    std::error_code ec;
    const fs::file_status status = fs::status(*options.outputDir, ec);
    if (ec || !fs::exists(status) || fs::is_directory(status))
        return {}; // missing, or a problem each write will name
    return "-o " + printableName(options.outputDir->string()) + ": not a folder";
}

int runBatch(const Options& options, Reporter& reporter) {
    // The outputs: one per file, one per picture inside a disk or tape image.
    std::vector<Task> tasks = planTasks(options);
    const std::size_t total = tasks.size();
    auto refuse = [&](Task& task, const std::string& reason) {
        task.planned = true;
        task.message = printableName(task.input) + ": " + reason;
    };
    // Outputs of one name (as far as the paths tell) make a group that one thread converts
    // in input order: the first file written claims the name, the ones after it are refused;
    // a file that fails claims nothing. sharers[i]: the others of the group task i begins.
    std::vector<std::vector<std::size_t>> sharers(total);
    std::vector<bool> joined(total, false); // a group's later task, converted by its first
    std::map<fs::path, std::size_t> firstWith;
    Identities identities;
    for (std::size_t i = 0; i < total; ++i) {
        Task& task = tasks[i];
        if (task.planned)
            continue;
        // Never a file outside the output folder, whatever names and links lead there.
        if (!identities.inside(task.output, task.root)) {
            refuse(task, printableName(task.output.string()) + " lies outside the output folder " +
                             printableName(task.root.empty() ? "." : task.root.string()));
            continue;
        }
        const auto [it, fresh] = firstWith.try_emplace(identities.of(task.output), i);
        if (!fresh) {
            sharers[it->second].push_back(i);
            joined[i] = true;
        }
    }
    if (options.outputDir) {
        // A folder that cannot be made is every file's reason, by its own cause.
        std::error_code ec;
        fs::create_directories(*options.outputDir, ec);
        for (std::size_t i = 0; ec && i < total; ++i) {
            if (!tasks[i].planned) {
                refuse(tasks[i], "cannot write " + printableName(tasks[i].output.string()) +
                                     ": cannot make the folder " +
                                     printableName(options.outputDir->string()) + ": " +
                                     ec.message());
            }
        }
    }
    // What converters killed in the middle of a write left in these folders.
    std::set<fs::path> folders;
    for (const Task& task : tasks) {
        if (!task.planned)
            folders.insert(task.output.has_parent_path() ? task.output.parent_path() : ".");
    }
    for (const fs::path& folder : folders)
        clearLeftovers(folder);

    std::vector<std::optional<Outcome>> outcomes(total);
    std::mutex mutex;
    std::size_t reported = 0, finished = 0;
    bool anyFailed = false;
    // The outcomes in the order of the files, as far as they are there (the lock held).
    auto reportReady = [&] {
        for (; reported < total && outcomes[reported]; ++reported) {
            anyFailed |= !outcomes[reported]->converted && !outcomes[reported]->skipped;
            reporter.report(reported, *outcomes[reported]);
            outcomes[reported]->message.clear();
        }
    };
    auto finish = [&](std::size_t i, Outcome outcome) {
        std::lock_guard lock(mutex);
        outcomes[i] = std::move(outcome);
        ++finished;
        reporter.progress(finished, total);
        reportReady();
    };
    auto plannedOutcome = [&](std::size_t i) {
        return Outcome{tasks[i].converted, tasks[i].message, tasks[i].skipped};
    };
    auto convertOne = [&](Converter& converter, std::size_t i) {
        try {
            return tasks[i].disk ? converter.convertEntry(tasks[i])
                                 : converter.convert(tasks[i].input, tasks[i].output);
        } catch (const std::exception& e) {
            return Outcome{false, printableName(tasks[i].input) + ": " + e.what()};
        }
    };
    auto convertGroup = [&](Converter& converter, std::size_t first) {
        std::optional<std::size_t> writer;
        auto one = [&](std::size_t i) {
            if (writer) {
                finish(i, {false, printableName(tasks[i].input) + ": " +
                                      printableName(tasks[i].output.string()) +
                                      " is already the output of " +
                                      printableName(tasks[*writer].input)});
                return;
            }
            Outcome outcome = convertOne(converter, i);
            if (outcome.converted)
                writer = i;
            finish(i, std::move(outcome));
        };
        one(first);
        for (std::size_t i : sharers[first])
            one(i);
    };

    std::atomic<std::size_t> next{0};
    auto work = [&] {
        // A thread whose converter finds no memory takes no file: the others share them.
        std::optional<Converter> made;
        try {
            made.emplace(options);
        } catch (const std::exception&) {
            return;
        }
        for (std::size_t i; (i = next++) < total;) {
            try {
                if (tasks[i].planned)
                    finish(i, plannedOutcome(i));
                else if (!joined[i])
                    convertGroup(*made, i);
            } catch (const std::exception&) {
                // Memory ran out outside a file's conversion (its message, its report): the
                // file is reported with the others no thread finished, at the end.
            }
        }
    };
    unsigned jobs = options.jobs > 0 ? static_cast<unsigned>(options.jobs)
                                     : std::max(1u, std::thread::hardware_concurrency());
    jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, total));
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < jobs; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::exception&) {
            // The system gives no more threads (or no memory for one more's state): the
            // ones there share the work.
            break;
        }
    }
    work();
    for (std::thread& t : threads)
        t.join();
    // Files no thread could take (memory ran out for every converter): once more with the
    // memory the other threads gave back, else each is reported.
    if (next < total)
        work();
    for (std::size_t i; (i = next++) < total;) {
        if (tasks[i].planned) {
            finish(i, plannedOutcome(i));
            continue;
        }
        if (joined[i])
            continue; // with the first of its group
        sharers[i].insert(sharers[i].begin(), i);
        for (std::size_t j : sharers[i])
            finish(j, {false, printableName(tasks[j].input) + ": not enough memory to convert it"});
    }
    // Files whose thread ran out of memory between their conversion and their report.
    for (std::size_t i = 0; i < total; ++i) {
        if (!outcomes[i])
            finish(i, {false, printableName(tasks[i].input) + ": not enough memory to convert it"});
    }
    reportReady();
    return anyFailed ? 1 : 0;
}

} // namespace quendra::convert
