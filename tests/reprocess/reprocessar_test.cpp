// The rewriting of the item copies and the value of the ticked invoice copies.
#include "ReprocessFixture.h"

#include "platform/sql/DatabaseError.h"

#include <cmath>
#include <algorithm>
#include <tuple>

namespace fat::test {
namespace {

struct Reprocessar : ReprocessFixture {
    void reprocessar(const std::vector<std::string>& doctos = {}) {
        listar();
        marcar(doctos);
        dm.ReprocessarItens();
    }
};

TEST_F(Reprocessar, RewritesTheItemCopiesAndTheCopysValue) {
    copiaSimples("000001", 90, 50);
    itemCopia(100, "000001", 2, "OLD2", 30);
    const std::string origemAntes = valores(1, "000001");
    reprocessar();

    const auto itens = itensNS(100, "000001");
    ASSERT_EQ(itens.size(), 1u);
    const ItemNS& i = itens[0];
    EXPECT_EQ(i.item, 1);
    EXPECT_EQ(i.prod, "1234");
    EXPECT_EQ(i.codProd, "1234");
    EXPECT_DOUBLE_EQ(i.qtde, 10);
    EXPECT_DOUBLE_EQ(i.preco, 10);
    EXPECT_DOUBLE_EQ(i.bruto, 10);
    EXPECT_DOUBLE_EQ(i.real, 100);
    EXPECT_EQ(i.tpComis, "R");
    EXPECT_EQ(i.data, EncodeDate(2026, 3, 10));
    EXPECT_TRUE(i.royalty.isNull());
    EXPECT_EQ(valores(100, "000001"), "100.00|100.00");
    EXPECT_EQ(valores(1, "000001"), origemAntes) << "the source invoice is never touched";

    listar();
    EXPECT_EQ(dm.cdsNFVrDif.recordCount(), 0) << "a second listing no longer shows it";
}

TEST_F(Reprocessar, OnlyTickedCopiesAreRewritten) {
    copiaSimples("000001");
    copiaSimples("000002");
    reprocessar({"000002"});
    EXPECT_EQ(itensNS(100, "000001")[0].prod, "OLD");
    EXPECT_EQ(itensNS(100, "000002")[0].prod, "1234");
    EXPECT_EQ(dm.cdsNFVrDif.recNo(), 1) << "the walk ends on the first row";
    EXPECT_FALSE(dm.cdsNFVrDif.controlsDisabled());
}

TEST_F(Reprocessar, SameProductAndPriceMerge) {
    notaSai({.docto = "000001"});
    notaSai({.filial = 100, .docto = "000001", .vrmerc = 90});
    itemCopia(100, "000001", 1, "OLD", 80);
    pedidoNota("PA", {1, "000001", "1"},
               {{.item = "1", .prod = "1234", .prodCli = "C-1234", .grade = {{"37", 1}}},
                {.item = "2", .prod = "1234", .grade = {{"38", 2}}},
                {.item = "3", .prod = "1234", .grade = {{"39", 3}}}});
    // Rows stored under a customer's code are looked up by the order's code: never merged.
    pedidoNota("PB", {1, "000001", "1"},
               {{.item = "1", .prod = "1234", .grade = {{"41", 4}}},
                {.item = "2", .prod = "5555", .prodCli = "C-9", .grade = {{"41", 1}}},
                {.item = "3", .prod = "5555", .prodCli = "C-9", .grade = {{"42", 1}}}});
    reprocessar();

    std::vector<std::tuple<int, std::string, double, double>> linhas; // item, product, quantity, real value
    for (const auto& i : itensNS(100, "000001")) linhas.emplace_back(i.item, i.prod, i.qtde, i.real);
    std::sort(linhas.begin(), linhas.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<1>(a), std::get<0>(a)) < std::tie(std::get<1>(b), std::get<0>(b));
    });
    std::vector<std::string> produtos;
    std::vector<int> numeros;
    for (const auto& [item, prod, qtde, real] : linhas) {
        produtos.push_back(prod + " x" + std::to_string(static_cast<int>(qtde)) + " = " + std::to_string(real));
        numeros.push_back(item);
    }
    std::sort(numeros.begin(), numeros.end());
    EXPECT_EQ(numeros, (std::vector<int>{1, 2, 3, 4})) << "numbered 1, 2, ... across the orders";
    EXPECT_EQ(produtos, (std::vector<std::string>{"1234 x9 = 90.000000", "C-1234 x1 = 10.000000",
                                                  "C-9 x1 = 10.000000", "C-9 x1 = 10.000000"}));
    EXPECT_EQ(valores(100, "000001"), "120.00|120.00");
}

