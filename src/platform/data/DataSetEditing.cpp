#include "platform/data/ClientDataSet.h"

#include "platform/core/Errors.h"

namespace fat::data {

// --- Live rows and the change log ---------------------------------------------------------

void ClientDataSet::addLive(std::unique_ptr<Row> row) {
    row->slot = rows_.size();
    rows_.push_back(std::move(row));
}

std::unique_ptr<Row> ClientDataSet::removeLive(Row* row) {
    const std::size_t slot = row->slot;
    std::unique_ptr<Row> owned = std::move(rows_[slot]);
    if (slot + 1 != rows_.size()) {
        rows_[slot] = std::move(rows_.back());
        rows_[slot]->slot = slot;
    }
    rows_.pop_back();
    return owned;
}

void ClientDataSet::addChange(ChangeKind kind, Row* row, std::unique_ptr<Row> owned) {
    row->changeId = nextChangeId_++;
    log_.emplace(row->changeId, ChangeEntry{kind, row, std::move(owned)});
}

void ClientDataSet::removeChange(Row* row) {
    log_.erase(row->changeId);
    row->changeId = 0;
}

bool ClientDataSet::dataDiffers(const std::vector<Value>& a, const std::vector<Value>& b) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (!fields_[i]->calculated() && !(a[i] == b[i])) return true;
    return false;
}

// --- Editing ------------------------------------------------------------------------------

void ClientDataSet::append() {
    checkActive();
    checkBrowseMode();
    buffer_.assign(fields_.size(), Value());
    if (range_.active && !range_.empty)
        for (std::size_t i = 0; i < range_.fields.size(); ++i)
            buffer_[static_cast<std::size_t>(range_.fields[i].index)] = range_.values[i];
    state_ = DataSetState::Insert;
    notify(DataEvent::StateChanged);
    notifyDetails();
}

void ClientDataSet::edit() {
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return;
    if (!current_) fail("there is no record to edit");
    buffer_ = current_->values;
    state_ = DataSetState::Edit;
    notify(DataEvent::StateChanged);
}

void ClientDataSet::checkRequired() const {
    for (const Field* f : fields_)
        if (f->required() && buffer_[static_cast<std::size_t>(f->index())].isNull())
            throw Error("Field '" + f->name() + "' must have a value");
}

void ClientDataSet::post() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
    checkRequired();
    Row* row = nullptr;
    if (state_ == DataSetState::Insert) {
        auto fresh = std::make_unique<Row>();
        fresh->values = std::move(buffer_);
        fresh->seq = nextSeq_++;
        fresh->status = RowStatus::Inserted;
        row = fresh.get();
        addLive(std::move(fresh));
        indexRow(row);
        addChange(ChangeKind::Insert, row);
    } else {
        row = current_;
        if (row->status == RowStatus::Stored && dataDiffers(row->values, buffer_)) {
            row->original = row->values;
            row->status = RowStatus::Modified;
            addChange(ChangeKind::Update, row);
        }
        replaceValues(row, std::move(buffer_));
        if (row->status == RowStatus::Modified && !dataDiffers(row->original, row->values)) {
            // Changed back to what is stored: nothing left to apply.
            removeChange(row);
            row->status = RowStatus::Stored;
            row->original.clear();
        }
    }
    buffer_.clear();
    state_ = DataSetState::Browse;
    if (!restricted_ || row->inView) {
        setCurrent(row, false, false);
    } else {
        // The row no longer passes the filter or the range: its successor in the walk follows.
        const OrderTree& v = view();
        const std::size_t position = v.rank(row);
        if (position < v.size()) setCurrent(v.at(position), false, false);
        else if (!v.empty()) setCurrent(v.at(v.size() - 1), false, true);
        else setCurrent(nullptr, true, true);
    }
    notify(DataEvent::StateChanged);
    notify(DataEvent::DataSetChanged);
    notifyDetails();
}

void ClientDataSet::cancel() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
    buffer_.clear();
    state_ = DataSetState::Browse;
    notify(DataEvent::StateChanged);
    notify(DataEvent::DataSetChanged);
    notifyDetails();
}

void ClientDataSet::deleteRecord() {
    checkActive();
    if (state_ == DataSetState::Insert) {
        cancel(); // the row was never stored
        return;
    }
    if (state_ == DataSetState::Edit) {
        buffer_.clear();
        state_ = DataSetState::Browse;
        notify(DataEvent::StateChanged);
    }
    if (!current_) fail("there is no record to delete");
    Row* row = current_;
    const std::size_t position = view().rank(row);
    unindexRow(row);
    std::unique_ptr<Row> owned = removeLive(row);
    switch (row->status) {
    case RowStatus::Inserted:
        removeChange(row); // inserted and deleted: no change at all
        owned.reset();
        break;
    case RowStatus::Stored:
        row->original = row->values;
        row->status = RowStatus::Deleted;
        addChange(ChangeKind::Delete, row, std::move(owned));
        break;
    case RowStatus::Modified: {
        // Keeps its place in the log and the values it was stored with.
        ChangeEntry& entry = log_.at(row->changeId);
        entry.kind = ChangeKind::Delete;
        entry.owned = std::move(owned);
        row->status = RowStatus::Deleted;
        break;
    }
    case RowStatus::Deleted:
        break;
    }
    current_ = nullptr;
    const OrderTree& v = view();
    if (position < v.size()) setCurrent(v.at(position), false, false);
    else if (!v.empty()) setCurrent(v.at(v.size() - 1), false, true);
    else setCurrent(nullptr, true, true);
    notify(DataEvent::DataSetChanged);
    notifyDetails();
}

} // namespace fat::data
