#include "platform/sql/IscStatus.h"

#include "platform/sql/DatabaseError.h"

namespace fat::sql {

std::string StatusText(const ISC_STATUS* status) {
    std::string text;
    const ISC_STATUS* vector = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &vector) > 0) {
        if (!text.empty()) text += '\n';
        text += buffer;
    }
    return text;
}

void CheckStatus(const ISC_STATUS* status, const std::string& context) {
    if (status[0] != 1 || status[1] == 0) return;
    std::string text = StatusText(status);
    if (text.empty()) text = "database error " + std::to_string(status[1]);
    if (!context.empty()) text = context + "\n" + text;
    throw DatabaseError(text, isc_sqlcode(status), status[1]);
}

} // namespace fat::sql
