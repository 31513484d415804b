// The reprocessing window over a data module on a real database: its look, the states of its
// buttons, the document box, the filter, ticking single rows and all rows, a reprocess that
// finds nothing ticked or fails, two windows on one list, and the window reached from the main
// window's button through a whole reprocess.
#include "ReprocessWindowFixture.h"

#include "platform/ui/DateBox.h"
#include "shell/Startup.h"

#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

namespace fat::test {
namespace {

using ReprocessWindow = ReprocessWindowFixture;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A copy in branch 100 issued on the day given whose one item copy (80.00) disagrees with its
// value (90.00).
void CopiaDivergente(ReprocessFixture& f, const std::string& docto, const std::string& emissao) {
    f.notaSai({.docto = docto, .emissao = emissao});
    f.notaSai({.filial = 100, .docto = docto, .emissao = emissao, .valor = 90, .vrmerc = 90});
    f.itemCopia(100, docto, 1, "OLD", 80);
}

TEST_F(ReprocessWindow, OpensInTheFilterStateWithEveryControlInPlace) {
    TfrmReprocessaItens* w = abrir();
    EXPECT_EQ(w->size(), QSize(641, 382));
    EXPECT_EQ(w->windowTitle(), U("Reprocessa Itens"));
    EXPECT_EQ(w->lbBd->text().toStdString(), db.location());
    EXPECT_EQ(estados(*w), "P--F");
    EXPECT_EQ(w->deEmisFim->edit()->text(), U("20/03/2026"));
    EXPECT_TRUE(w->deEmisIni->isEmpty());
    EXPECT_TRUE(w->edDocto->text().isEmpty());
    EXPECT_EQ(w->edDocto->maxLength(), 6);

    // The panels at the top and bottom, the grid between them; the filter left to right, each
    // caption clear of the control after it.
    EXPECT_EQ(w->Panel1->geometry(), QRect(0, 0, 641, 46));
    EXPECT_EQ(w->Panel4->geometry(), QRect(0, 382 - 64, 641, 64));
    EXPECT_EQ(w->dbgNFVrDif->geometry(), QRect(0, 46, 641, 382 - 46 - 64));
    const std::vector<QWidget*> filtro = {w->Label1, w->edDocto, w->Label2, w->deEmisIni,
                                          w->Label3, w->deEmisFim, w->btProc};
    for (std::size_t i = 0; i < filtro.size(); ++i) {
        const std::string name = filtro[i]->objectName().toStdString();
        EXPECT_EQ(filtro[i]->parentWidget(), w->Panel1) << name;
        EXPECT_TRUE(w->Panel1->rect().contains(filtro[i]->geometry())) << name;
        if (i + 1 < filtro.size()) {
            EXPECT_LT(filtro[i]->geometry().right(), filtro[i + 1]->x()) << name;
        }
    }
    for (QPushButton* b : {w->btGravar, w->btDesistir, w->btFechar}) {
        EXPECT_EQ(b->parentWidget(), w->Panel4);
        EXPECT_EQ(b->size(), QSize(136, 25)) << b->objectName().toStdString();
        EXPECT_LT(b->geometry().bottom(), w->lbBd->y()) << "lbBd lies below the buttons";
    }
    EXPECT_LT(w->btDesistir->geometry().right(), w->btFechar->x());
    EXPECT_GT(w->btFechar->x(), 641 / 2) << "Fechar at the right";
    EXPECT_LT(w->btDesistir->x(), 641 / 2) << "Reprocessar and Desistir at the left";

    struct Caption { QWidget* control; const char* text; QColor colour; };
    const QColor navy(0, 0, 128), maroon(128, 0, 0);
    const Caption captions[] = {
        {w->Label1, "Docto", navy},          {w->Label2, "Emissão Inicial", navy},
        {w->Label3, "Final", navy},          {w->btProc, "Abrir Notas Fiscais", navy},
        {w->btGravar, "Reprocessar", maroon}, {w->btDesistir, "Desistir", maroon},
        {w->btFechar, "Fechar", maroon},
    };
    for (const auto& c : captions) {
        const std::string name = c.control->objectName().toStdString();
        EXPECT_EQ(c.control->property("text").toString(), U(c.text)) << name;
        const auto role = qobject_cast<QPushButton*>(c.control) ? QPalette::ButtonText : QPalette::WindowText;
        EXPECT_EQ(c.control->palette().color(role), c.colour) << name;
        EXPECT_TRUE(c.control->font().bold()) << name;
    }

    // The grid: columns, titles and widths as given, 17-pixel rows and titles, bold titles,
    // light cyan on every other row, nothing editable in place.
    ui::DataGrid& grid = *w->dbgNFVrDif;
    const std::vector<std::pair<std::string, int>> colunas = {
        {" ", 21},         {"Filial", 45},          {"Docto", 56},            {"Serie", 41},
        {"Emissão", 89},   {"Valor Mercadoria", 108}, {"Tot. Preço Real", 117}, {"Diferença", 107}};
    ASSERT_EQ(grid.model()->columnCount(), static_cast<int>(colunas.size()));
    for (int c = 0; c < grid.model()->columnCount(); ++c) {
        const auto& [titulo, largura] = colunas[static_cast<std::size_t>(c)];
        EXPECT_EQ(grid.model()->headerData(c, Qt::Horizontal).toString().toStdString(), titulo) << c;
        EXPECT_EQ(grid.horizontalHeader()->sectionSize(c), largura) << c;
    }
    EXPECT_TRUE(grid.dataModel()->columns()[0].checkBox);
    EXPECT_EQ(grid.verticalHeader()->defaultSectionSize(), 17);
    EXPECT_EQ(grid.horizontalHeader()->height(), 17);
    EXPECT_TRUE(grid.horizontalHeader()->font().bold());
    EXPECT_TRUE(grid.alternatingRowColors());
    EXPECT_EQ(grid.palette().color(QPalette::AlternateBase), QColor(230, 255, 255));
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);

