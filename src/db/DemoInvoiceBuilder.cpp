#include "db/DemoInvoiceBuilder.h"

#include "db/DemoCatalog.h"
#include "db/DemoData.h"
#include "db/DemoPricing.h"
#include "db/DemoRandom.h"
#include "platform/core/Win1252.h"

#include <algorithm>
#include <cstdio>

namespace fat::db {
namespace {

constexpr int FirstInvoiceNumber = 1001;
constexpr int FirstOrderNumber = 100001;

// Branches of the invoices and how busy each is; their derived branches (100, 200, 500, 120,
// 250) are all different.
const int Branches[] = {1, 2, 12, 5, 25};

std::string Digits(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

Amount Percent(Amount base, double percent) { return Amount::fromDouble(RoundCents(base.toDouble() * percent / 100)); }

std::string Cfop(DemoRandom& random, bool inState) {
    static const char* const local[] = {"5101", "5102", "5405", "5910", "5949"};
    static const char* const other[] = {"6101", "6102", "6403", "6910", "6949"};
    const auto i = random.weighted({30, 35, 15, 10, 10});
    return inState ? local[i] : other[i];
}

const char* const Remarks[] = {"ENTREGAR NO PERÍODO DA MANHÃ", "CLIENTE RETIRA NA FÁBRICA",
                               "EMBALAR POR GRADE", "PEDIDO DA FEIRA DE FRANCA", "REPOSIÇÃO DE ESTOQUE"};

} // namespace

DemoInvoiceBuilder::DemoInvoiceBuilder(const DemoCatalog& catalog, DemoRandom& random,
                                       const DemoDataOptions& options, int totalInvoices)
    : catalog_(catalog), random_(random), options_(options), totalInvoices_(totalInvoices) {}

DemoInvoice DemoInvoiceBuilder::build(int index, DemoInvoiceKind kind, DemoGenerated generated) {
    DemoInvoice invoice;
    invoice.kind = kind;
    invoice.generated = generated;
    setHeader(invoice, index);
    const int orders = random_.between(1, 3);
    for (int i = 0; i < orders; ++i)
        invoice.orders.push_back(makeOrder(invoice, invoice.orders.empty() ? nullptr : &invoice.orders.front()));
    setValues(invoice);
    return invoice;
}

void DemoInvoiceBuilder::setHeader(DemoInvoice& inv, int index) {
    const std::size_t branch = index < static_cast<int>(std::size(Branches)) ? static_cast<std::size_t>(index)
                                                                            : random_.weighted({45, 25, 15, 10, 5});
    inv.branch = inv.kind == DemoInvoiceKind::HighBranch ? 91 : Branches[branch];
    inv.number = Digits(FirstInvoiceNumber + index, 6);
    inv.series = random_.percent(12) ? "2" : "1";

    // Issue dates climb with the numbers over the span; about a third carry a time of day.
    const int day = static_cast<int>(static_cast<long long>(index) * options_.spanDays / totalInvoices_);
    const TDateTime date = DateOf(options_.firstIssueDate) + day;
    inv.issue = date;
    if (random_.percent(35)) {
        const DateParts p = DecodeDateTime(date);
        inv.issue = EncodeDateTime({p.year, p.month, p.day, random_.between(8, 18), random_.between(0, 59),
                                    random_.between(0, 59), 0});
    }
    inv.departure = date + random_.between(0, 2);
    inv.delivery = inv.departure + random_.between(3, 10);
    if (random_.percent(10)) inv.instalmentBase = date + 10;

    const auto& customers = catalog_.customers();
    inv.customer = index < 2 && static_cast<std::size_t>(index) < customers.size()
                       ? &customers[static_cast<std::size_t>(index)]
                       : &random_.pick(customers);
    inv.term = &catalog_.pickTerm(random_);
    const bool inState = inv.customer->state == "SP";
    inv.cfop = Cfop(random_, inState);
    inv.icmsRate = inState ? 18 : (inv.customer->state == "MG" || inv.customer->state == "RJ" ||
                                   inv.customer->state == "PR" || inv.customer->state == "SC" ||
                                   inv.customer->state == "RS")
                                      ? 12
                                      : 7;
    static const char* const groupings[] = {nullptr, "PRODUTO", "PAD", "PAD/TAM"};
    if (const char* g = groupings[random_.weighted({50, 15, 15, 20})]) inv.grouping = g;
    inv.belowGross = random_.percent(15);

    switch (inv.kind) {
    case DemoInvoiceKind::KindC: inv.type = "C"; break;
    case DemoInvoiceKind::KindE: inv.type = "E"; break;
    case DemoInvoiceKind::KindN: inv.type = "N"; break;
    default: inv.type = "S"; break;
    }
    if (inv.kind == DemoInvoiceKind::Stamped) inv.stamp = date + random_.between(1, 3);
    if (inv.kind == DemoInvoiceKind::WrittenOff) inv.stamp = EncodeDate(1901, 1, 1);
}

DemoOrder DemoInvoiceBuilder::makeOrder(const DemoInvoice& inv, const DemoOrder* first) {
    DemoOrder order;
    order.number = std::to_string(FirstOrderNumber + ordersMade_);
    order.issue = DateOf(inv.issue) - random_.between(1, 30);
    order.priceList = random_.between(1, 3);
    if (ordersMade_ < 5) {
        order.source = static_cast<DemoTermSource>(ordersMade_);
    } else if (first && random_.percent(70)) {
        order.source = first->source; // orders billed together mostly share their terms
    } else {
        order.source = static_cast<DemoTermSource>(random_.weighted({15, 15, 25, 30, 15}));
    }
    ++ordersMade_;

    static const char* const situations[] = {"01", "03", "14", "17", "10", nullptr};
    if (const char* s = situations[random_.weighted({60, 8, 8, 4, 6, 14})]) order.situation = s;
    order.commission = random_.between(6, 12) / 2.0;
    order.subAgentCommission = inv.customer->subAgent ? random_.between(2, 4) / 2.0 : 0;
    order.managerCommission = inv.customer->manager ? random_.between(1, 2) / 2.0 : 0;
    const int base = static_cast<int>(random_.weighted({60, 25, 15}));
    if (base == 1) order.instalmentBase = order.issue;
    if (base == 2) order.instalmentBase = DateOf(inv.issue) + random_.between(15, 30);

    setTerms(inv, order);
    addItems(inv, order);
    setDiscounts(order);
    PriceOrderAtInvoicePrices(order, options_.companyName);
    return order;
}

void DemoInvoiceBuilder::setTerms(const DemoInvoice& inv, DemoOrder& order) {
    const DemoTerm* term = inv.term;
    if (term->code.empty() && order.source != DemoTermSource::InvoiceTerm) {
        // The invoice's term is in no table: the order names one that is.
        do term = &catalog_.pickTerm(random_);
        while (term->code.empty());
    }
    order.termCode = term->code;

    std::string remark = Win1252(Remarks[random_.between(0, static_cast<int>(std::size(Remarks)) - 1)]);
    switch (order.source) {
    case DemoTermSource::OrderPlan:
    case DemoTermSource::PaymentTermPlan:
        order.priceTable = random_.between(1, 5);
        order.paymentTerm = catalog_.planFor(*term, random_).id;
        if (random_.percent(40)) order.notes = remark;
        break;
    case DemoTermSource::Notes: {
        // As the sales desk writes it: day lists of two digits, or of three on some orders.
        const bool threeDigits = random_.percent(40);
        std::string days;
        for (int d : term->days) {
            if (!days.empty()) days += "/";
            days += threeDigits ? Digits(d, 3) : std::to_string(d);
        }
        if (term->days == std::vector<int>{0}) days = term->invoiceText; // "PRAZO A VISTA": no days
        else if (threeDigits) days += " DDL";
        order.notes = "PRAZO " + days + "\r\n" + remark;
        break;
    }
    case DemoTermSource::TableCode:
        if (random_.percent(40)) order.notes = remark;
        if (random_.percent(10)) order.notes = remark + "\r\nPRAZO 30/60"; // not on the first line
        break;
    case DemoTermSource::InvoiceTerm:
        if (random_.percent(50)) order.termCode = "";
        else order.termCode.reset();
        break;
    }
    if (order.source != DemoTermSource::OrderPlan && order.source != DemoTermSource::PaymentTermPlan &&
        random_.percent(25)) {
        order.priceTable = random_.between(1, 5); // priced by a table, but without a payment term
        if (random_.percent(50)) order.paymentTerm = 0;
    }
    if (order.source == DemoTermSource::OrderPlan) {
        const double share = 100.0 / static_cast<double>(term->days.size());
        const bool onlyOthers = random_.percent(3); // no 'S' row: the order has no plan
        const std::string situation = random_.percent(20) ? "14" : "01";
        for (int d : term->days) order.instalments.push_back({d, situation, share, onlyOthers ? "E" : "S"});
        if (random_.percent(15)) order.instalments.insert(order.instalments.begin(), {0, "01", 0, "E"});
    }
}

void DemoInvoiceBuilder::setDiscounts(DemoOrder& order) {
    const bool nulls = random_.percent(10); // older orders leave the columns empty
    auto zero = [&]() -> std::optional<double> { return nulls ? std::nullopt : std::optional<double>(0); };
    order.discountPercent = random_.percent(15) ? std::optional<double>(random_.pick(std::vector<double>{2, 3, 5, 7.5, 10}))
                                                : zero();
    order.tableDiscount = random_.percent(6) ? std::optional<double>(random_.percent(50) ? 2.5 : 5) : zero();
    order.receivableDiscount = random_.percent(10) ? std::optional<double>(random_.between(1, 3)) : zero();
    if (order.receivableDiscount.value_or(0) > 0 && random_.percent(50)) order.discountTiedToDueDate = "S";
    order.tableAbatement = random_.percent(3) ? std::optional<double>(random_.percent(50) ? 3 : 5) : zero();
    order.tableAbatementValue = random_.percent(2) ? std::optional<double>(random_.percent(50) ? 15 : 30) : zero();
    order.valueDiscount = zero();
    if (random_.percent(6)) {
        // A round sum, at most 3 % of the order at invoice prices.
        double total = 0;
        for (const auto& item : order.items) total += item.price.toDouble() * item.quantity();
        for (double v : {100.0, 50.0, 25.0, 20.0, 10.0})
            if (v <= total * 0.03) {
                order.valueDiscount = v;
                break;
            }
    }
    static const char* const approved[] = {"S", nullptr, "N"};
    if (const char* a = approved[random_.weighted({80, 12, 8})]) order.discountApproved = a;
    static const char* const promotion[] = {nullptr, "S", "N"};
    if (const char* a = promotion[random_.weighted({60, 30, 10})]) order.applyPromotion = a;
}

void DemoInvoiceBuilder::addItems(const DemoInvoice& inv, DemoOrder& order) {
    const int count = random_.between(1, 20);
    const auto& products = catalog_.products();
    for (int i = 0; i < count; ++i) {
        DemoItem item;
        item.number = Digits(i + 1, 3);
        if (i > 0 && random_.percent(5)) {
            item.product = order.items.back().product; // the same product again, other sizes
            item.variant = order.items.back().variant;
        } else {
            item.product = &random_.pick(products);
            item.variant = random_.pick(item.product->variants).code;
        }
        const DemoProduct& p = *item.product;
        if (!p.customerCode.empty() && random_.percent(60)) item.customerCode = p.customerCode;
        else if (random_.percent(90)) item.customerCode = "";
        item.grossPrice = p.basePrice;
        item.price = inv.belowGross ? Percent(p.basePrice, 60) : p.basePrice;
        if (random_.percent(10)) item.discountPercent = random_.pick(std::vector<double>{3, 5, 10});
        if (random_.percent(5)) item.discountPerUnit = random_.pick(std::vector<double>{1, 2.5, 5});
        if (random_.percent(3)) item.commissionDiscount = random_.percent(50) ? 0.5 : 1;
        if (random_.percent(5)) item.promotionDiscount = random_.percent(50) ? 1 : 3;

        const int sizes = static_cast<int>(p.sizes.size());
        const int run = random_.between(1, std::min(6, sizes));
        const int start = random_.between(0, sizes - run);
        for (int s = start; s < start + run; ++s)
            item.grid.push_back({p.sizes[static_cast<std::size_t>(s)], random_.between(1, sizes == 1 ? 12 : 6)});
        item.packings = random_.percent(10) ? random_.between(1, 2) : 0;

        const int state = static_cast<int>(random_.weighted({94, 2, 1, 3}));
        item.situation = state == 0 ? "F" : state == 2 ? "A" : state == 3 ? "A" : "C";
        if (state == 2) item.status = "C"; // cancelled through its status
        else if (random_.percent(30)) item.status = state == 0 ? "F" : "A";
        item.billed = state == 0;

        static const char* const types[] = {"F", "R", nullptr};
        if (const char* t = types[random_.weighted({15, 60, 25})]) item.commissionType = t;
        item.commissionRate = order.commission;
        if (!item.commissionType || *item.commissionType != "F")
            item.billingCommissionRate = random_.pick(std::vector<double>{0, 0, 0, 1, 1.5});
        if (p.licensed) item.royalty = RoundCents(p.basePrice.toDouble() * item.quantity() * 0.03);
        item.cfop = inv.cfop;
        order.items.push_back(std::move(item));
    }
    if (std::none_of(order.items.begin(), order.items.end(), [](const DemoItem& i) { return i.billed; })) {
        DemoItem& first = order.items.front();
        first.situation = "F";
        first.status.reset();
        first.billed = true;
    }
}

void DemoInvoiceBuilder::setValues(DemoInvoice& inv) {
    // A bonus item now and then among sold goods: its fiscal code gives no receivables.
    if (inv.cfop[1] == '1' && random_.percent(5)) {
        auto& items = inv.orders.back().items;
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if (it->billed) {
                it->cfop = inv.cfop[0] == '5' ? "5910" : "6910";
                break;
            }
    }
    inv.value = Amount();
    for (auto& order : inv.orders)
        for (auto& item : order.items) {
            item.realValue = Amount::fromDouble(RoundCents(item.netValue));
            if (item.billed) inv.value += item.realValue;
        }
    if (random_.percent(20)) {
        inv.freight = Amount::fromRaw(random_.between(15, 150) * 10000);
        inv.freightType = random_.percent(70) ? "C" : "F";
        inv.carrier = random_.between(1, 5);
    }
    if (random_.percent(5)) inv.expenses = Amount::fromRaw(random_.between(5, 40) * 10000);
    if (random_.percent(10)) inv.ipi = Percent(inv.value, random_.percent(50) ? 5 : 10);
    if (random_.percent(3)) inv.insurance = Percent(inv.value, 0.5);
    if (inv.customer->state == "AM") {
        inv.suframa = Percent(inv.value, 7);
        inv.pis = Percent(inv.value, 1.65);
        inv.cofins = Percent(inv.value, 7.6);
    }
}

} // namespace fat::db
