// Database failures injected into the reprocessing of the second of three ticked copies, started
// with "Reprocessar" in its window: the lookups, the value update, the apply of the item copies
// (deletions and insertions) and the commit. Each ends with one error box holding the database's
// text; the first copy keeps its new item copies and value, the failing one and the one after
// it stay as they were, and the window stays on its list.
#include "../windows/ReprocessWindowFixture.h"

#include <functional>

namespace fat::test {
namespace {

const std::vector<std::string> Copias = {"000001", "000002", "000003"};

struct FalhasDoReprocessamento : ReprocessWindowFixture {
    TfrmReprocessaItens* w = nullptr;

    FalhasDoReprocessamento() {
        for (const auto& docto : Copias) copiaSimples(docto);
        // Each trigger refuses its statement for the second copy while FALHA names it.
        exec("create table FALHA (ONDE varchar(10))");
        exec("create exception E_FALHA 'falha injetada'");
        const auto falha = [](const char* onde, const char* condicao, const char* texto) {
            return std::string(" as begin if (exists (select 1 from FALHA where ONDE = '") + onde + "') and " + condicao +
                   ") then exception E_FALHA '" + texto + "'; end";
        };
        exec("create trigger FALHA_VALOR for NOTASAI before update" +
             falha("VALOR", "new.FILIAL_NS >= 100 and new.DOCTO_NS = '000002'", "valor recusado"));
        exec("create trigger FALHA_APAGAR for ITENSNS before delete" +
             falha("APAGAR", "old.DOCTO_SA = '000002'", "apagar recusado"));
        exec("create trigger FALHA_INSERIR for ITENSNS before insert" +
             falha("INSERIR", "new.DOCTO_SA = '000002'", "inserir recusado"));
        exec("create trigger MARCA_COPIA for ITENSNS after insert as declare variable X integer; begin"
             " if (new.DOCTO_SA = '000002') then X = rdb$set_context('USER_TRANSACTION', 'COPIA2', '1'); end");
        exec("create trigger FALHA_COMMIT on transaction commit" +
             falha("COMMIT", "rdb$get_context('USER_TRANSACTION', 'COPIA2') is not null", "commit recusado"));
        // The module attaches after the triggers, so that the commit trigger fires for it.
        dm.sqlCon.close();
        dm.sqlCon.open();
        w = abrir();
    }
    void exec(const std::string& s) { db.exec(s); }

    // The three copies as the fixture made them: one old item copy of 80.00, value 90.00.
    void restaurar() {
        exec("delete from ITENSNS where FILIAL_SA = 100");
        for (const auto& docto : Copias) itemCopia(100, docto, 1, "OLD", 80);
        exec("update NOTASAI set VALOR_NS = 90, VRMERC_NS = 90 where FILIAL_NS = 100");
    }
    // Lists the copies, ticks them all and reprocesses; the boxes shown.
    std::vector<MessageBoxRequest> reprocessar() {
        clicar(w->btProc);
        clicar(w->cbMarcarTodos);
        EXPECT_EQ(selecionadas(), "xxx");
        messages.boxes.clear();
        clicar(w->btGravar);
        return messages.boxes;
    }
    // Each copy as "product of its item copies|value|merchandise value".
    std::vector<std::string> copias() {
        std::vector<std::string> r;
        for (const auto& docto : Copias) {
            std::string produtos;
            for (const auto& i : itensNS(100, docto)) produtos += i.prod + " ";
            r.push_back(produtos + "|" + valores(100, docto));
        }
        return r;
    }
};

struct Caso {
    const char* onde;
    std::function<void(FalhasDoReprocessamento&)> falhar, reparar;
    std::string inicio, fim; // the box's text begins and ends so
};

Caso PorGatilho(const char* onde, const std::string& falha, const std::string& texto, const std::string& fim = "") {
    return {onde, [=](FalhasDoReprocessamento& f) { f.exec("insert into FALHA values ('" + falha + "')"); },
            [](FalhasDoReprocessamento& f) { f.exec("delete from FALHA"); },
            "exception 1\nE_FALHA\n" + texto + "\nAt trigger ", fim};
}

TEST_F(FalhasDoReprocessamento, TheCopiesBeforeTheFailingOneKeepTheirChangesAndItStaysWhole) {
    const std::vector<Caso> casos = {
        {"the order lookup of the second copy (its attachment ended after it read its item copies)",
         [](FalhasDoReprocessamento& f) {
             sql::Query q(f.dm.sqlCon);
             q.setSql("select current_connection from rdb$database");
             q.open();
             const std::string id = q.field(0).asString();
             auto vistos = std::make_shared<int>(0);
             f.dm.sqlCon.setStatementObserver([&f, id, vistos](const std::string& texto, const std::vector<Value>&) {
                 if (texto.rfind("select * from ITENSNS\nwhere FILIAL_SA = ", 0) == 0 && ++*vistos == 2)
                     f.exec("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = " + id);
             });
         },
         [](FalhasDoReprocessamento& f) {
             f.dm.sqlCon.setStatementObserver({});
             f.dm.sqlCon.close();
             f.dm.sqlCon.open();
         },
         "connection shutdown", ""},
        PorGatilho("the value update", "VALOR", "valor recusado"),
        PorGatilho("the deletion of its old item copies", "APAGAR", "apagar recusado", "\r100,000002,1"),
        PorGatilho("the insertion of its new item copies", "INSERIR", "inserir recusado", "\r100,000002,1"),
        PorGatilho("the commit", "COMMIT", "commit recusado"),
    };
    const std::vector<std::string> depois = {"1234 |100.00|100.00", "OLD |90.00|90.00", "OLD |90.00|90.00"};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.onde);
        c.falhar(*this);
        const auto caixas = reprocessar();
        c.reparar(*this);

        ASSERT_EQ(caixas.size(), 1u);
        EXPECT_EQ(caixas[0].icon, MessageIcon::Error);
        const std::string& texto = caixas[0].text;
        EXPECT_EQ(texto.substr(0, c.inicio.size()), c.inicio) << texto;
        EXPECT_TRUE(texto.size() >= c.fim.size() && texto.substr(texto.size() - c.fim.size()) == c.fim) << texto;
        EXPECT_FALSE(dm.sqlCon.inTransaction());
        EXPECT_EQ(copias(), depois);
        EXPECT_EQ(estados(*w), "-GDF") << "the window stays on its list";

        clicar(w->btDesistir);
        restaurar();
    }

    // Without a fault the three are rewritten.
    EXPECT_TRUE(reprocessar().empty());
    EXPECT_EQ(copias(), (std::vector<std::string>{"1234 |100.00|100.00", "1234 |100.00|100.00", "1234 |100.00|100.00"}));
}

} // namespace
} // namespace fat::test
