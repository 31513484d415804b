// The ERP's tables as this program uses them: every column it reads or writes, with the
// types it handles them in and the keys it finds rows by. Texts take the database's default
// character set (WIN1252). Tables without a natural key have none; they get a plain index on
// the columns they are looked up by.
#include "db/ErpSchema.h"

#include "platform/sql/Connection.h"

namespace fat::db {

const std::vector<std::string>& ErpSchemaStatements() {
    static const std::vector<std::string> statements = {
        // Outgoing invoices, and the copies this program writes under branches of 100 or more.
        R"SQL(CREATE TABLE NOTASAI (
    FILIAL_NS            INTEGER NOT NULL,
    DOCTO_NS             VARCHAR(6) NOT NULL,
    SERIE_NS             VARCHAR(2) NOT NULL,
    UF_NS                VARCHAR(2),
    CNPJ_NS              VARCHAR(18),
    INSCEST_NS           VARCHAR(14),
    CODCONT_NS           VARCHAR(13),
    SITUACAO_NS          VARCHAR(1),
    NUMPARC_NS           INTEGER,
    PRAZO_NS             VARCHAR(400),
    EMISSAO_NS           TIMESTAMP,
    VALOR_NS             NUMERIC(15,2),
    VRENTRADA_NS         NUMERIC(15,2),
    VRMERC_NS            NUMERIC(15,2),
    BICMS_NS             NUMERIC(15,2),
    VRICMS_NS            NUMERIC(15,2),
    BIPI_NS              NUMERIC(15,2),
    DIFERALIQ_NS         NUMERIC(15,2),
    VRIPI_NS             NUMERIC(15,2),
    VRFRETE_NS           NUMERIC(15,2),
    TPFRETE_NS           VARCHAR(1),
    VRICMFRETE_NS        NUMERIC(15,2),
    BICMFRETE_NS         NUMERIC(15,2),
    FRAUTONOMO_NS        NUMERIC(15,2),
    FRETEFORA_NS         VARCHAR(1),
    VRDESPESA_NS         NUMERIC(15,2),
    VRDESCTO_NS          NUMERIC(15,2),
    DESCTO1_NS           NUMERIC(15,2),
    DESCTO2_NS           NUMERIC(15,2),
    REPRES_NS            INTEGER,
    COMISS_NS            NUMERIC(15,2),
    COMISS2_NS           NUMERIC(15,2),
    VRACRESCIMO_NS       NUMERIC(15,2),
    TRANSP_NS            INTEGER,
    CODREDESP_NS         INTEGER,
    PLACA_NS             VARCHAR(8),
    TPNOTA_NS            VARCHAR(1),
    QTDEVOL_NS           INTEGER,
    PESOL_NS             NUMERIC(15,2),
    PESOB_NS             NUMERIC(15,2),
    NFENT_NS             VARCHAR(30),
    QTVOLUME_NS          INTEGER,
    CLIFORREP_NS         VARCHAR(1),
    ABATIMENTO_NS        NUMERIC(15,2),
    PREPOSTO_NS          INTEGER,
    CFOP_NS              VARCHAR(4),
    CODIGO_NS            INTEGER,
    NOME_NS              VARCHAR(40),
    CHECK_NS             CHAR(1),
    ALIQICMS_NS          NUMERIC(15,2),
    OUTROSICM_NS         NUMERIC(15,2),
    ISENTOSICM_NS        NUMERIC(15,2),
    ISENTOSIPI_NS        NUMERIC(15,2),
    OUTROSIPI_NS         NUMERIC(15,2),
    NFFRETE_NS           VARCHAR(6),
    SERIEFRETE_NS        VARCHAR(6),
    TRNSPFRETE_NS        VARCHAR(6),
    OBSREGSAI_NS         VARCHAR(120),
    BSUBSTICM_NS         NUMERIC(15,2),
    VALSUBSTICM_NS       NUMERIC(15,2),
    ALIQICMFRETE_NS      NUMERIC(15,2),
    FRETEB_NS            NUMERIC(15,2),
    FRETE_NS             NUMERIC(15,2),
    DTGERACONT_NS        TIMESTAMP,
    DTENTREGA_NS         TIMESTAMP,
    BASECOMIS_NS         NUMERIC(15,2),
    VRDESCTOPIS_NS       NUMERIC(15,2),
    VRDESCTOCOFINS_NS    NUMERIC(15,2),
    VRDESCTOSUFRAMA_NS   NUMERIC(15,2),
    UPLOAD_NS            TIMESTAMP,
    CODCONT2_NS          VARCHAR(13),
    SITCFOP_NS           VARCHAR(10),
    FRETEICMS_NS         NUMERIC(15,2),
    VRSEGURO_NS          NUMERIC(15,2),
    DTSAIDA_NS           TIMESTAMP,
    COMISSGER_NS         NUMERIC(15,2),
    GERENTECOMISS_NS     INTEGER,
    FORMA_AGRUP_ITENS_NS VARCHAR(15),
    DTBASE_PARC_NS       TIMESTAMP,
    ID_NS                INTEGER,
    VRCOMIS_ITEM_NS      DOUBLE PRECISION,
    CONSTRAINT PK_NOTASAI PRIMARY KEY (FILIAL_NS, DOCTO_NS, SERIE_NS)
))SQL",

