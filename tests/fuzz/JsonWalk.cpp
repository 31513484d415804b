#include "JsonWalk.h"

#include "directory/JsonArray.h"
#include "directory/JsonObject.h"
#include "platform/core/Errors.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fat::fuzz {

using directory::TJSONArray;
using directory::TJSONObject;
using directory::TZAbstractObject;

namespace {

[[noreturn]] void Broken(const char* what, const std::string& a, const std::string& b) {
    std::fprintf(stderr, "invariant broken: %s\n  first:  %s\n  second: %s\n", what, a.substr(0, 2000).c_str(),
                 b.substr(0, 2000).c_str());
    std::abort();
}

template <typename Call>
void Refusable(Call call) {
    try {
        call();
    } catch (const fat::Error&) {
    }
}

void Walk(const TZAbstractObject* value);

void WalkObject(const TJSONObject& object) {
    const std::string text = object.toString();
    const std::string copy = object.clone()->toString();
    if (copy != text) Broken("a deep copy writes the same text", text, copy);
    for (int i = 0; i < object.length(); ++i) {
        const std::string& key = object.keyAt(i);
        if (key.empty()) {
            Refusable([&] { object.opt(key); });
            continue;
        }
        const TZAbstractObject* value = object.opt(key);
        if (!value) Broken("a key of the object is found", text, key);
        if (&object.get(key) != value) Broken("get finds what opt finds", text, key);
        Refusable([&] { object.getString(key); });
        Refusable([&] { object.getDouble(key); });
        Refusable([&] { object.getInt(key); });
        Refusable([&] { object.getJSONArray(key); });
        Walk(value);
    }
}

void WalkEntries(const TJSONArray& array) {
    for (int i = -1; i <= array.length(); ++i) {
        const TZAbstractObject* value = array.opt(i);
        Refusable([&] { array.get(i); });
        Refusable([&] { array.getJSONObject(i); });
        if (value) Walk(value);
    }
}

void Walk(const TZAbstractObject* value) {
    value->toString();
    Refusable([&] { value->clone(); });
    if (const auto* object = dynamic_cast<const TJSONObject*>(value)) WalkObject(*object);
    else if (const auto* array = dynamic_cast<const TJSONArray*>(value)) WalkEntries(*array);
}

} // namespace

void WalkArray(const TJSONArray& array) {
    WalkEntries(array);
    // The text form parses again; from the second round on it stays the same (the first one
    // turns numbers into their text, e.g. 1 into "1.00").
    const std::string first = array.toString();
    std::string second, third;
    try {
        second = TJSONArray(first).toString();
        third = TJSONArray(second).toString();
    } catch (const fat::Error& e) {
        Broken("the text form parses again", first, e.what());
    }
    if (second != third) Broken("the text form is stable once written", second, third);
}

} // namespace fat::fuzz
