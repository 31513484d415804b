#include "directory/JsonArray.h"

#include "directory/JsonErrors.h"
#include "directory/JsonObject.h"
#include "directory/JsonTokener.h"

namespace fat::directory {

TJSONArray::TJSONArray(const std::string& text) {
    JSONTokener tokener(text);
    parse(tokener);
}

TJSONArray::TJSONArray(JSONTokener& tokener) {
    parse(tokener);
}

void TJSONArray::parse(JSONTokener& x) {
    if (x.nextClean() != '[') throw x.syntaxError("A TJSONArray must start with \"[\"");
    JSONTokener::Nesting nesting(x);
    if (x.nextClean() == ']') return;
    x.back();
    for (;;) {
        if (x.nextClean() == ',') {
            x.back();
            entries_.emplace_back(); // empty entry
        } else {
            x.back();
            entries_.push_back(x.nextValue());
        }
        switch (x.nextClean()) {
        case ',':
        case ';':
            if (x.nextClean() == ']') return;
            x.back();
            break;
        case ']':
            return;
        default:
            throw x.syntaxError("Expected a \",\" or \"]\"");
        }
    }
}

const TZAbstractObject* TJSONArray::opt(int index) const {
    if (index < 0 || index >= length()) return nullptr;
    return entries_[static_cast<std::size_t>(index)].get();
}

const TZAbstractObject& TJSONArray::get(int index) const {
    const TZAbstractObject* value = opt(index);
    if (!value) throw NoSuchElementException("TJSONArray[" + std::to_string(index) + "] not found.");
    return *value;
}

const TJSONObject& TJSONArray::getJSONObject(int index) const {
    const TZAbstractObject& value = get(index);
    const auto* object = dynamic_cast<const TJSONObject*>(&value);
    if (!object)
        throw NoSuchElementException("TJSONArray[" + std::to_string(index) + "] is not a TJSONObject is " +
                                     value.className());
    return *object;
}

std::string TJSONArray::toString() const {
    std::string text = "[";
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (i) text += ',';
        text += JsonElementText(entries_[i].get());
    }
    return text + "]";
}

JsonPtr TJSONArray::copy() const {
    JsonPtr result(new TJSONArray);
    auto& target = static_cast<TJSONArray&>(*result);
    for (const auto& entry : entries_) target.entries_.push_back(TJSONObject::deepCopy(entry.get()));
    return result;
}

} // namespace fat::directory
