#pragma once
#include "platform/core/Value.h"
#include "platform/data/FieldDef.h"

#include <vector>

namespace fat::data {

enum class ChangeKind { Insert, Update, Delete };

const char* ChangeKindName(ChangeKind kind); // "insert", "update", "delete"

// One pending change of a client dataset, with the values of its data fields (calculated fields
// are never part of it), in the order of Delta::fields.
struct RowChange {
    ChangeKind kind = ChangeKind::Insert;
    std::vector<Value> values;   // insert, update: the row as it is now
    std::vector<Value> original; // update, delete: the row as it was stored
    std::vector<bool> changed;   // update: which values differ from the stored ones
};

// The pending changes of a dataset in the order in which they were made, as a provider applies
// them.
struct Delta {
    std::vector<FieldDef> fields;
    std::vector<RowChange> changes;
};

} // namespace fat::data
