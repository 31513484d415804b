#pragma once
#include "directory/JsonValue.h"

namespace fat::directory {

// A text of single-byte characters; also what unquoted words and unreadable numbers become.
class JSONString : public TZAbstractObject {
public:
    explicit JSONString(std::string value) : value_(std::move(value)) {}
    const std::string& value() const { return value_; }

    // Another string with exactly the same text (case matters).
    bool equals(const TZAbstractObject* other) const override;
    JsonPtr clone() const override { return JsonPtr(new JSONString(value_)); }
    std::string toString() const override { return value_; }
    const char* className() const override { return "_String"; }

private:
    std::string value_;
};

} // namespace fat::directory
