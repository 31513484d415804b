// Item copies from order items: merging by invoice, product and price, the customer's product
// code, commission rates, the order value with its discounts, and the zero-quantity stop.
#include "ItemsFixture.h"

#include "platform/core/Errors.h"

#include <cmath>
#include <ostream>

using namespace fat;

namespace {

struct CopiasPedido : test::ItemsFixture {
    Nota nota{};
    void SetUp() override {
        setParam("SUF_DESCTO_SUFRAMA", "N");
        carregar();
        dm.FilGera = 100;
        produto("1234", "TENIS", "", "PR");
        pendente({.nota = nota, .valor = 62});
    }
};

TEST_F(CopiasPedido, MergesTheItemsOfOneProductAndPriceAndKeepsOtherPricesApart) {
    pedido("001234", {
        {.item = "1", .prod = "1234", .padron = "01", .grade = {{"38", 2}, {"39", 1}}, .nota = nota,
         .tpComis = "R", .percComis = 5, .percComisFat = 2},
        {.item = "2", .prod = "1234", .grade = {{"40", 2}}, .nota = nota, .tpComis = "F", .percComis = 7},
        {.item = "3", .prod = "1234", .preco = 12, .bruto = 12, .nota = nota, .tpComis = "F", .percComis = 7},
        // Billed on other invoices: an other number, and the same number in another series.
        {.item = "4", .prod = "1234", .nota = {.docto = "000200"}},
        {.item = "5", .prod = "1234", .nota = {.serie = "2"}},
    });
    const Amount valor = copiar("001234", nota, EncodeDate(2026, 3, 10) + 0.75);

    EXPECT_EQ(valor, Amount::fromRaw(620000));
    EXPECT_DOUBLE_EQ(gera("VALORPED"), 62);
    EXPECT_FALSE(dm.cdsGera.fieldByName("VRCOMIS_ITEM_REC").isNull()); // R11 turns null into 0
    EXPECT_DOUBLE_EQ(gera("VRCOMIS_ITEM_REC"), 0);

    const auto c = copias();
    ASSERT_EQ(c.size(), 2u);
    // Items 1 and 2 in one copy: its first row's rates, the quantities and values summed.
    EXPECT_EQ(c[0].filialNf, 1);
    EXPECT_EQ(c[0].filial, 100);
    EXPECT_EQ(c[0].docto, "000100");
    EXPECT_EQ(c[0].serie, "1");
    EXPECT_EQ(c[0].item, 1);
    EXPECT_EQ(c[0].data, EncodeDate(2026, 3, 10));
    EXPECT_EQ(c[0].prod, "1234");
    EXPECT_EQ(c[0].codProd, "1234");
    EXPECT_EQ(c[0].padron, "01");
    EXPECT_EQ(c[0].un, "PR");
    EXPECT_DOUBLE_EQ(c[0].qtde, 5);
    EXPECT_DOUBLE_EQ(c[0].preco, 10);
    EXPECT_DOUBLE_EQ(c[0].bruto, 10);
    EXPECT_DOUBLE_EQ(c[0].real, 50);
    EXPECT_EQ(c[0].tpComis, "R");
    EXPECT_DOUBLE_EQ(c[0].percComis, 5);
    EXPECT_DOUBLE_EQ(c[0].percComisFat, 2);
    EXPECT_EQ(c[0].vrDescto, Value::fromFloat(0));
    EXPECT_TRUE(c[0].royalty.isNull());
    EXPECT_TRUE(c[0].vrDespesa.isNull());
    // Item 3 at another price: its own copy, with a billing-only commission ("F").
    EXPECT_EQ(c[1].item, 2);
    EXPECT_DOUBLE_EQ(c[1].qtde, 1);
    EXPECT_DOUBLE_EQ(c[1].preco, 12);
    EXPECT_DOUBLE_EQ(c[1].real, 12);
    EXPECT_EQ(c[1].tpComis, "R");
    EXPECT_DOUBLE_EQ(c[1].percComis, 0);
    EXPECT_DOUBLE_EQ(c[1].percComisFat, 7);
}

TEST_F(CopiasPedido, ACustomerProductCodeNeverMergesAndProductCodesIgnoreCase) {
    produto("ab-1", "MEIA");
    pedido("001234", {
        {.item = "1", .prod = "1234", .prodCli = "CLI-9", .nota = nota},
        {.item = "2", .prod = "1234", .prodCli = "CLI-9", .nota = nota},
        {.item = "3", .prod = "1234", .nota = nota},
        {.item = "4", .prod = "ab-1", .nota = nota},
        {.item = "5", .prod = "AB-1", .nota = nota},
    });
    copiar("001234", nota);

    int cliente = 0, proprio = 0, meia = 0;
    for (const auto& c : copias()) {
        if (c.prod == "CLI-9") {
            ++cliente;
            EXPECT_EQ(c.codProd, "CLI-9");
            EXPECT_DOUBLE_EQ(c.qtde, 1);
        } else if (c.prod == "1234") {
            ++proprio;
            EXPECT_DOUBLE_EQ(c.qtde, 1);
        } else {
            ++meia;
            EXPECT_TRUE(c.prod == "ab-1" || c.prod == "AB-1") << c.prod;
            EXPECT_DOUBLE_EQ(c.qtde, 2);
            EXPECT_DOUBLE_EQ(c.real, 20);
        }
    }
    EXPECT_EQ(cliente, 2);
    EXPECT_EQ(proprio, 1);
    EXPECT_EQ(meia, 1);
}

TEST_F(CopiasPedido, TheOrderValueAddsEachOrdersGrossValueLessItsDiscountAndReusesTheStatement) {
    produto("5678", "BOTA");
    // 10 pairs at 10.00 with a 10 % item discount: gross 100.00, net 90.00, discount 10.00.
    pedido("000001", {{.item = "1", .prod = "1234", .grade = {{"38", 10}}, .nota = nota, .pDescto = 10}});
    pedido("000002", {
        {.item = "1", .prod = "5678", .preco = 20, .bruto = 20, .grade = {{"40", 2}}, .nota = nota},
        {.item = "2", .prod = "1234", .nota = nota}, // merges into the first order's copy
    });

    EXPECT_EQ(copiar("000001", nota), Amount::fromRaw(900000));
    const auto preparados = dm.sqlCon.statementsPrepared();
    EXPECT_EQ(copiar("000002", nota), Amount::fromRaw(1400000)); // 90 + 40 + 10
    EXPECT_EQ(dm.sqlCon.statementsPrepared(), preparados);      // same texts, same statements

    const auto c = copias();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].prod, "1234");
    EXPECT_EQ(c[0].item, 1);
    EXPECT_DOUBLE_EQ(c[0].qtde, 11);
    EXPECT_DOUBLE_EQ(c[0].real, 100); // net 90.00 and 10.00
    EXPECT_EQ(c[1].prod, "5678");
    EXPECT_EQ(c[1].item, 1); // numbered per order
    EXPECT_DOUBLE_EQ(c[1].real, 40);
}

