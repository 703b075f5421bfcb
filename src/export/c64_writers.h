// The C64 formats the program writes: each lays out a picture's memories (c64_picture.h)
// as the format's reader reads them back. Load addresses come from the format's row in
// the registry (decode/formats.h), which also names the reader.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "decode/formats.h"
#include "decode/rle.h"
#include "export/c64_picture.h"

namespace quendra {

struct C64Writer {
    std::string_view key;         // the converter's --to name and the output's extension
    std::string_view rowExtension; // the registry row whose facts it uses, by extension
    int loadAddressIndex = 0;      // which of the row's load addresses files get
    C64Rules rules;
    void (*layOut)(const C64Memories& memories, std::uint16_t loadAddress,
                   std::vector<std::uint8_t>& out) = nullptr;
    const C64Format* ownRow = nullptr; // a format outside the registry (the C64 program)
    // Tried when a picture does not keep `rules` exactly: the same file's other kind (the
    // C64 program's hires layout after its multicolour one).
    const C64Writer* otherKind = nullptr;

    const C64Format& row() const { return ownRow ? *ownRow : formatForExtension(rowExtension); }
    std::uint16_t loadAddress() const { return row().loadAddresses[loadAddressIndex]; }
    // The file's bytes into `out` (its storage reused).
    void write(const C64Memories& memories, std::vector<std::uint8_t>& out) const {
        layOut(memories, loadAddress(), out);
    }
};

// koa gg ocp art dd jj ami hbm fli afl prg, in that order.
std::span<const C64Writer> c64Writers();
// The writer whose key is `key` (exact), or nullptr.
const C64Writer* findC64Writer(std::string_view key);
// "koa, gg, ocp, art, dd, jj, ami, hbm, fli, afl, prg".
std::string_view c64WriterKeys();

// Appends `data` packed as run-length items so that expandRuns (decode/rle.h) gives it
// back: runs of 4 or more equal bytes, and every byte equal to the escape, as run tokens
// (at most 255 a token); everything else as literal bytes.
void packRuns(std::span<const std::uint8_t> data, RunFormat format,
              std::vector<std::uint8_t>& out);

} // namespace quendra
