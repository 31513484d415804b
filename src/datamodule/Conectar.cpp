// Where the database is and with which password: the INI file beside the program names it.
#include "datamodule/TDM.h"

#include "db/ConfigurarConexao.h"
#include "platform/ini/ExecutablePath.h"
#include "platform/ini/IniFile.h"

namespace fat {

void TDM::Conectar() {
    sqlCon.close();
    std::string location, password, version;
    {
        const ini::IniFile ini(ini::IniPathForExecutable());
        const std::string host = ini.readString("QDXSERVER", "HOST", "");
        if (!host.empty()) {
            ConectarServidorDiretorio(host, location, password);
        } else {
            location = ini.readString("BDADOS", "DB", "C:\\ERRO.BD");
            const std::string chave = ini.readString("BDADOS", "CHAVE", "1");
            version = ini.readString("Banco", "VersaoFirebird", "2.5");
            password = db::SenhaPorChave(chave);
        }
    }
    db::ConfigurarConexao(sqlCon, location, password, version);
    sqlCon.open(); // a failure here goes up to the module's creation
}

} // namespace fat
