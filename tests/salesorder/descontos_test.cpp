// Gross and net values of order items under each discount rule, on orders inserted into a
// real database and loaded into the two instances the data module keeps.
#include "salesorder/TPedVenda.h"
#include "salesorder/PedidoFixture.h"

#include <gtest/gtest.h>

using fat::TPedVenda;
using fat::test::DefinirEmpresa;
using fat::test::InserirPedido;
using fat::test::ItemFx;
using fat::test::PedidoFx;
using fat::test::TestDatabase;

namespace {

struct Esperado {
    std::string item;
    double valorBruto;
    double valorLiquido;
};

struct Caso {
    const char* nome;
    std::optional<std::string> empresa;
    PedidoFx pedido;
    std::vector<Esperado> precoBruto;   // instance loaded with gross prices
    std::vector<Esperado> precoLiquido; // instance loaded with net prices
};

// Net price 8, gross price 10, ten pairs in two sizes.
ItemFx Item(std::string item) { return ItemFx{.item = std::move(item), .preco = 8, .precoBruto = 10, .grade = {4, 6}}; }
// Same price both ways, ten pairs.
ItemFx ItemDez(std::string item) { return ItemFx{.item = std::move(item), .preco = 10, .precoBruto = 10, .grade = {10}}; }

template <class F> ItemFx Com(ItemFx i, F f) { f(i); return i; }

const char* const Outra = "CALCADOS MODELO";

std::vector<Caso> Casos() {
    return {
        {"no discounts: gross and net prices", Outra, {.itens = {Item("001")}},
         {{"001", 100, 100}}, {{"001", 80, 80}}},
        {"item percent", Outra, {.itens = {Com(Item("001"), [](ItemFx& i) { i.pDescto = 10; })}},
         {{"001", 100, 90}}, {{"001", 80, 72}}},
        {"item money per unit", Outra, {.itens = {Com(Item("001"), [](ItemFx& i) { i.vrDescto = 0.5; })}},
         {{"001", 100, 95}}, {{"001", 80, 75}}},
        {"commission discount per unit", Outra,
         {.itens = {Com(Item("001"), [](ItemFx& i) { i.vrDesctoComis = 0.3; })}},
         {{"001", 100, 97}}, {{"001", 80, 77}}},
        // 10 × 0.0335 = 0.335 rounds half up to 0.34.
        {"promotion, switch null applies it", Outra,
         {.itens = {Com(Item("001"), [](ItemFx& i) { i.vrDesctoPromocao = 0.0335; })}},
         {{"001", 100, 99.66}}, {{"001", 80, 79.66}}},
        {"promotion switched off", Outra,
         {.aplicarPromocao = "N", .itens = {Com(Item("001"), [](ItemFx& i) { i.vrDesctoPromocao = 0.0335; })}},
         {{"001", 100, 100}}, {{"001", 80, 80}}},
        {"order percent, approval null applies it", Outra, {.descto = 10, .itens = {Item("001")}},
         {{"001", 100, 90}}, {{"001", 80, 72}}},
        // The order percent is taken on the unit price after the item discounts (rounded).
        {"order percent after item discounts", Outra,
         {.descto = 10, .itens = {Com(Item("001"), [](ItemFx& i) { i.pDescto = 10; i.vrDescto = 0.5; })}},
         {{"001", 100, 76.5}}, {{"001", 80, 60.3}}},
        // 10 % composed with 2.5 % is 12.25 %.
        {"price-table percent composed with the order percent", Outra,
         {.descto = 10, .pDesctoTab = 2.5, .itens = {Item("001")}},
         {{"001", 100, 87.75}}, {{"001", 80, 70.2}}},
        {"abatement percent on gross prices only", Outra, {.pAbatTab = 10, .itens = {Item("001")}},
         {{"001", 90, 90}}, {{"001", 80, 80}}},
        // 13 over a gross total of 130: 10 and 3.
        {"abatement money spread by the gross total", Outra,
         {.vrAbatTab = 13, .itens = {Item("001"), ItemFx{.item = "002", .preco = 8, .precoBruto = 10, .grade = {3}}}},
         {{"001", 90, 90}, {"002", 27, 27}}, {{"001", 80, 80}, {"002", 24, 24}}},
        // Shares of 33.33; the 0.01 left comes off the first item.
        {"order money value spread, residual on the first item", Outra,
         {.vrDescto = 100, .itens = {ItemDez("001"), ItemDez("002"), ItemDez("003")}},
         {{"001", 100, 66.66}, {"002", 100, 66.67}, {"003", 100, 66.67}},
         {{"001", 100, 66.66}, {"002", 100, 66.67}, {"003", 100, 66.67}}},
        // Both instances divide by the net-price total (160): the gross shares of 10 overshoot
        // the 16 and the first item gets the 4 back.
        {"money value shared by the net-price total in both instances", Outra,
         {.vrDescto = 16, .itens = {Com(Item("001"), [](ItemFx& i) { i.grade = {10}; }),
                                    Com(Item("002"), [](ItemFx& i) { i.grade = {10}; })}},
         {{"001", 100, 94}, {"002", 100, 90}}, {{"001", 80, 72}, {"002", 80, 72}}},
        {"items without grid rows: 0, the first one takes the residual", Outra,
         {.vrDescto = 100,
          .itens = {Com(ItemDez("001"), [](ItemFx& i) { i.grade = {}; }), ItemDez("002"), ItemDez("003"),
                    ItemDez("004"), Com(ItemDez("005"), [](ItemFx& i) { i.grade = {}; })}},
         {{"001", 0, -0.01}, {"002", 100, 66.67}, {"003", 100, 66.67}, {"004", 100, 66.67}, {"005", 0, 0}},
         {{"001", 0, -0.01}, {"002", 100, 66.67}, {"003", 100, 66.67}, {"004", 100, 66.67}, {"005", 0, 0}}},
        // Not approved: the gross-price instance still applies the order discounts; the
        // net-price one applies none, its money value included.
        {"approval N", Outra, {.descto = 10, .vrDescto = 8, .aprovado = "N", .itens = {Item("001")}},
         {{"001", 100, 82}}, {{"001", 80, 80}}},
        // MIRCA: 10 % of (100 − 10) = 9, then 5 % of 81 = 4.05; the whole 10 off the first item.
        {"MIRCA", "MIRCA",
         {.descto = 10, .vrDescto = 10, .pDesctoTab = 5, .itens = {ItemDez("001"), ItemDez("002")}},
         {{"001", 100, 76.95}, {"002", 100, 86.95}}, {{"001", 100, 76.95}, {"002", 100, 86.95}}},
        {"MIRCA, approval N", "MIRCA",
         {.descto = 10, .vrDescto = 10, .pDesctoTab = 5, .aprovado = "N", .itens = {ItemDez("001"), ItemDez("002")}},
         {{"001", 100, 76.95}, {"002", 100, 86.95}}, {{"001", 100, 100}, {"002", 100, 100}}},
        // Every item cancelled: the SQL totals are null and the sums over all items (200)
        // divide the money value.
        {"cancelled items: totals from the item sums", Outra,
         {.vrDescto = 10, .itens = {Com(ItemDez("001"), [](ItemFx& i) { i.sit = "C"; }),
                                    Com(ItemDez("002"), [](ItemFx& i) { i.status = "C"; })}},
         {{"001", 100, 95}, {"002", 100, 95}}, {{"001", 100, 95}, {"002", 100, 95}}},
        {"null price reads as 0", Outra,
         {.descto = 10, .itens = {ItemFx{.item = "001", .precoBruto = 10, .grade = {10}}}},
         {{"001", 100, 90}}, {{"001", 0, 0}}},
    };
}

void ConferirItens(const TPedVenda& pedido, const std::vector<Esperado>& esperados) {
    ASSERT_EQ(pedido.Itens().size(), esperados.size());
    for (std::size_t i = 0; i < esperados.size(); ++i) {
        const auto& item = pedido.Itens()[i];
        SCOPED_TRACE("item " + esperados[i].item);
        EXPECT_EQ(item.Item, esperados[i].item);
        EXPECT_NEAR(item.ValorBruto, esperados[i].valorBruto, 1e-9);
        EXPECT_NEAR(item.ValorLiquido, esperados[i].valorLiquido, 1e-9);
    }
}

} // namespace

TEST(TPedVendaDescontos, EachRuleInBothInstances) {
    TestDatabase db;
    int numero = 0;
    for (auto caso : Casos()) {
        SCOPED_TRACE(caso.nome);
        caso.pedido.num = std::to_string(++numero);
        DefinirEmpresa(db, caso.empresa);
        InserirPedido(db, caso.pedido);

        TPedVenda bruto(db.connection());
        TPedVenda liquido(db.connection());
        bruto.CarregarPedido(caso.pedido.num, true);
        liquido.CarregarPedido(caso.pedido.num, false);
        {
            SCOPED_TRACE("gross prices");
            ConferirItens(bruto, caso.precoBruto);
        }
        {
            SCOPED_TRACE("net prices");
            ConferirItens(liquido, caso.precoLiquido);
        }
    }
}
