#include "shell/Startup.h"

#include "datamodule/TDM.h"
#include "platform/core/UserMessages.h"
#include "shell/TForm1.h"

#include <QPushButton>

namespace fat {

TAplicacao::~TAplicacao() {
    DM.reset();
    Form1.reset();
}

std::unique_ptr<TAplicacao> CriarAplicacao() {
    auto app = std::make_unique<TAplicacao>();
    app->Form1 = std::make_unique<TForm1>();
    app->DM = std::make_unique<TDM>();
    try {
        app->DM->DataModuleCreate();
    } catch (const std::exception& e) {
        ShowException(e);
    }
    if (app->DM->DescontosInvalidos) app->Form1->btNota->setEnabled(false);
    return app;
}

} // namespace fat
