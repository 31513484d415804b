#pragma once
#include "platform/data/KeyIndex.h"

#include <cstdint>

namespace fat::data {

// The index behind locate, equality filters and master ranges: a hash table of the keys, so
// that a lookup costs the same whatever the size of the load. Open addressing over one array
// of small slots, each holding its key's hash and first row in walk order; further rows of the
// key are chained after it in walk order. A short key is kept in the slot, so a lookup reads
// one place in memory; a longer one is not stored at all: on a hash match it is taken from the
// slot's row, whose values the dataset keeps in step with the index (a row leaves the index
// before its values change). That keeps the table small enough for the caches, and a load of a
// few hundred thousand rows within its memory.
// Rows of a key that many rows share cost a walk along that chain to add or remove.
class LookupIndex : public KeyIndex {
public:
    using KeyIndex::KeyIndex;

    void add(Row* row) override;
    void remove(const Row* row) override;
    void build(const std::vector<Row*>& rows) override;

    std::size_t keyCount() const { return keys_; }

    // Visits the rows with this key in walk order until the visitor returns true; the result is
    // the row it stopped at, or null.
    template <typename Visit>
    Row* findEqual(const std::string& key, Visit visit) const {
        if (slots_.empty()) return nullptr;
        const Slot& slot = slots_[find(key, hashOf(key))];
        if (!slot.row) return nullptr;
        if (visit(slot.row)) return slot.row;
        for (std::uint32_t e = slot.more; e != 0; e = entries_[e - 1].next)
            if (visit(entries_[e - 1].row)) return entries_[e - 1].row;
        return nullptr;
    }

private:
    struct Slot {
        static constexpr unsigned char NotInline = 0xFF;
        std::uint64_t hash = 0;
        unsigned char keySize = NotInline; // bytes of an inline key
        char key[15] = {};
        Row* row = nullptr;     // the key's first row in walk order; null: the slot is free
        std::uint32_t more = 0; // the key's next rows: first entry + 1, 0 when none
        std::uint32_t last = 0; // last entry + 1
    };
    struct Entry {
        Row* row = nullptr;
        std::uint32_t next = 0; // next entry + 1; 0: the last
    };

    std::vector<Slot> slots_; // a power of two, at most three quarters used
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> freeEntries_;
    std::size_t keys_ = 0;

    static std::uint64_t hashOf(const std::string& key);
    std::size_t home(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & (slots_.size() - 1); }
    // The slot holding the key, or the free slot where it would go.
    std::size_t find(const std::string& key, std::uint64_t hash) const;
    bool holds(const Slot& slot, const std::string& key) const;
    void resize(std::size_t size);
    void insert(const std::string& key, std::uint64_t hash, Row* row);
    std::uint32_t newEntry(Row* row, std::uint32_t next);
    void releaseEntry(std::uint32_t e);
    void freeSlot(std::size_t slot);
};

} // namespace fat::data
