#include "directory/TfrmSelecionarBanco.h"

#include "platform/ui/QtText.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace fat::directory {
namespace {

QPixmap Banner() {
    QPixmap pixmap(280, 85);
    QPainter painter(&pixmap);
    QLinearGradient gradient(0, 0, 280, 85);
    gradient.setColorAt(0, QColor(0, 64, 128));
    gradient.setColorAt(1, QColor(0, 128, 192));
    painter.fillRect(pixmap.rect(), gradient);
    painter.setPen(Qt::white);
    painter.setFont(QFont("Sans Serif", 16, QFont::Bold));
    painter.drawText(pixmap.rect().adjusted(12, 0, 0, -20), Qt::AlignLeft | Qt::AlignVCenter, "Faturamento");
    painter.setFont(QFont("Sans Serif", 9));
    painter.drawText(pixmap.rect().adjusted(12, 40, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8("Seleção de banco de dados"));
    return pixmap;
}

} // namespace

TfrmSelecionarBanco::TfrmSelecionarBanco(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName("frmSelecionarBanco");
    setWindowTitle(QString::fromUtf8("Selecionar empresa"));
    setFixedSize(297, 177);
    setFont(QFont("MS Sans Serif", 8));
    setModal(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(8, 8, 280, 85);
    Image1->setPixmap(Banner());

    Label1 = new QLabel(QString::fromUtf8("Selecione uma empresa"), this);
    Label1->setObjectName("Label1");
    Label1->move(8, 100);

    cbSelecionarEmpresa = new QComboBox(this);
    cbSelecionarEmpresa->setObjectName("cbSelecionarEmpresa");
    cbSelecionarEmpresa->setAccessibleName("cbSelecionarEmpresa");
    cbSelecionarEmpresa->setEditable(false);
    cbSelecionarEmpresa->setGeometry(8, 116, 281, 21);

    BitBtn1 = new QPushButton(QString::fromUtf8("Entrar"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(63, 145, 75, 25);
    BitBtn1->setAutoDefault(false);
    BitBtn2 = new QPushButton(QString::fromUtf8("Cancelar"), this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(151, 145, 75, 25);
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(cbSelecionarEmpresa, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    cbSelecionarEmpresa->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmSelecionarBanco::keyPressEvent(QKeyEvent* event) {
    // Neither button is the default or the cancel button: Esc closes nothing, and Enter only
    // presses the button that has the focus.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

DatabaseChooser::Choice SelecionarBancoChooser::Choose(const std::vector<std::string>& descriptions, int selected) {
    TfrmSelecionarBanco dialog;
    for (const auto& description : descriptions) dialog.cbSelecionarEmpresa->addItem(ui::ToQString(description));
    dialog.cbSelecionarEmpresa->setCurrentIndex(selected);
    if (onShown) QTimer::singleShot(0, &dialog, [this, &dialog] { onShown(dialog); });
    Choice choice;
    choice.result = dialog.exec() == QDialog::Accepted ? DialogResult::Ok : DialogResult::Cancel;
    choice.index = dialog.cbSelecionarEmpresa->currentIndex();
    return choice;
}

} // namespace fat::directory
