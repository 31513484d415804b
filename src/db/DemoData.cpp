#include "db/DemoData.h"

#include "db/DemoCatalog.h"
#include "db/DemoInvoiceBuilder.h"
#include "db/DemoInvoiceWriter.h"
#include "db/DemoRandom.h"
#include "platform/core/Errors.h"
#include "platform/sql/Query.h"
#include "platform/sql/Transaction.h"

#include <algorithm>

namespace fat::db {
namespace {

constexpr int MaxInvoices = 900000; // six-digit invoice numbers from 001001

void CheckOptions(const DemoDataOptions& o) {
    if (o.pendingInvoices < 0 || o.pendingInvoices > MaxInvoices)
        throw Error("the number of pending invoices must be between 0 and " + std::to_string(MaxInvoices));
    if (o.spanDays < 1 || o.spanDays > 3660) throw Error("the span of issue dates must be between 1 and 3660 days");
    if (o.firstIssueDate < EncodeDate(1901, 1, 2) || o.firstIssueDate > EncodeDate(9000, 1, 1))
        throw Error("the first issue date is out of range");
    if (o.companyName.size() > 60) throw Error("the company name is longer than 60 characters");
    if (o.billingType.size() > 1 || o.copyReceivables.size() > 1)
        throw Error("TPFATUR and GERARCOPIADUP hold one character");
}

void CheckEmpty(sql::Connection& connection) {
    sql::Query q(connection);
    q.setSql("select (select count(*) from CONFIG) + (select count(*) from NOTASAI) + "
             "(select count(*) from PEDVENDA) from RDB$DATABASE");
    q.open();
    if (q.field(0).asInteger() != 0) throw Error("the database already holds data; demo data goes into an empty one");
}

// Where the invoices that stay off the pending list go among the others: spread evenly,
// walking through the kinds in turn. Three in eight were stamped by an earlier save: their
// copies are what the item reprocessing works on.
constexpr int MinExtras = 8;

std::vector<DemoInvoiceKind> Kinds(int pending, int extras) {
    static const DemoInvoiceKind cycle[] = {DemoInvoiceKind::KindC,      DemoInvoiceKind::Stamped,
                                            DemoInvoiceKind::KindE,      DemoInvoiceKind::KindN,
                                            DemoInvoiceKind::Stamped,    DemoInvoiceKind::WrittenOff,
                                            DemoInvoiceKind::HighBranch, DemoInvoiceKind::Stamped};
    const int total = pending + extras;
    std::vector<DemoInvoiceKind> kinds(static_cast<std::size_t>(total), DemoInvoiceKind::Pending);
    for (int j = 0; j < extras; ++j) {
        const auto at = static_cast<std::size_t>((2LL * j + 1) * total / (2LL * extras));
        kinds[at] = cycle[j % std::size(cycle)];
    }
    return kinds;
}

// One pending invoice in twelve has something under its derived branch already.
DemoGenerated GeneratedFor(int pendingIndex, bool enabled) {
    static const DemoGenerated cycle[] = {DemoGenerated::Copy, DemoGenerated::Receivable,
                                          DemoGenerated::EarlierReceivable, DemoGenerated::CollectedReceivable};
    if (!enabled || pendingIndex % 12 != 5) return DemoGenerated::None;
    return cycle[(pendingIndex / 12) % 4];
}

} // namespace

DemoDataSummary GenerateDemoData(sql::Connection& connection, const DemoDataOptions& options) {
    CheckOptions(options);
    CheckEmpty(connection);

    const int extras = std::max(MinExtras, options.pendingInvoices / 20);
    const auto kinds = Kinds(options.pendingInvoices, extras);
    const int total = static_cast<int>(kinds.size());

    DemoRandom random(options.seed);
    const DemoCatalog catalog(random, std::clamp(options.pendingInvoices / 8, 12, 3000));
    DemoDataSummary summary;

    sql::Transaction transaction(connection);
    const std::uint64_t catalogRows = catalog.write(connection, options);
    DemoInvoiceWriter writer(connection);
    DemoInvoiceBuilder builder(catalog, random, options, total);
    int pendingIndex = 0;
    for (int i = 0; i < total; ++i) {
        const auto kind = kinds[static_cast<std::size_t>(i)];
        auto generated = DemoGenerated::None;
        if (kind == DemoInvoiceKind::Pending) generated = GeneratedFor(pendingIndex++, options.addGenerated);
        if (kind == DemoInvoiceKind::Stamped && options.addGenerated) generated = DemoGenerated::Processed;
        const DemoInvoice invoice = builder.build(i, kind, generated);
        writer.write(invoice, summary);
        summary.orders += invoice.orders.size();
        for (const auto& order : invoice.orders) {
            summary.orderItems += order.items.size();
            for (const auto& item : order.items) summary.gridRows += item.grid.size();
        }
    }
    transaction.commit();
    summary.totalRows = catalogRows + writer.rows();
    return summary;
}

} // namespace fat::db
