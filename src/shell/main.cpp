#include "directory/QDXConnection.h"
#include "directory/TfrmSelecionarBanco.h"
#include "platform/ui/MessageBoxes.h"
#include "shell/Startup.h"
#include "shell/TForm1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Before anything visible: the directory client, whose worker thread starts at once.
    fat::directory::TQDXConnection& directoryClient = fat::directory::QDXConnection();

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Faturamento");
    fat::ui::InstallQtMessageBoxes();
    fat::directory::SelecionarBancoChooser chooser;
    directoryClient.SetDatabaseChooser(&chooser);

    auto aplicacao = fat::CriarAplicacao();
    aplicacao->Form1->showMaximized();
    const int exitCode = QApplication::exec();
    aplicacao.reset(); // the data module first, then the windows
    directoryClient.SetDatabaseChooser(nullptr);
    return exitCode;
}
