#pragma once
#include "platform/sql/Connection.h"

#include <string>

namespace fat::db {

// The data module's connection. Besides the parameter list it carries the driver set chosen
// by the server version; here both sets reach the database through the same Firebird client
// library, but the choice is kept and shown as the settings name it.
class TCRSQLConnection : public sql::Connection {
public:
    std::string ConnectionName;
    std::string DriverName;
    std::string GetDriverFunc;
    std::string LibraryName;
    std::string VendorLib;
    bool LoginPrompt = true;
};

} // namespace fat::db
