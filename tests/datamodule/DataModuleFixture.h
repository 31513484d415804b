#pragma once
#include "datamodule/TDM.h"
#include "db/ConfigurarConexao.h"
#include "platform/ini/ExecutablePath.h"
#include "platform/ini/IniFile.h"
#include "platform/sql/Query.h"
#include "support/MessageRecorder.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace fat::test {

// A fresh ERP database, a program folder of its own (so the INI file beside the "executable"
// is a temporary one) and a data module connected to the database.
struct DataModuleFixture : ::testing::Test {
    TestDatabase db;
    TempDir programDir;
    MessageRecorder messages;
    TDM dm;

    DataModuleFixture() { ini::SetExecutablePathForTesting(programDir.file("faturamento")); }
    ~DataModuleFixture() override { ini::SetExecutablePathForTesting(""); }

    std::string iniPath() const { return programDir.file("faturamento.ini"); }
    void writeIni(const std::string& text) const { std::ofstream(iniPath(), std::ios::binary) << text; }
    void connect() {
        db::ConfigurarConexao(dm.sqlCon, db.location(), db::SenhaPorChave("1"), "3");
        dm.sqlCon.open();
    }
    void setParam(const std::string& key, const char* value) {
        sql::Query q(db.connection());
        q.setSql("insert into PARAM (GRUPO_PA, PARAM_PA, VALOR_PA) values ('GERADUP', :K, :V)");
        q.paramByName("K").setAsString(key);
        if (value) q.paramByName("V").setAsString(value);
        else q.paramByName("V").clear();
        q.execSql();
    }
    std::map<std::string, std::string> params() {
        sql::Query q(db.connection());
        q.setSql("select PARAM_PA, VALOR_PA from PARAM where GRUPO_PA = 'GERADUP'");
        std::map<std::string, std::string> result;
        for (q.open(); !q.eof(); q.next()) result[q.field(0).asString()] = q.field(1).asString();
        return result;
    }
};

} // namespace fat::test
