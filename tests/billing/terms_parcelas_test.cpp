// The instalment plan of an order: from its own instalments or from its payment term, with
// PRAZOPED in the plan form, SITDUP and the cdsPrazos rows under the invoice.
#include "TermsFixture.h"

namespace fat::test {
namespace {

struct TermsParcelas : TermsFixture {
    TermsParcelas() {
        // Order instalments, inserted out of order: the plan is read by days.
        parcelaPedido("PED1", 56, "01", "S");
        parcelaPedido("PED1", 84, "01", "S");
        parcelaPedido("PED1", 28, "01", "S");
        // Order instalments none of which is 'S': the order has a plan, an empty one.
        parcelaPedido("PED2", 30, "01", "A");
        parcelaPedido("PED2", 60, "01", "N");
        parcelaPedido("PED2", 90, "01", {});
        // First situation empty, the second gives SITDUP.
        parcelaPedido("PED5", 30, {}, "S");
        parcelaPedido("PED5", 60, "14", "S");
        parcelaPedido("12'45", 10, "03", "S");

        parcelaPrazo(10, 30, "05", "N", "S");
        // A cash instalment and a 30-day one.
        parcelaPrazo(20, 30, "01", "N", "S");
        parcelaPrazo(20, 0, "01", "S", "S");
        // Only rows with SEMCOB_PA 'S' count.
        parcelaPrazo(30, 30, "02", "N", "S");
        parcelaPrazo(30, 60, "02", "N", "N");
        parcelaPrazo(30, 90, "02", "N", {});
        parcelaPrazo(30, 120, "02", "N", "s");
        parcelaPrazo(30, 45, "02", {}, "S");
        parcelaPrazo(40, 15, "", "N", "S");
        parcelaPrazo(40, 45, "14", "N", "S");
    }
};

TEST_F(TermsParcelas, PlanFromTheOrderOrItsPaymentTerm) {
    struct Caso {
        const char* nome;
        std::int64_t prazoPagto;
        std::string pedido;
        std::string prazoPed;
        std::string sitDup;
        std::vector<std::pair<std::int64_t, std::string>> parcelas; // days, situation
    };
    const std::vector<Caso> casos = {
        {"order plan wins over the term", 10, "PED1", "03 028/056/084", "01", {{28, "01"}, {56, "01"}, {84, "01"}}},
        {"order rows none of which is S", 10, "PED2", "", "", {}},
        {"term with a cash row", 20, "SEMPARC", "02 A VISTA (CX)/030", "01", {{0, "01"}, {30, "01"}}},
        {"term rows without collection left out", 30, "SEMPARC", "02 030/045", "02", {{30, "02"}, {45, "02"}}},
        {"first order situation null", 10, "PED5", "02 030/060", "14", {{30, ""}, {60, "14"}}},
        {"first term situation empty", 40, "SEMPARC", "02 015/045", "14", {{15, ""}, {45, "14"}}},
        {"order number with a quote", 10, "12'45", "01 010", "03", {{10, "03"}}},
        {"no plan anywhere", 99, "SEMPARC", "", "", {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        dm.PrepararPrazos();
        nota(3, "000100", "2");
        // What an earlier order gave is replaced, also by an empty plan.
        dm.cdsGera.fieldByName("PRAZOPED").setAsString("01 099");
        dm.cdsGera.fieldByName("SITDUP").setAsString("77");

        dm.CarregarParcelas(c.prazoPagto, c.pedido, 3, "000100", "2");

        EXPECT_EQ(gera("PRAZOPED").asString(), c.prazoPed);
        EXPECT_EQ(gera("SITDUP").asString(), c.sitDup);
        std::vector<Parcela> esperadas;
        for (const auto& [dias, sit] : c.parcelas) esperadas.emplace_back(3, "000100", "2", dias, sit);
        EXPECT_EQ(prazos(), esperadas);
    }
}

// Invoices sharing a number in another series or branch keep their own plans; an invoice with
// two planned orders gets the terms of the last one and the rows of both.
TEST_F(TermsParcelas, EachInvoiceKeepsItsOwnRows) {
    parcelaPedido("PA", 60, "01", "S");
    parcelaPedido("PA", 30, "01", "S");
    parcelaPedido("PB", 45, "14", "S");
    parcelaPedido("PD", 30, "01", "S");
    parcelaPedido("PE", 60, "14", "S");

    nota(1, "000200", "1");
    dm.CarregarParcelas(0, "PA", 1, "000200", "1");
    nota(1, "000200", "2");
    dm.CarregarParcelas(0, "PB", 1, "000200", "2");
    nota(2, "000200", "1");
    dm.CarregarParcelas(20, "SEMPARC", 2, "000200", "1");
    nota(1, "000300", "1");
    dm.CarregarParcelas(0, "PD", 1, "000300", "1");
    dm.CarregarParcelas(0, "PE", 1, "000300", "1");
    dm.cdsGera.post();

    const std::vector<Parcela> esperadas = {
        {1, "000200", "1", 30, "01"}, {1, "000200", "1", 60, "01"}, {1, "000200", "2", 45, "14"},
        {2, "000200", "1", 0, "01"},  {2, "000200", "1", 30, "01"}, {1, "000300", "1", 30, "01"},
        {1, "000300", "1", 60, "14"},
    };
    EXPECT_EQ(prazos(), esperadas);

    struct Nota {
        int filial;
        const char* docto;
        const char* serie;
        const char* prazoPed;
        const char* sitDup;
    };
    for (const Nota& n : {Nota{1, "000200", "1", "02 030/060", "01"}, Nota{1, "000200", "2", "01 045", "14"},
                          Nota{2, "000200", "1", "02 A VISTA (CX)/030", "01"}, Nota{1, "000300", "1", "01 060", "14"}}) {
        SCOPED_TRACE(std::to_string(n.filial) + "/" + n.docto + "/" + n.serie);
        ASSERT_TRUE(dm.cdsGera.locate("FILIAL_NS;DOCTO_NS;SERIE_NS", {Value::fromInteger(n.filial),
                                                                     Value::fromString(n.docto),
                                                                     Value::fromString(n.serie)}));
        EXPECT_EQ(gera("PRAZOPED").asString(), n.prazoPed);
        EXPECT_EQ(gera("SITDUP").asString(), n.sitDup);
    }

    // The save finds an instalment's situation by the invoice and the days.
    EXPECT_TRUE(dm.cdsPrazos.locate("FILIALNF;NUMNF;SERIENF;DIAS", {Value::fromInteger(1), Value::fromString("000200"),
                                                                    Value::fromString("2"), Value::fromInteger(45)}));
    EXPECT_EQ(dm.cdsPrazos.fieldByName("SIT").asString(), "14");
    EXPECT_FALSE(dm.cdsPrazos.locate("FILIALNF;NUMNF;SERIENF;DIAS", {Value::fromInteger(1), Value::fromString("000200"),
                                                                     Value::fromString("2"), Value::fromInteger(30)}));
}

} // namespace
} // namespace fat::test
