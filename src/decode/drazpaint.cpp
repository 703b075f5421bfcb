// Drazpaint: a multicolour picture at $5800, its row's cell layout (10051 bytes: colour
// memory at 2, screen at 1026, bitmap at 2050, background at 10050). A file holding
// "DRAZPAINT 1.4" after its load address is packed (draz_packer.h) and unpacks to the 10049
// bytes that follow the load address; any other file is plain.
#include <array>

#include "decode/draz_packer.h"
#include "decode/fli_readers.h"
#include "decode/formats.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

constexpr std::string_view kName = "DRAZPAINT 1.4";

const C64Format& drazpaintRow() {
    static const C64Format& row = formatRow(FormatId::drazpaint);
    return row;
}

} // namespace

Decoded decodeDrazpaint(Bytes file, const DecodeOptions& options) {
    const C64Format& row = drazpaintRow();
    if (!hasDrazName(file, kName))
        return decodeCells(row, file, options);
    std::array<std::uint8_t, kDrazpaintLength> plain{file[0], file[1]};
    if (!unpackDraz(file, std::span(plain).subspan(2)))
        return Decoded::reject("the packed Drazpaint data ends before the picture");
    DecodeOptions unpacked = options;
    unpacked.fileSize = plain.size();
    return decodeCells(row, plain, unpacked);
}

int probeDrazpaint(Bytes file, std::uint64_t fileSize) {
    return hasDrazName(file, kName) ? kProbeSignature : probeCells(drazpaintRow(), file, fileSize);
}

} // namespace quendra
