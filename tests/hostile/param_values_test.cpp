// PARAM values as people type them: blanks around or inside, lower case, quotes and SQL text,
// 1,000 characters. Each is taken as the text it is (compared exactly, never rewritten, never
// cut), conversions fall back as the rules say, and none reaches an SQL text unquoted.
#include "../billing/LoadFixture.h"
#include "../generation/GenerationFixture.h"

#include "platform/core/Errors.h"

namespace fat::test {
namespace {

using HostileParamValues = LoadFixture;

std::string Repeat(const std::string& part, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += part;
    return s;
}

TEST_F(HostileParamValues, AreTakenAsTheTextsTheyAre) {
    // A site whose PARAM holds texts of 1,000 characters.
    db.exec("alter table PARAM alter VALOR_PA type varchar(2000)");
    struct Outcome {
        int filGera = 100;
        bool porNota = false;
        bool diasUteis = false, romaneio = false, agrupar = false, royalty = false;
    };
    struct Case {
        const char* key;
        std::string value;
        Outcome outcome;
    };
    const std::vector<Case> cases = {
        {"FIL_CODIGO", " 300 ", {300, false}},
        {"FIL_CODIGO", "3 00", {0, true}},
        {"FIL_CODIGO", "300abc", {0, true}},
        {"FIL_CODIGO", "'300'", {0, true}},
        {"FIL_CODIGO", std::string(1000, '9'), {0, true}},
        {"FIL_CODIGO", std::string(997, '0') + "300", {300, false}},
        {"DUP_VENCIMENTO_DIAS_UTEIS", "S", {.diasUteis = true}},
        {"DUP_VENCIMENTO_DIAS_UTEIS", "s", {}},
        {"DUP_VENCIMENTO_DIAS_UTEIS", " S", {}},
        {"DUP_VENCIMENTO_DIAS_UTEIS", "S ", {}},
        {"DUP_VENCIMENTO_DIAS_UTEIS", "SIM", {}},
        {"PED_FILTRAR_ITEM_COM_ROMANEIO", "S", {.romaneio = true}},
        {"PED_FILTRAR_ITEM_COM_ROMANEIO", "s", {}},
        {"GERAR_ITENS_FORMA_AGRUP_NF", "S", {.agrupar = true}},
        {"GERAR_ITENS_FORMA_AGRUP_NF", "s", {}},
        {"GERAR_ITENS_FORMA_AGRUP_NF", std::string(1000, 'S'), {}},
        {"PREENCHER_ROYALTY", "S", {.royalty = true}},
        {"PREENCHER_ROYALTY", "\tS", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " '" + c.value.substr(0, 20) + "' (" + std::to_string(c.value.size()) + ")");
        db.exec("delete from PARAM");
        setParam(c.key, c.value.c_str());
        ASSERT_NO_THROW(dm.CarregarParametros());
        EXPECT_EQ(dm.FilGera, c.outcome.filGera);
        EXPECT_EQ(dm.FilGeraPorNota, c.outcome.porNota);
        EXPECT_EQ(dm.Parametros.VencimentoDiasUteis, c.outcome.diasUteis);
        EXPECT_EQ(dm.Parametros.FiltrarItemComRomaneio, c.outcome.romaneio);
        EXPECT_EQ(dm.Parametros.GerarItensFormaAgrupNF, c.outcome.agrupar);
        EXPECT_EQ(dm.Parametros.PreencherRoyalty, c.outcome.royalty);
        EXPECT_EQ(params()[c.key], c.value); // the database value stays as it was
        EXPECT_TRUE(messages.boxes.empty());
    }
}

// Every parameter at 1,000 characters at once: the load of the parameters and the pending load
// run, nothing is cut and nothing of PARAM is rewritten.
TEST_F(HostileParamValues, ThousandCharacterValuesEverywhereLoad) {
    db.exec("alter table PARAM alter VALOR_PA type varchar(2000)");
    const char* const keys[] = {
        "FIL_CODIGO", "DUP_CAPRES_GERARPARCIAL", "DUP_AVISTA_GERARPARCIAL", "DUP_AVISTA_GERAR_PARCIAL_NOVO",
        "SUF_DESCTO_SUFRAMA", "VAL_DESCTO_PEDIDO", "VAL_DESCTO_PEDIDO_COMPOSTO", "VAL_DESCTO_ITEM_PEDIDO", "DUP_ORDDUP",
        "PRBRUTO_FATOR", "DUP_DATA_INICIO_PARCELAS", "DUP_GERAR_NF_AVISTA", "DUP_VENCIMENTO_DIAS_UTEIS",
        "NF_EXCETO_CFOP", "PED_FILTRAR_ITEM_COM_ROMANEIO", "GERAR_ITENS_FORMA_AGRUP_NF", "SIT_DUPLICATA_PADRAO",
        "PREENCHER_ROYALTY"};
    std::map<std::string, std::string> stored;
    for (const char* key : keys) {
        stored[key] = std::string(999, key[0]) + "'";
        setParam(key, stored[key].c_str());
    }
    Invoice n;
    invoice(n);
    order("PED1", n, 100);
    dm.AbrirNotasPendentes("", 0, 0);
    EXPECT_EQ(dm.Parametros.NF_EXCETO_CFOP, stored["NF_EXCETO_CFOP"]);
    EXPECT_EQ(dm.Parametros.SIT_DUPLICATA_PADRAO, stored["SIT_DUPLICATA_PADRAO"]);
    EXPECT_EQ(dm.FilGera, 100); // branch 1 per invoice: FIL_CODIGO is no number
    EXPECT_EQ(params(), stored);
    EXPECT_EQ(listed(), std::vector<std::string>{"000001/1"});
}

// The CFOP list of the load is built from the parameter: every code quoted, so that blanks,
// quotes and SQL text in it never change the statement, only which codes are left out.
TEST_F(HostileParamValues, ExcludedCfopListsNeverBreakTheStatement) {
    const std::pair<const char*, const char*> items[] = {{"5101", "60.00"}, {"5949", "30.00"}, {"59'9", "5.00"},
                                                        {"", "2.00"},     {"abcd", "1.00"}};
    Invoice n;
    invoice(n);
    int item = 0;
    for (const auto& [cfop, value] : items)
        exec("insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA, CFOP_SA, PRREAL_SA)"
             " values (1, '000001', '1', " +
             std::to_string(++item) + ", " + Q(cfop) + ", " + value + ")");
    struct Case {
        std::string exceto;
        const char* valor; // the invoice value the load computes
    };
    const std::vector<Case> cases = {
        {"5949, 6949", "66.00"},             // the blank after the comma is an empty code, and '' is left out
        {"5949,,6949", "66.00"},
        {"59'9", "93.00"},                   // a quote is part of the code
        {"') or 1=1 --", "98.00"},           // SQL text is a code no item has
        {"5949) or (1=1", "98.00"},         // split at the blanks into three codes no item has
        {"ABCD", "98.00"},                   // compared exactly, case and all
        {"abcd", "97.00"},
        {std::string(1000, ' '), "96.00"},   // 1,001 empty codes
        {Repeat("5949,", 200), "66.00"},     // 201 codes, the last one empty
    };
    db.exec("alter table PARAM alter VALOR_PA type varchar(2000)");
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.exceto.substr(0, 30) + "'");
        db.exec("delete from PARAM");
        setParam("NF_EXCETO_CFOP", c.exceto.c_str());
        ASSERT_NO_THROW(dm.AbrirNotasPendentes("", 0, 0));
        ASSERT_TRUE(locate("000001"));
        EXPECT_EQ(dm.cdsGera.fieldByName("VALOR_NS").asDecimal().toString(), c.valor);
    }
}

