// C64 names for people: PETSCII bytes as the C64 shows them in its first character set
// (capitals and graphics), in Unicode.
#pragma once

#include <string>
#include <string_view>

namespace quendra {

// `petscii` as UTF-8: letters, digits and punctuation as themselves, the shifted and
// graphic characters as the Unicode characters that look like them (block and line
// elements, card suits, the symbols for legacy computing); control codes (a colour code before a name) left out.
std::string petsciiToUnicode(std::string_view petscii);

// `name` without the $A0 bytes that pad it to its field's width (a $A0 inside stays).
std::string_view cutPadding(std::string_view name);

} // namespace quendra
