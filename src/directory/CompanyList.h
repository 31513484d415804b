#pragma once
#include "directory/DatabaseInfo.h"

namespace fat::directory {

class TJSONArray;

// The company records of a directory answer: every element must be a company object with
// "codigo", "nome" and "bancos", every database object "id", "host", "password", "type",
// "description" and "parent", read with the strict getters. The first element, key or value
// that does not fit raises (fat::Error or one of the JSON errors), so one bad company loses
// the whole list.
TInfoList ReadCompanies(const TJSONArray& list);

} // namespace fat::directory
