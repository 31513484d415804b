#pragma once
#include "platform/sql/ColumnInfo.h"
#include "platform/core/Value.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fat::sql {

class Connection;
class PreparedStatement;

// A named parameter of a statement text (":NAME"). The same name may stand several times in
// the text; all of them take this one value.
class Param {
public:
    explicit Param(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }
    const Value& value() const { return value_; }
    void setValue(Value v) { value_ = std::move(v); }
    void setAsString(const std::string& v) { value_ = Value::fromString(v); }
    void setAsInteger(std::int64_t v) { value_ = Value::fromInteger(v); }
    void setAsFloat(double v) { value_ = Value::fromFloat(v); }
    void setAsDecimal(const Decimal& v) { value_ = Value::fromDecimal(v); }
    void setAsDateTime(TDateTime v) { value_ = Value::fromDateTime(v); } // bound as a timestamp
    void clear() { value_ = Value(); }

private:
    std::string name_;
    Value value_;
};

// A statement on a connection: its text as lines, named parameters with a leading colon
// (a colon inside a string literal or a comment is no parameter), and for a select the rows,
// fetched one at a time. Running the same text again reuses its prepared statement.
class Query {
public:
    explicit Query(Connection& connection);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Connection& connection() const { return *connection_; }

    // Replacing the text closes the query and rebuilds the parameter list; values of
    // parameters whose names remain are kept.
    void setSql(const std::string& text);
    void setLines(const std::vector<std::string>& lines);
    void addLine(const std::string& line);
    void clearSql();
    const std::vector<std::string>& lines() const { return lines_; }
    std::string sqlText() const; // the lines joined by line breaks

    std::vector<Param>& params() { return params_; }
    // Raises Error naming the parameter when the text has none of that name.
    Param& paramByName(const std::string& name);
    Param* findParam(const std::string& name);

    // Runs a select and positions on its first row (eof() when there is none).
    void open();
    void close();
    bool active() const { return active_; }
    bool eof() const { return eof_; }
    void next();

    // Runs a statement that returns no rows; the result is the count of rows it touched.
    std::int64_t execSql();

    int fieldCount() const { return static_cast<int>(columns_.size()); }
    const std::vector<ColumnInfo>& columns() const { return columns_; }
    int fieldIndex(std::string_view name) const; // -1 when missing; case-insensitive
    // Raises Error naming the field when the result has no column of that name.
    const Value& fieldByName(std::string_view name) const;
    const Value& field(int index) const;
    const std::vector<Value>& row() const { return row_; }

    // Prepares now (also done by open/execSql) so that columns() is known without running.
    void prepare();

private:
    Connection* connection_;
    std::vector<std::string> lines_;
    std::vector<Param> params_;
    std::shared_ptr<PreparedStatement> statement_;
    std::vector<std::size_t> markerParams_; // per marker of the statement: its parameter in params_
    std::vector<ColumnInfo> columns_;
    std::vector<std::string> upperNames_; // the columns' names in upper case, for fieldIndex
    std::vector<Value> row_;
    bool active_ = false;
    bool eof_ = true;

    void textChanged();
    void bindParams();
    void fetch();
};

} // namespace fat::sql
