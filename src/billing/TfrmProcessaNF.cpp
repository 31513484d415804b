#include "billing/TfrmProcessaNF.h"

#include "datamodule/TDM.h"
#include "generation/TForm4.h"
#include "platform/core/Format.h"
#include "platform/core/UserMessages.h"
#include "platform/data/DataSetGuards.h"
#include "platform/ui/ButtonGlyphs.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/DateBox.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace fat {
namespace {

TfrmProcessaNF* JanelaCarregando = nullptr;

// A load of one window, from its start to its end, also when it fails: the data module reports
// to that window, every billing window sees the load running, and the window cannot be closed.
// The listed datasets get their display updates back as they were before (a load that fails
// leaves them suspended, and the grids would never show them again).
class Carga {
public:
    Carga(TfrmProcessaNF& janela, TDM& dm) : janela_(janela), dm_(dm), anterior_(dm.Progresso) {
        dm_.Progresso = &janela_;
        JanelaCarregando = &janela_;
        janela_.btFechar->setEnabled(false);
        for (auto* ds : mostrados()) suspensos_.push_back(ds->controlsDisabled());
    }
    ~Carga() {
        dm_.Progresso = anterior_;
        JanelaCarregando = nullptr;
        janela_.btFechar->setEnabled(true);
        // A load that fails between two paints of the progress display leaves them switched off.
        janela_.pbProgresso->setUpdatesEnabled(true);
        janela_.lbProgresso->setUpdatesEnabled(true);
        const auto ds = mostrados();
        for (std::size_t i = 0; i < ds.size(); ++i)
            while (!suspensos_[i] && ds[i]->controlsDisabled()) ds[i]->enableControls();
    }
    Carga(const Carga&) = delete;
    Carga& operator=(const Carga&) = delete;

private:
    TfrmProcessaNF& janela_;
    TDM& dm_;
    TProgresso* anterior_;
    std::vector<bool> suspensos_;

    std::vector<data::ClientDataSet*> mostrados() const { return {&dm_.cdsGera, &dm_.cdsPed, &dm_.cdsItens}; }
};

std::vector<ui::DataGridColumn> ColunasGera() {
    std::vector<ui::DataGridColumn> colunas = {{"DOCTO_NS", 70}, {"SITDUP", 30}, {"TABPRAZO", 22}};
    for (const char* campo : {"PRAZO_NS", "PRAZOPED", "VALOR_NS", "VALORPED", "EMISSAO_NS", "DTBASE_CREC", "REPRES_NS",
                              "NOME_REP", "NOME_PREP", "TPNOTA_NS", "CFOP_NS", "CODIGO_NS", "NOME_NS",
                              "VRCOMIS_ITEM_FAT", "VRCOMIS_ITEM_REC", "GERADO"})
        colunas.push_back({campo});
    return colunas;
}

QString Texto(const char* utf8) { return QString::fromUtf8(utf8); }

} // namespace

TfrmProcessaNF::TfrmProcessaNF(TDM& dm, QWidget* parent) : QWidget(parent), dm_(&dm) {
    setObjectName("frmProcessaNF");
    setWindowTitle(Texto("Consulta Faturamento"));
    setFont(ui::WindowFont());
    ui::StandardColours(*this);
    setFixedSize(882, 478);
    // The grid's titles and widths come from the fields of the list, defined by its first load.
    ui::Guarded([&dm] {
        if (dm.cdsGera.fieldCount() == 0 && !dm.cdsGera.active()) dm.DefinirCamposGera();
    });
    criarControles();
    ligarEventos();
    ui::Guarded([this] { FormCreate(); });
}

TfrmProcessaNF::~TfrmProcessaNF() {
    if (dm_ && dm_->Progresso == this) dm_->Progresso = nullptr;
    if (JanelaCarregando == this) JanelaCarregando = nullptr;
}

