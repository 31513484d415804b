#include "platform/data/ClientDataSet.h"

#include "platform/core/Errors.h"
#include "platform/data/LookupIndex.h"
#include "platform/data/PrefixIndex.h"
#include "platform/data/ValueCompare.h"

#include <cstring>

namespace fat::data {

// --- Order --------------------------------------------------------------------------------

// Orders every row by the index field names; the lookup indexes, ordered the same way, are
// rebuilt when next needed.
void ClientDataSet::applyIndex() {
    std::vector<KeyField> keys;
    for (const Field* f : resolveFields(indexFieldNames_)) keys.push_back(keyFieldOf(*f));
    view_.forEach([](Row* r) { r->inView = false; });
    view_.clear();
    all_.clear();
    lookups_.clear();
    order_.setFields(std::move(keys));
    for (const auto& row : rows_) all_.insert(row.get());
    rebuildView();
}

void ClientDataSet::setIndexFieldNames(const std::string& names) {
    if (names == indexFieldNames_) return;
    if (!active()) {
        indexFieldNames_ = names;
        return;
    }
    checkBrowseMode();
    Row* const wasCurrent = current_;
    const std::string old = indexFieldNames_;
    indexFieldNames_ = names;
    try {
        applyIndex();
        refreshRange(false);
    } catch (...) {
        indexFieldNames_ = old;
        applyIndex();
        refreshRange(false);
        keepOrFirst(wasCurrent);
        throw;
    }
    keepOrFirst(wasCurrent);
    notify(DataEvent::DataSetChanged);
}

// --- Filter -------------------------------------------------------------------------------

void ClientDataSet::bindFilter(FilterExpression& filter) const {
    filter.bind([this](const std::string& name) -> const Field* { return findField(name); });
}

void ClientDataSet::setFilter(const std::string& text) {
    std::unique_ptr<FilterExpression> parsed;
    bool blank = true;
    for (char c : text) blank = blank && static_cast<unsigned char>(c) <= ' ';
    if (!blank) {
        parsed = std::make_unique<FilterExpression>(text);
        if (active()) bindFilter(*parsed);
    }
    if (active()) checkBrowseMode();
    filterText_ = text;
    filter_ = std::move(parsed);
    if (active() && filtered_) {
        rebuildView();
        moveToFirst();
        notify(DataEvent::DataSetChanged);
    }
}

void ClientDataSet::setFiltered(bool filtered) {
    if (filtered == filtered_) return;
    if (active()) checkBrowseMode();
    filtered_ = filtered;
    if (!active()) return;
    rebuildView();
    moveToFirst();
    notify(DataEvent::DataSetChanged);
}

// --- The visible rows ---------------------------------------------------------------------

bool ClientDataSet::rowVisible(const Row& row) const {
    if (range_.active) {
        if (range_.empty) return false;
        for (std::size_t i = 0; i < range_.fields.size(); ++i) {
            const KeyField& k = range_.fields[i];
            if (CompareValues(row.values[static_cast<std::size_t>(k.index)], range_.values[i], k.type, k.scale) != 0)
                return false;
        }
    }
    return !filtering() || filter_->matches(row.values);
}

void ClientDataSet::indexRow(Row* row) {
    all_.insert(row);
    for (auto& entry : lookups_) entry.second->add(row);
    if (restricted_ && rowVisible(*row)) {
        view_.insert(row);
        row->inView = true;
    }
}

void ClientDataSet::unindexRow(Row* row) {
    all_.erase(row);
    for (auto& entry : lookups_) entry.second->remove(row);
    if (row->inView) {
        view_.erase(row);
        row->inView = false;
    }
}

namespace {

// Whether two values place a row alike in every order and index: floats and dates by their bits,
// as the index keys hold them (0 and -0 compare equal but have different keys).
bool SamePlace(const Value& a, const Value& b) {
    if (a.isFloat() && b.isFloat()) {
        const double x = a.asFloat(), y = b.asFloat();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    if (a.isDateTime() && b.isDateTime()) {
        const double x = a.asDateTime(), y = b.asDateTime();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    return a == b;
}

} // namespace

// An edited row takes its new values. It leaves only the orders and indexes whose fields
// change (the walk order's fields change: all of them, since indexes keep rows in walk order),
// so that editing a value no index knows costs no index work.
void ClientDataSet::replaceValues(Row* row, std::vector<Value> values) {
    const auto changes = [&](const std::vector<KeyField>& fields) {
        for (const KeyField& k : fields) {
            const auto i = static_cast<std::size_t>(k.index);
            if (!SamePlace(row->values[i], values[i])) return true;
        }
        return false;
    };
    const bool moves = changes(order_.fields());
    std::vector<KeyIndex*> rekeyed;
    for (auto& entry : lookups_)
        if (moves || changes(entry.second->fields())) rekeyed.push_back(entry.second.get());

    // Out while the old values still place the row.
    if (moves) all_.erase(row);
    for (KeyIndex* index : rekeyed) index->remove(row);
    if (moves && row->inView) {
        view_.erase(row);
        row->inView = false;
    }
    row->values = std::move(values);
    if (moves) all_.insert(row);
    for (KeyIndex* index : rekeyed) index->add(row);
    if (restricted_) {
        const bool visible = rowVisible(*row);
        if (visible && !row->inView) view_.insert(row);
        else if (!visible && row->inView) view_.erase(row);
        row->inView = visible;
    }
}

KeyIndex& ClientDataSet::indexFor(char kind, const std::vector<KeyField>& fields, bool caseInsensitive) {
    std::string signature{kind, caseInsensitive ? 'i' : 's'};
    for (const KeyField& k : fields) signature += ";" + std::to_string(k.index);
    auto it = lookups_.find(signature);
    if (it == lookups_.end()) {
        std::unique_ptr<KeyIndex> index;
        if (kind == 'h') index = std::make_unique<LookupIndex>(fields, caseInsensitive, order_);
        else index = std::make_unique<PrefixIndex>(fields, caseInsensitive, order_);
        std::vector<Row*> live;
        live.reserve(rows_.size());
        all_.forEach([&live](Row* row) { live.push_back(row); });
        index->build(live);
        it = lookups_.emplace(std::move(signature), std::move(index)).first;
    }
    return *it->second;
}

LookupIndex& ClientDataSet::lookupFor(const std::vector<KeyField>& fields, bool caseInsensitive) {
    return static_cast<LookupIndex&>(indexFor('h', fields, caseInsensitive));
}

PrefixIndex& ClientDataSet::prefixIndexFor(const std::vector<KeyField>& fields, bool caseInsensitive) {
    return static_cast<PrefixIndex&>(indexFor('p', fields, caseInsensitive));
}

// Recomputes the visible rows. The candidates come from a lookup index whenever the master
// range or the filter's equality terms name them, so that only those rows are tested.
void ClientDataSet::rebuildView() {
    view_.forEach([](Row* r) { r->inView = false; });
    view_.clear();
    restricted_ = range_.active || filtering();
    if (!restricted_ || (range_.active && range_.empty)) return;

    const auto consider = [this](Row* row) {
        if (rowVisible(*row)) {
            view_.insert(row);
            row->inView = true;
        }
        return false; // visit every candidate
    };
    if (range_.active) {
        LookupIndex& index = lookupFor(range_.fields, false);
        index.findEqual(index.keyOfValues(range_.values), consider);
        return;
    }
    std::vector<KeyField> keys;
    std::vector<Value> values;
    for (const auto& term : filter_->equalityTerms()) {
        try {
            values.push_back(term.field->comparable(term.value));
        } catch (const ConversionError&) {
            continue; // no row can hold it; the filter itself decides
        }
        keys.push_back(keyFieldOf(*term.field));
    }
    if (!keys.empty()) {
        LookupIndex& index = lookupFor(keys, false);
        index.findEqual(index.keyOfValues(values), consider);
        return;
    }
    for (const auto& row : rows_) consider(row.get());
}

} // namespace fat::data
