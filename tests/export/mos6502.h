// A small 6502 for the tests that run the C64 program: the documented instruction set
// (decimal mode included), a flat 64 KB memory without ROMs, every write to $D000-$DFFF
// recorded, and CIA 1's keyboard matrix and joystick 2 as the test holds them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace quendra::test {

class Mos6502 {
  public:
    struct IoWrite {
        std::uint16_t address;
        std::uint8_t value;
    };

    std::array<std::uint8_t, 0x10000> memory{};
    std::uint8_t a = 0, x = 0, y = 0, s = 0xFF;
    std::uint8_t p = 0x24; // NV-BDIZC: unused bit and I set, as at reset
    std::uint16_t pc = 0;

    std::vector<IoWrite> ioWrites;          // in the order written
    std::array<std::uint8_t, 8> keysHeld{}; // per keyboard column (CIA 1 port A bit), its rows held
    std::uint8_t joystick2Held = 0;         // port A lines held low: bit 4 fire
    long keyboardReads = 0;                 // reads of CIA 1's port B

    std::uint8_t read(std::uint16_t address);
    void write(std::uint16_t address, std::uint8_t value);

    // One instruction; false (pc on it) when the opcode is none of the documented ones.
    bool step();

    // Calls `address` as BASIC's SYS does (a JSR from outside), then steps until the
    // routine's RTS comes back, `until` says stop, or `limit` instructions have run.
    enum class Stop { returned, asked, limit, badOpcode };
    void call(std::uint16_t address);
    Stop run(const std::function<bool()>& until, long limit);
    bool returned() const { return pc == kReturnMark; }

  private:
    static constexpr std::uint16_t kReturnMark = 0xFFF0;

    void push(std::uint8_t value) { write(0x100 + s--, value); }
    std::uint8_t pull() { return read(0x100 + ++s); }
    std::uint16_t word(std::uint16_t address) {
        return static_cast<std::uint16_t>(read(address) |
                                          read(static_cast<std::uint16_t>(address + 1)) << 8);
    }
    void setZn(std::uint8_t value);
    void flag(std::uint8_t bit, bool on) { p = on ? p | bit : p & ~bit; }
    void addWithCarry(std::uint8_t value);
    void subtractWithCarry(std::uint8_t value);
};

} // namespace quendra::test
