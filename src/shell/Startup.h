#pragma once
#include <memory>

namespace fat {

class TDM;
class TForm1;
class TfrmReprocessaItens;

// The program's objects in the order of their creation; destroyed in the reverse order, so the
// data module goes before the main window and its child windows.
struct TAplicacao {
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TDM> DM;
    ~TAplicacao();
};

// Creates the main window, then the data module and runs its creation sequence. An error of
// that sequence is shown by the standard error display and the start-up goes on; the discount
// configuration check disables the main button.
std::unique_ptr<TAplicacao> CriarAplicacao();

// The reprocessing window the main button opened last; nullptr once it is closed (or before).
TfrmReprocessaItens* JanelaReprocessamento();

} // namespace fat
