#pragma once
#include "platform/core/Amount.h"
#include "platform/core/DateTime.h"
#include "platform/core/Decimal.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <string>
#include <variant>

namespace fat {

// The type of a field or column as the product handles it.
enum class DataType {
    Unknown,
    String,    // variable text, single-byte (WIN1252) bytes
    FixedChar, // fixed-width text, padded with blanks
    Memo,      // text blob, fetched whole
    Blob,      // binary blob
    SmallInt,
    Integer,
    LargeInt,
    Float,     // double precision
    Currency,  // double precision shown as money
    Decimal,   // exact NUMERIC/DECIMAL
    Date,
    Time,
    DateTime,
    Boolean,
};

const char* DataTypeName(DataType type);
bool IsTextType(DataType type);
bool IsIntegerType(DataType type);

// One value of a field, a column or a parameter: null or one typed value. The as...()
// conversions follow the platform's rules (null reads as "", 0, false or day 0) and raise
// ConversionError with a text that names the value when a conversion is impossible.
class Value {
public:
    struct DateTimeBox {
        TDateTime value;
        friend bool operator==(const DateTimeBox&, const DateTimeBox&) = default;
    };

    Value() = default;
    static Value null() { return Value(); }
    static Value fromString(std::string text);
    static Value fromInteger(std::int64_t v) { return Value(Storage(v)); }
    static Value fromFloat(double v) { return Value(Storage(v)); }
    static Value fromDecimal(Decimal v) { return Value(Storage(v)); }
    static Value fromAmount(Amount v) { return fromDecimal(Decimal(v.raw(), 4)); }
    static Value fromDateTime(TDateTime v) { return Value(Storage(DateTimeBox{v})); }
    static Value fromBoolean(bool v) { return Value(Storage(v)); }

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isString() const { return std::holds_alternative<Text>(v_) || std::holds_alternative<ShortText>(v_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isFloat() const { return std::holds_alternative<double>(v_); }
    bool isDecimal() const { return std::holds_alternative<Decimal>(v_); }
    bool isDateTime() const { return std::holds_alternative<DateTimeBox>(v_); }
    bool isBoolean() const { return std::holds_alternative<bool>(v_); }

    std::string asString() const;
    std::int64_t asInteger() const;
    double asFloat() const;
    // Exact when the value is a decimal or an integer; a float goes through its decimal digits.
    Decimal asDecimal(int scale) const;
    TDateTime asDateTime() const;
    bool asBoolean() const;

    // Converts to the representation a field of the given type keeps (for example a text
    // "12" for an Integer field becomes the integer 12). Null stays null.
    Value convertedTo(DataType type, int scale = 0) const;

    // Same kind and same value (decimals compare by value, whatever their scale).
    friend bool operator==(const Value& a, const Value& b);

private:
    // Datasets hold hundreds of thousands of values, so a value stays at three words: a short
    // text (codes, numbers, series) is kept inline, a longer one shared between copies.
    struct ShortText {
        unsigned char size;
        char bytes[15];
        friend bool operator==(const ShortText& a, const ShortText& b) {
            return std::string_view(a.bytes, a.size) == std::string_view(b.bytes, b.size);
        }
    };
    struct Text {
        std::shared_ptr<const std::string> text;
        friend bool operator==(const Text& a, const Text& b) { return *a.text == *b.text; }
    };
    using Storage = std::variant<std::monostate, bool, std::int64_t, double, Decimal, DateTimeBox, ShortText, Text>;
    std::optional<std::string_view> text() const;
    explicit Value(Storage v) : v_(std::move(v)) {}
    Storage v_;
};

} // namespace fat
