// The billing window over a data module on a real database: its look, the states of its
// buttons, the filter boxes, loads (empty, counted, failing, two windows), row colours and the
// manual write-off with F1.
#include "BillingWindowFixture.h"

#include "platform/core/Format.h"
#include "platform/ui/DateBox.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <set>

namespace fat::test {
namespace {

using BillingWindow = BillingWindowFixture;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

std::vector<std::string> Titulos(const ui::DataGrid& grid) {
    std::vector<std::string> r;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        r.push_back(grid.model()->headerData(c, Qt::Horizontal).toString().toStdString());
    return r;
}

TEST_F(BillingWindow, OpensWithEveryControlInItsPlaceAndTheDatabaseShown) {
    TfrmProcessaNF* w = abrir();
    EXPECT_EQ(w->size(), QSize(882, 478));
    EXPECT_EQ(w->windowTitle(), U("Consulta Faturamento  -   ") + QString::fromStdString(db.location()));
    EXPECT_EQ(texto(w->lbBd), db.location());

    struct Place { const char* name; QRect geometry; };
    const Place places[] = {
        {"Panel1", {0, 0, 882, 43}},        {"deEmisIni", {159, 10, 105, 21}},  {"deEmisFim", {304, 10, 105, 21}},
        {"edDocto", {457, 10, 80, 21}},     {"btProc", {706, 8, 164, 25}},      {"dbgGera", {0, 43, 882, 240}},
        {"pbProgresso", {144, 283, 735, 17}}, {"DBGrid1", {683, 305, 192, 94}}, {"Panel4", {0, 405, 882, 47}},
        {"btGravar", {301, 11, 129, 25}},   {"btDesistir", {451, 11, 129, 25}}, {"btFechar", {706, 11, 164, 25}},
        {"Panel3", {0, 452, 882, 26}},
    };
    for (const auto& p : places) {
        const auto* control = w->findChild<QWidget*>(p.name);
        ASSERT_TRUE(control) << p.name;
        EXPECT_EQ(control->geometry(), p.geometry) << p.name;
    }
    struct Caption { QWidget* control; QPoint at; const char* text; QColor colour; bool bold; };
    const QColor navy(0, 0, 128), maroon(128, 0, 0), none;
    const Caption captions[] = {
        {w->Label1, {9, 14}, "Emissão das Notas Inicial", navy, true}, {w->Label3, {272, 14}, "Final", navy, true},
        {w->Label4, {418, 14}, "Docto", navy, true},                   {w->lbProgresso, {4, 285}, "Processamento", none, false},
        {w->lbQtNotas, {4, 310}, "", navy, true},                      {w->lbBd, {5, 7}, nullptr, none, false},
        {w->btProc, {706, 8}, "Abrir Notas Pendentes", navy, true},   {w->btGravar, {301, 11}, "Gravar", maroon, true},
        {w->btDesistir, {451, 11}, "Desistir", maroon, true},         {w->btFechar, {706, 11}, "Fechar", maroon, true},
    };
    for (const auto& c : captions) {
        const std::string name = c.control->objectName().toStdString();
        EXPECT_EQ(c.control->pos(), c.at) << name;
        const QString text = c.control->property("text").toString();
        if (c.text) {
            EXPECT_EQ(text, U(c.text)) << name;
        }
        if (c.colour.isValid()) {
            const auto role = qobject_cast<QPushButton*>(c.control) ? QPalette::ButtonText : QPalette::WindowText;
            EXPECT_EQ(c.control->palette().color(role), c.colour) << name;
        }
        EXPECT_EQ(c.control->font().bold(), c.bold) << name;
    }
    for (auto* button : {w->btProc, w->btGravar, w->btDesistir, w->btFechar})
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();

    EXPECT_EQ(w->deEmisFim->edit()->text(), U("20/03/2026"));
    EXPECT_TRUE(w->deEmisIni->isEmpty());
    EXPECT_EQ(w->edDocto->text(), QString());
    EXPECT_EQ(w->edDocto->maxLength(), 6);
    EXPECT_EQ(w->deEmisIni->toolTip(),
              U("Serão exibidas somente as notas com data de emissão igual ou superior a data informada."));
    EXPECT_EQ(w->deEmisFim->toolTip(),
              U("Serão exibidas somente as notas com data de emissão igual ou inferior a data informada."));
    for (QWidget* c : {static_cast<QWidget*>(w->deEmisIni), static_cast<QWidget*>(w->deEmisFim),
                       static_cast<QWidget*>(w->edDocto), static_cast<QWidget*>(w->dbgGera),
                       static_cast<QWidget*>(w->DBGrid1)})
        EXPECT_EQ(c->accessibleName(), c->objectName());

    // Tab order; the filter boxes are reached with the mouse only.
    std::vector<std::string> order;
    QWidget* at = w->btProc;
    do {
        if ((at->focusPolicy() & Qt::TabFocus) && w->isAncestorOf(at)) order.push_back(at->objectName().toStdString());
        at = at->nextInFocusChain();
    } while (at != w->btProc);
    EXPECT_EQ(order, (std::vector<std::string>{"btProc", "dbgGera", "btGravar", "btDesistir", "btFechar", "DBGrid1"}));

    // The grids: titles are the fields' labels, cells blue and bold.
    EXPECT_EQ(Titulos(*w->dbgGera),
              (std::vector<std::string>{"Número NF", "Sit.", "TB", "Prazo NF", "Prazo Ped.", "Valor NF", "Valor Ped.",
                                        "Emissão", "Data Base Parcela", "Repres.", "Nome Representante", "Preposto",
                                        "Tp.Nf", "CFOP", "Cód.", "Nome", "Vr. Comissão Item Fat.",
                                        "Vr. Comissão Item Rec.", "Gerado"}));
    EXPECT_EQ(w->dbgGera->horizontalHeader()->sectionSize(0), 70);
    EXPECT_EQ(w->dbgGera->horizontalHeader()->sectionSize(1), 30);
    EXPECT_EQ(w->dbgGera->horizontalHeader()->sectionSize(2), 22);
    EXPECT_EQ(w->dbgGera->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_TRUE(w->dbgGera->font().bold());
    EXPECT_TRUE(w->dbgGera->horizontalHeader()->font().bold());
    EXPECT_EQ(Titulos(*w->DBGrid1), (std::vector<std::string>{"Pedido", "TabPrazo"}));
    EXPECT_EQ(w->DBGrid1->horizontalHeader()->sectionSize(0), 73);
    EXPECT_EQ(w->DBGrid1->horizontalHeader()->sectionSize(1), 78);
}

TEST_F(BillingWindow, ButtonsGoIdleLoadingLoadedAndBackAndTheWindowStaysOpenWhileLoading) {
    notas(1);
    TfrmProcessaNF* w = abrir();
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    ASSERT_TRUE(sub);
    EXPECT_EQ(estados(*w), "P--F");

    std::string carregando;
    bool fechou = true;
    duranteCarga([&] {
        carregando = estados(*w);
        fechou = sub->close();
    });
    w->edDocto->setText("000001");
    w->deEmisIni->setDate(EncodeDate(2026, 3, 1));
    carregar(*w);
    EXPECT_EQ(carregando, "----");
    EXPECT_FALSE(fechou);
    EXPECT_EQ(estados(*w), "-GDF");
    EXPECT_EQ(texto(w->lbQtNotas), "1 notas pendentes.");

    clicar(w->btDesistir);
    EXPECT_EQ(estados(*w), "P--F");
    EXPECT_FALSE(dm.cdsGera.active());
    EXPECT_EQ(w->dbgGera->model()->rowCount(), 0);
    EXPECT_TRUE(w->edDocto->text().isEmpty());
    EXPECT_TRUE(w->deEmisIni->isEmpty());
    EXPECT_EQ(w->deEmisFim->edit()->text(), U("20/03/2026"));
    EXPECT_EQ(texto(w->lbQtNotas), "");
    EXPECT_EQ(texto(w->lbProgresso), "Processamento");
    EXPECT_EQ(w->pbProgresso->value(), 0);

    carregar(*w);
    EXPECT_EQ(estados(*w), "-GDF");
    clicar(w->btGravar);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.boxes[0].text, "Notas Atualizadas com sucesso.");
    EXPECT_EQ(estados(*w), "P--F");
    EXPECT_EQ(w->dbgGera->model()->rowCount(), 0);

    QPointer<QMdiSubWindow> fechada = sub;
    clicar(w->btFechar);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fechada.isNull(); }));
}

