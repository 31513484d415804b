// Starts the program as main() does, shows the main window and saves a picture of it.
//   screenshot <out.png> [--open billing|reprocess] [--load]
// --load presses "Abrir Notas Pendentes" in the billing window opened; in the reprocessing
// window, "Abrir Notas Fiscais", and ticks the first copy listed.
// Run it under a (virtual) X server, e.g. xvfb-run, to see the real window.
#include "billing/TfrmProcessaNF.h"
#include "directory/QDXConnection.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MessageBoxes.h"
#include "reprocess/TfrmReprocessaItens.h"
#include "shell/Startup.h"
#include "shell/TForm1.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <out.png> [--open billing|reprocess] [--load]\n", argv[0]);
        return 2;
    }
    fat::directory::QDXConnection();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Faturamento");
    fat::ui::InstallQtMessageBoxes();
    auto aplicacao = fat::CriarAplicacao();
    auto& form = *aplicacao->Form1;
    form.showMaximized();
    // Without a window manager (a bare virtual X server) nothing maximises the window.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) form.setGeometry(screen->availableGeometry());
    const std::string open = argc >= 4 && std::string(argv[2]) == "--open" ? argv[3] : "";
    const bool load = argc >= 5 && std::string(argv[4]) == "--load";
    QTimer::singleShot(300, [&] {
        if (open == "billing" && form.AbrirFaturamento) form.AbrirFaturamento();
        if (open == "reprocess" && form.AbrirReprocessamento) form.AbrirReprocessamento();
        // The load runs to its end inside the click; the picture is taken after it.
        if (load) {
            for (auto* billing : form.findChildren<fat::TfrmProcessaNF*>()) billing->btProc->click();
            for (auto* reprocess : form.findChildren<fat::TfrmReprocessaItens*>()) {
                reprocess->btProc->click();
                fat::ui::DataGrid& grid = *reprocess->dbgNFVrDif;
                if (grid.model()->rowCount() > 0) grid.dataModel()->toggle(grid.model()->index(0, 0));
            }
        }
        QTimer::singleShot(900, [&] {
            const bool saved = form.grab().save(QString::fromLocal8Bit(argv[1]), "PNG");
            std::fprintf(saved ? stdout : stderr, saved ? "saved %s\n" : "could not save %s\n", argv[1]);
            QApplication::exit(saved ? 0 : 1);
        });
    });
    const int code = QApplication::exec();
    aplicacao.reset();
    return code;
}
