#include "shell/Startup.h"

#include "billing/TfrmProcessaNF.h"
#include "datamodule/TDM.h"
#include "platform/core/UserMessages.h"
#include "reprocess/TfrmReprocessaItens.h"
#include "shell/TForm1.h"

#include <QMdiArea>
#include <QPointer>
#include <QPushButton>

namespace fat {
namespace {

// The most recently opened reprocessing window; empty again once that window is destroyed.
QPointer<TfrmReprocessaItens> UltimaReprocessamento;

} // namespace

TfrmReprocessaItens* JanelaReprocessamento() { return UltimaReprocessamento.data(); }

TAplicacao::~TAplicacao() {
    // The data module goes first; the windows still open let go of its datasets.
    if (Form1) {
        for (auto* janela : Form1->findChildren<TfrmProcessaNF*>()) janela->SoltarDados();
        for (auto* janela : Form1->findChildren<TfrmReprocessaItens*>()) janela->SoltarDados();
    }
    DM.reset();
    Form1.reset();
}

std::unique_ptr<TAplicacao> CriarAplicacao() {
    auto app = std::make_unique<TAplicacao>();
    app->Form1 = std::make_unique<TForm1>();
    app->DM = std::make_unique<TDM>();
    app->Form1->AbrirFaturamento = [form = app->Form1.get(), dm = app->DM.get()] {
        TfrmProcessaNF::Abrir(*dm, *form->mdiArea());
    };
    app->Form1->AbrirReprocessamento = [form = app->Form1.get(), dm = app->DM.get()] {
        UltimaReprocessamento = TfrmReprocessaItens::Abrir(*dm, *form->mdiArea());
    };
    try {
        app->DM->DataModuleCreate();
    } catch (const std::exception& e) {
        ShowException(e);
    }
    if (app->DM->DescontosInvalidos) app->Form1->btNota->setEnabled(false);
    return app;
}

} // namespace fat