void TfrmProcessaNF::criarControles() {
    using namespace ui;
    Panel1 = NewPanel(this, "Panel1", QRect(0, 0, 882, 43), true);
    Label1 = NewLabel(Panel1, "Label1", Texto("Emissão das Notas Inicial"), QPoint(9, 14), Navy, true);
    deEmisIni = new DateBox(Panel1);
    Name(*deEmisIni, "deEmisIni", true);
    deEmisIni->setGeometry(159, 10, 105, 21);
    deEmisIni->setToolTip(
        Texto("Serão exibidas somente as notas com data de emissão igual ou superior a data informada."));
    Label3 = NewLabel(Panel1, "Label3", Texto("Final"), QPoint(272, 14), Navy, true);
    deEmisFim = new DateBox(Panel1);
    Name(*deEmisFim, "deEmisFim", true);
    deEmisFim->setGeometry(304, 10, 105, 21);
    deEmisFim->setToolTip(
        Texto("Serão exibidas somente as notas com data de emissão igual ou inferior a data informada."));
    Label4 = NewLabel(Panel1, "Label4", Texto("Docto"), QPoint(418, 14), Navy, true);
    edDocto = new QLineEdit(Panel1);
    Name(*edDocto, "edDocto", true);
    edDocto->setGeometry(457, 10, 80, 21);
    edDocto->setMaxLength(6);
    deEmisIni->edit()->setAccessibleName("deEmisIni");
    deEmisFim->edit()->setAccessibleName("deEmisFim");
    // The filter boxes are reached with the mouse only.
    for (QWidget* filtro : {static_cast<QWidget*>(deEmisIni->edit()), static_cast<QWidget*>(deEmisFim->edit()),
                            static_cast<QWidget*>(edDocto)})
        filtro->setFocusPolicy(Qt::ClickFocus);
    btProc = NewButton(Panel1, "btProc", Texto("Abrir Notas Pendentes"), QRect(706, 8, 164, 25), Navy, true);
    btProc->setIcon(OpenGlyph());

    dbgGera = new DataGrid(this);
    Name(*dbgGera, "dbgGera", true);
    dbgGera->setGeometry(0, 43, 882, 240);
    SetBold(*dbgGera); // titles bold as well
    SetTextColour(*dbgGera, Blue);
    SetTextColour(*dbgGera->horizontalHeader(), QApplication::palette().color(QPalette::ButtonText));
    dbgGera->setColumns(ColunasGera());
    dbgGera->setDataSet(&dm_->cdsGera);

    lbProgresso = NewLabel(this, "lbProgresso", Texto("Processamento"), QPoint(4, 285));
    pbProgresso = new QProgressBar(this);
    Name(*pbProgresso, "pbProgresso", true);
    pbProgresso->setGeometry(144, 283, 735, 17);
    pbProgresso->setTextVisible(false);
    pbProgresso->setRange(0, 100);
    pbProgresso->setValue(0);
    lbQtNotas = NewLabel(this, "lbQtNotas", QString(), QPoint(4, 310), Navy, true);

    DBGrid1 = new DataGrid(this);
    Name(*DBGrid1, "DBGrid1", true);
    DBGrid1->setGeometry(683, 305, 192, 94);
    DBGrid1->setColumns({{"Num", 73, "Pedido"}, {"TabPrazo", 78}});
    DBGrid1->setDataSet(&dm_->cdsPed);

    // The status bar at the very bottom, the action buttons above it.
    Panel3 = NewPanel(this, "Panel3", QRect(0, 478 - 26, 882, 26), true);
    lbBd = NewLabel(Panel3, "lbBd", QString(), QPoint(5, 7));
    Panel4 = NewPanel(this, "Panel4", QRect(0, 478 - 26 - 47, 882, 47), false);
    btGravar = NewButton(Panel4, "btGravar", Texto("Gravar"), QRect(301, 11, 129, 25), Maroon, true);
    btGravar->setIcon(SaveGlyph());
    btDesistir = NewButton(Panel4, "btDesistir", Texto("Desistir"), QRect(451, 11, 129, 25), Maroon, true);
    btDesistir->setIcon(CancelGlyph());
    btFechar = NewButton(Panel4, "btFechar", Texto("Fechar"), QRect(706, 11, 164, 25), Maroon, true);
    btFechar->setIcon(CloseGlyph());
    btGravar->setEnabled(false);
    btDesistir->setEnabled(false);

    setTabOrder(btProc, dbgGera);
    setTabOrder(dbgGera, btGravar);
    setTabOrder(btGravar, btDesistir);
    setTabOrder(btDesistir, btFechar);
    setTabOrder(btFechar, DBGrid1);
}

