#pragma once
#include "platform/core/Value.h"
#include "platform/sql/Query.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fat::db {

// One column of a row to insert: its name and its value (Value() for null).
using DemoColumn = std::pair<const char*, Value>;

// An insert into one table, prepared once and executed once per row. The first row decides
// the columns and the statement; every later row must name the same columns in the same order,
// so a row can be read as a list of "column = value" pairs.
class DemoInsert {
public:
    DemoInsert(sql::Connection& connection, std::string table);

    void insert(std::initializer_list<DemoColumn> row);
    std::uint64_t rows() const { return rows_; }

private:
    sql::Connection& connection_;
    std::string table_;
    std::vector<std::string> columns_;
    std::unique_ptr<sql::Query> query_;
    std::uint64_t rows_ = 0;

    void prepare(std::initializer_list<DemoColumn> row);
};

// Short spellings of the values the generator binds.
inline Value Text(std::string s) { return Value::fromString(std::move(s)); }
inline Value Int(std::int64_t v) { return Value::fromInteger(v); }
inline Value Real(double v) { return Value::fromFloat(v); }
inline Value Money(Amount v) { return Value::fromDecimal(v.toDecimal(2)); }
inline Value Stamp(TDateTime v) { return Value::fromDateTime(v); }
inline Value Null() { return Value(); }

} // namespace fat::db
