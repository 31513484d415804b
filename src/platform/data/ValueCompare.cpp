#include "platform/data/ValueCompare.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/core/Win1252.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace fat::data {

namespace {

int Sign(bool less, bool greater) { return less ? -1 : (greater ? 1 : 0); }

// Two decimals of any scales (0 to 18), exactly: by their whole parts, then by their fractions
// at the larger scale, so that nothing is multiplied past 64 bits.
int CompareExact(const Decimal& x, const Decimal& y) {
    const std::int64_t px = pow10i(x.scale()), py = pow10i(y.scale());
    const std::int64_t wx = x.unscaled() / px, wy = y.unscaled() / py;
    if (wx != wy) return Sign(wx < wy, wx > wy);
    const int scale = std::max(x.scale(), y.scale());
    const std::int64_t fx = x.unscaled() % px * pow10i(scale - x.scale());
    const std::int64_t fy = y.unscaled() % py * pow10i(scale - y.scale());
    return Sign(fx < fy, fx > fy);
}

// The exact value of a whole number, a decimal or a boolean, whatever its scale.
std::optional<Decimal> ExactValue(const Value& v) {
    if (v.isInteger()) return Decimal(v.asInteger(), 0);
    if (v.isBoolean()) return Decimal(v.asBoolean() ? 1 : 0, 0);
    if (!v.isDecimal()) return std::nullopt;
    // A decimal's text holds all its digits and only them.
    std::string text = v.asString();
    for (char& c : text)
        if (c == GlobalFormatSettings().decimalSeparator) c = '.';
    return Decimal::parse(text);
}

int CompareDecimals(const Value& a, const Value& b, int scale) {
    Decimal x, y;
    try {
        x = a.asDecimal(scale);
        y = b.asDecimal(scale);
    } catch (const ConversionError&) {
        // Too large to take that many decimals (a LargeInt near its end against a constant
        // with decimals): exactly, at their own scales.
        const auto ex = ExactValue(a), ey = ExactValue(b);
        if (!ex || !ey) throw;
        return CompareExact(*ex, *ey);
    }
    return Sign(x.unscaled() < y.unscaled(), x.unscaled() > y.unscaled());
}

void AppendEscaped(std::string& key, const std::string& bytes, bool foldCase) {
    // 0x00 ends a part, so it and the escape byte itself are written as two bytes.
    for (char c : bytes) {
        if (foldCase) c = UpperWin1252(c);
        if (c == '\x00') key += "\x01\x01";
        else if (c == '\x01') key += "\x01\x02";
        else key += c;
    }
}

std::string DoubleBits(double v) {
    if (v == 0) v = 0; // -0 and +0 are the same value
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return std::to_string(bits);
}

constexpr char NullTag = '\x02';
constexpr char ValueTag = '\x03';

} // namespace

int CompareValues(const Value& a, const Value& b, DataType type, int scale) {
    if (a.isNull() || b.isNull()) return Sign(a.isNull() && !b.isNull(), !a.isNull() && b.isNull());
    switch (type) {
    case DataType::String:
    case DataType::FixedChar:
    case DataType::Memo:
    case DataType::Blob:
    case DataType::Unknown: {
        const int c = a.asString().compare(b.asString()); // char_traits<char> compares as unsigned
        return Sign(c < 0, c > 0);
    }
    case DataType::SmallInt:
    case DataType::Integer:
    case DataType::LargeInt:
        if (scale == 0 && a.isInteger() && b.isInteger()) {
            const auto x = a.asInteger(), y = b.asInteger();
            return Sign(x < y, x > y);
        }
        return CompareDecimals(a, b, scale);
    case DataType::Decimal:
        return CompareDecimals(a, b, scale);
    case DataType::Float:
    case DataType::Currency: {
        const double x = a.asFloat(), y = b.asFloat();
        return Sign(x < y, x > y);
    }
    case DataType::Date:
    case DataType::Time:
    case DataType::DateTime: {
        const double x = a.asDateTime(), y = b.asDateTime();
        return Sign(x < y, x > y);
    }
    case DataType::Boolean: {
        const bool x = a.asBoolean(), y = b.asBoolean();
        return Sign(!x && y, x && !y);
    }
    }
    return 0;
}

void AppendKeyPart(std::string& key, const Value& value, DataType type, int scale, bool foldCase) {
    if (value.isNull()) {
        key += NullTag;
        key += '\x00';
        return;
    }
    key += ValueTag;
    switch (type) {
    case DataType::String:
    case DataType::FixedChar:
    case DataType::Memo:
    case DataType::Unknown:
        AppendEscaped(key, value.asString(), foldCase);
        break;
    case DataType::Blob:
        AppendEscaped(key, value.asString(), false);
        break;
    case DataType::SmallInt:
    case DataType::Integer:
    case DataType::LargeInt:
        key += std::to_string(value.asInteger());
        break;
    case DataType::Decimal: {
        Decimal d = value.asDecimal(scale);
        std::int64_t unscaled = d.unscaled();
        int s = d.scale();
        while (s > 0 && unscaled % 10 == 0) {
            unscaled /= 10;
            --s;
        }
        key += std::to_string(unscaled) + "e" + std::to_string(s);
        break;
    }
    case DataType::Float:
    case DataType::Currency:
        key += DoubleBits(value.asFloat());
        break;
    case DataType::Date:
    case DataType::Time:
    case DataType::DateTime:
        key += DoubleBits(value.asDateTime());
        break;
    case DataType::Boolean:
        key += value.asBoolean() ? '1' : '0';
        break;
    }
    key += '\x00';
}

void AppendKeyTextPrefix(std::string& key, const std::string& text, bool foldCase) {
    key += ValueTag;
    AppendEscaped(key, text, foldCase);
}

} // namespace fat::data
