// Invoice and order rows with every nullable column null, and order items of zero quantity,
// through the load and the save. Nulls read as empty texts, zeros and day zero; nothing crashes
// and nothing is written for an invoice the rules do not generate. A zero quantity, which the
// copy rules would divide by, stops the load with a text that names the order and the item.
#include "../generation/GenerationFixture.h"

#include <functional>

namespace fat::test {
namespace {

struct Rows : GenerationCase {
    Rows() { dm.CriarPedidos(); }
    void invoice(const std::string& extraColumns = "", const std::string& extraValues = "") {
        db.exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS" + extraColumns + ") values (1, '000001', '1'" +
                extraValues + ")");
    }
    // An order of customer 1 linked to the invoice; every other column null.
    void bareOrder() {
        db.exec("insert into PEDVENDA (NUM_PV, CODCLI_PV) values ('PED1', 1)");
        db.exec("insert into NOTASAI_PEDVEND values (1, '000001', '1', 'PED1')");
    }
    // An item of the order billed on the invoice: the link columns and those given, nothing else.
    void item(const std::string& extraColumns = "", const std::string& extraValues = "") {
        db.exec("insert into ITENSPV (PEDIDO_IT, ITEM_IT, NF_IT, SERIE_IT, FILIAL_IT" + extraColumns +
                ") values ('PED1', '1', '000001', '1', 1" + extraValues + ")");
    }
    void grid(const std::string& size, const char* quantity) {
        db.exec("insert into ITENSPVGRADE values ('PED1', '1', " + QuotedStr(size) + ", " + quantity + ")");
    }
};

TEST(HostileNulls, RowsFullOfNullsAreLoadedAndSavedWithoutError) {
    const std::vector<std::string> nothing = {"0", "0", "0", "0", "0"};
    struct Case {
        const char* what;
        std::function<void(Rows&)> rows;
        std::vector<std::string> listed;
        std::vector<std::string> boxes; // texts of the message boxes of the save
    };
    const std::vector<Case> cases = {
        {"an invoice whose every nullable column is null: no type, so in no list",
         [](Rows& t) { t.invoice(); }, {}, {}},
        {"the same with a type: listed, no order, nothing to generate",
         [](Rows& t) { t.invoice(", TPNOTA_NS", ", 'S'"); }, {"000001"}, {}},
        {"an order without a customer is no order of the invoice",
         [](Rows& t) {
             t.invoice(", TPNOTA_NS, CFOP_NS, VALOR_NS", ", 'S', '5101', 100");
             t.db.exec("insert into PEDVENDA (NUM_PV) values ('PED1')");
             t.db.exec("insert into NOTASAI_PEDVEND values (1, '000001', '1', 'PED1')");
             t.item(", PRECO_IT, PRECO_BRUTO_IT", ", 100, 100");
             t.grid("38", "1");
         },
         {"000001"}, {}},
        {"an order and an item of nulls (no price): the order is worth 0 and skipped",
         [](Rows& t) {
             t.invoice(", TPNOTA_NS, CFOP_NS", ", 'S', '5101'");
             t.bareOrder();
             t.item();
             t.grid("38", "1");
         },
         {"000001"}, {}},
        {"an order of nulls with a priced item, an invoice of no value: refused for its situation",
         [](Rows& t) {
             t.invoice(", TPNOTA_NS, CFOP_NS", ", 'S', '5101'");
             t.bareOrder();
             t.item(", PRECO_IT, PRECO_BRUTO_IT", ", 100, 100");
             t.grid("38", "1");
         },
         {"000001"}, {Win1252("Situação da duplicata não informada na NF 000001")}},
        {"the same invoice worth the order: no term, so it stays pending",
         [](Rows& t) {
             t.invoice(", TPNOTA_NS, CFOP_NS, VALOR_NS", ", 'S', '5101', 100");
             t.bareOrder();
             t.item(", PRECO_IT, PRECO_BRUTO_IT", ", 100, 100");
             t.grid("38", "1");
         },
         {"000001"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rows t;
        c.rows(t);
        ASSERT_NO_THROW(t.dm.AbrirNotasPendentes("", 0, 0));
        std::vector<std::string> listed;
        for (t.dm.cdsGera.first(); !t.dm.cdsGera.eof(); t.dm.cdsGera.next())
            listed.push_back(t.dm.cdsGera.fieldByName("DOCTO_NS").asString());
        EXPECT_EQ(listed, c.listed);
        ASSERT_NO_THROW(t.dm.GravarNotasPendentes());
        std::vector<std::string> boxes;
        for (const auto& box : t.messages.boxes) boxes.push_back(box.text);
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(t.escrito(), nothing);
        EXPECT_EQ(t.carimbo("000001"), "null");
    }
}

TEST(HostileZeroQuantities, StopTheLoadNamingTheOrderAndTheItem) {
    struct Case {
        const char* what;
        bool bySize; // GERAR_ITENS_FORMA_AGRUP_NF "S": copies per size-grid row
        std::vector<std::pair<std::string, const char*>> sizes;
    };
    const std::vector<Case> cases = {
        {"an item without size rows", false, {}},
        {"an item whose sizes are all 0", false, {{"38", "0"}, {"39", "0"}}},
        {"an item whose only size has no quantity", false, {{"38", "null"}}},
        {"by size: an item without quantity", true, {{"38", "0"}}},
        {"by size: one size of 0 beside one of 2", true, {{"38", "2"}, {"39", "0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rows t;
        if (c.bySize) t.setParam("GERAR_ITENS_FORMA_AGRUP_NF", "S");
        t.invoice(", TPNOTA_NS, CFOP_NS, VALOR_NS, EMISSAO_NS", ", 'S', '5101', 100, '2026-03-10'");
        t.db.exec("insert into PEDVENDA (NUM_PV, CODCLI_PV, SITDUP_PV, OBS_PV) values ('PED1', 1, '01', 'PRAZO 030')");
        t.db.exec("insert into NOTASAI_PEDVEND values (1, '000001', '1', 'PED1')");
        t.item(", PROD_IT, PRECO_IT, PRECO_BRUTO_IT", ", 'P1', 100, 100");
        for (const auto& [size, quantity] : c.sizes) t.grid(size, quantity);
        try {
            t.dm.AbrirNotasPendentes("", 0, 0);
            ADD_FAILURE() << "the load went through";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Quantidade zero no item 1 do pedido PED1.");
        }
        EXPECT_EQ(t.escrito(), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
        // With the quantity put right the same module loads and saves the invoice.
        t.db.exec("delete from ITENSPVGRADE");
        t.grid("38", "1");
        ASSERT_NO_THROW(t.dm.AbrirNotasPendentes("", 0, 0));
        ASSERT_EQ(t.dm.cdsGera.recordCount(), 1);
        EXPECT_EQ(t.dm.cdsGera.fieldByName("VALORPED").asFloat(), 100);
        ASSERT_NO_THROW(t.dm.GravarNotasPendentes());
        EXPECT_EQ(t.escrito(), (std::vector<std::string>{"1", "1", "1", "1", "1"}));
    }
}

} // namespace
} // namespace fat::test
