// Spreading an invoice's target value over its item copies: partial billing, discount and
// expense shares with the remainder on the first copy, item commissions and their totals, and
// invoices that share a number.
#include "ItemsFixture.h"

using namespace fat;

namespace {

struct CasoParcial {
    const char* empresa;
    const char* tpfatur;
    double preco, real, comis, comisFat;
    friend std::ostream& operator<<(std::ostream& os, const CasoParcial& c) {
        return os << c.empresa << " TPFATUR " << c.tpfatur;
    }
};

struct FaturamentoParcial : test::ItemsFixture, testing::WithParamInterface<CasoParcial> {};

// One item of 10 pairs, gross price 100.00, invoice price 60.00, no discounts, VALOR_NS 600.00,
// an ordinary invoice term; commission 5 % on receipt and 2 % on billing.
TEST_P(FaturamentoParcial, TheCopiesCarryTheUnbilledPartAndItsCommissions) {
    const CasoParcial& c = GetParam();
    setParam("SUF_DESCTO_SUFRAMA", "N");
    carregar(c.empresa, c.tpfatur);
    produto("1234", "TENIS");
    const Nota nota{};
    pendente({.nota = nota, .valor = 600, .prazo = "30/60/90 DDL"});
    pedido("001234", {{.item = "1", .prod = "1234", .preco = 60, .bruto = 100, .grade = {{"38", 10}}, .nota = nota,
                       .percComis = 5, .percComisFat = 2}});

    EXPECT_EQ(copiar("001234", nota), Amount::fromRaw(10000000));
    dm.TotalizarItensNota();

    EXPECT_DOUBLE_EQ(gera("VALORPED"), 1000);
    const auto copia = copias();
    ASSERT_EQ(copia.size(), 1u);
    EXPECT_DOUBLE_EQ(copia[0].preco, c.preco);
    EXPECT_DOUBLE_EQ(copia[0].bruto, 100);
    EXPECT_DOUBLE_EQ(copia[0].real, c.real); // the target: nothing to spread, no remainder
    EXPECT_EQ(copia[0].vrDescto, Value::fromFloat(0));
    EXPECT_EQ(copia[0].vrDespesa, Value::fromFloat(0)); // the difference is 0
    if (c.comis == 0) {
        EXPECT_TRUE(copia[0].comis.isNull()); // gross and copy prices equal: no item commission
        EXPECT_TRUE(copia[0].comisFat.isNull());
    } else {
        EXPECT_EQ(copia[0].comis, Value::fromFloat(c.comis));
        EXPECT_EQ(copia[0].comisFat, Value::fromFloat(c.comisFat));
    }
    EXPECT_DOUBLE_EQ(gera("VRCOMIS_ITEM_REC"), c.comis);
    EXPECT_DOUBLE_EQ(gera("VRCOMIS_ITEM_FAT"), c.comisFat);
}

INSTANTIATE_TEST_SUITE_P(Casos, FaturamentoParcial,
                         testing::Values(CasoParcial{"CALCADOS MODELO", "P", 40, 400, 20, 8},
                                         CasoParcial{"CALCADOS MODELO", "T", 100, 1000, 0, 0},
                                         CasoParcial{"MIRCA", "P", 100, 400, 0, 0}));

struct CasoRateio {
    double alvo;
    std::vector<double> reais; // in the order of the copies
    const char* campo;         // the share set: discount or expense
    friend std::ostream& operator<<(std::ostream& os, const CasoRateio& c) { return os << "target " << c.alvo; }
};

struct Rateio : test::ItemsFixture, testing::WithParamInterface<CasoRateio> {};

// Three copies of 30.00 each against a target: each gets its share rounded to cents, the
// difference's share as a discount (target above the sum) or an expense (below), and the first
// copy the remainder.
TEST_P(Rateio, SpreadsTheTargetWithTheRemainderOnTheFirstCopy) {
    const CasoRateio& c = GetParam();
    setParam("SUF_DESCTO_SUFRAMA", "N");
    carregar();
    for (const char* p : {"1111", "2222", "3333"}) produto(p, "PRODUTO");
    const Nota nota{};
    pendente({.nota = nota, .valor = c.alvo});
    pedido("001234", {{.item = "1", .prod = "1111", .grade = {{"38", 3}}, .nota = nota},
                      {.item = "2", .prod = "2222", .grade = {{"38", 3}}, .nota = nota},
                      {.item = "3", .prod = "3333", .grade = {{"38", 3}}, .nota = nota}});
    EXPECT_EQ(copiar("001234", nota), Amount::fromRaw(900000));
    dm.cdsGera.fieldByName("VALORPED").setAsFloat(c.alvo);
    dm.TotalizarItensNota();

    const auto copia = copias();
    ASSERT_EQ(copia.size(), 3u);
    Amount soma;
    for (std::size_t i = 0; i < copia.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(copia[i].real, c.reais[i]);
        soma += Amount::fromDouble(copia[i].real);
        const Value& parte = std::string(c.campo) == "VRDESCTO_SA" ? copia[i].vrDescto : copia[i].vrDespesa;
        EXPECT_NEAR(parte.asFloat(), 10.0 / 3, 1e-9);
        if (std::string(c.campo) == "VRDESCTO_SA") EXPECT_TRUE(copia[i].vrDespesa.isNull());
        else EXPECT_EQ(copia[i].vrDescto, Value::fromFloat(0)); // as the copy left it
    }
    EXPECT_EQ(soma, Amount::fromDouble(c.alvo));
    EXPECT_DOUBLE_EQ(gera("VRCOMIS_ITEM_REC"), 0);
}

INSTANTIATE_TEST_SUITE_P(Alvos, Rateio,
                         testing::Values(CasoRateio{100, {33.34, 33.33, 33.33}, "VRDESCTO_SA"},
                                         CasoRateio{80, {26.66, 26.67, 26.67}, "VRDESPESA_SA"}));

using Totalizar = test::ItemsFixture;

TEST_F(Totalizar, CopiesWorthNothingOrNoCopiesSpreadNothing) {
    setParam("SUF_DESCTO_SUFRAMA", "N");
    carregar();
    produto("1234", "BRINDE");
    const Nota comBrinde{.docto = "000100"};
    const Nota semItens{.docto = "000200"};
    pedido("000001", {{.item = "1", .prod = "1234", .preco = 0, .bruto = 0, .grade = {{"38", 2}}, .nota = comBrinde}});

    for (const Nota& n : {comBrinde, semItens}) {
        SCOPED_TRACE(n.docto);
        pendente({.nota = n, .valor = 50});
        EXPECT_TRUE(copiar("000001", n).isZero());
        dm.cdsGera.fieldByName("VALORPED").setAsFloat(50);
        dm.TotalizarItensNota();
        EXPECT_DOUBLE_EQ(gera("VRCOMIS_ITEM_REC"), 0); // as the copy left it
        EXPECT_DOUBLE_EQ(gera("VRCOMIS_ITEM_FAT"), 0);
        EXPECT_FALSE(dm.cdsItens.filtered());
    }
    const auto copia = copias();
    ASSERT_EQ(copia.size(), 1u);
    EXPECT_DOUBLE_EQ(copia[0].real, 0);
    EXPECT_TRUE(copia[0].vrDespesa.isNull());
    EXPECT_EQ(copia[0].vrDescto, Value::fromFloat(0));
}

// Invoices with the same number in another series or another branch, each with an order of the
// same product at the same price: neither the merge nor the spread mixes them, on either path.
struct CasoMesmoNumero {
    test::ItemsFixture::Nota outra;
    const char* grade; // GERAR_ITENS_FORMA_AGRUP_NF
    friend std::ostream& operator<<(std::ostream& os, const CasoMesmoNumero& c) {
        return os << c.outra << " grid " << c.grade;
    }
};

struct NotasMesmoNumero : test::ItemsFixture, testing::WithParamInterface<CasoMesmoNumero> {};

TEST_P(NotasMesmoNumero, KeepTheirCopiesApart) {
    setParam("SUF_DESCTO_SUFRAMA", "S");
    setParam("GERAR_ITENS_FORMA_AGRUP_NF", GetParam().grade);
    carregar();
    produto("1234", "TENIS");
    const Nota a{.filial = 1, .docto = "000100", .serie = "1"};
    const Nota b = GetParam().outra;
    pedido("000001", {{.item = "1", .prod = "1234", .grade = {{"38", 3}}, .nota = a}});
    pedido("000002", {{.item = "1", .prod = "1234", .grade = {{"38", 5}}, .nota = b}});

    // As the load walks them: the derived branch of each, its orders, then its spread.
    dm.FilGera = TDM::FilialDerivada(a.filial);
    pendente({.nota = a, .valor = 30});
    EXPECT_EQ(copiar("000001", a), Amount::fromRaw(300000));
    dm.TotalizarItensNota();
    dm.FilGera = TDM::FilialDerivada(b.filial);
    pendente({.nota = b, .valor = 40, .suframa = 10}); // its target: 50.00 less 10.00
    EXPECT_EQ(copiar("000002", b), Amount::fromRaw(400000));
    dm.TotalizarItensNota();

    const auto copia = copias();
    ASSERT_EQ(copia.size(), 2u);
    EXPECT_EQ(copia[0].filialNf, a.filial);
    EXPECT_EQ(copia[0].filial, TDM::FilialDerivada(a.filial));
    EXPECT_EQ(copia[0].serie, a.serie);
    EXPECT_DOUBLE_EQ(copia[0].qtde, 3);
    EXPECT_DOUBLE_EQ(copia[0].real, 30);
    EXPECT_EQ(copia[0].vrDespesa, Value::fromFloat(0)); // its own spread had no difference
    EXPECT_EQ(copia[1].filialNf, b.filial);
    EXPECT_EQ(copia[1].filial, TDM::FilialDerivada(b.filial));
    EXPECT_EQ(copia[1].serie, b.serie);
    EXPECT_EQ(copia[1].item, 1);
    EXPECT_DOUBLE_EQ(copia[1].qtde, 5);
    EXPECT_DOUBLE_EQ(copia[1].real, 40);
    EXPECT_NEAR(copia[1].vrDespesa.asFloat(), 10, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Outra, NotasMesmoNumero,
    testing::Values(CasoMesmoNumero{{.filial = 1, .docto = "000100", .serie = "2"}, "N"},
                    CasoMesmoNumero{{.filial = 2, .docto = "000100", .serie = "1"}, "N"},
                    CasoMesmoNumero{{.filial = 1, .docto = "000100", .serie = "2"}, "S"},
                    CasoMesmoNumero{{.filial = 2, .docto = "000100", .serie = "1"}, "S"}));

} // namespace
