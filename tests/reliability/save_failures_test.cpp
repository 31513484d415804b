// Database failures injected into each kind of statement of a save started with "Gravar": the
// buffers' opening, the lookups, the stamps, each buffer's apply and the commit. Each ends with
// one error box holding the database's text, nothing of the save in the database and the window
// as it was; the save repeated once the fault is gone writes everything once.
//
// The data module works as an ERP user of its own whose privileges the test takes away (the
// engine checks them when an attachment prepares a statement, so the module attaches anew for
// every case); a commit trigger refuses the commit; the monitoring tables end the attachment in
// the middle of the walk.
#include "BillingScenario.h"

#include <functional>

namespace fat::test {
namespace {

constexpr const char* Usuario = "ERPUSER";

struct FalhasDaGravacao : BillingScenario {
    FalhasDaGravacao() {
        // The commit of a transaction that stamped an invoice fails while FALHA_COMMIT has a row.
        exec("create table FALHA_COMMIT (ATIVA integer)");
        exec("create exception E_FALHA_COMMIT 'commit recusado pelo teste'");
        exec("create trigger MARCA_CARIMBO for NOTASAI after update as declare variable X integer; begin"
             " if (new.DTGERACONT_NS is distinct from old.DTGERACONT_NS) then"
             " X = rdb$set_context('USER_TRANSACTION', 'CARIMBOU', '1'); end");
        exec("create trigger FALHA_NO_COMMIT on transaction commit as begin"
             " if (rdb$get_context('USER_TRANSACTION', 'CARIMBOU') is not null and exists (select 1 from FALHA_COMMIT))"
             " then exception E_FALHA_COMMIT; end");
        sql::Query tabelas(db.connection());
        tabelas.setSql("select trim(RDB$RELATION_NAME) from RDB$RELATIONS where RDB$SYSTEM_FLAG = 0 and RDB$VIEW_BLR is null");
        std::vector<std::string> nomes;
        for (tabelas.open(); !tabelas.eof(); tabelas.next()) nomes.push_back(tabelas.field(0).asString());
        tabelas.close();
        for (const auto& t : nomes) exec("grant all on " + t + " to " + Usuario);
        reconectar();
    }

    // The data module's connection attached anew as the ERP user.
    void reconectar() {
        dm.sqlCon.close();
        for (auto& linha : dm.sqlCon.params())
            if (linha.rfind("User_Name=", 0) == 0) linha = std::string("User_Name=") + Usuario;
        dm.sqlCon.open();
    }

    // Ends the data module's attachment (the only one of the ERP user) from the test's own, as
    // an administrator would.
    void derrubarConexao() { exec(std::string("delete from MON$ATTACHMENTS where MON$USER = '") + Usuario + "'"); }
};

struct Caso {
    const char* onde;
    std::function<void(FalhasDaGravacao&)> falhar, reparar;
    std::string texto;   // the box's text
    bool inicio = false; // only its beginning
};

Caso SemPrivilegio(const char* onde, const std::string& privilegio, const std::string& tabela,
                   const std::string& depois = "") {
    return {onde,
            [=](FalhasDaGravacao& f) { f.exec("revoke " + privilegio + " on " + tabela + " from " + Usuario); },
            [=](FalhasDaGravacao& f) { f.exec("grant " + privilegio + " on " + tabela + " to " + Usuario); },
            "no permission for " + UpperCase(privilegio) + " access to TABLE " + tabela + depois};
}

// The attachment ends right after the save's n-th statement starting with `inicio`, so that the
// statement the save runs next fails.
Caso ConexaoPerdida(const char* onde, const std::string& inicio, int n) {
    return {onde,
            [=](FalhasDaGravacao& f) {
                auto vistos = std::make_shared<int>(0);
                f.dm.sqlCon.setStatementObserver([&f, inicio, n, vistos](const std::string& texto, const std::vector<Value>&) {
                    if (texto.rfind(inicio, 0) == 0 && ++*vistos == n) f.derrubarConexao();
                });
            },
            [](FalhasDaGravacao& f) { f.dm.sqlCon.setStatementObserver({}); },
            "connection shutdown"};
}

TEST_F(FalhasDaGravacao, EachFailureShowsOneErrorWritesNothingAndTheRepeatedSaveWritesEverythingOnce) {
    const std::vector<Caso> casos = {
        SemPrivilegio("opening the receivables buffer", "select", "DUPLICATAS"),
        SemPrivilegio("the first stamp", "update", "NOTASAI"),
        ConexaoPerdida("the second invoice's receivables lookup, after the first one's stamp", "update NOTASAI", 1),
        ConexaoPerdida("the second invoice's item lookup", "select * from DUPLICATAS\nwhere NUM_DP=:NUM\nand FILIAL_DP=:FIL\n", 2),
        SemPrivilegio("the payment condition lookup of the third invoice, after two stamps", "select", "CONDPAGTO"),
        SemPrivilegio("the apply of the copies", "insert", "NOTASAI"),
        SemPrivilegio("the apply of the order links, after the copies", "insert", "NOTASAI_PEDVEND", "\r100-000001"),
        SemPrivilegio("the apply of the receivables, after the copies and links", "insert", "DUPLICATAS"),
        SemPrivilegio("the apply of the item copies, after everything else", "insert", "ITENSNS", "\r100,000001,1"),
        {"the commit",
         [](FalhasDaGravacao& f) { f.exec("insert into FALHA_COMMIT values (1)"); },
         [](FalhasDaGravacao& f) { f.exec("delete from FALHA_COMMIT"); },
         "exception 1\nE_FALHA_COMMIT\ncommit recusado pelo teste\nAt trigger 'FALHA_NO_COMMIT'", true},
    };
    abrirECarregar();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.onde);
        c.falhar(*this);
        reconectar();
        const auto caixas = gravar();
        c.reparar(*this);

        ASSERT_EQ(caixas.size(), 1u);
        EXPECT_EQ(caixas[0].icon, MessageIcon::Error);
        EXPECT_EQ(c.inicio ? caixas[0].text.substr(0, c.texto.size()) : caixas[0].text, c.texto);
        EXPECT_FALSE(dm.sqlCon.inTransaction());
        EXPECT_EQ(gravado(), Nada);
        EXPECT_EQ(carimbos(), (std::vector<std::string>{"000001|null", "000002|null", "000003|null"}));
        EXPECT_EQ(listados(), (std::vector<std::string>{"000001", "000002", "000003"}));
        EXPECT_EQ(estados(*w), "-GDF");
    }

    reconectar();
    const auto caixas = gravar();
    ASSERT_EQ(caixas.size(), 1u) << caixas[0].text;
    EXPECT_EQ(caixas[0].text, "Notas Atualizadas com sucesso.");
    EXPECT_EQ(gravado(), Tudo);
    EXPECT_EQ(carimbos(), (std::vector<std::string>{"000001|20/03/2026", "000002|20/03/2026", "000003|20/03/2026"}));
}

} // namespace
} // namespace fat::test