TEST_F(BillingWindow, LeavingTheDocumentBoxFillsItWithZerosToSixCharacters) {
    TfrmProcessaNF* w = abrir();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    struct Case { const char* typed; const char* left; };
    const Case cases[] = {{"7", "000007"}, {"123", "000123"}, {"12345", "012345"}, {"123456", "123456"},
                          {"1234567", "123456"}, {"   ", "   "}, {"", ""}, {" 7", "0000 7"}};
    for (const auto& c : cases) {
        w->edDocto->clear();
        w->edDocto->setFocus();
        ASSERT_TRUE(w->edDocto->hasFocus());
        QTest::keyClicks(w->edDocto, c.typed);
        w->dbgGera->setFocus(); // the focus leaves the box
        EXPECT_EQ(w->edDocto->text().toStdString(), c.left) << "'" << c.typed << "'";
    }
}

TEST_F(BillingWindow, ALoadThatFindsNothingShowsZeroAndStillEnablesSaveAndCancel) {
    notas(1); // issued on 10/03/2026
    TfrmProcessaNF* w = abrir();
    w->deEmisIni->setDate(EncodeDate(2026, 3, 11));
    carregar(*w);
    EXPECT_EQ(texto(w->lbQtNotas), "0 notas pendentes.");
    EXPECT_EQ(estados(*w), "-GDF");
    EXPECT_EQ(w->dbgGera->model()->rowCount(), 0);
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(BillingWindow, TheFilterBoxesBoundTheLoadAndAnEmptyDateBoundsNothing) {
    for (const auto& [docto, emissao] : std::vector<std::pair<const char*, const char*>>{
             {"000001", "'2019-07-01'"}, {"000002", "'2026-03-10'"}, {"000003", "'2026-03-21'"}}) {
        Invoice n;
        n.docto = docto;
        n.emissao = emissao;
        invoice(n);
    }
    TfrmProcessaNF* w = abrir();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    struct Case { const char* inicial; const char* final; const char* docto; std::vector<std::string> listed; };
    const Case cases[] = {
        {"", "20/03/2026", "", {"000001/1", "000002/1"}},     // as the window opens: everything up to today
        {"", "", "", {"000001/1", "000002/1", "000003/1"}},
        {"10/03/2026", "10/03/2026", "", {"000002/1"}},
        {"11/03/2026", "", "", {"000003/1"}},
        {"", "", "3", {"000003/1"}},                          // zero filled on leaving the box
        {"", "20/03/2026", "3", {}},
    };
    for (const auto& c : cases) {
        w->deEmisIni->edit()->setText(c.inicial);
        w->deEmisFim->edit()->setText(c.final);
        w->edDocto->setFocus();
        QTest::keyClicks(w->edDocto, c.docto);
        carregar(*w); // the click takes the focus from the box first
        EXPECT_EQ(listed(), c.listed) << c.inicial << " " << c.final << " " << c.docto;
        clicar(w->btDesistir);
    }
}

TEST_F(BillingWindow, AnInvalidDateIsShownAndNoLoadStarts) {
    notas(1);
    TfrmProcessaNF* w = abrir();
    w->deEmisIni->edit()->setText("31/02/2026");
    carregar(*w);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "'31/02/2026' is not a valid date");
    EXPECT_EQ(estados(*w), "P--F");
    EXPECT_FALSE(dm.cdsGera.active());
}

