// The C64 picture program, run: a 6502 loads it at $0801, calls its BASIC line's SYS target
// and runs the displayer until it waits for a key; the VIC's registers and the memory it
// was told to look at then draw the picture, which must be the one converted, pixel for
// pixel. A key (or fire) then leads back to BASIC with the machine as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "decode/cells.h"
#include "decode/formats.h"
#include "export/c64_export.h"
#include "export/c64_program.h"
#include "export/mos6502.h"
#include "samples/c64_files.h"
#include "samples/fli_files.h"

namespace quendra {
namespace {

namespace fs = std::filesystem;
using test::Mos6502;

// The registers the displayer must give back, as BASIC leaves them after RUN (and a sprite
// on, as another program may have left it).
constexpr std::pair<std::uint16_t, std::uint8_t> kMachine[] = {
    {0xD011, 0x1B}, {0xD016, 0xC8}, {0xD018, 0x15}, {0xD020, 0x0E}, {0xD021, 0x06},
    {0xDD00, 0x97}, {0xDD02, 0x3F}, {0xDC00, 0x7F}, {0xD015, 0x01},
};

// The SYS target of the program's first BASIC line: 10 SYS 2066.
std::uint16_t sysTarget(const Mos6502& c64) {
    std::size_t at = 0x0805;
    EXPECT_EQ(c64.memory[at], 0x9E) << "no SYS in the BASIC line";
    int target = 0;
    while (c64.memory[++at] >= '0' && c64.memory[at] <= '9')
        target = target * 10 + c64.memory[at] - '0';
    return static_cast<std::uint16_t>(target);
}

// What the VIC shows: bitmap, screen, colour RAM and background where its registers and
// CIA 2's bank bits tell it to look.
IndexedImage shownPicture(const Mos6502& c64) {
    const auto& m = c64.memory;
    const int bank = 0x4000 * (3 - (m[0xDD00] & 3));
    const int screen = bank + 0x400 * (m[0xD018] >> 4);
    const int bitmap = bank + 0x2000 * (m[0xD018] >> 3 & 1);
    // In banks 0 and 2 the VIC sees the character ROM at $1000-$1FFF, not the RAM.
    for (const int start : {screen, bitmap}) {
        EXPECT_FALSE((bank == 0 || bank == 0x8000) && (start & 0x3000) == 0x1000)
            << "the VIC looks at the character ROM";
    }
    EXPECT_EQ(m[0xD011] & 0x30, 0x30) << "bitmap mode with the screen on";
    IndexedImage shown(320, 200);
    const auto bits = std::span(m).subspan(bitmap).first<kBitmapBytes>();
    const auto cells = std::span(m).subspan(screen).first<kScreenBytes>();
    if (m[0xD016] & 0x10) {
        std::array<std::uint8_t, kScreenBytes> colourRam;
        for (std::size_t i = 0; i < colourRam.size(); ++i)
            colourRam[i] = m[0xD800 + i] & 15;
        decodeMulticolour(shown, bits, cells, colourRam, m[0xD021] & 15);
    } else {
        decodeHires(shown, bits, cells);
    }
    return shown;
}

fs::path realSamples() {
    return fs::path(QUENDRA_SOURCE_DIR) / ".." / "shared" / "real-samples";
}

TEST(C64Program, RunsShowsThePictureAndReturnsToBasic) {
    using samples::testPattern;
    const struct {
        std::string name; // of a real sample; else a file of that extension built here
        samples::ByteVector built;
        bool multicolour;
        int border; // --prg-border; -1 the background
        bool fire;  // the show ends with joystick 2's fire instead of a key
    } cases[] = {
        {"built.koa", samples::makeKoala(testPattern(1)), true, -1, false},
        {"built.art", samples::makeArtStudioHires(testPattern(2)), false, 2, true},
        {"built.dd", samples::makeDoodle(testPattern(3)), false, -1, false},
        {"NINJA3.koa", {}, true, 7, true},
        {"more/tomahawk-fromzx.art", {}, false, -1, false},
        {"DDC64_COMPUTER.dd", {}, false, -1, false},
    };
    std::size_t ran = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path real = realSamples() / c.name;
        if (c.built.empty() && !fs::exists(real))
            continue; // the real pictures lie beside the repository's main line only
        const Decoded source =
            c.built.empty() ? decodeFile(real, {}) : decodeAs(formatForFile(c.name), c.built, {});
        ASSERT_TRUE(source.accepted) << source.reason;
        const IndexedImage& picture = source.picture;
        ++ran;
        C64Exporter exporter;
        C64ExportOptions options;
        options.border = c.border;
        std::vector<std::uint8_t> program;
        ASSERT_EQ(exporter.write(picture, *findC64Writer("prg"), options, program), "");
        // At most the picture's memories (bitmap, screen, colour memory and background) and
        // the load address plus 1 KB.
        const std::size_t data = c.multicolour ? 10001 : 9000;
        EXPECT_LE(program.size(), 2 + data + 1024);

        Mos6502 c64;
        for (const auto& [address, value] : kMachine)
            c64.memory[address] = value;
        for (int i = 0; i < 256; ++i) // the zero page: a program may keep data at $FB-$FE
            c64.memory[i] = static_cast<std::uint8_t>(i * 7);
        for (int i = 0; i < 1000; ++i) { // the text screen and its colours
            c64.memory[0x400 + i] = static_cast<std::uint8_t>(i);
            c64.memory[0xD800 + i] = static_cast<std::uint8_t>(0xF0 | i % 16);
        }
        const auto before = c64.memory;
        std::ranges::copy(std::span(program).subspan(2), c64.memory.begin() + 0x0801);
        const auto loaded = c64.memory;
        c64.s = 0xF6;
        c64.p = 0x20; // interrupts on, as BASIC runs
        c64.call(sysTarget(c64));
        c64.keysHeld[0] = 0x02; // RETURN, still held from RUN
        const auto waitForKeyboard = [&c64] {
            const long from = c64.keyboardReads;
            return c64.run([&] { return c64.keyboardReads > from + 500; }, 2'000'000);
        };
        ASSERT_EQ(waitForKeyboard(), Mos6502::Stop::asked);
        c64.keysHeld[0] = 0; // RETURN let go: the show waits for a key
        ASSERT_EQ(waitForKeyboard(), Mos6502::Stop::asked);

        EXPECT_EQ(shownPicture(c64).indices().size(), picture.indices().size());
        EXPECT_TRUE(std::ranges::equal(shownPicture(c64).indices(), picture.indices()));
        EXPECT_EQ(c64.memory[0xD016] & 0x10, c.multicolour ? 0x10 : 0);
        EXPECT_EQ(c64.memory[0xD015], 0) << "sprites off";
        const int background = c64.memory[0xD021];
        EXPECT_EQ(c64.memory[0xD020], c.border < 0 ? background : c.border);
        EXPECT_TRUE(c64.p & 0x04) << "interrupts off while the picture shows";

        if (c.fire)
            c64.joystick2Held = 0x10;
        else
            c64.keysHeld[7] = 0x10; // space
        ASSERT_EQ(waitForKeyboard(), Mos6502::Stop::asked) << "the key is let go first";
        c64.joystick2Held = 0;
        c64.keysHeld[7] = 0;
        ASSERT_EQ(c64.run({}, 2'000'000), Mos6502::Stop::returned);
        EXPECT_EQ(c64.s, 0xF6);
        EXPECT_EQ(c64.p & 0x04, 0) << "interrupts on again";
        for (const auto& [address, value] : kMachine)
            EXPECT_EQ(c64.memory[address], value) << std::hex << address;
        // No I/O written but these registers and, for multicolour, the colour RAM.
        for (const Mos6502::IoWrite& w : c64.ioWrites) {
            const bool colourRam =
                c.multicolour && w.address >= 0xD800 && w.address < 0xD800 + 1000;
            EXPECT_TRUE(
                colourRam ||
                std::ranges::any_of(kMachine, [&](const auto& r) { return r.first == w.address; }))
                << std::hex << w.address;
        }
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(c64.memory[0xD800 + i] & 15, before[0xD800 + i] & 15) << "colour RAM " << i;
        EXPECT_TRUE(std::ranges::equal(std::span(c64.memory).subspan(0x0400, 1000),
                                       std::span(before).subspan(0x0400, 1000)))
            << "the text screen";
        EXPECT_TRUE(
            std::ranges::equal(std::span(c64.memory).first(256), std::span(before).first(256)))
            << "the zero page";
        // The program as loaded, to be run again: all but the displayer's last 13 bytes,
        // where it keeps the registers and zero page bytes it found.
        const auto unchanged = [&](std::size_t from, std::size_t end) {
            return std::ranges::equal(std::span(c64.memory).subspan(from, end - from),
                                      std::span(loaded).subspan(from, end - from));
        };
        EXPECT_TRUE(unchanged(0x0801, 0x0801 + displayerSize() - 13));
        EXPECT_TRUE(unchanged(0x0C00, 0x0801 + program.size() - 2));
    }
    EXPECT_GE(ran, 3u);
}

// The program is written only for the kinds it shows: an FLI picture breaks both its rules.
TEST(C64Program, FliIsNoProgram) {
    const samples::ByteVector file = samples::makeFliDesigner(samples::fliPattern());
    const Decoded fli = decodeAs(formatForFile("x.fli"), file, {});
    ASSERT_TRUE(fli.accepted) << fli.reason;
    C64Exporter exporter;
    std::vector<std::uint8_t> out;
    const std::string why = exporter.write(fli.picture, *findC64Writer("prg"), {}, out);
    EXPECT_NE(why.find("as multicolour, "), std::string::npos) << why;
    EXPECT_NE(why.find("; as hires, "), std::string::npos) << why;
}

} // namespace
} // namespace quendra