    // The select-all box lies on the title row, inside the SELEC column's title.
    QCheckBox* todos = w->cbMarcarTodos;
    EXPECT_TRUE(todos->isVisible());
    EXPECT_EQ(todos->size(), QSize(15, 15));
    EXPECT_TRUE(todos->text().isEmpty());
    EXPECT_FALSE(todos->isChecked());
    QHeaderView* titulos = grid.horizontalHeader();
    const QRect noTitulo(todos->mapTo(titulos, QPoint(0, 0)), todos->size());
    const QRect tituloSelec(titulos->sectionViewportPosition(0), 0, titulos->sectionSize(0), titulos->height());
    EXPECT_TRUE(tituloSelec.contains(noTitulo)) << noTitulo.x() << "," << noTitulo.y();
    EXPECT_FALSE(todos->focusPolicy() & Qt::TabFocus);

    for (QWidget* c : {static_cast<QWidget*>(w->edDocto), static_cast<QWidget*>(w->deEmisIni),
                       static_cast<QWidget*>(w->deEmisFim), static_cast<QWidget*>(w->dbgNFVrDif),
                       static_cast<QWidget*>(w->cbMarcarTodos)})
        EXPECT_EQ(c->accessibleName(), c->objectName());

    // Tab order: the filter, its button, then the grid and the buttons below.
    std::vector<std::string> ordem;
    QWidget* at = w->edDocto;
    do {
        if ((at->focusPolicy() & Qt::TabFocus) && w->isAncestorOf(at))
            ordem.push_back(at->objectName().isEmpty() ? at->accessibleName().toStdString()
                                                       : at->objectName().toStdString());
        at = at->nextInFocusChain();
    } while (at != w->edDocto);
    EXPECT_EQ(ordem, (std::vector<std::string>{"edDocto", "deEmisIni", "deEmisFim", "btProc", "dbgNFVrDif",
                                               "btGravar", "btDesistir", "btFechar"}));
}

TEST_F(ReprocessWindow, TheDateBoxesKeepTheirHintsButTheWindowShowsNone) {
    TfrmReprocessaItens* w = abrir();
    EXPECT_EQ(w->deEmisIni->toolTip(),
              U("Serão exibidas somente as notas com data de emissão igual ou superior a data informada."));
    EXPECT_EQ(w->deEmisFim->toolTip(),
              U("Serão exibidas somente as notas com data de emissão igual ou inferior a data informada."));
    const auto dica = [](QWidget* alvo) {
        QHelpEvent e(QEvent::ToolTip, QPoint(2, 2), alvo->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(alvo, &e);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
    };
    ASSERT_FALSE(QToolTip::isVisible());
    for (QWidget* alvo : {static_cast<QWidget*>(w->deEmisIni), static_cast<QWidget*>(w->deEmisIni->edit()),
                          static_cast<QWidget*>(w->deEmisFim->edit()), static_cast<QWidget*>(w->deEmisFim->button())})
        EXPECT_EQ(dica(alvo), "") << alvo->metaObject()->className();
    // A widget of another window shows its hint: the check can see one.
    QLabel outro("x");
    outro.setToolTip("hint of another window");
    outro.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&outro));
    EXPECT_EQ(dica(&outro), "hint of another window");
    QToolTip::hideText();
}