// The branch of the copies comes from FIL_CODIGO. One below 100 would put copies and receivables
// among the ERP's own invoices (or onto the invoice itself): the save refuses it before it
// writes anything. 0 (or no number) derives the branch from each invoice.
TEST(HostileCopyBranch, ABranchBelow100IsRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* filCodigo;
        int copyBranch; // 0: refused
    };
    for (const Case& c : {Case{"1", 0}, Case{"50", 0}, Case{"99", 0}, Case{"-100", 0}, Case{"100", 100},
                          Case{"0", 100}, Case{"250", 250}}) {
        SCOPED_TRACE(std::string("FIL_CODIGO ") + c.filCodigo);
        GenerationCase t;
        t.setParam("FIL_CODIGO", c.filCodigo);
        t.nota(GenerationFixture::Nota{});
        t.carregar();
        if (c.copyBranch == 0) {
            try {
                t.dm.GravarNotasPendentes();
                ADD_FAILURE() << "the save went through";
            } catch (const Error& e) {
                const std::string named = std::string("FIL_CODIGO (") + c.filCodigo + ")";
                EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
            }
            EXPECT_EQ(t.escrito(), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
            EXPECT_EQ(t.contar("NOTASAI"), "1");
            continue;
        }
        ASSERT_NO_THROW(t.dm.GravarNotasPendentes());
        EXPECT_EQ(t.linhas("select FILIAL_NS from NOTASAI where FILIAL_NS <> 1"),
                  std::vector<std::string>{std::to_string(c.copyBranch)});
        EXPECT_EQ(t.linhas("select distinct FILIAL_DP from DUPLICATAS"),
                  std::vector<std::string>{std::to_string(c.copyBranch)});
    }
}

// A default in the INI file that PARAM cannot hold stops the parameter load with an error that
// names the parameter; the parameters before it are stored, none is stored cut.
TEST(HostileParamDefaults, AnIniDefaultLongerThanParamHoldsIsAClearError) {
    struct Case : DataModuleFixture {
        void TestBody() override {}
    } t;
    t.connect();
    t.writeIni("[DUPLICATAS]\r\nORDDUP=" + std::string(1000, 'L') + "\r\n");
    try {
        t.dm.CarregarParametros();
        ADD_FAILURE() << "the parameters loaded";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("DUP_ORDDUP"), std::string::npos) << e.what();
    }
    const auto stored = t.params();
    EXPECT_EQ(stored.count("DUP_ORDDUP"), 0u);
    EXPECT_EQ(stored.at("FIL_CODIGO"), "100");
}

} // namespace
} // namespace fat::test
