#pragma once
#include "directory/JsonValue.h"

#include <string>
#include <vector>

namespace fat::directory {

class JSONTokener;
class TJSONObject;

// An ordered list of values; an entry may be empty (no value at all, as in "[1,,2]").
class TJSONArray : public TZAbstractObject {
public:
    TJSONArray() = default;
    // Parses a text that starts (after blanks and comments) with an array; what follows the
    // closing bracket is ignored. Raises ParseException or ConversionError.
    explicit TJSONArray(const std::string& text);
    // Parses an array at the tokenizer's position.
    explicit TJSONArray(JSONTokener& tokener);

    // Entries, empty ones included.
    int length() const { return static_cast<int>(entries_.size()); }
    // The value at a 0-based index; none outside 0..length-1 or for an empty entry.
    const TZAbstractObject* opt(int index) const;
    // Raises NoSuchElementException "TJSONArray[i] not found." where opt has none.
    const TZAbstractObject& get(int index) const;
    // Raises NoSuchElementException when the value is not an object.
    const TJSONObject& getJSONObject(int index) const;

    std::string toString() const override;
    const char* className() const override { return "TJSONArray"; }

private:
    friend class TJSONObject; // deep copies of objects copy their arrays
    JsonPtr copy() const;
    void parse(JSONTokener& tokener);

    std::vector<JsonPtr> entries_;
};

} // namespace fat::directory
