#include "directory/DatabaseInfo.h"

namespace fat::directory {

int KindFromTypeLetter(const std::string& type) {
    static const char* const letters[] = {"G", "A", "O", "C", "F", "X"};
    for (int kind = 0; kind < 6; ++kind)
        if (type == letters[kind]) return kind;
    return 0;
}

} // namespace fat::directory
