#pragma once
#include "platform/core/Value.h"

#include <string>

namespace fat::data {

// Compares two values of a field of the given type: null before any value, texts byte by byte
// (WIN1252 bytes as unsigned), numbers and dates by value. Exact decimals and whole numbers are
// compared as decimals with `scale` digits after the point, so pass the larger of the scales
// involved. Returns <0, 0 or >0.
int CompareValues(const Value& a, const Value& b, DataType type, int scale = 0);

// Key encoding for the lookup indexes: one part per field, such that two values of the field
// encode alike exactly when they are equal (texts without regard to case when `foldCase`), and
// the encoding of a text is a prefix of the encoding of every text that starts with it.
void AppendKeyPart(std::string& key, const Value& value, DataType type, int scale, bool foldCase);
// The beginning of a text part, without its end mark: every key whose part for this field starts
// with `text` begins with the key built so far followed by this.
void AppendKeyTextPrefix(std::string& key, const std::string& text, bool foldCase);

} // namespace fat::data
