#pragma once
#include <string_view>

namespace fat::directory {

// The ANSI code page of the directory texts: WIN1252, one byte per character.

// The WIN1252 byte of a Unicode code point; '?' when the code page has no such character.
char UnicodeToAnsi(char32_t codePoint);
// Lower case of a WIN1252 character (ASCII and accented letters); other bytes unchanged.
char AnsiLowerCase(char c);
// Equal ignoring letter case, accented letters included ("ÁGUA" and "água").
bool AnsiSameText(std::string_view a, std::string_view b);

} // namespace fat::directory
