// The reprocessing on the demo database: every copy it lists can be rebuilt, and once rebuilt
// it is no longer listed.
#include "../datamodule/DataModuleFixture.h"

#include "db/DemoData.h"
#include "salesorder/TPedVenda.h"

namespace fat::test {
namespace {

struct ReprocessDemo : DataModuleFixture {
    ReprocessDemo() {
        db::DemoDataOptions options;
        options.pendingInvoices = 120;
        db::GenerateDemoData(db.connection(), options);
        connect();
        dm.CarregarParametros();
        sql::Query config(dm.sqlCon);
        config.setSql("select NOME_EMPRESA, TPFATUR from CONFIG");
        config.open();
        dm.NOME_EMPRESA = config.fieldByName("NOME_EMPRESA").asString();
        dm.TPFATUR = config.fieldByName("TPFATUR").asString();
        dm.PedVendaBruto = std::make_unique<TPedVenda>(dm.sqlCon);
        dm.PedVendaLiquido = std::make_unique<TPedVenda>(dm.sqlCon);
    }
};

TEST_F(ReprocessDemo, EveryListedCopyIsRebuiltAndLeavesTheList) {
    dm.AbrirNotasDiferenca("", 0, 0);
    data::ClientDataSet& l = dm.cdsNFVrDif;
    ASSERT_GT(l.recordCount(), 0) << "the demo holds copies that disagree with their items";
    const std::string antes = db.scalar("select count(*) from ITENSNS where FILIAL_SA < 100");
    for (l.first(); !l.eof(); l.next()) {
        l.edit();
        l.fieldByName("SELEC").setAsBoolean(true);
        l.post();
    }
    dm.ReprocessarItens();
    dm.AbrirNotasDiferenca("", 0, 0);
    EXPECT_EQ(l.recordCount(), 0);
    for (l.first(); !l.eof(); l.next())
        ADD_FAILURE() << l.fieldByName("FILIAL_NS").asString() << "/" << l.fieldByName("DOCTO_NS").asString()
                      << " vrmerc " << l.fieldByName("VRMERC_NS").asString() << " items "
                      << db.scalar("select sum(PRREAL_SA) from ITENSNS where FILIAL_SA = " +
                                   l.fieldByName("FILIAL_NS").asString() + " and DOCTO_SA = '" +
                                   l.fieldByName("DOCTO_NS").asString() + "'")
                      << " valor " << db.scalar("select VALOR_NS from NOTASAI where FILIAL_NS = " +
                                   l.fieldByName("FILIAL_NS").asString() + " and DOCTO_NS = '" +
                                   l.fieldByName("DOCTO_NS").asString() + "'");
    EXPECT_EQ(db.scalar("select count(*) from ITENSNS where FILIAL_SA < 100"), antes)
        << "only the copies' items are touched";
}

} // namespace
} // namespace fat::test