TEST_F(CopiasPedido, AnOrderWithNoItemOnTheInvoiceCopiesNothing) {
    pedido("001234", {{.item = "1", .prod = "1234", .nota = {.docto = "000200"}}});
    EXPECT_TRUE(copiar("001234", nota).isZero());
    EXPECT_TRUE(copias().empty());
    EXPECT_DOUBLE_EQ(gera("VALORPED"), 0);
}

// Items without a quantity stop the load before anything of the row is written.
struct CasoQuantidade {
    const char* grade; // GERAR_ITENS_FORMA_AGRUP_NF
    std::vector<std::pair<std::string, double>> tamanhos;
    int copiasDoItem; // of item 3, made before its row without quantity
    friend std::ostream& operator<<(std::ostream& os, const CasoQuantidade& c) {
        os << "grid path " << c.grade << ", sizes";
        for (const auto& [tam, qtde] : c.tamanhos) os << " " << tam << ":" << qtde;
        return os;
    }
};

struct QuantidadeZero : test::ItemsFixture, testing::WithParamInterface<CasoQuantidade> {};

TEST_P(QuantidadeZero, StopsWithAnErrorNamingTheOrderAndTheItem) {
    const CasoQuantidade& caso = GetParam();
    setParam("GERAR_ITENS_FORMA_AGRUP_NF", caso.grade);
    carregar();
    produto("1234", "TENIS");
    produto("9999", "CHINELO");
    const Nota nota{};
    pendente({.nota = nota, .forma = "PROD+PAD+TAM"});
    pedido("001234", {{.item = "1", .prod = "1234", .grade = {{"38", 3}}, .nota = nota},
                      {.item = "3", .prod = "9999", .grade = caso.tamanhos, .nota = nota}});

    try {
        copiar("001234", nota);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Quantidade zero no item 3 do pedido 001234.");
    }
    EXPECT_EQ(dm.cdsItens.state(), data::DataSetState::Browse);
    int doItem = 0;
    for (const auto& c : copias()) {
        EXPECT_TRUE(std::isfinite(c.preco) && std::isfinite(c.real) && std::isfinite(c.qtde));
        if (c.codProd != "9999") continue;
        ++doItem;
        EXPECT_EQ(c.tam, "38");
        EXPECT_DOUBLE_EQ(c.qtde, 2);
    }
    EXPECT_EQ(doItem, caso.copiasDoItem);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, QuantidadeZero,
    testing::Values(CasoQuantidade{"N", {}, 0},                     // an item without size-grid rows
                    CasoQuantidade{"N", {{"38", 0}, {"39", 0}}, 0}, // grid quantities all 0
                    CasoQuantidade{"S", {{"38", 0}, {"39", 0}}, 0}, // size-grid path, all 0
                    CasoQuantidade{"S", {{"38", 2}, {"39", 0}}, 1})); // one size without quantity


