#pragma once
// The billing window loading every pending invoice under the running Qt platform (offscreen),
// timed against the same load without a window: the cost of the progress display.
#include "Clock.h"

namespace bench {

struct WindowFigures {
    int n = 0;
    int items = 0;
    int rounds = 0;
    Span windowless; // the best round of each
    Span window;
};

// Needs a QApplication. Each round loads once without and once with the window, on two copies
// of the generated database, alternating which goes first; the best time of each counts.
WindowFigures RunWindowComparison(int n, int rounds);

} // namespace bench
