#include "decode/hires_manager_packer.h"

namespace quendra {

bool unpackHiresManager(Bytes in, std::span<std::uint8_t> out) {
    std::size_t left = in.size();   // in[left - 1] is the next byte to read
    std::size_t space = out.size(); // out[space - 1] is the next byte to write
    while (space > 0) {
        if (left == 0)
            return false;
        const std::uint8_t token = in[--left];
        if (token == 0) {
            if (left < 2)
                return false;
            const std::uint8_t count = in[--left];
            const std::uint8_t value = in[--left];
            if (count == 0)
                return false;
            for (int i = 0; i < count && space > 0; ++i)
                out[--space] = value;
        } else {
            for (int i = 1; i < token && space > 0; ++i) {
                if (left == 0)
                    return false;
                out[--space] = in[--left];
            }
        }
    }
    return true;
}

} // namespace quendra
