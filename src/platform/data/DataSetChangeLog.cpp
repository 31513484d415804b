#include "platform/data/ClientDataSet.h"

#include "platform/data/Provider.h"

namespace fat::data {

std::vector<std::size_t> ClientDataSet::dataFieldIndexes() const {
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (!fields_[i]->calculated()) indexes.push_back(i);
    return indexes;
}

Delta ClientDataSet::pendingChanges() const {
    Delta delta;
    const std::vector<std::size_t> data = dataFieldIndexes();
    for (std::size_t i : data) delta.fields.push_back(fields_[i]->def());
    const auto pick = [&data](const std::vector<Value>& values) {
        std::vector<Value> r;
        r.reserve(data.size());
        for (std::size_t i : data) r.push_back(values[i]);
        return r;
    };
    for (const auto& [id, entry] : log_) {
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
        delta.changes.push_back(std::move(change));
    }
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
    std::vector<std::uint64_t> ids;
    for (const auto& entry : log_) ids.push_back(entry.first);
    const Delta delta = pendingChanges();
    const ApplyResult result = provider_->applyUpdates(delta, maxErrors);
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (i < result.applied.size() && result.applied[i]) mergeEntry(ids[i]);
    return result.errorCount;
}

} // namespace fat::data
