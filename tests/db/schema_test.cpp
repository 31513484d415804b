#include "db/ErpSchema.h"
#include "platform/sql/DatabaseError.h"
#include "platform/sql/Query.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <map>

using fat::DataType;
using fat::test::TestDatabase;

namespace {

struct Column { const char* name; DataType type; int size; };
constexpr int Dec = 0; // NUMERIC(15,2): size unused

// Every stored field of the pending-invoice record: the save copies each of them by name into
// the invoice copy, so each must exist in NOTASAI with this type. The last three are written
// to the copies or read by the order query.
const Column NotasaiColumns[] = {
    {"FILIAL_NS", DataType::Integer, 0}, {"DOCTO_NS", DataType::String, 6}, {"SERIE_NS", DataType::String, 2},
    {"UF_NS", DataType::String, 2}, {"CNPJ_NS", DataType::String, 18}, {"INSCEST_NS", DataType::String, 14},
    {"CODCONT_NS", DataType::String, 13}, {"SITUACAO_NS", DataType::String, 1},
    {"NUMPARC_NS", DataType::Integer, 0}, {"PRAZO_NS", DataType::String, 400},
    {"EMISSAO_NS", DataType::DateTime, 0}, {"VALOR_NS", DataType::Decimal, Dec},
    {"VRENTRADA_NS", DataType::Decimal, Dec}, {"VRMERC_NS", DataType::Decimal, Dec},
    {"BICMS_NS", DataType::Decimal, Dec}, {"VRICMS_NS", DataType::Decimal, Dec},
    {"BIPI_NS", DataType::Decimal, Dec}, {"DIFERALIQ_NS", DataType::Decimal, Dec},
    {"VRIPI_NS", DataType::Decimal, Dec}, {"VRFRETE_NS", DataType::Decimal, Dec},
    {"TPFRETE_NS", DataType::String, 1}, {"VRICMFRETE_NS", DataType::Decimal, Dec},
    {"BICMFRETE_NS", DataType::Decimal, Dec}, {"FRAUTONOMO_NS", DataType::Decimal, Dec},
    {"FRETEFORA_NS", DataType::String, 1}, {"VRDESPESA_NS", DataType::Decimal, Dec},
    {"VRDESCTO_NS", DataType::Decimal, Dec}, {"DESCTO1_NS", DataType::Decimal, Dec},
    {"DESCTO2_NS", DataType::Decimal, Dec}, {"REPRES_NS", DataType::Integer, 0},
    {"COMISS_NS", DataType::Decimal, Dec}, {"COMISS2_NS", DataType::Decimal, Dec},
    {"VRACRESCIMO_NS", DataType::Decimal, Dec}, {"TRANSP_NS", DataType::Integer, 0},
    {"CODREDESP_NS", DataType::Integer, 0}, {"PLACA_NS", DataType::String, 8},
    {"TPNOTA_NS", DataType::String, 1}, {"QTDEVOL_NS", DataType::Integer, 0},
    {"PESOL_NS", DataType::Decimal, Dec}, {"PESOB_NS", DataType::Decimal, Dec},
    {"NFENT_NS", DataType::String, 30}, {"QTVOLUME_NS", DataType::Integer, 0},
    {"CLIFORREP_NS", DataType::String, 1}, {"ABATIMENTO_NS", DataType::Decimal, Dec},
    {"PREPOSTO_NS", DataType::Integer, 0}, {"CFOP_NS", DataType::String, 4},
    {"CODIGO_NS", DataType::Integer, 0}, {"NOME_NS", DataType::String, 40},
    {"CHECK_NS", DataType::FixedChar, 1}, {"ALIQICMS_NS", DataType::Decimal, Dec},
    {"OUTROSICM_NS", DataType::Decimal, Dec}, {"ISENTOSICM_NS", DataType::Decimal, Dec},
    {"ISENTOSIPI_NS", DataType::Decimal, Dec}, {"OUTROSIPI_NS", DataType::Decimal, Dec},
    {"NFFRETE_NS", DataType::String, 6}, {"SERIEFRETE_NS", DataType::String, 6},
    {"TRNSPFRETE_NS", DataType::String, 6}, {"OBSREGSAI_NS", DataType::String, 120},
    {"BSUBSTICM_NS", DataType::Decimal, Dec}, {"VALSUBSTICM_NS", DataType::Decimal, Dec},
    {"ALIQICMFRETE_NS", DataType::Decimal, Dec}, {"FRETEB_NS", DataType::Decimal, Dec},
    {"FRETE_NS", DataType::Decimal, Dec}, {"DTGERACONT_NS", DataType::DateTime, 0},
    {"DTENTREGA_NS", DataType::DateTime, 0}, {"BASECOMIS_NS", DataType::Decimal, Dec},
    {"VRDESCTOPIS_NS", DataType::Decimal, Dec}, {"VRDESCTOCOFINS_NS", DataType::Decimal, Dec},
    {"VRDESCTOSUFRAMA_NS", DataType::Decimal, Dec}, {"UPLOAD_NS", DataType::DateTime, 0},
    {"CODCONT2_NS", DataType::String, 13}, {"SITCFOP_NS", DataType::String, 10},
    {"FRETEICMS_NS", DataType::Decimal, Dec}, {"VRSEGURO_NS", DataType::Decimal, Dec},
    {"DTSAIDA_NS", DataType::DateTime, 0}, {"COMISSGER_NS", DataType::Decimal, Dec},
    {"GERENTECOMISS_NS", DataType::Integer, 0}, {"FORMA_AGRUP_ITENS_NS", DataType::String, 15},
    {"DTBASE_PARC_NS", DataType::DateTime, 0}, {"ID_NS", DataType::Integer, 0},
    {"VRCOMIS_ITEM_NS", DataType::Float, 0},
};

} // namespace

