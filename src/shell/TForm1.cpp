#include "shell/TForm1.h"

#include "platform/ui/Glyphs.h"
#include "platform/ui/Guarded.h"

#include <QEvent>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>

namespace fat {
namespace {

const QColor Background(0, 64, 128); // 0x804000 as the platform writes colours (blue, green, red)

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8("Faturamento no Período"));
    setFont(QFont("MS Sans Serif", 8));
    setGeometry(592, 240, 544, 375);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("ClientArea");
    setCentralWidget(mdiArea_);

    // The button sits on the frame above the client area, where the child windows open.
    btNota = new QPushButton(QString::fromUtf8("Consulta Faturamento"), mdiArea_);
    btNota->setObjectName("btNota");
    btNota->setGeometry(80, 8, 177, 25);
    btNota->setIcon(ui::DocumentGlyph());
    btNota->setAutoDefault(true); // Enter activates it as Space does
    btNota->installEventFilter(this);
    btNota->raise();
    connect(btNota, &QPushButton::clicked, this, [this] { ui::Guarded([this] { btNotaClick(); }); });

    FormCreate();
}

void TForm1::FormCreate() {
    mdiArea_->setBackground(Background);
    QPalette p = palette();
    p.setColor(QPalette::Window, Background);
    setPalette(p);
}

void TForm1::btNotaMouseDown(Qt::KeyboardModifiers shift) {
    ModoAbertura = shift.testFlag(Qt::ControlModifier) ? "I" : "N";
}

void TForm1::btNotaClick() {
    if (ModoAbertura == "N") {
        if (AbrirFaturamento) AbrirFaturamento();
    } else if (AbrirReprocessamento) {
        AbrirReprocessamento();
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == btNota && event->type() == QEvent::MouseButtonPress)
        btNotaMouseDown(static_cast<QMouseEvent*>(event)->modifiers());
    return QMainWindow::eventFilter(watched, event);
}

} // namespace fat
