// demo_db <path to .fdb> [--invoices N] [--seed S] [--first dd/mm/yyyy] [--days D] [--recreate]
//
// Creates the embedded demo database with the ERP's tables and generated data when the file
// does not exist (or anew with --recreate); leaves an existing file alone. By default a few
// dozen pending invoices issued over the two months up to today.
#include "db/DemoData.h"
#include "db/ErpSchema.h"
#include "platform/core/Format.h"
#include "platform/sql/Connection.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

constexpr const char* User = "SYSDBA";
constexpr const char* Password = "fennelrot";

int Usage(const std::string& problem) {
    std::fprintf(stderr, "demo_db: %s\nusage: demo_db <path to .fdb> [--invoices N] [--seed S] "
                         "[--first dd/mm/yyyy] [--days D] [--recreate]\n", problem.c_str());
    return 2;
}

struct Arguments {
    std::string path;
    fat::db::DemoDataOptions options;
    bool recreate = false;
};

// Whole number option values; anything else is refused rather than read as 0.
bool ReadNumber(const std::string& text, long long low, long long high, long long& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 12) return false;
    out = std::stoll(text);
    return out >= low && out <= high;
}

bool Parse(int argc, char** argv, Arguments& args, std::string& problem) {
    args.options.firstIssueDate = fat::Today() - (args.options.spanDays - 1);
    bool firstGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        long long n = 0;
        if (a == "--recreate") {
            args.recreate = true;
        } else if (a == "--invoices") {
            if (!value(v) || !ReadNumber(v, 0, 900000, n)) return problem = "--invoices takes a number from 0 to 900000", false;
            args.options.pendingInvoices = static_cast<int>(n);
        } else if (a == "--seed") {
            if (!value(v) || !ReadNumber(v, 0, 4294967295LL, n)) return problem = "--seed takes a number from 0 to 4294967295", false;
            args.options.seed = static_cast<std::uint32_t>(n);
        } else if (a == "--days") {
            if (!value(v) || !ReadNumber(v, 1, 3660, n)) return problem = "--days takes a number from 1 to 3660", false;
            args.options.spanDays = static_cast<int>(n);
        } else if (a == "--first") {
            if (!value(v)) return problem = "--first takes a date dd/mm/yyyy", false;
            try {
                args.options.firstIssueDate = fat::StrToDate(v);
            } catch (const std::exception&) {
                return problem = "--first takes a date dd/mm/yyyy, not " + v, false;
            }
            firstGiven = true;
        } else if (!a.empty() && a[0] == '-') {
            return problem = "unknown option " + a, false;
        } else if (args.path.empty()) {
            args.path = a;
        } else {
            return problem = "one database path only", false;
        }
    }
    if (!firstGiven) args.options.firstIssueDate = fat::Today() - (args.options.spanDays - 1);
    if (args.path.empty()) return problem = "the path of the database file is missing", false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    std::string problem;
    if (!Parse(argc, argv, args, problem)) return Usage(problem);

    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(args.path, ec) && !args.recreate) {
        std::printf("demo database %s exists; left as it is (--recreate builds it anew)\n", args.path.c_str());
        return 0;
    }
    if (args.recreate && !fs::remove(args.path, ec) && ec) {
        std::fprintf(stderr, "demo_db: cannot remove %s: %s\n", args.path.c_str(), ec.message().c_str());
        return 1;
    }

    const auto started = std::chrono::steady_clock::now();
    bool created = false;
    try {
        fat::sql::Connection::createDatabase(args.path, User, Password);
        created = true;
        fat::sql::Connection connection;
        connection.params() = {"Database=" + args.path, std::string("User_Name=") + User,
                               std::string("Password=") + Password, "SQLDialect=3"};
        connection.open();
        fat::db::CreateErpSchema(connection);
        const auto s = fat::db::GenerateDemoData(connection, args.options);
        connection.close();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("demo database %s: %llu invoices (%llu pending, issued from %s over %d days), %llu orders, "
                    "%llu order items, %llu grid rows, %llu invoice items, %llu copies, %llu receivables; "
                    "%llu rows in %.1f s\n",
                    args.path.c_str(), static_cast<unsigned long long>(s.invoices),
                    static_cast<unsigned long long>(s.pendingInvoices),
                    fat::DateToStr(args.options.firstIssueDate).c_str(), args.options.spanDays,
                    static_cast<unsigned long long>(s.orders), static_cast<unsigned long long>(s.orderItems),
                    static_cast<unsigned long long>(s.gridRows), static_cast<unsigned long long>(s.invoiceItems),
                    static_cast<unsigned long long>(s.copies), static_cast<unsigned long long>(s.receivables),
                    static_cast<unsigned long long>(s.totalRows), seconds);
        return 0;
    } catch (const std::exception& e) {
        // A half-made file would be taken for a finished demo database on the next run.
        if (created) fs::remove(args.path, ec);
        std::fprintf(stderr, "demo_db: %s\n", e.what());
        return 1;
    }
}
