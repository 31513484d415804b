#pragma once
#include "platform/core/DateTime.h"

#include <cstdint>
#include <string>

namespace fat {

// The platform's regional settings as the product relies on them (Brazilian defaults:
// decimal comma, thousands dot, dd/mm/yyyy).
struct FormatSettings {
    char decimalSeparator = ',';
    char thousandSeparator = '.';
    char dateSeparator = '/';
    std::string shortDateFormat = "dd/mm/yyyy";
};
FormatSettings& GlobalFormatSettings();

// Shortest text that reads back as the same double with 15 significant digits, with the
// settings' decimal separator ("1234,5", "-0,01", "3").
std::string FloatToStr(double value);
// Accepts the settings' decimal separator (and '.'), an optional sign and exponent;
// leading and trailing blanks are allowed. Raises ConversionError naming the text.
double StrToFloat(const std::string& text);
double StrToFloatDef(const std::string& text, double fallback);
// A whole number in 32 bits; blanks around it are allowed. Raises ConversionError.
std::int32_t StrToInt(const std::string& text);
std::int32_t StrToIntDef(const std::string& text, std::int32_t fallback);
std::int64_t StrToInt64(const std::string& text);

// Number patterns as the platform formats them: '0' digit or zero, '#' optional digit,
// '.' the decimal separator, ',' thousands grouping, anything else a literal
// ("##0.00", "000", "###,##0", "#,###,##0.00"). Rounds halves away from zero on the
// decimal digits of the value (15 significant digits).
std::string FormatFloat(const std::string& pattern, double value);

// Date patterns: d dd m mm yy yyyy h hh n nn s ss, text in double quotes as a literal,
// '/' the settings' date separator ("dd/mm/yyyy", dd"/"mm"/"yyyy).
std::string FormatDateTime(const std::string& pattern, TDateTime value);
// A date in the settings' short date format ("01/01/1901"). Raises ConversionError.
TDateTime StrToDate(const std::string& text);
std::string DateToStr(TDateTime value);

std::string Trim(const std::string& text);
std::string UpperCase(const std::string& text); // ASCII letters only, bytes kept otherwise
// 'abc' -> "'abc'"; inner quotes doubled.
std::string QuotedStr(const std::string& text);

} // namespace fat
