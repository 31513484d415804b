#pragma once
#include "platform/core/Value.h"

#include <string>

namespace fat::sql {

// What the database says of one result column.
struct ColumnInfo {
    std::string name;     // alias or column name, as the database reports it (upper case)
    std::string relation; // table of the column, empty for expressions
    std::string origin;   // the column's own name in that table
    DataType type = DataType::Unknown;
    int size = 0;         // characters of a text column
    int precision = 0;    // digits of an exact decimal
    int scale = 0;        // decimals of an exact decimal
    bool nullable = true;
};

} // namespace fat::sql
