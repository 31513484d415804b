#pragma once
#include "directory/JsonValue.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fat::directory {

class JSONTokener;
class TJSONArray;

// An ordered list of (key, value) pairs. Keys are found ignoring letter case; a key that
// occurs twice keeps both pairs and lookups find the first.
class TJSONObject : public TZAbstractObject {
public:
    TJSONObject() = default;
    // Parses a text that starts with an object; what follows the closing brace is ignored.
    explicit TJSONObject(const std::string& text);
    explicit TJSONObject(JSONTokener& tokener);

    int length() const { return static_cast<int>(pairs_.size()); }
    const std::string& keyAt(int index) const { return pairs_.at(static_cast<std::size_t>(index)).first; }

    // The value of the first pair with that key, or none. An empty key raises
    // NullPointerException "Null key".
    const TZAbstractObject* opt(const std::string& key) const;
    // Raises NoSuchElementException 'TJSONObject["key"] not found.'.
    const TZAbstractObject& get(const std::string& key) const;
    // The value's toString: a string as it is, a _Double as "5.00" with its quotes.
    std::string getString(const std::string& key) const;
    // A number's value, or a string read as a decimal number with '.' (ConversionError when it
    // is not one); anything else raises NumberFormatException '... is not a number.'.
    double getDouble(const std::string& key) const;
    // A number's whole part (fraction cut off); otherwise getDouble rounded to the nearest
    // integer, ties to even. Raises ConversionError outside 32 bits.
    std::int32_t getInt(const std::string& key) const;
    // Raises NoSuchElementException '... is not a TJSONArray.', also when the key is missing.
    const TJSONArray& getJSONArray(const std::string& key) const;

    // A deep copy (values are copied, not reparsed from the text form, which rounds numbers).
    JsonPtr clone() const override;
    std::string toString() const override;
    const char* className() const override { return "TJSONObject"; }

private:
    friend class TJSONArray;
    static JsonPtr deepCopy(const TZAbstractObject* value);
    void parse(JSONTokener& tokener);

    std::vector<std::pair<std::string, JsonPtr>> pairs_;
};

} // namespace fat::directory
