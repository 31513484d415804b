#pragma once
#include "platform/core/Amount.h"
#include "platform/core/DateTime.h"

#include <optional>
#include <string>
#include <vector>

namespace fat::db {

struct DemoProduct;
struct DemoCustomer;
struct DemoTerm;

// What keeps an invoice on or off the pending list.
enum class DemoInvoiceKind {
    Pending,
    KindC,      // TPNOTA_NS "C"
    KindE,      // TPNOTA_NS "E"
    KindN,      // TPNOTA_NS "N"
    Stamped,    // DTGERACONT_NS set by an earlier save
    WrittenOff, // DTGERACONT_NS 01/01/1901
    HighBranch, // branch 91: never an invoice of the billing
};

// What an earlier save left under the derived branch of a pending invoice.
enum class DemoGenerated {
    None,
    Copy,                // an invoice copy with its items and order links
    Receivable,          // receivables issued on the invoice's date, on no collection list
    EarlierReceivable,   // receivables of the same number issued the day before
    CollectedReceivable, // receivables already on a collection list
    Processed,           // copy and receivables of an invoice the save has stamped
};

// Where the billing finds an order's payment terms.
enum class DemoTermSource {
    OrderPlan,       // price table and payment term, with the order's own instalments
    PaymentTermPlan, // price table and payment term, instalments of the term
    Notes,           // "PRAZO ..." on the first line of the notes
    TableCode,       // the order's code of table '98'
    InvoiceTerm,     // no code: the invoice's own term through table '18'
};

struct DemoGridRow {
    std::string size;
    int quantity;
};

struct DemoOrderInstalment { // PEDVENDA_PARCELAS
    int days;
    std::string situation;
    double percent;
    std::string kind; // TPPARC_PP; only 'S' rows make the plan
};

struct DemoItem {
    std::string number; // ITEM_IT
    const DemoProduct* product = nullptr;
    std::optional<std::string> customerCode; // PRODCLI_IT: a code, "" or null
    std::string variant;
    Amount price, grossPrice;                // PRECO_IT, PRECO_BRUTO_IT
    double discountPerUnit = 0, discountPercent = 0, commissionDiscount = 0, promotionDiscount = 0;
    std::string situation;                   // SIT_IT: "F" billed, "A" open, "C" cancelled
    std::optional<std::string> status;       // STATUS_IT, may be null
    bool billed = false;
    std::optional<std::string> commissionType;
    double commissionRate = 0, billingCommissionRate = 0;
    std::optional<double> royalty;
    std::vector<DemoGridRow> grid;
    int packings = 0;
    std::string cfop; // of the invoice's item row
    // Computed: net value at invoice prices, and the real value of the invoice's item row.
    double netValue = 0;
    Amount realValue;

    int quantity() const;
    bool cancelled() const { return situation == "C" || (status && *status == "C"); }
};

struct DemoOrder {
    std::string number;
    TDateTime issue = 0;
    int priceList = 1; // TABELA_PV
    DemoTermSource source = DemoTermSource::TableCode;
    std::optional<std::string> termCode; // TABPRAZO_PV
    std::optional<std::string> situation;
    double commission = 0, subAgentCommission = 0, managerCommission = 0;
    std::optional<std::string> notes;
    // Discount columns; null on a few orders that predate them.
    std::optional<double> discountPercent, valueDiscount, receivableDiscount, tableDiscount,
        tableAbatement, tableAbatementValue;
    std::string discountTiedToDueDate = "N";
    std::optional<std::string> discountApproved, applyPromotion;
    std::optional<TDateTime> instalmentBase;
    std::optional<int> priceTable, paymentTerm; // TABELA_PRECOS_PV, PRAZOPAGTO_PV
    std::vector<DemoOrderInstalment> instalments;
    std::vector<DemoItem> items;
};

struct DemoInvoice {
    DemoInvoiceKind kind = DemoInvoiceKind::Pending;
    DemoGenerated generated = DemoGenerated::None;
    int branch = 1;
    std::string number, series;
    TDateTime issue = 0, departure = 0, delivery = 0;
    std::optional<TDateTime> stamp, instalmentBase;
    const DemoCustomer* customer = nullptr;
    const DemoTerm* term = nullptr;
    std::string cfop, type;
    std::optional<std::string> grouping; // FORMA_AGRUP_ITENS_NS
    bool belowGross = false;             // billed at prices below the gross ones (PRECO_IT < PRECO_BRUTO_IT)
    Amount value;                         // sum of the real values of its item rows
    Amount freight, expenses, ipi, insurance, suframa, pis, cofins;
    std::string freightType;
    int carrier = 0;
    double icmsRate = 0;
    std::vector<DemoOrder> orders;

    int derivedBranch() const { return branch < 10 ? branch * 100 : branch * 10; }
    int pairs() const;
};

} // namespace fat::db
