#include "directory/KeyTable.h"

namespace fat::directory {

// Defined in the source CMake generates from the table file.
extern const unsigned char kKeyTableBytes[kKeyTableSize];
extern const char* const kKeyTableSource;

KeyTable DirectoryKeyTable() {
    return KeyTable(kKeyTableBytes, kKeyTableSize);
}

const char* DirectoryKeyTableSource() {
    return kKeyTableSource;
}

} // namespace fat::directory
