#pragma once
#include "datamodule/TProgresso.h"

#include <QColor>
#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QMdiArea;
class QProgressBar;
class QPushButton;

namespace fat {

class TDM;
class TForm4;
namespace ui { class DataGrid; class DateBox; }

// "Consulta Faturamento": lists the pending invoices of a period, lets the user write single
// invoices off (F1 in the grid) and saves. The data module does the work; the window shows its
// datasets cdsGera and cdsPed and receives the progress of the loads it starts.
//
// A load processes the window's events after each invoice, so the window stays responsive;
// while it runs the window cannot be closed, and no billing window starts another load, a save
// or a reset (they would walk or close the list under the running load).
class TfrmProcessaNF : public QWidget, public TProgresso {
    Q_OBJECT
public:
    explicit TfrmProcessaNF(TDM& dm, QWidget* parent = nullptr);
    ~TfrmProcessaNF() override;

    // A new window in the MDI area, shown, centred; closing it destroys it.
    static TfrmProcessaNF* Abrir(TDM& dm, QMdiArea& area);
    // The window whose load is running; nullptr when none is.
    static TfrmProcessaNF* CargaEmCurso();

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    ui::DateBox* deEmisIni = nullptr;
    QLabel* Label3 = nullptr;
    ui::DateBox* deEmisFim = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* edDocto = nullptr;
    QPushButton* btProc = nullptr;
    ui::DataGrid* dbgGera = nullptr;
    QLabel* lbProgresso = nullptr;
    QProgressBar* pbProgresso = nullptr;
    QLabel* lbQtNotas = nullptr;
    ui::DataGrid* DBGrid1 = nullptr;
    QFrame* Panel4 = nullptr;
    QPushButton* btGravar = nullptr;
    QPushButton* btDesistir = nullptr;
    QPushButton* btFechar = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* lbBd = nullptr;

    // Handed the write-off dialog once its modal run has begun (tests answer it there).
    std::function<void(TForm4&)> AoMostrarBaixa;

    void FormCreate();
    void FormShow();
    void btProcClick();
    void btGravarClick();
    void btDesistirClick();
    void btFecharClick();
    void edDoctoExit();
    // The text colour of a row of dbgGera; nullopt keeps the grid's own.
    std::optional<QColor> dbgGeraDrawColumnCell(int row) const;
    void dbgGeraKeyUp(int key);

    void IniciarProgresso(int total) override;
    void AvancarProgresso() override;

    bool Carregando() const;
    // Lets go of the data module's datasets: the data module goes before this window.
    void SoltarDados();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TDM* dm_;
    bool mostrada_ = false;
    int posicao_ = 0;
    int maximo_ = 0;
    // When the progress display was last painted during the load, and how often it is.
    QElapsedTimer pintura_;
    static constexpr qint64 IntervaloPintura = 40; // milliseconds

    void criarControles();
    void ligarEventos();
    void fechar();
};

} // namespace fat
