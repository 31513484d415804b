#include "platform/core/Format.h"

#include "platform/core/Decimal.h"
#include "platform/core/Errors.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace fat {

FormatSettings& GlobalFormatSettings() {
    static FormatSettings settings;
    return settings;
}

std::string Trim(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    return text.substr(b, e - b);
}

std::string UpperCase(const std::string& text) {
    std::string r = text;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string QuotedStr(const std::string& text) {
    std::string r = "'";
    for (char c : text) {
        if (c == '\'') r += '\'';
        r += c;
    }
    return r + "'";
}

std::string FloatToStr(double value) {
    // to_chars ignores the process locale, which a Qt application takes from the environment.
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::general, 15).ptr;
    *end = '\0';
    std::string r;
    for (const char* p = buf; *p; ++p) {
        if (*p == '.') r += GlobalFormatSettings().decimalSeparator;
        else if (*p == 'e') {
            r += 'E';
            if (p[1] == '+') ++p;
        } else r += *p;
    }
    return r == "-0" ? "0" : r;
}

double StrToFloat(const std::string& text) {
    std::string t = Trim(text);
    for (char& c : t)
        if (c == GlobalFormatSettings().decimalSeparator) c = '.';
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v))
        throw ConversionError("'" + text + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(const std::string& text, double fallback) {
    try { return StrToFloat(text); } catch (const ConversionError&) { return fallback; }
}

std::int64_t StrToInt64(const std::string& text) {
    std::string t = Trim(text);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size())
        throw ConversionError("'" + text + "' is not a valid integer value");
    return v;
}

std::int32_t StrToInt(const std::string& text) {
    const std::int64_t v = StrToInt64(text);
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw ConversionError("'" + text + "' is not a valid integer value");
    return static_cast<std::int32_t>(v);
}

std::int32_t StrToIntDef(const std::string& text, std::int32_t fallback) {
    try { return StrToInt(text); } catch (const ConversionError&) { return fallback; }
}

namespace {

// Digits of |value| rounded to `decimals` places (halves away from zero, on 15 significant
// digits): the whole part and exactly `decimals` fraction digits.
void RoundedDigits(double value, int decimals, std::string& whole, std::string& fraction) {
    const int exact = decimals > 18 ? 18 : decimals;
    std::string text = Decimal::fromDouble(std::fabs(value), exact).toString();
    const auto point = text.find('.');
    whole = point == std::string::npos ? text : text.substr(0, point);
    fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    fraction.append(static_cast<std::size_t>(decimals - exact), '0');
}

} // namespace

std::string FormatFloat(const std::string& pattern, double value) {
    if (!std::isfinite(value)) return FloatToStr(value);
    const auto first = pattern.find_first_of("0#");
    if (first == std::string::npos) return pattern;
    const auto last = pattern.find_last_of("0#.,");
    const std::string prefix = pattern.substr(0, first);
    const std::string suffix = pattern.substr(last + 1);
    const std::string body = pattern.substr(first, last + 1 - first);

    const auto point = body.find('.');
    const std::string intPart = body.substr(0, point);
    const std::string decPart = point == std::string::npos ? std::string() : body.substr(point + 1);
    const bool grouping = intPart.find(',') != std::string::npos;
    const auto firstZero = intPart.find('0');
    std::size_t minWhole = 0;
    if (firstZero != std::string::npos)
        for (std::size_t i = firstZero; i < intPart.size(); ++i) minWhole += intPart[i] == '0';
    int maxDec = 0, minDec = 0;
    for (std::size_t i = 0; i < decPart.size(); ++i) {
        if (decPart[i] == '0' || decPart[i] == '#') ++maxDec;
        if (decPart[i] == '0') minDec = maxDec;
    }

    std::string whole, fraction;
    RoundedDigits(value, maxDec, whole, fraction);
    while (static_cast<int>(fraction.size()) > minDec && fraction.back() == '0') fraction.pop_back();
    const bool isZero = whole.find_first_not_of('0') == std::string::npos &&
                        fraction.find_first_not_of('0') == std::string::npos;
    if (whole == "0" && minWhole == 0) whole.clear();
    while (whole.size() < minWhole) whole.insert(0, 1, '0');
    if (grouping) {
        for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(static_cast<std::size_t>(i), 1, GlobalFormatSettings().thousandSeparator);
    }
    std::string r = prefix;
    if (value < 0 && !isZero) r += '-';
    r += whole;
    if (!fraction.empty()) r += GlobalFormatSettings().decimalSeparator + fraction;
    return r + suffix;
}

std::string FormatDateTime(const std::string& pattern, TDateTime value) {
    const DateParts p = DecodeDateTime(value);
    const auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    std::string r;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && (pattern[i + run] | 0x20) == (c | 0x20)) ++run;
        switch (c | 0x20) {
        case 'd': r += run >= 2 ? two(p.day) : std::to_string(p.day); break;
        case 'm': r += run >= 2 ? two(p.month) : std::to_string(p.month); break;
        case 'y': r += run >= 3 ? std::to_string(p.year) : two(p.year % 100); break;
        case 'h': r += run >= 2 ? two(p.hour) : std::to_string(p.hour); break;
        case 'n': r += run >= 2 ? two(p.minute) : std::to_string(p.minute); break;
        case 's': r += run >= 2 ? two(p.second) : std::to_string(p.second); break;
        default:
            run = 1;
            if (c == '"' || c == '\'') {
                const auto close = pattern.find(c, i + 1);
                const auto end = close == std::string::npos ? pattern.size() : close;
                r += pattern.substr(i + 1, end - i - 1);
                run = end + 1 - i;
            } else if (c == '/') {
                r += GlobalFormatSettings().dateSeparator;
            } else {
                r += c;
            }
        }
        i += run;
    }
    return r;
}

std::string DateToStr(TDateTime value) {
    return FormatDateTime(GlobalFormatSettings().shortDateFormat, value);
}

TDateTime StrToDate(const std::string& text) {
    // The order of day, month and year follows the short date format.
    const FormatSettings& fs = GlobalFormatSettings();
    std::string order;
    for (char c : fs.shortDateFormat) {
        const char l = static_cast<char>(c | 0x20);
        if ((l == 'd' || l == 'm' || l == 'y') && order.find(l) == std::string::npos) order += l;
    }
    if (order.size() != 3) order = "dmy";
    const std::string t = Trim(text);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int k = 0;
    bool ok = !t.empty();
    for (std::size_t i = 0; ok && i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9' && digits[k] < 4) { parts[k] = parts[k] * 10 + (c - '0'); ++digits[k]; }
        else if (c == fs.dateSeparator && digits[k] > 0 && k < 2) ++k;
        else ok = false;
    }
    ok = ok && k == 2 && digits[2] > 0;
    if (ok) {
        int d = 0, m = 0, y = 0;
        for (int i = 0; i < 3; ++i) {
            if (order[i] == 'd') d = parts[i];
            else if (order[i] == 'm') m = parts[i];
            else {
                y = parts[i];
                if (digits[i] <= 2) y += y < 50 ? 2000 : 1900;
            }
        }
        if (IsValidDate(y, m, d)) return EncodeDate(y, m, d);
    }
    throw ConversionError("'" + text + "' is not a valid date");
}

} // namespace fat
