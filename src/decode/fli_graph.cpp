// FLI Graph: a multicolour FLI picture with a background for every pixel line, at $3B00;
// its row's FLI layout (17474 bytes: line backgrounds at 2, colour memory at 258, screens at
// 1282, bitmap at 9474; 17665- and 17666-byte files carry unused bytes after the bitmap).
// Also the .fli files of other lengths than FLI Designer's (decodeFliDesigner, below).
// Any other length (5 bytes or more, at $3B00) is packed: byte 2 is the escape, and the data
// is read backwards from the last byte down to byte 2, filling the 17472 bytes that follow the
// load address from their last byte down to their first. Read backwards, "escape count
// value" is a run of count values (count 0: 256), so the file stores "value count escape";
// every other byte is itself. The unpacking stops when the 17472 bytes are full; a run
// that reaches past their start is cut, and bytes left unread below the data are ignored,
// up to a page of them: a plain picture cut short would unpack to noise with thousands
// of its bytes unread, so such a file is refused.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/formats.h"
#include "decode/load_address.h"
#include "decode/palette.h"

namespace quendra {

namespace {

constexpr std::size_t kDataBytes = 17472; // the plain file after its load address

const C64Format& graphRow() {
    static const C64Format& row = formatRow(FormatId::fliGraph);
    return row;
}

bool plainLength(std::size_t size) {
    return std::ranges::find(graphRow().fli.lengths, size) != graphRow().fli.lengths.end();
}

// The bytes a packed file may leave unread after the escape byte.
constexpr std::size_t kUnreadAtMost = 256;

// Fills `out` from the packed file; false when the data runs out first. `unread` receives
// the number of bytes between the escape byte and the last byte read.
bool unpack(Bytes file, std::span<std::uint8_t, kDataBytes> out, std::size_t& unread) {
    const std::uint8_t escape = file[2];
    std::size_t in = file.size(); // the next byte read is file[in - 1], never below file[2]
    std::size_t left = out.size();
    const auto next = [&](std::uint8_t& b) {
        if (in <= 2)
            return false;
        b = file[--in];
        return true;
    };
    while (left > 0) {
        std::uint8_t b;
        if (!next(b))
            return false;
        if (b != escape) {
            out[--left] = b;
            continue;
        }
        std::uint8_t count, value;
        if (!next(count) || !next(value))
            return false;
        const std::size_t n = std::min<std::size_t>(count == 0 ? 256 : count, left);
        left -= n;
        std::memset(out.data() + left, value, n);
    }
    unread = in > 3 ? in - 3 : 0; // byte 2, the escape, is never data
    return true;
}

} // namespace

Decoded decodeFliGraph(Bytes file, const DecodeOptions& options) {
    if (plainLength(file.size()))
        return decodeFliLayout(graphRow(), file, options);
    if (file.size() < 5) {
        std::string lengths;
        for (std::uint32_t length : graphRow().fli.lengths)
            lengths += std::to_string(length) + ", ";
        lengths.resize(lengths.size() - 2);
        return Decoded::reject(fli::lengthReason(
            "an FLI Graph picture", lengths + " or (packed) at least 5", file, options));
    }
    // Packed data is read from its end, so it must all be there.
    if (reportedSize(file, options) > file.size() || file.size() >= kFliGraphReadLimit) {
        return Decoded::reject(
            fli::lengthReason("a packed FLI Graph picture", "less than 65536", file, options));
    }
    // Packed data has no signature: its load address is all that tells it (a FLIC
    // animation or a cut FLI Designer file would unpack to noise).
    const std::uint16_t address = graphRow().loadAddresses[0];
    if (!fli::startsWith(file, address)) {
        return Decoded::reject(
            loadAddressReason("a packed FLI Graph picture", addressText(address), file));
    }
    std::array<std::uint8_t, 2 + kDataBytes> plain{file[0], file[1]};
    std::size_t unread = 0;
    if (!unpack(file, std::span(plain).subspan<2>(), unread))
        return Decoded::reject("the packed FLI Graph data ends before the picture");
    if (unread > kUnreadAtMost) {
        return Decoded::reject("this is no packed FLI Graph picture: its picture is full with " +
                               std::to_string(unread) +
                               " of its bytes unread (a plain picture cut short?)");
    }
    DecodeOptions unpacked = options;
    unpacked.fileSize = plain.size();
    return decodeFliLayout(graphRow(), plain, unpacked);
}

int probeFliGraph(Bytes file, std::uint64_t fileSize) {
    if (plainLength(fileSize))
        return probeFliLayout(graphRow(), file, fileSize);
    // Packed files have no signature: only their load address hints at them.
    return fileSize >= 5 && fli::startsWith(file, graphRow().loadAddresses[0]) ? fli::kProbeSize
                                                                               : 0;
}

// FLI Designer's own lengths are its row's layout. Another length at its own address is a
// cut or padded FLI Designer file; any other is FLI Graph's, which the picture then names.
Decoded decodeFliDesigner(Bytes file, const DecodeOptions& options) {
    static const C64Format& designer = formatRow(FormatId::fliDesigner);
    const LayoutLengths& lengths = designer.fli.lengths;
    if (std::ranges::find(lengths, file.size()) != lengths.end())
        return decodeFliLayout(designer, file, options);
    if (file.size() < 5 || fli::startsWith(file, designer.loadAddresses[0]))
        return layoutLengthRejection(designer.fli.what, lengths, file, options);
    Decoded graph = decodeFliGraph(file, options);
    graph.format = &formatRow(FormatId::fliGraph);
    return graph;
}

} // namespace quendra
