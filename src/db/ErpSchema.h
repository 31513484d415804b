#pragma once
#include <string>
#include <vector>

namespace fat::sql { class Connection; }

namespace fat::db {

// The ERP tables and columns this program reads and writes, with their keys, as DDL
// statements. The ERP owns the real database; tests and the demo build theirs from this.
const std::vector<std::string>& ErpSchemaStatements();
void CreateErpSchema(sql::Connection& connection);

} // namespace fat::db
