#pragma once
#include "platform/core/Amount.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fat::sql { class Connection; }

namespace fat::db {

class DemoRandom;
struct DemoDataOptions;

// A payment term as the ERP's code tables know it: its description in table '18' is the count
// and the invoice text ("03 30/60/90 DIAS"), its entry of the same code in table '98' the plan
// form ("03 030/060/090"). A term with an empty code is in neither table.
struct DemoTerm {
    std::string code;
    std::string invoiceText; // PRAZO_NS
    std::vector<int> days;
    int weight;              // how common it is on invoices
};

// One instalment of a payment term (PRAZOPAGTO_PARC).
struct DemoPlanRow {
    int days;
    std::string situation;
    double percent;
    bool cash;    // AVISTA_PA 'S'
    bool charged; // SEMCOB_PA 'S': only these rows make the plan
};

struct DemoPaymentPlan {
    int id;
    std::vector<DemoPlanRow> rows;
};

struct DemoVariant {
    std::string code;
    std::string description;
};

struct DemoProduct {
    std::string code;
    std::string unit;
    std::string description;
    std::string invoiceDescription; // DESCNF_PR, empty on most
    std::vector<DemoVariant> variants;
    std::vector<std::string> sizes; // the size run the product is made in
    Amount basePrice;
    bool licensed;                  // pays royalties
    std::string customerCode;       // a customer's own code for it (also a product), or empty
    std::string customerDescription; // the description of that code
};

struct DemoPerson {
    int code;
    std::string name;
};

struct DemoCustomer {
    int code;
    std::string name; // WIN1252
    std::string state;
    std::string taxId, stateRegistration, accountCode;
    int representative, subAgent, manager; // 0 = none
};

// The fixed material of the demo database that the invoices draw on. Texts are WIN1252.
class DemoCatalog {
public:
    DemoCatalog(DemoRandom& random, int customerCount);

    const std::vector<DemoTerm>& terms() const { return terms_; }
    const std::vector<DemoPaymentPlan>& plans() const { return plans_; }
    const std::vector<DemoProduct>& products() const { return products_; }
    const std::vector<DemoCustomer>& customers() const { return customers_; }
    const std::vector<DemoPerson>& representatives() const { return representatives_; }

    const DemoTerm& pickTerm(DemoRandom& random) const;
    // The payment term whose charged days are the term's, or any when none matches.
    const DemoPaymentPlan& planFor(const DemoTerm& term, DemoRandom& random) const;

    // CONFIG, REPRESENTANTE, PRODUTO, PADRONIZ_PRODUTO, TABELA, CONDPAGTO, PRAZOPAGTO_PARC;
    // the result is the count of rows written.
    std::uint64_t write(sql::Connection& connection, const DemoDataOptions& options) const;

    static constexpr int SubAgentBase = 21;
    static constexpr int ManagerBase = 31;
    static constexpr int UnknownRepresentative = 99; // used by a few customers, in no table

private:
    std::vector<DemoTerm> terms_;
    std::vector<DemoPaymentPlan> plans_;
    std::vector<DemoProduct> products_;
    std::vector<DemoCustomer> customers_;
    std::vector<DemoPerson> representatives_; // sub-agents and managers included

    void makeProducts(DemoRandom& random);
    void makeCustomers(DemoRandom& random, int count);
};

// "03 030/060/090": the count in two digits, a blank, the days in three digits joined by "/".
std::string PlanForm(const std::vector<int>& days);

} // namespace fat::db
