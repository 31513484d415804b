#include "BenchDatabase.h"

#include "BenchDataModule.h"
#include "DatabaseDigest.h"

#include "db/DemoData.h"
#include "db/ErpSchema.h"
#include "platform/core/Errors.h"
#include "platform/sql/Connection.h"
#include "platform/sql/Query.h"

#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace bench {

const char* LocationName(Location location) { return location == Location::Embedded ? "embedded" : "server"; }

std::string CacheDir() {
    const char* dir = std::getenv("FAT_BENCH_DIR");
    return dir && *dir ? dir : "/tmp/fat-bench";
}

namespace {

void Generate(const std::string& file, int n) {
    std::filesystem::remove(file);
    fat::sql::Connection::createDatabase(file, "SYSDBA", "fennelrot");
    fat::sql::Connection c;
    c.params() = {"Database=" + file, "User_Name=SYSDBA", "Password=fennelrot"};
    c.open();
    fat::db::CreateErpSchema(c);
    fat::db::DemoDataOptions options;
    options.pendingInvoices = n;
    options.spanDays = 30; // a month of invoices
    fat::db::GenerateDemoData(c, options);
}

// What the generator makes of a small database, as a short text: its output changes with its
// code, and a database made by another version of it must not be taken from the cache.
std::string GeneratorFingerprint() {
    const std::string file = CacheDir() + "/fingerprint-" + std::to_string(getpid()) + ".fdb";
    struct Remove {
        std::string file;
        ~Remove() {
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
        }
    } remove{file};
    Generate(file, 48);
    std::string text = DatabaseDigest(file);
    {
        fat::sql::Connection c;
        c.params() = {"Database=" + file, "User_Name=SYSDBA", "Password=fennelrot"};
        c.open();
        fat::sql::Query q(c);
        q.setSql("select (select count(*) || '/' || coalesce(sum(COMISSREC_PV), 0) from PEDVENDA)"
                 " || ' ' || (select count(*) || '/' || coalesce(sum(PRECO_IT), 0) || '/' || count(DTFATUR_IT)"
                 "   || '/' || coalesce(sum(extract(hour from DTFATUR_IT)), 0) from ITENSPV)"
                 " || ' ' || (select count(*) || '/' || coalesce(sum(QTPED_IT), 0) from ITENSPVGRADE)"
                 " || ' ' || (select count(*) from PEDVENDA_PARCELAS) from RDB$DATABASE");
        q.open();
        text += " " + q.field(0).asString();
    }
    std::uint32_t h = 2166136261u; // FNV-1a
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", h);
    return hex;
}

// Worked out once and handed to the children through the environment.
const std::string& Fingerprint() {
    static const std::string fingerprint = [] {
        if (const char* known = std::getenv("FAT_BENCH_GENERATOR"); known && *known) return std::string(known);
        std::string made = GeneratorFingerprint();
        setenv("FAT_BENCH_GENERATOR", made.c_str(), 1);
        return made;
    }();
    return fingerprint;
}

} // namespace

std::string GeneratedDatabase(int n) {
    std::filesystem::create_directories(CacheDir());
    const std::string path = CacheDir() + "/erp-" + std::to_string(n) + "-" + Fingerprint() + ".fdb";
    if (std::filesystem::exists(path)) return path;

    std::fprintf(stderr, "generating %d pending invoices into %s ...\n", n, path.c_str());
    const auto start = std::chrono::steady_clock::now();
    const std::string partial = path + ".part";
    Generate(partial, n);
    {
        // The program's start-up writes the parameters' defaults into PARAM; done here once, so
        // that every copy starts from the state a site has.
        BenchDataModule started(partial);
    }
    std::filesystem::rename(partial, path);
    std::fprintf(stderr, "  generated in %.0f s\n",
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return path;
}

namespace {

std::string ServerDir() {
    const char* dir = std::getenv("FAT_FB_SERVER_DIR");
    if (!dir || !*dir)
        throw fat::Error("the server location needs FAT_FB_SERVER_DIR, the folder of a running server's databases"
                         " (scripts/bench.sh starts one)");
    return dir;
}

} // namespace

WorkCopy::WorkCopy(const std::string& generated, Location location, const std::string& tag) : location_(location) {
    const std::string dir = location == Location::Server ? ServerDir() : CacheDir();
    file_ = dir + "/run-" + std::to_string(getpid()) + "-" + tag + ".fdb";
    std::filesystem::copy_file(generated, file_, std::filesystem::copy_options::overwrite_existing);
    if (location == Location::Server) {
        const passwd* fb = getpwnam("firebird");
        if (!fb || chown(file_.c_str(), fb->pw_uid, fb->pw_gid) != 0) {
            std::filesystem::remove(file_);
            throw fat::Error("cannot give " + file_ + " to the firebird user");
        }
    }
}

WorkCopy::~WorkCopy() {
    std::error_code ignored;
    std::filesystem::remove(file_, ignored);
}

std::string WorkCopy::location() const { return location_ == Location::Server ? "127.0.0.1:" + file_ : file_; }

} // namespace bench
