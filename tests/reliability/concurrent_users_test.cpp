// Other users of the ERP at the same time as a save: one holding an uncommitted change on an
// invoice the save stamps, one loading the pending invoices while the save runs.
#include "BillingScenario.h"

#include "platform/core/Win1252.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace fat::test {
namespace {

using Clock = std::chrono::steady_clock;

std::int64_t AttachmentId(sql::Connection& c) {
    sql::Query q(c);
    q.setSql("select current_connection from rdb$database");
    q.open();
    return q.field(0).asInteger();
}

// Another user's attachment that wrote invoice 000002's copy and stamped the invoice (another
// workstation saving it) and has not committed yet. Once the save waits on that row, a thread of its own keeps it waiting
// a little longer and then commits or rolls back.
class OutroUsuario {
public:
    OutroUsuario(const TestDatabase& db, sql::Connection& daGravacao, bool confirmar)
        : conexao_(db.newConnection()), monitor_(db.newConnection()), daGravacao_(daGravacao),
          gravacao_(AttachmentId(daGravacao)), confirmar_(confirmar) {
        conexao_->startTransaction();
        conexao_->executeImmediate("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, TPNOTA_NS, VALOR_NS)"
                                   " values (100, '000002', '1', 'S', 100)");
        conexao_->executeImmediate("update NOTASAI set DTGERACONT_NS = '2026-03-19' where FILIAL_NS = 1 and"
                                   " DOCTO_NS = '000002' and SERIE_NS = '1'");
        // The save's first stamp is that of 000001; its next one is 000002's.
        daGravacao.setStatementObserver([this](const std::string& texto, const std::vector<Value>&) {
            if (texto.rfind("update NOTASAI", 0) == 0) ++carimbos_;
        });
        thread_ = std::thread([this] { esperarEncerrar(); });
    }
    ~OutroUsuario() {
        if (thread_.joinable()) thread_.join();
        daGravacao_.setStatementObserver({});
    }

    void terminar() { thread_.join(); }
    // How long the save had waited on the row when this user ended its transaction; negative
    // when it was never seen waiting.
    double esperou() const { return esperou_; }

private:
    std::unique_ptr<sql::Connection> conexao_, monitor_;
    sql::Connection& daGravacao_;
    std::int64_t gravacao_;
    bool confirmar_;
    std::atomic<int> carimbos_{0};
    std::thread thread_;
    double esperou_ = -1;

    // Whether the save's attachment is running a stamp now (a fresh snapshot of the monitoring
    // tables each time).
    bool carimbando() {
        monitor_->startTransaction();
        sql::Query q(*monitor_);
        q.setSql("select count(*) from MON$STATEMENTS where MON$ATTACHMENT_ID = :A and MON$STATE = 1"
                 " and MON$SQL_TEXT starting with 'update NOTASAI'");
        q.paramByName("A").setAsInteger(gravacao_);
        q.open();
        const bool ativo = q.field(0).asInteger() > 0;
        q.close();
        monitor_->commit();
        return ativo;
    }