TEST_F(ReprocessWindow, LeavingTheDocumentBoxFillsItWithZerosToSixCharacters) {
    TfrmReprocessaItens* w = abrir();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    struct Case { const char* typed; const char* left; };
    const Case cases[] = {{"12", "000012"}, {"7", "000007"},      {"12345", "012345"}, {"123456", "123456"},
                          {"1234567", "123456"}, {"   ", "   "}, {"", ""},           {" 7", "0000 7"}};
    for (const auto& c : cases) {
        w->edDocto->clear();
        w->edDocto->setFocus();
        ASSERT_TRUE(w->edDocto->hasFocus());
        QTest::keyClicks(w->edDocto, c.typed);
        w->deEmisIni->edit()->setFocus(); // the focus leaves the box
        EXPECT_EQ(w->edDocto->text().toStdString(), c.left) << "'" << c.typed << "'";
    }
}

TEST_F(ReprocessWindow, OpeningTheListGoesToTheListStateWithNothingTickedAndDesistirBack) {
    copiaSimples("000001", 90, 80);
    copiaSimples("000002", 90, 80);
    TfrmReprocessaItens* w = abrir();
    clicar(w->cbMarcarTodos); // ticked while nothing is listed
    ASSERT_TRUE(w->cbMarcarTodos->isChecked());
    w->deEmisIni->setDate(EncodeDate(2026, 3, 1));

    clicar(w->btProc);
    EXPECT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
    EXPECT_EQ(estados(*w), "-GDF");
    EXPECT_TRUE(dm.cdsNFVrDif.active());
    EXPECT_EQ(numeros(*w->dbgNFVrDif), (std::vector<std::string>{"000001", "000002"}));
    EXPECT_EQ(selecionadas(), "..");
    EXPECT_EQ(marcas(*w->dbgNFVrDif), "..");
    EXPECT_FALSE(w->cbMarcarTodos->isChecked());
    EXPECT_EQ(dm.cdsNFVrDif.recNo(), 1);

    clicar(w->btDesistir);
    EXPECT_EQ(estados(*w), "P--F");
    EXPECT_FALSE(dm.cdsNFVrDif.active());
    EXPECT_EQ(w->dbgNFVrDif->model()->rowCount(), 0);
    EXPECT_EQ(w->deEmisIni->edit()->text(), U("01/03/2026")) << "the filter stays as typed";

    clicar(w->btProc);
    EXPECT_EQ(estados(*w), "-GDF");
    EXPECT_EQ(w->dbgNFVrDif->model()->rowCount(), 2);
}