        // Invoice items; the item copies have FILIAL_SA of 100 or more. The copy's composed
        // product code and description are sized to hold what the billing builds.
        R"SQL(CREATE TABLE ITENSNS (
    FILIAL_SA            INTEGER NOT NULL,
    DOCTO_SA             VARCHAR(6) NOT NULL,
    SERIE_SA             VARCHAR(2) NOT NULL,
    ITEM_SA              INTEGER NOT NULL,
    DATA_SA              TIMESTAMP,
    PROD_SA              VARCHAR(40),
    COD_PROD_SA          VARCHAR(15),
    COD_PADRON_SA        VARCHAR(5),
    TAMANHO_SA           VARCHAR(10),
    DESC_SA              VARCHAR(120),
    UN_SA                VARCHAR(6),
    QTDE_SA              DOUBLE PRECISION,
    PRECO_SA             DOUBLE PRECISION,
    PRECO_BRUTO_SA       DOUBLE PRECISION,
    PRREAL_SA            DOUBLE PRECISION,
    VRDESCTO_SA          DOUBLE PRECISION,
    VRDESPESA_SA         DOUBLE PRECISION,
    TP_COMIS_SA          VARCHAR(1),
    PERC_COMIS_SA        DOUBLE PRECISION,
    PERC_COMIS_FAT_SA    DOUBLE PRECISION,
    VRCOMIS_ITEM_SA      DOUBLE PRECISION,
    VRCOMIS_ITEM_FAT_SA  DOUBLE PRECISION,
    ROYALTY_SA           DOUBLE PRECISION,
    CFOP_SA              VARCHAR(4),
    CONSTRAINT PK_ITENSNS PRIMARY KEY (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA)
))SQL",

        // Links between invoices (and their copies) and the sales orders billed on them.
        R"SQL(CREATE TABLE NOTASAI_PEDVEND (
    FILIAL_NP            INTEGER NOT NULL,
    NUMNOTA_NP           VARCHAR(6) NOT NULL,
    SERIENOTA_NP         VARCHAR(2) NOT NULL,
    NUMPED_NP            VARCHAR(8) NOT NULL,
    CONSTRAINT PK_NOTASAI_PEDVEND PRIMARY KEY (FILIAL_NP, NUMNOTA_NP, SERIENOTA_NP, NUMPED_NP)
))SQL",

        // Sales orders. The notes are a text blob: their first line may carry the term.
        R"SQL(CREATE TABLE PEDVENDA (
    NUM_PV                        VARCHAR(8) NOT NULL,
    CODCLI_PV                     INTEGER,
    FILIAL_PV                     INTEGER,
    EMISSAO_PV                    TIMESTAMP,
    TABELA_PV                     INTEGER,
    MOEDA_PV                      VARCHAR(5),
    TABPRAZO_PV                   VARCHAR(10),
    SITDUP_PV                     VARCHAR(2),
    COMISSREC_PV                  DOUBLE PRECISION,
    COMISRECP_PV                  DOUBLE PRECISION,
    COMISSRECGER_PV               DOUBLE PRECISION,
    OBS_PV                        BLOB SUB_TYPE TEXT,
    DESCTO_PV                     DOUBLE PRECISION,
    VRDESCTO_PV                   DOUBLE PRECISION,
    DESCDP_PV                     DOUBLE PRECISION,
    DESCTOVINCVENCTO_PV           VARCHAR(1),
    DESCTO_APROVADO_PV            VARCHAR(1),
    PDESCTO_TAB_PV                DOUBLE PRECISION,
    PABAT_TAB_PV                  DOUBLE PRECISION,
    VRABAT_TAB_PV                 DOUBLE PRECISION,
    APLICAR_VR_DESCTO_PROMOCAO_PV VARCHAR(1),
    DTBASE_CREC_PV                TIMESTAMP,
    TABELA_PRECOS_PV              INTEGER,
    PRAZOPAGTO_PV                 INTEGER,
    CONSTRAINT PK_PEDVENDA PRIMARY KEY (NUM_PV)
))SQL",

        // Sales order items. The size grid has none of these columns, so the queries that
        // join the two may name them unqualified.
        R"SQL(CREATE TABLE ITENSPV (
    PEDIDO_IT             VARCHAR(8) NOT NULL,
    ITEM_IT               VARCHAR(5) NOT NULL,
    PROD_IT               VARCHAR(15),
    PRODCLI_IT            VARCHAR(15),
    PADRON_IT             VARCHAR(5),
    PRECO_IT              DOUBLE PRECISION,
    PRECO_BRUTO_IT        DOUBLE PRECISION,
    VRDESCTO_IT           DOUBLE PRECISION,
    PDESCTO_IT            DOUBLE PRECISION,
    VR_DESCTO_COMIS_IT    DOUBLE PRECISION,
    VR_DESCTO_PROMOCAO_IT DOUBLE PRECISION,
    SIT_IT                VARCHAR(1),
    STATUS_IT             VARCHAR(1),
    NF_IT                 VARCHAR(6),
    SERIE_IT              VARCHAR(2),
    FILIAL_IT             INTEGER,
    DTFATUR_IT            TIMESTAMP,
    TP_COMIS_IT           VARCHAR(1),
    PERC_COMIS_IT         DOUBLE PRECISION,
    PERC_COMIS_FAT_IT     DOUBLE PRECISION,
    VR_COMIS_IT           DOUBLE PRECISION,
    ROYALTY_IT            DOUBLE PRECISION,
    MULTGRADE_IT          INTEGER,
    CONSTRAINT PK_ITENSPV PRIMARY KEY (PEDIDO_IT, ITEM_IT)
))SQL",

        // Size grid of an order item: the item's quantity is the sum of its rows.
        R"SQL(CREATE TABLE ITENSPVGRADE (
    PEDIDO_IT            VARCHAR(8) NOT NULL,
    ITEM_IT              VARCHAR(5) NOT NULL,
    TAM_IT               VARCHAR(10) NOT NULL,
    QTPED_IT             DOUBLE PRECISION,
    CONSTRAINT PK_ITENSPVGRADE PRIMARY KEY (PEDIDO_IT, ITEM_IT, TAM_IT)
))SQL",

        // Packings of an order item; only counted.
        R"SQL(CREATE TABLE ITENSPV_EMBALAGEM (
    PEDIDO_IT            VARCHAR(8) NOT NULL,
    ITEM_IT              VARCHAR(5) NOT NULL
))SQL",
        "CREATE INDEX IX_ITENSPV_EMBALAGEM ON ITENSPV_EMBALAGEM (PEDIDO_IT, ITEM_IT)",

        // Instalments agreed on an order.
        R"SQL(CREATE TABLE PEDVENDA_PARCELAS (
    PEDVENDA_PP          VARCHAR(8) NOT NULL,
    DIAS_PP              INTEGER,
    SITDUP_PP            VARCHAR(2),
    PERC_PP              DOUBLE PRECISION,
    TPPARC_PP            VARCHAR(1)
))SQL",
        "CREATE INDEX IX_PEDVENDA_PARCELAS ON PEDVENDA_PARCELAS (PEDVENDA_PP)",

        // Instalments of a payment term.
        R"SQL(CREATE TABLE PRAZOPAGTO_PARC (
    ID_PRAZOPAGTO_PA     INTEGER NOT NULL,
    DIAS_PA              INTEGER,
    SIT_PA               VARCHAR(2),
    PERC_PA              DOUBLE PRECISION,
    AVISTA_PA            VARCHAR(1),
    SEMCOB_PA            VARCHAR(1)
))SQL",
        "CREATE INDEX IX_PRAZOPAGTO_PARC ON PRAZOPAGTO_PARC (ID_PRAZOPAGTO_PA)",

        // Payment conditions: the share of the value due at each day count ('030').
        R"SQL(CREATE TABLE CONDPAGTO (
    NUM_CP               VARCHAR(3) NOT NULL,
    COD_CP               VARCHAR(10) NOT NULL,
    DIAS_CP              VARCHAR(3) NOT NULL,
    PERC_CP              DOUBLE PRECISION,
    CONSTRAINT PK_CONDPAGTO PRIMARY KEY (NUM_CP, COD_CP, DIAS_CP)
))SQL",

        // Generic code tables ('18' invoice terms, '98' order terms). A description is at most
        // 75 characters, the length of the pattern the term lookup compares with it.
        R"SQL(CREATE TABLE TABELA (
    NUM_TA               VARCHAR(3) NOT NULL,
    COD_TA               VARCHAR(10) NOT NULL,
    DESC_TA              VARCHAR(75),
    CONSTRAINT PK_TABELA PRIMARY KEY (NUM_TA, COD_TA)
))SQL",

        // Receivables, one row per instalment. Invoices that share a number in different
        // series keep their instalments apart.
        R"SQL(CREATE TABLE DUPLICATAS (
    ID_DP                INTEGER,
    FILIAL_DP            INTEGER NOT NULL,
    NUM_DP               VARCHAR(6) NOT NULL,
    SERIE_NOTA_DP        VARCHAR(2) NOT NULL,
    ORD_DP               VARCHAR(2) NOT NULL,
    EMISSAO_DP           TIMESTAMP,
    CLIENTE_DP           INTEGER,
    REPRES_DP            INTEGER,
    PREPOSTO_DP          INTEGER,
    GERENTECOMISS_DP     INTEGER,
    VENCTO_DP            TIMESTAMP,
    VENCTOORIG_DP        TIMESTAMP,
    VALOR_DP             NUMERIC(15,2),
    BASECOMISS_DP        NUMERIC(15,2),
    VALORNOTA_DP         NUMERIC(15,2),
    COMISSAO_DP          DOUBLE PRECISION,
    COMISPREP_DP         DOUBLE PRECISION,
    COMISSAOGER_DP       DOUBLE PRECISION,
    VRCOMIS_ITEM_DP      NUMERIC(15,2),
    SIT_DP               VARCHAR(10),
    PERCDESC_DP          DOUBLE PRECISION,
    VINCULA_DP           VARCHAR(1),
    TIPO_DP              VARCHAR(2),
    CODCONTABIL_DP       VARCHAR(13),
    STATUS_DP            VARCHAR(1),
    INDISP_DP            VARCHAR(1),
    DTROMANEIO_DP        TIMESTAMP,
    CONSTRAINT PK_DUPLICATAS PRIMARY KEY (FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP)
))SQL",

        // Configuration parameters by group and key.
        R"SQL(CREATE TABLE PARAM (
    GRUPO_PA             VARCHAR(20) NOT NULL,
    PARAM_PA             VARCHAR(40) NOT NULL,
    VALOR_PA             VARCHAR(500),
    CONSTRAINT PK_PARAM PRIMARY KEY (GRUPO_PA, PARAM_PA)
))SQL",

        // The company's settings: one row.
        R"SQL(CREATE TABLE CONFIG (
    NOME_EMPRESA         VARCHAR(60),
    TPFATUR              VARCHAR(1),
    GERARCOPIADUP        VARCHAR(1)
))SQL",

        R"SQL(CREATE TABLE REPRESENTANTE (
    COD_RE               INTEGER NOT NULL,
    NOME_RE              VARCHAR(40),
    CONSTRAINT PK_REPRESENTANTE PRIMARY KEY (COD_RE)
))SQL",

        R"SQL(CREATE TABLE PRODUTO (
    COD_PR               VARCHAR(15) NOT NULL,
    UN_PR                VARCHAR(6),
    DESC_PR              VARCHAR(60),
    DESCNF_PR            VARCHAR(60),
    CONSTRAINT PK_PRODUTO PRIMARY KEY (COD_PR)
))SQL",

        // Product variants.
        R"SQL(CREATE TABLE PADRONIZ_PRODUTO (
    PROD_PP              VARCHAR(15) NOT NULL,
    PADRONIZ_PP          VARCHAR(5) NOT NULL,
    DESC_PP              VARCHAR(40),
    CONSTRAINT PK_PADRONIZ_PRODUTO PRIMARY KEY (PROD_PP, PADRONIZ_PP)
))SQL",
    };
    return statements;
}

void CreateErpSchema(sql::Connection& connection) {
    for (const auto& statement : ErpSchemaStatements()) connection.executeImmediate(statement);
}

} // namespace fat::db
