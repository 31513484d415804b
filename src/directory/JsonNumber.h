#pragma once
#include "directory/JsonValue.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace fat::directory {

class JSONNumber : public TZAbstractObject {
public:
    virtual double doubleValue() const = 0;
    // Whole part, the fraction cut off towards zero. Raises ConversionError outside 32 bits.
    virtual std::int32_t intValue() const = 0;
    const char* className() const override { return "_Number"; }
};

class JSONInteger : public JSONNumber {
public:
    explicit JSONInteger(std::int32_t value) : value_(value) {}

    double doubleValue() const override { return value_; }
    std::int32_t intValue() const override { return value_; }
    JsonPtr clone() const override { return JsonPtr(new JSONInteger(value_)); }
    std::string toString() const override { return std::to_string(value_); }
    const char* className() const override { return "_Integer"; }

private:
    std::int32_t value_;
};

class JSONDouble : public JSONNumber {
public:
    explicit JSONDouble(double value) : value_(value) {}

    double doubleValue() const override { return value_; }
    std::int32_t intValue() const override;
    JsonPtr clone() const override { return JsonPtr(new JSONDouble(value_)); }
    // Two decimals, '.' as separator, no grouping, inside double quotes: 5 gives "5.00".
    std::string toString() const override;
    const char* className() const override { return "_Double"; }

private:
    double value_;
};

// A decimal number with '.' as separator, an optional sign and exponent, nothing else (no
// blanks, no hexadecimal, no infinities); none when the text is not such a finite number.
std::optional<double> ReadJsonDouble(std::string_view text);
// A double as a 32-bit integer; raises ConversionError when it does not fit.
std::int32_t JsonIntegerOf(double value);

} // namespace fat::directory
