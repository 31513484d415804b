#pragma once
#include "reprocess/ReprocessFixture.h"

#include "platform/ui/DataGrid.h"
#include "reprocess/TfrmReprocessaItens.h"
#include "shell/TForm1.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace fat::test {

// The reprocessing data of ReprocessFixture (source invoices, copies, item copies, orders), a
// main window, and reprocessing windows opened in its MDI area. "Today" is 20/03/2026.
struct ReprocessWindowFixture : ReprocessFixture {
    static TDateTime Hoje() { return EncodeDate(2026, 3, 20); }

    TForm1 main;

    ReprocessWindowFixture() {
        SetTodayFunction(&Hoje);
        main.resize(1100, 700);
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    }
    ~ReprocessWindowFixture() override { SetTodayFunction({}); }

    TfrmReprocessaItens* abrir() {
        TfrmReprocessaItens* w = TfrmReprocessaItens::Abrir(dm, *main.mdiArea());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    static void clicar(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

    // "P G D F" for btProc, btGravar, btDesistir, btFechar, "-" where one is disabled.
    static std::string estados(const TfrmReprocessaItens& w) {
        std::string r;
        for (const auto& [button, letter] : {std::pair{w.btProc, 'P'}, std::pair{w.btGravar, 'G'},
                                             std::pair{w.btDesistir, 'D'}, std::pair{w.btFechar, 'F'}})
            r += button->isEnabled() ? letter : '-';
        return r;
    }
    static void clicarCelula(ui::DataGrid& grid, int row, int column) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row, column)).center());
    }
    // The check boxes of the grid's SELEC column, one letter per row: "x" ticked, "." not.
    static std::string marcas(const ui::DataGrid& grid) {
        std::string r;
        for (int row = 0; row < grid.model()->rowCount(); ++row)
            r += grid.model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked ? 'x' : '.';
        return r;
    }
    // SELEC of the list's rows as the data module holds them, in list order.
    std::string selecionadas() {
        std::string r;
        data::ClientDataSet& l = dm.cdsNFVrDif;
        const int campo = l.fieldByName("SELEC").index();
        for (int i = 0; i < l.recordCount(); ++i) {
            const Value& v = l.valueAt(i, campo);
            r += v.isNull() ? '?' : (v.asBoolean() ? 'x' : '.');
        }
        return r;
    }
    // The numbers shown by the grid, in its order.
    static std::vector<std::string> numeros(const ui::DataGrid& grid) {
        std::vector<std::string> r;
        for (int row = 0; row < grid.model()->rowCount(); ++row)
            r.push_back(grid.model()->index(row, 2).data().toString().toStdString());
        return r;
    }
};

} // namespace fat::test
