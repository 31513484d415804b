// Item copies from size-grid rows: the grouping modes with their composed codes and
// descriptions, each size's share of its item, the customer's product, and the royalty.
#include "ItemsFixture.h"

using namespace fat;

namespace {

struct Esperada {
    std::string prod, desc, padron, tam;
    double qtde, real;
};

struct CasoModo {
    const char* forma;
    std::vector<Esperada> copias;
    friend std::ostream& operator<<(std::ostream& os, const CasoModo& c) { return os << "form " << c.forma; }
};

struct ModosAgrupamento : test::ItemsFixture, testing::WithParamInterface<CasoModo> {};

TEST_P(ModosAgrupamento, ComposeTheProductAndDescriptionAndMergeWhatTheModeLeavesOut) {
    setParam("GERAR_ITENS_FORMA_AGRUP_NF", "S");
    carregar();
    dm.FilGera = 100;
    produto("1234", "TENIS", "TENIS CORRIDA");
    variante("1234", "01", "AZUL");
    variante("1234", "02", "PRETO");
    const Nota nota{};
    pendente({.nota = nota, .forma = GetParam().forma});
    pedido("001234", {
        {.item = "1", .prod = "1234", .padron = "01", .grade = {{"38", 2}, {"39", 3}}, .nota = nota},
        {.item = "2", .prod = "1234", .padron = "02", .grade = {{"38", 1}}, .nota = nota},
    });
    EXPECT_EQ(copiar("001234", nota), Amount::fromRaw(600000));

    const auto c = copias();
    const auto& esperadas = GetParam().copias;
    ASSERT_EQ(c.size(), esperadas.size());
    for (std::size_t i = 0; i < c.size(); ++i) {
        SCOPED_TRACE(esperadas[i].prod);
        EXPECT_EQ(c[i].item, static_cast<int>(i) + 1);
        EXPECT_EQ(c[i].prod, esperadas[i].prod);
        EXPECT_EQ(c[i].desc, esperadas[i].desc);
        EXPECT_EQ(c[i].codProd, "1234");
        EXPECT_EQ(c[i].padron, esperadas[i].padron);
        EXPECT_EQ(c[i].tam, esperadas[i].tam);
        EXPECT_DOUBLE_EQ(c[i].qtde, esperadas[i].qtde);
        EXPECT_DOUBLE_EQ(c[i].real, esperadas[i].real);
        EXPECT_DOUBLE_EQ(c[i].preco, 10);
        EXPECT_EQ(c[i].un, "PR");
        EXPECT_TRUE(c[i].royalty.isNull()); // PREENCHER_ROYALTY is not "S"
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modos, ModosAgrupamento,
    testing::Values(CasoModo{"PROD", {{"1234", "TENIS CORRIDA", "", "", 6, 60}}},
                    CasoModo{"PROD+PAD",
                             {{"123401", "TENIS CORRIDA AZUL", "01", "", 5, 50},
                              {"123402", "TENIS CORRIDA PRETO", "02", "", 1, 10}}},
                    CasoModo{"PROD+PAD+TAM",
                             {{"1234.01.38", "TENIS CORRIDA AZUL 38", "01", "38", 2, 20},
                              {"1234.01.39", "TENIS CORRIDA AZUL 39", "01", "39", 3, 30},
                              {"1234.02.38", "TENIS CORRIDA PRETO 38", "02", "38", 1, 10}}}));

TEST(FormaAgrupamento, SizeBeforeVariantBeforeProduct) {
    struct Caso {
        const char* forma;
        int modo;
    };
    const Caso casos[] = {
        {"", 0}, {"PROD", 0}, {"PROD+PAD", 1}, {"PAD", 1}, {"PROD+PAD+TAM", 2}, {"TAM+PAD", 2},
        {"TAM", 2}, {"prod+pad+tam", 0}, // the form is compared case-sensitively
    };
    for (const Caso& c : casos) EXPECT_EQ(TDM::FormaAgrupamento(c.forma), c.modo) << c.forma;
}

using CopiasGrade = test::ItemsFixture;

// Each size takes its item's values divided by the item's quantity and times its own; under
// partial billing the copy carries the unbilled part at the unit difference.
TEST_F(CopiasGrade, EachSizeTakesItsShareOfTheItemsValues) {
    setParam("GERAR_ITENS_FORMA_AGRUP_NF", "S");
    carregar("CALCADOS MODELO", "P");
    produto("1234", "TENIS");
    const Nota nota{};
    pendente({.nota = nota, .forma = "TAM"});
    // Gross 10.00 and invoice price 6.00, 10 % item discount, sizes 38 (1 pair) and 39 (3 pairs):
    // net at gross prices 36.00, at invoice prices 21.60.
    pedido("001234", {{.item = "1", .prod = "1234", .preco = 6, .bruto = 10, .grade = {{"38", 1}, {"39", 3}},
                       .nota = nota, .pDescto = 10}});
    // Gross 40.00 less the discount of the billed items, 4.00.
    EXPECT_EQ(copiar("001234", nota), Amount::fromRaw(360000));

    const auto c = copias();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].prod, "1234..38"); // no variant
    EXPECT_DOUBLE_EQ(c[0].bruto, 10);
    EXPECT_DOUBLE_EQ(c[0].preco, 3.6); // (9.00 - 5.40) / 1
    EXPECT_DOUBLE_EQ(c[0].real, 3.6);
    EXPECT_EQ(c[1].prod, "1234..39");
    EXPECT_DOUBLE_EQ(c[1].preco, 3.6); // (27.00 - 16.20) / 3
    EXPECT_DOUBLE_EQ(c[1].real, 10.8);
    EXPECT_DOUBLE_EQ(c[1].qtde, 3);
}

