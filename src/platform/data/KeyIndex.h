#pragma once
#include "platform/data/RowOrder.h"

#include <string>
#include <vector>

namespace fat::data {

struct Row;

// An index of the live rows of a dataset by the values of some fields, kept up to date as rows
// are appended, changed and deleted. Rows are reached through an encoded key (ValueCompare.h):
// equal values (texts without regard to case when asked) give equal keys.
//
// Indexes keep rows with the same key in the dataset's walk order, so a row must be removed
// before a value of its key or of the walk order changes, and added again afterwards.
class KeyIndex {
public:
    KeyIndex(std::vector<KeyField> fields, bool caseInsensitive, const RowOrder& order);
    virtual ~KeyIndex() = default;
    KeyIndex(const KeyIndex&) = delete;
    KeyIndex& operator=(const KeyIndex&) = delete;

    const std::vector<KeyField>& fields() const { return fields_; }
    bool caseInsensitive() const { return caseInsensitive_; }

    // The key of a row, or of key values given in the order of fields() (already converted to
    // their fields' types).
    std::string keyOfRow(const Row& row) const;
    std::string keyOfValues(const std::vector<Value>& values) const;

    virtual void add(Row* row) = 0;
    virtual void remove(const Row* row) = 0;
    // Fills an empty index with many rows at once, given in walk order.
    virtual void build(const std::vector<Row*>& rows) = 0;

protected:
    const RowOrder& order() const { return *order_; }

private:
    std::vector<KeyField> fields_;
    bool caseInsensitive_;
    const RowOrder* order_;
};

} // namespace fat::data
