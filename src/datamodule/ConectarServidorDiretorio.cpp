// The database named by the directory server: the list of companies, chosen automatically when
// there are fewer than two, otherwise by the user.
#include "datamodule/TDM.h"

#include "directory/DatabaseSelection.h"
#include "directory/QDXConnection.h"
#include "platform/core/Errors.h"
#include "platform/core/UserMessages.h"
#include "platform/core/Win1252.h"

namespace fat {
namespace {

// The reason a load failed may quote the whole answer (a parse error does, and an answer may
// be megabytes long): the box keeps its start and its end, which say what failed and where.
std::string Resumo(const std::string& texto) {
    constexpr std::size_t inicio = 600, fim = 300;
    if (texto.size() <= inicio + fim + 7) return texto;
    return texto.substr(0, inicio) + " (...) " + texto.substr(texto.size() - fim);
}

} // namespace

void TDM::ConectarServidorDiretorio(const std::string& host, std::string& location, std::string& password) {
    directory::TQDXConnection& qdx = directory::QDXConnection();
    bool cancelled = false;
    try {
        qdx.SetHost(host);
        qdx.LoadDatabases();
        if (qdx.CompanyCount() < 2) {
            qdx.SetSelectedDatabase(directory::FirstDatabase(qdx.Company(0), 0, 0, false));
            if (qdx.CompanyCount() == 0) {
                std::string text = Win1252("Nenhuma empresa foi recebida do servidor de diretório ") + host + ".";
                if (!qdx.LastLoadError().empty()) text += "\r" + Resumo(qdx.LastLoadError());
                throw Error(text);
            }
        } else {
            cancelled = qdx.SelectDatabase(0) == directory::DialogResult::Cancel;
        }
        if (!cancelled) {
            const directory::TDatabaseInfo* chosen = qdx.SelectedDatabase();
            if (!chosen)
                throw Error(Win1252("A empresa ") + qdx.Company(0)->Nome +
                            Win1252(" não tem banco de dados do tipo principal."));
            location = chosen->Host;
            password = chosen->Password;
        }
    } catch (const std::exception& e) {
        ShowMessageBox(MessageIcon::Error, e.what(), "Falha ao conectar.");
        EndProcess(0);
    }
    if (cancelled) EndProcess(0);
}

} // namespace fat
