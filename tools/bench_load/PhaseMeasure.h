#pragma once
// One phase measured: run on the data module with every statement recorded, then the record
// replayed on the floor copy, a twin of the phase's database in the state it had before the phase.
#include "BenchDatabase.h"
#include "Clock.h"
#include "StatementReplay.h"

#include "datamodule/TDM.h"

#include <cstdint>
#include <functional>
#include <string>

namespace bench {

struct PhaseFigures {
    std::string phase;
    std::string location;
    int n = 0;              // pending invoices generated
    int items = 0;          // invoices (copies, for the reprocessing) the phase handled
    Span time;
    std::uint64_t statements = 0;
    std::uint64_t prepared = 0;    // statements the phase prepared
    std::uint64_t rowsWritten = 0; // rows its inserts, updates and deletes changed (counted by the replay)
    long peakKb = 0;               // the process's peak resident memory while the phase ran
    ReplayFigures floor;
    bool sameState = false;        // the replay left its copy as the phase left its own
};

// `phase` returns the count of items it handled.
PhaseFigures MeasurePhase(const std::string& name, fat::TDM& dm, const WorkCopy& phaseCopy, const WorkCopy& floorCopy,
                          const std::function<int()>& phase);

// The peak resident memory, reset to the current resident size (Linux), and read.
void ResetPeakMemory();
long PeakMemoryKb();

} // namespace bench
