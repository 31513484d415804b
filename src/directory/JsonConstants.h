#pragma once
#include "directory/JsonValue.h"

namespace fat::directory {

class JSONBoolean : public TZAbstractObject {
public:
    explicit JSONBoolean(bool value, bool shared = false) : value_(value), shared_(shared) {}
    bool value() const { return value_; }

    JsonPtr clone() const override { return JsonPtr(new JSONBoolean(value_)); }
    std::string toString() const override { return value_ ? "true" : "false"; }
    const char* className() const override { return "_Boolean"; }
    bool isShared() const override { return shared_; }

private:
    bool value_;
    bool shared_;
};

// The JSON null; only the shared instance exists.
class JSONNull : public TZAbstractObject {
public:
    // No object at all, or another NULL.
    bool equals(const TZAbstractObject* other) const override;
    std::string toString() const override { return "null"; }
    const char* className() const override { return "NULL"; }
    bool isShared() const override { return true; }

private:
    JSONNull() = default;
    friend JSONNull& JsonNull();
};

// The three shared instances: they live as long as the program and no container frees them.
JSONBoolean& JsonTrue();
JSONBoolean& JsonFalse();
JSONNull& JsonNull();

} // namespace fat::directory
