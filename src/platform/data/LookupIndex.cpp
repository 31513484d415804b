#include "platform/data/LookupIndex.h"

#include "platform/data/Row.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace fat::data {

std::uint64_t LookupIndex::hashOf(const std::string& key) { return std::hash<std::string>{}(key); }

std::size_t LookupIndex::find(const std::string& key, std::uint64_t hash) const {
    std::size_t i = home(hash);
    while (slots_[i].row) {
        if (slots_[i].hash == hash && holds(slots_[i], key)) return i;
        i = (i + 1) & (slots_.size() - 1);
    }
    return i;
}

bool LookupIndex::holds(const Slot& slot, const std::string& key) const {
    if (slot.keySize != Slot::NotInline) return std::string_view(slot.key, slot.keySize) == key;
    return keyOfRow(*slot.row) == key;
}

void LookupIndex::resize(std::size_t size) {
    std::vector<Slot> old = std::move(slots_);
    slots_.clear();
    slots_.resize(size);
    for (Slot& s : old) {
        if (!s.row) continue;
        std::size_t i = home(s.hash);
        while (slots_[i].row) i = (i + 1) & (size - 1);
        slots_[i] = std::move(s);
    }
}

std::uint32_t LookupIndex::newEntry(Row* row, std::uint32_t next) {
    if (!freeEntries_.empty()) {
        const std::uint32_t e = freeEntries_.back();
        freeEntries_.pop_back();
        entries_[e - 1] = Entry{row, next};
        return e;
    }
    entries_.push_back(Entry{row, next});
    return static_cast<std::uint32_t>(entries_.size());
}

void LookupIndex::releaseEntry(std::uint32_t e) {
    entries_[e - 1] = Entry{};
    freeEntries_.push_back(e);
}

void LookupIndex::insert(const std::string& key, std::uint64_t hash, Row* row) {
    Slot& slot = slots_[find(key, hash)];
    if (!slot.row) {
        slot.hash = hash;
        slot.keySize = key.size() <= sizeof slot.key ? static_cast<unsigned char>(key.size()) : Slot::NotInline;
        if (slot.keySize != Slot::NotInline) key.copy(slot.key, key.size());
        slot.row = row;
        slot.more = slot.last = 0;
        ++keys_;
        return;
    }
    const auto before = [this](const Row* a, const Row* b) { return order().compare(*a, *b) < 0; };
    if (before(row, slot.row)) { // the new first row; the old one leads the chain
        slot.more = newEntry(slot.row, slot.more);
        if (slot.last == 0) slot.last = slot.more;
        slot.row = row;
        return;
    }
    // Rows arrive mostly in walk order (appended, or built from the walk): the end is tried first.
    const Row* lastRow = slot.last ? entries_[slot.last - 1].row : slot.row;
    if (before(lastRow, row)) {
        const std::uint32_t e = newEntry(row, 0);
        if (slot.last) entries_[slot.last - 1].next = e;
        else slot.more = e;
        slot.last = e;
        return;
    }
    std::uint32_t previous = 0, at = slot.more;
    while (at != 0 && before(entries_[at - 1].row, row)) {
        previous = at;
        at = entries_[at - 1].next;
    }
    const std::uint32_t e = newEntry(row, at);
    if (previous == 0) slot.more = e;
    else entries_[previous - 1].next = e;
}

void LookupIndex::add(Row* row) {
    if ((keys_ + 1) * 4 > slots_.size() * 3) resize(slots_.empty() ? 16 : slots_.size() * 2);
    const std::string key = keyOfRow(*row);
    insert(key, hashOf(key), row);
}

void LookupIndex::build(const std::vector<Row*>& rows) {
    std::size_t size = slots_.empty() ? 16 : slots_.size();
    while ((keys_ + rows.size()) * 4 > size * 3) size *= 2;
    if (size != slots_.size()) resize(size);
    entries_.reserve(entries_.size() + rows.size() / 8);
    // Inserted by their home slot the table fills front to back; rows of one key keep their walk
    // order (the order given) because the counting sort below is stable and linear.
    std::vector<std::string> keys(rows.size());
    std::vector<std::uint64_t> hashes(rows.size());
    std::vector<std::uint32_t> start(slots_.size() + 1, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        keys[i] = keyOfRow(*rows[i]);
        hashes[i] = hashOf(keys[i]);
        ++start[home(hashes[i]) + 1];
    }
    for (std::size_t h = 1; h < start.size(); ++h) start[h] += start[h - 1];
    std::vector<std::uint32_t> byHome(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) byHome[start[home(hashes[i])]++] = static_cast<std::uint32_t>(i);
    for (const std::uint32_t i : byHome) insert(keys[i], hashes[i], rows[i]);
}

// Frees a slot and moves up the slots after it that would no longer be found across the gap.
void LookupIndex::freeSlot(std::size_t i) {
    const std::size_t mask = slots_.size() - 1;
    slots_[i] = Slot{};
    for (std::size_t j = (i + 1) & mask; slots_[j].row; j = (j + 1) & mask) {
        const std::size_t h = home(slots_[j].hash);
        // Slot j may stay when its home lies cyclically within (i, j].
        const bool stays = i <= j ? (h > i && h <= j) : (h > i || h <= j);
        if (stays) continue;
        slots_[i] = std::move(slots_[j]);
        slots_[j] = Slot{};
        i = j;
    }
    --keys_;
}

void LookupIndex::remove(const Row* row) {
    if (slots_.empty()) return;
    const std::string key = keyOfRow(*row);
    const std::size_t i = find(key, hashOf(key));
    Slot& slot = slots_[i];
    if (!slot.row) return;
    if (slot.row == row) {
        if (slot.more == 0) {
            freeSlot(i);
            return;
        }
        const std::uint32_t e = slot.more;
        slot.row = entries_[e - 1].row;
        slot.more = entries_[e - 1].next;
        if (slot.last == e) slot.last = 0;
        releaseEntry(e);
        return;
    }
    std::uint32_t previous = 0, at = slot.more;
    while (at != 0 && entries_[at - 1].row != row) {
        previous = at;
        at = entries_[at - 1].next;
    }
    if (at == 0) return;
    const std::uint32_t next = entries_[at - 1].next;
    if (previous == 0) slot.more = next;
    else entries_[previous - 1].next = next;
    if (slot.last == at) slot.last = previous;
    releaseEntry(at);
}

} // namespace fat::data
