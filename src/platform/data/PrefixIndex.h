#pragma once
#include "platform/data/KeyIndex.h"

#include <set>

namespace fat::data {

// The index behind a locate by the start of a text (partial key): the keys in sorted order, so
// that every key beginning with a given start lies in one range. O(log n) to reach the range.
class PrefixIndex : public KeyIndex {
public:
    PrefixIndex(std::vector<KeyField> fields, bool caseInsensitive, const RowOrder& order);

    void add(Row* row) override;
    void remove(const Row* row) override;
    void build(const std::vector<Row*>& rows) override;

    // Visits the rows whose key begins with `prefix` (in key order) until the visitor returns
    // true; the result is the row it stopped at, or null.
    template <typename Visit>
    Row* findPrefix(const std::string& prefix, Visit visit) const {
        for (auto it = entries_.lower_bound(Probe{prefix});
             it != entries_.end() && it->key.compare(0, prefix.size(), prefix) == 0; ++it)
            if (visit(it->row)) return it->row;
        return nullptr;
    }

private:
    struct Entry {
        std::string key;
        Row* row;
    };
    struct Probe {
        const std::string& key;
    };
    struct Less {
        using is_transparent = void;
        const RowOrder* order;
        bool operator()(const Entry& a, const Entry& b) const;
        bool operator()(const Entry& a, const Probe& b) const { return a.key < b.key; }
        bool operator()(const Probe& a, const Entry& b) const { return a.key < b.key; }
    };
    std::set<Entry, Less> entries_;
};

} // namespace fat::data