TEST_F(ReprocessWindow, TheFilterBoundsTheListAndAnEmptyOrUnreadableDateBoundsNothing) {
    CopiaDivergente(*this, "000001", "2026-03-10");
    CopiaDivergente(*this, "000002", "2026-03-15");
    CopiaDivergente(*this, "000003", "2026-03-21");
    TfrmReprocessaItens* w = abrir();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    struct Case { const char* inicial; const char* final; const char* docto; std::vector<std::string> listed; };
    const Case cases[] = {
        {"", "20/03/2026", "", {"000001", "000002"}}, // as the window opens: everything up to today
        {"", "", "", {"000001", "000002", "000003"}},
        {"11/03/2026", "", "", {"000002", "000003"}},
        {"10/03/2026", "15/03/2026", "", {"000001", "000002"}},
        {"", "", "2", {"000002"}}, // zero filled on leaving the box
        {"", "", "000004", {}},
        {"31/02/2026", "", "", {"000001", "000002", "000003"}},
        {"abc", "15/03/2026", "", {"000001", "000002"}},
    };
    for (const auto& c : cases) {
        w->deEmisIni->edit()->setText(c.inicial);
        w->deEmisFim->edit()->setText(c.final);
        w->edDocto->clear();
        w->edDocto->setFocus();
        QTest::keyClicks(w->edDocto, c.docto);
        clicar(w->btProc); // the click takes the focus from the box first
        EXPECT_EQ(numeros(*w->dbgNFVrDif), c.listed) << c.inicial << " " << c.final << " " << c.docto;
        EXPECT_EQ(estados(*w), "-GDF");
        clicar(w->btDesistir);
    }
    EXPECT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
}

