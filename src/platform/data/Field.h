#pragma once
#include "platform/core/Amount.h"
#include "platform/core/Value.h"
#include "platform/data/FieldDef.h"

#include <string>

namespace fat::data {

class ClientDataSet;

// One field of a client dataset: reads and writes the value of the dataset's current record
// (the edit buffer while the dataset is in edit or insert state).
//
// A value set is converted to the field's type; a text longer than the field's size is cut to
// the size (or refused, see ClientDataSet::setRejectLongTexts); a value that cannot be converted
// raises ConversionError with a text that names the field and the value. Setting a value outside edit or insert state raises Error.
class Field {
public:
    Field(ClientDataSet& dataSet, FieldDef def);
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    const FieldDef& def() const { return def_; }
    const std::string& name() const { return def_.name; }
    DataType dataType() const { return def_.type; }
    int size() const { return def_.size; }
    int precision() const { return def_.precision; }
    int scale() const { return def_.scale; }
    bool required() const { return def_.required; }
    FieldKind kind() const { return def_.kind; }
    bool calculated() const { return def_.kind == FieldKind::InternalCalc; }
    // Position among the fields of the open dataset (its column in a grid).
    int index() const { return index_; }
    ClientDataSet& dataSet() const { return *dataSet_; }

    const std::string& displayLabel() const { return def_.displayLabel.empty() ? def_.name : def_.displayLabel; }
    const std::string& displayFormat() const { return def_.displayFormat; }
    int displayWidth() const { return def_.displayWidth > 0 ? def_.displayWidth : DefaultDisplayWidth(def_); }
    bool visible() const { return def_.visible; }
    void setDisplayLabel(std::string label) { def_.displayLabel = std::move(label); }
    void setDisplayFormat(std::string format) { def_.displayFormat = std::move(format); }
    void setDisplayWidth(int width) { def_.displayWidth = width; }
    void setVisible(bool visible) { def_.visible = visible; }

    const Value& value() const;
    bool isNull() const { return value().isNull(); }
    std::string asString() const { return value().asString(); }
    std::int64_t asInteger() const;
    double asFloat() const;
    // Exact decimals with the field's scale; whole numbers with none; floats with four decimals.
    Decimal asDecimal() const;
    // Exact for decimal fields; a float is rounded to ten-thousandths, ties to even.
    Amount asAmount() const;
    TDateTime asDateTime() const;
    bool asBoolean() const;

    void setValue(const Value& value);
    // An empty text clears a field that is not a text field.
    void setAsString(const std::string& value);
    void setAsInteger(std::int64_t value) { setValue(Value::fromInteger(value)); }
    void setAsFloat(double value) { setValue(Value::fromFloat(value)); }
    void setAsDecimal(const Decimal& value) { setValue(Value::fromDecimal(value)); }
    void setAsAmount(Amount value) { setValue(Value::fromAmount(value)); }
    void setAsDateTime(TDateTime value) { setValue(Value::fromDateTime(value)); }
    void setAsBoolean(bool value) { setValue(Value::fromBoolean(value)); }
    void clear() { setValue(Value()); }

    // The value as shown: the display format applied, "" for null.
    std::string displayText() const { return displayText(value()); }
    std::string displayText(const Value& value) const;

    // The value as this field keeps it (converted, cut to size, range checked).
    Value stored(const Value& value) const;
    // The value converted to the field's type only, for comparisons with stored values.
    Value comparable(const Value& value) const;

private:
    friend class ClientDataSet;
    ClientDataSet* dataSet_;
    FieldDef def_;
    int index_ = -1;

    [[noreturn]] void conversionFailed(const Value& value, const std::string& reason) const;
};

} // namespace fat::data
