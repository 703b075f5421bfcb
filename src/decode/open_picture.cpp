#include "decode/open_picture.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "decode/detect.h"
#include "decode/load_address.h"
#include "decode/printable_name.h"

namespace quendra {

namespace {

namespace fs = std::filesystem;

std::string_view namePart(std::string_view fileName) {
    const auto sep = fileName.rfind('/');
    return sep == std::string_view::npos ? fileName : fileName.substr(sep + 1);
}

Decoded readAs(const C64Format& format, Bytes file, const DecodeOptions& options) {
    return decodeAs(format, file.first(std::min<std::size_t>(file.size(), format.readLimit)),
                    options);
}

std::string addressesText(const C64Format& format) {
    std::string text;
    for (std::uint16_t address : format.loadAddresses) {
        if (address == 0)
            continue;
        text += (text.empty() ? "" : " or ") + addressText(address);
    }
    return text;
}

bool loadsAtOneOf(Bytes file, const C64Format& format) {
    return std::ranges::any_of(format.loadAddresses, [&](std::uint16_t address) {
        return address != 0 && hasLoadAddress(file, address);
    });
}

// The named format's reading of a file that holds its length and layout under another load
// address: the file with the format's own load address in its first two bytes.
std::vector<std::uint8_t> withOwnLoadAddress(const C64Format& format, Bytes file) {
    if (format.loadAddresses[0] == 0 || file.size() < 2 || loadsAtOneOf(file, format))
        return {};
    std::vector<std::uint8_t> bytes(file.begin(),
                                    file.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                                       file.size(), format.readLimit)));
    bytes[0] = format.loadAddresses[0] & 0xFF;
    bytes[1] = format.loadAddresses[0] >> 8;
    return bytes;
}

// The named format under another load address ranks between the length alone (2) and
// the length with the load address (4); see Candidate.
constexpr int kNamedWithOtherAddress = 3;

// Reads on from where `in` stands until `bytes` holds `limit` bytes or the file ends.
void readOn(std::ifstream& in, std::vector<std::uint8_t>& bytes, std::uint64_t limit) {
    const std::size_t had = bytes.size();
    bytes.resize(static_cast<std::size_t>(std::max<std::uint64_t>(limit, had)));
    in.read(reinterpret_cast<char*>(bytes.data() + had),
            static_cast<std::streamsize>(bytes.size() - had));
    bytes.resize(had + static_cast<std::size_t>(in.gcount()));
}

// Why nothing takes a file; with the reason of the format its name names, if any.
std::string nothingTakes(std::uint64_t fileSize, bool lengthAloneFits, const C64Format* named,
                         const Decoded& namedRefusal) {
    std::string reason = "not a C64 picture (" + std::to_string(fileSize) +
                         (lengthAloneFits ? " bytes; no format takes it by a signature or by its "
                                            "length and load address)"
                                          : " bytes; no format takes this length or signature)");
    if (named && !namedRefusal.reason.empty())
        reason += "; as " + std::string(named->name) + ": " + namedRefusal.reason;
    return reason;
}

} // namespace

std::size_t firstReadLimit(std::string_view fileName) {
    return std::max(formatForFile(fileName).readLimit, kDetectionReadLimit);
}

