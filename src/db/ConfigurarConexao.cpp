#include "db/ConfigurarConexao.h"

#include "db/TCRSQLConnection.h"

#include <array>
#include <utility>

namespace fat::db {

std::string SenhaPorChave(const std::string& chave) {
    static const std::array<std::pair<const char*, const char*>, 8> passwords = {{
        {"1", "fennelrot"}, {"2", "lopvaz52"}, {"3", "LopVaz52"}, {"4", "loPvaZ52"},
        {"5", "loP52Vaz"},  {"6", "Lop52vaZ"}, {"7", "lop52vaz"}, {"8", "lop77vaz"},
    }};
    for (const auto& [key, password] : passwords)
        if (chave == key) return password;
    return {};
}

void ConfigurarConexao(TCRSQLConnection& connection, const std::string& database,
                       const std::string& password, const std::string& version) {
    if (version == "3") {
        connection.ConnectionName = "DevartFirebird";
        connection.DriverName = "DevartFirebird";
        connection.GetDriverFunc = "getSQLDriverFirebird";
        connection.LibraryName = "dbexpida_V5.dll";
        connection.VendorLib = "fbclient_V3.dll";
    } else {
        connection.ConnectionName = "Devart InterBase";
        connection.DriverName = "DevartInterBase";
        connection.GetDriverFunc = "getSQLDriverInterBase";
        connection.LibraryName = "dbexpida.dll";
        connection.VendorLib = "fbclient.dll";
    }
    connection.LoginPrompt = false;
    connection.params() = {
        "DriverName=DevartInterBase",
        "Database=" + database,
        "User_Name=SYSDBA",
        "Password=" + password,
        "SQLDialect=3",
        "BlobSize=-1",
        "LocaleCode=0000",
        "DevartInterBase TransIsolation=ReadCommited",
        "WaitOnLocks=True",
        "OptimizedNumerics=False",
        "CharLength=0",
        "EnableBCD=True",
        "LongStrings=True",
        "UseQuoteChar=False",
        "FetchAll=False",
    };
}

} // namespace fat::db