void TfrmProcessaNF::ligarEventos() {
    connect(btProc, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btProcClick(); }); });
    connect(btGravar, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btGravarClick(); }); });
    connect(btDesistir, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btDesistirClick(); }); });
    connect(btFechar, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btFecharClick(); }); });
    edDocto->installEventFilter(this);
    dbgGera->setTextColour([this](int row, int) { return dbgGeraDrawColumnCell(row); });
    dbgGera->onKeyUp = [this](QKeyEvent& event) { dbgGeraKeyUp(event.key()); };
}

TfrmProcessaNF* TfrmProcessaNF::Abrir(TDM& dm, QMdiArea& area) {
    auto* janela = new TfrmProcessaNF(dm);
    ui::ShowMdiChild(area, janela);
    return janela;
}

TfrmProcessaNF* TfrmProcessaNF::CargaEmCurso() { return JanelaCarregando; }

bool TfrmProcessaNF::Carregando() const { return JanelaCarregando == this; }

void TfrmProcessaNF::SoltarDados() {
    dbgGera->setDataSet(nullptr);
    DBGrid1->setDataSet(nullptr);
    dm_ = nullptr;
}

void TfrmProcessaNF::FormCreate() {
    ui::SetLabelText(*lbBd, ui::ToQString(dm_->sqlCon.param("Database")));
    btGravar->setEnabled(false);
    {
        data::ControlsSuspended semTela({&dm_->cdsGera, &dm_->cdsItens}); // one refresh, not one per row
        dm_->LimparNotasPendentes();
    }
    deEmisFim->setDate(Today());
    ui::SetLabelText(*lbQtNotas, QString());
}

void TfrmProcessaNF::FormShow() {
    const std::string banco = dm_ ? dm_->sqlCon.param("Database") : std::string();
    setWindowTitle(windowTitle() + QStringLiteral("  -   ") + ui::ToQString(banco));
}

void TfrmProcessaNF::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (mostrada_) return;
    mostrada_ = true;
    ui::Guarded([this] { FormShow(); });
}