TEST_F(BillingWindow, TheProgressIsCountedPerInvoiceAndEndsWithTheLastOne) {
    notas(3);
    TfrmProcessaNF* w = abrir();
    std::vector<std::string> vistos;
    auto* timer = new QTimer(w);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [&] {
        const std::string t = texto(w->lbProgresso) + " @" + std::to_string(w->pbProgresso->value()) + "/" +
                              std::to_string(w->pbProgresso->maximum());
        if (TfrmProcessaNF::CargaEmCurso() && (vistos.empty() || vistos.back() != t)) vistos.push_back(t);
    });
    timer->start();
    carregar(*w);
    timer->stop();
    EXPECT_EQ(vistos, (std::vector<std::string>{"Processando 1 de 3 @1/3", "Processando 2 de 3 @2/3",
                                                "Processando 3 de 3 @3/3"}));
    EXPECT_EQ(texto(w->lbProgresso), "Fim de Processamento");
    EXPECT_EQ(texto(w->lbQtNotas), "3 notas pendentes.");
}

TEST_F(BillingWindow, TheCountCarriesTheThousandsSeparatorOfTheRegionalSettings) {
    exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, EMISSAO_NS, VALOR_NS, CFOP_NS, TPNOTA_NS, CODIGO_NS)"
         " select 1, lpad(x.n, 6, '0'), '1', '2026-03-10', 100, '5101', 'S', 1 from (with d as (select 0 as d from"
         " rdb$database union all select 1 from rdb$database union all select 2 from rdb$database union all select 3"
         " from rdb$database union all select 4 from rdb$database union all select 5 from rdb$database union all"
         " select 6 from rdb$database union all select 7 from rdb$database union all select 8 from rdb$database union"
         " all select 9 from rdb$database) select a.d + 10 * b.d + 100 * c.d + 1000 * e.d + 1 as n from d a, d b, d c,"
         " d e) x where x.n <= 1234");
    TfrmProcessaNF* w = abrir();
    FormatSettings& settings = GlobalFormatSettings();
    const FormatSettings saved = settings;
    struct Case { char separator; const char* shown; };
    for (const Case& c : {Case{'.', "1.234 notas pendentes."}, Case{',', "1,234 notas pendentes."}}) {
        settings.thousandSeparator = c.separator;
        carregar(*w);
        EXPECT_EQ(texto(w->lbQtNotas), c.shown);
        clicar(w->btDesistir);
    }
    settings = saved;
}

