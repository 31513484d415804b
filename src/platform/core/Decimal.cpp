#include "platform/core/Decimal.h"

#include "platform/core/Errors.h"

#include <cmath>
#include <charconv>
#include <limits>

namespace fat {

std::int64_t pow10i(int exponent) {
    if (exponent < 0 || exponent > 18)
        throw ConversionError("decimal scale out of range: " + std::to_string(exponent));
    std::int64_t r = 1;
    for (int i = 0; i < exponent; ++i) r *= 10;
    return r;
}

Decimal Decimal::parse(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t value = 0;
    int scale = 0;
    bool digits = false, point = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c == '.' && !point) { point = true; continue; }
        if (c < '0' || c > '9') break;
        digits = true;
        if (value > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10)
            throw ConversionError("'" + text + "' is out of range for an exact decimal");
        value = value * 10 + (c - '0');
        if (point) ++scale;
    }
    while (i < n && text[i] == ' ') ++i;
    if (!digits || i != n || scale > 18)
        throw ConversionError("'" + text + "' is not a valid decimal value");
    return Decimal(negative ? -value : value, scale);
}

Decimal Decimal::fromDouble(double value, int scale) {
    // Rounds on the decimal digits of the value (15 significant digits, as the platform's
    // number formatting does), so that 2.675 becomes 2.68 and not 2.67.
    if (!std::isfinite(value)) throw ConversionError("value out of range for an exact decimal");
    if (value == 0) return Decimal(0, scale);
    char buf[48];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14).ptr;
    const std::string text(buf, end);
    const std::size_t e = text.find('e');
    std::int64_t mantissa = 0;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] >= '0' && text[i] <= '9') mantissa = mantissa * 10 + (text[i] - '0');
    if (value < 0) mantissa = -mantissa;
    const int shift = std::stoi(text.substr(e + 1)) - 14 + scale;
    if (shift >= 0) {
        if (shift > 18) throw ConversionError("value out of range for an exact decimal");
        return Decimal(mantissa, 0).rescaled(shift).withScale(scale);
    }
    if (-shift > 18) return Decimal(0, scale);
    return Decimal(mantissa, -shift).rescaled(0).withScale(scale);
}

double Decimal::toDouble() const {
    // Dividing by the exact power of ten gives the nearest double for all 15-digit values.
    return static_cast<double>(unscaled_) / static_cast<double>(pow10i(scale_));
}

std::string Decimal::toString() const {
    const bool negative = unscaled_ < 0;
    // Work on the unsigned magnitude so that INT64_MIN does not overflow.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(unscaled_)
                                       : static_cast<std::uint64_t>(unscaled_);
    std::string digits = std::to_string(magnitude);
    if (scale_ > 0) {
        if (digits.size() <= static_cast<std::size_t>(scale_))
            digits.insert(0, static_cast<std::size_t>(scale_) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(scale_), 1, '.');
    }
    return negative ? "-" + digits : digits;
}

Decimal Decimal::rescaled(int newScale) const {
    if (newScale == scale_) return *this;
    if (newScale > scale_) {
        const std::int64_t factor = pow10i(newScale - scale_);
        if (unscaled_ > std::numeric_limits<std::int64_t>::max() / factor ||
            unscaled_ < std::numeric_limits<std::int64_t>::min() / factor)
            throw ConversionError("value " + toString() + " does not fit with " +
                                  std::to_string(newScale) + " decimals");
        return Decimal(unscaled_ * factor, newScale);
    }
    const std::int64_t factor = pow10i(scale_ - newScale);
    std::int64_t q = unscaled_ / factor;
    const std::int64_t r = unscaled_ % factor;
    if (r * 2 >= factor) ++q;
    else if (r * 2 <= -factor) --q;
    return Decimal(q, newScale);
}

bool operator==(const Decimal& a, const Decimal& b) {
    const int s = std::max(a.scale_, b.scale_);
    return a.rescaled(s).unscaled_ == b.rescaled(s).unscaled_;
}

bool operator<(const Decimal& a, const Decimal& b) {
    const int s = std::max(a.scale_, b.scale_);
    return a.rescaled(s).unscaled_ < b.rescaled(s).unscaled_;
}

} // namespace fat
