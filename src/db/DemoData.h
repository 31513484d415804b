#pragma once
#include "platform/core/DateTime.h"

#include <cstdint>
#include <string>

namespace fat::sql { class Connection; }

namespace fat::db {

// What the generator makes. Every choice comes from the seed, so the same options give the
// same rows byte for byte.
struct DemoDataOptions {
    // Invoices the pending query lists (branch <= 90, not stamped, not of kind C, E or N).
    // About one more in twenty is added that must stay off the list (at least eight).
    int pendingInvoices = 40;
    TDateTime firstIssueDate = EncodeDate(2024, 3, 1);
    int spanDays = 60;          // the issue dates run over this many days from the first
    std::uint32_t seed = 1;
    // Some pending invoices get an invoice copy, or receivables, under their derived branch,
    // and the stamped ones their copy and receivables; when false nothing is written under a
    // derived branch.
    bool addGenerated = true;
    // CONFIG: a company name that none of the company-specific rules names.
    std::string companyName = "DEMO CALCADOS LTDA";
    std::string billingType = "T";     // TPFATUR
    std::string copyReceivables = "N"; // GERARCOPIADUP
};

// Rows written, by kind.
struct DemoDataSummary {
    std::uint64_t invoices = 0;       // NOTASAI rows of branches up to 90 and above 90
    std::uint64_t pendingInvoices = 0;
    std::uint64_t orders = 0;
    std::uint64_t orderItems = 0;     // ITENSPV
    std::uint64_t gridRows = 0;       // ITENSPVGRADE
    std::uint64_t invoiceItems = 0;   // ITENSNS of the invoices themselves
    std::uint64_t copies = 0;         // invoice copies under a derived branch
    std::uint64_t receivables = 0;    // DUPLICATAS rows
    std::uint64_t totalRows = 0;      // every row inserted
};

// Fills an empty ERP database (the tables of CreateErpSchema) in one transaction: company
// settings, representatives, products and variants, term tables, payment conditions and
// terms, then the invoices with their sales orders, order items, size grids, packings, order
// instalments, invoice items and links. Nothing is written when it fails. Raises Error for
// options out of range and for a database that already holds invoices or settings.
DemoDataSummary GenerateDemoData(sql::Connection& connection, const DemoDataOptions& options);

} // namespace fat::db
