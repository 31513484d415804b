// Benchmark of the pending-invoice load: builds (once, then reuses) a synthetic ERP database of
// N pending invoices and loads it through the data module without any window.
//   bench_load [N ...]            (default 2000 20000)
// The loaded invoices are then saved into a copy of the generated database made for the run.
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

#include "SavePhase.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
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
    bench::SaveFigures save;
};

// Runs in the child: one load of the database, measured.
Figures Measure(int n) {
    const std::string path = DatabaseFor(n);
    // An INI file of its own for the parameter defaults, beside a stand-in executable path.
    const std::string programDir = "/tmp/fat-bench/program-" + std::to_string(getpid());
    std::filesystem::create_directories(programDir);
    ini::SetExecutablePathForTesting(programDir + "/faturamento");
    const bench::RunCopy run(path, n); // the save writes into it
    TDM dm;
    db::ConfigurarConexao(dm.sqlCon, run.path(), db::SenhaPorChave("1"), "3");
    dm.sqlCon.open();
    bench::ReadCompanySettings(dm);
    dm.CriarPedidos();
    dm.PedVendaBruto = std::make_unique<TPedVenda>(dm.sqlCon);
    dm.PedVendaLiquido = std::make_unique<TPedVenda>(dm.sqlCon);

    {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        std::fprintf(stderr, "  before the load: %.1f MB\n", u.ru_maxrss / 1024.0);
    }
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
    std::fprintf(stderr, "  %d invoices: %d item copies, %d plan rows, %d order rows\n", f.invoices,
                 dm.cdsItens.recordCount(), dm.cdsPrazos.recordCount(), [&] {
                     dm.cdsPed.setMasterSource(nullptr);
                     return dm.cdsPed.recordCount();
                 }());
    f.save = bench::MeasureSave(dm);
    std::filesystem::remove_all(programDir);
    return f;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::stoi(argv[i]));
    if (sizes.empty()) sizes = {2000, 20000};
    for (int n : sizes) DatabaseFor(n); // generated outside the measured children
    if (std::getenv("FAT_BENCH_IN_PROCESS")) { // for memory profilers, which follow no fork
        const Figures f = Measure(sizes.front());
        std::printf("%d invoices in %.2f s\n", f.invoices, f.seconds);
        return 0;
    }

    std::printf("%10s %10s %12s %14s %14s | %10s %10s %10s %14s %14s\n", "invoices", "seconds", "invoices/s",
                "stmts/invoice", "peak MB", "save s", "rows", "rows/s", "stmts/invoice", "peak MB");
    std::vector<double> times;
    std::vector<double> saveTimes;
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
                std::fprintf(stderr, "load or save of %d failed: %s\n", n, e.what());
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
        std::printf("%10d %10.2f %12.0f %14.1f %14.1f | %10.2f %10llu %10.0f %14.1f %14.1f\n", f.invoices, f.seconds,
                    f.invoices / f.seconds, f.statementsPerInvoice, f.peakKb / 1024.0, f.save.seconds,
                    static_cast<unsigned long long>(f.save.rowsWritten), f.save.rowsWritten / f.save.seconds,
                    f.save.statementsPerInvoice, f.save.peakKb / 1024.0);
        times.push_back(f.seconds);
        saveTimes.push_back(f.save.seconds);
        std::printf("%10s save: %.2f s walking the invoices, %.2f s sending the buffers and committing; %d invoices"
                    " refused by the validation\n",
                    "", f.save.walkSeconds, f.save.applySeconds, f.save.refused);
    }
    if (sizes.size() >= 2) {
        const double timeRatio = times.back() / times.front();
        const double sizeRatio = double(sizes.back()) / sizes.front();
        std::printf("time(%d) / time(%d) = %.2f for a size ratio of %.0f\n", sizes.back(), sizes.front(), timeRatio,
                    sizeRatio);
        std::printf("save: time(%d) / time(%d) = %.2f for a size ratio of %.0f\n", sizes.back(), sizes.front(),
                    saveTimes.back() / saveTimes.front(), sizeRatio);
    }
    return 0;
}
