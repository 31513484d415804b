#include "SavePhase.h"

#include "platform/core/UserMessages.h"
#include "platform/sql/Query.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

namespace bench {
namespace {

// Rows under the derived branches and stamped invoices: what a save adds.
std::uint64_t RowsOfTheSave(fat::sql::Connection& connection) {
    fat::sql::Query q(connection);
    q.setSql("select (select count(*) from NOTASAI where FILIAL_NS >= 100)"
             " + (select count(*) from NOTASAI_PEDVEND where FILIAL_NP >= 100)"
             " + (select count(*) from DUPLICATAS where FILIAL_DP >= 100)"
             " + (select count(*) from ITENSNS where FILIAL_SA >= 100)"
             " + (select count(*) from NOTASAI where FILIAL_NS <= 90 and DTGERACONT_NS is not null)"
             " from RDB$DATABASE");
    q.open();
    const auto rows = static_cast<std::uint64_t>(q.field(0).asInteger());
    q.close();
    return rows;
}

} // namespace

RunCopy::RunCopy(const std::string& generated, int n)
    : path_(std::filesystem::path(generated).parent_path() /
            ("run-" + std::to_string(n) + "-" + std::to_string(getpid()) + ".fdb")) {
    std::filesystem::copy_file(generated, path_, std::filesystem::copy_options::overwrite_existing);
}

RunCopy::~RunCopy() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void ReadCompanySettings(fat::TDM& dm) {
    dm.sqlConfig.setLines({"select NOME_EMPRESA, TPFATUR, GERARCOPIADUP", "from CONFIG"});
    dm.sqlConfig.open();
    dm.NOME_EMPRESA = dm.sqlConfig.fieldByName("NOME_EMPRESA").asString();
    dm.TPFATUR = dm.sqlConfig.fieldByName("TPFATUR").asString();
    dm.GERARCOPIADUP = dm.sqlConfig.fieldByName("GERARCOPIADUP").asString();
    dm.sqlConfig.close();
}

SaveFigures MeasureSave(fat::TDM& dm) {
    SaveFigures f;
    // The refusals are counted, not shown.
    const fat::MessagePresenter previous = fat::SetMessagePresenter([&f](const fat::MessageBoxRequest&) { ++f.refused; });
    const std::uint64_t rowsBefore = RowsOfTheSave(dm.sqlCon);
    const auto statementsBefore = dm.sqlCon.statementsExecuted();
    const auto start = std::chrono::steady_clock::now();
    auto firstInsert = start;
    bool inserting = false;
    dm.sqlCon.setStatementObserver([&](const std::string& sqlText, const std::vector<fat::Value>&) {
        if (!inserting && sqlText.rfind("insert into ", 0) == 0) {
            inserting = true;
            firstInsert = std::chrono::steady_clock::now();
        }
    });
    dm.GravarNotasPendentes();
    const auto end = std::chrono::steady_clock::now();
    dm.sqlCon.setStatementObserver({});
    fat::SetMessagePresenter(previous);
    f.walkSeconds = std::chrono::duration<double>(firstInsert - start).count();
    f.applySeconds = std::chrono::duration<double>(end - firstInsert).count();
    f.seconds = std::chrono::duration<double>(end - start).count();
    const int invoices = dm.cdsGera.recordCount();
    f.statementsPerInvoice = invoices ? double(dm.sqlCon.statementsExecuted() - statementsBefore) / invoices : 0;
    f.rowsWritten = RowsOfTheSave(dm.sqlCon) - rowsBefore;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    f.peakKb = usage.ru_maxrss;
    return f;
}

} // namespace bench
