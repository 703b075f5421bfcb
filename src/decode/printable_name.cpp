#include "decode/printable_name.h"

#include <cstdint>

namespace quendra {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendHexByte(std::string& out, std::uint8_t b) {
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 0x0F];
}

// The length of the valid UTF-8 sequence at the start of `s` (which is not empty and does
// not start with an ASCII byte), or 0 when it is not one: no overlong forms, no surrogates,
// nothing above U+10FFFF.
std::size_t utf8SequenceLength(std::string_view s, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string printableName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    std::size_t i = 0;
    while (i < name.size()) {
        const auto b = static_cast<std::uint8_t>(name[i]);
        if (b < 0x80) {
            if (b == '\n') {
                out += "\\n";
            } else if (b == '\r') {
                out += "\\r";
            } else if (b == '\t') {
                out += "\\t";
            } else if (b < 0x20 || b == 0x7F) {
                appendHexByte(out, b);
            } else {
                out += static_cast<char>(b);
            }
            ++i;
            continue;
        }
        char32_t code = 0;
        const std::size_t length = utf8SequenceLength(name.substr(i), code);
        if (length == 0) {
            appendHexByte(out, b);
            ++i;
        } else if (code <= 0x9F) {
            out += "\\u00";
            out += kHex[code >> 4];
            out += kHex[code & 0x0F];
            i += length;
        } else {
            out.append(name.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace quendra
