#pragma once
#include <string>
#include <vector>

namespace fat::data {

// The texts of the statements a SqlProvider sends for the changes of a dataset. Names are
// always written quoted (exactly as the database reports them), so that no column name can be
// taken for a keyword. Values are parameters: :P1 ... for the values written, :K1 ... for the
// values that find the row (numbered by their place in `where`; a null is matched with
// "is null" and takes no parameter).
struct WhereColumn {
    std::string column;
    bool isNull = false;
};

std::string QuotedName(const std::string& name);
std::string InsertStatement(const std::string& table, const std::vector<std::string>& columns);
std::string UpdateStatement(const std::string& table, const std::vector<std::string>& columns,
                            const std::vector<WhereColumn>& where);
std::string DeleteStatement(const std::string& table, const std::vector<WhereColumn>& where);

} // namespace fat::data
