// The run-length packers of the further C64 formats: escape-byte streams read forwards or
// backwards, and the few packers with tokens of their own (PGC, XE Koala, VHI, BDP).
//
// An escape stream is a sequence of literal bytes and run tokens `escape count value`. A
// backward stream is read from its last byte towards the start of the file and fills its
// output from the last byte down, so in file order a run is stored `value count escape`;
// it never reads below offset 2 (the load address). A run longer than what is left of one
// output part goes on into the next part the same stream fills.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "decode/decoded.h"

namespace quendra {

class EscapeStream;
// The rejection of a file whose stream filled the picture with too much left unread.
Decoded tooMuchLeftRejection(const EscapeStream& stream);

// What a run token's count of 0 means, and whether counts are one short.
enum class RunCount {
    zeroIs256,     // n copies, n = 0 giving 256
    zeroIsNothing, // n copies, n = 0 giving none
    plusOne,       // n + 1 copies
};

class EscapeStream {
  public:
    // Forward: reads from `start` to the end of `in`. Backward: reads from `start` down to
    // offset 2 (nothing when start < 2).
    EscapeStream(Bytes in, std::size_t start, bool backward);

    // Fills `out` (forward: first byte first; backward: last byte first). False when the
    // input ends before `out` is full.
    bool fill(std::span<std::uint8_t> out, std::uint8_t escape, RunCount count);

    // Whether a run is left unfinished, and the next byte the stream would read (forward).
    bool runLeft() const { return left_ != 0; }
    std::size_t position() const { return static_cast<std::size_t>(pos_); }
    bool atEnd() const {
        return backward_ ? pos_ < 2 : pos_ >= static_cast<std::ptrdiff_t>(in_.size());
    }

    // Takes over the run `other` left unfinished (one run crossing from one frame's stream
    // into the next one's).
    void carryFrom(const EscapeStream& other) {
        left_ = other.left_;
        value_ = other.value_;
    }

    // Reads one byte outside the runs (a separator); false at the end.
    bool next(std::uint8_t& byte);

    // The input bytes the stream has not read (forward: after it; backward: from offset 2
    // up to where it stands).
    std::size_t unread() const {
        return backward_ ? static_cast<std::size_t>(std::max<std::ptrdiff_t>(pos_ - 1, 0))
                         : in_.size() - static_cast<std::size_t>(pos_);
    }
    // Whether a filled picture left more bytes unread than a packer leaves (a page): then
    // the file is no packed picture but, most likely, a plain one cut short, whose bytes
    // read as packed data give noise.
    bool leftTooMuch() const { return unread() > 256; }

  private:
    Bytes in_;
    std::ptrdiff_t pos_;
    bool backward_;
    std::size_t left_ = 0; // copies still to write of `value_`
    std::uint8_t value_ = 0;
};

// PGC: n < 128: n literals follow; n >= 128: n - 128 copies of the next byte. Fills `out`
// from `in[start]`; false when the input ends first.
bool unpackPgc(Bytes in, std::size_t start, std::span<std::uint8_t> out);

// XE Koala: n < 128: n copies of the next byte; n >= 128: n - 128 literals; a count of 0
// (after taking off 128) is followed by a 16-bit count, high byte first.
bool unpackXeKoala(Bytes in, std::size_t start, std::span<std::uint8_t> out);

// VHI: 00 n and n literals; 01 n v, n copies of v; n = 0 means 256; any other token byte
// spoils the data (false).
bool unpackVhi(Bytes in, std::size_t start, std::span<std::uint8_t> out);

} // namespace quendra
