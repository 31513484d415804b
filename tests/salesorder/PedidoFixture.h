#pragma once
#include "support/TestDatabase.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace fat::test {

// A sales order item as the tests insert it: every number left empty is stored as NULL.
struct ItemFx {
    std::string item{};
    std::optional<double> preco{};      // PRECO_IT
    std::optional<double> precoBruto{}; // PRECO_BRUTO_IT
    std::vector<std::optional<double>> grade{}; // QTPED_IT of sizes 33, 34, ...; none = no grid rows
    std::optional<double> vrDescto{};
    std::optional<double> pDescto{};
    std::optional<double> vrDesctoComis{};
    std::optional<double> vrDesctoPromocao{};
    std::string sit = "A";
    std::optional<std::string> status{};
    std::optional<std::string> nf{};
    int embalagens = 0;
};

struct PedidoFx {
    std::string num{};
    std::optional<double> descto{};     // DESCTO_PV
    std::optional<double> vrDescto{};   // VRDESCTO_PV
    std::optional<double> pDesctoTab{}; // PDESCTO_TAB_PV
    std::optional<double> pAbatTab{};   // PABAT_TAB_PV
    std::optional<double> vrAbatTab{};  // VRABAT_TAB_PV
    std::optional<std::string> aprovado{}; // DESCTO_APROVADO_PV
    std::optional<std::string> aplicarPromocao{}; // APLICAR_VR_DESCTO_PROMOCAO_PV
    std::vector<ItemFx> itens{};
};

inline std::string Sql(const std::optional<double>& v) {
    if (!v) return "NULL";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, *v);
    return std::string(buf, r.ptr);
}

inline std::string Sql(const std::optional<std::string>& v) {
    if (!v) return "NULL";
    std::string r = "'";
    for (char c : *v) r += c == '\'' ? std::string("''") : std::string(1, c);
    return r + "'";
}

inline void InserirPedido(TestDatabase& db, const PedidoFx& p) {
    const std::string num = Sql(std::optional<std::string>(p.num));
    db.exec("INSERT INTO PEDVENDA (NUM_PV, CODCLI_PV, DESCTO_PV, VRDESCTO_PV, PDESCTO_TAB_PV, PABAT_TAB_PV,"
            " VRABAT_TAB_PV, DESCTO_APROVADO_PV, APLICAR_VR_DESCTO_PROMOCAO_PV) VALUES (" +
            num + ", 1, " + Sql(p.descto) + ", " + Sql(p.vrDescto) + ", " + Sql(p.pDesctoTab) + ", " +
            Sql(p.pAbatTab) + ", " + Sql(p.vrAbatTab) + ", " + Sql(p.aprovado) + ", " +
            Sql(p.aplicarPromocao) + ")");
    for (const auto& i : p.itens) {
        const std::string item = Sql(std::optional<std::string>(i.item));
        db.exec("INSERT INTO ITENSPV (PEDIDO_IT, ITEM_IT, PROD_IT, PRECO_IT, PRECO_BRUTO_IT, VRDESCTO_IT,"
                " PDESCTO_IT, VR_DESCTO_COMIS_IT, VR_DESCTO_PROMOCAO_IT, SIT_IT, STATUS_IT, NF_IT) VALUES (" +
                num + ", " + item + ", 'P" + i.item + "', " + Sql(i.preco) + ", " + Sql(i.precoBruto) + ", " +
                Sql(i.vrDescto) + ", " + Sql(i.pDescto) + ", " + Sql(i.vrDesctoComis) + ", " +
                Sql(i.vrDesctoPromocao) + ", " + Sql(std::optional<std::string>(i.sit)) + ", " +
                Sql(i.status) + ", " + Sql(i.nf) + ")");
        for (std::size_t g = 0; g < i.grade.size(); ++g)
            db.exec("INSERT INTO ITENSPVGRADE (PEDIDO_IT, ITEM_IT, TAM_IT, QTPED_IT) VALUES (" + num + ", " +
                    item + ", '" + std::to_string(33 + g) + "', " + Sql(i.grade[g]) + ")");
        for (int e = 0; e < i.embalagens; ++e)
            db.exec("INSERT INTO ITENSPV_EMBALAGEM (PEDIDO_IT, ITEM_IT) VALUES (" + num + ", " + item + ")");
    }
}

// The one CONFIG row with this company name; no row at all for nullopt.
inline void DefinirEmpresa(TestDatabase& db, const std::optional<std::string>& nome) {
    db.exec("DELETE FROM CONFIG");
    if (nome) db.exec("INSERT INTO CONFIG (NOME_EMPRESA, TPFATUR) VALUES (" + Sql(nome) + ", 'T')");
}

} // namespace fat::test
