// The data grid over a client dataset: texts, titles, widths, refreshes, the current row both
// ways, check boxes, key releases and text colours.
#include "platform/core/Errors.h"
#include "platform/core/Win1252.h"
#include "platform/data/ClientDataSet.h"
#include "platform/ui/DataGrid.h"
#include "support/MessageRecorder.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fat;
using data::FieldDef;

namespace {

struct Grid : ::testing::Test {
    test::MessageRecorder messages;
    data::ClientDataSet ds{"cdsTeste"};
    ui::DataGrid grid;

    Grid() {
        ds.addField(FieldDef("NUM", DataType::String, 6).withLabel(Win1252("Número")));
        ds.addField(FieldDef::decimal("VALOR", 15, 2).withLabel("Valor").withFormat("#,###,##0.00"));
        ds.addField(FieldDef("EMISSAO", DataType::DateTime).withFormat("dd\"/\"mm\"/\"yyyy"));
        ds.addField(FieldDef("COD", DataType::Integer).withFormat("000").withWidth(3));
        ds.addField(FieldDef("OBS", DataType::String, 30));
        ds.addField(FieldDef("OK", DataType::Boolean));
        ds.addField(FieldDef("SEL", DataType::String, 1));
        ds.createDataSet();
        grid.setColumns({{"NUM", 70},
                         {"VALOR"},
                         {"EMISSAO"},
                         {"COD"},
                         {"OBS", 0, "Obs."},
                         {"FALTA"},
                         ui::DataGridColumn::CheckBox("OK", Value::fromBoolean(true), Value::fromBoolean(false)),
                         ui::DataGridColumn::CheckBox("SEL", Value::fromString("S"), Value::fromString("N"))});
        grid.setDataSet(&ds);
        grid.resize(900, 300);
        grid.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    void add(const std::string& num, double valor = 0, int cod = 0, const std::string& obs = "") {
        ds.append();
        ds.fieldByName("NUM").setAsString(num);
        if (valor) ds.fieldByName("VALOR").setAsFloat(valor);
        if (cod) ds.fieldByName("COD").setAsInteger(cod);
        if (!obs.empty()) ds.fieldByName("OBS").setAsString(obs);
        ds.fieldByName("EMISSAO").setAsDateTime(EncodeDate(2026, 3, 5));
        ds.post();
    }
    QString text(int row, int column, int role = Qt::DisplayRole) const {
        return grid.model()->data(grid.model()->index(row, column), role).toString();
    }
    std::vector<std::string> column(int c) const {
        std::vector<std::string> r;
        for (int row = 0; row < grid.model()->rowCount(); ++row) r.push_back(text(row, c).toStdString());
        return r;
    }
    void clickRow(ui::DataGrid& g, int row, int col = 0) {
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.visualRect(g.model()->index(row, col)).center());
    }
};

} // namespace

TEST_F(Grid, ShowsTheFieldsInTheirFormatsUnderTheirLabels) {
    add("001", 1234.5, 7, Win1252("Açúcar"));
    ds.append();
    ds.fieldByName("NUM").setAsString("002"); // nulls elsewhere
    ds.post();

    std::vector<std::string> titles;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        titles.push_back(grid.model()->headerData(c, Qt::Horizontal).toString().toStdString());
    EXPECT_EQ(titles, (std::vector<std::string>{"Número", "Valor", "EMISSAO", "COD", "Obs.", "FALTA", "OK", "SEL"}));

    struct Case { int column; const char* first; const char* second; Qt::Alignment horizontal; };
    const Case cases[] = {
        {0, "001", "002", Qt::AlignLeft}, {1, "1.234,50", "", Qt::AlignRight}, {2, "05/03/2026", "", Qt::AlignLeft},
        {3, "007", "", Qt::AlignRight},   {4, "Açúcar", "", Qt::AlignLeft},    {5, "", "", Qt::AlignLeft},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(0, c.column), QString::fromUtf8(c.first)) << c.column;
        EXPECT_EQ(text(1, c.column), QString::fromUtf8(c.second)) << c.column;
        const auto alignment = grid.model()->data(grid.model()->index(0, c.column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, c.horizontal) << c.column;
    }

    // Widths: the column's own; else the field's display width in digits of the grid's font, but
    // never narrower than the title.
    const int digit = grid.fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const QFontMetrics titleFont(grid.horizontalHeader()->font());
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), 70);
    EXPECT_GE(grid.horizontalHeader()->sectionSize(4), 30 * digit);               // OBS: 30 characters
    EXPECT_LT(grid.horizontalHeader()->sectionSize(3), 10 * digit);               // COD: 3 characters
    EXPECT_GT(grid.horizontalHeader()->sectionSize(3), titleFont.horizontalAdvance("COD"));

    // Closed, the grid keeps its titles and shows no rows.
    ds.close();
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("Número"));
}

