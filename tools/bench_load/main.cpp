// Performance of the billing at the scale of a busy company's month: the load of the pending
// invoices, their save and the reprocessing of invoice copies, on synthetic ERP databases of N
// pending invoices (made once with the demo data generator and kept in /tmp/fat-bench), at the
// embedded engine and at a Firebird server on 127.0.0.1. Each phase is measured beside its floor:
// the statements it executed, recorded with their values and replayed through the Firebird layer
// alone. A window run compares the billing window's load with the same load without a window.
//
//   bench_load [--locations embedded,server] [--phases load,save,reprocess] [--window N]
//              [--rounds R] [--generate] [N ...]
//
// Defaults: N = 1000 10000 50000; the server location when FAT_FB_SERVER_DIR names the folder of a
// running server's databases (scripts/bench.sh starts one); the window run at N = 10000 with 2
// rounds (--window 0 skips it); --generate only makes the databases that are missing. Every
// location and size runs in a child process of its own, so that its peak memory is its own.
// Prints the table and the targets; exits with 1 when a measured target is missed, 2 when a run
// fails.
#include "BillingPhases.h"
#include "Report.h"
#include "WindowRun.h"

#include "platform/core/DateTime.h"

#include <QApplication>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace bench;

namespace {

// "Today" for every run: the day after the generated month, so that stamps and reports repeat.
fat::TDateTime BenchToday() { return fat::EncodeDate(2024, 4, 15); }

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ',');)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

// --- children: they print their figures on standard output, one line each -------------------

void PrintPhase(const PhaseFigures& f) {
    std::printf("PHASE %s %s %d %d %.6f %.6f %llu %llu %ld %.6f %.6f %llu %llu %d\n", f.location.c_str(),
                f.phase.c_str(), f.n, f.items, f.time.wall, f.time.cpu, static_cast<unsigned long long>(f.statements),
                static_cast<unsigned long long>(f.rowsWritten), f.peakKb, f.floor.time.wall, f.floor.time.cpu,
                static_cast<unsigned long long>(f.floor.statements), static_cast<unsigned long long>(f.floor.texts),
                f.sameState ? 1 : 0);
}

int ChildPhases(const std::string& location, int n, const std::string& phases) {
    const Location where = location == "server" ? Location::Server : Location::Embedded;
    const auto names = Split(phases);
    for (const auto& f : RunBillingPhases(where, n, std::set<std::string>(names.begin(), names.end()))) PrintPhase(f);
    return 0;
}

int ChildWindow(int argc, char* argv[], int n, int rounds) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const WindowFigures w = RunWindowComparison(n, rounds);
    std::printf("WINDOW %d %d %d %.6f %.6f %.6f %.6f\n", w.n, w.items, w.rounds, w.windowless.wall, w.windowless.cpu,
                w.window.wall, w.window.cpu);
    return 0;
}

// --- the parent ------------------------------------------------------------------------------

// Runs this program again with the arguments; its standard output is returned, its standard
// error passes through. False when the child failed.
bool RunChild(const std::vector<std::string>& args, std::string& output) {
    // Made before the fork: the child only calls what is safe between fork and exec.
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return false;
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    close(out[1]);
    char buffer[4096];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Collect(const std::string& output, Results& results) {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line);
        std::string kind;
        in >> kind;
        if (kind == "PHASE") {
            PhaseFigures f;
            int same = 0;
            in >> f.location >> f.phase >> f.n >> f.items >> f.time.wall >> f.time.cpu >> f.statements >>
                f.rowsWritten >> f.peakKb >> f.floor.time.wall >> f.floor.time.cpu >> f.floor.statements >>
                f.floor.texts >> same;
            f.sameState = same != 0;
            results.phases.push_back(f);
        } else if (kind == "WINDOW") {
            WindowFigures w;
            in >> w.n >> w.items >> w.rounds >> w.windowless.wall >> w.windowless.cpu >> w.window.wall >> w.window.cpu;
            results.window = w;
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    try {
        fat::SetTodayFunction(&BenchToday);
        if (argc >= 5 && std::strcmp(argv[1], "--child-phases") == 0)
            return ChildPhases(argv[2], std::stoi(argv[3]), argv[4]);
        if (argc >= 4 && std::strcmp(argv[1], "--child-window") == 0)
            return ChildWindow(argc, argv, std::stoi(argv[2]), std::stoi(argv[3]));

        std::vector<int> sizes;
        std::vector<std::string> locations = {"embedded"};
        if (const char* dir = std::getenv("FAT_FB_SERVER_DIR"); dir && *dir) locations.push_back("server");
        std::string phases = "load,save,reprocess";
        int window = 10000;
        int rounds = 2;
        bool generateOnly = false;
        for (int i = 1; i < argc; ++i) {
            const std::string a = argv[i];
            const bool hasValue = i + 1 < argc;
            if (a == "--locations" && hasValue) locations = Split(argv[++i]);
            else if (a == "--phases" && hasValue) phases = argv[++i];
            else if (a == "--window" && hasValue) window = std::stoi(argv[++i]);
            else if (a == "--rounds" && hasValue) rounds = std::max(1, std::stoi(argv[++i]));
            else if (a == "--generate") generateOnly = true;
            else if (!a.empty() && a[0] != '-') sizes.push_back(std::stoi(a));
            else {
                std::fprintf(stderr, "usage: %s [--locations embedded,server] [--phases load,save,reprocess]"
                                     " [--window N] [--rounds R] [--generate] [N ...]\n", argv[0]);
                return 2;
            }
        }
        if (sizes.empty()) sizes = {1000, 10000, 50000};

        PrintMachine();
        std::fflush(stdout);
        // Generated outside the measured children, once.
        for (int n : sizes) GeneratedDatabase(n);
        if (window > 0) GeneratedDatabase(window);
        if (generateOnly) return 0;

        Results results;
        for (const auto& location : locations)
            for (int n : sizes) {
                std::fprintf(stderr, "%s, N = %d:\n", location.c_str(), n);
                std::string output;
                if (!RunChild({argv[0], "--child-phases", location, std::to_string(n), phases}, output)) {
                    std::fprintf(stderr, "the run at %s, N = %d failed\n", location.c_str(), n);
                    return 2;
                }
                Collect(output, results);
            }
        if (window > 0) {
            std::fprintf(stderr, "window run, N = %d:\n", window);
            std::string output;
            if (!RunChild({argv[0], "--child-window", std::to_string(window), std::to_string(rounds)}, output)) {
                std::fprintf(stderr, "the window run failed\n");
                return 2;
            }
            Collect(output, results);
        }
        PrintTable(results);
        return PrintTargets(results) ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_load: %s\n", e.what());
        return 2;
    }
}
