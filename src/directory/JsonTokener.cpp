#include "directory/JsonTokener.h"

#include "platform/core/Win1252.h"
#include "directory/JsonArray.h"
#include "directory/JsonConstants.h"
#include "directory/JsonNumber.h"
#include "directory/JsonObject.h"
#include "directory/JsonString.h"
#include "platform/core/Errors.h"

#include <cstring>

namespace fat::directory {

namespace {

bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

// Characters that end an unquoted token.
bool EndsToken(char c) {
    return static_cast<unsigned char>(c) <= 32 || std::strchr(",:]}/\\\"[{;=#", c) != nullptr;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "0x1F" and the like into a 32-bit integer; none when a digit is not hexadecimal or the
// value does not fit.
JsonPtr ReadHexadecimal(const std::string& digits) {
    long long value = 0;
    for (const char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return nullptr;
        value = value * 16 + d;
        if (value > 0x7FFFFFFF) return nullptr;
    }
    return JsonPtr(new JSONInteger(static_cast<std::int32_t>(value)));
}

JsonPtr NumberOrWord(const std::string& token) {
    const char first = token[0];
    if (!((first >= '0' && first <= '9') || first == '.' || first == '-' || first == '+'))
        return JsonPtr(new JSONString(token));
    if (first == '0') {
        if (token.size() > 2 && (token[1] == 'x' || token[1] == 'X')) {
            if (JsonPtr hex = ReadHexadecimal(token.substr(2))) return hex;
        } else if (token.size() >= 2 && token[1] == '.') {
            // a _Double, read below
        } else if (token == "0") {
            return JsonPtr(new JSONInteger(0));
        }
    }
    if (const auto value = ReadJsonDouble(token)) return JsonPtr(new JSONDouble(*value));
    return JsonPtr(new JSONString(token));
}

std::string TrimControls(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return text.substr(b, e - b);
}

} // namespace

JSONTokener::Nesting::Nesting(JSONTokener& tokener) : tokener_(tokener) {
    if (tokener_.depth_ >= kMaxNesting) throw tokener_.syntaxError("Nesting too deep.");
    ++tokener_.depth_;
}

char JSONTokener::next() {
    if (position_ <= length()) return source_[static_cast<std::size_t>(position_++ - 1)];
    if (position_ == length() + 1) ++position_;
    return 0;
}

void JSONTokener::back() {
    if (position_ > 1) --position_;
}

std::string JSONTokener::next(int n) {
    const int remaining = length() - position_ + 1;
    if (remaining < n + 1) throw syntaxError("Substring bounds error");
    std::string part = source_.substr(static_cast<std::size_t>(position_ - 1), static_cast<std::size_t>(n));
    position_ += n;
    return part;
}

char JSONTokener::nextClean() {
    for (;;) {
        char c = next();
        if (IsBlank(c)) continue;
        if (c == '#') {
            do c = next(); while (c != '\n' && c != '\r' && c != 0);
            continue;
        }
        if (c != '/') return c;
        const char after = next();
        if (after == '/') {
            do c = next(); while (c != '\n' && c != '\r' && c != 0);
        } else if (after == '*') {
            for (;;) {
                c = next();
                if (c == 0) throw syntaxError("Unclosed comment.");
                if (c == '*') {
                    if (next() == '/') break;
                    back();
                }
            }
        } else {
            back();
            return '/';
        }
    }
}

std::string JSONTokener::nextString(char quote) {
    std::string text;
    for (;;) {
        char c = next();
        if (c == 0 || c == '\n' || c == '\r') throw syntaxError("Unterminated string");
        if (c == quote) return text;
        if (c != '\\') {
            text += c;
            continue;
        }
        c = next();
        switch (c) {
        case 'b': text += '\b'; break;
        case 'f': text += '\f'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 't': text += '\t'; break;
        case 'u': {
            const std::string digits = next(4);
            char32_t code = 0;
            for (const char d : digits) {
                const int v = HexDigit(d);
                if (v < 0) throw ConversionError("'" + digits + "' is not a valid hexadecimal character code");
                code = code * 16 + static_cast<char32_t>(v);
            }
            text += UnicodeToWin1252(code);
            break;
        }
        default:
            text += c; // \" \\ \/ and any other character stand for themselves
        }
    }
}

JsonPtr JSONTokener::nextValue() {
    char c = nextClean();
    if (c == '"' || c == '\'') return JsonPtr(new JSONString(nextString(c)));
    if (c == '[') {
        back();
        return JsonPtr(new TJSONArray(*this));
    }
    if (c == '{') {
        back();
        return JsonPtr(new TJSONObject(*this));
    }
    std::string token;
    while (!EndsToken(c)) {
        token += c;
        c = next();
    }
    back();
    token = TrimControls(token);
    if (token.empty()) throw syntaxError("Missing value.");
    if (SameTextWin1252(token, "true")) return JsonPtr(&JsonTrue());
    if (SameTextWin1252(token, "false")) return JsonPtr(&JsonFalse());
    if (SameTextWin1252(token, "null")) return JsonPtr(&JsonNull());
    return NumberOrWord(token);
}

std::string JSONTokener::toString() const {
    return " at character " + std::to_string(position_) + " of " + source_;
}

ParseException JSONTokener::syntaxError(const std::string& message) const {
    const std::string near = position_ <= length()
                                 ? source_.substr(static_cast<std::size_t>(position_ - 1), 10)
                                 : std::string();
    return ParseException(message + toString() + " pr\xF3ximo a : " + near + "\n\r erro no caracter : " +
                              std::to_string(position_),
                          position_);
}

} // namespace fat::directory
