#include "db/DemoInvoiceWriter.h"

#include "db/DemoCatalog.h"
#include "db/DemoData.h"
#include "db/DemoPricing.h"

#include <cstdio>

namespace fat::db {
namespace {

Value OptText(const std::optional<std::string>& v) { return v ? Text(*v) : Null(); }
Value OptReal(const std::optional<double>& v) { return v ? Real(*v) : Null(); }
Value OptInt(const std::optional<int>& v) { return v ? Int(*v) : Null(); }
Value OptStamp(const std::optional<TDateTime>& v) { return v ? Stamp(*v) : Null(); }
Value CodeOrNull(int code) { return code ? Int(code) : Null(); }

Amount Share(Amount base, double percent) { return Amount::fromDouble(RoundCents(base.toDouble() * percent / 100)); }

std::string Digits(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

// The day list a save writes into a copy: "030/060/090".
std::string DayList(const std::vector<int>& days) {
    std::string text;
    for (int d : days) text += (text.empty() ? "" : "/") + Digits(d, 3);
    return text;
}

std::string ItemDescription(const DemoItem& item) {
    const DemoProduct& p = *item.product;
    const bool ownCode = item.customerCode && !item.customerCode->empty();
    std::string text = ownCode ? p.customerDescription
                               : (p.invoiceDescription.empty() ? p.description : p.invoiceDescription);
    for (const auto& v : p.variants)
        if (v.code == item.variant) text += " " + v.description;
    return text.substr(0, 120);
}

} // namespace

DemoInvoiceWriter::DemoInvoiceWriter(sql::Connection& c)
    : invoices_(c, "NOTASAI"), invoiceItems_(c, "ITENSNS"), links_(c, "NOTASAI_PEDVEND"), orders_(c, "PEDVENDA"),
      orderItems_(c, "ITENSPV"), grid_(c, "ITENSPVGRADE"), packings_(c, "ITENSPV_EMBALAGEM"),
      instalments_(c, "PEDVENDA_PARCELAS"), receivables_(c, "DUPLICATAS") {}

std::uint64_t DemoInvoiceWriter::rows() const {
    return invoices_.rows() + invoiceItems_.rows() + links_.rows() + orders_.rows() + orderItems_.rows() +
           grid_.rows() + packings_.rows() + instalments_.rows() + receivables_.rows();
}

void DemoInvoiceWriter::write(const DemoInvoice& invoice, DemoDataSummary& summary) {
    const auto itemsBefore = invoiceItems_.rows();
    writeInvoice(invoice, false);
    writeInvoiceItems(invoice, false);
    summary.invoiceItems += invoiceItems_.rows() - itemsBefore;
    writeLinks(invoice, invoice.branch);
    for (const auto& order : invoice.orders) writeOrder(invoice, order);
    ++summary.invoices;
    if (invoice.kind == DemoInvoiceKind::Pending) ++summary.pendingInvoices;

    const bool copy = invoice.generated == DemoGenerated::Copy || invoice.generated == DemoGenerated::Processed;
    if (copy) {
        writeInvoice(invoice, true);
        writeInvoiceItems(invoice, true);
        writeLinks(invoice, invoice.derivedBranch());
        ++summary.copies;
    }
    const bool receivables = invoice.generated != DemoGenerated::None && invoice.generated != DemoGenerated::Copy;
    if (receivables) {
        const auto before = receivables_.rows();
        writeReceivables(invoice);
        summary.receivables += receivables_.rows() - before;
    }
}

void DemoInvoiceWriter::writeInvoice(const DemoInvoice& inv, bool copy) {
    const DemoCustomer& c = *inv.customer;
    const DemoOrder& first = inv.orders.front();
    const int volumes = (inv.pairs() + 11) / 12;
    Amount merchandise = inv.value;
    // The invoice's orders changed after the save that wrote its copy: the copy's value no longer
    // agrees with its item copies (above or below), and the item reprocessing lists it.
    if (copy) merchandise += Amount::fromRaw(++staleCopies_ % 2 ? 10 * 10000 : -25 * 1000);
    const TDateTime date = DateOf(inv.issue);
    const std::optional<TDateTime> stamp = copy ? std::optional<TDateTime>(inv.stamp.value_or(date + 1)) : inv.stamp;
    invoices_.insert({
        {"FILIAL_NS", Int(copy ? inv.derivedBranch() : inv.branch)},
        {"DOCTO_NS", Text(inv.number)},
        {"SERIE_NS", Text(inv.series)},
        {"UF_NS", Text(c.state)},
        {"CNPJ_NS", Text(c.taxId)},
        {"INSCEST_NS", Text(c.stateRegistration)},
        {"CODCONT_NS", Text(c.accountCode)},
        {"SITUACAO_NS", Text("N")},
        {"NUMPARC_NS", Int(static_cast<int>(inv.term->days.size()))},
        {"PRAZO_NS", Text(copy ? DayList(inv.term->days) : inv.term->invoiceText)},
        {"EMISSAO_NS", Stamp(inv.issue)},
        {"VALOR_NS", Money(inv.value)},
        {"VRENTRADA_NS", Money(Amount())},
        {"VRMERC_NS", Money(merchandise)},
        {"BICMS_NS", Money(inv.value)},
        {"VRICMS_NS", Money(Share(inv.value, inv.icmsRate))},
        {"BIPI_NS", Money(inv.ipi.isZero() ? Amount() : inv.value)},
        {"VRIPI_NS", Money(inv.ipi)},
        {"VRFRETE_NS", Money(inv.freight)},
        {"TPFRETE_NS", inv.freightType.empty() ? Null() : Text(inv.freightType)},
        {"FRETEFORA_NS", Text("N")},
        {"VRDESPESA_NS", Money(inv.expenses)},
        {"VRDESCTO_NS", Money(Amount())},
        {"REPRES_NS", Int(c.representative)},
        {"COMISS_NS", Real(first.commission)},
        {"TRANSP_NS", CodeOrNull(inv.carrier)},
        {"PLACA_NS", inv.carrier ? Text("BRA-2E" + Digits(inv.carrier * 17, 2)) : Null()},
        {"TPNOTA_NS", Text(inv.type)},
        {"QTDEVOL_NS", Int(volumes)},
        {"PESOL_NS", Real(inv.pairs() * 0.8)},
        {"PESOB_NS", Real(inv.pairs() * 0.9 + volumes * 0.5)},
        {"QTVOLUME_NS", Int(volumes)},
        {"CLIFORREP_NS", Text("C")},
        {"PREPOSTO_NS", CodeOrNull(c.subAgent)},
        {"CFOP_NS", Text(inv.cfop)},
        {"CODIGO_NS", Int(c.code)},
        {"NOME_NS", Text(c.name)},
        {"CHECK_NS", Text("N")},
        {"ALIQICMS_NS", Real(inv.icmsRate)},
        {"DTGERACONT_NS", OptStamp(stamp)},
        {"DTENTREGA_NS", Stamp(inv.delivery)},
        {"BASECOMIS_NS", Money(inv.value)},
        {"VRDESCTOPIS_NS", Money(inv.pis)},
        {"VRDESCTOCOFINS_NS", Money(inv.cofins)},
        {"VRDESCTOSUFRAMA_NS", Money(inv.suframa)},
        {"UPLOAD_NS", copy ? Null() : Stamp(date + 1)},
        {"VRSEGURO_NS", Money(inv.insurance)},
        {"DTSAIDA_NS", Stamp(inv.departure)},
        {"COMISSGER_NS", Real(first.managerCommission)},
        {"GERENTECOMISS_NS", CodeOrNull(c.manager)},
        {"FORMA_AGRUP_ITENS_NS", OptText(inv.grouping)},
        {"DTBASE_PARC_NS", OptStamp(inv.instalmentBase)},
        {"ID_NS", Int(copy ? 0 : nextId_++)},
    });
}

void DemoInvoiceWriter::writeInvoiceItems(const DemoInvoice& inv, bool copy) {
    int number = 0;
    const TDateTime date = DateOf(inv.issue);
    for (const auto& order : inv.orders)
        for (const auto& item : order.items) {
            if (!item.billed) continue;
            const std::string code = item.customerCode && !item.customerCode->empty() ? *item.customerCode
                                                                                      : item.product->code;
            const int q = item.quantity();
            const Amount gross = Amount::fromDouble(RoundCents(item.price.toDouble() * q));
            const Amount discount = gross > item.realValue ? gross - item.realValue : Amount();
            invoiceItems_.insert({
                {"FILIAL_SA", Int(copy ? inv.derivedBranch() : inv.branch)},
                {"DOCTO_SA", Text(inv.number)},
                {"SERIE_SA", Text(inv.series)},
                {"ITEM_SA", Int(++number)},
                {"DATA_SA", Stamp(date)},
                {"PROD_SA", Text(code)},
                {"COD_PROD_SA", Text(code)},
                {"COD_PADRON_SA", Text(item.variant)},
                {"DESC_SA", Text(ItemDescription(item))},
                {"UN_SA", Text(item.product->unit)},
                {"QTDE_SA", Real(q)},
                {"PRECO_SA", Real(copy ? item.grossPrice.toDouble() : item.price.toDouble())},
                {"PRECO_BRUTO_SA", Real(item.grossPrice.toDouble())},
                {"PRREAL_SA", Real(item.realValue.toDouble())},
                {"VRDESCTO_SA", Real(copy ? 0 : discount.toDouble())},
                {"VRDESPESA_SA", Real(0)},
                {"TP_COMIS_SA", copy ? Text("R") : OptText(item.commissionType)},
                {"PERC_COMIS_SA", Real(item.commissionRate)},
                {"PERC_COMIS_FAT_SA", Real(item.billingCommissionRate)},
                {"ROYALTY_SA", copy ? Null() : OptReal(item.royalty)},
                {"CFOP_SA", copy ? Null() : Text(item.cfop)},
            });
        }
}

void DemoInvoiceWriter::writeLinks(const DemoInvoice& inv, int branch) {
    for (const auto& order : inv.orders)
        links_.insert({{"FILIAL_NP", Int(branch)},
                       {"NUMNOTA_NP", Text(inv.number)},
                       {"SERIENOTA_NP", Text(inv.series)},
                       {"NUMPED_NP", Text(order.number)}});
}

void DemoInvoiceWriter::writeOrder(const DemoInvoice& inv, const DemoOrder& o) {
    orders_.insert({
        {"NUM_PV", Text(o.number)},
        {"CODCLI_PV", Int(inv.customer->code)},
        {"FILIAL_PV", Int(inv.branch)},
        {"EMISSAO_PV", Stamp(o.issue)},
        {"TABELA_PV", Int(o.priceList)},
        {"MOEDA_PV", Text("R$")},
        {"TABPRAZO_PV", OptText(o.termCode)},
        {"SITDUP_PV", OptText(o.situation)},
        {"COMISSREC_PV", Real(o.commission)},
        {"COMISRECP_PV", Real(o.subAgentCommission)},
        {"COMISSRECGER_PV", Real(o.managerCommission)},
        {"OBS_PV", OptText(o.notes)},
        {"DESCTO_PV", OptReal(o.discountPercent)},
        {"VRDESCTO_PV", OptReal(o.valueDiscount)},
        {"DESCDP_PV", OptReal(o.receivableDiscount)},
        {"DESCTOVINCVENCTO_PV", Text(o.discountTiedToDueDate)},
        {"DESCTO_APROVADO_PV", OptText(o.discountApproved)},
        {"PDESCTO_TAB_PV", OptReal(o.tableDiscount)},
        {"PABAT_TAB_PV", OptReal(o.tableAbatement)},
        {"VRABAT_TAB_PV", OptReal(o.tableAbatementValue)},
        {"APLICAR_VR_DESCTO_PROMOCAO_PV", OptText(o.applyPromotion)},
        {"DTBASE_CREC_PV", OptStamp(o.instalmentBase)},
        {"TABELA_PRECOS_PV", OptInt(o.priceTable)},
        {"PRAZOPAGTO_PV", OptInt(o.paymentTerm)},
    });
    for (const auto& p : o.instalments)
        instalments_.insert({{"PEDVENDA_PP", Text(o.number)},
                             {"DIAS_PP", Int(p.days)},
                             {"SITDUP_PP", Text(p.situation)},
                             {"PERC_PP", Real(p.percent)},
                             {"TPPARC_PP", Text(p.kind)}});
    // Billed on the invoice's issue as stored, time of day included (what the reprocessing of
    // the invoice's copy looks the items up by).
    const TDateTime billed = inv.issue;
    for (const auto& item : o.items) {
        orderItems_.insert({
            {"PEDIDO_IT", Text(o.number)},
            {"ITEM_IT", Text(item.number)},
            {"PROD_IT", Text(item.product->code)},
            {"PRODCLI_IT", OptText(item.customerCode)},
            {"PADRON_IT", Text(item.variant)},
            {"PRECO_IT", Real(item.price.toDouble())},
            {"PRECO_BRUTO_IT", Real(item.grossPrice.toDouble())},
            {"VRDESCTO_IT", Real(item.discountPerUnit)},
            {"PDESCTO_IT", Real(item.discountPercent)},
            {"VR_DESCTO_COMIS_IT", Real(item.commissionDiscount)},
            {"VR_DESCTO_PROMOCAO_IT", Real(item.promotionDiscount)},
            {"SIT_IT", Text(item.situation)},
            {"STATUS_IT", OptText(item.status)},
            {"NF_IT", item.billed ? Text(inv.number) : Null()},
            {"SERIE_IT", item.billed ? Text(inv.series) : Null()},
            {"FILIAL_IT", item.billed ? Int(inv.branch) : Null()},
            {"DTFATUR_IT", item.billed ? Stamp(billed) : Null()},
            {"TP_COMIS_IT", OptText(item.commissionType)},
            {"PERC_COMIS_IT", Real(item.commissionRate)},
            {"PERC_COMIS_FAT_IT", Real(item.billingCommissionRate)},
            {"VR_COMIS_IT", Real(RoundCents(item.realValue.toDouble() * item.commissionRate / 100))},
            {"ROYALTY_IT", OptReal(item.royalty)},
            {"MULTGRADE_IT", Int(1)},
        });
        for (const auto& g : item.grid)
            grid_.insert({{"PEDIDO_IT", Text(o.number)},
                          {"ITEM_IT", Text(item.number)},
                          {"TAM_IT", Text(g.size)},
                          {"QTPED_IT", Real(g.quantity)}});
        for (int i = 0; i < item.packings; ++i)
            packings_.insert({{"PEDIDO_IT", Text(o.number)}, {"ITEM_IT", Text(item.number)}});
    }
}

void DemoInvoiceWriter::writeReceivables(const DemoInvoice& inv) {
    const DemoCustomer& c = *inv.customer;
    const DemoOrder& first = inv.orders.front();
    const auto& days = inv.term->days;
    const auto n = static_cast<std::int64_t>(days.size());
    // Equal instalments cut to the cent, the remainder on the first.
    const std::int64_t cents = inv.value.raw() / 100;
    const std::int64_t each = cents / n;
    const std::int64_t firstExtra = cents - each * n;
    const TDateTime base = inv.instalmentBase.value_or(inv.departure);
    const bool earlier = inv.generated == DemoGenerated::EarlierReceivable;
    const bool collected = inv.generated == DemoGenerated::CollectedReceivable;
    for (std::int64_t i = 0; i < n; ++i) {
        const Amount value = Amount::fromRaw((each + (i == 0 ? firstExtra : 0)) * 100);
        const TDateTime due = base + days[static_cast<std::size_t>(i)];
        receivables_.insert({
            {"ID_DP", Int(0)},
            {"FILIAL_DP", Int(inv.derivedBranch())},
            {"NUM_DP", Text(inv.number)},
            {"SERIE_NOTA_DP", Text(inv.series)},
            {"ORD_DP", Text(Digits(static_cast<int>(i + 1), 2))},
            {"EMISSAO_DP", Stamp(earlier ? DateOf(inv.issue) - 1 : inv.issue)},
            {"CLIENTE_DP", Int(c.code)},
            {"REPRES_DP", Int(c.representative)},
            {"PREPOSTO_DP", CodeOrNull(c.subAgent)},
            {"GERENTECOMISS_DP", CodeOrNull(c.manager)},
            {"VENCTO_DP", Stamp(due)},
            {"VENCTOORIG_DP", Stamp(due)},
            {"VALOR_DP", Money(value)},
            {"BASECOMISS_DP", Money(value)},
            {"VALORNOTA_DP", Money(inv.value)},
            {"COMISSAO_DP", Real(first.commission)},
            {"COMISPREP_DP", Real(first.subAgentCommission)},
            {"COMISSAOGER_DP", Real(first.managerCommission)},
            {"VRCOMIS_ITEM_DP", Money(Amount())},
            {"SIT_DP", OptText(first.situation)},
            {"PERCDESC_DP", Real(first.receivableDiscount.value_or(0))},
            {"VINCULA_DP", Text(first.discountTiedToDueDate)},
            {"TIPO_DP", Text("DP")},
            {"CODCONTABIL_DP", Text(c.accountCode)},
            {"STATUS_DP", Text("A")},
            {"INDISP_DP", Text("N")},
            {"DTROMANEIO_DP", collected ? Stamp(DateOf(inv.issue) + 5) : Null()},
        });
    }
}

} // namespace fat::db
