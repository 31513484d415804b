#pragma once
#include "platform/sql/DatabaseError.h"

#include <string>

namespace fat::sql {

// The length to hand the engine with a statement text. Without one the engine reads the text up
// to its first NUL byte, so a NUL inside a literal would end the statement there. The length
// field holds 16 bits: a longer text goes without it and may then hold no NUL byte.
inline unsigned short StatementTextLength(const std::string& text) {
    if (text.size() <= 0xFFFF) return static_cast<unsigned short>(text.size());
    if (text.find('\0') != std::string::npos)
        throw DatabaseError("a statement text of more than 65535 bytes holds a NUL byte");
    return 0;
}

} // namespace fat::sql
