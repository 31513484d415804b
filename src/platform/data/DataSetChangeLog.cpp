#include "platform/data/ClientDataSet.h"

#include "platform/data/Provider.h"

namespace fat::data {

std::vector<std::size_t> ClientDataSet::dataFieldIndexes() const {
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (!fields_[i]->calculated()) indexes.push_back(i);
    return indexes;
}

std::vector<FieldDef> ClientDataSet::dataFieldDefs(const std::vector<std::size_t>& data) const {
    std::vector<FieldDef> defs;
    defs.reserve(data.size());
    for (std::size_t i : data) defs.push_back(fields_[i]->def());
    return defs;
}

RowChange ClientDataSet::changeOf(const ChangeEntry& entry, const std::vector<std::size_t>& data) {
    const auto pick = [&data](const std::vector<Value>& values) {
        std::vector<Value> r;
        r.reserve(data.size());
        for (std::size_t i : data) r.push_back(values[i]);
        return r;
    };
    RowChange change;
    change.kind = entry.kind;
    const Row& row = *entry.row;
    switch (entry.kind) {
    case ChangeKind::Insert:
        change.values = pick(row.values);
        break;
    case ChangeKind::Update:
        change.values = pick(row.values);
        change.original = pick(row.original);
        for (std::size_t k = 0; k < data.size(); ++k) change.changed.push_back(!(change.values[k] == change.original[k]));
        break;
    case ChangeKind::Delete:
        change.original = pick(row.original);
        change.values = change.original;
        break;
    }
    return change;
}

Delta ClientDataSet::pendingChanges() const {
    Delta delta;
    const std::vector<std::size_t> data = dataFieldIndexes();
    delta.fields = dataFieldDefs(data);
    for (const auto& [id, entry] : log_) delta.changes.push_back(changeOf(entry, data));
    return delta;
}

void ClientDataSet::mergeEntry(std::uint64_t changeId) {
    auto it = log_.find(changeId);
    if (it == log_.end()) return;
    Row* row = it->second.row;
    if (it->second.kind != ChangeKind::Delete) {
        row->status = RowStatus::Stored;
        row->original = {}; // frees the copy, not only empties it
        row->changeId = 0;
    }
    log_.erase(it); // a deleted row goes with its entry
}

void ClientDataSet::mergeChangeLog() {
    checkActive();
    checkBrowseMode();
    std::vector<std::uint64_t> ids;
    for (const auto& entry : log_) ids.push_back(entry.first);
    for (std::uint64_t id : ids) mergeEntry(id);
}

void ClientDataSet::cancelUpdates() {
    checkActive();
    cancel();
    const std::vector<std::size_t> data = dataFieldIndexes();
    for (auto it = log_.rbegin(); it != log_.rend(); ++it) {
        ChangeEntry& entry = it->second;
        Row* row = entry.row;
        row->changeId = 0;
        switch (entry.kind) {
        case ChangeKind::Insert:
            unindexRow(row);
            removeLive(row);
            break;
        case ChangeKind::Update:
            unindexRow(row);
            for (std::size_t i : data) row->values[i] = row->original[i];
            row->original.clear();
            row->status = RowStatus::Stored;
            indexRow(row);
            break;
        case ChangeKind::Delete:
            for (std::size_t i : data) row->values[i] = row->original[i];
            row->original.clear();
            row->status = RowStatus::Stored;
            addLive(std::move(entry.owned));
            indexRow(row);
            break;
        }
    }
    log_.clear();
    current_ = nullptr;
    moveToFirst();
    notify(DataEvent::DataSetChanged);
    notifyDetails();
}

int ClientDataSet::applyUpdates(int maxErrors) {
    checkActive();
    if (!provider_) fail("there is no provider to apply its changes");
    checkBrowseMode();
    if (log_.empty()) return 0;
    // Each change is made as the provider reaches it: a save of tens of thousands of rows then
    // holds no second copy of all of them.
    std::vector<std::uint64_t> ids;
    std::vector<const ChangeEntry*> entries;
    for (const auto& [id, entry] : log_) {
        ids.push_back(id);
        entries.push_back(&entry);
    }
    const std::vector<std::size_t> data = dataFieldIndexes();
    const ApplyResult result = provider_->applyUpdates(
        dataFieldDefs(data), entries.size(), [&](std::size_t i) { return changeOf(*entries[i], data); }, maxErrors);
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (i < result.applied.size() && result.applied[i]) mergeEntry(ids[i]);
    return result.errorCount;
}

} // namespace fat::data
