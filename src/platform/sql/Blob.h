#pragma once
// Internal to the SQL layer: blobs are read and written whole.
#include <ibase.h>

#include <string>

namespace fat::sql {

class Connection;

std::string ReadBlob(Connection& connection, ISC_QUAD id);
ISC_QUAD WriteBlob(Connection& connection, const std::string& content);

} // namespace fat::sql