TEST_F(Grid, ItsModelStaysConsistentThroughTheDataSetsChanges) {
    std::vector<std::string> warnings;
    static std::vector<std::string>* sink;
    sink = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
        if (type != QtDebugMsg && type != QtInfoMsg) sink->push_back(m.toStdString());
    });
    {
        QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
        for (int i = 1; i <= 6; ++i) add("00" + std::to_string(i), i * 10.0, i);
        ds.setRecNo(3);
        ds.edit();
        ds.fieldByName("OBS").setAsString("changed");
        ds.post();
        ds.deleteRecord();
        ds.setIndexFieldNames("COD");
        ds.setFilter("COD > 2");
        ds.setFiltered(true);
        ds.disableControls();
        add("007", 70, 7);
        ds.enableControls();
        grid.setColumns({{"NUM"}, {"VALOR"}});
        ds.setFiltered(false);
        ds.emptyDataSet();
        ds.close();
        ds.createDataSet();
        add("008");
        grid.setDataSet(nullptr);
        grid.setDataSet(&ds);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_EQ(grid.model()->rowCount(), 1);
}

TEST_F(Grid, WhileDisplayUpdatesAreSuspendedItShowsWhatItHadAndReadsNothing) {
    add("001");
    add("002");
    ASSERT_EQ(column(0), (std::vector<std::string>{"001", "002"}));
    ds.disableControls();
    add("003");
    ds.first();
    ds.edit();
    ds.fieldByName("NUM").setAsString("XXX");
    ds.post();
    EXPECT_EQ(column(0), (std::vector<std::string>{"001", "002"}));
    // Even a closed dataset under suspension is not read: painting shows the old texts.
    ds.close();
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(column(0), (std::vector<std::string>{"001", "002"}));
    EXPECT_FALSE(grid.grab().isNull());
    ds.createDataSet();
    add("010");
    add("011");
    add("012");
    ds.enableControls();
    EXPECT_EQ(column(0), (std::vector<std::string>{"010", "011", "012"}));

    // A row it never showed is not read under suspension either: blank until updates resume.
    for (int i = 0; i < 60; ++i) add("R" + std::to_string(i));
    ds.disableControls();
    ds.emptyDataSet();
    for (int i = 0; i < 63; ++i) add("N" + std::to_string(i));
    EXPECT_EQ(text(62, 0), "");
    ds.enableControls();
    EXPECT_EQ(text(62, 0), "N62");
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(Grid, TheCurrentRowFollowsTheDataSetBothWaysAndADetailFollowsItsMaster) {
    for (const char* n : {"001", "002", "003"}) add(n);
    data::ClientDataSet detail{"cdsDetalhe"};
    detail.addField(FieldDef("NUMM", DataType::String, 6));
    detail.addField(FieldDef("TXT", DataType::String, 10));
    detail.createDataSet();
    for (const auto& [m, t] : std::vector<std::pair<const char*, const char*>>{{"001", "a"}, {"002", "b"}, {"002", "c"}}) {
        detail.append();
        detail.fieldByName("NUMM").setAsString(m);
        detail.fieldByName("TXT").setAsString(t);
        detail.post();
    }
    detail.setIndexFieldNames("NUMM");
    detail.setMasterSource(&ds);
    detail.setMasterFields("NUM");
    ui::DataGrid detailGrid;
    detailGrid.setColumns({{"TXT"}});
    detailGrid.setDataSet(&detail);

    ds.first();
    EXPECT_EQ(grid.currentIndex().row(), 0);
    clickRow(grid, 1);
    EXPECT_EQ(ds.recNo(), 2);
    EXPECT_EQ(detailGrid.model()->rowCount(), 2);
    EXPECT_EQ(detailGrid.model()->index(1, 0).data().toString(), "c");

    ASSERT_TRUE(ds.locate("NUM", Value::fromString("003")));
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(detailGrid.model()->rowCount(), 0);

    // Under suspension a click does not move the dataset (a load may be walking it).
    ds.disableControls();
    clickRow(grid, 0);
    EXPECT_EQ(ds.recNo(), 3);
    ds.enableControls();
    EXPECT_EQ(grid.currentIndex().row(), 2);
    detailGrid.setDataSet(nullptr);
    detail.setMasterSource(nullptr);
}

TEST_F(Grid, ACheckBoxCellTogglesItsFieldWithAClickOrSpace) {
    add("001");
    add("002");
    struct Case { int column; const char* field; Value on; Value off; };
    const Case cases[] = {
        {6, "OK", Value::fromBoolean(true), Value::fromBoolean(false)},
        {7, "SEL", Value::fromString("S"), Value::fromString("N")},
    };
    for (const auto& c : cases) {
        const QModelIndex cell = grid.model()->index(1, c.column);
        EXPECT_EQ(cell.data(Qt::CheckStateRole).toInt(), Qt::Unchecked) << c.field; // null
        clickRow(grid, 1, c.column);
        EXPECT_EQ(ds.recNo(), 2);
        EXPECT_EQ(ds.fieldByName(c.field).value(), c.on) << c.field;
        EXPECT_EQ(grid.model()->index(1, c.column).data(Qt::CheckStateRole).toInt(), Qt::Checked) << c.field;
        QTest::keyClick(&grid, Qt::Key_Space);
        EXPECT_EQ(ds.fieldByName(c.field).value(), c.off) << c.field;
        EXPECT_EQ(ds.state(), data::DataSetState::Browse);
        ds.first();
        EXPECT_TRUE(ds.fieldByName(c.field).isNull()) << "the other row is untouched";
    }
    // Suspended, the dataset is not written.
    ds.disableControls();
    EXPECT_FALSE(grid.dataModel()->toggle(grid.model()->index(0, 6)));
    ds.enableControls();
    EXPECT_TRUE(ds.fieldByName("OK").isNull());
}

TEST_F(Grid, KeyReleasesReachTheHandlerOnceAndItsErrorsAreShown) {
    add("001");
    std::vector<int> keys;
    grid.onKeyUp = [&](QKeyEvent& e) {
        keys.push_back(e.key());
        if (e.key() == Qt::Key_F2) throw Error("no F2 here");
    };
    QTest::keyClick(&grid, Qt::Key_F1);
    QTest::keyClick(&grid, Qt::Key_F1, Qt::ShiftModifier);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&grid, &repeat);
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_F1, Qt::Key_F1, Qt::Key_Shift, Qt::Key_F2}));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "no F2 here");
}

