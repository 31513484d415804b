#pragma once
// The three phases on one generated database at one location, each beside its floor: the load of
// every pending invoice, the save of what it computed, and the reprocessing of the invoice copies
// whose value disagrees with their item copies.
#include "BenchDatabase.h"
#include "PhaseMeasure.h"

#include <set>
#include <string>
#include <vector>

namespace bench {

// `phases` names those to run ("load", "save", "reprocess"); the save needs the load before it.
std::vector<PhaseFigures> RunBillingPhases(Location location, int n, const std::set<std::string>& phases);

// The reprocessing's input in a saved database: every third invoice copy gets a merchandise
// value that no longer matches its item copies. Returns the copies changed.
int UnbalanceCopies(const std::string& location);

// Lists the unbalanced copies, ticks them all and reprocesses them; returns the copies listed.
int Reprocess(fat::TDM& dm);

} // namespace bench
