#pragma once
#include "platform/core/Errors.h"

#include <string>

namespace fat::sql {

// An error reported by the database or its client library; the text is the database's own.
class DatabaseError : public Error {
public:
    DatabaseError(const std::string& message, long sqlCode = 0, long gdsCode = 0)
        : Error(message), sqlCode_(sqlCode), gdsCode_(gdsCode) {}
    long sqlCode() const { return sqlCode_; }
    // The engine's first status code (isc_... number), 0 when the error did not come from it.
    long gdsCode() const { return gdsCode_; }

private:
    long sqlCode_;
    long gdsCode_;
};

} // namespace fat::sql
