// A save killed (SIGKILL) at several moments leaves nothing of itself in the database; a new
// start, a load and a save then write every invoice exactly once. The save runs in a child
// process (this program started again) that reports its progress through a pipe and, at the
// chosen moment, waits for its parent, which kills it there or lets it run on and kills it while
// it is busy. Both through the embedded engine and through the Firebird server on 127.0.0.1, where
// a site's workstations reach the database.
#include "ChildProcess.h"
#include "SaveRows.h"

#include "datamodule/TDM.h"
#include "db/DemoData.h"
#include "db/ErpSchema.h"
#include "platform/core/DateTime.h"
#include "platform/core/UserMessages.h"
#include "platform/ini/ExecutablePath.h"
#include "support/MessageRecorder.h"
#include "support/ServerDatabase.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

namespace fat::test {
namespace {

constexpr int Invoices = 2000;
constexpr const char* ChildTest = "DISABLED_KilledSaveChild.LoadsAndSaves";

TDateTime Hoje() { return EncodeDate(2024, 5, 10); }

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// What the child reports once every buffer is filled (at the first apply statement).
struct Buffers {
    std::int64_t copies = 0, links = 0, receivables = 0, itemCopies = 0, stamps = 0, refused = 0;
    SaveRows rows() const { return {copies, links, receivables, itemCopies, stamps}; }
};

// --- the child ---------------------------------------------------------------------------

// The statement kind a save's statement belongs to: "stamp", the table of an apply's insert, or "".
std::string KindOf(const std::string& sqlText) {
    if (sqlText.rfind("update NOTASAI", 0) == 0) return "stamp";
    if (sqlText.rfind("insert into \"", 0) == 0) return sqlText.substr(13, sqlText.find('"', 13) - 13);
    return {};
}

TEST(DISABLED_KilledSaveChild, LoadsAndSaves) {
    const char* dir = std::getenv("FAT_KILL_PROGRAM_DIR");
    // "<kind> <count>"; for a buffer's inserts the count may be "half" or "last" of its rows.
    const char* at = std::getenv("FAT_KILL_AT");
    if (!dir || !at) GTEST_SKIP() << "started only by KilledSave";
    std::istringstream momento(at);
    std::string target, count;
    momento >> target >> count;

    SetTodayFunction(&Hoje);
    ini::SetExecutablePathForTesting(std::string(dir) + "/faturamento");
    MessageRecorder refusals; // the invoices the save refuses, each with a box
    TDM dm;
    dm.DataModuleCreate();
    dm.AbrirNotasPendentes("", 0, 0);
    ParentLink::send("loaded " + std::to_string(dm.cdsGera.recordCount()));

    std::map<std::string, std::int64_t> seen;
    bool reported = false;
    const std::map<std::string, data::ClientDataSet*> buffers = {
        {"NOTASAI", &dm.cdsNF100}, {"NOTASAI_PEDVEND", &dm.cdsNP100}, {"DUPLICATAS", &dm.cdsDup}, {"ITENSNS", &dm.cdsItensNS}};
    dm.sqlCon.setStatementObserver([&](const std::string& sqlText, const std::vector<Value>&) {
        const std::string kind = KindOf(sqlText);
        if (kind.empty()) return;
        const std::int64_t n = ++seen[kind];
        if (kind != "stamp" && !reported) {
            reported = true;
            ParentLink::send("buffers " + std::to_string(dm.cdsNF100.recordCount()) + " " +
                             std::to_string(dm.cdsNP100.recordCount()) + " " + std::to_string(dm.cdsDup.recordCount()) +
                             " " + std::to_string(dm.cdsItensNS.recordCount()) + " " + std::to_string(seen["stamp"]) +
                             " " + std::to_string(refusals.boxes.size()));
        }
        if (kind != target) return;
        const auto rows = buffers.count(kind) ? buffers.at(kind)->recordCount() : -1;
        if (count == std::to_string(n) || (count == "half" && n == rows / 2) || (count == "last" && n == rows)) {
            ParentLink::send("at " + kind + " " + std::to_string(n));
            ParentLink::waitForParent();
            ParentLink::send("running");
        }
    });
    dm.GravarNotasPendentes();
    ParentLink::send("saved");
}

// --- the parent --------------------------------------------------------------------------

// Where the database of a killed save lives: a file the child opens itself through the embedded
// engine, or a database of the Firebird server on 127.0.0.1, where the killed child's
// attachment is the server's to clean up.
enum class Where { Embedded, Server };
const char* NameOf(Where where) { return where == Where::Embedded ? "Embedded" : "Server"; }
void PrintTo(Where where, std::ostream* out) { *out << NameOf(where); }

struct KilledSave : ::testing::TestWithParam<Where> {
    TempDir programDir;
    std::string location;
    std::optional<ServerDatabaseFile> serverFile;

