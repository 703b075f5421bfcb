#include "decode/escape_runs.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace quendra {

EscapeStream::EscapeStream(Bytes in, std::size_t start, bool backward)
    : in_(in), pos_(static_cast<std::ptrdiff_t>(std::min(start, in.size()))), backward_(backward) {
    if (backward_ && pos_ >= static_cast<std::ptrdiff_t>(in_.size()))
        pos_ = static_cast<std::ptrdiff_t>(in_.size()) - 1;
}

Decoded tooMuchLeftRejection(const EscapeStream& stream) {
    return Decoded::reject("the packed data fill the picture with " +
                           std::to_string(stream.unread()) +
                           " of the file's bytes unread: no packed picture (a plain one cut "
                           "short?)");
}

bool EscapeStream::next(std::uint8_t& byte) {
    if (atEnd())
        return false;
    byte = in_[static_cast<std::size_t>(pos_)];
    pos_ += backward_ ? -1 : 1;
    return true;
}

bool EscapeStream::fill(std::span<std::uint8_t> out, std::uint8_t escape, RunCount count) {
    // A forward stream's bytes go to out[done], out[done + 1] …; a backward stream's to
    // out[size - 1 - done], out[size - 2 - done] … as it reads in[pos], in[pos - 1] …; so a
    // stretch of literals is, either way, one block copied as it lies.
    const std::size_t size = out.size();
    const std::ptrdiff_t end = static_cast<std::ptrdiff_t>(in_.size());
    std::size_t done = 0;
    while (done < size) {
        if (left_ != 0) {
            const std::size_t n = std::min(left_, size - done);
            std::memset(out.data() + (backward_ ? size - done - n : done), value_, n);
            done += n;
            left_ -= n;
            continue;
        }
        if (atEnd())
            return false;
        if (in_[static_cast<std::size_t>(pos_)] != escape) {
            // The literals up to the next escape byte, the input's end or the output's end.
            const std::ptrdiff_t most = static_cast<std::ptrdiff_t>(size - done);
            std::ptrdiff_t n = 0;
            if (backward_) {
                const std::ptrdiff_t limit = std::min(most, pos_ - 1);
                while (n < limit && in_[static_cast<std::size_t>(pos_ - n)] != escape)
                    ++n;
                std::memcpy(out.data() + (size - done - static_cast<std::size_t>(n)),
                            in_.data() + (pos_ - n + 1), static_cast<std::size_t>(n));
                pos_ -= n;
            } else {
                const std::size_t limit = static_cast<std::size_t>(std::min(most, end - pos_));
                const void* found = std::memchr(in_.data() + pos_, escape, limit);
                n = found ? static_cast<const std::uint8_t*>(found) - (in_.data() + pos_)
                          : static_cast<std::ptrdiff_t>(limit);
                std::memcpy(out.data() + done, in_.data() + pos_, static_cast<std::size_t>(n));
                pos_ += n;
            }
            done += static_cast<std::size_t>(n);
            continue;
        }
        std::uint8_t b = 0, n = 0, v = 0;
        if (!next(b) || !next(n) || !next(v))
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
