// The decisions of the save per invoice, and what each writes: copies, links, receivables,
// item copies and stamps, read back from the database.
#include "GenerationFixture.h"

namespace fat::test {
namespace {

using Gravar = GenerationFixture;
using Nota = GenerationFixture::Nota;

// copies | links | receivables | item copies | stamped invoices
using Escrito = std::vector<std::string>;
const Escrito Nada = {"0", "0", "0", "0", "0"};
const Escrito Gerada = {"1", "1", "3", "1", "1"};
const Escrito SoCarimbo = {"0", "0", "0", "0", "1"};

TEST_F(Gravar, OnlyCfopsOfSalesGenerate) {
    const std::vector<std::pair<const char*, bool>> casos = {
        {"5101", true}, {"6102", true}, {"5501", true}, {"6922", true}, {"5405", false}, {"5910", false}, {"5", false}};
    int numero = 0;
    for (const auto& [cfop, gera] : casos) {
        Nota n;
        n.docto = FormatFloat("000000", ++numero);
        n.cfop = cfop;
        nota(n);
    }
    carregar();
    dm.GravarNotasPendentes();
    for (std::size_t i = 0; i < casos.size(); ++i) {
        const std::string docto = FormatFloat("000000", static_cast<double>(i + 1));
        EXPECT_EQ(contar("NOTASAI where FILIAL_NS = 100 and DOCTO_NS = '" + docto + "'"), casos[i].second ? "1" : "0")
            << casos[i].first;
        EXPECT_EQ(carimbo(docto), casos[i].second ? "20/03/2026" : "null") << casos[i].first;
    }
}

TEST_F(Gravar, AWrittenOffInvoiceIsOnlyStampedWithTheNullDateBeforeAnyOtherTest) {
    Nota baixada;
    baixada.baixada = true;
    Nota gerada = baixada;
    gerada.docto = "000002";
    gerada.gerado = "S";
    Nota cfop = baixada;
    cfop.docto = "000003";
    cfop.cfop = "5405";
    cfop.valorPed = 0;
    for (const Nota& n : {baixada, gerada, cfop}) nota(n);
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(linhas("select DOCTO_NS, cast(DTGERACONT_NS as date) from NOTASAI order by DOCTO_NS"),
              (std::vector<std::string>{"000001|01/01/1901", "000002|01/01/1901", "000003|01/01/1901"}));
    EXPECT_EQ(escrito(), (Escrito{"0", "0", "0", "0", "3"}));
}

TEST_F(Gravar, AnInvoiceAlreadyGeneratedOrWithoutOrderValueIsLeftAlone) {
    Nota gerada;
    gerada.gerado = "S";
    Nota semValor;
    semValor.docto = "000002";
    semValor.valorPed = 0;
    Nota semCalculo;
    semCalculo.docto = "000003";
    semCalculo.gerado = "";
    for (const Nota& n : {gerada, semValor, semCalculo}) nota(n);
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(escrito(), Nada);
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(Gravar, AnInvoiceWithoutSituationIsRefusedWithAMessageAndTheOthersGoOn) {
    struct Caso {
        const char* descricao;
        const char* tpfatur;
        const char* tpnota;
        std::string prazoPed;
        double valorPed;
        bool recusada;
    };
    const std::vector<Caso> casos = {
        {"a plan of three instalments", "T", "I", "03 030/060/090", 100, true},
        {"no term and another order value", "T", "M", "", 150, true},
        {"no term and the same value", "T", "I", "", 100, false},
        {"billing P of an invoice I", "P", "I", "03 030/060/090", 100, false},
    };
    for (const auto& c : casos) {
        GenerationCase f;
        f.dm.TPFATUR = c.tpfatur;
        Nota n;
        n.sitdup = "";
        n.tpnota = c.tpnota;
        n.prazoPed = c.prazoPed;
        n.valorPed = c.valorPed;
        f.nota(n);
        Nota outra;
        outra.docto = "000002";
        f.nota(outra);
        f.carregar();
        f.dm.GravarNotasPendentes();
        if (c.recusada) {
            ASSERT_EQ(f.messages.boxes.size(), 1u) << c.descricao;
            EXPECT_EQ(f.messages.boxes[0].icon, MessageIcon::Error);
            EXPECT_EQ(f.messages.boxes[0].text, Win1252("Situação da duplicata não informada na NF 000001"));
            EXPECT_EQ(f.carimbo("000001"), "null") << c.descricao;
            EXPECT_EQ(f.contar("NOTASAI where FILIAL_NS = 100 and DOCTO_NS = '000001'"), "0") << c.descricao;
        } else {
            EXPECT_TRUE(f.messages.boxes.empty()) << c.descricao;
        }
        EXPECT_EQ(f.carimbo("000002"), "20/03/2026") << c.descricao;
    }
}

TEST(GravarPorCaso, StampOnlyOrGenerationUnderBillingP) {
    struct Caso {
        const char* descricao;
        const char* empresa;
        const char* tpnota;
        std::string prazoPed;
        const char* prazoNs;
        const char* gerarAVista; // DUP_GERAR_NF_AVISTA
        Escrito esperado;
    };
    const std::vector<Caso> casos = {
        {"QUEBE, I, 3 instalments", "QUEBE", "I", "03 030/060/090", "30/60/90 DDL", "N", Gerada},
        {"LOREV, I, 3 instalments", "LOREV", "I", "03 030/060/090", "30/60/90 DDL", "N", Gerada},
        {"another company, I", "CALCADOS MODELO", "I", "03 030/060/090", "30/60/90 DDL", "N", SoCarimbo},
        {"QUEBE without instalments", "QUEBE", "I", "", "30/60/90 DDL", "N", SoCarimbo},
        {"QUEBE, more than 50 instalments", "QUEBE", "I", "51 030", "30/60/90 DDL", "N", SoCarimbo},
        {"QUEBE, a day count above 400", "QUEBE", "I", "01 401", "30/60/90 DDL", "N", SoCarimbo},
        {"a cash invoice that generates", "CALCADOS MODELO", "M", "01 000", "A VISTA", "S", {"1", "1", "1", "1", "1"}},
        {"a cash invoice without instalments", "CALCADOS MODELO", "M", "", "A VISTA", "S", SoCarimbo},
        {"a cash invoice, switch off", "CALCADOS MODELO", "M", "01 000", "A VISTA", "N", Nada},
        // M with the same value: no receivable is generated, so the copy goes and nothing stays.
        {"another company, M", "CALCADOS MODELO", "M", "03 030/060/090", "30/60/90 DDL", "N", Nada},
    };
    for (const auto& c : casos) {
        GenerationCase f;
        f.setParam("DUP_GERAR_NF_AVISTA", c.gerarAVista);
        f.dm.TPFATUR = "P";
        f.dm.NOME_EMPRESA = c.empresa;
        Nota n;
        n.tpnota = c.tpnota;
        n.prazoPed = c.prazoPed;
        n.prazoNs = c.prazoNs;
        f.nota(n);
        f.carregar();
        f.dm.GravarNotasPendentes();
        EXPECT_EQ(f.escrito(), c.esperado) << c.descricao;
        if (c.esperado[4] == "1") {
            EXPECT_EQ(f.carimbo("000001"), "20/03/2026") << c.descricao;
        }
    }
}

TEST_F(Gravar, DoraneFeltricCopiesTheInvoiceAndItsReceivablesOnAStampOnlyPath) {
    dm.TPFATUR = "P";
    dm.NOME_EMPRESA = "DORANE_FELTRIC";
    dm.GERARCOPIADUP = "S";
    Nota n;
    n.valorPed = 150; // the copy still carries the invoice's own values
    nota(n);
    db.exec("insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP, EMISSAO_DP, VALOR_DP, SIT_DP)"
            " values (41, 1, '000001', '1', 'A', '2026-03-10', 60.00, '03')");
    db.exec("insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP, EMISSAO_DP, VALOR_DP, SIT_DP)"
            " values (42, 1, '000001', '1', 'B', '2026-03-10', 40.00, '03')");
    // Issued on another day, or of the same number in another series: not this invoice's.
    db.exec("insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP, EMISSAO_DP, VALOR_DP)"
            " values (43, 1, '000001', '1', 'C', '2026-02-10', 1.00)");
    db.exec("insert into DUPLICATAS (ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP, EMISSAO_DP, VALOR_DP)"
            " values (44, 1, '000001', '2', 'A', '2026-03-10', 1.00)");
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(escrito(), (Escrito{"1", "1", "2", "1", "1"}));
    EXPECT_EQ(linhas("select cast(VALOR_NS as varchar(20)), cast(VRMERC_NS as varchar(20)), NUMPARC_NS, PRAZO_NS"
                     " from NOTASAI where FILIAL_NS = 100"),
              std::vector<std::string>{"100.00|100.00|3|30/60/90 DDL"});
    EXPECT_EQ(linhas("select ID_DP, FILIAL_DP, ORD_DP, cast(VALOR_DP as varchar(20)), SIT_DP from DUPLICATAS"
                     " where FILIAL_DP = 100 order by ORD_DP"),
              (std::vector<std::string>{"0|100|A|60.00|03", "0|100|B|40.00|03"}));
}

TEST_F(Gravar, ACopyWithoutReceivablesIsDroppedAndTheInvoiceStaysPending) {
    dm.TPFATUR = "P";
    Nota n;
    n.tpnota = "M"; // the order value equals the invoice value: nothing to generate
    nota(n);
    Nota gerada;
    gerada.docto = "000002";
    gerada.tpnota = "M";
    gerada.valorPed = 150;
    nota(gerada);
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(linhas("select DOCTO_NS from NOTASAI where FILIAL_NS = 100"), std::vector<std::string>{"000002"});
    EXPECT_EQ(linhas("select distinct NUMNOTA_NP from NOTASAI_PEDVEND where FILIAL_NP = 100"),
              std::vector<std::string>{"000002"});
    EXPECT_EQ(linhas("select distinct DOCTO_SA from ITENSNS where FILIAL_SA = 100"), std::vector<std::string>{"000002"});
    EXPECT_EQ(carimbo("000001"), "null");
    EXPECT_EQ(carimbo("000002"), "20/03/2026");
}

TEST(GravarPorCaso, TheCopysValueByPartialBillingAndCompany) {
    struct Caso {
        const char* descricao;
        const char* tpfatur;
        const char* empresa;
        double valorPed;
        const char* valor;       // the copy's VALOR_NS, VRMERC_NS
        const char* baseComis;   // the copy's BASECOMIS_NS
    };
    // The invoice: 100.00, freight 10, expenses 5, insurance 2, IPI 3.
    const std::vector<Caso> casos = {
        {"partial, PALDI", "P", "PALDI", 150, "60.00", "60.00"},
        {"partial, another company", "P", "CALCADOS MODELO", 150, "70.00", "70.00"},
        {"whole, PALDI", "T", "PALDI", 150, "160.00", "160.00"},
        {"whole, another company", "T", "CALCADOS MODELO", 150, "150.00", "150.00"},
        {"the invoice's value, another company", "T", "CALCADOS MODELO", 100, "100.00", "0.00"},
        {"the invoice's value, VESKOLA", "T", "VESKOLA", 100, "100.00", "100.00"},
    };
    for (const auto& c : casos) {
        GenerationCase f;
        f.dm.TPFATUR = c.tpfatur;
        f.dm.NOME_EMPRESA = c.empresa;
        Nota n;
        n.tpnota = "M";
        n.valorPed = c.valorPed;
        n.frete = "10";
        n.despesa = "5";
        n.seguro = "2";
        n.ipi = "3";
        n.comisItemFat = 7.25;
        f.nota(n);
        f.carregar();
        f.dm.GravarNotasPendentes();
        EXPECT_EQ(f.linhas("select cast(VALOR_NS as varchar(20)), cast(VRMERC_NS as varchar(20)),"
                           " cast(BASECOMIS_NS as varchar(20)), NUMPARC_NS, PRAZO_NS, VRCOMIS_ITEM_NS, ID_NS,"
                           " cast(DTGERACONT_NS as date), UPLOAD_NS, NOME_NS, CFOP_NS, cast(VRFRETE_NS as varchar(20))"
                           " from NOTASAI where FILIAL_NS = 100"),
                  std::vector<std::string>{std::string(c.valor) + "|" + c.valor + "|" + c.baseComis +
                                           "|3|030/060/090|7,25|0|20/03/2026|null|CLIENTE UM|5101|10.00"})
            << c.descricao;
        EXPECT_EQ(f.linhas("select cast(sum(VALOR_DP) as varchar(20)), cast(min(VALORNOTA_DP) as varchar(20)),"
                           " cast(max(VALORNOTA_DP) as varchar(20)) from DUPLICATAS")[0],
                  std::string(c.valor) + "|" + c.valor + "|" + c.valor)
            << c.descricao;
    }
}

TEST_F(Gravar, InvoicesSharingANumberKeepTheirOwnLinksItemsAndReceivables) {
    Nota a;
    a.pedidos = {"PED-A"};
    a.itens = {{60, "PA1"}, {40, "PA2"}};
    a.prazoPed = "01 030";
    Nota b = a;
    b.serie = "2";
    b.valor = "50.00";
    b.valorPed = 50;
    b.pedidos = {"PED-B"};
    b.itens = {{50, "PB1"}};
    b.prazoPed = "02 030/060";
    nota(a);
    nota(b);
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(linhas("select SERIENOTA_NP, NUMPED_NP from NOTASAI_PEDVEND where FILIAL_NP = 100 order by 1, 2"),
              (std::vector<std::string>{"1|PED-A", "2|PED-B"}));
    EXPECT_EQ(linhas("select SERIE_SA, ITEM_SA, PROD_SA, cast(DATA_SA as date) from ITENSNS where FILIAL_SA = 100"
                     " order by 1, 2"),
              (std::vector<std::string>{"1|1|PA1|10/03/2026", "1|2|PA2|10/03/2026", "2|1|PB1|10/03/2026"}));
    EXPECT_EQ(duplicatas(), (std::vector<std::string>{"000001|1|A|100.00|0.00", "000001|2|A|25.00|0.00",
                                                      "000001|2|B|25.00|0.00"}));
}

TEST_F(Gravar, ACopyTakesOnlyTheItemsAndOrdersOfItsOwnBranchsInvoice) {
    // Branches 1 and 2 both write under 100; the invoice of branch 2 is already generated, but its
    // item copies and orders of the load carry the same derived branch, number and series.
    Nota um;
    um.pedidos = {"PED-1"};
    um.itens = {{100, "P-1"}};
    Nota dois = um;
    dois.filial = 2;
    dois.gerado = "S";
    dois.pedidos = {"PED-2"};
    dois.itens = {{70, "P-2"}, {30, "P-3"}};
    nota(um);
    nota(dois);
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(linhas("select ITEM_SA, PROD_SA from ITENSNS where FILIAL_SA = 100"), std::vector<std::string>{"1|P-1"});
    EXPECT_EQ(linhas("select NUMPED_NP from NOTASAI_PEDVEND where FILIAL_NP = 100"), std::vector<std::string>{"PED-1"});
}

TEST_F(Gravar, BranchesWithTheSameDerivedBranchShareIt) {
    setParam("FIL_CODIGO", "0");
    Nota um;
    Nota dez;
    dez.filial = 10;
    dez.docto = "000002";
    Nota dois;
    dois.filial = 2;
    dois.docto = "000003";
    for (const Nota& n : {um, dez, dois}) nota(n);
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(linhas("select FILIAL_NS, DOCTO_NS from NOTASAI where FILIAL_NS >= 100 order by 2"),
              (std::vector<std::string>{"100|000001", "100|000002", "200|000003"}));
    EXPECT_EQ(linhas("select distinct FILIAL_SA, DOCTO_SA from ITENSNS order by 2"),
              (std::vector<std::string>{"100|000001", "100|000002", "200|000003"}));
    EXPECT_EQ(contar("DUPLICATAS where FILIAL_DP = 100"), "6");
}

TEST_F(Gravar, ACopiedReceivableWithTheMarkOfAGeneratedOneEndsTheSaveAndWritesNothing) {
    // Partial billing with copies of the stored receivables: the generated instalment A and the
    // copy of the stored A would share DUPLICATAS' key.
    dm.TPFATUR = "P";
    dm.GERARCOPIADUP = "S";
    Nota antes;
    antes.docto = "000000";
    nota(antes);
    Nota n;
    n.tpnota = "M";
    n.valorPed = 150;
    nota(n);
    db.exec("insert into DUPLICATAS (FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP, EMISSAO_DP, VALOR_DP)"
            " values (1, '000001', '1', 'A', '2026-03-10', 100.00)");
    carregar();
    try {
        dm.GravarNotasPendentes();
        ADD_FAILURE() << "saved";
    } catch (const Error& e) {
        const std::string texto = e.what();
        EXPECT_NE(texto.find("Duplicata repetida"), std::string::npos) << texto;
        EXPECT_NE(texto.find("NF 000001"), std::string::npos) << texto;
        EXPECT_NE(texto.find("ordem A"), std::string::npos) << texto;
    }
    EXPECT_EQ(escrito(), Nada);
}

TEST_F(Gravar, NothingPendingWritesNothing) {
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(escrito(), Nada);
    TDM semCarga; // no load since the start: cdsGera was never opened
    db::ConfigurarConexao(semCarga.sqlCon, db.location(), db::SenhaPorChave("1"), "3");
    semCarga.sqlCon.open();
    EXPECT_NO_THROW(semCarga.GravarNotasPendentes());
    EXPECT_EQ(escrito(), Nada);
}

} // namespace
} // namespace fat::test