TEST_F(ReprocessWindow, AClickInTheSelecColumnTogglesItsRowAndAClickElsewhereOnlyMoves) {
    for (const char* d : {"000001", "000002", "000003"}) copiaSimples(d, 90, 80);
    TfrmReprocessaItens* w = abrir();
    clicar(w->btProc);
    ui::DataGrid& grid = *w->dbgNFVrDif;
    for (int coluna = 1; coluna < grid.model()->columnCount(); ++coluna) {
        dm.cdsNFVrDif.first();
        clicarCelula(grid, 1, coluna);
        EXPECT_EQ(dm.cdsNFVrDif.recNo(), 2) << coluna;
        EXPECT_EQ(selecionadas(), "...") << coluna;
    }
    struct Case { int row; const char* after; };
    const Case cases[] = {{1, ".x."}, {2, ".xx"}, {1, "..x"}, {2, "..."}};
    for (const auto& c : cases) {
        clicarCelula(grid, c.row, 0);
        EXPECT_EQ(dm.cdsNFVrDif.recNo(), c.row + 1);
        EXPECT_EQ(selecionadas(), c.after);
        EXPECT_EQ(marcas(grid), c.after);
        EXPECT_EQ(dm.cdsNFVrDif.state(), data::DataSetState::Browse);
    }
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(ReprocessWindow, TheSelectAllBoxSetsEveryRowToItsStateOverTheSingleTicks) {
    for (const char* d : {"000001", "000002", "000003"}) copiaSimples(d, 90, 80);
    TfrmReprocessaItens* w = abrir();
    clicar(w->btProc);
    ui::DataGrid& grid = *w->dbgNFVrDif;
    clicarCelula(grid, 0, 0);
    clicarCelula(grid, 2, 0);
    ASSERT_EQ(selecionadas(), "x.x");

    struct Step { int tickRow; bool boxAfter; const char* after; };
    const Step steps[] = {{-1, true, "xxx"}, {-1, false, "..."}, {1, true, "xxx"}, {0, false, "..."}};
    for (const auto& s : steps) {
        if (s.tickRow >= 0) clicarCelula(grid, s.tickRow, 0);
        clicar(w->cbMarcarTodos);
        EXPECT_EQ(w->cbMarcarTodos->isChecked(), s.boxAfter);
        EXPECT_EQ(selecionadas(), s.after);
        EXPECT_EQ(marcas(grid), s.after) << "the grid shows the walk once it is over";
        EXPECT_EQ(dm.cdsNFVrDif.recNo(), 1) << "back on the first row";
        EXPECT_EQ(grid.currentIndex().row(), 0);
        EXPECT_FALSE(dm.cdsNFVrDif.controlsDisabled());
        EXPECT_EQ(dm.cdsNFVrDif.state(), data::DataSetState::Browse);
    }
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(ReprocessWindow, TheSelectAllBoxDoesNothingWhileTheListIsClosed) {
    copiaSimples("000001", 90, 80);
    TfrmReprocessaItens* w = abrir();
    clicar(w->cbMarcarTodos);
    EXPECT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
    EXPECT_FALSE(dm.cdsNFVrDif.active());
    EXPECT_FALSE(dm.cdsNFVrDif.controlsDisabled()) << "the display is not left suspended";
    EXPECT_EQ(estados(*w), "P--F");
    clicar(w->btProc);
    EXPECT_EQ(numeros(*w->dbgNFVrDif), std::vector<std::string>{"000001"});
}

TEST_F(ReprocessWindow, AFailingSelectAllStillEndsOnTheFirstRowWithTheDisplayRunning) {
    TfrmReprocessaItens* w = abrir();
    // A list without its selection flag: the walk fails on it.
    data::ClientDataSet& lista = dm.cdsNFVrDif;
    lista.close();
    lista.clearFields();
    lista.addField(data::FieldDef("DOCTO_NS", DataType::String, 6));
    lista.createDataSet();
    for (const char* d : {"000001", "000002", "000003"}) {
        lista.append();
        lista.fieldByName("DOCTO_NS").setAsString(d);
        lista.post();
    }
    lista.setRecNo(3);
    clicar(w->cbMarcarTodos);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
    EXPECT_NE(messages.boxes[0].text.find("SELEC"), std::string::npos) << messages.boxes[0].text;
    EXPECT_EQ(lista.recNo(), 1);
    EXPECT_FALSE(lista.controlsDisabled());
    EXPECT_EQ(numeros(*w->dbgNFVrDif), (std::vector<std::string>{"000001", "000002", "000003"}));
    EXPECT_EQ(w->dbgNFVrDif->currentIndex().row(), 0);
}

TEST_F(ReprocessWindow, ReprocessarWithNothingTickedTouchesNoCopyAndGoesBackToTheFilter) {
    copiaSimples("000001", 90, 80);
    TfrmReprocessaItens* w = abrir();
    clicar(w->btProc);
    std::vector<std::string> tocados;
    dm.sqlCon.setStatementObserver([&](const std::string& texto, const std::vector<Value>&) {
        if (texto.find("ITENSNS") != std::string::npos || texto.find("update NOTASAI") != std::string::npos)
            tocados.push_back(texto);
    });
    clicar(w->btGravar);
    dm.sqlCon.setStatementObserver({});
    EXPECT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
    EXPECT_TRUE(tocados.empty()) << tocados[0];
    EXPECT_EQ(estados(*w), "P--F");
    EXPECT_FALSE(dm.cdsNFVrDif.active());
    EXPECT_EQ(itensNS(100, "000001").at(0).prod, "OLD");
    EXPECT_EQ(valores(100, "000001"), "90.00|90.00");
}

TEST_F(ReprocessWindow, AFailingReprocessIsShownAndLeavesTheListOpenWithItsTicks) {
    copiaSimples("000001", 90, 80);
    copiaSimples("000002", 90, 80);
    db.exec("create exception NO_ITEMS 'item copies of 000002 refused'");
    db.exec("create trigger ITENSNS_REFUSE for ITENSNS before insert as begin"
            " if (new.DOCTO_SA = '000002') then exception NO_ITEMS; end");
    TfrmReprocessaItens* w = abrir();
    clicar(w->btProc);
    clicar(w->cbMarcarTodos);
    ASSERT_EQ(selecionadas(), "xx");

    clicar(w->btGravar);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
    EXPECT_NE(messages.boxes[0].text.find("item copies of 000002 refused"), std::string::npos)
        << messages.boxes[0].text;
    EXPECT_EQ(estados(*w), "-GDF");
    EXPECT_TRUE(dm.cdsNFVrDif.active());
    EXPECT_EQ(selecionadas(), "xx");
    EXPECT_EQ(marcas(*w->dbgNFVrDif), "xx");
    EXPECT_TRUE(w->cbMarcarTodos->isChecked());
    EXPECT_FALSE(dm.cdsNFVrDif.controlsDisabled());
    // The copy before the failing one keeps its changes; the failing one is as it was.
    EXPECT_EQ(itensNS(100, "000001").at(0).prod, "1234");
    EXPECT_EQ(itensNS(100, "000002").at(0).prod, "OLD");

    clicar(w->btDesistir);
    EXPECT_EQ(estados(*w), "P--F");
    EXPECT_FALSE(dm.cdsNFVrDif.active());
}

TEST_F(ReprocessWindow, TwoWindowsShowTheSameListAndItsTicks) {
    copiaSimples("000001", 90, 80);
    copiaSimples("000002", 90, 80);
    TfrmReprocessaItens* a = abrir();
    TfrmReprocessaItens* b = abrir();
    clicar(a->btProc);
    EXPECT_EQ(estados(*a), "-GDF");
    EXPECT_EQ(estados(*b), "P--F") << "each window keeps its own state";
    EXPECT_EQ(numeros(*b->dbgNFVrDif), (std::vector<std::string>{"000001", "000002"}));

    clicarCelula(*b->dbgNFVrDif, 1, 0);
    EXPECT_EQ(marcas(*a->dbgNFVrDif), ".x");
    clicar(a->cbMarcarTodos);
    EXPECT_EQ(marcas(*b->dbgNFVrDif), "xx");
    clicar(b->cbMarcarTodos); // the list is open: b's box walks it too
    EXPECT_EQ(marcas(*a->dbgNFVrDif), "xx");
    clicar(b->cbMarcarTodos);
    EXPECT_EQ(marcas(*a->dbgNFVrDif), "..");

    clicar(a->btDesistir);
    EXPECT_EQ(b->dbgNFVrDif->model()->rowCount(), 0);

    // One window closes the list the other has open: "Reprocessar" there finds nothing to do.
    clicar(a->btProc);
    clicar(b->btProc);
    clicar(a->cbMarcarTodos);
    clicar(b->btDesistir);
    clicar(a->btGravar);
    EXPECT_EQ(estados(*a), "P--F");
    EXPECT_EQ(itensNS(100, "000001").at(0).prod, "OLD");
    EXPECT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
}

// The program as the user starts it: the main window and its data module from the INI file.
struct ReprocessFromMain : ReprocessWindowFixture {
    std::unique_ptr<TAplicacao> app;

    ReprocessFromMain() {
        writeIni("[BDADOS]\nDB=" + db.location() + "\nCHAVE=1\n[Banco]\nVersaoFirebird=3\n");
    }
    void iniciar() {
        app = CriarAplicacao();
        ASSERT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
        app->Form1->resize(1100, 700);
        app->Form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->Form1.get()));
    }
    std::vector<TfrmReprocessaItens*> janelas() const {
        std::vector<TfrmReprocessaItens*> r;
        for (QMdiSubWindow* sub : app->Form1->mdiArea()->subWindowList())
            if (auto* w = qobject_cast<TfrmReprocessaItens*>(sub->widget())) r.push_back(w);
        return r;
    }
};

