// The partial-billing rules of the load and of the reprocessing, side by side.
#include "TermsFixture.h"

namespace fat::test {
namespace {

using TermsParcial = TermsFixture;

Amount Valor(const char* texto) { return Amount::fromDecimal(Decimal::parse(texto)); }

TEST_F(TermsParcial, LoadRuleAndReprocessingRule) {
    struct Caso {
        const char* tpFatur;
        const char* empresa;
        const char* prazo;
        const char* aVista; // DUP_AVISTA_GERAR_PARCIAL_NOVO
        const char* cApres; // DUP_CAPRES_GERARPARCIAL
        const char* a;
        const char* b;
        bool parcial;
        bool parcialReprocessa;
    };
    const std::vector<Caso> casos = {
        // Ordinary term: partial for the load only.
        {"P", "", "30/60 DDL", "S", "S", "80.00", "100.00", true, false},
        {"P", "", "30/60 DDL", "S", "S", "100.00", "100.00", false, false},
        {"P", "", "30/60 DDL", "S", "S", "100.00", "80.00", false, false},
        {"P", "", "30/60 DDL", "S", "S", "99.9999", "100.00", true, false}, // exact to four decimals
        {"T", "", "30/60 DDL", "S", "S", "80.00", "100.00", false, false},
        {"P", "TORMINA", "30/60 DDL", "S", "S", "80.00", "100.00", false, false},
        {"P", "TORMINA", "A VISTA", "S", "S", "80.00", "100.00", false, false},
        // Cash terms follow the switch; BRUVETO's cash-register terms never are partial.
        {"P", "", "A VISTA", "S", "N", "80.00", "100.00", true, true},
        {"P", "", "A VISTA", "N", "S", "80.00", "100.00", false, false},
        {"P", "", "A VISTA C/ APRES", "N", "S", "80.00", "100.00", false, true},
        {"P", "", "A VISTA C/APRES", "N", "N", "80.00", "100.00", false, false},
        {"P", "", "A VISTA C/APRES", "S", "N", "80.00", "100.00", true, true},
        {"P", "BRUVETO", "A VISTA", "S", "S", "80.00", "100.00", true, true},
        {"P", "BRUVETO", "A VISTA CX", "S", "S", "80.00", "100.00", false, false},
        {"P", "BRUVETO", "A VISTA CX C/APRES", "S", "S", "80.00", "100.00", false, false},
        {"P", "BRUVETO", "A VISTA CX C/APRES", "N", "S", "80.00", "100.00", false, true},
        {"P", "", "A VISTA CX", "S", "S", "80.00", "100.00", true, true},
        {"P", "BRUVETO", "30/60 CX", "S", "S", "80.00", "100.00", true, false},
        {"T", "BRUVETO", "A VISTA", "S", "S", "80.00", "100.00", false, false},
        // Against presentation follows its own switch, in both spellings.
        {"P", "", "C/ APRES", "S", "S", "80.00", "100.00", true, true},
        {"P", "", "C/APRES", "S", "S", "80.00", "100.00", true, true},
        {"P", "", "C/APRES", "S", "N", "80.00", "100.00", false, false},
        {"P", "", "C/ APRES", "N", "N", "80.00", "100.00", false, false},
        {"P", "", "C/APRES", "S", "S", "100.00", "100.00", false, false},
        // Texts are compared case-sensitively: these are ordinary terms.
        {"P", "", "a vista", "N", "N", "80.00", "100.00", true, false},
        {"P", "", "c/apres", "S", "N", "80.00", "100.00", true, false},
    };
    nota(1, "000001", "1");
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.tpFatur) + " | " + c.empresa + " | " + c.prazo + " | " + c.aVista + c.cApres + " | " +
                     c.a + " " + c.b);
        dm.TPFATUR = c.tpFatur;
        dm.NOME_EMPRESA = c.empresa;
        dm.Parametros.DUP_AVISTA_GERAR_PARCIAL_NOVO = c.aVista;
        dm.Parametros.DUP_CAPRES_GERARPARCIAL = c.cApres;
        dm.cdsGera.fieldByName("PRAZO_NS").setAsString(c.prazo);
        EXPECT_EQ(dm.GeraParcial(Valor(c.a), Valor(c.b)), c.parcial);

        // The reprocessing rule reads the term it is given, not the current invoice's.
        dm.cdsGera.fieldByName("PRAZO_NS").setAsString("A VISTA C/APRES");
        EXPECT_EQ(dm.GeraParcialReprocessa(Valor(c.a), Valor(c.b), c.prazo), c.parcialReprocessa);
    }
}

// The switches come from the parameters as loaded: the former cash key no longer decides.
TEST_F(TermsParcial, SwitchesAsLoaded) {
    setParam("DUP_AVISTA_GERARPARCIAL", "S");
    setParam("DUP_AVISTA_GERAR_PARCIAL_NOVO", "N");
    setParam("DUP_CAPRES_GERARPARCIAL", "S");
    dm.CarregarParametros();
    dm.TPFATUR = "P";
    nota(1, "000001", "1", 1, "A VISTA");
    EXPECT_FALSE(dm.GeraParcial(Valor("80.00"), Valor("100.00")));
    dm.cdsGera.fieldByName("PRAZO_NS").setAsString("C/APRES");
    EXPECT_TRUE(dm.GeraParcial(Valor("80.00"), Valor("100.00")));
}

} // namespace
} // namespace fat::test
