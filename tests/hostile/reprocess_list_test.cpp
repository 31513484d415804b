// The reprocessing list (invoice copies whose value differs from their item copies) under the
// same hostile document numbers and date ranges as the pending load: each selects exactly what
// it spells, raises no SQL error and changes nothing.
#include "../datamodule/DataModuleFixture.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/core/Win1252.h"

namespace fat::test {
namespace {

struct HostileReprocessList : DataModuleFixture {
    HostileReprocessList() {
        connect();
        // Invoice and copy of each number, issued on 10/03/2026; the copy's items add up to 90.
        for (const char* docto : {"000001", "000002", "1'2"}) {
            for (int filial : {1, 100})
                db.exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, EMISSAO_NS, CODIGO_NS, TPNOTA_NS, VALOR_NS,"
                        " VRMERC_NS) values (" +
                        std::to_string(filial) + ", " + QuotedStr(docto) + ", '1', '2026-03-10', 1, 'S', 100, 100)");
            db.exec("insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA, PRREAL_SA) values (100, " +
                    QuotedStr(docto) + ", '1', 1, 90)");
        }
    }
    std::vector<std::string> listed() {
        std::vector<std::string> r;
        for (dm.cdsNFVrDif.first(); !dm.cdsNFVrDif.eof(); dm.cdsNFVrDif.next())
            r.push_back(dm.cdsNFVrDif.fieldByName("DOCTO_NS").asString());
        return r;
    }
    std::string tables() {
        return db.scalar("select count(*) || '|' || sum(VRMERC_NS) from NOTASAI") + "|" +
               db.scalar("select count(*) || '|' || sum(PRREAL_SA) from ITENSNS");
    }
};

TEST_F(HostileReprocessList, DocumentNumbersSelectOnlyWhatTheySpell) {
    const std::vector<std::string> all = {"000001", "000002", "1'2"};
    struct Case {
        std::string documento;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"12'3", {}},
        {"' OR '1'='1", {}},
        {"000001' OR '1'='1", {}},
        {"x'; delete from ITENSNS; --", {}},
        {"*/ or 1=1 /*", {}},
        {":EMISSAOINI", {}},
        {"%", {}},
        {std::string(1000, '\''), {}},
        {Win1252("ÇÃÕ001"), {}},
        {std::string("000001\0' or ''='", 16), {}},
        {"1'2", {"1'2"}},
        {"000001", {"000001"}},
        {"   ", all},
    };
    const std::string before = tables();
    for (const Case& c : cases) {
        SCOPED_TRACE("document '" + c.documento.substr(0, 40) + "'");
        EXPECT_NO_THROW(dm.AbrirNotasDiferenca(c.documento, 0, 0));
        EXPECT_EQ(listed(), c.expected);
        EXPECT_EQ(tables(), before);
    }
}

TEST_F(HostileReprocessList, DateRangesGiveTheCopiesInsideTheBounds) {
    const TDateTime d10 = EncodeDate(2026, 3, 10);
    const std::vector<std::string> all = {"000001", "000002", "1'2"};
    struct Case {
        const char* what;
        TDateTime ini, fim;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"end before start", d10 + 1, d10 - 1, {}},
        {"end long before start", EncodeDate(2030, 1, 1), EncodeDate(2020, 1, 1), {}},
        {"the issue day itself", d10, d10, all},
        {"no bounds", 0, 0, all},
        {"the widest range", EncodeDate(1900, 1, 1), EncodeDate(9999, 12, 31), all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NO_THROW(dm.AbrirNotasDiferenca("", c.ini, c.fim));
        EXPECT_EQ(listed(), c.expected);
    }
}

} // namespace
} // namespace fat::test
