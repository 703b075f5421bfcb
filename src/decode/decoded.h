// What every reader returns, and how it reports progress.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "decode/image.h"

namespace quendra {

// Receives a reader's progress: start(maximum) once, then position(p) as it goes.
// Called once a cell row or column at most, never per pixel.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void start(int maximum) = 0;
    virtual void position(int position) = 0;
};

struct DecodeOptions {
    bool grey = false;             // draw in grey levels instead of colours
    Progress* progress = nullptr;  // readers that report progress call it when set
    // The file's size on disk when the caller knows it (0: unknown). The bytes a reader
    // gets stop at its read limit, so a rejection names this size rather than theirs.
    std::uint64_t fileSize = 0;
    // A picture whose storage the reader may take over for an accepted picture (a batch
    // keeps one per thread and hands it back after each file), so that no new buffers are
    // made per file. Null: fresh storage.
    IndexedImage* reuse = nullptr;
    // Working memory a reader that unpacks into a buffer of its own may use instead (kept
    // by a batch the same way). Null: the reader's own.
    std::vector<std::uint8_t>* workspace = nullptr;
};

struct C64Format; // formats.h: a row of the format registry

struct Decoded {
    // True when the file was accepted and `picture` holds it; false leaves the
    // black template on screen and `reason` says why, for people.
    bool accepted = false;
    std::string reason;
    IndexedImage picture;
    // The registry row the file was read as, whose caption and name people see. A reader
    // sets it only when the file turned out to be a kind with a row of its own (Art Studio
    // tells its two kinds apart, GoDot its pictures and clips, .vic hands each length on);
    // otherwise the row that asked (decodeAs) fills it in. Null when no format took it.
    const C64Format* format = nullptr;
    // Readers that show a progress window set this once decoding proper begins.
    bool decodingBegan = false;
    // A remark for people on how the picture was drawn (a stand-in font), empty when none.
    std::string_view note;

    // An accepted picture of `width` x `height`, every index 0, drawn in the storage that
    // `options` offers for reuse (fresh storage when none).
    static Decoded accept(const DecodeOptions& options, int width = Image::kTemplateWidth,
                          int height = Image::kTemplateHeight) {
        Decoded d{.accepted = true,
                  .reason = {},
                  .picture = IndexedImage(0, 0), // no storage yet
                  .format = nullptr,
                  .decodingBegan = false,
                  .note = {}};
        if (options.reuse)
            d.picture = std::move(*options.reuse);
        d.picture.resize(width, height);
        return d;
    }

    static Decoded reject(std::string reason) {
        Decoded d;
        d.reason = std::move(reason);
        return d;
    }
};

using Bytes = std::span<const std::uint8_t>;

// The size to name in a rejection: the file's own where known, else the bytes read.
inline std::uint64_t reportedSize(Bytes file, const DecodeOptions& options) {
    return options.fileSize != 0 ? options.fileSize : file.size();
}

// How well a file's length and first bytes fit a format, judged without decoding it:
// 0 not at all; higher is surer (a signature beats a size with a load address, which
// beats a size alone). `file` is a prefix of the file, `fileSize` its whole length.
using ProbeFunction = int (*)(Bytes file, std::uint64_t fileSize);

}  // namespace quendra
