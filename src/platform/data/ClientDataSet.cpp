#include "platform/data/ClientDataSet.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/data/Provider.h"

#include <algorithm>

namespace fat::data {

ClientDataSet::ClientDataSet(std::string name) : name_(std::move(name)), all_(order_), view_(order_) {}

ClientDataSet::~ClientDataSet() {
    if (master_) {
        auto& siblings = master_->details_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (ClientDataSet* detail : details_) {
        detail->master_ = nullptr;
        try {
            detail->refreshRange(true);
        } catch (...) {
            // A detail left without its master shows all its rows; nothing here can fail.
        }
    }
}

std::string ClientDataSet::describe() const { return name_.empty() ? "Dataset" : "Dataset '" + name_ + "'"; }

void ClientDataSet::fail(const std::string& message) const { throw Error(describe() + ": " + message); }

void ClientDataSet::checkActive() const {
    if (!active()) fail("the dataset is not open");
}

void ClientDataSet::checkBrowseMode() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) post();
}

// --- Fields -------------------------------------------------------------------------------

Field& ClientDataSet::addField(FieldDef def) {
    if (active()) fail("fields can only be defined while the dataset is closed");
    if (def.name.empty()) fail("a field needs a name");
    for (const auto& f : definedFields_)
        if (UpperCase(f->name()) == UpperCase(def.name)) fail("field '" + def.name + "' is defined twice");
    definedFields_.push_back(std::make_unique<Field>(*this, std::move(def)));
    std::vector<Field*> list;
    for (const auto& f : definedFields_) list.push_back(f.get());
    setFieldList(std::move(list));
    return *definedFields_.back();
}

void ClientDataSet::clearFields() {
    if (active()) fail("fields can only be removed while the dataset is closed");
    setFieldList({});
    definedFields_.clear();
}

void ClientDataSet::setFieldList(std::vector<Field*> fields) {
    fields_ = std::move(fields);
    fieldsByName_.clear();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->index_ = static_cast<int>(i);
        fieldsByName_.emplace(UpperCase(fields_[i]->name()), fields_[i]);
    }
}

Field& ClientDataSet::field(int index) const {
    if (index < 0 || index >= fieldCount()) fail("there is no field number " + std::to_string(index));
    return *fields_[static_cast<std::size_t>(index)];
}

Field* ClientDataSet::findField(std::string_view name) const {
    const auto it = fieldsByName_.find(TrimmedName(name));
    return it == fieldsByName_.end() ? nullptr : it->second;
}

Field& ClientDataSet::fieldByName(std::string_view name) const {
    Field* f = findField(name);
    if (!f) fail("field '" + std::string(name) + "' not found");
    return *f;
}

std::vector<Field*> ClientDataSet::resolveFields(const std::string& names) const {
    std::vector<Field*> result;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find(';', start), names.size());
        const std::string name = Trim(names.substr(start, end - start));
        if (!name.empty()) result.push_back(&fieldByName(name));
        start = end + 1;
    }
    return result;
}

KeyField ClientDataSet::keyFieldOf(const Field& field) {
    return KeyField{field.index(), field.dataType(), field.dataType() == DataType::Decimal ? field.scale() : 0};
}

// --- Values of the current record ---------------------------------------------------------

const Value& ClientDataSet::currentValue(int index) const {
    static const Value none;
    if (index < 0) return none;
    const auto i = static_cast<std::size_t>(index);
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return buffer_[i];
    if (current_ && state_ == DataSetState::Browse) return current_->values[i];
    return none;
}

void ClientDataSet::setFieldValue(Field& field, Value value) {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        fail("field '" + field.name() + "' cannot be modified: the dataset is not in edit or insert mode");
    buffer_[static_cast<std::size_t>(field.index())] = std::move(value);
    notify(DataEvent::RecordChanged, &field);
    // Only a link field can move a detail's range; rules set many other fields of a master row.
    for (const ClientDataSet* detail : details_)
        if (detail->linksOn(field)) {
            notifyDetails();
            break;
        }
}

// --- Open and close -----------------------------------------------------------------------

void ClientDataSet::setProvider(Provider* provider) { provider_ = provider; }

