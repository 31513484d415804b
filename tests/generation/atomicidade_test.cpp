// A save is all or nothing: a failure injected by a trigger while a buffer is applied (or while
// an invoice is stamped) leaves nothing of the save in the database, and the save repeated
// afterwards writes everything once. Another attachment sees nothing before the commit.
#include "GenerationFixture.h"

#include "platform/sql/DatabaseError.h"

namespace fat::test {
namespace {

// Triggers that raise an exception at the k-th insert (or update) of their table within one
// transaction, for the table and event named in FALHA_INJETADA; none while it is empty.
struct Atomicidade : GenerationFixture {
    static constexpr const char* Tabelas[][2] = {{"NOTASAI", "INSERT"},    {"NOTASAI_PEDVEND", "INSERT"},
                                                 {"DUPLICATAS", "INSERT"}, {"ITENSNS", "INSERT"},
                                                 {"NOTASAI", "UPDATE"}};

    Atomicidade() {
        db.exec("create table FALHA_INJETADA (TABELA varchar(31) not null, EVENTO varchar(6) not null,"
                " POSICAO integer not null)");
        db.exec("create exception E_FALHA_INJETADA 'falha injetada'");
        for (const auto& [tabela, evento] : Tabelas) {
            const std::string nome = std::string("FALHA_") + tabela + "_" + evento;
            db.exec("create trigger " + nome + " for " + tabela + " before " + evento +
                    " as declare variable P integer; declare variable N integer; declare variable X integer; begin"
                    " P = null;"
                    " select POSICAO from FALHA_INJETADA where TABELA = '" + tabela + "' and EVENTO = '" + evento +
                    "' into :P;"
                    " if (P is not null) then begin"
                    "  N = coalesce(cast(rdb$get_context('USER_TRANSACTION', '" + nome + "') as integer), 0) + 1;"
                    "  X = rdb$set_context('USER_TRANSACTION', '" + nome + "', N);"
                    "  if (N = P) then exception E_FALHA_INJETADA;"
                    " end end");
        }
        // Two invoices with two item copies, one order and three instalments each.
        for (const char* docto : {"000001", "000002"}) {
            Nota n;
            n.docto = docto;
            n.itens = {{60, "P1"}, {40, "P2"}};
            nota(n);
        }
        carregar();
    }

    void falharEm(const std::string& tabela, const std::string& evento, int posicao) {
        db.exec("delete from FALHA_INJETADA");
        db.exec("insert into FALHA_INJETADA values ('" + tabela + "', '" + evento + "', " + std::to_string(posicao) + ")");
    }
};

const std::vector<std::string> Tudo = {"2", "2", "6", "4", "2"};
const std::vector<std::string> Nada = {"0", "0", "0", "0", "0"};

TEST_F(Atomicidade, AFailureAnywhereLeavesNothingAndTheRepeatedSaveWritesEverythingOnce) {
    struct Caso {
        const char* tabela;
        const char* evento;
        int posicao;         // of the row that fails: always one of the second invoice
        const char* segunda; // second line of the message; nullptr: the database's error as it is
    };
    const std::vector<Caso> casos = {
        {"NOTASAI", "INSERT", 2, nullptr},
        {"NOTASAI_PEDVEND", "INSERT", 2, "100-000002"},
        {"DUPLICATAS", "INSERT", 4, nullptr},
        {"ITENSNS", "INSERT", 3, "100,000002,1"},
        {"NOTASAI", "UPDATE", 2, nullptr}, // the stamp of the second invoice, inside the loop
    };
    for (const auto& c : casos) {
        falharEm(c.tabela, c.evento, c.posicao);
        try {
            dm.GravarNotasPendentes();
            ADD_FAILURE() << c.tabela << " " << c.evento << ": saved";
        } catch (const sql::DatabaseError& e) {
            const std::string texto = e.what();
            EXPECT_NE(texto.find("falha injetada"), std::string::npos) << texto;
            const auto quebra = texto.find('\r');
            if (c.segunda) {
                ASSERT_NE(quebra, std::string::npos) << texto;
                EXPECT_EQ(texto.find('\r', quebra + 1), std::string::npos) << texto;
                EXPECT_EQ(texto.substr(quebra + 1), c.segunda);
            } else {
                EXPECT_EQ(quebra, std::string::npos) << texto;
            }
        }
        EXPECT_FALSE(dm.sqlCon.inTransaction());
        EXPECT_EQ(escrito(), Nada) << c.tabela << " " << c.evento;
    }

    db.exec("delete from FALHA_INJETADA");
    auto outra = db.newConnection();
    std::vector<std::string> antesDoCommit;
    dm.sqlCon.setStatementObserver([&](const std::string& texto, const std::vector<Value>&) {
        if (antesDoCommit.empty() && texto.rfind("insert into \"ITENSNS\"", 0) == 0) antesDoCommit = escrito(outra.get());
    });
    dm.GravarNotasPendentes();
    dm.sqlCon.setStatementObserver({});
    EXPECT_EQ(antesDoCommit, Nada);
    EXPECT_EQ(escrito(), Tudo);
    EXPECT_EQ(escrito(outra.get()), Tudo);
    EXPECT_EQ(duplicatas(), (std::vector<std::string>{"000001|1|A|33.34|0.00", "000001|1|B|33.33|0.00",
                                                      "000001|1|C|33.33|0.00", "000002|1|A|33.34|0.00",
                                                      "000002|1|B|33.33|0.00", "000002|1|C|33.33|0.00"}));
}

} // namespace
} // namespace fat::test