TEST_F(CopiasGrade, ACustomerProductGivesTheCodeAndTheDescriptions) {
    setParam("GERAR_ITENS_FORMA_AGRUP_NF", "S");
    carregar();
    produto("1234", "TENIS", "TENIS NF");
    produto("C77", "BOTA DO CLIENTE"); // no invoice description: the description
    variante("1234", "01", "AZUL");
    variante("C77", "01", "MARROM");
    const Nota nota{};
    pendente({.nota = nota, .forma = "PROD+PAD"});
    pedido("001234", {{.item = "1", .prod = "1234", .prodCli = "C77", .padron = "01", .nota = nota}});
    copiar("001234", nota);

    const auto c = copias();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].prod, "C7701");
    EXPECT_EQ(c[0].codProd, "C77");
    EXPECT_EQ(c[0].desc, "BOTA DO CLIENTE MARROM");
    EXPECT_EQ(c[0].un, "PR"); // the unit is the order's product's
}

struct Royalty : test::ItemsFixture, testing::WithParamInterface<const char*> {};

TEST_P(Royalty, TheMergedCopyTakesTheLastRowsRoyaltyWhenTheParameterIsS) {
    setParam("GERAR_ITENS_FORMA_AGRUP_NF", "S");
    setParam("PREENCHER_ROYALTY", GetParam());
    carregar();
    produto("1234", "TENIS");
    const Nota nota{};
    pendente({.nota = nota, .forma = "PROD"});
    pedido("001234", {{.item = "1", .prod = "1234", .nota = nota, .royalty = 1.5},
                      {.item = "2", .prod = "1234", .nota = nota, .royalty = 2.25}});
    copiar("001234", nota);

    const auto c = copias();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_DOUBLE_EQ(c[0].qtde, 2);
    if (std::string(GetParam()) == "S") EXPECT_EQ(c[0].royalty, Value::fromFloat(2.25));
    else EXPECT_TRUE(c[0].royalty.isNull());
}

INSTANTIATE_TEST_SUITE_P(Parametro, Royalty, testing::Values("S", "N", "s"));

} // namespace
