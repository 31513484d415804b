#include "platform/data/SqlStatements.h"

namespace fat::data {

namespace {

std::string WhereClause(const std::vector<WhereColumn>& where) {
    std::string text;
    for (std::size_t i = 0; i < where.size(); ++i) {
        text += i == 0 ? " where " : " and ";
        text += QuotedName(where[i].column);
        text += where[i].isNull ? " is null" : " = :K" + std::to_string(i + 1);
    }
    return text;
}

} // namespace

std::string QuotedName(const std::string& name) {
    std::string text = "\"";
    for (char c : name) {
        if (c == '"') text += '"';
        text += c;
    }
    return text + "\"";
}

std::string InsertStatement(const std::string& table, const std::vector<std::string>& columns) {
    std::string names, params;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i) {
            names += ", ";
            params += ", ";
        }
        names += QuotedName(columns[i]);
        params += ":P" + std::to_string(i + 1);
    }
    return "insert into " + QuotedName(table) + " (" + names + ") values (" + params + ")";
}

std::string UpdateStatement(const std::string& table, const std::vector<std::string>& columns,
                            const std::vector<WhereColumn>& where) {
    std::string text = "update " + QuotedName(table) + " set ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i) text += ", ";
        text += QuotedName(columns[i]) + " = :P" + std::to_string(i + 1);
    }
    return text + WhereClause(where);
}

std::string DeleteStatement(const std::string& table, const std::vector<WhereColumn>& where) {
    return "delete from " + QuotedName(table) + WhereClause(where);
}

} // namespace fat::data
