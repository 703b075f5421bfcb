// Disk and tape images on the converter's command line: "disk.d64" converts every picture
// inside into the folder "disk/" (beside the image, or under -o DIR), "disk.d64:NAME" or
// --entry NAME only the entry of that name. The image is read once, while the batch is
// planned; its entries are then converted like files.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/options.h"
#include "decode/disk_image.h"
#include "decode/disk_pictures.h"
#include "decode/formats.h"

namespace quendra::convert {

struct Outcome;

// One output of the batch: a file named on the command line, or a picture inside an image.
struct Task {
    std::string input;                  // the file's name, or "disk.d64:NAME"
    std::filesystem::path output;
    std::filesystem::path root;         // the folder it must lie in (-o DIR, else the input's)
    std::shared_ptr<const DiskImage> disk; // set for a picture inside an image
    std::size_t entry = 0;              // its index in the image's entries
    const C64Format* format = nullptr;  // the format its bytes were found to be
    bool planned = false;               // the outcome is known already:
    bool converted = false, skipped = false;
    std::string message;
};

// The image and the entry's name when `argument` names a disk or tape image, alone or as
// "IMAGE:NAME"; nothing when it names an ordinary file.
struct DiskArgument {
    std::string image;
    std::optional<std::string> entry;
};
std::optional<DiskArgument> diskArgument(const std::string& argument);

// A C64 name as a file name (decode/disk_pictures.h).
using quendra::safeFileName;

// The folder an image's pictures go to: its name without the extension, made safe as
// the entries' names are ("...d64" gives "_..", ".d64" gives "_"), in `outputDir` when
// given, else beside the image.
std::filesystem::path imageFolder(const std::string& image,
                                  const std::optional<std::filesystem::path>& outputDir);

// The tasks of one image argument: every picture inside (or the one entry asked for, by
// its name or the file name it gives, in any case), each with an output in the image's
// folder (imageFolder) whose name is unique within it ("_2" for the second of one name);
// entries that are no pictures as skipped tasks; an image that cannot be read, an entry not
// found or an image without pictures as a failed task. The folder is made by the first
// picture written into it.
std::vector<Task> diskTasks(const DiskArgument& argument, const Options& options,
                            const std::optional<std::filesystem::path>& outputDir);

} // namespace quendra::convert
