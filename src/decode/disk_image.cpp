#include "decode/disk_image.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace quendra {

namespace {

// The order is the one the units below rely on: readCbmDisk tells the three floppies
// apart by their row.
constexpr DiskContainer kContainers[] = {
    {.name = "D64 disk image", .extensions = "d64", .mimeType = "application/x-d64"},
    {.name = "D71 disk image", .extensions = "d71", .mimeType = "application/x-d71"},
    {.name = "D81 disk image", .extensions = "d81", .mimeType = "application/x-d81"},
    {.name = "T64 tape image", .extensions = "t64", .mimeType = "application/x-t64"},
    {.name = "PC64 file", .extensions = "p00, s00, u00, r00 (to 99)",
     .mimeType = "application/x-pc64"},
};

std::string lowerExtension(std::string_view fileName) {
    const auto sep = fileName.rfind('/');
    if (sep != std::string_view::npos)
        fileName.remove_prefix(sep + 1);
    const auto dot = fileName.rfind('.');
    std::string ext(dot == std::string_view::npos ? std::string_view{} : fileName.substr(dot + 1));
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool isPc64Extension(std::string_view ext) {
    return ext.size() == 3 && std::string_view("psur").find(ext[0]) != std::string_view::npos &&
           std::isdigit(static_cast<unsigned char>(ext[1])) &&
           std::isdigit(static_cast<unsigned char>(ext[2]));
}

} // namespace

std::string_view fileTypeName(C64FileType type) {
    switch (type) {
    case C64FileType::Del: return "DEL";
    case C64FileType::Seq: return "SEQ";
    case C64FileType::Prg: return "PRG";
    case C64FileType::Usr: return "USR";
    case C64FileType::Rel: return "REL";
    case C64FileType::Unknown: break;
    }
    return "???";
}

std::span<const DiskContainer> diskContainers() {
    return kContainers;
}

const DiskContainer* diskContainerForName(std::string_view fileName) {
    const std::string ext = lowerExtension(fileName);
    if (isPc64Extension(ext))
        return &kContainers[4];
    for (const DiskContainer& c : std::span(kContainers).first(4)) {
        if (c.extensions == ext)
            return &c;
    }
    return nullptr;
}

const DiskContainer* diskContainerForFile(const std::filesystem::path& path) {
    const DiskContainer* container = diskContainerForName(path.filename().string());
    if (container != &kContainers[4])
        return container;
    constexpr std::string_view kSignature("C64File\0", 8);
    char head[kSignature.size()] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(head, sizeof head);
    return in.gcount() == static_cast<std::streamsize>(sizeof head) &&
                   std::string_view(head, sizeof head) == kSignature
               ? container
               : nullptr;
}

std::vector<std::uint8_t> DiskImage::read(const DiskEntry& entry, std::size_t limit) const {
    std::vector<std::uint8_t> out(
        entry.leading.begin(),
        entry.leading.begin() + static_cast<std::ptrdiff_t>(std::min(limit, entry.leading.size())));
    out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(entry.length, limit)));
    for (const DiskEntry::Piece& piece : entry.pieces) {
        // The units give pieces inside the image; checked once more all the same.
        if (piece.offset > bytes_.size() || piece.size > bytes_.size() - piece.offset ||
            out.size() >= limit)
            break;
        const std::size_t size = std::min<std::size_t>(piece.size, limit - out.size());
        out.insert(out.end(), bytes_.begin() + piece.offset, bytes_.begin() + piece.offset + size);
    }
    return out;
}

OpenedDisk openDiskImage(std::vector<std::uint8_t> bytes, std::string_view fileName) {
    const DiskContainer* container = diskContainerForName(fileName);
    if (!container)
        return {nullptr, "not a disk or tape image (its name ends in none of their extensions)"};
    auto image = std::make_unique<DiskImage>(*container, std::move(bytes));
    std::string error;
    if (container == &kContainers[3])
        error = readT64(*image);
    else if (container == &kContainers[4])
        error = readPc64(*image, fileName);
    else
        error = readCbmDisk(*image);
    if (!error.empty())
        return {nullptr, std::move(error)};
    return {std::move(image), {}};
}

OpenedDisk readDiskImage(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return {nullptr, "not a regular file"};
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return {nullptr, ec.message()};
    if (size > kDiskImageReadLimit)
        return {nullptr, "too large for a disk or tape image (" + std::to_string(size) + " bytes)"};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {nullptr, "cannot be opened"};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return openDiskImage(std::move(bytes), path.filename().string());
}

} // namespace quendra
