// Writing the demo's fixed material: the company settings and the tables the invoices refer to.
#include "db/DemoCatalog.h"

#include "db/DemoData.h"
#include "db/DemoInsert.h"

#include <cstdio>

namespace fat::db {
namespace {

std::string Days3(int days) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%03d", days);
    return buffer;
}

struct Condition {
    const char* code;
    int days;
    double percent;
};
// Payment conditions of table '98': the share of the value due at each day count. Term 05's
// shares add up to 99.99, so its receivables keep the equal split.
const Condition Conditions[] = {
    {"03", 30, 40}, {"03", 60, 60},
    {"04", 30, 30}, {"04", 60, 30}, {"04", 90, 40},
    {"05", 28, 33.33}, {"05", 56, 33.33}, {"05", 84, 33.33},
    {"06", 30, 50}, {"06", 45, 25}, {"06", 60, 25},
    {"09", 30, 25}, {"09", 60, 25}, {"09", 90, 25}, {"09", 120, 25},
};

Value TextOrNull(const std::string& s) { return s.empty() ? Null() : Text(s); }

} // namespace

std::uint64_t DemoCatalog::write(sql::Connection& connection, const DemoDataOptions& options) const {
    DemoInsert config(connection, "CONFIG");
    config.insert({{"NOME_EMPRESA", Text(options.companyName)},
                   {"TPFATUR", Text(options.billingType)},
                   {"GERARCOPIADUP", Text(options.copyReceivables)}});

    DemoInsert people(connection, "REPRESENTANTE");
    for (const auto& p : representatives_) people.insert({{"COD_RE", Int(p.code)}, {"NOME_RE", Text(p.name)}});

    DemoInsert products(connection, "PRODUTO");
    DemoInsert variants(connection, "PADRONIZ_PRODUTO");
    for (const auto& p : products_) {
        // A customer's own code is a product of its own, with its own description and variants.
        for (const std::string& code : {p.code, p.customerCode}) {
            if (code.empty()) continue;
            const bool own = code == p.code;
            products.insert({{"COD_PR", Text(code)},
                             {"UN_PR", Text(p.unit)},
                             {"DESC_PR", Text(own ? p.description : p.customerDescription)},
                             {"DESCNF_PR", own ? TextOrNull(p.invoiceDescription) : Null()}});
            for (const auto& v : p.variants)
                variants.insert({{"PROD_PP", Text(code)}, {"PADRONIZ_PP", Text(v.code)}, {"DESC_PP", Text(v.description)}});
        }
    }

    DemoInsert tables(connection, "TABELA");
    for (const auto& t : terms_) {
        if (t.code.empty()) continue;
        char count[8];
        std::snprintf(count, sizeof count, "%02d ", static_cast<int>(t.days.size()));
        tables.insert({{"NUM_TA", Text("18")}, {"COD_TA", Text(t.code)}, {"DESC_TA", Text(count + t.invoiceText)}});
        tables.insert({{"NUM_TA", Text("98")}, {"COD_TA", Text(t.code)}, {"DESC_TA", Text(PlanForm(t.days))}});
    }

    DemoInsert conditions(connection, "CONDPAGTO");
    for (const auto& c : Conditions)
        conditions.insert({{"NUM_CP", Text("98")}, {"COD_CP", Text(c.code)}, {"DIAS_CP", Text(Days3(c.days))},
                           {"PERC_CP", Real(c.percent)}});

    DemoInsert plans(connection, "PRAZOPAGTO_PARC");
    for (const auto& plan : plans_)
        for (const auto& row : plan.rows)
            plans.insert({{"ID_PRAZOPAGTO_PA", Int(plan.id)},
                          {"DIAS_PA", Int(row.days)},
                          {"SIT_PA", TextOrNull(row.situation)},
                          {"PERC_PA", Real(row.percent)},
                          {"AVISTA_PA", Text(row.cash ? "S" : "N")},
                          {"SEMCOB_PA", Text(row.charged ? "S" : "N")}});

    return config.rows() + people.rows() + products.rows() + variants.rows() + tables.rows() + conditions.rows() +
           plans.rows();
}

} // namespace fat::db
