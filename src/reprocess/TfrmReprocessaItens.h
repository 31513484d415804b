#pragma once
#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;

namespace fat {

class TDM;
namespace ui { class DataGrid; class DateBox; }

// "Reprocessa Itens": lists the invoice copies whose merchandise value differs from the sum of
// their item copies (the data module's cdsNFVrDif), lets the user tick them and has the data
// module rebuild the ticked ones. The window keeps no data; the ticks are the list's SELEC field.
//
// Two states: Filter (list closed; "Abrir Notas Fiscais" enabled) and List (list open;
// "Reprocessar" and "Desistir" enabled). The window catches no error of its own: a failing
// handler shows the standard error display and the window stays in its state.
class TfrmReprocessaItens : public QWidget {
    Q_OBJECT
public:
    explicit TfrmReprocessaItens(TDM& dm, QWidget* parent = nullptr);

    // A new window in the MDI area, shown, centred; closing it destroys it.
    static TfrmReprocessaItens* Abrir(TDM& dm, QMdiArea& area);

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* edDocto = nullptr;
    QLabel* Label2 = nullptr;
    ui::DateBox* deEmisIni = nullptr;
    QLabel* Label3 = nullptr;
    ui::DateBox* deEmisFim = nullptr;
    QPushButton* btProc = nullptr;
    ui::DataGrid* dbgNFVrDif = nullptr;
    QCheckBox* cbMarcarTodos = nullptr;
    QFrame* Panel4 = nullptr;
    QPushButton* btGravar = nullptr;
    QPushButton* btDesistir = nullptr;
    QPushButton* btFechar = nullptr;
    QLabel* lbBd = nullptr;

    void FormCreate();
    void edDoctoExit();
    void btProcClick();
    void cbMarcarTodosClick();
    void btGravarClick();
    void btDesistirClick();
    void btFecharClick();
    // Sets SELEC of every row of the list to the value, with the display suspended; back on the
    // first row with the display running afterwards, also when a row fails. Nothing is done
    // while the list is closed.
    void MarcarTodas(bool valor);

    // Lets go of the data module's datasets: the data module goes before this window.
    void SoltarDados();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TDM* dm_;

    void criarControles();
    void ligarEventos();
    void posicionarMarcarTodos();
};

} // namespace fat
