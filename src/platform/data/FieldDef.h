#pragma once
#include "platform/core/Value.h"

#include <string>

namespace fat::sql { struct ColumnInfo; }

namespace fat::data {

enum class FieldKind {
    Data,         // a column of the provider's data, sent back when changes are applied
    InternalCalc, // held in memory only: never read from nor written to the database
};

// The definition of one field: what a provider reports for a column, or what the code declares
// before a dataset is opened or created.
struct FieldDef {
    std::string name;
    DataType type = DataType::Unknown;
    int size = 0;      // characters of a text field (0: no limit)
    int precision = 0; // digits of an exact decimal (0: not checked)
    int scale = 0;     // decimals of an exact decimal
    bool required = false;
    FieldKind kind = FieldKind::Data;

    // Presentation.
    std::string displayLabel;  // empty: the name
    std::string displayFormat; // FormatFloat pattern for numbers, FormatDateTime pattern for dates
    int displayWidth = 0;      // characters; 0: a width from the type and size
    bool visible = true;

    FieldDef() = default;
    FieldDef(std::string fieldName, DataType fieldType, int fieldSize = 0)
        : name(std::move(fieldName)), type(fieldType), size(fieldSize) {}

    static FieldDef fromColumn(const sql::ColumnInfo& column);
    static FieldDef decimal(std::string fieldName, int precision, int scale);
    static FieldDef calculated(std::string fieldName, DataType fieldType, int fieldSize = 0);

    // Builders for definitions written in code.
    FieldDef& asRequired(bool value = true) { required = value; return *this; }
    FieldDef& withLabel(std::string label) { displayLabel = std::move(label); return *this; }
    FieldDef& withFormat(std::string format) { displayFormat = std::move(format); return *this; }
    FieldDef& withWidth(int width) { displayWidth = width; return *this; }
    FieldDef& hidden() { visible = false; return *this; }
};

// The width a grid gives a field when none is set.
int DefaultDisplayWidth(const FieldDef& def);

} // namespace fat::data
