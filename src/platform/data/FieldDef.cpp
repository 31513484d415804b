#include "platform/data/FieldDef.h"

#include "platform/sql/ColumnInfo.h"

#include <algorithm>

namespace fat::data {

FieldDef FieldDef::fromColumn(const sql::ColumnInfo& column) {
    FieldDef def(column.name, column.type, IsTextType(column.type) ? column.size : 0);
    def.precision = column.precision;
    def.scale = column.scale;
    def.required = !column.nullable;
    return def;
}

FieldDef FieldDef::decimal(std::string fieldName, int precision, int scale) {
    FieldDef def(std::move(fieldName), DataType::Decimal);
    def.precision = precision;
    def.scale = scale;
    return def;
}

FieldDef FieldDef::calculated(std::string fieldName, DataType fieldType, int fieldSize) {
    FieldDef def(std::move(fieldName), fieldType, fieldSize);
    def.kind = FieldKind::InternalCalc;
    return def;
}

int DefaultDisplayWidth(const FieldDef& def) {
    switch (def.type) {
    case DataType::String:
    case DataType::FixedChar:
        return def.size > 0 ? def.size : 20;
    case DataType::Memo:
    case DataType::Blob:
        return 10;
    case DataType::SmallInt: return 6;
    case DataType::Integer: return 11;
    case DataType::LargeInt: return 15;
    case DataType::Float:
    case DataType::Currency: return 10;
    case DataType::Decimal: return std::max(def.precision + 2, 10);
    case DataType::Date: return 10;
    case DataType::Time: return 10;
    case DataType::DateTime: return 18;
    case DataType::Boolean: return 5;
    case DataType::Unknown: break;
    }
    return 10;
}

} // namespace fat::data
