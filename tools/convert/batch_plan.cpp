#include "convert/batch_plan.h"

#include <algorithm>
#include <iterator>
#include <system_error>

#include "convert/convert.h"
#include "decode/c64_names.h"
#include "decode/disk_image.h"
#include "decode/formats.h"
#include "decode/printable_name.h"
#include "export/pc_image_reader.h"

namespace quendra::convert {

namespace fs = std::filesystem;

namespace {

// A task whose outcome is a failure known already.
Task failedTask(const std::string& input, const std::string& reason) {
    Task t;
    t.input = input;
    t.planned = true;
    t.message = printableName(input) + ": " + reason;
    return t;
}

// One file: a disk or tape image's pictures, or the file's own output. `outputDir` is where
// its output goes (beside the input when none).
void planFile(const std::string& file, std::optional<DiskArgument> disk,
              const std::optional<fs::path>& outputDir, const Options& options,
              std::vector<Task>& tasks) {
    if (disk) {
        std::ranges::move(diskTasks(*disk, options, outputDir), std::back_inserter(tasks));
        return;
    }
    Task task;
    task.input = file;
    task.output = outputPathFor(file, outputExtension(options), outputDir);
    task.root = options.outputDir ? *options.outputDir : fs::path(file).parent_path();
    tasks.push_back(std::move(task));
}

// What a folder holds for the batch: its pictures (isFolderPicture) by their paths below it,
// in name order, and the folders below that cannot be read, each with its reason.
struct FolderContents {
    std::vector<fs::path> pictures;
    std::vector<std::pair<fs::path, std::string>> unreadable;
    bool hasFolders = false;
};

// With `recursive` also the folders below, except the output folder itself and folders
// reached by symbolic links.
FolderContents folderContents(const fs::path& top, const Options& options) {
    FolderContents contents;
    std::error_code ec;
    std::optional<fs::path> outputFolder;
    if (options.outputDir)
        outputFolder = fs::weakly_canonical(fs::absolute(*options.outputDir, ec), ec);
    std::vector<fs::path> pending{fs::path()};
    while (!pending.empty()) {
        const fs::path below = std::move(pending.back());
        pending.pop_back();
        const fs::path folder = below.empty() ? top : top / below;
        ec.clear();
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const fs::directory_entry& entry = *it;
            std::error_code statusError;
            if (entry.is_directory(statusError) && !entry.is_symlink(statusError)) {
                contents.hasFolders = true;
                if (options.recursive &&
                    (!outputFolder ||
                     fs::weakly_canonical(entry.path(), statusError) != *outputFolder))
                    pending.push_back(below / entry.path().filename());
            } else if (entry.is_regular_file(statusError) &&
                       isFolderPicture(entry.path(), options)) {
                contents.pictures.push_back(below / entry.path().filename());
            }
        }
        if (ec)
            contents.unreadable.emplace_back(folder, ec.message());
    }
    std::ranges::sort(contents.pictures);
    std::ranges::sort(contents.unreadable);
    return contents;
}

} // namespace

bool keepsWholeName(std::string_view fileName) {
    return isC64StyleName(fileName) && !isPcPictureName(fileName);
}

bool isFolderPicture(const fs::path& file, const Options& options) {
    const std::string name = file.filename().string();
    return namesListedFormat(extensionOf(name)) || keepsWholeName(name) ||
           diskContainerForFile(file) || (options.c64 && isPcPictureName(name));
}

std::vector<Task> planTasks(const Options& options) {
    std::vector<Task> tasks;
    for (const std::string& file : options.files) {
        std::error_code ec;
        if (!fs::is_directory(file, ec)) {
            planFile(file, diskArgument(file), options.outputDir, options, tasks);
            continue;
        }
        const FolderContents contents = folderContents(file, options);
        for (const auto& [folder, reason] : contents.unreadable)
            tasks.push_back(failedTask(folder.string(), reason));
        if (contents.pictures.empty() && contents.unreadable.empty()) {
            tasks.push_back(
                failedTask(file, std::string("holds no picture files") +
                                     (contents.hasFolders && !options.recursive
                                          ? "; -r also converts those in the folders below"
                                          : "")));
        }
        for (const fs::path& picture : contents.pictures) {
            const std::string input = (fs::path(file) / picture).string();
            std::optional<fs::path> outputDir = options.outputDir;
            if (outputDir && picture.has_parent_path())
                *outputDir /= picture.parent_path();
            std::optional<DiskArgument> disk;
            if (diskContainerForFile(input))
                disk = DiskArgument{input, std::nullopt};
            planFile(input, disk, outputDir, options, tasks);
        }
    }
    return tasks;
}

} // namespace quendra::convert
