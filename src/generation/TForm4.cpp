#include "generation/TForm4.h"

#include "platform/core/UserMessages.h"
#include "platform/core/Win1252.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/QtText.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace fat {
namespace {

void LargeType(QWidget& control) {
    QFont f = control.font();
    f.setPointSize(14);
    f.setBold(true);
    control.setFont(f);
}

} // namespace

TForm4::TForm4(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("Form4");
    setWindowTitle(QString::fromUtf8("Baixa Manual de Nota Fiscal"));
    setFixedSize(489, 260);
    setFont(ui::WindowFont());
    setModal(true);
    ui::StandardColours(*this);

    Bevel1 = new QFrame(this);
    ui::Name(*Bevel1, "Bevel1");
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(32, 16, 409, 129);

    Label1 = new QLabel(QString::fromUtf8("Voce tem certeza que deseja baixar\nmanualmente esta nota fiscal ?"), this);
    ui::Name(*Label1, "Label1");
    LargeType(*Label1);
    ui::SetTextColour(*Label1, ui::Red);
    Label1->setGeometry(64, 72, 337, 48);

    Label2 = ui::NewLabel(this, "Label2", QString::fromUtf8("Nota Fiscal "), QPoint(64, 32));
    LargeType(*Label2);
    ui::SetTextColour(*Label2, ui::Blue);
    Label2->adjustSize();

    Label3 = ui::NewLabel(this, "Label3", QString::fromUtf8("Digite o número da Nota e clique em baixar"),
                          QPoint(58, 171), {}, true);

    BitBtn1 = ui::NewButton(this, "BitBtn1", QString::fromUtf8("&Baixar"), QRect(120, 216, 100, 25), {}, true);
    BitBtn2 = ui::NewButton(this, "BitBtn2", QString::fromUtf8("Desistir"), QRect(232, 216, 100, 25), {}, true);

    edNum = new QLineEdit(this);
    ui::Name(*edNum, "edNum", true);
    edNum->setMaxLength(6);
    ui::SetBold(*edNum);
    edNum->setGeometry(313, 168, 102, 21);

    setTabOrder(edNum, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    edNum->setFocus();

    connect(BitBtn1, &QPushButton::clicked, this, [this] { ui::Guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { ui::Guarded([this] { BitBtn2Click(); }); });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

void TForm4::FormCreate() { Confirmado = false; }

void TForm4::DefinirNota(const std::string& numero) {
    NumeroNota = numero;
    ui::SetLabelText(*Label2, ui::ToQString("Nota Fiscal " + numero));
}

void TForm4::BitBtn1Click() {
    // Character for character: no blanks trimmed, leading zeros must be typed.
    if (ui::FromQString(edNum->text()) == NumeroNota) Confirmado = true;
    else ShowMessageBox(MessageIcon::Error, Win1252("Número da nota não confere."));
    close();
}

void TForm4::BitBtn2Click() { close(); }

void TForm4::ShowModal(const std::function<void(TForm4&)>& onShown) {
    if (onShown) QTimer::singleShot(0, this, [this, onShown] { onShown(*this); });
    exec();
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    // Neither button is the default one: Enter presses only a button that has the focus. Esc
    // is "Desistir".
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        BitBtn2->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace fat
