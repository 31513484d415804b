#pragma once
#include <string>

namespace fat::db {

class TCRSQLConnection;

// The database password of a key index from the INI file ("1" to "8"); empty for any other.
std::string SenhaPorChave(const std::string& chave);

// Chooses the driver set by the server version ("3" exactly: the Firebird 3 set; anything
// else the other one), switches the login prompt off and replaces the parameter list.
// Does not open the connection.
void ConfigurarConexao(TCRSQLConnection& connection, const std::string& database,
                       const std::string& password, const std::string& version);

} // namespace fat::db
