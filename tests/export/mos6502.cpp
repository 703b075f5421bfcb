#include "export/mos6502.h"

namespace quendra::test {

namespace {

enum Mode : std::uint8_t { imp, acc, imm, zp, zpx, zpy, ab, abx, aby, ind, izx, izy, rel };
// clang-format off
enum Op : std::uint8_t {
    bad, ADC, AND, ASL, BCC, BCS, BEQ, BIT, BMI, BNE, BPL, BRK, BVC, BVS, CLC, CLD, CLI, CLV,
    CMP, CPX, CPY, DEC, DEX, DEY, EOR, INC, INX, INY, JMP, JSR, LDA, LDX, LDY, LSR, NOP, ORA,
    PHA, PHP, PLA, PLP, ROL, ROR, RTI, RTS, SBC, SEC, SED, SEI, STA, STX, STY, TAX, TAY, TSX,
    TXA, TXS, TYA
};
// clang-format on
struct Entry {
    Op op = bad;
    Mode mode = imp;
};
enum Flag : std::uint8_t { C = 1, Z = 2, I = 4, D = 8, B = 0x10, U = 0x20, V = 0x40, N = 0x80 };

constexpr std::array<Entry, 256> makeTable() {
    std::array<Entry, 256> table{};
    // The eight operations of the column ...01: eight addressing modes each (STA no immediate).
    constexpr Op group[8] = {ORA, AND, EOR, ADC, STA, LDA, CMP, SBC};
    constexpr Entry modes[8] = {{bad, izx}, {bad, zp},  {bad, imm}, {bad, ab},
                                {bad, izy}, {bad, zpx}, {bad, aby}, {bad, abx}};
    for (int g = 0; g < 8; ++g) {
        for (int m = 0; m < 8; ++m) {
            if (group[g] != STA || modes[m].mode != imm)
                table[g * 0x20 + m * 4 + 1] = {group[g], modes[m].mode};
        }
    }
    constexpr struct {
        int code;
        Op op;
        Mode mode;
    } rest[] = {
        {0x0A, ASL, acc}, {0x06, ASL, zp},  {0x16, ASL, zpx}, {0x0E, ASL, ab},  {0x1E, ASL, abx},
        {0x4A, LSR, acc}, {0x46, LSR, zp},  {0x56, LSR, zpx}, {0x4E, LSR, ab},  {0x5E, LSR, abx},
        {0x2A, ROL, acc}, {0x26, ROL, zp},  {0x36, ROL, zpx}, {0x2E, ROL, ab},  {0x3E, ROL, abx},
        {0x6A, ROR, acc}, {0x66, ROR, zp},  {0x76, ROR, zpx}, {0x6E, ROR, ab},  {0x7E, ROR, abx},
        {0xC6, DEC, zp},  {0xD6, DEC, zpx}, {0xCE, DEC, ab},  {0xDE, DEC, abx}, {0xE6, INC, zp},
        {0xF6, INC, zpx}, {0xEE, INC, ab},  {0xFE, INC, abx}, {0xA2, LDX, imm}, {0xA6, LDX, zp},
        {0xB6, LDX, zpy}, {0xAE, LDX, ab},  {0xBE, LDX, aby}, {0xA0, LDY, imm}, {0xA4, LDY, zp},
        {0xB4, LDY, zpx}, {0xAC, LDY, ab},  {0xBC, LDY, abx}, {0x86, STX, zp},  {0x96, STX, zpy},
        {0x8E, STX, ab},  {0x84, STY, zp},  {0x94, STY, zpx}, {0x8C, STY, ab},  {0xE0, CPX, imm},
        {0xE4, CPX, zp},  {0xEC, CPX, ab},  {0xC0, CPY, imm}, {0xC4, CPY, zp},  {0xCC, CPY, ab},
        {0x24, BIT, zp},  {0x2C, BIT, ab},  {0x4C, JMP, ab},  {0x6C, JMP, ind}, {0x20, JSR, ab},
        {0x90, BCC, rel}, {0xB0, BCS, rel}, {0xF0, BEQ, rel}, {0x30, BMI, rel}, {0xD0, BNE, rel},
        {0x10, BPL, rel}, {0x50, BVC, rel}, {0x70, BVS, rel}, {0x00, BRK, imp}, {0x40, RTI, imp},
        {0x60, RTS, imp}, {0xEA, NOP, imp}, {0x18, CLC, imp}, {0xD8, CLD, imp}, {0x58, CLI, imp},
        {0xB8, CLV, imp}, {0x38, SEC, imp}, {0xF8, SED, imp}, {0x78, SEI, imp}, {0xCA, DEX, imp},
        {0x88, DEY, imp}, {0xE8, INX, imp}, {0xC8, INY, imp}, {0x48, PHA, imp}, {0x08, PHP, imp},
        {0x68, PLA, imp}, {0x28, PLP, imp}, {0xAA, TAX, imp}, {0xA8, TAY, imp}, {0xBA, TSX, imp},
        {0x8A, TXA, imp}, {0x9A, TXS, imp}, {0x98, TYA, imp},
    };
    for (const auto& r : rest)
        table[r.code] = {r.op, r.mode};
    return table;
}

constexpr std::array<Entry, 256> kTable = makeTable();

} // namespace

std::uint8_t Mos6502::read(std::uint16_t address) {
    if (address == 0xDC01) { // CIA 1 port B: the rows of the columns port A selects (bits 0)
        ++keyboardReads;
        std::uint8_t rows = 0xFF;
        for (int column = 0; column < 8; ++column) {
            if (!(memory[0xDC00] >> column & 1))
                rows &= static_cast<std::uint8_t>(~keysHeld[column]);
        }
        return rows;
    }
    if (address == 0xDC00) // CIA 1 port A: joystick 2's lines pull its outputs low
        return memory[address] & static_cast<std::uint8_t>(~joystick2Held);
    return memory[address];
}

void Mos6502::write(std::uint16_t address, std::uint8_t value) {
    memory[address] = value;
    if (address >= 0xD000 && address <= 0xDFFF)
        ioWrites.push_back({address, value});
}

void Mos6502::setZn(std::uint8_t value) {
    flag(Z, value == 0);
    flag(N, value & 0x80);
}

void Mos6502::addWithCarry(std::uint8_t value) {
    const int carry = p & C;
    const int sum = a + value + carry;
    flag(Z, (sum & 0xFF) == 0);
    if (!(p & D)) {
        flag(V, ~(a ^ value) & (a ^ sum) & 0x80);
        flag(C, sum > 0xFF);
        a = static_cast<std::uint8_t>(sum);
        flag(N, a & 0x80);
        return;
    }
    int low = (a & 0x0F) + (value & 0x0F) + carry;
    int high = (a >> 4) + (value >> 4);
    if (low > 9) {
        low += 6;
        ++high;
    }
    flag(N, high & 8);
    flag(V, ~(a ^ value) & (a ^ high << 4) & 0x80);
    if (high > 9)
        high += 6;
    flag(C, high > 15);
    a = static_cast<std::uint8_t>(high << 4 | (low & 0x0F));
}

void Mos6502::subtractWithCarry(std::uint8_t value) {
    const int borrow = 1 - (p & C);
    const int difference = a - value - borrow;
    flag(V, (a ^ value) & (a ^ difference) & 0x80);
    flag(C, difference >= 0);
    setZn(static_cast<std::uint8_t>(difference));
    if (!(p & D)) {
        a = static_cast<std::uint8_t>(difference);
        return;
    }
    int low = (a & 0x0F) - (value & 0x0F) - borrow;
    int high = (a >> 4) - (value >> 4);
    if (low < 0) {
        low -= 6;
        --high;
    }
    if (high < 0)
        high -= 6;
    a = static_cast<std::uint8_t>(high << 4 | (low & 0x0F));
}

// clang-format off
bool Mos6502::step() {
    const Entry e = kTable[read(pc)];
    if (e.op == bad)
        return false;
    ++pc;
    std::uint16_t address = 0;
    auto next = [&] { return read(pc++); };
    auto pointer = [&](std::uint8_t zero) {
        return static_cast<std::uint16_t>(read(zero) | read(std::uint8_t(zero + 1)) << 8);
    };
    switch (e.mode) {
    case imp: case acc: break;
    case imm: address = pc++; break;
    case zp: address = next(); break;
    case zpx: address = std::uint8_t(next() + x); break;
    case zpy: address = std::uint8_t(next() + y); break;
    case ab: address = word(pc), pc += 2; break;
    case abx: address = std::uint16_t(word(pc) + x), pc += 2; break;
    case aby: address = std::uint16_t(word(pc) + y), pc += 2; break;
    case ind: { // the pointer's high byte from the same page, as the 6502 reads it
        const std::uint16_t at = word(pc);
        pc += 2;
        address = std::uint16_t(read(at) | read((at & 0xFF00) | std::uint8_t(at + 1)) << 8);
        break;
    }
    case izx: address = pointer(std::uint8_t(next() + x)); break;
    case izy: address = std::uint16_t(pointer(next()) + y); break;
    case rel: address = std::uint16_t(pc + 1 + static_cast<std::int8_t>(read(pc))), ++pc; break;
    }
    auto operand = [&] { return e.mode == acc ? a : read(address); };
    auto result = [&](int value) { // a read-modify-write's result, to A or memory
        const auto v = static_cast<std::uint8_t>(value);
        setZn(v);
        if (e.mode == acc)
            a = v;
        else
            write(address, v);
    };
    auto compare = [&](std::uint8_t reg) {
        const std::uint8_t v = read(address);
        flag(C, reg >= v);
        setZn(std::uint8_t(reg - v));
    };
    auto branch = [&](bool taken) { if (taken) pc = address; };
    auto load = [&](std::uint8_t& reg) { setZn(reg = read(address)); };
    auto transfer = [&](std::uint8_t from, std::uint8_t& to) { setZn(to = from); };
    const int carry = p & C;
    switch (e.op) {
    case bad: return false;
    case ADC: addWithCarry(read(address)); break;
    case SBC: subtractWithCarry(read(address)); break;
    case AND: setZn(a &= read(address)); break;
    case ORA: setZn(a |= read(address)); break;
    case EOR: setZn(a ^= read(address)); break;
    case ASL: { const int v = operand(); flag(C, v & 0x80); result(v << 1); break; }
    case LSR: { const int v = operand(); flag(C, v & 1); result(v >> 1); break; }
    case ROL: { const int v = operand(); flag(C, v & 0x80); result(v << 1 | carry); break; }
    case ROR: { const int v = operand(); flag(C, v & 1); result(v >> 1 | carry << 7); break; }
    case INC: result(read(address) + 1); break;
    case DEC: result(read(address) - 1); break;
    case BIT: {
        const std::uint8_t v = read(address);
        flag(Z, (a & v) == 0);
        flag(N, v & 0x80);
        flag(V, v & 0x40);
        break;
    }
    case CMP: compare(a); break;
    case CPX: compare(x); break;
    case CPY: compare(y); break;
    case BCC: branch(!(p & C)); break;
    case BCS: branch(p & C); break;
    case BNE: branch(!(p & Z)); break;
    case BEQ: branch(p & Z); break;
    case BPL: branch(!(p & N)); break;
    case BMI: branch(p & N); break;
    case BVC: branch(!(p & V)); break;
    case BVS: branch(p & V); break;
    case JMP: pc = address; break;
    case JSR: push(std::uint8_t((pc - 1) >> 8)), push(std::uint8_t(pc - 1)), pc = address; break;
    case RTS: pc = std::uint16_t(pull() + 1), pc = std::uint16_t(pc + (pull() << 8)); break;
    case BRK:
        ++pc;
        push(std::uint8_t(pc >> 8)), push(std::uint8_t(pc)), push(p | B | U);
        p |= I;
        pc = word(0xFFFE);
        break;
    case RTI:
        p = std::uint8_t((pull() & ~B) | U);
        pc = pull();
        pc = std::uint16_t(pc | pull() << 8);
        break;
    case LDA: load(a); break;
    case LDX: load(x); break;
    case LDY: load(y); break;
    case STA: write(address, a); break;
    case STX: write(address, x); break;
    case STY: write(address, y); break;
    case TAX: transfer(a, x); break;
    case TAY: transfer(a, y); break;
    case TXA: transfer(x, a); break;
    case TYA: transfer(y, a); break;
    case TSX: transfer(s, x); break;
    case TXS: s = x; break;
    case INX: setZn(++x); break;
    case INY: setZn(++y); break;
    case DEX: setZn(--x); break;
    case DEY: setZn(--y); break;
    case PHA: push(a); break;
    case PHP: push(p | B | U); break;
    case PLA: setZn(a = pull()); break;
    case PLP: p = std::uint8_t((pull() & ~B) | U); break;
    case CLC: p &= ~C; break;
    case SEC: p |= C; break;
    case CLI: p &= ~I; break;
    case SEI: p |= I; break;
    case CLD: p &= ~D; break;
    case SED: p |= D; break;
    case CLV: p &= ~V; break;
    case NOP: break;
    }
    return true;
}
// clang-format on

void Mos6502::call(std::uint16_t address) {
    push(std::uint8_t((kReturnMark - 1) >> 8));
    push(std::uint8_t(kReturnMark - 1));
    pc = address;
}

Mos6502::Stop Mos6502::run(const std::function<bool()>& until, long limit) {
    for (long i = 0; i < limit; ++i) {
        if (returned())
            return Stop::returned;
        if (until && until())
            return Stop::asked;
        if (!step())
            return Stop::badOpcode;
    }
    return returned() ? Stop::returned : Stop::limit;
}

} // namespace quendra::test