TEST_F(Grid, ACellsTextColourComesFromTheCallbackAndStaysOnTheSelectedRow) {
    add("111");
    add("222");
    grid.setTextColour([](int row, int) -> std::optional<QColor> {
        if (row == 0) return QColor(255, 0, 0);
        return std::nullopt;
    });
    EXPECT_EQ(grid.model()->index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_FALSE(grid.model()->index(1, 0).data(Qt::ForegroundRole).isValid());

    const auto redPixels = [&](int row) {
        const QRect cell = grid.visualRect(grid.model()->index(row, 0));
        const QImage image = grid.viewport()->grab(cell).toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.red() > 200 && c.green() < 60 && c.blue() < 60;
            }
        return n;
    };
    ds.setRecNo(1); // selected
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(0, {}));
    EXPECT_GT(redPixels(0), 0);
    EXPECT_EQ(redPixels(1), 0);
}

TEST_F(Grid, FixedRowAndTitleHeightsAndATintOnEveryOtherRowAreOptionsThatStartOff) {
    for (const char* n : {"001", "002", "003", "004"}) add(n);
    ds.setRecNo(4); // the selected row is painted apart; rows 1 to 3 show their background
    // The background of a row, sampled in a cell without text.
    const auto fundo = [&](int row) {
        const QRect cell = grid.visualRect(grid.model()->index(row, 5));
        return grid.viewport()->grab(cell).toImage().pixelColor(cell.width() / 2, cell.height() / 2);
    };
    const int alturaDaFonte = grid.rowHeight(0);
    const int alturaDosTitulos = grid.horizontalHeader()->height();
    EXPECT_FALSE(grid.alternatingRowColors());
    EXPECT_EQ(fundo(1), fundo(0));
    EXPECT_EQ(fundo(2), fundo(0));

    const QColor ciano(230, 255, 255);
    grid.setAlternateRowColour(ciano);
    grid.setRowHeight(17);
    grid.setTitleHeight(17);
    add("005"); // rows added after the change take it too
    for (int row = 0; row < grid.model()->rowCount(); ++row) EXPECT_EQ(grid.rowHeight(row), 17) << row;
    EXPECT_EQ(grid.horizontalHeader()->height(), 17);
    ds.setRecNo(5);
    EXPECT_NE(fundo(0), ciano);
    EXPECT_EQ(fundo(1), ciano);
    EXPECT_EQ(fundo(2), fundo(0));
    EXPECT_EQ(fundo(3), ciano);

    // Switched off again, the grid is as it was.
    grid.setAlternateRowColour(QColor());
    grid.setRowHeight(0);
    grid.setTitleHeight(0);
    EXPECT_EQ(fundo(1), fundo(0));
    EXPECT_EQ(grid.rowHeight(1), alturaDaFonte);
    EXPECT_EQ(grid.horizontalHeader()->height(), alturaDosTitulos);
}