TEST_F(ReprocessFromMain, TheButtonOpensItBeforeAnyPressAndWithCtrlAndTheShutdownTakesItAlong) {
    iniciar();
    TForm1& form = *app->Form1;
    EXPECT_EQ(JanelaReprocessamento(), nullptr);
    form.btNota->setFocus();
    QTest::keyClick(form.btNota, Qt::Key_Space); // no mouse press yet
    ASSERT_EQ(janelas().size(), 1u);
    TfrmReprocessaItens* primeira = janelas()[0];
    EXPECT_EQ(JanelaReprocessamento(), primeira);
    EXPECT_EQ(primeira->lbBd->text().toStdString(), db.location());

    QTest::mouseClick(form.btNota, Qt::LeftButton, Qt::ControlModifier);
    ASSERT_EQ(janelas().size(), 2u);
    TfrmReprocessaItens* segunda = JanelaReprocessamento();
    ASSERT_NE(segunda, nullptr);
    EXPECT_NE(segunda, primeira);
    QTest::mouseClick(form.btNota, Qt::LeftButton); // a plain click opens the billing window
    EXPECT_EQ(janelas().size(), 2u);
    EXPECT_EQ(form.mdiArea()->subWindowList().size(), 3);
    EXPECT_EQ(JanelaReprocessamento(), segunda);

    // Closing an older window keeps the reference; closing the last one clears it.
    QPointer<TfrmReprocessaItens> velha = primeira;
    clicar(primeira->btFechar);
    ASSERT_TRUE(QTest::qWaitFor([&] { return velha.isNull(); }));
    EXPECT_EQ(JanelaReprocessamento(), segunda);
    QPointer<TfrmReprocessaItens> ultima = segunda;
    clicar(segunda->btFechar);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ultima.isNull(); }));
    EXPECT_EQ(JanelaReprocessamento(), nullptr);

    // Shut down with a window showing an open list: it goes with the main window, after the
    // data module, without touching the data module's datasets.
    QTest::mouseClick(form.btNota, Qt::LeftButton, Qt::ControlModifier);
    QPointer<TfrmReprocessaItens> aberta = JanelaReprocessamento();
    ASSERT_FALSE(aberta.isNull());
    clicar(aberta->btProc);
    EXPECT_EQ(estados(*aberta), "-GDF");
    app.reset();
    EXPECT_TRUE(aberta.isNull());
    EXPECT_EQ(JanelaReprocessamento(), nullptr);
}

