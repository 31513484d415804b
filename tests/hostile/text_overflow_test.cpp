// Texts longer than the column they are bound for: a parameter longer than the receivable's
// situation, an accounting code or a day list longer than a site's narrower column, a composed
// product code longer than the item copy's. Each is an error that names the field before
// anything is written, never a copy that holds a cut text.
#include "../generation/GenerationFixture.h"

namespace fat::test {
namespace {

std::string Days(int count) {
    std::string s = FormatFloat("00", count) + " ";
    for (int i = 0; i < count; ++i) s += (i ? "/" : "") + std::string("030");
    return s;
}

TEST(HostileTextOverflow, TheSaveRefusesATextLongerThanItsColumnAndWritesNothing) {
    struct Case {
        const char* what;
        std::vector<std::string> schema; // statements that make the site's database
        std::string sitDuplicata;        // SIT_DUPLICATA_PADRAO, none when empty
        std::string codCont = "CC-1";
        std::string prazoPed = "03 030/060/090";
        std::string error; // a part of the error; empty: the save succeeds
    };
    const std::vector<Case> cases = {
        {"a default situation of 11 characters for a column of 10", {}, "SITUACAO_11", "CC-1", "03 030/060/090",
         "Field 'SIT_DP' holds at most 10 characters, the text given has 11"},
        {"a default situation of 1,000 characters (a site whose PARAM holds them)",
         {"alter table PARAM alter VALOR_PA type varchar(2000)"}, std::string(1000, 'S'), "CC-1", "03 030/060/090",
         "Field 'SIT_DP' holds at most 10 characters, the text given has 1000"},
        {"an accounting code longer than the site's receivable column",
         {"alter table DUPLICATAS drop CODCONTABIL_DP", "alter table DUPLICATAS add CODCONTABIL_DP varchar(10)"}, "",
         "1234567890123", "03 030/060/090", "Field 'CODCONTABIL_DP' holds at most 10 characters"},
        {"a day list of 50 instalments longer than the site's PRAZO_NS",
         {"alter table NOTASAI drop PRAZO_NS", "alter table NOTASAI add PRAZO_NS varchar(100)"}, "", "CC-1", Days(50),
         "Field 'PRAZO_NS' holds at most 100 characters, the text given has 199"},
        {"a default situation of exactly 10 characters", {}, "SITUACAO10", "CC-1", "03 030/060/090", ""},
        {"an accounting code of exactly the site's 10 characters",
         {"alter table DUPLICATAS drop CODCONTABIL_DP", "alter table DUPLICATAS add CODCONTABIL_DP varchar(10)"}, "",
         "1234567890", "03 030/060/090", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GenerationCase t;
        for (const auto& statement : c.schema) t.db.exec(statement);
        if (!c.sitDuplicata.empty()) t.setParam("SIT_DUPLICATA_PADRAO", c.sitDuplicata.c_str());
        GenerationFixture::Nota n;
        n.prazoPed = c.prazoPed;
        t.nota(n);
        t.db.exec("update NOTASAI set CODCONT_NS = " + QuotedStr(c.codCont));
        t.carregar();
        if (c.error.empty()) {
            ASSERT_NO_THROW(t.dm.GravarNotasPendentes());
            EXPECT_EQ(t.escrito(), (std::vector<std::string>{"1", "1", "3", "1", "1"}));
            const std::string situacao = c.sitDuplicata.empty() ? std::string("01") : c.sitDuplicata;
            EXPECT_EQ(t.linhas("select distinct SIT_DP || '|' || CODCONTABIL_DP from DUPLICATAS where FILIAL_DP = 100"),
                      std::vector<std::string>{situacao + "|" + c.codCont});
            continue;
        }
        try {
            t.dm.GravarNotasPendentes();
            ADD_FAILURE() << "the save went through";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
        }
        EXPECT_EQ(t.escrito(), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
        EXPECT_EQ(t.carimbo("000001"), "null");
    }
}

// A composed product code (product, variant and size) longer than the site's ITENSNS.PROD_SA
// stops the load with the field's name; one that fits exactly is copied whole.
TEST(HostileTextOverflow, TheLoadRefusesAnItemCopyTooLongForItsColumn) {
    struct Case {
        int columnSize;
        bool fits;
    };
    for (const Case& c : {Case{15, false}, Case{16, true}}) {
        SCOPED_TRACE("PROD_SA of " + std::to_string(c.columnSize) + " characters");
        GenerationCase t;
        t.dm.CriarPedidos();
        t.db.exec("alter table ITENSNS drop PROD_SA");
        t.db.exec("alter table ITENSNS add PROD_SA varchar(" + std::to_string(c.columnSize) + ")");
        t.setParam("GERAR_ITENS_FORMA_AGRUP_NF", "S");
        t.nota(GenerationFixture::Nota{});
        t.db.exec("update NOTASAI set FORMA_AGRUP_ITENS_NS = 'TAM'");
        t.db.exec("insert into PEDVENDA (NUM_PV, CODCLI_PV, SITDUP_PV, OBS_PV) values ('PED1', 1, '01', 'PRAZO 030')");
        t.db.exec("insert into NOTASAI_PEDVEND values (1, '000001', '1', 'PED1')");
        t.db.exec("insert into ITENSPV (PEDIDO_IT, ITEM_IT, PROD_IT, PADRON_IT, PRECO_IT, PRECO_BRUTO_IT, NF_IT,"
                  " SERIE_IT, FILIAL_IT, TP_COMIS_IT) values ('PED1', '1', 'PRODUTO123', '01', 100, 100, '000001', '1',"
                  " 1, 'R')");
        t.db.exec("insert into ITENSPVGRADE values ('PED1', '1', '38', 1)");
        if (!c.fits) {
            try {
                t.dm.AbrirNotasPendentes("", 0, 0);
                ADD_FAILURE() << "the load went through";
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find("Field 'PROD_SA' holds at most 15 characters, the text given has "
                                                     "16: 'PRODUTO123.01.38'"),
                          std::string::npos)
                    << e.what();
            }
            continue;
        }
        t.dm.AbrirNotasPendentes("", 0, 0);
        t.dm.GravarNotasPendentes();
        EXPECT_EQ(t.linhas("select PROD_SA from ITENSNS where FILIAL_SA = 100"),
                  std::vector<std::string>{"PRODUTO123.01.38"});
    }
}

} // namespace
} // namespace fat::test
