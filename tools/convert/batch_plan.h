// The batch's outputs, planned from the names on the command line before anything is
// written: a file gives one output, a disk or tape image one per picture inside
// (disk_inputs.h), a folder its picture files (with -r also those of the folders below).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/disk_inputs.h"
#include "convert/options.h"

namespace quendra::convert {

// Whether an output keeps the input's whole name: a C64-style name (pi.worldmap gives
// pi.worldmap.png, decode/c64_names.h) that is not a PC picture's (pi.png).
bool keepsWholeName(std::string_view fileName);

// Whether a folder's file is among its pictures: its extension or C64 prefix names a C64
// format, or it is a disk or tape image; when a C64 format is written, also a PC picture
// (.png .gif .bmp .jpg .jpeg).
bool isFolderPicture(const std::filesystem::path& file, const Options& options);

// The tasks of the whole command line, in its order (a folder's files by name). Each task
// names its output and the folder that output must lie in (root); nothing is made yet.
std::vector<Task> planTasks(const Options& options);

} // namespace quendra::convert
