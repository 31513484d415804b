#include "Report.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace bench {
namespace {

constexpr int RatioSize = 10000;
constexpr double RatioTarget = 1.3;
constexpr int GrowthFrom = 10000, GrowthTo = 50000;
constexpr double GrowthTarget = 5.5;
constexpr int MemorySize = 50000;
constexpr double MemoryTargetMb = 1024;
constexpr double WindowTarget = 1.15;

std::string FirstLineWith(const char* file, const std::string& prefix) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0) return line;
    return {};
}

std::string AfterColon(const std::string& line) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) return line;
    auto start = line.find_first_not_of(" \t", colon + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
}

const PhaseFigures* Find(const Results& r, const std::string& location, const std::string& phase, int n) {
    for (const auto& f : r.phases)
        if (f.location == location && f.phase == phase && f.n == n) return &f;
    return nullptr;
}

double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

} // namespace

void PrintMachine() {
    std::string load;
    std::getline(std::ifstream("/proc/loadavg") >> std::ws, load);
    std::printf("machine: %u cores, %s, %s of RAM; load average at the start: %s\n",
                std::thread::hardware_concurrency(), AfterColon(FirstLineWith("/proc/cpuinfo", "model name")).c_str(),
                AfterColon(FirstLineWith("/proc/meminfo", "MemTotal")).c_str(), load.c_str());
}

void PrintTable(const Results& r) {
    std::printf("\n%-9s %-10s %6s %8s %8s %8s %8s %9s %9s %8s %8s | %8s %8s %6s %6s %5s\n", "location", "phase", "N",
                "invoices", "wall s", "cpu s", "inv/s", "stmts", "stmts/inv", "rows", "peak MB", "floor s", "floor cpu",
                "ratio", "cpu r.", "same");
    for (const auto& f : r.phases) {
        std::printf("%-9s %-10s %6d %8d %8.2f %8.2f %8.0f %9llu %9.1f %8llu %8.1f | %8.2f %8.2f %6.2f %6.2f %5s\n",
                    f.location.c_str(), f.phase.c_str(), f.n, f.items, f.time.wall, f.time.cpu,
                    Ratio(f.items, f.time.wall), static_cast<unsigned long long>(f.statements),
                    Ratio(double(f.statements), f.items), static_cast<unsigned long long>(f.rowsWritten),
                    f.peakKb / 1024.0, f.floor.time.wall, f.floor.time.cpu, Ratio(f.time.wall, f.floor.time.wall),
                    Ratio(f.time.cpu, f.floor.time.cpu), f.sameState ? "yes" : "NO");
    }
    std::printf("(invoices: those the phase handled; for the reprocessing, the copies listed and ticked. rows: rows its"
                " inserts, updates and deletes changed. floor: the phase's statements replayed through the Firebird"
                " layer alone. ratio: phase / floor, wall and CPU time. same: the replay left its copy in the state"
                " the phase left its own.)\n");
    if (r.window) {
        const WindowFigures& w = *r.window;
        std::printf("\nwindow run, N = %d (%d invoices, best of %d rounds): without a window %.2f s (cpu %.2f),"
                    " in the billing window %.2f s (cpu %.2f): %.3f x\n",
                    w.n, w.items, w.rounds, w.windowless.wall, w.windowless.cpu, w.window.wall, w.window.cpu,
                    Ratio(w.window.wall, w.windowless.wall));
    }
}

bool PrintTargets(const Results& r) {
    bool all = true;
    std::printf("\ntargets:\n");
    for (const char* phase : {"load", "save"})
        if (const PhaseFigures* f = Find(r, "embedded", phase, RatioSize)) {
            const double ratio = Ratio(f->time.wall, f->floor.time.wall);
            const bool met = ratio <= RatioTarget;
            all = all && met;
            std::printf("  %-9s ratio to the floor at N = %d, embedded: %.2f (cpu %.2f), at most %.1f: %s\n", phase,
                        RatioSize, ratio, Ratio(f->time.cpu, f->floor.time.cpu), RatioTarget, Verdict(met));
        }
    for (const char* location : {"embedded", "server"})
        for (const char* phase : {"load", "save", "reprocess"}) {
            const PhaseFigures* a = Find(r, location, phase, GrowthFrom);
            const PhaseFigures* b = Find(r, location, phase, GrowthTo);
            if (!a || !b) continue;
            const double growth = Ratio(b->time.wall, a->time.wall);
            const bool met = growth <= GrowthTarget;
            all = all && met;
            std::printf("  %-9s time(%d) / time(%d), %s: %.2f (cpu %.2f), at most %.1f: %s\n", phase, GrowthTo,
                        GrowthFrom, location, growth, Ratio(b->time.cpu, a->time.cpu), GrowthTarget, Verdict(met));
        }
    for (const auto& f : r.phases)
        if (f.n == MemorySize) {
            const bool met = f.peakKb / 1024.0 < MemoryTargetMb;
            all = all && met;
            std::printf("  %-9s peak memory at N = %d, %s: %.0f MB, under %.0f MB: %s\n", f.phase.c_str(), MemorySize,
                        f.location.c_str(), f.peakKb / 1024.0, MemoryTargetMb, Verdict(met));
        }
    if (r.window) {
        const double ratio = Ratio(r.window->window.wall, r.window->windowless.wall);
        const bool met = ratio <= WindowTarget;
        all = all && met;
        std::printf("  window run at N = %d: %.3f x the load without a window, at most %.2f: %s\n", r.window->n, ratio,
                    WindowTarget, Verdict(met));
    }
    for (const auto& f : r.phases)
        if (!f.sameState) {
            all = false;
            std::printf("  %s at N = %d, %s: the replay did not reproduce the phase's writes\n", f.phase.c_str(), f.n,
                        f.location.c_str());
        }
    return all;
}

} // namespace bench
