#pragma once
// The synthetic ERP databases of the benchmark and the working copies each run makes of them.
#include <string>

namespace bench {

// Where a run's databases live and how the product reaches them.
enum class Location { Embedded, Server };
const char* LocationName(Location location);

// The generated database of n pending invoices, made once with the demo data generator (a
// month of issue dates, seed 1: the same n gives the same rows) and kept in the cache folder
// under a name that carries n and a fingerprint of the generator's output (a changed generator
// makes new files). The program has run on it once, so the parameters' defaults are in PARAM
// as at a site.
std::string GeneratedDatabase(int n);

// The cache folder (FAT_BENCH_DIR, default /tmp/fat-bench).
std::string CacheDir();

// A copy of a generated database for one run, removed when it goes, also on failure. For the
// server it lives in the server's folder (FAT_FB_SERVER_DIR), owned by the firebird user, and
// is reached over 127.0.0.1.
class WorkCopy {
public:
    WorkCopy(const std::string& generated, Location location, const std::string& tag);
    ~WorkCopy();
    WorkCopy(const WorkCopy&) = delete;
    WorkCopy& operator=(const WorkCopy&) = delete;

    const std::string& file() const { return file_; }
    // What the INI file's DB key names: the file, or "127.0.0.1:" and the file.
    std::string location() const;

private:
    std::string file_;
    Location location_;
};

} // namespace bench
