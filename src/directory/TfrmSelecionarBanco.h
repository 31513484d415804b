#pragma once
#include "directory/DatabaseChooser.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace fat::directory {

// "Selecionar empresa": the modal dialog in which the user picks one database of the list.
class TfrmSelecionarBanco : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelecionarBanco(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cbSelecionarEmpresa = nullptr;
    QPushButton* BitBtn1 = nullptr; // "Entrar"
    QPushButton* BitBtn2 = nullptr; // "Cancelar"

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The chooser the directory client calls: shows the dialog modally and answers its result.
// Closing the window counts as "Cancelar".
class SelecionarBancoChooser : public DatabaseChooser {
public:
    Choice Choose(const std::vector<std::string>& descriptions, int selected) override;
    // Called with the dialog once it is filled, before it is shown (tests answer it here).
    std::function<void(TfrmSelecionarBanco&)> onShown;
};

} // namespace fat::directory
