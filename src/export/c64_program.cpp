#include "export/c64_program.h"

#include <algorithm>
#include <span>

#include "decode/cells.h"
#include "decode/reader_checks.h"
#include "export/show_bitmap_code.h" // generated at build time from displayers/show_bitmap.s

namespace quendra {

namespace {

// Memory addresses of the layout (see show_bitmap.s) and their offsets in the file.
constexpr std::uint16_t kScreen = 0x0C00;
constexpr std::uint16_t kColours = 0x0FE8;
constexpr std::uint16_t kMulticolourBitmap = 0x13D0;
constexpr std::uint16_t kHiresBitmap = 0x0FE8;
constexpr std::size_t at(std::uint16_t address) {
    return 2 + static_cast<std::size_t>(address - kProgramStart);
}
constexpr std::size_t kMulticolourLength = at(kMulticolourBitmap) + kBitmapBytes; // 11025
constexpr std::size_t kHiresLength = at(kHiresBitmap) + kBitmapBytes;             // 10025

// The parameters after the BASIC line, at $080D: $D016's value, background, border, and
// where the bitmap lies.
constexpr std::size_t kParameters = 12;
enum Parameter : std::size_t { mode, background, border, bitmapLow, bitmapHigh };
constexpr std::uint8_t kMulticolourMode = 0x18;
constexpr std::uint8_t kHiresMode = 0x08;

static_assert(sizeof(kShowBitmapCode) <= at(kScreen) - 2, "the displayer runs into the screen");
static_assert(kShowBitmapCode[kParameters + mode] == kMulticolourMode &&
                  kShowBitmapCode[kParameters + bitmapLow] == (kMulticolourBitmap & 0xFF) &&
                  kShowBitmapCode[kParameters + bitmapHigh] == kMulticolourBitmap >> 8,
              "the displayer's parameters are not where the writer puts them");

void layOut(const C64Memories& m, bool multicolour, std::vector<std::uint8_t>& out) {
    const std::uint16_t bitmap = multicolour ? kMulticolourBitmap : kHiresBitmap;
    out.assign(multicolour ? kMulticolourLength : kHiresLength, 0);
    out[0] = kProgramStart & 0xFF;
    out[1] = kProgramStart >> 8;
    std::ranges::copy(kShowBitmapCode, out.begin() + 2);
    std::uint8_t* parameters = out.data() + 2 + kParameters;
    parameters[mode] = multicolour ? kMulticolourMode : kHiresMode;
    parameters[background] = m.background & 15;
    parameters[border] = static_cast<std::uint8_t>((m.border < 0 ? m.background : m.border) & 15);
    parameters[bitmapLow] = bitmap & 0xFF;
    parameters[bitmapHigh] = bitmap >> 8;
    std::copy_n(m.screens.begin(), kScreenBytes, out.begin() + at(kScreen));
    if (multicolour) {
        // The colour RAM keeps 4 bits; the displayer swaps it back as 4 bits.
        std::ranges::transform(m.colour, out.begin() + at(kColours),
                               [](std::uint8_t c) { return static_cast<std::uint8_t>(c & 15); });
    }
    std::ranges::copy(m.bitmap, out.begin() + at(bitmap));
}

// The program read back: only a file this writer made (the displayer's bytes and one of
// the two lengths) is taken.
Decoded readProgram(Bytes file, const DecodeOptions& options) {
    const bool multicolour = file.size() == kMulticolourLength;
    if (!multicolour && file.size() != kHiresLength)
        return Decoded::reject("a C64 picture program is 10025 or 11025 bytes long");
    auto code = file.subspan(2, sizeof(kShowBitmapCode));
    std::vector<std::uint8_t> expected(std::begin(kShowBitmapCode), std::end(kShowBitmapCode));
    std::copy_n(code.begin() + kParameters, 5, expected.begin() + kParameters);
    const std::uint8_t wantedMode = multicolour ? kMulticolourMode : kHiresMode;
    if (file[0] != (kProgramStart & 0xFF) || file[1] != kProgramStart >> 8 ||
        !std::ranges::equal(code, expected) || code[kParameters + mode] != wantedMode)
        return Decoded::reject("not a picture program of this displayer");
    const std::uint16_t bitmapAt = multicolour ? kMulticolourBitmap : kHiresBitmap;
    Decoded d = acceptedPicture(options);
    const auto bitmap = file.subspan(at(bitmapAt)).first<kBitmapBytes>();
    const auto screen = file.subspan(at(kScreen)).first<kScreenBytes>();
    if (multicolour)
        decodeMulticolour(d.picture, bitmap, screen,
                          file.subspan(at(kColours)).first<kScreenBytes>(),
                          code[kParameters + background]);
    else
        decodeHires(d.picture, bitmap, screen);
    return d;
}

} // namespace

const C64Format kProgramFormat{
    .name = "C64 program",
    .extensions = {".prg"},
    .decode = readProgram,
    .inFileMask = false,
    .loadAddresses = {kProgramStart},
};

std::size_t displayerSize() {
    return sizeof(kShowBitmapCode);
}

void layOutMulticolourProgram(const C64Memories& memories, std::uint16_t,
                              std::vector<std::uint8_t>& out) {
    layOut(memories, true, out);
}

void layOutHiresProgram(const C64Memories& memories, std::uint16_t,
                        std::vector<std::uint8_t>& out) {
    layOut(memories, false, out);
}

} // namespace quendra
