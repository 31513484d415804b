#include "reprocess/TfrmReprocessaItens.h"

#include "datamodule/TDM.h"
#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/core/Win1252.h"
#include "platform/data/DataSetGuards.h"
#include "platform/ui/ButtonGlyphs.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/DateBox.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/QtText.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <algorithm>

namespace fat {
namespace {

constexpr int Largura = 641;
constexpr int Altura = 382;
constexpr int AlturaLinha = 17;
constexpr int LadoMarcarTodos = 15;
const QColor Ciano(230, 255, 255);

QString Texto(const char* utf8) { return QString::fromUtf8(utf8); }

std::vector<ui::DataGridColumn> ColunasNFVrDif() {
    ui::DataGridColumn selec =
        ui::DataGridColumn::CheckBox("SELEC", Value::fromBoolean(true), Value::fromBoolean(false), 21);
    selec.title = " ";
    return {selec,
            {"FILIAL_NS", 45, "Filial"},
            {"DOCTO_NS", 56, "Docto"},
            {"SERIE_NS", 41, "Serie"},
            {"EMISSAO_NS", 89, Win1252("Emissão")},
            {"VRMERC_NS", 108, "Valor Mercadoria"},
            {"TOT_PRREAL_ITENSNS", 117, Win1252("Tot. Preço Real")},
            {"DIFERENCA", 107, Win1252("Diferença")}};
}

// A date box's day; 0 (no limit) when it is empty or holds no readable date.
TDateTime DataOuZero(const ui::DateBox& box) {
    try {
        return box.date();
    } catch (const ConversionError&) {
        return 0;
    }
}

} // namespace

TfrmReprocessaItens::TfrmReprocessaItens(TDM& dm, QWidget* parent) : QWidget(parent), dm_(&dm) {
    setObjectName("frmReprocessaItens");
    setWindowTitle(Texto("Reprocessa Itens"));
    setFont(ui::WindowFont());
    ui::StandardColours(*this);
    setFixedSize(Largura, Altura);
    // The grid finds its fields (and their display formats) before the list's first opening.
    ui::Guarded([&dm] {
        if (dm.cdsNFVrDif.fieldCount() == 0 && !dm.cdsNFVrDif.active()) dm.DefinirCamposNFVrDif();
    });
    criarControles();
    ligarEventos();
    ui::Guarded([this] { FormCreate(); });
}

void TfrmReprocessaItens::criarControles() {
    using namespace ui;
    Panel1 = NewPanel(this, "Panel1", QRect(0, 0, Largura, 46), true);
    Label1 = NewLabel(Panel1, "Label1", Texto("Docto"), QPoint(8, 16), Navy, true);
    edDocto = new QLineEdit(Panel1);
    Name(*edDocto, "edDocto", true);
    edDocto->setGeometry(46, 12, 57, 21);
    edDocto->setMaxLength(6);
    Label2 = NewLabel(Panel1, "Label2", Texto("Emissão Inicial"), QPoint(114, 16), Navy, true);
    deEmisIni = new DateBox(Panel1);
    Name(*deEmisIni, "deEmisIni", true);
    deEmisIni->edit()->setAccessibleName("deEmisIni");
    deEmisIni->setGeometry(214, 12, 100, 21);
    Label3 = NewLabel(Panel1, "Label3", Texto("Final"), QPoint(322, 16), Navy, true);
    deEmisFim = new DateBox(Panel1);
    Name(*deEmisFim, "deEmisFim", true);
    deEmisFim->edit()->setAccessibleName("deEmisFim");
    deEmisFim->setGeometry(354, 12, 100, 21);
    // Hints kept with their boxes; the window shows none.
    deEmisIni->setToolTip(
        Texto("Serão exibidas somente as notas com data de emissão igual ou superior a data informada."));
    deEmisFim->setToolTip(
        Texto("Serão exibidas somente as notas com data de emissão igual ou inferior a data informada."));
    btProc = NewButton(Panel1, "btProc", Texto("Abrir Notas Fiscais"), QRect(482, 10, 150, 25), Navy, true);
    btProc->setIcon(OpenGlyph());

    dbgNFVrDif = new DataGrid(this);
    Name(*dbgNFVrDif, "dbgNFVrDif", true);
    dbgNFVrDif->setGeometry(0, 46, Largura, Altura - 46 - 64);
    SetBold(*dbgNFVrDif->horizontalHeader());
    dbgNFVrDif->setRowHeight(AlturaLinha);
    dbgNFVrDif->setTitleHeight(AlturaLinha);
    dbgNFVrDif->setAlternateRowColour(Ciano);
    dbgNFVrDif->setColumns(ColunasNFVrDif());
    dbgNFVrDif->setDataSet(&dm_->cdsNFVrDif);

    // The select-all box sits on the title row, over the SELEC column.
    cbMarcarTodos = new QCheckBox(dbgNFVrDif->horizontalHeader()->viewport());
    Name(*cbMarcarTodos, "cbMarcarTodos", true);
    cbMarcarTodos->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    posicionarMarcarTodos();

    Panel4 = NewPanel(this, "Panel4", QRect(0, Altura - 64, Largura, 64), false);
    btGravar = NewButton(Panel4, "btGravar", Texto("Reprocessar"), QRect(8, 8, 136, 25), Maroon, true);
    btGravar->setIcon(SaveGlyph());
    btDesistir = NewButton(Panel4, "btDesistir", Texto("Desistir"), QRect(152, 8, 136, 25), Maroon, true);
    btDesistir->setIcon(CancelGlyph());
    btFechar = NewButton(Panel4, "btFechar", Texto("Fechar"), QRect(Largura - 8 - 136, 8, 136, 25), Maroon, true);
    btFechar->setIcon(CloseGlyph());
    lbBd = NewLabel(Panel4, "lbBd", QString(), QPoint(8, 42));
    btGravar->setEnabled(false);
    btDesistir->setEnabled(false);

    setTabOrder(edDocto, deEmisIni->edit());
    setTabOrder(deEmisIni->edit(), deEmisFim->edit());
    setTabOrder(deEmisFim->edit(), btProc);
    setTabOrder(btProc, dbgNFVrDif);
    setTabOrder(dbgNFVrDif, btGravar);
    setTabOrder(btGravar, btDesistir);
    setTabOrder(btDesistir, btFechar);
}

void TfrmReprocessaItens::ligarEventos() {
    connect(btProc, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btProcClick(); }); });
    connect(btGravar, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btGravarClick(); }); });
    connect(btDesistir, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btDesistirClick(); }); });
    connect(btFechar, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btFecharClick(); }); });
    // A click of the user only; ticking or unticking it from code runs nothing.
    connect(cbMarcarTodos, &QCheckBox::clicked, this, [this] { ui::Guarded([this] { cbMarcarTodosClick(); }); });
    QHeaderView* titulos = dbgNFVrDif->horizontalHeader();
    connect(titulos, &QHeaderView::sectionResized, this, [this] { posicionarMarcarTodos(); });
    connect(titulos, &QHeaderView::geometriesChanged, this, [this] { posicionarMarcarTodos(); });
    // Every control passes its events here first: the window shows no hints (see eventFilter).
    for (QWidget* controle : findChildren<QWidget*>()) controle->installEventFilter(this);
    // A click in the SELEC column ticks or unticks its row (the grid's check-box column); a click
    // in any other column only moves the current row.
}

