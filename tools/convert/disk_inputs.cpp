#include "decode/counted.h"
#include "convert/disk_inputs.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>

#include "decode/disk_pictures.h"
#include "decode/formats.h"
#include "decode/printable_name.h"

namespace quendra::convert {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isImageFile(const std::string& name) {
    std::error_code ec;
    return fs::is_regular_file(name, ec) && diskContainerForFile(name);
}

} // namespace

std::optional<DiskArgument> diskArgument(const std::string& argument) {
    if (isImageFile(argument))
        return DiskArgument{argument, std::nullopt};
    // "IMAGE:NAME": the first ":" after which the part before names an image.
    for (auto colon = argument.find(':'); colon != std::string::npos;
         colon = argument.find(':', colon + 1)) {
        const std::string image = argument.substr(0, colon);
        if (isImageFile(image))
            return DiskArgument{image, argument.substr(colon + 1)};
    }
    return std::nullopt;
}

fs::path imageFolder(const std::string& image, const std::optional<fs::path>& outputDir) {
    const fs::path path(image);
    std::string name = path.filename().string();
    name.resize(name.size() - extensionOf(name).size());
    return (outputDir ? *outputDir : path.parent_path()) / safeFileName(name);
}

std::vector<Task> diskTasks(const DiskArgument& argument, const Options& options,
                            const std::optional<fs::path>& outputDir) {
    std::vector<Task> tasks;
    auto planned = [&](std::string input, bool skipped, std::string message) {
        Task t;
        t.input = std::move(input);
        t.planned = true;
        t.skipped = skipped;
        t.message = printableName(t.input) + ": " + message;
        tasks.push_back(std::move(t));
    };
    const std::string& label = argument.image;
    OpenedDisk opened = readDiskImage(label);
    if (!opened.image) {
        planned(label, false, opened.error);
        return tasks;
    }
    const std::shared_ptr<const DiskImage> image = std::move(opened.image);
    const std::optional<std::string> wanted =
        argument.entry ? argument.entry : (options.entry.empty() ? std::nullopt
                                                                 : std::optional(options.entry));
    const fs::path folder = imageFolder(label, outputDir);
    const fs::path root = options.outputDir ? *options.outputDir : fs::path(label).parent_path();
    std::set<std::string> taken; // output names in lower case, for file systems that ignore it
    std::size_t pictures = 0, matched = 0;
    const std::vector<DiskEntry>& entries = image->entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DiskEntry& entry = entries[i];
        if (wanted && lower(entry.name) != lower(*wanted) &&
            lower(safeFileName(entry.name)) != lower(*wanted))
            continue;
        ++matched;
        const std::string input = label + ":" + entry.name;
        const EntryPicture picture = decodeEntry(*image, entry, {});
        if (!picture.format) {
            std::string why = entry.type == C64FileType::Del
                                  ? "a DEL entry holds no file"
                                  : "not a picture (" + std::string(fileTypeName(entry.type)) +
                                        ", " + std::to_string(entry.length) + " bytes)";
            if (!extensionByC64Name(entry.petsciiName).empty() && !picture.decoded.reason.empty())
                why += ": " + picture.decoded.reason;
            if (!entry.note.empty())
                why += "; " + entry.note;
            planned(input, !wanted, (wanted ? "" : "skipped: ") + why);
            continue;
        }
        ++pictures;
        std::string base = safeFileName(entry.name), name = base;
        for (int n = 2; !taken.insert(lower(name)).second; ++n)
            name = base + "_" + std::to_string(n);
        Task t;
        t.input = input;
        t.output = folder / (name + "." + std::string(outputExtension(options)));
        t.root = root;
        t.disk = image;
        t.entry = i;
        t.format = picture.format;
        tasks.push_back(std::move(t));
    }
    if (wanted && matched == 0)
        planned(label, false, "holds no entry named " + *wanted);
    else if (!wanted && pictures == 0)
        planned(label, false,
                "holds no picture among its " + counted(entries.size(), "entry", "entries"));
    return tasks;
}

} // namespace quendra::convert