    void SetUp() override {
        // Made through the embedded engine, which is much faster than statement by statement over
        // the network; a database on the server is then handed to the server's user.
        std::string file = programDir.file("erp.fdb");
        if (GetParam() == Where::Server) {
            std::string dir;
            FAT_REQUIRE_SERVER_DIR(dir);
            serverFile.emplace(dir, "killed-save");
            file = serverFile->path();
        }
        const auto start = std::chrono::steady_clock::now();
        {
            sql::Connection::createDatabase(file, TestDatabase::User, TestDatabase::Password);
            sql::Connection c;
            TestDatabase::configure(c, file);
            c.open();
            db::CreateErpSchema(c);
            db::DemoDataOptions options;
            options.pendingInvoices = Invoices;
            options.firstIssueDate = EncodeDate(2024, 4, 1);
            options.spanDays = 30;
            db::GenerateDemoData(c, options);
        }
        location = file;
        if (serverFile) {
            serverFile->giveToServer();
            location = serverFile->location();
        }
        std::ofstream(programDir.file("faturamento.ini"))
            << "[BDADOS]\nDB=" << location << "\nCHAVE=1\n[Banco]\nVersaoFirebird=3\n";
        std::printf("[ reliability ] %d invoices generated in %.2f s for %s\n", Invoices, Seconds(start),
                    location.c_str());
    }
    ~KilledSave() override {
        SetTodayFunction({});
        ini::SetExecutablePathForTesting("");
    }

    // The rows a save adds, read through an attachment of its own that is closed again (the
    // embedded engine lets one process at a time open the file).
    SaveRows rows() const {
        sql::Connection c;
        TestDatabase::configure(c, location);
        c.open();
        return CountSaveRows(c);
    }
};

struct Moment {
    const char* what;
    const char* at;   // FAT_KILL_AT of the child
    bool running;     // let it go on and kill it while it runs, rather than where it waits
};

TEST_P(KilledSave, NothingOfAKilledSaveRemainsAndTheNextSaveWritesEverythingExactlyOnce) {
    const std::vector<Moment> moments = {
        {"during the walk, after the 600th stamp", "stamp 600", true},
        {"right after the first apply statement", "NOTASAI 1", false},
        {"while the receivables are sent, half of them sent", "DUPLICATAS half", true},
        {"after the last item copy, only the commit left", "ITENSNS last", false},
    };
    const SaveRows before = rows();
    std::int64_t loaded = -1;
    std::optional<Buffers> buffers;
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.what);
        const auto start = std::chrono::steady_clock::now();
        ChildProcess child(ChildTest, {{"FAT_KILL_PROGRAM_DIR", programDir.path().string()}, {"FAT_KILL_AT", m.at}});
        bool killed = false;
        while (!killed) {
            const auto line = child.readLine();
            ASSERT_TRUE(line) << "the child ended before the moment (status " << child.wait() << ")";
            std::istringstream in(*line);
            std::string word;
            in >> word;
            if (word == "loaded") {
                std::int64_t n = 0;
                in >> n;
                if (loaded >= 0) {
                    EXPECT_EQ(n, loaded) << "every start loads the same pending invoices";
                }
                loaded = n;
            } else if (word == "buffers") {
                Buffers b;
                in >> b.copies >> b.links >> b.receivables >> b.itemCopies >> b.stamps >> b.refused;
                if (buffers) {
                    EXPECT_EQ(b.rows(), buffers->rows()) << "every start fills the same buffers";
                } else {
                    std::cout << "[ reliability ] the save writes " << b.rows() << ", refuses " << b.refused << "\n";
                }
                buffers = b;
            } else if (word == "at") {
                if (m.running) {
                    child.resume();
                    ASSERT_EQ(child.readLine(), "running");
                }
                const int status = child.kill();
                EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
                killed = true;
            } else {
                FAIL() << "the save ended before it was killed: " << *line;
            }
        }
        EXPECT_EQ(rows(), before) << "nothing of the killed save may remain";
        std::printf("[ reliability ] killed %s after %.2f s\n", m.what, Seconds(start));
    }
    ASSERT_TRUE(buffers);
    ASSERT_GT(buffers->copies, Invoices / 4) << "the save must have enough to write for the moments to fall inside it";

    // A new start, a load and a save write what the killed saves were about to write, once.
    MessageRecorder messages;
    SetTodayFunction(&Hoje);
    ini::SetExecutablePathForTesting(programDir.file("faturamento"));
    auto start = std::chrono::steady_clock::now();
    TDM dm;
    dm.DataModuleCreate();
    dm.AbrirNotasPendentes("", 0, 0);
    EXPECT_EQ(dm.cdsGera.recordCount(), loaded);
    std::printf("[ reliability ] new start and load of %lld invoices: %.2f s\n", static_cast<long long>(loaded),
                Seconds(start));
    start = std::chrono::steady_clock::now();
    dm.GravarNotasPendentes();
    std::printf("[ reliability ] their save: %.2f s\n", Seconds(start));
    const SaveRows after = CountSaveRows(dm.sqlCon);
    EXPECT_EQ(after - before, buffers->rows());
    EXPECT_EQ(static_cast<std::int64_t>(messages.boxes.size()), buffers->refused);

    // What was written is no longer pending, and saving the rest again adds nothing.
    dm.AbrirNotasPendentes("", 0, 0);
    EXPECT_EQ(dm.cdsGera.recordCount(), loaded - buffers->stamps);
    dm.GravarNotasPendentes();
    EXPECT_EQ(CountSaveRows(dm.sqlCon), after);
}

INSTANTIATE_TEST_SUITE_P(Locations, KilledSave, ::testing::Values(Where::Embedded, Where::Server),
                         [](const ::testing::TestParamInfo<Where>& info) { return NameOf(info.param); });

} // namespace
} // namespace fat::test
