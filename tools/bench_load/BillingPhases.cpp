#include "BillingPhases.h"

#include "BenchDataModule.h"

#include "platform/core/UserMessages.h"

#include <cstdio>

namespace bench {

std::vector<PhaseFigures> RunBillingPhases(Location location, int n, const std::set<std::string>& phases) {
    const std::string generated = GeneratedDatabase(n);
    // The phase runs on one copy, its floor on the other; each step leaves both in the same state.
    const WorkCopy phaseCopy(generated, location, "phase");
    const WorkCopy floorCopy(generated, location, "floor");
    std::vector<PhaseFigures> figures;
    const auto keep = [&](PhaseFigures f) {
        f.location = LocationName(location);
        f.n = n;
        figures.push_back(f);
    };

    // The save refuses some invoices with a message box: counted, not shown.
    int refused = 0;
    const fat::MessagePresenter previous =
        fat::SetMessagePresenter([&refused](const fat::MessageBoxRequest&) { ++refused; });
    struct Restore {
        fat::MessagePresenter previous;
        ~Restore() { fat::SetMessagePresenter(previous); }
    } restore{previous};

    if (phases.count("load") || phases.count("save")) {
        BenchDataModule module(phaseCopy.location());
        fat::TDM& dm = module.dm();
        keep(MeasurePhase("load", dm, phaseCopy, floorCopy, [&dm] {
            dm.AbrirNotasPendentes("", 0, 0);
            return dm.cdsGera.recordCount();
        }));
        if (phases.count("save")) {
            keep(MeasurePhase("save", dm, phaseCopy, floorCopy, [&dm] {
                dm.GravarNotasPendentes();
                return dm.cdsGera.recordCount();
            }));
            std::fprintf(stderr, "  save: %d invoices refused by its validation\n", refused);
        }
    }
    if (phases.count("reprocess")) {
        const int changed = UnbalanceCopies(phaseCopy.location());
        UnbalanceCopies(floorCopy.location());
        std::fprintf(stderr, "  reprocessing input: %d copies unbalanced\n", changed);
        BenchDataModule module(phaseCopy.location());
        fat::TDM& dm = module.dm();
        keep(MeasurePhase("reprocess", dm, phaseCopy, floorCopy, [&dm] { return Reprocess(dm); }));
    }
    return figures;
}

} // namespace bench
