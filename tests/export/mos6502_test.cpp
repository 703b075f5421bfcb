// The tests' 6502 against results the instruction set's documentation gives: the ones a
// wrong table or flag would most likely get wrong.
#include <gtest/gtest.h>

#include <vector>

#include "export/mos6502.h"

namespace quendra::test {
namespace {

TEST(Mos6502, DocumentedResults) {
    const struct {
        const char* what;
        std::vector<std::uint8_t> code; // at $0200, ending in RTS
        std::uint8_t a;
        std::uint8_t flags; // NV-BDIZC, of those in `mask`
        std::uint8_t mask;
    } cases[] = {
        {"ADC overflow", {0x18, 0xA9, 0x7F, 0x69, 0x01, 0x60}, 0x80, 0xC0, 0xC3},
        {"ADC decimal", {0xF8, 0x18, 0xA9, 0x19, 0x69, 0x01, 0xD8, 0x60}, 0x20, 0x00, 0x01},
        {"SBC borrow", {0x38, 0xA9, 0x00, 0xE9, 0x01, 0x60}, 0xFF, 0x80, 0x83},
        {"SBC decimal", {0xF8, 0x38, 0xA9, 0x10, 0xE9, 0x01, 0xD8, 0x60}, 0x09, 0x01, 0x01},
        {"ASL into carry", {0xA9, 0x80, 0x0A, 0x60}, 0x00, 0x03, 0x83},
        {"ROR through carry", {0x38, 0xA9, 0x02, 0x6A, 0x60}, 0x81, 0x80, 0x83},
        {"CMP sets carry when greater or equal", {0xA9, 0x40, 0xC9, 0x40, 0x60}, 0x40, 0x03, 0x83},
        {"BIT copies bits 7 and 6", {0xA9, 0x01, 0x2C, 0x00, 0x03, 0x60}, 0x01, 0xC2, 0xC2},
        // JMP ($02FF) takes its high byte from $0200, not $0300 (the 6502's page wrap)
        {"JMP indirect page wrap", {0x6C, 0xFF, 0x02, 0x60}, 0x00, 0x00, 0x00},
        {"(zp),Y across a page", {0xA0, 0x01, 0xB1, 0x10, 0x60}, 0x5A, 0x00, 0x82},
    };
    for (const auto& c : cases) {
        Mos6502 cpu;
        std::ranges::copy(c.code, cpu.memory.begin() + 0x0200);
        cpu.memory[0x0300] = 0xC0; // for BIT
        cpu.memory[0x02FF] = 0x03; // JMP ($02FF): low byte $03, high byte from $0200 ($6C)
        cpu.memory[0x6C03] = 0x60;
        cpu.memory[0x10] = 0xFF; // ($10),Y with Y 1: $04FF + 1
        cpu.memory[0x11] = 0x04;
        cpu.memory[0x0500] = 0x5A;
        cpu.call(0x0200);
        ASSERT_EQ(cpu.run({}, 1000), Mos6502::Stop::returned) << c.what;
        EXPECT_EQ(cpu.a, c.a) << c.what;
        EXPECT_EQ(cpu.p & c.mask, c.flags) << c.what;
    }
}

} // namespace
} // namespace quendra::test
