#pragma once
// Wall time and the process's CPU time (every thread of it: with the embedded engine that
// includes the database's own work).
#include <time.h>

namespace bench {

struct Instant {
    double wall = 0;
    double cpu = 0;
};

inline Instant Now() {
    timespec w{}, c{};
    clock_gettime(CLOCK_MONOTONIC, &w);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c);
    return {double(w.tv_sec) + w.tv_nsec / 1e9, double(c.tv_sec) + c.tv_nsec / 1e9};
}

struct Span {
    double wall = 0;
    double cpu = 0;
    Span& operator+=(const Span& o) {
        wall += o.wall;
        cpu += o.cpu;
        return *this;
    }
};

inline Span Since(const Instant& start) {
    const Instant end = Now();
    return {end.wall - start.wall, end.cpu - start.cpu};
}

} // namespace bench