TEST_F(ReprocessFromMain, ACopyWhoseItemsDisagreeIsListedTickedReprocessedAndGone) {
    copiaSimples("000001", 90, 80); // 10 pairs at 10.00 behind it
    copiaSimples("000002", 90, 80);
    iniciar();
    QTest::mouseClick(app->Form1->btNota, Qt::LeftButton, Qt::ControlModifier);
    TfrmReprocessaItens* w = JanelaReprocessamento();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));

    clicar(w->btProc);
    ui::DataGrid& grid = *w->dbgNFVrDif;
    ASSERT_EQ(numeros(grid), (std::vector<std::string>{"000001", "000002"}));
    EXPECT_EQ(grid.model()->index(0, 5).data().toString(), U("90,00"));
    EXPECT_EQ(grid.model()->index(0, 6).data().toString(), U("80,00"));
    EXPECT_EQ(grid.model()->index(0, 7).data().toString(), U("10,00"));
    clicarCelula(grid, 0, 0);
    EXPECT_EQ(marcas(grid), "x.");

    clicar(w->btGravar);
    EXPECT_TRUE(messages.boxes.empty()) << messages.boxes[0].text;
    EXPECT_EQ(estados(*w), "P--F");
    EXPECT_EQ(valores(100, "000001"), "100.00|100.00");
    const auto itens = itensNS(100, "000001");
    ASSERT_EQ(itens.size(), 1u);
    EXPECT_EQ(itens[0].prod, "1234");
    EXPECT_DOUBLE_EQ(itens[0].real, 100);
    EXPECT_EQ(itensNS(100, "000002").at(0).prod, "OLD") << "not ticked";

    clicar(w->btProc);
    EXPECT_EQ(numeros(grid), std::vector<std::string>{"000002"});
}

} // namespace
} // namespace fat::test
