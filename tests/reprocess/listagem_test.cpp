// The list of invoice copies whose merchandise value disagrees with their item copies.
#include "ReprocessFixture.h"

#include "platform/ini/ExecutablePath.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace fat::test {
namespace {

struct Listagem : ReprocessFixture {};

TEST_F(Listagem, ListsCopiesWhoseValueDiffersFromTheirItems) {
    copiaSimples("000001", 90, 80);   // differs
    copiaSimples("000002", 90, 90);   // agrees
    notaSai({.filial = 1, .docto = "000003"});
    notaSai({.filial = 100, .docto = "000003", .vrmerc = 50}); // no item copy: null sum
    // Branch 120 is looked up under branch 1 (120 / 100 truncated).
    notaSai({.filial = 120, .docto = "000001", .vrmerc = 70});
    itemCopia(120, "000001", 1, "X", 60);
    // A branch below 100 is never a copy.
    notaSai({.filial = 2, .docto = "000004", .vrmerc = 10});
    itemCopia(2, "000004", 1, "X", 5);

    listar();
    std::vector<std::string> l1 = listadas();
    std::sort(l1.begin(), l1.end()); // both have the same number: their order is the engine's
    EXPECT_EQ(l1, (std::vector<std::string>{"100/000001/1", "120/000001/1"}));
    data::ClientDataSet& l = dm.cdsNFVrDif;
    ASSERT_TRUE(l.locate("FILIAL_NS", Value::fromInteger(100)));
    EXPECT_EQ(l.fieldByName("VRMERC_NS").asAmount(), Amount::fromDouble(90));
    EXPECT_EQ(l.fieldByName("TOT_PRREAL_ITENSNS").asAmount(), Amount::fromDouble(80));
    EXPECT_EQ(l.fieldByName("DIFERENCA").asAmount(), Amount::fromDouble(10));
    EXPECT_EQ(l.fieldByName("VALOR_NOTA").asAmount(), Amount::fromDouble(100));
    EXPECT_EQ(l.fieldByName("PRAZO_NF_CONTAB").asString(), "30/60/90 DDL");
    EXPECT_FALSE(l.fieldByName("SELEC").asBoolean());
}

TEST_F(Listagem, SourceMustMatchDateCustomerAndType) {
    struct Caso {
        const char* nome;
        NotaSai origem;
        bool listada;
    };
    const std::vector<Caso> casos = {
        {"same day and customer", {.docto = "000001"}, true},
        {"other issue day", {.docto = "000001", .emissao = "2026-03-11"}, false},
        {"other customer", {.docto = "000001", .codigo = 2}, false},
        {"source cancelled", {.docto = "000001", .tpnota = "C"}, false},
        {"source of type E", {.docto = "000001", .tpnota = "E"}, false},
        {"source of type N", {.docto = "000001", .tpnota = "N"}, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        db.exec("delete from NOTASAI");
        db.exec("delete from ITENSNS");
        notaSai(c.origem);
        notaSai({.filial = 100, .docto = "000001", .vrmerc = 90});
        itemCopia(100, "000001", 1, "X", 80);
        listar();
        EXPECT_EQ(dm.cdsNFVrDif.recordCount(), c.listada ? 1 : 0);
    }
}

TEST_F(Listagem, FloatNoiseOfTheItemSumIsNoDifference) {
    // 0.1 + 0.2 is 0.30000000000000004 in floating point; in cents it is the copy's 0.30.
    notaSai({.docto = "000001"});
    notaSai({.filial = 100, .docto = "000001", .vrmerc = 0.30});
    itemCopia(100, "000001", 1, "A", 0.1);
    itemCopia(100, "000001", 2, "B", 0.2);
    notaSai({.docto = "000002"});
    notaSai({.filial = 100, .docto = "000002", .vrmerc = 0.30});
    itemCopia(100, "000002", 1, "A", 0.1);
    itemCopia(100, "000002", 2, "B", 0.19);
    listar();
    EXPECT_EQ(listadas(), (std::vector<std::string>{"100/000002/1"}));
}

TEST_F(Listagem, CancelledCopyIsNotListed) {
    notaSai({.docto = "000001"});
    notaSai({.filial = 100, .docto = "000001", .vrmerc = 90, .tpnota = "C"});
    itemCopia(100, "000001", 1, "X", 80);
    listar();
    EXPECT_EQ(dm.cdsNFVrDif.recordCount(), 0);
}

TEST_F(Listagem, FiltersByPeriodAndNumber) {
    for (const auto& [docto, dia] : std::vector<std::pair<std::string, std::string>>{
             {"000001", "2026-03-01"}, {"000002", "2026-03-10"}, {"000003", "2026-03-20"}}) {
        notaSai({.docto = docto, .emissao = dia});
        notaSai({.filial = 100, .docto = docto, .emissao = dia, .vrmerc = 90});
        itemCopia(100, docto, 1, "X", 80);
    }
    struct Caso {
        std::string docto;
        TDateTime ini, fim;
        std::vector<std::string> esperadas;
    };
    const std::vector<Caso> casos = {
        {"", 0, 0, {"100/000001/1", "100/000002/1", "100/000003/1"}},
        {"", EncodeDate(2026, 3, 10), 0, {"100/000002/1", "100/000003/1"}},
        {"", 0, EncodeDate(2026, 3, 10), {"100/000001/1", "100/000002/1"}},
        {"", EncodeDate(2026, 3, 10), EncodeDate(2026, 3, 10), {"100/000002/1"}},
        {"", EncodeDate(2026, 3, 20), EncodeDate(2026, 3, 1), {}}, // end before start
        {"000003", 0, 0, {"100/000003/1"}},
        {"   ", 0, 0, {"100/000001/1", "100/000002/1", "100/000003/1"}},
        {" 000003", 0, 0, {}}, // blanks stay inside the quotes
        {"12'3", 0, 0, {}},
        {"' OR '1'='1", 0, 0, {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE("docto '" + c.docto + "' " + std::to_string(c.ini) + ".." + std::to_string(c.fim));
        ASSERT_NO_THROW(listar(c.docto, c.ini, c.fim));
        EXPECT_EQ(listadas(), c.esperadas);
    }
}

TEST_F(Listagem, QueryTextIsWrittenBesideTheProgram) {
    const std::string arquivo = ini::ExecutableDir() + "/quiral.sql";
    std::ofstream(arquivo) << "an older text that is much longer than nothing\n";
    listar("12'3", EncodeDate(2026, 3, 1), 0);
    std::ifstream entrada(arquivo, std::ios::binary);
    std::stringstream texto;
    texto << entrada.rdbuf();
    std::string esperado;
    for (const auto& linha : dm.sqlNFVrDif.lines()) esperado += linha + "\n";
    EXPECT_EQ(texto.str(), esperado);
    EXPECT_NE(esperado.find("and EMISSAO_NS >= :EMISSAOINI\nand DOCTO_NS = '12''3'\norder by DOCTO_NS\n"),
              std::string::npos);
    EXPECT_EQ(esperado.find("EMISSAOFIM"), std::string::npos);
    EXPECT_EQ(esperado.rfind("SELECT N.filial_ns, N.docto_ns, N.serie_ns, N.emissao_ns, N.vrmerc_ns,\n", 0), 0u);
}

TEST_F(Listagem, ListingAgainDropsTheTicks) {
    copiaSimples("000001");
    listar();
    marcar();
    listar();
    ASSERT_EQ(dm.cdsNFVrDif.recordCount(), 1);
    EXPECT_FALSE(dm.cdsNFVrDif.fieldByName("SELEC").asBoolean());
}

} // namespace
} // namespace fat::test