TEST(ErpSchema, NotasaiHoldsEveryCarriedColumnWithItsType) {
    TestDatabase db;
    std::map<std::string, fat::sql::ColumnInfo> actual;
    for (const auto& c : db.connection().tableColumns("NOTASAI")) actual[c.name] = c;
    for (const auto& want : NotasaiColumns) {
        auto it = actual.find(want.name);
        if (it == actual.end()) {
            ADD_FAILURE() << want.name << " is missing";
            continue;
        }
        const auto& got = it->second;
        EXPECT_STREQ(fat::DataTypeName(got.type), fat::DataTypeName(want.type)) << want.name;
        if (want.type == DataType::Decimal) {
            EXPECT_EQ(got.precision, 15) << want.name;
            EXPECT_EQ(got.scale, 2) << want.name;
        }
        if (fat::IsTextType(want.type)) {
            EXPECT_EQ(got.size, want.size) << want.name;
        }
    }
}

TEST(ErpSchema, TablesHaveTheKeysRowsAreFoundBy) {
    struct Case { const char* table; std::vector<std::string> key; };
    const Case cases[] = {
        {"NOTASAI", {"FILIAL_NS", "DOCTO_NS", "SERIE_NS"}},
        {"ITENSNS", {"FILIAL_SA", "DOCTO_SA", "SERIE_SA", "ITEM_SA"}},
        {"NOTASAI_PEDVEND", {"FILIAL_NP", "NUMNOTA_NP", "SERIENOTA_NP", "NUMPED_NP"}},
        {"PEDVENDA", {"NUM_PV"}},
        {"ITENSPV", {"PEDIDO_IT", "ITEM_IT"}},
        {"ITENSPVGRADE", {"PEDIDO_IT", "ITEM_IT", "TAM_IT"}},
        {"PARAM", {"GRUPO_PA", "PARAM_PA"}},
        {"DUPLICATAS", {"FILIAL_DP", "NUM_DP", "SERIE_NOTA_DP", "ORD_DP"}},
        {"TABELA", {"NUM_TA", "COD_TA"}},
        {"CONDPAGTO", {"NUM_CP", "COD_CP", "DIAS_CP"}},
        {"PRODUTO", {"COD_PR"}},
        {"REPRESENTANTE", {"COD_RE"}},
        {"PADRONIZ_PRODUTO", {"PROD_PP", "PADRONIZ_PP"}},
        {"PEDVENDA_PARCELAS", {}},
        {"PRAZOPAGTO_PARC", {}},
        {"ITENSPV_EMBALAGEM", {}},
        {"CONFIG", {}},
    };
    TestDatabase db;
    for (const auto& c : cases) {
        EXPECT_FALSE(db.connection().tableColumns(c.table).empty()) << c.table << " is missing";
        EXPECT_EQ(db.connection().primaryKey(c.table), c.key) << c.table;
    }
}