TEST_F(BillingWindow, RowsAreSilverForTypeCElseRedWhenAlreadyGenerated) {
    notas(2);
    exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, TPNOTA_NS) values (100, '000002', '1', 'S')");
    TfrmProcessaNF* w = abrir();
    carregar(*w);
    ASSERT_EQ(w->dbgGera->model()->rowCount(), 2);
    // One colour for every cell of a row; "none" keeps the grid's blue.
    const auto cor = [&](int row) {
        std::set<std::string> colours;
        for (int c = 0; c < w->dbgGera->model()->columnCount(); ++c) {
            const QVariant v = w->dbgGera->model()->index(row, c).data(Qt::ForegroundRole);
            colours.insert(v.isValid() ? v.value<QBrush>().color().name().toStdString() : "none");
        }
        return colours.size() == 1 ? *colours.begin() : "mixed";
    };
    EXPECT_EQ(cor(0), "none");
    EXPECT_EQ(cor(1), "#ff0000");
    // The load lists no type "C"; a row changed in memory shows the rule's order.
    struct Case { const char* tipo; const char* gerado; const char* colour; };
    const Case cases[] = {{"C", "N", "#c0c0c0"}, {"C", "S", "#c0c0c0"}, {"S", "S", "#ff0000"}, {"S", "N", "none"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(locate("000001"));
        dm.cdsGera.edit();
        dm.cdsGera.fieldByName("TPNOTA_NS").setAsString(c.tipo);
        dm.cdsGera.fieldByName("GERADO").setAsString(c.gerado);
        dm.cdsGera.post();
        EXPECT_EQ(cor(0), c.colour) << c.tipo << c.gerado;
    }
}

TEST_F(BillingWindow, TheOrdersGridShowsTheOrdersOfTheCurrentInvoice) {
    Invoice a, b;
    b.docto = "000002";
    invoice(a);
    invoice(b);
    order("PED1", a, 100);
    order("PED2", b, 50);
    order("PED3", b, 50);
    TfrmProcessaNF* w = abrir();
    carregar(*w);
    const auto pedidos = [&] {
        std::vector<std::string> r;
        for (int row = 0; row < w->DBGrid1->model()->rowCount(); ++row) r.push_back(celula(*w->DBGrid1, row, 0));
        return r;
    };
    EXPECT_EQ(pedidos(), std::vector<std::string>{"PED1"});
    clicarLinha(*w->dbgGera, 1);
    EXPECT_EQ(pedidos(), (std::vector<std::string>{"PED2", "PED3"}));
    clicarLinha(*w->dbgGera, 0);
    EXPECT_EQ(pedidos(), std::vector<std::string>{"PED1"});
}