    void esperarEncerrar() {
        const auto limite = Clock::now() + std::chrono::seconds(30);
        std::optional<Clock::time_point> desde;
        while (Clock::now() < limite) {
            if (carimbos_ == 1 && carimbando()) {
                if (!desde) desde = Clock::now();
                // Still waiting after a while: the save does not give up on the lock.
                if (Clock::now() - *desde >= std::chrono::milliseconds(300)) break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (desde) esperou_ = std::chrono::duration<double>(Clock::now() - *desde).count();
        if (confirmar_) conexao_->commit();
        else conexao_->rollback();
    }
};

struct UsuariosConcorrentes : BillingScenario {};

std::string JaProcessada(const std::string& docto) {
    return Win1252("A nota fiscal ") + docto +
           Win1252(" série 1 da filial 1 já foi processada em outra estação depois de carregada. Nada foi gravado: "
                   "abra as notas pendentes novamente.");
}

TEST_F(UsuariosConcorrentes, TheSaveWaitsOnAnUncommittedChangeAndCompletesWhenItIsRolledBack) {
    abrirECarregar();
    const auto inicio = Clock::now();
    OutroUsuario outro(db, dm.sqlCon, false);
    const auto caixas = gravar();
    outro.terminar();
    const double total = std::chrono::duration<double>(Clock::now() - inicio).count();
    std::printf("[ reliability ] save waited %.3f s on the row, then completed; %.3f s in all\n", outro.esperou(),
                total);

    EXPECT_GE(outro.esperou(), 0.3) << "the save never waited on the locked row";
    ASSERT_EQ(caixas.size(), 1u) << caixas[0].text;
    EXPECT_EQ(caixas[0].text, "Notas Atualizadas com sucesso.");
    EXPECT_EQ(gravado(), Tudo);
    EXPECT_EQ(carimbos(), (std::vector<std::string>{"000001|20/03/2026", "000002|20/03/2026", "000003|20/03/2026"}));
}

// Firebird 3, read committed with record versions and waiting on locks: the stamp waits for the
// other transaction; when that one commits, the stamp fails with an update conflict ("deadlock",
// "update conflicts with concurrent update"), and the save rolls back whole.
TEST_F(UsuariosConcorrentes, WhenTheOtherCommitsTheSaveFailsWholeWithTheConflictAndAReloadShowsTheTruth) {
    abrirECarregar();
    OutroUsuario outro(db, dm.sqlCon, true);
    const auto caixas = gravar();
    outro.terminar();
    std::printf("[ reliability ] save waited %.3f s on the row, then failed on the other's commit\n",
                outro.esperou());

    EXPECT_GE(outro.esperou(), 0.3) << "the save never waited on the locked row";
    ASSERT_EQ(caixas.size(), 1u);
    EXPECT_EQ(caixas[0].icon, MessageIcon::Error);
    EXPECT_EQ(caixas[0].text.rfind("deadlock\nupdate conflicts with concurrent update\n", 0), 0u) << caixas[0].text;
    // Nothing of the save, not even the stamp of 000001 made before the conflict; the other
    // user's copy and stamp stand.
    const SaveRows doOutro{1, 0, 0, 0, 1};
    const std::vector<std::string> carimbosDoOutro = {"000001|null", "000002|19/03/2026", "000003|null"};
    EXPECT_EQ(gravado(), doOutro);
    EXPECT_EQ(carimbos(), carimbosDoOutro);
    EXPECT_FALSE(dm.sqlCon.inTransaction());
    EXPECT_EQ(listados(), (std::vector<std::string>{"000001", "000002", "000003"})) << "the window keeps its rows";
    EXPECT_EQ(estados(*w), "-GDF");

    // "Gravar" again on the list as it stands: the stamp of 000002 no longer waits, but the
    // invoice is stamped already, so the save fails whole again and 000002 is not written twice.
    const auto denovo = gravar();
    ASSERT_EQ(denovo.size(), 1u);
    EXPECT_EQ(denovo[0].text, JaProcessada("000002"));
    EXPECT_EQ(gravado(), doOutro);
    EXPECT_EQ(carimbos(), carimbosDoOutro);

    // Reset and loaded again, the list shows what the database holds: 000002 is no longer
    // pending, and the save writes the other two once.
    clicar(w->btDesistir);
    carregar(*w);
    EXPECT_EQ(listados(), (std::vector<std::string>{"000001", "000003"}));
    const auto depois = gravar();
    ASSERT_EQ(depois.size(), 1u) << depois[0].text;
    EXPECT_EQ(depois[0].text, "Notas Atualizadas com sucesso.");
    EXPECT_EQ(gravado(), (SaveRows{3, 2, 4, 2, 3}));
    EXPECT_EQ(carimbos(), (std::vector<std::string>{"000001|20/03/2026", "000002|19/03/2026", "000003|20/03/2026"}));
    EXPECT_EQ(carimbos(100), (std::vector<std::string>{"000001|20/03/2026", "000002|null", "000003|20/03/2026"}));
}

// Another workstation loading the pending invoices in the middle of the save (during the walk,
// and while the buffers are sent) still sees all three pending and none generated; after the
// commit it sees none.
TEST_F(UsuariosConcorrentes, AnotherUserLoadingDuringTheSaveSeesNothingOfItBeforeTheCommit) {
    abrirECarregar();
    TDM outro;
    db::ConfigurarConexao(outro.sqlCon, db.location(), db::SenhaPorChave("1"), "3");
    outro.sqlCon.open();
    outro.PedVendaBruto = std::make_unique<TPedVenda>(outro.sqlCon);
    outro.PedVendaLiquido = std::make_unique<TPedVenda>(outro.sqlCon);
    outro.CriarPedidos();
    const auto pendentes = [&outro] {
        outro.AbrirNotasPendentes("", 0, 0);
        std::string r;
        for (outro.cdsGera.first(); !outro.cdsGera.eof(); outro.cdsGera.next())
            r += outro.cdsGera.fieldByName("DOCTO_NS").asString() + outro.cdsGera.fieldByName("GERADO").asString() + " ";
        return r;
    };

    std::vector<std::string> vistos;
    int carimbosVistos = 0;
    bool aplicando = false;
    dm.sqlCon.setStatementObserver([&](const std::string& texto, const std::vector<Value>&) {
        if (texto.rfind("update NOTASAI", 0) == 0 && ++carimbosVistos == 3) vistos.push_back(pendentes());
        if (!aplicando && texto.rfind("insert into \"DUPLICATAS\"", 0) == 0) {
            aplicando = true;
            vistos.push_back(pendentes());
        }
    });
    const auto caixas = gravar();
    dm.sqlCon.setStatementObserver({});

    ASSERT_EQ(caixas.size(), 1u) << caixas[0].text;
    EXPECT_EQ(caixas[0].text, "Notas Atualizadas com sucesso.");
    EXPECT_EQ(vistos, (std::vector<std::string>{"000001N 000002N 000003N ", "000001N 000002N 000003N "}));
    EXPECT_EQ(pendentes(), "");
    EXPECT_EQ(gravado(), Tudo);
}

// Another workstation stamped one of the invoices after this load and committed before this save
// began: written off by hand (01/01/1901) or saved there (its date). The save must neither
// generate receivables for it nor overwrite that stamp: it stops whole with a clear text, and a
// new load no longer lists the invoice.
TEST_F(UsuariosConcorrentes, AnInvoiceStampedElsewhereAfterTheLoadStopsTheSaveWhole) {
    abrirECarregar();
    struct Caso {
        const char* carimbo;
        const char* mostrado;
    };
    for (const Caso caso : {Caso{"1901-01-01", "01/01/1901"}, Caso{"2026-03-19", "19/03/2026"}}) {
        SCOPED_TRACE(caso.carimbo);
        exec("update NOTASAI set DTGERACONT_NS = null where FILIAL_NS = 1");
        clicar(w->btDesistir);
        carregar(*w);
        ASSERT_EQ(listados(), (std::vector<std::string>{"000001", "000002", "000003"}));
        {
            auto outro = db.newConnection();
            outro->startTransaction();
            outro->executeImmediate(std::string("update NOTASAI set DTGERACONT_NS = '") + caso.carimbo +
                                    "' where FILIAL_NS = 1 and DOCTO_NS = '000002' and SERIE_NS = '1'");
            outro->commit();
        }
        const auto caixas = gravar();
        ASSERT_EQ(caixas.size(), 1u);
        EXPECT_EQ(caixas[0].icon, MessageIcon::Error);
        EXPECT_EQ(caixas[0].text, JaProcessada("000002"));
        EXPECT_EQ(gravado(), (SaveRows{0, 0, 0, 0, 1})) << "only the other's stamp";
        EXPECT_EQ(carimbos(),
                  (std::vector<std::string>{"000001|null", std::string("000002|") + caso.mostrado, "000003|null"}));

        clicar(w->btDesistir);
        carregar(*w);
        EXPECT_EQ(listados(), (std::vector<std::string>{"000001", "000003"}));
    }
}

} // namespace
} // namespace fat::test