OpenedPicture openPicture(Bytes file, std::uint64_t fileSize, std::string_view fileName,
                          const DecodeOptions& givenOptions) {
    DecodeOptions options = givenOptions;
    options.fileSize = fileSize != 0 ? fileSize : file.size();
    const C64Format& named = formatForFile(fileName);
    // Built from the reader's picture, never default-made: a batch's files make no new
    // picture storage (DecodeOptions::reuse).
    Decoded refusal = readAs(named, file, options);
    if (refusal.accepted) {
        const C64Format* format = refusal.format;
        return OpenedPicture{format, std::move(refusal), {}};
    }

    // Every format's evidence, strongest first.
    const Bytes head = file.first(std::min(file.size(), kDetectionReadLimit));
    std::vector<Candidate> candidates =
        rankedFormats(head, options.fileSize, namePart(fileName), &named);
    // The formats the name gives, by its extension or its C64 prefix.
    const C64Format* byExtension = listsExtension(named, extensionOf(fileName)) ? &named : nullptr;
    const C64Format* byPrefix = nullptr;
    if (const std::string_view prefix = c64NamePrefix(namePart(fileName)); !prefix.empty()) {
        const C64Format& row = formatForExtension("." + std::string(prefix));
        if (listsExtension(row, "." + std::string(prefix)))
            byPrefix = &row;
    }
    // A name that names a C64 format outweighs a length alone: only stronger evidence may
    // show the file as another format (a 10004-byte bad.koa is no Face Painter picture).
    bool lengthAloneFits = false;
    if (byExtension || byPrefix) {
        lengthAloneFits = std::erase_if(candidates, [](const Candidate& c) {
                              return c.rank <= kByLengthAlone;
                          }) > 0;
    }
    // The named formats again, under their own load address.
    std::vector<std::uint8_t> ownAddress[2];
    for (int i = 0; i < 2; ++i) {
        const C64Format* format = i == 0 ? &named : byPrefix;
        if (!format || !isDetectable(*format) || (i == 1 && format == &named))
            continue;
        ownAddress[i] = withOwnLoadAddress(*format, file);
        if (ownAddress[i].empty() || probeAs(*format, ownAddress[i], options.fileSize) <= 0)
            continue;
        const auto weaker = std::ranges::find_if(candidates, [](const Candidate& c) {
            return c.rank < kNamedWithOtherAddress;
        });
        candidates.insert(weaker, {.format = format,
                                   .rank = kNamedWithOtherAddress,
                                   .ownLoadAddress = true});
    }
    for (const Candidate& candidate : candidates) {
        const Bytes bytes = !candidate.ownLoadAddress       ? file
                            : candidate.format == &named ? Bytes(ownAddress[0])
                                                         : Bytes(ownAddress[1]);
        Decoded decoded = readAs(*candidate.format, bytes, options);
        if (!decoded.accepted)
            continue;
        const C64Format* format = decoded.format;
        std::string note;
        if (candidate.ownLoadAddress) {
            note = "loads at " + addressText(file[0] | file[1] << 8) + ", not at " +
                   addressesText(*candidate.format) + " as " +
                   std::string(candidate.format->name) + " pictures do";
        }
        return OpenedPicture{format, std::move(decoded), std::move(note)};
    }
    // The format the name's prefix names reads what nothing else takes (a row that
    // detection never finds: its name alone tells its files), else gives the reason.
    if (!byExtension && byPrefix && byPrefix != &named) {
        refusal = readAs(*byPrefix, file, options);
        if (refusal.accepted) {
            const C64Format* format = refusal.format;
            return OpenedPicture{format, std::move(refusal), {}};
        }
    }
    const C64Format* reasonOf = byExtension ? byExtension : byPrefix;
    return OpenedPicture{
        nullptr,
        Decoded::reject(nothingTakes(options.fileSize, lengthAloneFits, reasonOf, refusal)),
        {}};
}

OpenedPicture openPictureFile(const fs::path& path, const DecodeOptions& options) {
    auto unreadable = [&](const std::string& why) {
        OpenedPicture opened;
        opened.decoded = Decoded::reject(why);
        return opened;
    };
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return unreadable("no such file");
    if (fs::is_directory(status))
        return unreadable("a folder, not a picture");
    // Reading a pipe or a device named like a picture could wait forever.
    if (!fs::is_regular_file(status))
        return unreadable("not a plain file");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return unreadable("cannot be read: " + std::string(std::strerror(errno ? errno : EIO)));
    std::uint64_t size = fs::file_size(path, ec);
    if (ec)
        size = 0; // unknown: the bytes read tell
    std::vector<std::uint8_t> bytes;
    readOn(in, bytes, ec ? firstReadLimit(path.string())
                         : std::min<std::uint64_t>(size, firstReadLimit(path.string())));
    OpenedPicture opened = openPicture(bytes, size, path.string(), options);
    // A format found by content detection may read more than the name's format does (a
    // GoDot clip under another name): read it again as far as that format reads.
    if (opened.format && opened.format->readLimit > bytes.size() && size > bytes.size()) {
        readOn(in, bytes, std::min<std::uint64_t>(size, opened.format->readLimit));
        DecodeOptions again = options;
        again.fileSize = size;
        if (Decoded decoded = decodeAs(*opened.format, bytes, again); decoded.accepted)
            opened.decoded = std::move(decoded);
    }
    return opened;
}

std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t limit,
                                         std::uint64_t* fileSize) {
    std::vector<std::uint8_t> bytes;
    if (fileSize)
        *fileSize = 0;
    // Only plain files: opening a pipe or a device named like a picture would wait forever.
    std::error_code regular;
    if (!std::filesystem::is_regular_file(path, regular))
        return bytes;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return bytes;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (fileSize && !ec)
        *fileSize = size;
    // Grow in steps when the size is unknown (a pipe, a special file).
    const std::size_t want = ec ? std::min<std::size_t>(limit, 1 << 16)
                                : static_cast<std::size_t>(std::min<std::uintmax_t>(size, limit));
    bytes.resize(want);
    std::size_t got = 0;
    while (true) {
        in.read(reinterpret_cast<char*>(bytes.data() + got),
                static_cast<std::streamsize>(bytes.size() - got));
        got += static_cast<std::size_t>(in.gcount());
        if (!in || got >= limit)
            break;
        if (got == bytes.size())
            bytes.resize(std::min(limit, bytes.size() * 2 + 1));
    }
    bytes.resize(got);
    return bytes;
}

Decoded readPicture(const std::filesystem::path& path, const C64Format& format,
                    DecodeOptions options) {
    const std::vector<std::uint8_t> bytes =
        readFilePrefix(path, format.readLimit, &options.fileSize);
    return decodeAs(format, bytes, options);
}

Decoded decodeFile(const std::filesystem::path& path, const DecodeOptions& options) {
    return openPictureFile(path, options).decoded;
}

} // namespace quendra