TEST_F(Reprocessar, RemainderGoesToTheFirstRow) {
    // Three rows of 40.00 (120.00 gross) less 20.00 of SUFRAMA: 100.00 spread in thirds.
    notaSai({.docto = "000001", .suframa = 10, .pis = 6, .cofins = 4});
    notaSai({.filial = 100, .docto = "000001", .vrmerc = 90});
    itemCopia(100, "000001", 1, "OLD", 80);
    pedidoNota("PA", {1, "000001", "1"},
               {{.item = "1", .prod = "A", .preco = 40, .bruto = 40},
                {.item = "2", .prod = "B", .preco = 40, .bruto = 40},
                {.item = "3", .prod = "C", .preco = 40, .bruto = 40}});
    reprocessar();

    const auto itens = itensNS(100, "000001");
    ASSERT_EQ(itens.size(), 3u);
    EXPECT_DOUBLE_EQ(itens[0].real, 33.34);
    EXPECT_DOUBLE_EQ(itens[1].real, 33.33);
    EXPECT_DOUBLE_EQ(itens[2].real, 33.33);
    for (const auto& i : itens) {
        EXPECT_NEAR(i.despesa.asFloat(), 20.0 / 3, 1e-9) << "the difference spread as expense";
        EXPECT_TRUE(i.descto.isNull() || i.descto.asFloat() == 0);
        EXPECT_TRUE(i.comis.isNull()) << "no commission where the price is the gross one";
    }
    EXPECT_EQ(valores(100, "000001"), "100.00|100.00");
}

TEST_F(Reprocessar, SuframaDiscountKeptWhenSwitchedOff) {
    parametro("SUF_DESCTO_SUFRAMA", "N");
    notaSai({.docto = "000001", .suframa = 10, .pis = 6, .cofins = 4});
    notaSai({.filial = 100, .docto = "000001", .vrmerc = 90});
    itemCopia(100, "000001", 1, "OLD", 80);
    pedidoNota("PA", {1, "000001", "1"}, {{.item = "1", .prod = "A", .preco = 40, .bruto = 40}});
    reprocessar();
    EXPECT_EQ(valores(100, "000001"), "40.00|40.00");
    EXPECT_DOUBLE_EQ(itensNS(100, "000001")[0].real, 40);
}

TEST_F(Reprocessar, ValueAlreadyRightLeavesTheCopyRowAlone) {
    // VRMERC already 100.00, VALOR_NS 123.00: an update would set both to 100.00.
    notaSai({.docto = "000001"});
    notaSai({.filial = 100, .docto = "000001", .valor = 123, .vrmerc = 100});
    itemCopia(100, "000001", 1, "OLD", 90);
    pedidoNota("PA", {1, "000001", "1"}, {{.item = "1", .prod = "1234", .grade = {{"38", 10}}}});
    reprocessar();
    EXPECT_EQ(valores(100, "000001"), "123.00|100.00");
    const auto itens = itensNS(100, "000001");
    ASSERT_EQ(itens.size(), 1u);
    EXPECT_EQ(itens[0].prod, "1234");
    EXPECT_DOUBLE_EQ(itens[0].real, 100);
}

TEST_F(Reprocessar, NoItemRowsForTheIssueDayKeepsTheCopy) {
    notaSai({.docto = "000001"});
    notaSai({.filial = 100, .docto = "000001", .vrmerc = 90});
    itemCopia(100, "000001", 1, "OLD", 80);
    pedidoNota("PA", {1, "000001", "1"}, {{.item = "1", .prod = "1234"}}, "2026-03-11");
    reprocessar();
    const auto itens = itensNS(100, "000001");
    ASSERT_EQ(itens.size(), 1u);
    EXPECT_EQ(itens[0].prod, "OLD");
    EXPECT_EQ(valores(100, "000001"), "100.00|90.00");
}

TEST_F(Reprocessar, PartialBillingByTheSourceInvoicesTerm) {
    // Gross price 10, invoice price 6, 10 pairs: the copy carries the unbilled 40.00 when the
    // source invoice's term is cash and partial cash billing is on.
    struct Caso {
        const char* prazo;
        double preco, real, valor, comis;
    };
    const std::vector<Caso> casos = {
        {"A VISTA", 4, 40, 40, 2},
        {"30/60 DDL", 10, 100, 100, -1},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.prazo);
        for (const char* t : {"NOTASAI", "ITENSNS", "NOTASAI_PEDVEND", "ITENSPVGRADE", "ITENSPV", "PEDVENDA", "PARAM"})
            db.exec(std::string("delete from ") + t);
        setParam("DUP_AVISTA_GERAR_PARCIAL_NOVO", "S");
        carregar("CALCADOS MODELO", "P");
        notaSai({.docto = "000001", .valor = 60, .prazo = c.prazo});
        notaSai({.filial = 100, .docto = "000001", .vrmerc = 90});
        itemCopia(100, "000001", 1, "OLD", 80);
        pedidoNota("PA", {1, "000001", "1"},
                   {{.item = "1", .prod = "1234", .preco = 6, .bruto = 10, .grade = {{"38", 10}}, .percComis = 5}});
        reprocessar();
        const auto itens = itensNS(100, "000001");
        ASSERT_EQ(itens.size(), 1u);
        EXPECT_DOUBLE_EQ(itens[0].preco, c.preco);
        EXPECT_DOUBLE_EQ(itens[0].bruto, 10);
        EXPECT_DOUBLE_EQ(itens[0].real, c.real);
        if (c.comis < 0) EXPECT_TRUE(itens[0].comis.isNull());
        else EXPECT_DOUBLE_EQ(itens[0].comis.asFloat(), c.comis);
        EXPECT_DOUBLE_EQ(std::stod(db.scalar("select VRMERC_NS from NOTASAI where FILIAL_NS = 100")), c.valor);
    }
}

