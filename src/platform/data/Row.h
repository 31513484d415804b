#pragma once
#include "platform/core/Value.h"

#include <cstdint>
#include <vector>

namespace fat::data {

enum class RowStatus : unsigned char {
    Stored,   // as read from the provider or merged
    Inserted, // appended since the last merge
    Modified, // a stored row changed since the last merge
    Deleted,  // removed; kept only by the change log
};

// One record of a client dataset. Values are kept in the order of the dataset's fields and
// always in the representation of their field's type.
struct Row {
    std::vector<Value> values;
    std::vector<Value> original; // values as stored, for a modified or deleted stored row
    std::uint64_t seq = 0;       // insertion order; breaks ties in every ordering
    std::uint64_t changeId = 0;  // its change log entry, 0 when none
    std::size_t slot = 0;        // position in the dataset's list of live rows
    RowStatus status = RowStatus::Stored;
    bool inView = false;         // member of the restricted view (filter or master range)
};

} // namespace fat::data
