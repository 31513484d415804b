#include "platform/ui/MessageBoxes.h"

#include "platform/core/UserMessages.h"
#include "platform/ui/QtText.h"

#include <QApplication>
#include <QMessageBox>

namespace fat::ui {

void InstallQtMessageBoxes() {
    SetMessagePresenter([](const MessageBoxRequest& request) {
        QMessageBox box(request.icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                        request.caption.empty() ? QApplication::applicationDisplayName() : ToQString(request.caption),
                        ToQString(request.text), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    });
}

} // namespace fat::ui
