#include "db/DemoInsert.h"

#include "platform/core/Errors.h"

#include <cstring>

namespace fat::db {

DemoInsert::DemoInsert(sql::Connection& connection, std::string table)
    : connection_(connection), table_(std::move(table)) {}

void DemoInsert::prepare(std::initializer_list<DemoColumn> row) {
    std::string names, markers;
    for (const auto& [name, value] : row) {
        if (!columns_.empty()) {
            names += ", ";
            markers += ", ";
        }
        columns_.emplace_back(name);
        names += name;
        markers += std::string(":") + name;
    }
    query_ = std::make_unique<sql::Query>(connection_);
    query_->setSql("insert into " + table_ + " (" + names + ") values (" + markers + ")");
    if (query_->params().size() != columns_.size())
        throw Error("insert into " + table_ + " names a column twice");
}

void DemoInsert::insert(std::initializer_list<DemoColumn> row) {
    if (!query_) prepare(row);
    if (row.size() != columns_.size())
        throw Error("insert into " + table_ + ": a row with another list of columns");
    auto& params = query_->params();
    std::size_t i = 0;
    for (const auto& [name, value] : row) {
        if (std::strcmp(name, columns_[i].c_str()) != 0)
            throw Error("insert into " + table_ + ": column " + name + " where " + columns_[i] + " was expected");
        params[i].setValue(value);
        ++i;
    }
    query_->execSql();
    ++rows_;
}

} // namespace fat::db
