#include "platform/sql/Query.h"

#include "platform/sql/Connection.h"
#include "platform/sql/DatabaseError.h"
#include "platform/sql/ParamParser.h"
#include "platform/sql/PreparedStatement.h"
#include "platform/core/Format.h"

#include <string_view>

namespace fat::sql {
namespace {

// Whether `name` equals `upper` once its ASCII letters are folded as UpperCase folds them;
// without a copy, since rows are read field by field by name.
bool SameName(std::string_view name, std::string_view upper) {
    if (name.size() != upper.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i]) return false;
    }
    return true;
}

} // namespace

Query::Query(Connection& connection) : connection_(&connection) {}

Query::~Query() {
    try {
        close();
        connection_->releaseStatement(std::move(statement_));
    } catch (...) {
    }
}

void Query::setSql(const std::string& text) {
    lines_.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
        start = end + 1;
    }
    textChanged();
}

void Query::setLines(const std::vector<std::string>& lines) {
    lines_ = lines;
    textChanged();
}

void Query::addLine(const std::string& line) {
    lines_.push_back(line);
    textChanged();
}

void Query::clearSql() {
    lines_.clear();
    textChanged();
}

std::string Query::sqlText() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) text += '\n';
        text += lines_[i];
    }
    return text;
}

void Query::textChanged() {
    close();
    connection_->releaseStatement(std::move(statement_));
    statement_.reset();
    columns_.clear();
    upperNames_.clear();
    std::vector<Param> rebuilt;
    for (const auto& name : ParseNamedParams(sqlText()).names) {
        bool present = false;
        for (const auto& p : rebuilt) present = present || p.name() == name;
        if (present) continue;
        Param p(name);
        if (const Param* old = findParam(name)) p.setValue(old->value());
        rebuilt.push_back(std::move(p));
    }
    params_ = std::move(rebuilt);
}

Param* Query::findParam(const std::string& name) {
    for (auto& p : params_)
        if (SameName(name, p.name())) return &p; // parameter names are kept in upper case
    return nullptr;
}

Param& Query::paramByName(const std::string& name) {
    if (Param* p = findParam(name)) return *p;
    throw Error("Parameter '" + name + "' not found");
}

void Query::prepare() {
    if (statement_ && statement_->generation() != connection_->generation()) statement_.reset();
    if (!statement_) {
        markerParams_.clear();
        statement_ = connection_->acquireStatement(sqlText());
        columns_ = statement_->columns();
        upperNames_.clear();
        for (const auto& c : columns_) upperNames_.push_back(UpperCase(c.name));
    }
}

void Query::bindParams() {
    // Which parameter each marker takes, found once per prepared statement: inserts of a save
    // bind dozens of markers per row.
    const auto& names = statement_->paramNames();
    if (markerParams_.size() != names.size()) {
        std::vector<std::size_t> positions;
        for (const auto& name : names)
            positions.push_back(static_cast<std::size_t>(&paramByName(name) - params_.data()));
        markerParams_ = std::move(positions);
    }
    std::vector<Value> values;
    values.reserve(names.size());
    for (std::size_t position : markerParams_) values.push_back(params_[position].value());
    statement_->execute(values);
    connection_->noteExecuted(statement_->sqlText(), values);
}

void Query::open() {
    close();
    prepare();
    if (!statement_->returnsRows()) throw DatabaseError("the statement returns no rows: " + sqlText());
    bindParams();
    active_ = true;
    fetch();
}

void Query::fetch() {
    eof_ = !statement_->fetch(row_);
    if (eof_) row_.assign(columns_.size(), Value());
}

void Query::next() {
    if (!active_) throw Error("the query is not open");
    if (!eof_) fetch();
}

void Query::close() {
    if (statement_) statement_->closeCursor();
    active_ = false;
    eof_ = true;
    row_.clear();
}

std::int64_t Query::execSql() {
    close();
    prepare();
    bindParams();
    const bool changes = statement_->changesData();
    const std::int64_t rows = changes ? statement_->rowsAffected() : 0;
    statement_->closeCursor();
    if (changes) connection_->autoCommit();
    return rows;
}

int Query::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < upperNames_.size(); ++i)
        if (SameName(name, upperNames_[i])) return static_cast<int>(i);
    return -1;
}

const Value& Query::fieldByName(std::string_view name) const {
    const int i = fieldIndex(name);
    if (i < 0) throw Error("Field '" + std::string(name) + "' not found");
    return field(i);
}

const Value& Query::field(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= row_.size())
        throw Error("field index out of range: " + std::to_string(index));
    return row_[static_cast<std::size_t>(index)];
}

} // namespace fat::sql
