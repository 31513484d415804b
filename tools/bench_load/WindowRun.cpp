#include "WindowRun.h"

#include "BenchDataModule.h"
#include "BenchDatabase.h"

#include "billing/TfrmProcessaNF.h"
#include "platform/core/DateTime.h"
#include "shell/TForm1.h"

#include <QCoreApplication>
#include <QMdiArea>

#include <algorithm>
#include <cstdio>

namespace bench {
namespace {

Span Best(const Span& a, const Span& b) { return a.wall == 0 || b.wall < a.wall ? b : a; }

// The load as the window's button runs it: no document number, no first date, today as the last.
Span LoadWithoutWindow(const WorkCopy& copy, int& items) {
    BenchDataModule module(copy.location());
    const Instant start = Now();
    module.dm().AbrirNotasPendentes("", 0, fat::Today());
    const Span t = Since(start);
    items = module.dm().cdsGera.recordCount();
    return t;
}

// The main window with the billing window in its MDI area, then a click on "Abrir Notas
// Pendentes"; the time runs until the window has shown the result.
Span LoadWithWindow(const WorkCopy& copy, int& items) {
    BenchDataModule module(copy.location());
    fat::TForm1 main;
    main.resize(1280, 900);
    main.show();
    fat::TfrmProcessaNF* window = fat::TfrmProcessaNF::Abrir(module.dm(), *main.mdiArea());
    QCoreApplication::processEvents();
    const Instant start = Now();
    window->btProcClick();
    QCoreApplication::processEvents();
    const Span t = Since(start);
    items = module.dm().cdsGera.recordCount();
    window->SoltarDados(); // the data module goes before the window
    return t;
}

} // namespace

WindowFigures RunWindowComparison(int n, int rounds) {
    WindowFigures f;
    f.n = n;
    f.rounds = rounds;
    const std::string generated = GeneratedDatabase(n);
    const WorkCopy first(generated, Location::Embedded, "window-a");
    const WorkCopy second(generated, Location::Embedded, "window-b");
    for (int r = 0; r < rounds; ++r) {
        int plain = 0, shown = 0;
        Span without, with;
        // The loads change nothing, so each copy serves every round; which one runs first alternates.
        if (r % 2 == 0) {
            without = LoadWithoutWindow(first, plain);
            with = LoadWithWindow(second, shown);
        } else {
            with = LoadWithWindow(first, shown);
            without = LoadWithoutWindow(second, plain);
        }
        f.windowless = Best(f.windowless, without);
        f.window = Best(f.window, with);
        if (plain != shown) std::fprintf(stderr, "  the two loads listed %d and %d invoices\n", plain, shown);
        f.items = shown;
        std::fprintf(stderr, "  round %d: without the window %.2f s, with it %.2f s\n", r + 1, without.wall, with.wall);
    }
    return f;
}

} // namespace bench
