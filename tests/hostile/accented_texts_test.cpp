// WIN1252 texts, accented and each as long as its column allows, in every text column that the
// load reads and the save copies: the invoice, its order and items, the product, its variant and
// the receivable the ERP stored. The copies in NOTASAI, ITENSNS, NOTASAI_PEDVEND and DUPLICATAS
// hold the very same bytes.
#include "../generation/GenerationFixture.h"

namespace fat::test {
namespace {

// `size` characters of accented WIN1252 text (also the bytes 0x80 to 0x9F: the euro sign, Š, š,
// Ÿ), starting at a point of the pattern of its own so that no two columns hold the same text.
std::string Accented(std::size_t size, std::size_t start = 0) {
    static const std::string pattern = Win1252("AÇÚCARÉÓTIMOÃÕàçéíôüñ€ŠšŸºª");
    std::string s;
    for (std::size_t i = 0; s.size() < size; ++i) s += pattern[(start + i) % pattern.size()];
    return s;
}

struct AccentedTexts : GenerationFixture {
    AccentedTexts() {
        dm.CriarPedidos();
        dm.GERARCOPIADUP = "S"; // the stored receivable is copied too
    }
    // The text columns of the invoice and their values (CFOP and the key apart).
    std::vector<std::pair<std::string, std::string>> invoiceTexts() const {
        const std::pair<const char*, std::size_t> columns[] = {
            {"UF_NS", 2},        {"CNPJ_NS", 18},      {"INSCEST_NS", 14},    {"CODCONT_NS", 13},
            {"SITUACAO_NS", 1},  {"TPFRETE_NS", 1},    {"FRETEFORA_NS", 1},   {"PLACA_NS", 8},
            {"TPNOTA_NS", 1},    {"NFENT_NS", 30},     {"CLIFORREP_NS", 1},   {"NOME_NS", 40},
            {"CHECK_NS", 1},     {"NFFRETE_NS", 6},    {"SERIEFRETE_NS", 6},  {"TRNSPFRETE_NS", 6},
            {"OBSREGSAI_NS", 120}, {"CODCONT2_NS", 13}, {"SITCFOP_NS", 10},
        };
        std::vector<std::pair<std::string, std::string>> r;
        std::size_t start = 0;
        for (const auto& [name, size] : columns) r.emplace_back(name, Accented(size, start++));
        r.emplace_back("FORMA_AGRUP_ITENS_NS", "TAM" + Accented(12, start++)); // grouping by size
        r.emplace_back("PRAZO_NS", Accented(400, start));
        return r;
    }
    std::string value(const char* column) const {
        for (const auto& [name, text] : invoiceTexts())
            if (name == column) return text;
        return {};
    }
};

TEST_F(AccentedTexts, ComeOutOfTheSaveIdenticalInEveryCopy) {
    const std::string docto = Accented(6, 3), serie = Accented(2, 5), pedido = Accented(8, 7);
    const std::string produto = Accented(15, 9), variante = Accented(5, 11), tamanho = Accented(10, 13);
    const std::string unidade = Accented(6, 15), descricao = Accented(60, 17), descVariante = Accented(40, 19);
    const std::string sitPedido = Accented(2, 21), vinculo = Accented(1, 23);
    setParam("GERAR_ITENS_FORMA_AGRUP_NF", "S");

    std::string columns = "FILIAL_NS, DOCTO_NS, SERIE_NS, EMISSAO_NS, VALOR_NS, CFOP_NS, CODIGO_NS";
    std::string values = "1, " + QuotedStr(docto) + ", " + QuotedStr(serie) + ", '2026-03-10', 100, '5101', 1";
    for (const auto& [name, text] : invoiceTexts()) {
        columns += ", " + name;
        values += ", " + QuotedStr(text);
    }
    db.exec("insert into NOTASAI (" + columns + ") values (" + values + ")");
    db.exec("insert into PEDVENDA (NUM_PV, CODCLI_PV, SITDUP_PV, DESCTOVINCVENCTO_PV, OBS_PV) values (" +
            QuotedStr(pedido) + ", 1, " + QuotedStr(sitPedido) + ", " + QuotedStr(vinculo) + ", 'PRAZO 030/060')");
    db.exec("insert into NOTASAI_PEDVEND values (1, " + QuotedStr(docto) + ", " + QuotedStr(serie) + ", " +
            QuotedStr(pedido) + ")");
    db.exec("insert into ITENSPV (PEDIDO_IT, ITEM_IT, PROD_IT, PADRON_IT, PRECO_IT, PRECO_BRUTO_IT, NF_IT, SERIE_IT,"
            " FILIAL_IT, TP_COMIS_IT) values (" +
            QuotedStr(pedido) + ", '1', " + QuotedStr(produto) + ", " + QuotedStr(variante) + ", 100, 100, " +
            QuotedStr(docto) + ", " + QuotedStr(serie) + ", 1, 'R')");
    db.exec("insert into ITENSPVGRADE values (" + QuotedStr(pedido) + ", '1', " + QuotedStr(tamanho) + ", 1)");
    db.exec("insert into PRODUTO (COD_PR, UN_PR, DESC_PR) values (" + QuotedStr(produto) + ", " + QuotedStr(unidade) +
            ", " + QuotedStr(descricao) + ")");
    db.exec("insert into PADRONIZ_PRODUTO values (" + QuotedStr(produto) + ", " + QuotedStr(variante) + ", " +
            QuotedStr(descVariante) + ")");
    // The receivable the ERP stored for the invoice, in its own branch.
    const std::string ordem = Accented(2, 25), sitDup = Accented(10, 27), tipo = Accented(2, 1);
    const std::string contabil = Accented(13, 2), status = Accented(1, 4), indisp = Accented(1, 6);
    db.exec("insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP, EMISSAO_DP, VALOR_DP, SIT_DP,"
            " VINCULA_DP, TIPO_DP, CODCONTABIL_DP, STATUS_DP, INDISP_DP) values (7, 1, " +
            QuotedStr(docto) + ", " + QuotedStr(serie) + ", " + QuotedStr(ordem) + ", '2026-03-10', 100, " +
            QuotedStr(sitDup) + ", " + QuotedStr(vinculo) + ", " + QuotedStr(tipo) + ", " + QuotedStr(contabil) + ", " +
            QuotedStr(status) + ", " + QuotedStr(indisp) + ")");

    dm.AbrirNotasPendentes("", 0, 0);
    ASSERT_EQ(dm.cdsGera.recordCount(), 1);
    dm.GravarNotasPendentes();
    ASSERT_EQ(escrito(), (std::vector<std::string>{"1", "1", "3", "1", "1"}));

    const std::string copia = " from NOTASAI where FILIAL_NS = 100";
    EXPECT_EQ(linhas("select DOCTO_NS, SERIE_NS, PRAZO_NS" + copia),
              std::vector<std::string>{docto + "|" + serie + "|030/060"});
    for (const auto& [name, text] : invoiceTexts()) {
        if (name == "PRAZO_NS") continue; // the copy holds its day list
        SCOPED_TRACE(name);
        EXPECT_EQ(linhas("select " + name + copia), std::vector<std::string>{text});
    }
    EXPECT_EQ(linhas("select NUMNOTA_NP, SERIENOTA_NP, NUMPED_NP from NOTASAI_PEDVEND where FILIAL_NP = 100"),
              std::vector<std::string>{docto + "|" + serie + "|" + pedido});
    EXPECT_EQ(linhas("select DOCTO_SA, SERIE_SA, PROD_SA, COD_PROD_SA, COD_PADRON_SA, TAMANHO_SA, DESC_SA, UN_SA,"
                     " TP_COMIS_SA from ITENSNS where FILIAL_SA = 100"),
              std::vector<std::string>{docto + "|" + serie + "|" + produto + "." + variante + "." + tamanho + "|" +
                                       produto + "|" + variante + "|" + tamanho + "|" + descricao + " " + descVariante +
                                       " " + tamanho + "|" + unidade + "|R"});
    // The generated instalments and the copy of the stored receivable, in mark order.
    const std::string cc = value("CODCONT_NS");
    EXPECT_EQ(linhas("select NUM_DP, SERIE_NOTA_DP, ORD_DP, SIT_DP, VINCULA_DP, TIPO_DP, CODCONTABIL_DP, STATUS_DP,"
                     " INDISP_DP from DUPLICATAS where FILIAL_DP = 100 order by ORD_DP"),
              (std::vector<std::string>{
                  docto + "|" + serie + "|A|" + sitPedido + "|" + vinculo + "|DP|" + cc + "|A|N",
                  docto + "|" + serie + "|B|" + sitPedido + "|" + vinculo + "|DP|" + cc + "|A|N",
                  docto + "|" + serie + "|" + ordem + "|" + sitDup + "|" + vinculo + "|" + tipo + "|" + contabil + "|" +
                      status + "|" + indisp,
              }));
}

} // namespace
} // namespace fat::test
