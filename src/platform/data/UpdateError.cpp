#include "platform/data/UpdateError.h"

#include "platform/core/Format.h"

namespace fat::data {

const char* ChangeKindName(ChangeKind kind) {
    switch (kind) {
    case ChangeKind::Insert: return "insert";
    case ChangeKind::Update: return "update";
    case ChangeKind::Delete: return "delete";
    }
    return "change";
}

UpdateError::UpdateError(ChangeKind kind, std::string message, std::vector<std::string> fieldNames,
                         std::vector<Value> values, std::exception_ptr error)
    : kind_(kind), message_(std::move(message)), fieldNames_(std::move(fieldNames)),
      values_(std::move(values)), error_(std::move(error)) {}

Value UpdateError::value(const std::string& fieldName) const {
    const std::string wanted = UpperCase(fieldName);
    for (std::size_t i = 0; i < fieldNames_.size(); ++i)
        if (UpperCase(fieldNames_[i]) == wanted) return values_[i];
    return Value();
}

} // namespace fat::data
