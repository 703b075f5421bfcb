// Art Studio hires (.art, .aas, .hpi) and Interpaint hires (.iph): one memory image, told
// apart only by where real files load (Art Studio at $2000, Interpaint at $4000).
//   0     2     load address, not checked
//   2     8000  bitmap
//   8002  1000  screen memory: set pixels high nibble, clear pixels low nibble
//   9002  1     border colour, not shown (missing in 9002-byte files)
//   9003  6     editor data, not shown (only in 9009-byte files)
// An 8002- or 8194-byte .hpi file is a plain bitmap (hires_bitmap.cpp); content detection
// finds it there when this reader refuses it.
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

Decoded decodeLayout(Bytes file, const DecodeOptions& options, std::string_view suffix,
                     std::string_view what) {
    if (!hasLengthOneOf(file, options, {9002, 9003, 9009}))
        return lengthRejection(suffix, what, "9002, 9003 or 9009", file, options);
    Decoded d = acceptedPicture(suffix, options);
    decodeHires(d.picture, file.subspan<2, kBitmapBytes>(), file.subspan<8002, kScreenBytes>());
    return d;
}

} // namespace

Decoded decodeArtStudioHires(Bytes file, const DecodeOptions& options) {
    return decodeLayout(file, options, " (Art Studio HiRes)", "an Art Studio hires picture");
}

int probeArtStudioHires(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {9002, 9003, 9009}, 0x2000);
}

Decoded decodeInterpaintHires(Bytes file, const DecodeOptions& options) {
    return decodeLayout(file, options, " (Interpaint HiRes)", "an Interpaint hires picture");
}

int probeInterpaintHires(Bytes file, std::uint64_t fileSize) {
    // Only what sets it apart from Art Studio: the load address of real files.
    return hasLoadAddress(file, 0x4000)
               ? probeLengthAndAddress(file, fileSize, {9002, 9003, 9009}, 0x4000)
               : 0;
}

} // namespace quendra
