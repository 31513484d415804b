#include "platform/sql/ParamParser.h"

#include "platform/core/Format.h"

namespace fat::sql {
namespace {

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '$'; }

// Copies a quoted run (literal or identifier) starting at text[i] == quote; a doubled quote
// stays inside the run. Returns the index after the closing quote.
std::size_t CopyQuoted(const std::string& text, std::size_t i, std::string& out) {
    const char quote = text[i];
    out += text[i++];
    while (i < text.size()) {
        out += text[i];
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) { out += text[++i]; ++i; continue; }
            return i + 1;
        }
        ++i;
    }
    return i;
}

} // namespace

ParsedSql ParseNamedParams(const std::string& sqlText) {
    ParsedSql result;
    const std::string& s = sqlText;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '\'' || c == '"') {
            i = CopyQuoted(s, i, result.text);
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            const auto end = s.find('\n', i);
            const auto stop = end == std::string::npos ? s.size() : end;
            result.text.append(s, i, stop - i);
            i = stop;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            const auto end = s.find("*/", i + 2);
            const auto stop = end == std::string::npos ? s.size() : end + 2;
            result.text.append(s, i, stop - i);
            i = stop;
        } else if (c == ':' && i + 1 < s.size() && IsNameStart(s[i + 1])) {
            std::size_t j = i + 1;
            while (j < s.size() && IsNameChar(s[j])) ++j;
            result.names.push_back(UpperCase(s.substr(i + 1, j - i - 1)));
            result.text += '?';
            i = j;
        } else {
            result.text += c;
            ++i;
        }
    }
    return result;
}

} // namespace fat::sql
