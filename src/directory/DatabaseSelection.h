#pragma once
#include "directory/DatabaseInfo.h"

#include <vector>

namespace fat::directory {

// The company's databases of that kind, in order, whose Parent equals `parent`; every database
// of the kind when `parent` is 0 or less.
std::vector<const TDatabaseInfo*> FindDatabases(const TCompanyInfo& company, int kind, int parent);

// The first of FindDatabases; when there is none and `retry` is on, the first of the kind with
// any parent. None when still nothing is found, or when there is no company at all.
const TDatabaseInfo* FirstDatabase(const TCompanyInfo* company, int kind, int parent, bool retry);

} // namespace fat::directory