void TfrmReprocessaItens::posicionarMarcarTodos() {
    const QHeaderView* titulos = dbgNFVrDif->horizontalHeader();
    const int x = titulos->sectionViewportPosition(0) + (titulos->sectionSize(0) - LadoMarcarTodos) / 2;
    const int y = std::max((titulos->height() - LadoMarcarTodos) / 2, 0);
    cbMarcarTodos->setGeometry(x, y, LadoMarcarTodos, LadoMarcarTodos);
}

TfrmReprocessaItens* TfrmReprocessaItens::Abrir(TDM& dm, QMdiArea& area) {
    auto* janela = new TfrmReprocessaItens(dm);
    ui::ShowMdiChild(area, janela);
    return janela;
}

void TfrmReprocessaItens::SoltarDados() {
    dbgNFVrDif->setDataSet(nullptr);
    dm_ = nullptr;
}

void TfrmReprocessaItens::FormCreate() {
    ui::SetLabelText(*lbBd, ui::ToQString(dm_->sqlCon.param("Database")));
    deEmisFim->setDate(Today());
    btProc->setEnabled(true);
    btGravar->setEnabled(false);
    btDesistir->setEnabled(false);
    btFechar->setEnabled(true);
}

void TfrmReprocessaItens::edDoctoExit() {
    const std::string texto = ui::FromQString(edDocto->text());
    const std::string completo = TDM::CompletarDocumento(texto);
    if (completo != texto) edDocto->setText(ui::ToQString(completo));
}

void TfrmReprocessaItens::btProcClick() {
    if (!dm_) return;
    dm_->AbrirNotasDiferenca(ui::FromQString(edDocto->text()), DataOuZero(*deEmisIni), DataOuZero(*deEmisFim));
    MarcarTodas(false);
    cbMarcarTodos->setChecked(false);
    btProc->setEnabled(false);
    btGravar->setEnabled(true);
    btDesistir->setEnabled(true);
}

void TfrmReprocessaItens::cbMarcarTodosClick() { MarcarTodas(cbMarcarTodos->isChecked()); }

void TfrmReprocessaItens::MarcarTodas(bool valor) {
    if (!dm_ || !dm_->cdsNFVrDif.active()) return;
    data::ClientDataSet& lista = dm_->cdsNFVrDif;
    data::SuspendedWalk percurso(lista);
    data::Field& selec = lista.fieldByName("SELEC");
    for (lista.first(); !lista.eof(); lista.next()) {
        lista.edit();
        selec.setAsBoolean(valor);
        lista.post();
    }
}

void TfrmReprocessaItens::btGravarClick() {
    if (!dm_) return;
    // Another window may have closed the list meanwhile: then nothing is ticked to reprocess.
    if (dm_->cdsNFVrDif.active()) dm_->ReprocessarItens();
    btDesistirClick();
}

void TfrmReprocessaItens::btDesistirClick() {
    if (!dm_) return;
    dm_->cdsNFVrDif.close();
    btGravar->setEnabled(false);
    btDesistir->setEnabled(false);
    btProc->setEnabled(true);
}

void TfrmReprocessaItens::btFecharClick() {
    // Inside the MDI area the child window closes.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
    else close();
}

bool TfrmReprocessaItens::eventFilter(QObject* watched, QEvent* event) {
    // The window shows no hints; the date boxes only keep theirs.
    if (event->type() == QEvent::ToolTip) return true;
    // Leaving the box for another control; not the program losing the focus to another one.
    if (watched == edDocto && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
        ui::Guarded([this] { edDoctoExit(); });
    return QWidget::eventFilter(watched, event);
}

} // namespace fat
