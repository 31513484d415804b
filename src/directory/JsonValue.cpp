#include "directory/JsonValue.h"

#include "directory/JsonConstants.h"
#include "directory/JsonErrors.h"
#include "directory/JsonString.h"

#include <cstdio>

namespace fat::directory {

const char* const kRotinaNaoImplementada = "Rotina N\xE3o Implementada";

void JsonDeleter::operator()(const TZAbstractObject* value) const {
    if (value && !value->isShared()) delete value;
}

JsonPtr TZAbstractObject::clone() const {
    throw NotImplmentedFeature(kRotinaNaoImplementada);
}

std::string TZAbstractObject::toString() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return std::string(className()) + "@" + address;
}

std::string QuoteJson(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string JsonElementText(const TZAbstractObject* value) {
    if (!value || dynamic_cast<const JSONNull*>(value)) return "null";
    if (const auto* s = dynamic_cast<const JSONString*>(value)) return QuoteJson(s->value());
    return value->toString();
}

} // namespace fat::directory
