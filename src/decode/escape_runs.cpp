#include "decode/escape_runs.h"

#include <algorithm>

namespace quendra {

EscapeStream::EscapeStream(Bytes in, std::size_t start, bool backward)
    : in_(in), pos_(static_cast<std::ptrdiff_t>(std::min(start, in.size()))), backward_(backward) {
    if (backward_ && pos_ >= static_cast<std::ptrdiff_t>(in_.size()))
        pos_ = static_cast<std::ptrdiff_t>(in_.size()) - 1;
}

bool EscapeStream::next(std::uint8_t& byte) {
    if (atEnd())
        return false;
    byte = in_[static_cast<std::size_t>(pos_)];
    pos_ += backward_ ? -1 : 1;
    return true;
}

bool EscapeStream::fill(std::span<std::uint8_t> out, std::uint8_t escape, RunCount count) {
    const std::size_t size = out.size();
    std::size_t done = 0;
    // Backward streams fill from the last byte down.
    auto put = [&](std::uint8_t v) {
        out[backward_ ? size - 1 - done : done] = v;
        ++done;
    };
    while (done < size) {
        if (left_ != 0) {
            const std::size_t n = std::min(left_, size - done);
            for (std::size_t i = 0; i < n; ++i)
                put(value_);
            left_ -= n;
            continue;
        }
        std::uint8_t b = 0;
        if (!next(b))
            return false;
        if (b != escape) {
            put(b);
            continue;
        }
        std::uint8_t n = 0, v = 0;
        if (!next(n) || !next(v))
            return false;
        switch (count) {
        case RunCount::zeroIs256:
            left_ = n == 0 ? 256 : n;
            break;
        case RunCount::zeroIsNothing:
            left_ = n;
            break;
        case RunCount::plusOne:
            left_ = std::size_t{n} + 1;
            break;
        }
        value_ = v;
    }
    return true;
}

namespace {

// Writes `n` copies of `v` or as many as fit; the output position moves on.
void putRun(std::span<std::uint8_t> out, std::size_t& done, std::size_t n, std::uint8_t v) {
    n = std::min(n, out.size() - done);
    std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(done), n, v);
    done += n;
}

// Copies `n` literals from in[pos] or as many as fit; false when the input ends first.
bool putLiterals(Bytes in, std::size_t& pos, std::span<std::uint8_t> out, std::size_t& done,
                 std::size_t n) {
    for (std::size_t i = 0; i < n && done < out.size(); ++i) {
        if (pos >= in.size())
            return false;
        out[done++] = in[pos++];
    }
    return true;
}

} // namespace

bool unpackPgc(Bytes in, std::size_t pos, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        if (pos >= in.size())
            return false;
        const std::uint8_t n = in[pos++];
        if (n < 128) {
            if (!putLiterals(in, pos, out, done, n))
                return false;
        } else {
            if (pos >= in.size())
                return false;
            putRun(out, done, n - 128u, in[pos++]);
        }
    }
    return true;
}

bool unpackXeKoala(Bytes in, std::size_t pos, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        if (pos >= in.size())
            return false;
        const std::uint8_t token = in[pos++];
        std::size_t n = token & 0x7F;
        if (n == 0) {
            if (pos + 2 > in.size())
                return false;
            n = std::size_t{in[pos]} << 8 | in[pos + 1];
            pos += 2;
        }
        if (token >= 128) {
            if (!putLiterals(in, pos, out, done, n))
                return false;
        } else {
            if (pos >= in.size())
                return false;
            putRun(out, done, n, in[pos++]);
        }
    }
    return true;
}

bool unpackVhi(Bytes in, std::size_t pos, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        if (pos + 2 > in.size())
            return false;
        const std::uint8_t token = in[pos];
        const std::size_t n = in[pos + 1] == 0 ? 256 : in[pos + 1];
        pos += 2;
        if (token == 0) {
            if (!putLiterals(in, pos, out, done, n))
                return false;
        } else if (token == 1) {
            if (pos >= in.size())
                return false;
            putRun(out, done, n, in[pos++]);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace quendra
