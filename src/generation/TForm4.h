#pragma once
#include <QDialog>

#include <functional>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fat {

// "Baixa Manual de Nota Fiscal": asks the user to confirm the write-off of one invoice by
// typing its number again. It never touches the database; the caller reads Confirmado.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Baixar"
    QPushButton* BitBtn2 = nullptr; // "Desistir", also Esc
    QLineEdit* edNum = nullptr;

    std::string NumeroNota; // WIN1252
    bool Confirmado = false;

    void FormCreate();
    void DefinirNota(const std::string& numero);
    void BitBtn1Click();
    void BitBtn2Click();

    // The modal run. onShown, when given, is called with the dialog once its run has begun
    // (tests answer the dialog there instead of a user).
    void ShowModal(const std::function<void(TForm4&)>& onShown = {});

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace fat
