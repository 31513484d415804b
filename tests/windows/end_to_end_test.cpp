// The program as a user drives it: start-up on a database named by the INI file, the main
// window's button, a load, a write-off with F1, "Gravar", and what reached the database.
#include "billing/TfrmProcessaNF.h"
#include "datamodule/TDM.h"
#include "generation/TForm4.h"
#include "platform/core/Format.h"
#include "platform/ini/ExecutablePath.h"
#include "platform/ui/DataGrid.h"
#include "shell/Startup.h"
#include "shell/TForm1.h"
#include "support/MessageRecorder.h"
#include "support/TestDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace fat::test {
namespace {

TDateTime Hoje() { return EncodeDate(2026, 3, 20); }

struct EndToEnd : ::testing::Test {
    TestDatabase db;
    TempDir programDir;
    MessageRecorder messages;

    EndToEnd() {
        SetTodayFunction(&Hoje);
        ini::SetExecutablePathForTesting(programDir.file("faturamento"));
        std::ofstream(programDir.file("faturamento.ini"))
            << "[BDADOS]\nDB=" << db.location() << "\nCHAVE=1\n[Banco]\nVersaoFirebird=3\n";
    }
    ~EndToEnd() override {
        ini::SetExecutablePathForTesting("");
        SetTodayFunction({});
    }
    void exec(const std::string& s) { db.exec(s); }
    std::vector<std::string> rows(const std::string& sqlText) {
        sql::Query q(db.connection());
        q.setSql(sqlText);
        std::vector<std::string> r;
        for (q.open(); !q.eof(); q.next()) {
            std::string line;
            for (int i = 0; i < q.fieldCount(); ++i) line += (i ? "|" : "") + q.field(i).asString();
            r.push_back(line);
        }
        return r;
    }

    // An invoice of 100.00 issued on 10/03/2026 with one order and an instalment plan of 30/60 days.
    void notaComPedido(const std::string& docto, const std::string& pedido) {
        exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, EMISSAO_NS, DTSAIDA_NS, VALOR_NS, VRMERC_NS, CFOP_NS,"
             " PRAZO_NS, NUMPARC_NS, TPNOTA_NS, CODIGO_NS, NOME_NS, REPRES_NS, PREPOSTO_NS) values (1, " +
             QuotedStr(docto) + ", '1', '2026-03-10', '2026-03-12', 100, 100, '5101', '30/60 DDL', 2, 'S', 1,"
             " 'CLIENTE UM', 7, 8)");
        exec("insert into PEDVENDA (NUM_PV, CODCLI_PV, SITDUP_PV, COMISSREC_PV, COMISRECP_PV, COMISSRECGER_PV,"
             " DESCTO_PV, DESCDP_PV, DESCTOVINCVENCTO_PV, TABELA_PRECOS_PV, PRAZOPAGTO_PV) values (" +
             QuotedStr(pedido) + ", 1, '01', 2.5, 1.5, 0.5, 0, 3, 'N', 1, 5)");
        exec("insert into NOTASAI_PEDVEND values (1, " + QuotedStr(docto) + ", '1', " + QuotedStr(pedido) + ")");
        exec("insert into ITENSPV (PEDIDO_IT, ITEM_IT, PROD_IT, PRECO_IT, PRECO_BRUTO_IT, NF_IT, SERIE_IT, FILIAL_IT,"
             " DTFATUR_IT, TP_COMIS_IT, PERC_COMIS_IT) values (" +
             QuotedStr(pedido) + ", '1', 'PROD-1', 100, 100, " + QuotedStr(docto) + ", '1', 1, '2026-03-10', 'R', 0)");
        exec("insert into ITENSPVGRADE values (" + QuotedStr(pedido) + ", '1', '38', 1)");
        for (const char* dias : {"30", "60"})
            exec("insert into PEDVENDA_PARCELAS values (" + QuotedStr(pedido) + ", " + dias + ", '01', 50, 'S')");
    }
};

TEST_F(EndToEnd, OpenLoadWriteOneOffSaveAndTheDatabaseHoldsTheResult) {
    exec("insert into CONFIG (NOME_EMPRESA, TPFATUR, GERARCOPIADUP) values ('CALCADOS MODELO', 'T', 'N')");
    notaComPedido("000001", "PED1");
    notaComPedido("000002", "PED2");
    // Its copy exists already: shown red, passed by by the save unless written off.
    exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, TPNOTA_NS) values (100, '000002', '1', 'S')");

    auto app = CriarAplicacao();
    ASSERT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
    TForm1& main = *app->Form1;
    main.resize(1100, 700);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    QTest::mouseClick(main.btNota, Qt::LeftButton);
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    auto* w = qobject_cast<TfrmProcessaNF*>(main.mdiArea()->subWindowList()[0]->widget());
    ASSERT_TRUE(w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_TRUE(w->windowTitle().endsWith(QString::fromStdString(db.location())));

    QTest::mouseClick(w->btProc, Qt::LeftButton);
    EXPECT_EQ(w->lbQtNotas->text(), "2 notas pendentes.");
    ui::DataGrid& grid = *w->dbgGera;
    ASSERT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(grid.model()->index(1, 0).data().toString(), "000002");
    EXPECT_EQ(grid.model()->index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(1, 0)).center());
    w->AoMostrarBaixa = [](TForm4& d) {
        QTest::keyClicks(d.edNum, "000002");
        QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    };
    QTest::keyClick(&grid, Qt::Key_F1);
    ASSERT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;

    QTest::mouseClick(w->btGravar, Qt::LeftButton);
    ASSERT_EQ(messages.boxes.size(), 1u) << messages.boxes.back().text;
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.boxes[0].text, "Notas Atualizadas com sucesso.");
    EXPECT_TRUE(w->btProc->isEnabled());
    EXPECT_EQ(grid.model()->rowCount(), 0);

    // 000001 generated: its copy, two receivables, its stamp of today; 000002 only stamped
    // with the null date, nothing else written for it.
    EXPECT_EQ(rows("select DOCTO_NS, cast(VALOR_NS as varchar(20)), NUMPARC_NS from NOTASAI where FILIAL_NS = 100"
                   " order by DOCTO_NS"),
              (std::vector<std::string>{"000001|100.00|2", "000002||"}));
    EXPECT_EQ(rows("select NUM_DP, ORD_DP, cast(VALOR_DP as varchar(20)) from DUPLICATAS order by NUM_DP, ORD_DP"),
              (std::vector<std::string>{"000001|A|50.00", "000001|B|50.00"}));
    EXPECT_EQ(rows("select DOCTO_NS, cast(DTGERACONT_NS as date) from NOTASAI where FILIAL_NS = 1 order by DOCTO_NS"),
              (std::vector<std::string>{"000001|20/03/2026", "000002|01/01/1901"}));
    EXPECT_EQ(rows("select count(*) from ITENSNS where DOCTO_SA = '000002'"), std::vector<std::string>{"0"});

    // Loaded again, nothing is pending any more.
    QTest::mouseClick(w->btProc, Qt::LeftButton);
    EXPECT_EQ(w->lbQtNotas->text(), "0 notas pendentes.");
    // The program ends with the window still open: the data module goes first.
}

} // namespace
} // namespace fat::test
