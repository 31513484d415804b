// The payment term read from the first line of an order's notes.
#include "TermsFixture.h"

namespace fat::test {
namespace {

using TermsObservacao = TermsFixture;

TEST_F(TermsObservacao, TermFromTheFirstLineOfTheNotes) {
    struct Caso {
        std::string notas;
        std::optional<std::string> prazoPed; // none: PRAZOPED stays unset
    };
    const std::vector<Caso> casos = {
        {"PRAZO: 30/60/90 DDL", "03 30/60/90"},
        {"PRAZO 30 DIAS", "01 30"},
        {"PRAZO A COMBINAR", "01 "},
        {"10 PRAZO 30", "01 10"},          // the walk starts at the line, not at the word
        {"PRAZO 30//60 PAGO 5", "03 30//60"}, // every slash counts; the first run only
        {"prazo 30 dias", {}},             // the word is upper case
        {"", {}},
        // Only the first line counts, whichever line break ends it.
        {"ENTREGA RAPIDA\r\nPRAZO 30/60", {}},
        {"PEDIDO 123\rPRAZO 30/60", {}},
        {"PEDIDO 123\nPRAZO 30/60", {}},
        {"\r\nPRAZO 30/60", {}},
        {"PRAZO\r\n30/60", "01 "},
        {"PRAZO\n30/60", "01 "},
        {"PRAZO\r30/60", "01 "},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.notas);
        nota(1, "000001", "1");
        dm.LerPrazoObservacao(c.notas);
        if (c.prazoPed)
            EXPECT_EQ(gera("PRAZOPED").asString(), *c.prazoPed);
        else
            EXPECT_TRUE(gera("PRAZOPED").isNull()) << gera("PRAZOPED").asString();
    }
}

TEST_F(TermsObservacao, TermAlreadySetIsKept) {
    nota(1, "000001", "1");
    dm.cdsGera.fieldByName("PRAZOPED").setAsString("02 030/060");
    dm.LerPrazoObservacao("PRAZO 90");
    EXPECT_EQ(gera("PRAZOPED").asString(), "02 030/060");

    // An empty text counts as not set (an empty plan of an earlier order).
    dm.cdsGera.fieldByName("PRAZOPED").setAsString("");
    dm.LerPrazoObservacao("PRAZO 90");
    EXPECT_EQ(gera("PRAZOPED").asString(), "01 90");
}

} // namespace
} // namespace fat::test
