// The reprocessing phase of the benchmark and its input.
#include "BillingPhases.h"

#include "db/ConfigurarConexao.h"
#include "db/TCRSQLConnection.h"
#include "platform/sql/Query.h"

namespace bench {

int UnbalanceCopies(const std::string& location) {
    fat::db::TCRSQLConnection connection;
    fat::db::ConfigurarConexao(connection, location, fat::db::SenhaPorChave("1"), "3");
    connection.open();
    fat::sql::Query q(connection);
    q.setSql("update NOTASAI set VRMERC_NS = VRMERC_NS + 1.25"
             " where FILIAL_NS >= 100 and mod(cast(DOCTO_NS as integer), 3) = 0");
    return static_cast<int>(q.execSql()); // committed at once
}

int Reprocess(fat::TDM& dm) {
    dm.AbrirNotasDiferenca("", 0, 0);
    fat::data::ClientDataSet& list = dm.cdsNFVrDif;
    fat::data::Field& selected = list.fieldByName("SELEC");
    list.disableControls();
    for (list.first(); !list.eof(); list.next()) {
        list.edit();
        selected.setAsBoolean(true);
        list.post();
    }
    list.enableControls();
    dm.ReprocessarItens();
    return list.recordCount();
}

} // namespace bench
