#include "platform/data/ClientDataSet.h"

namespace fat::data {

void ClientDataSet::setCurrent(Row* row, bool bof, bool eof) {
    const bool moved = row != current_;
    current_ = row;
    bof_ = bof;
    eof_ = eof;
    if (moved) {
        notify(DataEvent::Scrolled);
        notifyDetails();
    }
}

void ClientDataSet::moveToFirst() {
    const OrderTree& v = view();
    setCurrent(v.empty() ? nullptr : v.at(0), true, v.empty());
}

// After the walk changed: stays on `preferred` when it is still visible, else goes to the first.
void ClientDataSet::keepOrFirst(Row* preferred) {
    if (preferred && (!restricted_ || preferred->inView)) setCurrent(preferred, false, false);
    else moveToFirst();
}

void ClientDataSet::first() {
    checkActive();
    checkBrowseMode();
    moveToFirst();
}

void ClientDataSet::last() {
    checkActive();
    checkBrowseMode();
    const OrderTree& v = view();
    setCurrent(v.empty() ? nullptr : v.at(v.size() - 1), v.empty(), true);
}

void ClientDataSet::next() {
    checkActive();
    checkBrowseMode();
    if (!current_) {
        eof_ = true;
        return;
    }
    const OrderTree& v = view();
    const std::size_t position = v.rank(current_);
    if (position + 1 < v.size()) setCurrent(v.at(position + 1), false, false);
    else eof_ = true;
}

void ClientDataSet::prior() {
    checkActive();
    checkBrowseMode();
    if (!current_) {
        bof_ = true;
        return;
    }
    const OrderTree& v = view();
    const std::size_t position = v.rank(current_);
    if (position > 0) setCurrent(v.at(position - 1), false, false);
    else bof_ = true;
}

int ClientDataSet::recordCount() const { return active() ? static_cast<int>(view().size()) : 0; }

bool ClientDataSet::isEmpty() const { return recordCount() == 0 && state_ != DataSetState::Insert; }

int ClientDataSet::recNo() const {
    if (!current_ || state_ == DataSetState::Insert) return 0;
    return static_cast<int>(view().rank(current_)) + 1;
}

void ClientDataSet::setRecNo(int recNo) {
    checkActive();
    checkBrowseMode();
    if (recNo < 1 || recNo > recordCount())
        fail("there is no record number " + std::to_string(recNo) + " (" + std::to_string(recordCount()) + " records)");
    setCurrent(view().at(static_cast<std::size_t>(recNo - 1)), false, false);
}

const Value& ClientDataSet::valueAt(int position, int fieldIndex) const {
    checkActive();
    if (position < 0 || position >= recordCount()) fail("there is no record at position " + std::to_string(position));
    const Field& f = field(fieldIndex);
    const Row* row = view().at(static_cast<std::size_t>(position));
    if (row == current_ && state_ == DataSetState::Edit) return buffer_[static_cast<std::size_t>(f.index())];
    return row->values[static_cast<std::size_t>(f.index())];
}

} // namespace fat::data
