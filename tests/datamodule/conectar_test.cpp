#include "DataModuleFixture.h"

#include "platform/sql/DatabaseError.h"

using namespace fat;
using Connection = test::DataModuleFixture;

TEST(ConnectionSetUp, PasswordsByKey) {
    const std::pair<const char*, const char*> cases[] = {
        {"1", "fennelrot"}, {"2", "lopvaz52"}, {"3", "LopVaz52"}, {"4", "loPvaZ52"}, {"5", "loP52Vaz"},
        {"6", "Lop52vaZ"},  {"7", "lop52vaz"}, {"8", "lop77vaz"}, {"9", ""},         {"0", ""},
        {"", ""},           {" 1", ""},        {"01", ""},
    };
    for (const auto& [chave, senha] : cases) EXPECT_EQ(db::SenhaPorChave(chave), senha) << "'" << chave << "'";
}

TEST(ConnectionSetUp, TheVersionChoosesTheDriverSetAndTheListIsReplacedWhole) {
    struct Case { const char* version; const char* driver; const char* vendorLib; };
    const Case cases[] = {
        {"3", "DevartFirebird", "fbclient_V3.dll"},
        {"3.0", "DevartInterBase", "fbclient.dll"},
        {" 3", "DevartInterBase", "fbclient.dll"},
        {"2.5", "DevartInterBase", "fbclient.dll"},
        {"", "DevartInterBase", "fbclient.dll"},
    };
    for (const auto& c : cases) {
        db::TCRSQLConnection connection;
        connection.params() = {"Leftover=1"};
        db::ConfigurarConexao(connection, "srv:/data/erp.fdb", "pw", c.version);
        EXPECT_EQ(connection.DriverName, c.driver) << c.version;
        EXPECT_EQ(connection.VendorLib, c.vendorLib) << c.version;
        EXPECT_FALSE(connection.LoginPrompt);
        const std::vector<std::string> expected = {
            "DriverName=DevartInterBase", "Database=srv:/data/erp.fdb", "User_Name=SYSDBA", "Password=pw",
            "SQLDialect=3", "BlobSize=-1", "LocaleCode=0000", "DevartInterBase TransIsolation=ReadCommited",
            "WaitOnLocks=True", "OptimizedNumerics=False", "CharLength=0", "EnableBCD=True", "LongStrings=True",
            "UseQuoteChar=False", "FetchAll=False",
        };
        EXPECT_EQ(connection.params(), expected);
    }
}

TEST_F(Connection, WithoutAnIniFileTheDefaultLocationFailsWithTheDriversError) {
    try {
        dm.Conectar();
        FAIL() << "connected without an INI file";
    } catch (const sql::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("\"C\""), std::string::npos) << e.what(); // host C of C:\ERRO.BD
    }
    EXPECT_EQ(dm.sqlCon.param("Database"), "C:\\ERRO.BD");
    EXPECT_EQ(dm.sqlCon.param("Password"), "fennelrot");
    EXPECT_EQ(dm.sqlCon.DriverName, "DevartInterBase");
    EXPECT_FALSE(dm.sqlCon.connected());
}

TEST_F(Connection, TheIniFileNamesTheDatabaseKeyAndVersion) {
    writeIni("[BDADOS]\r\nDB=" + db.location() + "\r\nCHAVE=1\r\n[Banco]\r\nVersaoFirebird=3\r\n");
    dm.Conectar();
    EXPECT_TRUE(dm.sqlCon.connected());
    EXPECT_EQ(dm.sqlCon.DriverName, "DevartFirebird");
    EXPECT_EQ(dm.sqlCon.param("Database"), db.location());
    dm.Conectar(); // a second call closes and opens again
    EXPECT_TRUE(dm.sqlCon.connected());
}

TEST_F(Connection, AKeyOutsideTheTableGivesAnEmptyPassword) {
    writeIni("[BDADOS]\nDB=" + db.location() + "\nCHAVE=9\n");
    try {
        dm.Conectar(); // the embedded engine trusts the local user, so only the list tells
    } catch (const std::exception&) {
    }
    EXPECT_EQ(dm.sqlCon.param("Password"), "");
}