TEST_F(BillingWindow, F1WritesTheCurrentInvoiceOffOnlyWithItsNumberRetyped) {
    notas(2);
    TfrmProcessaNF* w = abrir();
    std::vector<std::string> mostrados;
    std::function<void(TForm4&)> resposta;
    w->AoMostrarBaixa = [&](TForm4& d) {
        mostrados.push_back(d.Label2->text().toStdString());
        resposta(d);
    };
    QTest::keyClick(w->dbgGera, Qt::Key_F1); // nothing loaded yet
    EXPECT_TRUE(mostrados.empty());

    carregar(*w);
    clicarLinha(*w->dbgGera, 1);
    const auto digitar = [](const char* numero, std::function<void(TForm4&)> depois) {
        return [=](TForm4& d) {
            QTest::keyClicks(d.edNum, numero);
            depois(d);
        };
    };
    const auto baixar = [](TForm4& d) { QTest::mouseClick(d.BitBtn1, Qt::LeftButton); };
    const auto desistir = [](TForm4& d) { QTest::mouseClick(d.BitBtn2, Qt::LeftButton); };
    const auto esc = [](TForm4& d) { QTest::keyClick(d.edNum, Qt::Key_Escape); };
    struct Case {
        const char* name;
        Qt::Key key;
        std::function<void(TForm4&)> answer;
        bool shown, marked, refused;
    };
    const Case cases[] = {
        {"another key", Qt::Key_F2, {}, false, false, false},
        {"Desistir", Qt::Key_F1, digitar("000002", desistir), true, false, false},
        {"Esc", Qt::Key_F1, digitar("000002", esc), true, false, false},
        {"without the leading zeros", Qt::Key_F1, digitar("2", baixar), true, false, true},
        {"with a trailing blank", Qt::Key_F1, digitar("00002 ", baixar), true, false, true},
        {"the other invoice's number", Qt::Key_F1, digitar("000001", baixar), true, false, true},
        {"its number", Qt::Key_F1, digitar("000002", baixar), true, true, false},
    };
    for (const auto& c : cases) {
        mostrados.clear();
        messages.boxes.clear();
        resposta = c.answer;
        QTest::keyClick(w->dbgGera, c.key);
        EXPECT_EQ(mostrados, c.shown ? std::vector<std::string>{"Nota Fiscal 000002"} : std::vector<std::string>{})
            << c.name;
        EXPECT_EQ(field("DOCTO_NS"), "000002") << c.name;
        const data::Field& stamp = dm.cdsGera.fieldByName("DTGERACONT_NS");
        EXPECT_EQ(!stamp.isNull() && FormatDateTime("dd/mm/yyyy", stamp.asDateTime()) == "01/01/1901", c.marked) << c.name;
        ASSERT_EQ(messages.boxes.size(), c.refused ? 1u : 0u) << c.name;
        if (c.refused) {
            EXPECT_EQ(messages.boxes[0].text, "N\xFAmero da nota n\xE3o confere.");
        }
    }
    EXPECT_EQ(dm.cdsGera.state(), data::DataSetState::Browse);
    ASSERT_TRUE(locate("000001"));
    EXPECT_TRUE(dm.cdsGera.fieldByName("DTGERACONT_NS").isNull());
    EXPECT_EQ(w->dbgGera->model()->rowCount(), 2); // the row stays listed

    clicar(w->btDesistir);
    mostrados.clear();
    QTest::keyClick(w->dbgGera, Qt::Key_F1);
    EXPECT_TRUE(mostrados.empty());
}

TEST_F(BillingWindow, F1DuringALoadMarksTheInvoiceAtHandAndTheLoadKeepsTheMark) {
    notas(3);
    TfrmProcessaNF* w = abrir();
    std::string numero;
    w->AoMostrarBaixa = [&](TForm4& d) {
        numero = d.NumeroNota;
        QTest::keyClicks(d.edNum, QString::fromStdString(numero));
        QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    };
    duranteCarga([&] { QTest::keyClick(w->dbgGera, Qt::Key_F1); });
    carregar(*w);
    ASSERT_FALSE(numero.empty());
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(texto(w->lbQtNotas), "3 notas pendentes.");
    std::vector<std::string> baixadas;
    for (dm.cdsGera.first(); !dm.cdsGera.eof(); dm.cdsGera.next())
        if (!dm.cdsGera.fieldByName("DTGERACONT_NS").isNull()) baixadas.push_back(field("DOCTO_NS"));
    EXPECT_EQ(baixadas, std::vector<std::string>{numero});
    EXPECT_FALSE(dm.cdsGera.fieldByName("GERADO").isNull()) << "the load went on over every invoice";
}