TEST(ErpSchema, KeysRejectADuplicateAndNothingElse) {
    struct Case { const char* first; const char* second; bool rejected; };
    const Case cases[] = {
        {"insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS) values (1, '000001', '1')",
         "insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS) values (1, '000001', '1')", true},
        // copies are written with ID_NS and ID_DP 0, many at a time
        {"insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, ID_NS) values (100, '000001', '1', 0)",
         "insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, ID_NS) values (100, '000002', '1', 0)", false},
        {"insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA) values (100, '000001', '1', 1)",
         "insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA) values (100, '000001', '1', 1)", true},
        {"insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA) values (100, '000003', '1', 1)",
         "insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA) values (100, '000003', '2', 1)", false},
        {"insert into NOTASAI_PEDVEND values (100, '000001', '1', '1234')",
         "insert into NOTASAI_PEDVEND values (100, '000001', '1', '1234')", true},
        {"insert into NOTASAI_PEDVEND values (100, '000002', '1', '1234')",
         "insert into NOTASAI_PEDVEND values (100, '000002', '1', '1235')", false},
        {"insert into PEDVENDA (NUM_PV) values ('1234')", "insert into PEDVENDA (NUM_PV) values ('1234')", true},
        {"insert into ITENSPV (PEDIDO_IT, ITEM_IT) values ('1234', '1')",
         "insert into ITENSPV (PEDIDO_IT, ITEM_IT) values ('1234', '1')", true},
        {"insert into ITENSPVGRADE values ('1234', '1', '38', 2)",
         "insert into ITENSPVGRADE values ('1234', '1', '38', 3)", true},
        {"insert into ITENSPVGRADE values ('1234', '1', '39', 2)",
         "insert into ITENSPVGRADE values ('1234', '2', '39', 2)", false},
        {"insert into PARAM values ('GERADUP', 'FIL_CODIGO', '100')",
         "insert into PARAM values ('GERADUP', 'FIL_CODIGO', '200')", true},
        {"insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP) values (0, 100, '000001', '1', 'A')",
         "insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP) values (0, 100, '000001', '1', 'A')", true},
        // the same invoice number in another series has instalments of its own
        {"insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP) values (0, 100, '000002', '1', 'A')",
         "insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP) values (0, 100, '000002', '2', 'A')", false},
        {"insert into TABELA values ('98', '05', 'a')", "insert into TABELA values ('98', '05', 'b')", true},
        {"insert into TABELA values ('18', '06', 'a')", "insert into TABELA values ('98', '06', 'a')", false},
        {"insert into CONDPAGTO values ('98', '05', '030', 30)", "insert into CONDPAGTO values ('98', '05', '030', 70)", true},
        {"insert into PRODUTO (COD_PR) values ('1234')", "insert into PRODUTO (COD_PR) values ('1234')", true},
        {"insert into REPRESENTANTE values (5, 'a')", "insert into REPRESENTANTE values (5, 'b')", true},
        {"insert into PADRONIZ_PRODUTO values ('1234', '01', 'a')", "insert into PADRONIZ_PRODUTO values ('1234', '01', 'b')", true},
        {"insert into PEDVENDA_PARCELAS values ('1234', 30, '01', 50, 'S')",
         "insert into PEDVENDA_PARCELAS values ('1234', 30, '01', 50, 'S')", false},
        {"insert into CONFIG values ('X', 'P', 'N')", "insert into CONFIG values ('X', 'P', 'N')", false},
    };
    TestDatabase db;
    for (const auto& c : cases) {
        ASSERT_NO_THROW(db.exec(c.first)) << c.first;
        if (!c.rejected) {
            EXPECT_NO_THROW(db.exec(c.second)) << c.second;
            continue;
        }
        try {
            db.exec(c.second);
            ADD_FAILURE() << "accepted: " << c.second;
        } catch (const fat::sql::DatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find("PRIMARY or UNIQUE KEY"), std::string::npos) << e.what();
        }
    }
}

