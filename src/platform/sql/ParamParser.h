#pragma once
#include <string>
#include <vector>

namespace fat::sql {

// A statement text with its named parameters (":NAME") replaced by the positional markers
// the database takes, and the name of each marker in order. A colon inside a string
// literal, a quoted identifier or a comment is left alone.
struct ParsedSql {
    std::string text;
    std::vector<std::string> names; // upper case, one per marker; a name may repeat
};

ParsedSql ParseNamedParams(const std::string& sqlText);

} // namespace fat::sql
