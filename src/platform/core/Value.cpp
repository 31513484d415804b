#include "platform/core/Value.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"

#include <cmath>

namespace fat {

const char* DataTypeName(DataType type) {
    switch (type) {
    case DataType::Unknown: return "Unknown";
    case DataType::String: return "String";
    case DataType::FixedChar: return "FixedChar";
    case DataType::Memo: return "Memo";
    case DataType::Blob: return "Blob";
    case DataType::SmallInt: return "SmallInt";
    case DataType::Integer: return "Integer";
    case DataType::LargeInt: return "LargeInt";
    case DataType::Float: return "Float";
    case DataType::Currency: return "Currency";
    case DataType::Decimal: return "Decimal";
    case DataType::Date: return "Date";
    case DataType::Time: return "Time";
    case DataType::DateTime: return "DateTime";
    case DataType::Boolean: return "Boolean";
    }
    return "Unknown";
}

bool IsTextType(DataType type) {
    return type == DataType::String || type == DataType::FixedChar || type == DataType::Memo;
}

bool IsIntegerType(DataType type) {
    return type == DataType::SmallInt || type == DataType::Integer || type == DataType::LargeInt;
}

namespace {

std::string DecimalText(const Decimal& d) {
    // The platform shows an exact decimal without trailing zeros, with the regional separator.
    std::string text = d.toString();
    const auto point = text.find('.');
    if (point != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
        else text[point] = GlobalFormatSettings().decimalSeparator;
    }
    return text;
}

std::string DateTimeText(TDateTime v) {
    const DateParts p = DecodeDateTime(v);
    if (p.hour == 0 && p.minute == 0 && p.second == 0 && p.tenThousandths == 0) return DateToStr(v);
    return FormatDateTime(GlobalFormatSettings().shortDateFormat + " hh:nn:ss", v);
}

std::int64_t RoundToInteger(double v, const std::string& shown) {
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || std::fabs(r) >= 9.2e18)
        throw ConversionError("'" + shown + "' is not a valid integer value");
    return static_cast<std::int64_t>(r);
}

} // namespace

Value Value::fromString(std::string text) {
    if (text.size() <= sizeof(ShortText::bytes)) {
        ShortText s{static_cast<unsigned char>(text.size()), {}};
        text.copy(s.bytes, text.size());
        return Value(Storage(s));
    }
    return Value(Storage(Text{std::make_shared<const std::string>(std::move(text))}));
}

std::optional<std::string_view> Value::text() const {
    if (const auto* s = std::get_if<ShortText>(&v_)) return std::string_view(s->bytes, s->size);
    if (const auto* t = std::get_if<Text>(&v_)) return std::string_view(*t->text);
    return std::nullopt;
}

std::string Value::asString() const {
    if (isNull()) return {};
    if (auto s = text()) return std::string(*s);
    if (auto i = std::get_if<std::int64_t>(&v_)) return std::to_string(*i);
    if (auto f = std::get_if<double>(&v_)) return FloatToStr(*f);
    if (auto d = std::get_if<Decimal>(&v_)) return DecimalText(*d);
    if (auto t = std::get_if<DateTimeBox>(&v_)) return DateTimeText(t->value);
    return std::get<bool>(v_) ? "True" : "False";
}

std::int64_t Value::asInteger() const {
    if (isNull()) return 0;
    if (auto s = text()) return StrToInt64(std::string(*s));
    if (auto i = std::get_if<std::int64_t>(&v_)) return *i;
    if (auto f = std::get_if<double>(&v_)) return RoundToInteger(*f, FloatToStr(*f));
    if (auto d = std::get_if<Decimal>(&v_)) return d->rescaled(0).unscaled();
    if (auto t = std::get_if<DateTimeBox>(&v_)) return static_cast<std::int64_t>(std::trunc(t->value));
    return std::get<bool>(v_) ? 1 : 0;
}

double Value::asFloat() const {
    if (isNull()) return 0;
    if (auto s = text()) return StrToFloat(std::string(*s));
    if (auto i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
    if (auto f = std::get_if<double>(&v_)) return *f;
    if (auto d = std::get_if<Decimal>(&v_)) return d->toDouble();
    if (auto t = std::get_if<DateTimeBox>(&v_)) return t->value;
    return std::get<bool>(v_) ? 1 : 0;
}

Decimal Value::asDecimal(int scale) const {
    if (isNull()) return Decimal(0, scale);
    if (auto s = text()) {
        std::string text(*s);
        for (char& c : text)
            if (c == GlobalFormatSettings().decimalSeparator) c = '.';
        return Decimal::parse(text).rescaled(scale);
    }
    if (auto i = std::get_if<std::int64_t>(&v_)) return Decimal(*i, 0).rescaled(scale);
    if (auto d = std::get_if<Decimal>(&v_)) return d->rescaled(scale);
    if (auto b = std::get_if<bool>(&v_)) return Decimal(*b ? 1 : 0, 0).rescaled(scale);
    return Decimal::fromDouble(asFloat(), scale);
}

TDateTime Value::asDateTime() const {
    if (isNull()) return 0;
    if (auto s = text()) return StrToDate(std::string(*s));
    if (auto t = std::get_if<DateTimeBox>(&v_)) return t->value;
    if (isBoolean()) throw ConversionError("a boolean is not a valid date");
    return asFloat();
}

bool Value::asBoolean() const {
    if (isNull()) return false;
    if (auto b = std::get_if<bool>(&v_)) return *b;
    if (auto s = text()) {
        const std::string u = UpperCase(Trim(std::string(*s)));
        if (u == "TRUE" || u == "T" || u == "S" || u == "1") return true;
        if (u == "FALSE" || u == "F" || u == "N" || u == "0" || u.empty()) return false;
        throw ConversionError("'" + std::string(*s) + "' is not a valid boolean value");
    }
    return asFloat() != 0;
}

Value Value::convertedTo(DataType type, int scale) const {
    if (isNull()) return Value();
    switch (type) {
    case DataType::String:
    case DataType::FixedChar:
    case DataType::Memo:
    case DataType::Blob:
        return isString() ? *this : fromString(asString());
    case DataType::SmallInt:
    case DataType::Integer:
    case DataType::LargeInt:
        return isInteger() ? *this : fromInteger(asInteger());
    case DataType::Float:
    case DataType::Currency:
        return isFloat() ? *this : fromFloat(asFloat());
    case DataType::Decimal:
        return fromDecimal(asDecimal(scale));
    case DataType::Date:
    case DataType::Time:
    case DataType::DateTime:
        return isDateTime() ? *this : fromDateTime(asDateTime());
    case DataType::Boolean:
        return isBoolean() ? *this : fromBoolean(asBoolean());
    case DataType::Unknown:
        break;
    }
    return *this;
}

bool operator==(const Value& a, const Value& b) { return a.v_ == b.v_; }

} // namespace fat
