#include "platform/data/KeyIndex.h"

#include "platform/data/Row.h"
#include "platform/data/ValueCompare.h"

namespace fat::data {

KeyIndex::KeyIndex(std::vector<KeyField> fields, bool caseInsensitive, const RowOrder& order)
    : fields_(std::move(fields)), caseInsensitive_(caseInsensitive), order_(&order) {}

std::string KeyIndex::keyOfRow(const Row& row) const {
    std::string key;
    for (const KeyField& f : fields_)
        AppendKeyPart(key, row.values[static_cast<std::size_t>(f.index)], f.type, f.scale, caseInsensitive_);
    return key;
}

std::string KeyIndex::keyOfValues(const std::vector<Value>& values) const {
    std::string key;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        AppendKeyPart(key, values[i], fields_[i].type, fields_[i].scale, caseInsensitive_);
    return key;
}

} // namespace fat::data