void TfrmProcessaNF::closeEvent(QCloseEvent* event) {
    if (Carregando()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TfrmProcessaNF::btProcClick() {
    if (!dm_ || CargaEmCurso()) return;
    // The filter is read first: a date that is no date is shown and the window stays as it is.
    const std::string documento = ui::FromQString(edDocto->text());
    const TDateTime inicial = deEmisIni->date();
    const TDateTime final = deEmisFim->date();

    btProc->setEnabled(false);
    btGravar->setEnabled(false);
    btDesistir->setEnabled(false);
    {
        Carga carga(*this, *dm_);
        dm_->AbrirNotasPendentes(documento, inicial, final);
    }
    ui::SetLabelText(*lbQtNotas,
                     ui::ToQString(FormatFloat("###,##0", dm_->cdsGera.recordCount()) + " notas pendentes."));
    btGravar->setEnabled(true);
    btDesistir->setEnabled(true);
}

void TfrmProcessaNF::btGravarClick() {
    if (!dm_ || CargaEmCurso()) return;
    dm_->GravarNotasPendentes();
    ShowMessageBox(MessageIcon::Information, "Notas Atualizadas com sucesso.");
    btDesistirClick();
}

void TfrmProcessaNF::btDesistirClick() {
    if (!dm_ || CargaEmCurso()) return;
    dm_->cdsGera.close();
    if (dm_->cdsPed.active()) dm_->cdsPed.emptyDataSet();
    btGravar->setEnabled(false);
    btDesistir->setEnabled(false);
    btProc->setEnabled(true);
    posicao_ = 0;
    pbProgresso->setValue(0);
    deEmisFim->setDate(Today());
    deEmisIni->clear();
    edDocto->clear();
    ui::SetLabelText(*lbQtNotas, QString());
    ui::SetLabelText(*lbProgresso, Texto("Processamento"));
}

void TfrmProcessaNF::btFecharClick() { fechar(); }

void TfrmProcessaNF::fechar() {
    // Inside the MDI area the child window closes (and asks this one first).
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
    else close();
}

bool TfrmProcessaNF::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the box for another control; not the program losing the focus to another one.
    if (watched == edDocto && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
        ui::Guarded([this] { edDoctoExit(); });
    return QWidget::eventFilter(watched, event);
}

void TfrmProcessaNF::edDoctoExit() {
    const std::string texto = ui::FromQString(edDocto->text());
    const std::string completo = TDM::CompletarDocumento(texto);
    if (completo != texto) edDocto->setText(ui::ToQString(completo));
}

std::optional<QColor> TfrmProcessaNF::dbgGeraDrawColumnCell(int row) const {
    if (!dm_) return std::nullopt;
    const data::ClientDataSet& gera = dm_->cdsGera;
    const auto valor = [&](const char* nome) {
        const data::Field* campo = gera.findField(nome);
        return campo ? gera.valueAt(row, campo->index()).asString() : std::string();
    };
    if (valor("TPNOTA_NS") == "C") return ui::Silver;
    if (valor("GERADO") == "S") return ui::Red;
    return std::nullopt;
}

void TfrmProcessaNF::dbgGeraKeyUp(int key) {
    if (key != Qt::Key_F1 || !dm_) return;
    data::ClientDataSet& gera = dm_->cdsGera;
    if (!gera.active() || gera.isEmpty()) return;
    TForm4 dialogo(this); // goes when this handler ends, also on an error
    dialogo.DefinirNota(gera.fieldByName("DOCTO_NS").asString());
    dialogo.ShowModal(AoMostrarBaixa);
    if (!dialogo.Confirmado) return;
    data::PendingEditCancel pendente(gera);
    gera.edit();
    gera.fieldByName("DTGERACONT_NS").setAsDateTime(TDM::DataNula());
    gera.post();
}

void TfrmProcessaNF::IniciarProgresso(int total) {
    posicao_ = 0;
    pintura_.invalidate();
    maximo_ = total;
    pbProgresso->setRange(0, std::max(total, 1)); // a range of 0..0 would show a busy bar
    pbProgresso->setValue(0);
}

void TfrmProcessaNF::AvancarProgresso() {
    ++posicao_;
    // The bar and the label take every step, but are painted at once only every few hundredths
    // of a second (and at the last invoice): faster than the eye follows, a paint per invoice
    // made the load in the window take half as long again as without it. The rest of the window
    // does not change during a load (the grids' datasets have their display suspended).
    const bool pintar = posicao_ >= maximo_ || !pintura_.isValid() || pintura_.elapsed() >= IntervaloPintura;
    pbProgresso->setUpdatesEnabled(pintar);
    lbProgresso->setUpdatesEnabled(pintar);
    pbProgresso->setValue(std::min(posicao_, pbProgresso->maximum()));
    ui::SetLabelText(*lbProgresso, ui::ToQString("Processando " + std::to_string(posicao_) + " de " +
                                                 std::to_string(maximo_)));
    if (pintar) {
        pbProgresso->repaint();
        lbProgresso->repaint();
        pintura_.start();
    }
    QCoreApplication::processEvents();
    if (posicao_ == maximo_) ui::SetLabelText(*lbProgresso, Texto("Fim de Processamento"));
}

} // namespace fat
