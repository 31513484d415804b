#include "directory/JsonObject.h"

#include "platform/core/Win1252.h"
#include "directory/JsonArray.h"
#include "directory/JsonErrors.h"
#include "directory/JsonNumber.h"
#include "directory/JsonString.h"
#include "directory/JsonTokener.h"
#include "platform/core/Errors.h"

#include <cmath>

namespace fat::directory {

namespace {

std::string Slot(const std::string& key) {
    return "TJSONObject[" + QuoteJson(key) + "]";
}

std::string TrimBlanks(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return text.substr(b, e - b);
}

} // namespace

TJSONObject::TJSONObject(const std::string& text) {
    JSONTokener tokener(text);
    parse(tokener);
}

TJSONObject::TJSONObject(JSONTokener& tokener) {
    parse(tokener);
}

void TJSONObject::parse(JSONTokener& x) {
    if (x.nextClean() != '{') throw x.syntaxError("A TJSONObject must begin with \"{\"");
    JSONTokener::Nesting nesting(x);
    for (;;) {
        char c = x.nextClean();
        if (c == 0) throw x.syntaxError("A TJSONObject must end with \"}\"");
        if (c == '}') return;
        x.back();
        std::string key = x.nextValue()->toString();

        c = x.nextClean();
        if (c == '=') {
            if (x.next() != '>') x.back();
        } else if (c != ':') {
            throw x.syntaxError("Expected a \":\" after a key");
        }
        JsonPtr value = x.nextValue();
        pairs_.emplace_back(std::move(key), std::move(value));

        switch (x.nextClean()) {
        case ',':
        case ';':
            if (x.nextClean() == '}') return;
            x.back();
            break;
        case '}':
            return;
        default:
            throw x.syntaxError("Expected a \",\" or \"}\"");
        }
    }
}

const TZAbstractObject* TJSONObject::opt(const std::string& key) const {
    if (key.empty()) throw NullPointerException("Null key");
    for (const auto& [name, value] : pairs_)
        if (SameTextWin1252(name, key)) return value.get();
    return nullptr;
}

const TZAbstractObject& TJSONObject::get(const std::string& key) const {
    const TZAbstractObject* value = opt(key);
    if (!value) throw NoSuchElementException(Slot(key) + " not found.");
    return *value;
}

std::string TJSONObject::getString(const std::string& key) const {
    return get(key).toString();
}

double TJSONObject::getDouble(const std::string& key) const {
    const TZAbstractObject& value = get(key);
    if (const auto* number = dynamic_cast<const JSONNumber*>(&value)) return number->doubleValue();
    if (const auto* text = dynamic_cast<const JSONString*>(&value)) {
        if (const auto read = ReadJsonDouble(TrimBlanks(text->value()))) return *read;
        throw ConversionError("'" + text->value() + "' is not a valid floating point value");
    }
    throw NumberFormatException(Slot(key) + " is not a number.");
}

std::int32_t TJSONObject::getInt(const std::string& key) const {
    const TZAbstractObject& value = get(key);
    if (const auto* number = dynamic_cast<const JSONNumber*>(&value)) return number->intValue();
    return JsonIntegerOf(std::nearbyint(getDouble(key))); // the default rounding mode: ties to even
}

const TJSONArray& TJSONObject::getJSONArray(const std::string& key) const {
    const auto* array = dynamic_cast<const TJSONArray*>(opt(key));
    if (!array) throw NoSuchElementException(Slot(key) + " is not a TJSONArray.");
    return *array;
}

JsonPtr TJSONObject::deepCopy(const TZAbstractObject* value) {
    if (!value || value->isShared()) return JsonPtr(const_cast<TZAbstractObject*>(value));
    if (const auto* array = dynamic_cast<const TJSONArray*>(value)) return array->copy();
    return value->clone();
}

JsonPtr TJSONObject::clone() const {
    JsonPtr result(new TJSONObject);
    auto& target = static_cast<TJSONObject&>(*result);
    for (const auto& [key, value] : pairs_) target.pairs_.emplace_back(key, deepCopy(value.get()));
    return result;
}

std::string TJSONObject::toString() const {
    std::string text = "{";
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        if (i) text += ',';
        text += QuoteJson(pairs_[i].first) + ":" + JsonElementText(pairs_[i].second.get());
    }
    return text + "}";
}

} // namespace fat::directory
