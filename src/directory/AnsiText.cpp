#include "directory/AnsiText.h"

#include <algorithm>

namespace fat::directory {

namespace {

// Code points of the WIN1252 bytes 0x80..0x9F; 0 where the byte is unassigned.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

char UnicodeToAnsi(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<char>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == codePoint) return static_cast<char>(0x80 + i);
    // The unassigned bytes map to the C1 controls of the same value, as Windows does.
    if (codePoint == 0x81 || codePoint == 0x8D || codePoint == 0x8F || codePoint == 0x90 || codePoint == 0x9D)
        return static_cast<char>(codePoint);
    return '?';
}

char AnsiLowerCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
    switch (u) {
    case 0x8A: return static_cast<char>(0x9A); // Š
    case 0x8C: return static_cast<char>(0x9C); // Œ
    case 0x8E: return static_cast<char>(0x9E); // Ž
    case 0x9F: return static_cast<char>(0xFF); // Ÿ
    default: return c;
    }
}

bool AnsiSameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AnsiLowerCase(x) == AnsiLowerCase(y); });
}

} // namespace fat::directory
