#pragma once
#include <QMainWindow>

#include <functional>
#include <string>

class QMdiArea;
class QPushButton;

namespace fat {

class TDM;

// The main window: an MDI frame with one button that opens the billing window on a plain
// click and the item reprocessing window when Ctrl was held at the last mouse press.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return mdiArea_; }
    QPushButton* btNota = nullptr;
    // "I" or "N" since the last mouse press on btNota; empty before the first one.
    std::string ModoAbertura;

    // What the button opens; set by the start-up once the data module exists.
    std::function<void()> AbrirFaturamento;
    std::function<void()> AbrirReprocessamento;

    void FormCreate();
    void btNotaMouseDown(Qt::KeyboardModifiers shift);
    void btNotaClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMdiArea* mdiArea_ = nullptr;
};

} // namespace fat
