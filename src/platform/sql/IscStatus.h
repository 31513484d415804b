#pragma once
// Internal to the SQL layer: the client library's status vector turned into exceptions.
#include <ibase.h>

#include <string>

namespace fat::sql {

// Raises DatabaseError with the database's own message when the status holds an error.
void CheckStatus(const ISC_STATUS* status, const std::string& context = {});
std::string StatusText(const ISC_STATUS* status);

} // namespace fat::sql
