#include "directory/JsonNumber.h"

#include "platform/core/Errors.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace fat::directory {

std::optional<double> ReadJsonDouble(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt; // one sign only
    }
    if (text.empty()) return std::nullopt;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-')) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::int32_t JsonIntegerOf(double value) {
    if (!(value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()))
        throw ConversionError(std::to_string(value) + " does not fit in a 32-bit integer");
    return static_cast<std::int32_t>(value);
}

std::int32_t JSONDouble::intValue() const {
    return JsonIntegerOf(std::trunc(value_));
}

std::string JSONDouble::toString() const {
    char text[400];
    // to_chars ignores the process locale, which a Qt application takes from the environment.
    const auto end = std::to_chars(text, text + sizeof text, value_, std::chars_format::fixed, 2).ptr;
    std::string digits(text, end);
    if (digits == "-0.00") digits = "0.00";
    return "\"" + digits + "\"";
}

} // namespace fat::directory