// R12: the invoice's SUFRAMA, PIS and COFINS discounts come off the order value once.
struct CasoImpostos {
    const char* parametro;
    double suframa, pis, cofins;
    double depoisPrimeiro, depoisSegundo, campoSuframa;
    friend std::ostream& operator<<(std::ostream& os, const CasoImpostos& c) {
        return os << "SUF_DESCTO_SUFRAMA " << c.parametro << " suframa " << c.suframa << " pis " << c.pis
                  << " cofins " << c.cofins;
    }
};

struct DescontosImpostos : test::ItemsFixture, testing::WithParamInterface<CasoImpostos> {};

TEST_P(DescontosImpostos, ComeOffTheFirstOrderOnlyUnlessTheParameterIsN) {
    const CasoImpostos& c = GetParam();
    setParam("SUF_DESCTO_SUFRAMA", c.parametro);
    carregar();
    produto("1234", "TENIS");
    const Nota nota{};
    pendente({.nota = nota, .suframa = c.suframa, .pis = c.pis, .cofins = c.cofins});
    pedido("000001", {{.item = "1", .grade = {{"38", 10}}, .nota = nota}});
    pedido("000002", {{.item = "1", .grade = {{"38", 3}}, .nota = nota}});

    EXPECT_DOUBLE_EQ(copiar("000001", nota).toDouble(), c.depoisPrimeiro);
    EXPECT_DOUBLE_EQ(gera("VRDESCTOSUFRAMA_NS"), c.campoSuframa);
    EXPECT_DOUBLE_EQ(copiar("000002", nota).toDouble(), c.depoisSegundo);
    EXPECT_DOUBLE_EQ(gera("VALORPED"), c.depoisSegundo);
}

INSTANTIATE_TEST_SUITE_P(Casos, DescontosImpostos,
                         testing::Values(CasoImpostos{"S", 50, 0, 0, 50, 80, 0},
                                         CasoImpostos{"S", 50, 1.5, 7, 41.5, 71.5, 0},
                                         CasoImpostos{"X", 50, 0, 0, 50, 80, 0}, // all but "N" subtract
                                         CasoImpostos{"N", 50, 1.5, 7, 100, 130, 50}));

using DescontosImpostosSemItens = test::ItemsFixture;

TEST_F(DescontosImpostosSemItens, MakeTheValueOfAnOrderWithoutItemsOnTheInvoiceNegative) {
    carregar(); // SUF_DESCTO_SUFRAMA defaults to "S"
    const Nota nota{};
    pendente({.nota = nota, .pis = 3});
    pedido("001234", {{.item = "1", .nota = {.docto = "000200"}}});
    EXPECT_EQ(copiar("001234", nota), Amount::fromRaw(-30000));
    EXPECT_TRUE(copias().empty());
}

} // namespace
