// Benchmark of the pending-invoice load: builds (once, then reuses) a synthetic ERP database of
// N pending invoices and loads it through the data module without any window.
//   bench_load [N ...]            (default 2000 20000)
// Each N runs in a child process of its own, so that its peak memory is its own. Prints, per N:
// wall time, invoices per second, statements executed per invoice, peak memory; and the ratio of
// the largest time to the smallest against the ratio of their sizes.
#include "datamodule/TDM.h"
#include "db/ConfigurarConexao.h"
#include "db/DemoData.h"
#include "db/ErpSchema.h"
#include "platform/core/UserMessages.h"
#include "platform/ini/ExecutablePath.h"
#include "salesorder/TPedVenda.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace fat;

namespace {

std::string DatabaseFor(int n) {
    const std::string dir = "/tmp/fat-bench";
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/load-" + std::to_string(n) + ".fdb";
    if (!std::filesystem::exists(path)) {
        std::fprintf(stderr, "generating %d invoices into %s ...\n", n, path.c_str());
        const std::string partial = path + ".part";
        std::filesystem::remove(partial);
        sql::Connection::createDatabase(partial, "SYSDBA", "fennelrot");
        {
            sql::Connection c;
            c.params() = {"Database=" + partial, "User_Name=SYSDBA", "Password=fennelrot"};
            c.open();
            db::CreateErpSchema(c);
            db::DemoDataOptions options;
            options.pendingInvoices = n;
            options.spanDays = 30;
            db::GenerateDemoData(c, options);
        }
        std::filesystem::rename(partial, path);
    }
    return path;
}

struct Figures {
    double seconds = 0;
    int invoices = 0;
    double statementsPerInvoice = 0;
    long peakKb = 0;
};

// Runs in the child: one load of the database, measured.
Figures Measure(int n) {
    const std::string path = DatabaseFor(n);
    // An INI file of its own for the parameter defaults, beside a stand-in executable path.
    const std::string programDir = "/tmp/fat-bench/program-" + std::to_string(getpid());
    std::filesystem::create_directories(programDir);
    ini::SetExecutablePathForTesting(programDir + "/faturamento");
    TDM dm;
    db::ConfigurarConexao(dm.sqlCon, path, db::SenhaPorChave("1"), "3");
    dm.sqlCon.open();
    dm.CriarPedidos();
    dm.PedVendaBruto = std::make_unique<TPedVenda>(dm.sqlCon);
    dm.PedVendaLiquido = std::make_unique<TPedVenda>(dm.sqlCon);

    const auto statementsBefore = dm.sqlCon.statementsExecuted();
    const auto start = std::chrono::steady_clock::now();
    dm.AbrirNotasPendentes("", 0, 0);
    const auto end = std::chrono::steady_clock::now();
    Figures f;
    f.seconds = std::chrono::duration<double>(end - start).count();
    f.invoices = dm.cdsGera.recordCount();
    f.statementsPerInvoice = f.invoices ? double(dm.sqlCon.statementsExecuted() - statementsBefore) / f.invoices : 0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    f.peakKb = usage.ru_maxrss;
    std::filesystem::remove_all(programDir);
    return f;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::stoi(argv[i]));
    if (sizes.empty()) sizes = {2000, 20000};
    for (int n : sizes) DatabaseFor(n); // generated outside the measured children

    std::printf("%10s %10s %12s %14s %14s\n", "invoices", "seconds", "invoices/s", "stmts/invoice", "peak MB");
    std::vector<double> times;
    for (int n : sizes) {
        int pipeFd[2];
        if (pipe(pipeFd) != 0) return 1;
        const pid_t child = fork();
        if (child == 0) {
            close(pipeFd[0]);
            Figures f{};
            try {
                f = Measure(n);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "load of %d failed: %s\n", n, e.what());
                _exit(1);
            }
            if (write(pipeFd[1], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) _exit(1);
            _exit(0);
        }
        close(pipeFd[1]);
        Figures f{};
        const bool got = read(pipeFd[0], &f, sizeof f) == static_cast<ssize_t>(sizeof f);
        close(pipeFd[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
        std::printf("%10d %10.2f %12.0f %14.1f %14.1f\n", f.invoices, f.seconds, f.invoices / f.seconds,
                    f.statementsPerInvoice, f.peakKb / 1024.0);
        times.push_back(f.seconds);
    }
    if (sizes.size() >= 2) {
        const double timeRatio = times.back() / times.front();
        const double sizeRatio = double(sizes.back()) / sizes.front();
        std::printf("time(%d) / time(%d) = %.2f for a size ratio of %.0f\n", sizes.back(), sizes.front(), timeRatio,
                    sizeRatio);
    }
    return 0;
}
