#pragma once
#include "platform/core/Value.h"

#include <vector>

namespace fat::data {

struct Row;

// A field taking part in an ordering or a key: its position in the row and how it compares.
struct KeyField {
    int index = 0;
    DataType type = DataType::Unknown;
    int scale = 0;
    friend bool operator==(const KeyField&, const KeyField&) = default;
};

// The walk order of a dataset: ascending by the index fields, then by insertion, so that the
// order is total and stable.
class RowOrder {
public:
    void setFields(std::vector<KeyField> fields) { fields_ = std::move(fields); }
    const std::vector<KeyField>& fields() const { return fields_; }
    int compare(const Row& a, const Row& b) const;

private:
    std::vector<KeyField> fields_;
};

} // namespace fat::data
