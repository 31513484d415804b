#include "PhaseMeasure.h"

#include "DatabaseDigest.h"
#include "StatementRecord.h"

#include "db/ConfigurarConexao.h"
#include "db/TCRSQLConnection.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace bench {

void ResetPeakMemory() {
    malloc_trim(0); // what earlier phases freed goes back first
    std::ofstream("/proc/self/clear_refs") << "5";
}

long PeakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

PhaseFigures MeasurePhase(const std::string& name, fat::TDM& dm, const WorkCopy& phaseCopy, const WorkCopy& floorCopy,
                          const std::function<int()>& phase) {
    PhaseFigures f;
    f.phase = name;
    const std::string record = CacheDir() + "/record-" + std::to_string(getpid()) + "-" + name + ".bin";
    struct Remove {
        std::string path;
        ~Remove() {
            if (std::getenv("FAT_BENCH_KEEP_RECORD")) return; // for a look at what a phase runs
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    } removeRecord{record};

    std::fprintf(stderr, "  %s ...\n", name.c_str());
    ResetPeakMemory();
    {
        StatementRecorder recorder(dm.sqlCon, record);
        const auto before = dm.sqlCon.statementsExecuted();
        const auto preparedBefore = dm.sqlCon.statementsPrepared();
        const Instant start = Now();
        f.items = phase();
        f.time = Since(start);
        f.statements = dm.sqlCon.statementsExecuted() - before;
        f.prepared = dm.sqlCon.statementsPrepared() - preparedBefore;
        recorder.finish();
    }
    f.peakKb = PeakMemoryKb();

    std::fprintf(stderr, "  %s: %.2f s (cpu %.2f), %llu statements, %llu prepared; its floor ...\n", name.c_str(),
                 f.time.wall, f.time.cpu, static_cast<unsigned long long>(f.statements),
                 static_cast<unsigned long long>(f.prepared));
    // For profiling the phase alone.
    if (std::getenv("FAT_BENCH_NO_FLOOR")) return f;
    {
        fat::db::TCRSQLConnection connection;
        fat::db::ConfigurarConexao(connection, floorCopy.location(), fat::db::SenhaPorChave("1"), "3");
        connection.open();
        f.floor = Replay(connection, record);
    }
    std::fprintf(stderr, "  %s floor: %.2f s (cpu %.2f), %llu texts prepared\n", name.c_str(), f.floor.time.wall,
                 f.floor.time.cpu, static_cast<unsigned long long>(f.floor.texts));
    f.rowsWritten = f.floor.rowsWritten;
    f.sameState = DatabaseDigest(phaseCopy.location()) == DatabaseDigest(floorCopy.location());
    if (!f.sameState)
        std::fprintf(stderr, "  %s: the replay left its copy in another state:\n    phase  %s\n    replay %s\n",
                     name.c_str(), DatabaseDigest(phaseCopy.location()).c_str(),
                     DatabaseDigest(floorCopy.location()).c_str());
    return f;
}

} // namespace bench
