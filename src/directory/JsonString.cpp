#include "directory/JsonString.h"

namespace fat::directory {

bool JSONString::equals(const TZAbstractObject* other) const {
    const auto* s = dynamic_cast<const JSONString*>(other);
    return s && s->value_ == value_;
}

} // namespace fat::directory
