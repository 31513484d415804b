#pragma once
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QWidget;

namespace fat::ui {

// The colours the windows name.
inline const QColor Navy(0, 0, 128);
inline const QColor Maroon(128, 0, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Red(255, 0, 0);
inline const QColor Silver(192, 192, 192);

// "MS Sans Serif" at 8 points, the windows' font; where it is missing, a face of about its width.
QFont WindowFont();
// The standard colours of a window (button face background) on a top-level or MDI child window,
// whatever its parent's colours.
void StandardColours(QWidget& window);

// The control's component name as its object name; also as its accessible name for a control
// without a caption of its own (edit, date box, grid).
void Name(QWidget& control, const char* name, bool accessible = false);
void SetTextColour(QWidget& control, const QColor& colour);
void SetBold(QWidget& control);

// A label sized to its text at a place, optionally coloured and bold.
QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, QPoint at, const QColor& colour = {},
                 bool bold = false);
// Sets a label's text and sizes it to the text.
void SetLabelText(QLabel& label, const QString& text);
QPushButton* NewButton(QWidget* parent, const char* name, const QString& text, QRect geometry,
                       const QColor& colour = {}, bool bold = false);
// A panel with a lowered or raised bevel.
QFrame* NewPanel(QWidget* parent, const char* name, QRect geometry, bool lowered);
// Shows the window as a child of the MDI area: fixed at its own size, centred in the area, with
// title, system menu, minimise and close buttons, and destroyed when closed.
QMdiSubWindow* ShowMdiChild(QMdiArea& area, QWidget* window);

} // namespace fat::ui
