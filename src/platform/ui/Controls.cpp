#include "platform/ui/Controls.h"

#include <QApplication>
#include <QFrame>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace fat::ui {

QFont WindowFont() {
    QFont font;
    font.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans", "DejaVu Sans Condensed"});
    font.setPointSize(8);
    return font;
}

void StandardColours(QWidget& window) {
    const QPalette standard = QApplication::palette();
    QPalette p = window.palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        if (r == QPalette::NoRole) continue;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            p.setColor(group, r, standard.color(group, r));
    }
    p.setColor(QPalette::Window, standard.color(QPalette::Button));
    window.setPalette(p);
    window.setAutoFillBackground(true);
}

void Name(QWidget& control, const char* name, bool accessible) {
    control.setObjectName(QString::fromLatin1(name));
    if (accessible) control.setAccessibleName(QString::fromLatin1(name));
}

void SetTextColour(QWidget& control, const QColor& colour) {
    QPalette p = control.palette();
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) p.setColor(role, colour);
    control.setPalette(p);
}

void SetBold(QWidget& control) {
    QFont f = control.font();
    f.setBold(true);
    control.setFont(f);
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, QPoint at, const QColor& colour, bool bold) {
    auto* label = new QLabel(text, parent);
    Name(*label, name);
    if (colour.isValid()) SetTextColour(*label, colour);
    if (bold) SetBold(*label);
    label->move(at);
    label->adjustSize();
    return label;
}

void SetLabelText(QLabel& label, const QString& text) {
    label.setText(text);
    label.adjustSize();
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& text, QRect geometry, const QColor& colour,
                       bool bold) {
    auto* button = new QPushButton(text, parent);
    Name(*button, name);
    if (colour.isValid()) SetTextColour(*button, colour);
    if (bold) SetBold(*button);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QFrame* NewPanel(QWidget* parent, const char* name, QRect geometry, bool lowered) {
    auto* panel = new QFrame(parent);
    Name(*panel, name);
    panel->setFrameStyle(QFrame::Panel | (lowered ? QFrame::Sunken : QFrame::Raised));
    panel->setGeometry(geometry);
    return panel;
}

QMdiSubWindow* ShowMdiChild(QMdiArea& area, QWidget* window) {
    QMdiSubWindow* sub = area.addSubWindow(window, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                                       Qt::WindowCloseButtonHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(sub->sizeHint());
    sub->setFixedSize(sub->size());
    const QSize livre = area.viewport()->size() - sub->size();
    sub->move(std::max(livre.width() / 2, 0), std::max(livre.height() / 2, 0));
    sub->show();
    return sub;
}

} // namespace fat::ui
