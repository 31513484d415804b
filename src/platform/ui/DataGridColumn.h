#pragma once
#include "platform/core/Value.h"

#include <string>
#include <utility>

namespace fat::ui {

// One column of a data grid: the field it shows and how.
struct DataGridColumn {
    DataGridColumn() = default;
    DataGridColumn(std::string field, int pixels = 0, std::string caption = {})
        : fieldName(std::move(field)), width(pixels), title(std::move(caption)) {}
    // A check-box column over the field.
    static DataGridColumn CheckBox(std::string field, Value checked, Value unchecked, int pixels = 0) {
        DataGridColumn c(std::move(field), pixels);
        c.checkBox = true;
        c.checkedValue = std::move(checked);
        c.uncheckedValue = std::move(unchecked);
        return c;
    }

    std::string fieldName;
    int width = 0;     // pixels; 0: from the field's display width and the grid's font
    std::string title; // WIN1252; empty: the field's display label
    // A check box in place of the text: checked while the field holds checkedValue; a click or
    // Space in the cell writes the other value into the row (edit, set, post).
    bool checkBox = false;
    Value checkedValue = Value::fromBoolean(true);
    Value uncheckedValue = Value::fromBoolean(false);
};

} // namespace fat::ui