std::vector<int> ClientDataSet::buildFields(const std::vector<FieldDef>& columns) {
    std::unordered_map<std::string, int> columnByName;
    for (std::size_t i = 0; i < columns.size(); ++i) columnByName.emplace(UpperCase(columns[i].name), static_cast<int>(i));

    const bool definedData = std::any_of(definedFields_.begin(), definedFields_.end(),
                                         [](const auto& f) { return !f->calculated(); });
    std::vector<Field*> list;
    std::vector<int> columnOf;
    columnFields_.clear();
    if (definedData) {
        for (const auto& f : definedFields_) {
            if (f->calculated()) {
                list.push_back(f.get());
                columnOf.push_back(-1);
                continue;
            }
            const auto it = columnByName.find(UpperCase(f->name()));
            if (it == columnByName.end()) fail("field '" + f->name() + "' not found in the data of the provider");
            const FieldDef& column = columns[static_cast<std::size_t>(it->second)];
            // What the code left open comes from the column.
            if (f->def_.type == DataType::Unknown) {
                f->def_.type = column.type;
                f->def_.precision = column.precision;
                f->def_.scale = column.scale;
            }
            if (f->def_.size == 0 && IsTextType(f->def_.type)) f->def_.size = column.size;
            list.push_back(f.get());
            columnOf.push_back(it->second);
        }
    } else {
        std::unordered_map<std::string, int> taken;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            FieldDef def = columns[i];
            def.kind = FieldKind::Data;
            // A second column of the same name (a join) becomes NAME_1, then NAME_2 ...
            std::string name = def.name;
            for (int n = 1; taken.count(UpperCase(name)); ++n) name = def.name + "_" + std::to_string(n);
            def.name = name;
            taken.emplace(UpperCase(name), 1);
            columnFields_.push_back(std::make_unique<Field>(*this, std::move(def)));
            list.push_back(columnFields_.back().get());
            columnOf.push_back(static_cast<int>(i));
        }
        for (const auto& f : definedFields_) {
            if (taken.count(UpperCase(f->name()))) fail("calculated field '" + f->name() + "' has the name of a column");
            list.push_back(f.get());
            columnOf.push_back(-1);
        }
    }
    setFieldList(std::move(list));
    return columnOf;
}

void ClientDataSet::loadRows(std::vector<std::vector<Value>>& rows, const std::vector<int>& columnOfField) {
    for (auto& source : rows) {
        auto row = std::make_unique<Row>();
        row->values.resize(fields_.size());
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            const int c = columnOfField[i];
            if (c < 0 || static_cast<std::size_t>(c) >= source.size()) continue;
            const Field& f = *fields_[i];
            // Read values are taken as they are, converted to the field's type; a text longer
            // than the field keeps its first characters, as it would when set.
            Value v = f.comparable(source[static_cast<std::size_t>(c)]);
            if ((f.dataType() == DataType::String || f.dataType() == DataType::FixedChar) && f.size() > 0 &&
                v.isString() && v.asString().size() > static_cast<std::size_t>(f.size()))
                v = Value::fromString(v.asString().substr(0, static_cast<std::size_t>(f.size())));
            row->values[i] = std::move(v);
        }
        row->seq = nextSeq_++;
        addLive(std::move(row));
    }
}

void ClientDataSet::open() {
    if (active()) return;
    if (!provider_) fail("there is no provider to open it from");
    ProviderData data = provider_->fetch();
    try {
        const std::vector<int> columnOf = buildFields(data.fields);
        state_ = DataSetState::Browse;
        loadRows(data.rows, columnOf);
        activate();
    } catch (...) {
        close();
        throw;
    }
}

void ClientDataSet::createDataSet() {
    close();
    if (definedFields_.empty()) fail("there are no fields defined to create it with");
    std::vector<Field*> list;
    for (const auto& f : definedFields_) list.push_back(f.get());
    state_ = DataSetState::Browse;
    setFieldList(std::move(list));
    try {
        activate();
    } catch (...) {
        close();
        throw;
    }
}

// Called with the fields and rows in place: sets the order, the filter and the master range.
void ClientDataSet::activate() {
    if (filter_) bindFilter(*filter_);
    applyIndex();
    range_ = computeRange();
    rebuildView();
    current_ = nullptr;
    moveToFirst();
    notify(DataEvent::StateChanged);
    notify(DataEvent::DataSetChanged);
    notifyDetails();
}

void ClientDataSet::clearRows() {
    current_ = nullptr;
    bof_ = eof_ = true;
    buffer_.clear();
    view_.clear();
    all_.clear();
    lookups_.clear();
    log_.clear();
    rows_.clear();
    restricted_ = false;
}

void ClientDataSet::close() {
    if (!active()) return;
    state_ = DataSetState::Inactive;
    clearRows();
    range_ = Range();
    std::vector<Field*> list;
    for (const auto& f : definedFields_) list.push_back(f.get());
    setFieldList(std::move(list));
    columnFields_.clear();
    notify(DataEvent::StateChanged);
    notify(DataEvent::DataSetChanged);
    notifyDetails();
}

void ClientDataSet::emptyDataSet() {
    checkActive();
    if (state_ != DataSetState::Browse) {
        buffer_.clear();
        state_ = DataSetState::Browse;
        notify(DataEvent::StateChanged);
    }
    clearRows();
    rebuildView();
    notify(DataEvent::DataSetChanged);
    notifyDetails();
}

} // namespace fat::data
