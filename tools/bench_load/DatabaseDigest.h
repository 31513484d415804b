#pragma once
// A short digest of what the phases change in a database (row counts and sums of the tables the
// billing writes), to check that a replay left its copy in the same state as the phase left its own.
#include <string>

namespace bench {

std::string DatabaseDigest(const std::string& location);

} // namespace bench