// The statements the program runs, as it writes them: each must prepare on a fresh schema, so
// no column is missing and no unqualified name is ambiguous between joined tables.
TEST(ErpSchema, TheProgramsStatementsPrepare) {
    const char* const statements[] = {
        "select N.*\n, (select sum(I.prreal_sa) from itensns i where i.docto_sa = n.docto_ns and\n"
        "i.serie_sa = n.serie_ns and i.filial_sa = n.filial_ns and i.cfop_sa not in ('5949','6949') ) as VALOR_ITENS\n"
        "from NOTASAI N where FILIAL_NS <= 90 and DTGERACONT_NS is null and TPNOTA_NS not in ('C', 'E', 'N') \n"
        "and EMISSAO_NS >= :EMISSAOINI\nand EMISSAO_NS <= :EMISSAOFIM\nand DOCTO_NS = '000123'\norder by DOCTO_NS",
        "select * from NOTASAI\nwhere FILIAL_NS=:FILGERA\nand DOCTO_NS=:DOC\nand SERIE_NS=:SER",
        "select * from DUPLICATAS\nwhere NUM_DP=:NUM\nand FILIAL_DP=:FILGERA",
        "select * from DUPLICATAS\nwhere NUM_DP=:NUM\nand FILIAL_DP=:FIL\nand EMISSAO_DP=:EMIS",
        "select NP.NUMNOTA_NP, NP.SERIENOTA_NP, NP.NUMPED_NP, NP.FILIAL_NP, PV.TABPRAZO_PV,\n"
        "       PV.SITDUP_PV, PV.COMISSREC_PV, PV.OBS_PV, PV.DESCTO_PV, PV.TABELA_PV, PV.COMISSRECGER_PV,\n"
        "       PV.MOEDA_PV, PV.EMISSAO_PV, PV.FILIAL_PV , PV.DESCTOVINCVENCTO_PV, PV.DESCDP_PV,\n"
        "       PV.COMISRECP_PV, PV.PRAZOPAGTO_PV, NS.EMISSAO_NS, NS.VRDESCTO_NS, PV.VRDESCTO_PV, PV.DTBASE_CREC_PV, NS.DTBASE_PARC_NS,\n"
        "       PV.DESCTO_APROVADO_PV, PV.PDESCTO_TAB_PV, PV.PABAT_TAB_PV, PV.VRABAT_TAB_PV, TABELA_PRECOS_PV, PV.codcli_pv\n"
        "from NOTASAI_PEDVEND NP\nleft join PEDVENDA PV on NP.NUMPED_NP=PV.NUM_PV\n"
        "left join NOTASAI NS on NP.FILIAL_NP = NS.FILIAL_NS and NP.NUMNOTA_NP = NS.DOCTO_NS AND PV.codcli_pv = NS.codigo_ns\n"
        "where NUMNOTA_NP=:DOC\nand FILIAL_NP>0\nand FILIAL_NP=:FIL\nand SERIENOTA_NP=:SERIE\nand PV.codcli_pv IS NOT NULL",
        "select PEDIDO_IT, ITEM_IT, PROD_IT, PRODCLI_IT, PADRON_IT, PRECO_IT, PRECO_BRUTO_IT, NF_IT, VRDESCTO_IT, PDESCTO_IT, "
        "TP_COMIS_IT, VR_COMIS_IT, PERC_COMIS_IT, PERC_COMIS_FAT_IT, p.vrdescto_pv, PR.UN_PR\nfrom ITENSPV i\n"
        "left join pedvenda p on p.num_pv = i.pedido_it\nleft join PRODUTO PR on PR.COD_PR = I.PROD_IT\n"
        "where PEDIDO_IT = :PED and SERIE_IT = :SER and FILIAL_IT = :FIL and NF_IT = :NF",
        "SELECT G.PEDIDO_IT, G.ITEM_IT, PADRON_IT, G.TAM_IT, G.QTPED_IT, PRECO_IT, PRECO_BRUTO_IT, ROYALTY_IT,\n"
        "VRDESCTO_IT, PDESCTO_IT, TP_COMIS_IT, VR_COMIS_IT, PERC_COMIS_IT, PERC_COMIS_FAT_IT, P.VRDESCTO_PV, PR.UN_PR,\n"
        "IIF(I.PRODCLI_IT <> '', I.PRODCLI_IT, I.PROD_IT) COD_PROD,\n"
        "CASE WHEN I.PRODCLI_IT <> '' THEN IIF(PC.DESCNF_PR <> '', PC.DESCNF_PR, PC.DESC_PR) ELSE IIF(PR.DESCNF_PR <> '', PR.DESCNF_PR, PR.DESC_PR) END DESC_PROD,\n"
        "(SELECT DESC_PP FROM PADRONIZ_PRODUTO PP WHERE PP.PROD_PP = IIF(I.PRODCLI_IT <> '', I.PRODCLI_IT, I.PROD_IT) AND PP.PADRONIZ_PP = I.PADRON_IT) DESC_PADRON\n"
        "FROM ITENSPVGRADE G\n"
        "INNER JOIN ITENSPV I ON I.PEDIDO_IT = G.PEDIDO_IT AND I.ITEM_IT = G.ITEM_IT INNER JOIN PEDVENDA P ON P.NUM_PV = I.PEDIDO_IT\n"
        "LEFT JOIN PRODUTO PR ON PR.COD_PR = I.PROD_IT LEFT JOIN PRODUTO PC ON PC.COD_PR = I.PRODCLI_IT\n"
        "WHERE G.PEDIDO_IT = :PED AND SERIE_IT = :SER AND FILIAL_IT = :FIL AND NF_IT = :NF\n"
        "ORDER BY G.PEDIDO_IT, G.ITEM_IT, G.TAM_IT",
        "SELECT P.DESCTO_PV, P.VRDESCTO_PV, P.PDESCTO_TAB_PV, P.DESCTO_APROVADO_PV, P.PABAT_TAB_PV, P.VRABAT_TAB_PV, P.APLICAR_VR_DESCTO_PROMOCAO_PV,\n"
        "(SELECT SUM(I.preco_it * ( SELECT SUM(G.qtped_it) FROM ITENSPVGRADE G WHERE G.pedido_it = I.pedido_it AND G.item_it = I.item_it))\n"
        "FROM ITENSPV I WHERE I.pedido_it = P.num_pv AND I.SIT_IT <> 'C' AND (I.STATUS_IT <> 'C' OR I.STATUS_IT IS NULL)) AS TOTAL_PEDIDO,\n"
        "(SELECT SUM(I.preco_bruto_it * ( SELECT SUM(G.qtped_it) FROM ITENSPVGRADE G WHERE G.pedido_it = I.pedido_it AND G.item_it = I.item_it))\n"
        "FROM ITENSPV I WHERE I.pedido_it = P.num_pv AND I.SIT_IT <> 'C' AND (I.STATUS_IT <> 'C' OR I.STATUS_IT IS NULL)) AS TOTAL_PEDIDO_BRUTO\n"
        "FROM PEDVENDA P WHERE P.num_pv = :pedido",
        "SELECT I.ITEM_IT, I.VRDESCTO_IT, I.PDESCTO_IT, I.PRECO_IT, I.PRECO_BRUTO_IT, I.SIT_IT, I.STATUS_IT, I.NF_IT, I.MULTGRADE_IT, "
        "I.VR_DESCTO_COMIS_IT, I.VR_DESCTO_PROMOCAO_IT,\n"
        "(SELECT SUM(G.QTPED_IT) FROM ITENSPVGRADE G WHERE G.PEDIDO_IT = I.PEDIDO_IT AND G.ITEM_IT = I.ITEM_IT) AS TOTAL_PARES,\n"
        "(SELECT COUNT(*) FROM ITENSPV_EMBALAGEM E WHERE E.PEDIDO_IT = I.PEDIDO_IT AND E.ITEM_IT = I.ITEM_IT) AS TOTAL_EMB\n"
        "FROM ITENSPV I WHERE I.PEDIDO_IT = :PEDIDO",
        "select NOME_EMPRESA, TPFATUR, GERARCOPIADUP\nfrom CONFIG",
        "select VALOR_PA from PARAM\nwhere GRUPO_PA=:GRUPO\nand PARAM_PA=:PARAM",
        "insert into PARAM (GRUPO_PA, PARAM_PA, VALOR_PA)\nvalues (:GRUPO, :PARAM, :VALOR)",
        "update PARAM set VALOR_PA=:VALOR\nwhere GRUPO_PA=:GRUPO\nand PARAM_PA=:PARAM",
        "select * from TABELA where NUM_TA = '98'",
        "select DESC_TA from TABELA\nwhere NUM_TA='98'\nand COD_TA=:COD",
        "select COD_TA \nfrom TABELA\nwhere NUM_TA='18'\nand DESC_TA like :DESC",
        "select DIAS_PP as DIAS, SITDUP_PP as SITDUP, PERC_PP as PERC, TPPARC_PP\nfrom PEDVENDA_PARCELAS\n"
        "where PEDVENDA_PP='1234' and TPPARC_PP = 'S' \norder by DIAS_PP",
        "select DIAS_PA as DIAS, SIT_PA as SITDUP, PERC_PA as PERC, AVISTA_PA\n from PRAZOPAGTO_PARC\n"
        " where ID_PRAZOPAGTO_PA = 3 and SEMCOB_PA='S' order by DIAS_PA",
        "select * from CONDPAGTO\nwhere NUM_CP='98'\nand COD_CP=:COD",
        "select COD_RE, NOME_RE\nfrom REPRESENTANTE",
        "select * from ITENSNS where FILIAL_SA >= 100 and DOCTO_SA = '999999' ",
        "select * from NOTASAI_PEDVEND\nwhere FILIAL_NP>=100\nand NUMNOTA_NP='999999'",
        "select FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA\nfrom ITENSNS\nwhere FILIAL_SA=:FILGERA\nand DOCTO_SA=:DOC\n"
        "and SERIE_SA=:SER\nand ITEM_SA=:IT",
        "update NOTASAI\nset DTGERACONT_NS=:DATA\nwhere FILIAL_NS=:FIL\nand DOCTO_NS=:DOC\nand SERIE_NS=:SER\n"
        "and DTGERACONT_NS is null",
        "update NOTASAI\nset VALOR_NS = :VALOR, VRMERC_NS = :VALOR\nwhere FILIAL_NS = :FILIAL\nand DOCTO_NS = :DOCTO\n"
        "and SERIE_NS = :SERIE",
        "insert into DUPLICATAS (ID_DP, NUM_DP, ORD_DP, FILIAL_DP, SERIE_NOTA_DP, EMISSAO_DP, CLIENTE_DP, REPRES_DP, "
        "PREPOSTO_DP, VENCTO_DP, VENCTOORIG_DP, VALOR_DP, BASECOMISS_DP, VALORNOTA_DP, COMISSAO_DP, COMISPREP_DP, "
        "VRCOMIS_ITEM_DP, SIT_DP, PERCDESC_DP, VINCULA_DP, TIPO_DP, CODCONTABIL_DP, STATUS_DP, INDISP_DP, "
        "COMISSAOGER_DP, GERENTECOMISS_DP, DTROMANEIO_DP) values (:A, :B, :C, :D, :E, :F, :G, :H, :I, :J, :K, :L, "
        ":M, :N, :O, :P, :Q, :R, :S, :T, :U, :V, :W, :X, :Y, :Z, :AA)",
        "insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA, DATA_SA, PROD_SA, COD_PROD_SA, COD_PADRON_SA, "
        "TAMANHO_SA, DESC_SA, UN_SA, QTDE_SA, PRECO_SA, PRECO_BRUTO_SA, PRREAL_SA, VRDESCTO_SA, VRDESPESA_SA, "
        "TP_COMIS_SA, PERC_COMIS_SA, PERC_COMIS_FAT_SA, VRCOMIS_ITEM_SA, VRCOMIS_ITEM_FAT_SA, ROYALTY_SA, CFOP_SA) "
        "values (:A, :B, :C, :D, :E, :F, :G, :H, :I, :J, :K, :L, :M, :N, :O, :P, :Q, :R, :S, :T, :U, :V, :W, :X)",
        "insert into NOTASAI_PEDVEND (FILIAL_NP, NUMPED_NP, NUMNOTA_NP, SERIENOTA_NP) values (:A, :B, :C, :D)",
        "SELECT N.filial_ns, N.docto_ns, N.serie_ns, N.emissao_ns, N.vrmerc_ns,\n"
        "(SELECT SUM(I.prreal_sa) FROM ITENSNS I WHERE I.filial_sa = N.filial_ns and i.docto_sa = n.docto_ns and i.serie_sa = n.serie_ns) TOT_PRREAL_ITENSNS,\n"
        "(N.vrmerc_ns - (SELECT SUM(I.prreal_sa) FROM ITENSNS I WHERE I.filial_sa = N.filial_ns and i.docto_sa = n.docto_ns and i.serie_sa = n.serie_ns)) DIFERENCA,\n"
        "(SELECT VALOR_NS FROM NOTASAI NF WHERE NF.filial_ns = N.filial_ns / 100 and nf.docto_ns = n.docto_ns and nf.serie_ns = n.serie_ns) VALOR_NOTA,\n"
        "(SELECT (VRDESCTOSUFRAMA_NS + VRDESCTOPIS_NS + VRDESCTOCOFINS_NS) FROM NOTASAI NF WHERE NF.filial_ns = N.filial_ns / 100 and nf.docto_ns = n.docto_ns and nf.serie_ns = n.serie_ns) TOT_DESCTO_SUFRAMA_NOTA,\n"
        "(select NF.PRAZO_NS from NOTASAI NF where NF.FILIAL_NS = N.FILIAL_NS / 100 and NF.DOCTO_NS = N.DOCTO_NS and NF.SERIE_NS = N.SERIE_NS) PRAZO_NF_CONTAB\n"
        "FROM NOTASAI N\n"
        "WHERE (SELECT count(*) FROM NOTASAI NF WHERE NF.filial_ns = N.filial_ns / 100 and nf.docto_ns = n.docto_ns and nf.serie_ns = n.serie_ns and nf.emissao_ns = n.emissao_ns and nf.codigo_ns = n.codigo_ns and NF.TPNOTA_NS not in ('C', 'E', 'N')) > 0\n"
        "AND N.filial_ns > 99 and N.TPNOTA_NS not in ('C', 'E', 'N')\n"
        "AND N.vrmerc_ns <> (SELECT SUM(I.prreal_sa) FROM ITENSNS I WHERE I.filial_sa = N.filial_ns and i.docto_sa = n.docto_ns and i.serie_sa = n.serie_ns)\n"
        "and EMISSAO_NS >= :EMISSAOINI\nand EMISSAO_NS <= :EMISSAOFIM\nand DOCTO_NS = '000123'\norder by DOCTO_NS",
        "select PEDIDO_IT, ITEM_IT, PROD_IT, PRODCLI_IT, PADRON_IT, PRECO_IT, ROYALTY_IT, PRECO_BRUTO_IT, NF_IT, VRDESCTO_IT, "
        "PDESCTO_IT, TP_COMIS_IT, PERC_COMIS_IT, PERC_COMIS_FAT_IT, p.vrdescto_pv, PR.UN_PR\nfrom ITENSPV i\n"
        "left join pedvenda p on p.num_pv = i.pedido_it\nleft join PRODUTO PR on PR.COD_PR = I.PROD_IT\n"
        "where PEDIDO_IT = :PED and DTFATUR_IT = :DTFAT and FILIAL_IT = :FIL and NF_IT = :NF and SERIE_IT = :SERIE",
    };
    TestDatabase db;
    for (const char* text : statements) {
        fat::sql::Query q(db.connection());
        q.setSql(text);
        EXPECT_NO_THROW(q.prepare()) << text;
    }
}

TEST(ErpSchema, TextsAreStoredAsSingleBytes) {
    TestDatabase db;
    const std::string name = "Jo\xE3o Concei\xE7\xE3o";            // WIN1252
    const std::string notes = "PRAZO: 30/60 DDL\r\nA\xE7\xFA""car";
    fat::sql::Query ins(db.connection());
    ins.setSql("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, NOME_NS) values (1, '000001', '1', :N)");
    ins.paramByName("N").setAsString(name);
    ins.execSql();
    ins.setSql("insert into PEDVENDA (NUM_PV, OBS_PV) values ('1', :O)");
    ins.paramByName("O").setAsString(notes);
    ins.execSql();
    EXPECT_EQ(db.scalar("select NOME_NS from NOTASAI"), name);
    EXPECT_EQ(db.scalar("select octet_length(NOME_NS) from NOTASAI"), std::to_string(name.size()));
    EXPECT_EQ(db.scalar("select OBS_PV from PEDVENDA"), notes);
    EXPECT_EQ(db.scalar("select octet_length(OBS_PV) from PEDVENDA"), std::to_string(notes.size()));
}
