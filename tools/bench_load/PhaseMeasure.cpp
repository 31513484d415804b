#include "PhaseMeasure.h"

#include "DatabaseDigest.h"
#include "StatementRecord.h"

#include "db/ConfigurarConexao.h"
#include "db/TCRSQLConnection.h"

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace bench {
namespace {

// Where a phase's CPU time went (user code or the kernel), the pages it touched for the first
// time and the heap it leaves: printed beside the figures, for telling the program's own cost
// from the database's when a ratio to the floor is off.
struct Usage {
    double user = 0;
    double sys = 0;
    long minorFaults = 0;
};

Usage NowUsage() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return {double(u.ru_utime.tv_sec) + u.ru_utime.tv_usec / 1e6, double(u.ru_stime.tv_sec) + u.ru_stime.tv_usec / 1e6,
            u.ru_minflt};
}

void PrintUsage(const char* what, const Usage& start) {
    const Usage end = NowUsage();
    const struct mallinfo2 heap = mallinfo2();
    std::fprintf(stderr, "  %s: user %.2f s, system %.2f s, %ld minor faults; heap in use %.1f MB, mapped %.1f MB\n", what,
                 end.user - start.user, end.sys - start.sys, end.minorFaults - start.minorFaults,
                 double(heap.uordblks) / 1048576, double(heap.hblkhd) / 1048576);
}

} // namespace

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
        const Usage usage = NowUsage();
        const Instant start = Now();
        f.items = phase();
        f.time = Since(start);
        PrintUsage(name.c_str(), usage);
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
        const Usage usage = NowUsage();
        f.floor = Replay(connection, record);
        PrintUsage((name + " floor").c_str(), usage);
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
