#pragma once
#include <string>
#include <string_view>

namespace fat {

// The ERP's texts are single-byte WIN1252; they stay so everywhere inside the program and are
// converted only at the edges (Qt strings, UTF-8 source literals, JSON escapes).

// The Unicode code point of a WIN1252 byte (the five unassigned bytes map to themselves).
char32_t Win1252ToUnicode(char c);
// The WIN1252 byte of a code point; '?' when the code page has no such character.
char UnicodeToWin1252(char32_t codePoint);

std::string Win1252ToUtf8(std::string_view text);
// Invalid UTF-8 sequences become '?'.
std::string Utf8ToWin1252(std::string_view text);
// A program text written in UTF-8 source, as the WIN1252 bytes the program works with.
inline std::string Win1252(std::string_view utf8) { return Utf8ToWin1252(utf8); }

// Case of ASCII and accented letters (à↔À, ç↔Ç, š↔Š, ÿ↔Ÿ); other bytes unchanged.
char UpperWin1252(char c);
char LowerWin1252(char c);
std::string UpperWin1252(std::string_view text);
bool SameTextWin1252(std::string_view a, std::string_view b);

} // namespace fat
