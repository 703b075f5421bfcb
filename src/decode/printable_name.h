// File names as messages show them. A name is any bytes but "/" and NUL; printed raw, a
// newline would split the message and an escape sequence would drive the user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace quendra {

// `name` with every control character and every byte that is not part of valid UTF-8
// written as an escape: \n, \r and \t by their names, other control bytes and invalid bytes
// as \xNN, the C1 controls (U+0080 to U+009F) as \uNNNN. Everything else, backslashes
// included, stays as it is, so a printable name reads unchanged and quoting twice changes
// nothing more.
std::string printableName(std::string_view name);

} // namespace quendra
