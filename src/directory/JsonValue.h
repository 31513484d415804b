#pragma once
#include <memory>
#include <string>

namespace fat::directory {

class TZAbstractObject;

// Frees a value unless it is one of the shared instances (TRUE, FALSE, NULL).
struct JsonDeleter {
    void operator()(const TZAbstractObject* value) const;
};
// An owned JSON value; containers hold their values this way.
using JsonPtr = std::unique_ptr<TZAbstractObject, JsonDeleter>;

// Root of the JSON values (and of the tokenizer). Values are immutable once parsed.
class TZAbstractObject {
public:
    virtual ~TZAbstractObject() = default;
    TZAbstractObject(const TZAbstractObject&) = delete;
    TZAbstractObject& operator=(const TZAbstractObject&) = delete;

    // The same instance, unless a class says otherwise.
    virtual bool equals(const TZAbstractObject* other) const { return other == this; }
    // A new equal value; fails with NotImplmentedFeature where a class has no copy.
    virtual JsonPtr clone() const;
    // The class name and the address.
    virtual std::string toString() const;

    // The class name as error messages show it ("_Double", "TJSONArray", "NULL").
    virtual const char* className() const { return "TZAbstractObject"; }
    // True for the shared instances, which no container frees.
    virtual bool isShared() const { return false; }

protected:
    TZAbstractObject() = default;
};

// The text in double quotes with JSON escapes, as keys and strings appear in text forms.
std::string QuoteJson(const std::string& text);
// How a value appears inside an object's or array's text form: "null" for an empty entry or
// NULL, a string quoted, anything else its toString().
std::string JsonElementText(const TZAbstractObject* value);

// The message of NotImplmentedFeature.
extern const char* const kRotinaNaoImplementada;

} // namespace fat::directory
