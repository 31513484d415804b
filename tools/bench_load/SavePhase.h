#pragma once
// The save phase of the load benchmark: the loaded invoices saved into a copy of the generated
// database, measured.
#include "datamodule/TDM.h"

#include <cstdint>
#include <string>

namespace bench {

struct SaveFigures {
    double seconds = 0;
    // Split at the first insert: the walk over the invoices (lookups and stamps included), then
    // the buffers sent to the database and the commit.
    double walkSeconds = 0;
    double applySeconds = 0;
    std::uint64_t rowsWritten = 0; // copies, order links, receivables, item copies and stamps
    double statementsPerInvoice = 0;
    long peakKb = 0; // of the process, after the save
    int refused = 0; // invoices refused with a message box
};

// A copy of the generated database in a file of its own for one measured run (the save writes
// into it), removed when it goes, also on failure. Declare it before the data module that opens it.
class RunCopy {
public:
    RunCopy(const std::string& generated, int n);
    ~RunCopy();
    RunCopy(const RunCopy&) = delete;
    RunCopy& operator=(const RunCopy&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The company settings from CONFIG, as the data module's creation reads them.
void ReadCompanySettings(fat::TDM& dm);

// Saves what the last load left in the data module.
SaveFigures MeasureSave(fat::TDM& dm);

} // namespace bench
