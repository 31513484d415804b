#pragma once
#include "db/DemoInvoice.h"

namespace fat::db {

class DemoCatalog;
class DemoRandom;
struct DemoDataOptions;

// Composes the invoices of the demo one at a time: customer, term, fiscal code, the sales
// orders behind it with their items and size grids, and the invoice's values from the items
// (the value is the sum of the real values of its item rows). The first invoices and orders
// walk through the branches, the fixed customers and the term sources, so that even a small
// set holds each of them.
class DemoInvoiceBuilder {
public:
    DemoInvoiceBuilder(const DemoCatalog& catalog, DemoRandom& random, const DemoDataOptions& options,
                       int totalInvoices);

    DemoInvoice build(int index, DemoInvoiceKind kind, DemoGenerated generated);

private:
    const DemoCatalog& catalog_;
    DemoRandom& random_;
    const DemoDataOptions& options_;
    int totalInvoices_;
    int ordersMade_ = 0;

    void setHeader(DemoInvoice& invoice, int index);
    DemoOrder makeOrder(const DemoInvoice& invoice, const DemoOrder* first);
    void setTerms(const DemoInvoice& invoice, DemoOrder& order);
    void setDiscounts(DemoOrder& order);
    void addItems(const DemoInvoice& invoice, DemoOrder& order);
    void setValues(DemoInvoice& invoice);
};

} // namespace fat::db
