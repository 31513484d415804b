#pragma once
#include "billing/LoadFixture.h"

#include "billing/TfrmProcessaNF.h"
#include "generation/TForm4.h"
#include "platform/ui/DataGrid.h"
#include "shell/TForm1.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

namespace fat::test {

// A data module on a fresh ERP database (as the load tests have it), a main window, and billing
// windows opened in its MDI area. "Today" is 20/03/2026.
struct BillingWindowFixture : LoadFixture {
    static TDateTime Hoje() { return EncodeDate(2026, 3, 20); }

    TForm1 main;

    BillingWindowFixture() {
        SetTodayFunction(&Hoje);
        main.resize(1100, 700);
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    }
    ~BillingWindowFixture() override { SetTodayFunction({}); }

    TfrmProcessaNF* abrir() {
        TfrmProcessaNF* w = TfrmProcessaNF::Abrir(dm, *main.mdiArea());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    static void clicar(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void carregar(TfrmProcessaNF& w) { clicar(w.btProc); }

    // "P G D F" for btProc, btGravar, btDesistir, btFechar, "-" where one is disabled.
    static std::string estados(const TfrmProcessaNF& w) {
        std::string r;
        for (const auto& [button, letter] : {std::pair{w.btProc, 'P'}, std::pair{w.btGravar, 'G'},
                                             std::pair{w.btDesistir, 'D'}, std::pair{w.btFechar, 'F'}})
            r += button->isEnabled() ? letter : '-';
        return r;
    }
    static std::string texto(const QLabel* label) { return label->text().toStdString(); }

    // Runs the action once, from inside the next load while it processes its events.
    void duranteCarga(std::function<void()> acao) {
        auto* timer = new QTimer(&main);
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, acao = std::move(acao)] {
            if (!TfrmProcessaNF::CargaEmCurso()) return;
            timer->stop();
            timer->deleteLater();
            acao();
        });
        timer->start();
    }

    // Invoices 000001.. issued on 10/03/2026, without orders.
    void notas(int quantas) {
        for (int i = 1; i <= quantas; ++i) {
            Invoice n;
            n.docto = std::string(6 - std::to_string(i).size(), '0') + std::to_string(i);
            invoice(n);
        }
    }
    // The row's text in a grid's column.
    static std::string celula(const ui::DataGrid& grid, int row, int column) {
        return grid.model()->index(row, column).data().toString().toStdString();
    }
    static void clicarLinha(ui::DataGrid& grid, int row) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(row, 0)).center());
    }
};

} // namespace fat::test
