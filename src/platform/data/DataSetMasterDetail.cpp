#include "platform/data/ClientDataSet.h"

#include "platform/core/Errors.h"

#include <algorithm>

namespace fat::data {

// The rows the master's current row selects: the first index fields of this dataset equal to
// the master fields, in order.
ClientDataSet::Range ClientDataSet::computeRange() const {
    Range range;
    if (!active() || !master_ || !master_->active()) return range;
    const std::vector<Field*> masterFields = master_->resolveFields(masterFieldNames_);
    if (masterFields.empty()) return range;
    const std::vector<Field*> indexFields = resolveFields(indexFieldNames_);
    if (indexFields.size() < masterFields.size())
        fail("the master fields '" + masterFieldNames_ + "' need as many index field names to link with (it has '" +
             indexFieldNames_ + "')");
    range.active = true;
    for (std::size_t i = 0; i < masterFields.size(); ++i) {
        const Field& detailField = *indexFields[i];
        range.fields.push_back(keyFieldOf(detailField));
        const Value& linked = master_->currentValue(masterFields[i]->index());
        Value value;
        if (linked.isNull()) {
            range.empty = true;
        } else {
            try {
                value = detailField.comparable(linked);
            } catch (const ConversionError&) {
                range.empty = true;
            }
        }
        range.values.push_back(std::move(value));
    }
    return range;
}

// Sets the range the master selects now; when it differs from the one in force the walk is
// rebuilt (a pending edit is posted first) and, with `toFirst`, goes to its first row.
void ClientDataSet::refreshRange(bool toFirst) {
    if (!active()) return;
    Range range = computeRange();
    if (range == range_) return;
    checkBrowseMode();
    range_ = std::move(range);
    Row* const wasCurrent = current_;
    rebuildView();
    if (toFirst) moveToFirst();
    else keepOrFirst(wasCurrent);
    notify(DataEvent::DataSetChanged);
}

void ClientDataSet::masterChanged() { refreshRange(true); }

bool ClientDataSet::linksOn(const Field& masterField) const {
    const std::string_view names = masterFieldNames_;
    std::size_t start = 0;
    while (start <= names.size()) {
        auto end = names.find(';', start);
        if (end == std::string_view::npos) end = names.size();
        if (FieldNameEqual()(TrimmedName(names.substr(start, end - start)), masterField.name())) return true;
        start = end + 1;
    }
    return false;
}

void ClientDataSet::notifyDetails() {
    if (details_.empty()) return;
    const std::vector<ClientDataSet*> details = details_;
    for (ClientDataSet* detail : details) detail->masterChanged();
}

void ClientDataSet::setMasterSource(ClientDataSet* master) {
    if (master == master_) return;
    for (const ClientDataSet* m = master; m; m = m->master_)
        if (m == this) fail("it cannot be a detail of itself");
    ClientDataSet* const old = master_;
    const auto relink = [this](ClientDataSet* from, ClientDataSet* to) {
        if (from) from->details_.erase(std::remove(from->details_.begin(), from->details_.end(), this), from->details_.end());
        master_ = to;
        if (to) to->details_.push_back(this);
    };
    relink(old, master);
    try {
        refreshRange(true);
    } catch (...) {
        relink(master, old);
        throw;
    }
}

void ClientDataSet::setMasterFields(const std::string& names) {
    if (names == masterFieldNames_) return;
    const std::string old = masterFieldNames_;
    masterFieldNames_ = names;
    try {
        refreshRange(true);
    } catch (...) {
        masterFieldNames_ = old;
        throw;
    }
}

} // namespace fat::data
