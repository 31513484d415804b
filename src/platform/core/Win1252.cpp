#include "platform/core/Win1252.h"

namespace fat {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the page is Latin-1.
const char32_t High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char32_t Win1252ToUnicode(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x80 && b <= 0x9F ? High[b - 0x80] : b;
}

char UnicodeToWin1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (High[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

std::string Win1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) AppendUtf8(out, Win1252ToUnicode(c));
    return out;
}

std::string Utf8ToWin1252(std::string_view text) {
    const auto isContinuation = [&](std::size_t at) {
        return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t cp = extra > 0 ? b & (0x3F >> extra) : b;
        int k = 1;
        for (; k <= extra && isContinuation(i + static_cast<std::size_t>(k)); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        if (extra < 0 || k <= extra) {
            // A broken sequence becomes one '?', its continuation bytes with it.
            out += '?';
            ++i;
            while (isContinuation(i)) ++i;
            continue;
        }
        out += UnicodeToWin1252(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

char UpperWin1252(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16); // š œ ž
    if (b == 0xFF) return static_cast<char>(0x9F);                             // ÿ
    return c;
}

char LowerWin1252(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
    if (b == 0x9F) return static_cast<char>(0xFF);
    return c;
}

std::string UpperWin1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperWin1252(c);
    return out;
}

bool SameTextWin1252(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperWin1252(a[i]) != UpperWin1252(b[i])) return false;
    return true;
}

} // namespace fat
