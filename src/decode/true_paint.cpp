// True Paint: an interlaced multicolour picture at $9C00, its row's FLI layout (19434 bytes:
// the first frame's screen at 2 and bitmap at 1026, the second frame's bitmap at 9218 and
// screen at 17410, one background at 1002 and one colour memory at 18434; the second frame
// one pixel to the right).
// A file of any other length (142 bytes or more) is a self-extracting packed program. Its
// unpacker keeps nine marker bytes at 129..137 and each marker's kind at 120..128. The data
// is read backwards from the last byte down to byte 2 and fills the plain file's bytes
// 19433 down to 2. A byte read is compared with markers 8 down to 0; at the first that
// matches, marker e's kind says what it stands for ("next" is the byte read after it):
//   0   2 copies of byte 133 + e         17  2 + next copies of the byte read after next
//   7   2 + next copies of byte 79       23  3 copies of next
//   11  3 copies of byte 79              25  next, itself
// A byte that matches no marker, or a marker of another kind, is itself. Unpacking stops
// when the bytes are full; a run that reaches past byte 2 is cut. Bytes left unread below
// the data are ignored up to a page past the unpacker: a plain picture cut short would
// unpack to noise with thousands of its bytes unread, so such a file is refused.
#include <algorithm>
#include <array>
#include <cstring>

#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/formats.h"

namespace quendra {

namespace {

constexpr std::size_t kLength = kTruePaintLength;

constexpr std::size_t kPackedMinimum = 142;
constexpr std::size_t kKinds = 120;
constexpr std::size_t kMarkers = 129;
constexpr std::size_t kPairValues = 133;
constexpr std::size_t kRunValue = 79;

// What a byte read stands for: a marker's kind (below), or kPlain for the byte itself.
constexpr std::int8_t kPlain = -1;
constexpr std::uint8_t kKnownKinds[] = {0, 7, 11, 17, 23, 25};

// Copies the plain bytes read from file[in - 1] down, into out[left - 1] down, until a
// marker, the data's byte 2 or the bytes' byte 2. The one loop every byte of the data takes.
void copyPlainBytes(const std::uint8_t* file, std::size_t& in, std::uint8_t* out, std::size_t& left,
                    const std::int8_t* kindOf) {
    while (in > 2 && left > 2 && kindOf[file[in - 1]] == kPlain)
        out[--left] = file[--in];
}

// Fills out[2..19433] from the packed file; false when the data runs out first. `unreadEnd`
// receives the offset after the last byte left unread.
bool unpack(Bytes file, std::span<std::uint8_t, kLength> out, std::size_t& unreadEnd) {
    std::size_t in = file.size(); // the next byte read is file[in - 1], never below file[2]
    std::size_t left = kLength;   // out[2 .. left - 1] are still to be filled
    bool ok = true;
    const auto next = [&]() -> std::uint8_t {
        if (in <= 2) {
            ok = false;
            return 0;
        }
        return file[--in];
    };
    const auto run = [&](std::size_t count, std::uint8_t value) {
        const std::size_t n = std::min(count, left - 2);
        left -= n;
        std::memset(out.data() + left, value, n);
    };
    // The entry each byte value marks (the last of equal markers), and what it stands for:
    // a marker of a kind not known here is a plain byte.
    std::array<std::uint8_t, 256> entryOf{};
    std::array<std::int8_t, 256> kindOf;
    kindOf.fill(kPlain);
    for (std::uint8_t e = 0; e <= 8; ++e) {
        const std::uint8_t marker = file[kMarkers + e];
        const std::uint8_t kind = file[kKinds + e];
        entryOf[marker] = e;
        kindOf[marker] = std::ranges::find(kKnownKinds, kind) != std::end(kKnownKinds)
                             ? static_cast<std::int8_t>(kind)
                             : kPlain;
    }
    while (left > 2) {
        copyPlainBytes(file.data(), in, out.data(), left, kindOf.data());
        if (left <= 2)
            break;
        // A marker follows, unless the data ends here.
        const std::uint8_t b = next();
        if (!ok)
            return false;
        switch (kindOf[b]) {
        case 0:
            run(2, file[kPairValues + entryOf[b]]);
            break;
        case 7: {
            const std::size_t count = 2 + next();
            run(count, file[kRunValue]);
            break;
        }
        case 11:
            run(3, file[kRunValue]);
            break;
        case 17: {
            const std::size_t count = 2 + next();
            const std::uint8_t value = next();
            run(count, value);
            break;
        }
        case 23:
            run(3, next());
            break;
        default: // 25
            run(1, next());
            break;
        }
        if (!ok)
            return false;
    }
    unreadEnd = in;
    return true;
}

} // namespace

Decoded decodeTruePaint(Bytes file, const DecodeOptions& options) {
    static const C64Format& row = formatRow(FormatId::truePaint);
    if (file.size() == kLength)
        return decodeFliLayout(row, file, options);
    if (file.size() < kPackedMinimum) {
        return Decoded::reject(fli::lengthReason("a True Paint picture",
                                                 "19434 or (packed) at least 142", file, options));
    }
    // Packed data is read from its end, so it must all be there.
    if (reportedSize(file, options) > file.size() || file.size() >= kTruePaintReadLimit) {
        return Decoded::reject(
            fli::lengthReason("a packed True Paint picture", "less than 65536", file, options));
    }
    std::array<std::uint8_t, kLength> unpacked{};
    std::size_t unreadEnd = 0;
    if (!unpack(file, unpacked, unreadEnd))
        return Decoded::reject("the packed True Paint data ends before the picture");
    if (unreadEnd > kPackedMinimum + 256) {
        return Decoded::reject("this is no packed True Paint picture: its picture is full with " +
                               std::to_string(unreadEnd - kPackedMinimum) +
                               " bytes unread after the unpacker (a plain picture cut short?)");
    }
    DecodeOptions plain = options;
    plain.fileSize = kLength;
    return decodeFliLayout(row, unpacked, plain);
}

} // namespace quendra
