#include "db/ErpSchema.h"

#include "platform/sql/Connection.h"

namespace fat::db {

const std::vector<std::string>& ErpSchemaStatements() {
    static const std::vector<std::string> statements = {};
    return statements;
}

void CreateErpSchema(sql::Connection& connection) {
    for (const auto& statement : ErpSchemaStatements()) connection.executeImmediate(statement);
}

} // namespace fat::db
