// Times the client dataset's lookups and its apply at two sizes, to show that their cost per row
// stays flat as a load grows (an index behind locate and equality filters, prepared statements
// reused by the apply): locate, an equality filter, and inserts applied in one transaction to
// an embedded database made under /tmp. Usage: bench_dataset [repetitions] (5 by default); the
// best of the repetitions counts. Exits with 1 when a per-row cost at the large size exceeds 1.5 times
// the one at the small size.

#include "platform/core/Errors.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/SqlProvider.h"
#include "platform/sql/Connection.h"
#include "platform/sql/Query.h"
#include "platform/sql/Transaction.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace fat;
using namespace fat::data;

namespace {

constexpr int Small = 10000;
constexpr int Large = 100000;
constexpr double Limit = 1.5;

std::string Docto(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06d", i / 10);
    return buf;
}

// Item copies as a load makes them: ten items per invoice.
void FillItems(ClientDataSet& ds, int rows) {
    ds.close();
    ds.clearFields();
    ds.addField(FieldDef("DOCTO_SA", DataType::String, 6));
    ds.addField(FieldDef("ITEM_SA", DataType::Integer));
    ds.addField(FieldDef("PROD_SA", DataType::String, 20));
    ds.addField(FieldDef("PRECO_SA", DataType::Float));
    ds.createDataSet();
    ds.disableControls();
    for (int i = 0; i < rows; ++i) {
        ds.append();
        ds.fieldByName("DOCTO_SA").setAsString(Docto(i));
        ds.fieldByName("ITEM_SA").setAsInteger(i % 10 + 1);
        ds.fieldByName("PROD_SA").setAsString("Prod-" + std::to_string(i));
        ds.fieldByName("PRECO_SA").setAsFloat(i / 100.0);
        ds.post();
    }
    ds.enableControls();
    ds.mergeChangeLog();
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<int> Shuffled(int n) {
    std::vector<int> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = i;
    std::shuffle(v.begin(), v.end(), std::mt19937(12345));
    return v;
}

// Timings of one kind of work at one size: `prepare` builds what it needs, `pass` does one
// operation per row (or per invoice) of the load and is repeated so that both sizes do the same
// count of operations; the result is seconds per pass.
struct Work {
    std::function<void(int rows)> prepare;
    std::function<void()> pass;
};

constexpr int OperationsPerRun = 200000;

double TimePasses(Work& work, int rows) {
    work.prepare(rows);
    work.pass(); // warm: indexes built, memory touched
    const int passes = std::max(2, OperationsPerRun / rows);
    return Seconds([&] {
               for (int p = 0; p < passes; ++p) work.pass();
           }) /
           passes;
}

struct LocateWork {
    ClientDataSet ds;
    std::vector<int> order;
    bool withoutCase = false;
    Work work() {
        return Work{[this](int rows) {
                        FillItems(ds, rows);
                        order = Shuffled(rows);
                    },
                    [this] {
                        for (int i : order) {
                            const bool found =
                                withoutCase
                                    ? ds.locate("PROD_SA", Value::fromString("PROD-" + std::to_string(i)), {true, false})
                                    : ds.locate("DOCTO_SA;ITEM_SA",
                                                {Value::fromString(Docto(i)), Value::fromInteger(i % 10 + 1)});
                            if (!found) throw Error("locate missed row " + std::to_string(i));
                        }
                    }};
    }
};

// One filter per invoice, as the load totals each invoice's items: set it, walk its rows.
struct FilterWork {
    ClientDataSet ds;
    std::vector<int> order;
    Work work() {
        return Work{[this](int rows) {
                        FillItems(ds, rows);
                        ds.setIndexFieldNames("DOCTO_SA;ITEM_SA");
                        order = Shuffled(rows / 10);
                    },
                    [this] {
                        for (int invoice : order) {
                            ds.setFiltered(false);
                            ds.setFilter("DOCTO_SA = '" + Docto(invoice * 10) + "'");
                            ds.setFiltered(true);
                            int seen = 0;
                            for (ds.first(); !ds.eof(); ds.next()) ++seen;
                            if (seen != 10) throw Error("filter showed " + std::to_string(seen) + " rows");
                        }
                        ds.setFiltered(false);
                    }};
    }
};

// The first locate on a field builds its index over every row.
double IndexBuild(int rows) {
    ClientDataSet ds;
    FillItems(ds, rows);
    return Seconds([&] { ds.locate("DOCTO_SA;ITEM_SA", {Value::fromString(Docto(0)), Value::fromInteger(1)}); });
}

struct Database {
    std::filesystem::path folder;
    std::string location;
    sql::Connection connection;
    Database() {
        folder = std::filesystem::temp_directory_path() / ("bench_dataset_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        location = (folder / "bench.fdb").string();
        sql::Connection::createDatabase(location, "SYSDBA", "fennelrot");
        connection.params() = {"Database=" + location, "User_Name=SYSDBA", "Password=fennelrot", "SQLDialect=3"};
        connection.open();
        connection.executeImmediate(
            "create table ITENS (FILIAL_SA integer not null, DOCTO_SA varchar(6) not null, ITEM_SA integer not null,"
            " PROD_SA varchar(20), PRECO_SA double precision, VALOR_SA numeric(15,2), DATA_SA timestamp,"
            " primary key (FILIAL_SA, DOCTO_SA, ITEM_SA))");
    }
    ~Database() {
        try {
            connection.close();
        } catch (...) {
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

// Appends the rows to a write buffer, then times applying them in one transaction.
double ApplyInserts(Database& db, int rows, int filial) {
    sql::Query query(db.connection);
    query.setSql("select * from ITENS where FILIAL_SA >= 100 and DOCTO_SA = '999999'");
    SqlProvider provider(query);
    ClientDataSet ds("cdsItensNS");
    ds.setProvider(&provider);
    ds.open();
    for (int i = 0; i < rows; ++i) {
        ds.append();
        ds.fieldByName("FILIAL_SA").setAsInteger(filial);
        ds.fieldByName("DOCTO_SA").setAsString(Docto(i));
        ds.fieldByName("ITEM_SA").setAsInteger(i % 10 + 1);
        ds.fieldByName("PROD_SA").setAsString("Prod-" + std::to_string(i));
        ds.fieldByName("PRECO_SA").setAsFloat(i / 100.0);
        ds.fieldByName("VALOR_SA").setAsDecimal(Decimal(i, 2));
        ds.fieldByName("DATA_SA").setAsDateTime(45000.5);
        ds.post();
    }
    return Seconds([&] {
        sql::Transaction transaction(db.connection);
        ds.applyUpdates(0);
        transaction.commit();
    });
}

struct Result {
    std::string name;
    double small = 1e300, large = 1e300; // best seconds for one pass over the rows
};

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<Result> results;
    try {
        // Small and large runs alternate, so that both meet the same load of the machine.
        const auto measure = [&](const std::string& name, const std::function<double(int)>& run) {
            Result r{name};
            for (int i = 0; i < repetitions; ++i) {
                r.small = std::min(r.small, run(Small));
                r.large = std::min(r.large, run(Large));
            }
            results.push_back(r);
            std::fprintf(stderr, "  %s done\n", name.c_str());
        };
        measure("locate DOCTO_SA;ITEM_SA", [](int rows) {
            LocateWork w;
            Work work = w.work();
            return TimePasses(work, rows);
        });
        measure("locate PROD_SA, no case", [](int rows) {
            LocateWork w;
            w.withoutCase = true;
            Work work = w.work();
            return TimePasses(work, rows);
        });
        measure("equality filter + walk", [](int rows) {
            FilterWork w;
            Work work = w.work();
            return TimePasses(work, rows);
        });
        measure("index build (1st locate)", IndexBuild);
        Database db;
        int filial = 100;
        measure("apply inserts, one tx", [&](int rows) { return ApplyInserts(db, rows, filial++); });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_dataset: %s\n", e.what());
        return 2;
    }

    std::printf("Best of %d runs. Total: one pass over the rows (locate: one per row, in random order; filter: one\n"
                "per invoice of 10 rows; index build: the first locate; apply: one insert per row). Per row:\n"
                "total / rows. Locate and filter passes are repeated to %d operations at both sizes.\n\n",
                repetitions, OperationsPerRun);
    std::printf("%-26s %12s %12s %12s %12s %8s\n", "", "10k total", "10k per row", "100k total", "100k per row",
                "ratio");
    std::printf("%-26s %12s %12s %12s %12s %8s\n", "", "ms", "us", "ms", "us", "");
    bool within = true;
    for (const auto& r : results) {
        const double perSmall = r.small / Small * 1e6, perLarge = r.large / Large * 1e6;
        const double ratio = perLarge / perSmall;
        within = within && ratio <= Limit;
        std::printf("%-26s %12.1f %12.3f %12.1f %12.3f %8.2f%s\n", r.name.c_str(), r.small * 1e3, perSmall,
                    r.large * 1e3, perLarge, ratio, ratio <= Limit ? "" : "  > 1.5");
    }
    std::printf("\n%s\n", within ? "Every per-row cost at 100,000 rows is within 1.5x of that at 10,000."
                                 : "A per-row cost at 100,000 rows exceeds 1.5x of that at 10,000.");
    return within ? 0 : 1;
}
