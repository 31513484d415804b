// The payment term from the code tables: by the order's term code in table "98", or by the
// invoice's own term found in table "18" and read under the same code in table "98".
#include "TermsFixture.h"

namespace fat::test {
namespace {

using TermsTabela = TermsFixture;

// A term text of 80 characters: the pattern built from it is cut to the 75 a description holds.
const std::string PrazoLongo = "45/90 DDL " + std::string(71, 'X');

TEST_F(TermsTabela, TermFromTheCodeTables) {
    tabela("98", "07", "02 030/060");
    tabela("98", "123", "03 030/060/090");
    tabela("98", "", "01 000");
    tabela("98", "33", "02 045/090");
    tabela("18", "07", "02 30/60 DDL");
    tabela("18", "09", "01 30 DIAS"); // no code 09 in table 98
    tabela("18", "", "03 10/20/30 DDL");
    tabela("18", "33", ("02 " + PrazoLongo).substr(0, 75));

    struct Caso {
        const char* nome;
        Value tabPrazo; // TABPRAZO_PV of the order
        std::optional<int> numParc;
        std::optional<std::string> prazoNs;
        std::optional<std::string> prazoPed; // none: unset
        std::optional<std::string> tabPrazoGera;
    };
    const Value nulo;
    const std::vector<Caso> casos = {
        {"order code", Value::fromString("07"), 2, "30/60", "02 030/060", "07"},
        {"long order code cut by the field", Value::fromString("123"), {}, {}, "03 030/060/090", "12"},
        {"order code not in table 98", Value::fromString("55"), 2, "30/60", {}, "55"},
        {"invoice term through table 18", nulo, 2, "30/60", "02 030/060", {}},
        {"empty order code: invoice term", Value::fromString(""), 2, "30/60", "02 030/060", {}},
        {"table 18 code missing in table 98", nulo, 1, "30", {}, {}},
        {"table 18 row with an empty code", nulo, 3, "10/20/30", {}, {}},
        {"invoice term in no table", nulo, 2, "50/100", {}, {}},
        {"invoice term longer than a description", nulo, 2, PrazoLongo, "02 045/090", {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        nota(1, "000001", "1", c.numParc, c.prazoNs);
        dm.BuscarPrazoTabela(c.tabPrazo);
        if (c.prazoPed)
            EXPECT_EQ(gera("PRAZOPED").asString(), *c.prazoPed);
        else
            EXPECT_TRUE(gera("PRAZOPED").isNull()) << gera("PRAZOPED").asString();
        if (c.tabPrazoGera)
            EXPECT_EQ(gera("TABPRAZO").asString(), *c.tabPrazoGera);
        else
            EXPECT_TRUE(gera("TABPRAZO").isNull()) << gera("TABPRAZO").asString();
    }
}

} // namespace
} // namespace fat::test
