#pragma once
#include "db/DemoInsert.h"
#include "db/DemoInvoice.h"

#include <cstdint>

namespace fat::db {

struct DemoDataSummary;

// Writes composed invoices: the NOTASAI row, its item rows, its sales orders with items, size
// grids, packings and instalments, the links, and what an earlier save left under the derived
// branch (invoice copy with items and links, or receivables). One prepared insert per table,
// reused for every row.
class DemoInvoiceWriter {
public:
    explicit DemoInvoiceWriter(sql::Connection& connection);

    void write(const DemoInvoice& invoice, DemoDataSummary& summary);
    std::uint64_t rows() const;

private:
    DemoInsert invoices_, invoiceItems_, links_, orders_, orderItems_, grid_, packings_, instalments_,
        receivables_;
    int nextId_ = 1;
    int staleCopies_ = 0; // invoice copies written so far

    void writeInvoice(const DemoInvoice& invoice, bool copy);
    void writeInvoiceItems(const DemoInvoice& invoice, bool copy);
    void writeLinks(const DemoInvoice& invoice, int branch);
    void writeOrder(const DemoInvoice& invoice, const DemoOrder& order);
    void writeReceivables(const DemoInvoice& invoice);
};

} // namespace fat::db
