#pragma once
#include "platform/core/Value.h"
#include "platform/data/Delta.h"

#include <exception>
#include <string>
#include <vector>

namespace fat::data {

// A row that failed while a provider applied a dataset's changes, as its update-error handler
// sees it: the database's message, the kind of change, and the row's values (the stored ones for
// a delete) in the column order of the table, with their names.
class UpdateError {
public:
    UpdateError(ChangeKind kind, std::string message, std::vector<std::string> fieldNames,
                std::vector<Value> values, std::exception_ptr error);

    ChangeKind kind() const { return kind_; }
    const std::string& message() const { return message_; }
    const std::vector<std::string>& fieldNames() const { return fieldNames_; }
    const std::vector<Value>& values() const { return values_; }
    // The value of a field by name (case-insensitive); null when the row has no such field.
    Value value(const std::string& fieldName) const;
    // The failure itself (a DatabaseError for a database).
    std::exception_ptr error() const { return error_; }
    [[noreturn]] void raise() const { std::rethrow_exception(error_); }

private:
    ChangeKind kind_;
    std::string message_;
    std::vector<std::string> fieldNames_;
    std::vector<Value> values_;
    std::exception_ptr error_;
};

} // namespace fat::data
