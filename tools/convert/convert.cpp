#include "convert/convert.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "components/image_library.h"
#include "convert/output_file.h"
#include "convert/png_writer.h"
#include "decode/formats.h"
#include "export/godot_writer.h"

namespace quendra::convert {

namespace fs = std::filesystem;

namespace {

QImage toQImage(const IndexedImage& picture) {
    QImage out(picture.width(), picture.height(), QImage::Format_Indexed8);
    QList<QRgb> table(256, qRgb(0, 0, 0)); // indices beyond the palette draw black
    const auto& palette = picture.palette();
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
        table[static_cast<qsizetype>(i)] = qRgb(palette[i].r, palette[i].g, palette[i].b);
    }
    out.setColorTable(table);
    for (int y = 0; y < picture.height(); ++y) {
        std::copy_n(picture.row(y), picture.width(), out.scanLine(y));
    }
    return out;
}

Encoded throughImageLibrary(const IndexedImage& picture, const Options& options) {
    imagelib::WriteSettings settings; // depth 0: the exact palette
    if (options.format == PictureFormat::TIFF)
        settings.compression = 5; // LZW
    if (options.format == PictureFormat::JPEG) {
        settings.depth = options.grey ? 8 : 24;
        settings.quality = options.quality;
    }
    QByteArray bytes;
    const imagelib::Status status =
        imagelib::encode(options.format, toQImage(picture), settings, bytes);
    if (!status.ok())
        return {{}, status.message.toStdString()};
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    return {{data, data + bytes.size()}, {}};
}

// Why a file cannot be read, or empty when it can be opened for reading. Only regular
// files are read: a pipe or a device could keep the reader waiting for ever.
std::string unreadable(const std::string& input) {
    struct stat st {};
    if (::stat(input.c_str(), &st) != 0)
        return std::strerror(errno);
    if (S_ISDIR(st.st_mode))
        return std::strerror(EISDIR);
    if (!S_ISREG(st.st_mode))
        return "not a regular file";
    const int fd = ::open(input.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    return {};
}

// Two names of one file, as far as the path tells (symbolic links in the folders resolved;
// each folder is resolved once).
class Identities {
  public:
    fs::path of(const fs::path& p) {
        const fs::path parent = p.parent_path();
        auto it = folders_.find(parent);
        if (it == folders_.end()) {
            std::error_code ec;
            const fs::path abs = fs::absolute(parent.empty() ? fs::path(".") : parent, ec);
            fs::path resolved = ec ? parent : fs::weakly_canonical(abs, ec);
            if (ec)
                resolved = abs.lexically_normal();
            it = folders_.emplace(parent, std::move(resolved)).first;
        }
        return it->second / p.filename();
    }

  private:
    std::map<fs::path, fs::path> folders_;
};

} // namespace

fs::path outputPathFor(const std::string& input, PictureFormat format,
                       const std::optional<fs::path>& dir) {
    const fs::path in(input);
    std::string name = in.filename().string();
    name.resize(name.size() - quendra::extensionOf(name).size());
    name += ".";
    name += extensionOf(format);
    return dir ? *dir / name : in.parent_path() / name;
}

Encoded encodePicture(const Decoded& decoded, const Options& options) {
    const IndexedImage& picture = decoded.picture;
    if (picture.width() == 0 || picture.height() == 0)
        return {{}, "the picture is empty"};
    switch (options.format) {
    case PictureFormat::PNG: {
        std::vector<std::uint8_t> bytes = encodePng(picture);
        if (bytes.empty())
            return {{}, "cannot encode the PNG file"};
        return {std::move(bytes), {}};
    }
    case PictureFormat::Godot4Bit: {
        GodotEncoded g = encodeGodot(picture.toRgb(), options.grey);
        if (!g.ok)
            return {{}, g.error};
        return {std::move(g.bytes), {}};
    }
    default:
        return throughImageLibrary(picture, options);
    }
}

Outcome convertFile(const std::string& input, const fs::path& output, const Options& options) {
    auto failed = [&](const std::string& reason) { return Outcome{false, input + ": " + reason}; };
    if (std::string why = unreadable(input); !why.empty())
        return failed(why);
    std::error_code ec;
    if (fs::exists(output, ec)) {
        if (fs::equivalent(input, output, ec))
            return failed("the output would replace the input file");
        if (!options.force)
            return failed(output.string() + " exists; --force replaces it");
    }
    // The viewer does not offer GoDot for formats whose mixed colours are not among
    // GoDot's 16 (FunPainter 2).
    const C64Format& format = formatForFile(fs::path(input).filename().string());
    if (options.format == PictureFormat::Godot4Bit && !format.fitsGodot) {
        return failed("a " + std::string(format.name) +
                      " picture mixes colours that GoDot 4Bit cannot hold");
    }
    const Decoded decoded = readPicture(input, format, DecodeOptions{.grey = options.grey});
    if (!decoded.accepted)
        return failed("rejected: " + decoded.reason);
    const Encoded encoded = encodePicture(decoded, options);
    if (!encoded.error.empty())
        return failed(encoded.error);
    if (std::string why = putFile(output, encoded.bytes, options.force); !why.empty()) {
        return failed(why);
    }
    return {true, {}};
}

std::string outputDirProblem(const Options& options) {
    if (!options.outputDir)
        return {};
    std::error_code ec;
    const fs::file_status status = fs::status(*options.outputDir, ec);
    if (ec || !fs::exists(status) || fs::is_directory(status))
        return {}; // missing, or a problem each write will name
    return "-o " + options.outputDir->string() + ": not a folder";
}

int runBatch(const Options& options, Reporter& reporter) {
    const std::size_t total = options.files.size();
    std::vector<fs::path> outputs(total);
    std::vector<std::optional<Outcome>> planned(total);
    std::map<fs::path, std::size_t> firstWith;
    Identities identities;
    for (std::size_t i = 0; i < total; ++i) {
        outputs[i] = outputPathFor(options.files[i], options.format, options.outputDir);
        const auto [it, fresh] = firstWith.try_emplace(identities.of(outputs[i]), i);
        if (!fresh) {
            planned[i] =
                Outcome{false, options.files[i] + ": " + outputs[i].string() +
                                   " is already the output of " + options.files[it->second]};
        }
    }
    if (options.outputDir) {
        std::error_code ec;
        fs::create_directories(*options.outputDir, ec); // a failure shows in every write
    }

    std::vector<std::optional<Outcome>> outcomes(total);
    std::mutex mutex;
    std::size_t reported = 0, finished = 0;
    bool anyFailed = false;
    auto finish = [&](std::size_t i, Outcome outcome) {
        std::lock_guard lock(mutex);
        outcomes[i] = std::move(outcome);
        ++finished;
        reporter.progress(finished, total);
        for (; reported < total && outcomes[reported]; ++reported) {
            anyFailed |= !outcomes[reported]->converted;
            reporter.report(reported, *outcomes[reported]);
            outcomes[reported]->message.clear();
        }
    };

    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < total;) {
            if (planned[i]) {
                finish(i, *planned[i]);
                continue;
            }
            Outcome outcome;
            try {
                outcome = convertFile(options.files[i], outputs[i], options);
            } catch (const std::exception& e) {
                outcome = {false, options.files[i] + ": " + e.what()};
            }
            finish(i, std::move(outcome));
        }
    };
    unsigned jobs = options.jobs > 0 ? static_cast<unsigned>(options.jobs)
                                     : std::max(1u, std::thread::hardware_concurrency());
    jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, total));
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < jobs; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break; // the system gives no more threads: the ones there share the work
        }
    }
    work();
    for (std::thread& t : threads)
        t.join();
    return anyFailed ? 1 : 0;
}

} // namespace quendra::convert