TEST_F(Reprocessar, RoyaltyFilledWhenAsked) {
    setParam("PREENCHER_ROYALTY", "S");
    notaSai({.docto = "000001"});
    notaSai({.filial = 100, .docto = "000001", .vrmerc = 90});
    itemCopia(100, "000001", 1, "OLD", 80);
    pedidoNota("PA", {1, "000001", "1"}, {{.item = "1", .prod = "1234", .royalty = 1.5}});
    reprocessar();
    EXPECT_DOUBLE_EQ(itensNS(100, "000001")[0].royalty.asFloat(), 1.5);
}

TEST_F(Reprocessar, ZeroQuantityStopsAtThatCopyAndKeepsTheOnesBefore) {
    copiaSimples("000001");
    copiaSimples("000002", 90, 90 - 1, 0); // its only item has no pairs
    listar();
    marcar();
    try {
        dm.ReprocessarItens();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("P000002"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("item 1"), std::string::npos) << e.what();
    }
    EXPECT_EQ(itensNS(100, "000001")[0].prod, "1234") << "the copy before keeps its changes";
    EXPECT_EQ(itensNS(100, "000002")[0].prod, "OLD");
    EXPECT_EQ(valores(100, "000002"), "90.00|90.00");
    EXPECT_EQ(dm.cdsNFVrDif.recNo(), 1);
    EXPECT_FALSE(dm.cdsNFVrDif.controlsDisabled());
}

TEST_F(Reprocessar, FailedApplyLeavesThatCopyWhole) {
    copiaSimples("000001");
    copiaSimples("000002");
    db.exec("create exception NO_ITEMS 'item copies of 000002 refused'");
    db.exec("create trigger ITENSNS_REFUSE for ITENSNS before insert as begin"
            " if (new.DOCTO_SA = '000002') then exception NO_ITEMS; end");
    listar();
    marcar();
    try {
        dm.ReprocessarItens();
        FAIL() << "no error";
    } catch (const sql::DatabaseError& e) {
        const std::string texto = e.what();
        EXPECT_NE(texto.find("item copies of 000002 refused"), std::string::npos) << texto;
        EXPECT_NE(texto.find("\r100,000002,1"), std::string::npos) << "the failing row's key: " << texto;
    }
    EXPECT_EQ(itensNS(100, "000001")[0].prod, "1234");
    EXPECT_EQ(valores(100, "000001"), "100.00|100.00");
    // Neither the value nor the deletions of the failing copy stay.
    const auto itens = itensNS(100, "000002");
    ASSERT_EQ(itens.size(), 1u);
    EXPECT_EQ(itens[0].prod, "OLD");
    EXPECT_EQ(valores(100, "000002"), "90.00|90.00");
}

TEST_F(Reprocessar, ZeroSumOfRealValuesSpreadsNothing) {
    // A free item: real value 0 on the only row.
    notaSai({.docto = "000001"});
    notaSai({.filial = 100, .docto = "000001", .vrmerc = 90});
    itemCopia(100, "000001", 1, "OLD", 80);
    pedidoNota("PA", {1, "000001", "1"}, {{.item = "1", .prod = "1234", .preco = 0, .bruto = 0}});
    ASSERT_NO_THROW(reprocessar());
    const auto itens = itensNS(100, "000001");
    ASSERT_EQ(itens.size(), 1u);
    EXPECT_DOUBLE_EQ(itens[0].real, 0);
    EXPECT_TRUE(std::isfinite(itens[0].real));
    EXPECT_EQ(valores(100, "000001"), "0.00|0.00");
}

TEST_F(Reprocessar, NothingTickedTouchesNothing) {
    copiaSimples("000001");
    listar();
    std::vector<std::string> tocados;
    dm.sqlCon.setStatementObserver([&](const std::string& texto, const std::vector<Value>&) {
        if (texto.find("ITENSNS") != std::string::npos || texto.find("update NOTASAI") != std::string::npos)
            tocados.push_back(texto);
    });
    dm.ReprocessarItens();
    EXPECT_TRUE(tocados.empty());
    EXPECT_EQ(itensNS(100, "000001")[0].prod, "OLD");
}

} // namespace
} // namespace fat::test
