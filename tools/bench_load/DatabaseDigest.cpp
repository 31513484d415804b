#include "DatabaseDigest.h"

#include "db/ConfigurarConexao.h"
#include "db/TCRSQLConnection.h"
#include "platform/sql/Query.h"

namespace bench {

std::string DatabaseDigest(const std::string& location) {
    fat::db::TCRSQLConnection connection;
    fat::db::ConfigurarConexao(connection, location, fat::db::SenhaPorChave("1"), "3");
    connection.open();
    fat::sql::Query q(connection);
    q.setSql("select"
             " (select count(*) || '/' || coalesce(sum(VALOR_NS), 0) || '/' || coalesce(sum(VRMERC_NS), 0) || '/' ||"
             "   coalesce(sum(BASECOMIS_NS), 0) || '/' || count(DTGERACONT_NS) from NOTASAI),"
             " (select count(*) || '/' || coalesce(sum(PRREAL_SA), 0) || '/' || coalesce(sum(QTDE_SA), 0) || '/' ||"
             "   coalesce(sum(ITEM_SA), 0) from ITENSNS),"
             " (select count(*) || '/' || coalesce(sum(VALOR_DP), 0) from DUPLICATAS),"
             " (select count(*) from NOTASAI_PEDVEND),"
             " (select count(*) || '/' || coalesce(max(VALOR_PA), '') from PARAM)"
             " from RDB$DATABASE");
    q.open();
    std::string digest;
    for (int i = 0; i < q.fieldCount(); ++i) digest += (i ? " " : "") + q.field(i).asString();
    return digest;
}

} // namespace bench
