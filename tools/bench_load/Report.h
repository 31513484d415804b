#pragma once
// The table of figures, the machine it ran on and the targets, met or missed.
#include "PhaseMeasure.h"
#include "WindowRun.h"

#include <optional>
#include <vector>

namespace bench {

struct Results {
    std::vector<PhaseFigures> phases;
    std::optional<WindowFigures> window;
};

void PrintMachine();
void PrintTable(const Results& results);
// Returns false when a target whose figures were measured is missed.
bool PrintTargets(const Results& results);

} // namespace bench
