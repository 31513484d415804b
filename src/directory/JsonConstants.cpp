#include "directory/JsonConstants.h"

namespace fat::directory {

bool JSONNull::equals(const TZAbstractObject* other) const {
    return other == nullptr || dynamic_cast<const JSONNull*>(other) != nullptr;
}

JSONBoolean& JsonTrue() {
    static JSONBoolean instance(true, true);
    return instance;
}

JSONBoolean& JsonFalse() {
    static JSONBoolean instance(false, true);
    return instance;
}

JSONNull& JsonNull() {
    static JSONNull instance;
    return instance;
}

} // namespace fat::directory