TEST_F(BillingWindow, AFailedSaveShowsItsErrorAndKeepsTheWindowLoaded) {
    notas(1);
    TfrmProcessaNF* w = abrir();
    carregar(*w);
    ASSERT_EQ(estados(*w), "-GDF");
    dm.sqlCon.close(); // the save cannot reach the database
    clicar(w->btGravar);
    // The save's own errors only (the parameter read shows its box first), no success.
    ASSERT_FALSE(messages.boxes.empty());
    for (const auto& box : messages.boxes) EXPECT_EQ(box.icon, MessageIcon::Error) << box.text;
    EXPECT_EQ(messages.boxes.back().text, "the database connection is not open");
    EXPECT_EQ(estados(*w), "-GDF");
    EXPECT_EQ(w->dbgGera->model()->rowCount(), 1);
    EXPECT_EQ(texto(w->lbQtNotas), "1 notas pendentes.");
}

TEST_F(BillingWindow, AFailedLoadShowsItsErrorAndLeavesOnlyFecharEnabled) {
    notas(1);
    exec("drop table DUPLICATAS"); // read for every invoice of the load
    TfrmProcessaNF* w = abrir();
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    carregar(*w);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
    EXPECT_NE(messages.boxes[0].text.find("DUPLICATAS"), std::string::npos) << messages.boxes[0].text;
    EXPECT_EQ(estados(*w), "---F");
    EXPECT_EQ(texto(w->lbQtNotas), "");
    EXPECT_EQ(dm.Progresso, nullptr);
    EXPECT_EQ(TfrmProcessaNF::CargaEmCurso(), nullptr);
    // The grids are not left frozen by the interrupted load.
    EXPECT_FALSE(dm.cdsGera.controlsDisabled());
    EXPECT_FALSE(dm.cdsPed.controlsDisabled());
    EXPECT_EQ(w->dbgGera->model()->rowCount(), dm.cdsGera.recordCount());

    QPointer<QMdiSubWindow> fechada = sub;
    clicar(w->btFechar);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fechada.isNull(); }));
}

TEST_F(BillingWindow, ALoadReportsToItsOwnWindowAndNoOtherWindowSavesResetsOrLoadsMeanwhile) {
    notas(2);
    TfrmProcessaNF* a = abrir();
    TfrmProcessaNF* b = abrir();
    carregar(*b);
    ASSERT_EQ(estados(*b), "-GDF");
    TfrmProcessaNF* c = abrir(); // the newest; its creation empties the list
    EXPECT_EQ(dm.cdsGera.recordCount(), 0);
    EXPECT_EQ(b->dbgGera->model()->rowCount(), 0);

    std::string estadosB, estadosC;
    duranteCarga([&] {
        clicar(b->btGravar);
        clicar(b->btDesistir);
        clicar(c->btProc);
        estadosB = estados(*b);
        estadosC = estados(*c);
    });
    carregar(*a);
    EXPECT_EQ(estadosB, "-GDF");
    EXPECT_EQ(estadosC, "P--F");
    EXPECT_TRUE(messages.boxes.empty()); // no save ran, no load failed under another
    EXPECT_EQ(estados(*a), "-GDF");
    EXPECT_EQ(texto(a->lbQtNotas), "2 notas pendentes.");
    EXPECT_EQ(a->dbgGera->model()->rowCount(), 2);
    EXPECT_EQ(b->dbgGera->model()->rowCount(), 2); // the same list in every window
    EXPECT_EQ(texto(a->lbProgresso), "Fim de Processamento");
    EXPECT_EQ(texto(c->lbProgresso), "Processamento");
    EXPECT_EQ(c->pbProgresso->value(), 0);
    EXPECT_EQ(db.scalar("select count(*) from NOTASAI where DTGERACONT_NS is not null"), "0");
}

} // namespace
} // namespace fat::test
