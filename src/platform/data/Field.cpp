#include "platform/data/Field.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/data/ClientDataSet.h"

#include <limits>

namespace fat::data {

Field::Field(ClientDataSet& dataSet, FieldDef def) : dataSet_(&dataSet), def_(std::move(def)) {}

const Value& Field::value() const { return dataSet_->currentValue(index_); }

namespace {

template <typename Read>
auto Converting(const Field& field, Read read) -> decltype(read(field.value())) {
    try {
        return read(field.value());
    } catch (const ConversionError& e) {
        throw ConversionError("Field '" + field.name() + "': " + e.what());
    }
}

bool IsNumericType(DataType type) {
    return IsIntegerType(type) || type == DataType::Float || type == DataType::Currency ||
           type == DataType::Decimal;
}

bool IsDateType(DataType type) {
    return type == DataType::Date || type == DataType::Time || type == DataType::DateTime;
}

} // namespace

std::int64_t Field::asInteger() const {
    return Converting(*this, [](const Value& v) { return v.asInteger(); });
}

double Field::asFloat() const {
    return Converting(*this, [](const Value& v) { return v.asFloat(); });
}

Decimal Field::asDecimal() const {
    const int s = def_.type == DataType::Decimal ? def_.scale : (IsIntegerType(def_.type) ? 0 : 4);
    return Converting(*this, [s](const Value& v) { return v.asDecimal(s); });
}

Amount Field::asAmount() const {
    return Converting(*this, [](const Value& v) {
        if (v.isNull()) return Amount();
        if (v.isFloat()) return Amount::fromDouble(v.asFloat());
        return Amount::fromDecimal(v.asDecimal(4));
    });
}

TDateTime Field::asDateTime() const {
    return Converting(*this, [](const Value& v) { return v.asDateTime(); });
}

bool Field::asBoolean() const {
    return Converting(*this, [](const Value& v) { return v.asBoolean(); });
}

void Field::setValue(const Value& value) { dataSet_->setFieldValue(*this, stored(value)); }

void Field::setAsString(const std::string& value) {
    if (value.empty() && !IsTextType(def_.type) && def_.type != DataType::Blob) setValue(Value());
    else setValue(Value::fromString(value));
}

void Field::conversionFailed(const Value& value, const std::string& reason) const {
    throw ConversionError("Invalid value '" + value.asString() + "' for field '" + def_.name + "': " + reason);
}

Value Field::comparable(const Value& value) const {
    try {
        return value.convertedTo(def_.type, def_.scale);
    } catch (const ConversionError& e) {
        conversionFailed(value, e.what());
    }
}

Value Field::stored(const Value& value) const {
    Value v = comparable(value);
    if (v.isNull()) return v;
    switch (def_.type) {
    case DataType::String:
    case DataType::FixedChar:
        if (def_.size > 0) {
            const std::string text = v.asString();
            const auto size = static_cast<std::size_t>(def_.size);
            if (text.size() > size && !calculated() && dataSet_->rejectLongTexts())
                throw ConversionError("Field '" + def_.name + "' holds at most " + std::to_string(size) +
                                      " characters, the text given has " + std::to_string(text.size()) + ": '" +
                                      (text.size() > 60 ? text.substr(0, 60) + "..." : text) + "'");
            if (text.size() > size) v = Value::fromString(text.substr(0, size));
        }
        break;
    case DataType::SmallInt:
    case DataType::Integer: {
        const std::int64_t i = v.asInteger();
        const std::int64_t lo = def_.type == DataType::SmallInt ? std::numeric_limits<std::int16_t>::min()
                                                                : std::numeric_limits<std::int32_t>::min();
        const std::int64_t hi = def_.type == DataType::SmallInt ? std::numeric_limits<std::int16_t>::max()
                                                                : std::numeric_limits<std::int32_t>::max();
        if (i < lo || i > hi)
            conversionFailed(value, std::string("out of range for a ") + DataTypeName(def_.type) + " field");
        break;
    }
    case DataType::Decimal:
        // The engine checks only the width of the stored integer, so the declared precision is
        // checked here.
        if (def_.precision > 0 && def_.precision < 19) {
            const std::int64_t limit = pow10i(def_.precision);
            const std::int64_t u = v.asDecimal(def_.scale).unscaled();
            if (u >= limit || u <= -limit)
                conversionFailed(value, "more than " + std::to_string(def_.precision) + " digits (" +
                                            std::to_string(def_.scale) + " decimals)");
        }
        break;
    default:
        break;
    }
    return v;
}

std::string Field::displayText(const Value& value) const {
    if (value.isNull()) return {};
    try {
        if (!def_.displayFormat.empty()) {
            if (IsNumericType(def_.type)) return FormatFloat(def_.displayFormat, value.asFloat());
            if (IsDateType(def_.type)) return FormatDateTime(def_.displayFormat, value.asDateTime());
        }
        if (def_.type == DataType::Date) return DateToStr(value.asDateTime());
        if (def_.type == DataType::Time) return FormatDateTime("hh:nn:ss", value.asDateTime());
        return value.asString();
    } catch (const ConversionError& e) {
        throw ConversionError("Field '" + def_.name + "': " + e.what());
    }
}

} // namespace fat::data
