#include "convert/output_file.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "decode/printable_name.h"
#include "export/atomic_write.h"
#include "export/picture_format.h"

namespace quendra::convert {

namespace fs = std::filesystem;

namespace {

std::string cannotWrite(const fs::path& target, int error) {
    return "cannot write " + printableName(target.string()) + ": " + std::strerror(error);
}

} // namespace

std::string putFile(const fs::path& target, std::span<const std::uint8_t> bytes, bool replace) {
    if (const fs::path folder = target.parent_path(); !folder.empty()) {
        std::error_code ec;
        if (!fs::is_directory(folder, ec) && !fs::create_directories(folder, ec) && ec) {
            return "cannot write " + printableName(target.string()) + ": cannot make the folder " +
                   printableName(folder.string()) + ": " + ec.message();
        }
    }
    const WriteResult written = writeFileAtomically(target, bytes, Flush::WhenReplacing,
                                                    replace ? Existing::Replace : Existing::Keep);
    if (written.written)
        return {};
    if (!replace && written.errorNumber == EEXIST)
        return printableName(target.string()) + " exists; --force replaces it";
    return cannotWrite(target, written.errorNumber);
}

std::size_t clearLeftovers(const fs::path& folder) {
    constexpr PictureFormat kFormats[] = {
        PictureFormat::PNG,  PictureFormat::GIF,  PictureFormat::BMP,      PictureFormat::PCX,
        PictureFormat::TIFF, PictureFormat::JPEG, PictureFormat::Godot4Bit};
    std::vector<std::string_view> extensions;
    for (PictureFormat format : kFormats)
        extensions.push_back(extensionOf(format));
    return removeStaleTemporaries(folder, extensions);
}

} // namespace quendra::convert
