#include "platform/data/PrefixIndex.h"

#include "platform/data/Row.h"

#include <algorithm>

namespace fat::data {

PrefixIndex::PrefixIndex(std::vector<KeyField> fields, bool caseInsensitive, const RowOrder& order)
    : KeyIndex(std::move(fields), caseInsensitive, order), entries_(Less{&order}) {}

bool PrefixIndex::Less::operator()(const Entry& a, const Entry& b) const {
    const int c = a.key.compare(b.key);
    if (c != 0) return c < 0;
    return order->compare(*a.row, *b.row) < 0;
}

void PrefixIndex::add(Row* row) { entries_.insert(Entry{keyOfRow(*row), row}); }

void PrefixIndex::remove(const Row* row) { entries_.erase(Entry{keyOfRow(*row), const_cast<Row*>(row)}); }

void PrefixIndex::build(const std::vector<Row*>& rows) {
    std::vector<Entry> sorted;
    sorted.reserve(rows.size());
    for (Row* row : rows) sorted.push_back(Entry{keyOfRow(*row), row});
    std::sort(sorted.begin(), sorted.end(), entries_.key_comp());
    for (auto& e : sorted) entries_.emplace_hint(entries_.end(), std::move(e));
}

} // namespace fat::data
