// The receivables a save writes for an invoice copy: split, commissions, marks, situations,
// due dates and the payment-condition re-split, read back from DUPLICATAS.
#include "GenerationFixture.h"

namespace fat::test {
namespace {

using Duplicatas = GenerationFixture;
using Nota = GenerationFixture::Nota;
std::string Ponto(double v) { return GenerationFixture::Ponto(v); }

// A plan of n instalments at 30, 60, 90 ... days in the plan form.
std::string Plano(int n) {
    std::string texto = FormatFloat("00", n) + " ";
    for (int i = 1; i <= n; ++i) texto += (i > 1 ? "/" : "") + FormatFloat("000", 30.0 * i);
    return texto;
}

TEST_F(Duplicatas, EqualInstalmentsTruncatedWithTheRemaindersOnTheFirst) {
    struct Caso {
        const char* valor;
        int n;
        double comissao;
        std::vector<std::string> esperado; // mark|value|commission
    };
    const std::vector<Caso> casos = {
        {"100.00", 3, 10.00, {"A|33.34|3.34", "B|33.33|3.33", "C|33.33|3.33"}},
        // The value is truncated (remainder 0.02), the commission rounded (remainder -0.01).
        {"200.00", 3, 20.00, {"A|66.68|6.66", "B|66.66|6.67", "C|66.66|6.67"}},
        {"100.00", 4, 0.00, {"A|25.00|0.00", "B|25.00|0.00", "C|25.00|0.00", "D|25.00|0.00"}},
        {"0.29", 1, 0.05, {"A|0.29|0.05"}},
    };
    int numero = 0;
    for (const auto& c : casos) {
        Nota n;
        n.docto = FormatFloat("000000", ++numero);
        n.valor = c.valor;
        n.valorPed = StrToFloat(c.valor);
        n.prazoPed = Plano(c.n);
        n.comisItemRec = c.comissao;
        nota(n);
    }
    carregar();
    dm.GravarNotasPendentes();
    for (std::size_t i = 0; i < casos.size(); ++i) {
        const std::string docto = FormatFloat("000000", static_cast<double>(i + 1));
        std::vector<std::string> esperado;
        for (const auto& e : casos[i].esperado) esperado.push_back(docto + "|1|" + e);
        std::vector<std::string> lidas;
        for (const auto& d : duplicatas())
            if (d.rfind(docto, 0) == 0) lidas.push_back(d);
        EXPECT_EQ(lidas, esperado) << casos[i].valor << " in " << casos[i].n;
    }
}

TEST_F(Duplicatas, EveryColumnOfTheRow) {
    Nota n;
    n.valor = "90.00";
    n.valorPed = 90;
    n.prazoPed = "01 030";
    n.comisItemRec = 4.5;
    nota(n);
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(linhas("select ID_DP, FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP, cast(EMISSAO_DP as date), CLIENTE_DP,"
                     " REPRES_DP, PREPOSTO_DP, GERENTECOMISS_DP, cast(VENCTO_DP as date), cast(VENCTOORIG_DP as date),"
                     " cast(VALOR_DP as varchar(20)), cast(BASECOMISS_DP as varchar(20)),"
                     " cast(VALORNOTA_DP as varchar(20)), COMISSAO_DP, COMISPREP_DP, COMISSAOGER_DP,"
                     " cast(VRCOMIS_ITEM_DP as varchar(20)), SIT_DP, PERCDESC_DP, VINCULA_DP, TIPO_DP,"
                     " CODCONTABIL_DP, STATUS_DP, INDISP_DP, DTROMANEIO_DP from DUPLICATAS"),
              std::vector<std::string>{"0|100|000001|1|A|10/03/2026|1|7|8|9|09/04/2026|09/04/2026|90.00|90.00|90.00|"
                                       "2,5|1,5|0,5|4.50|01|3|S|DP|CC-1|A|N|null"});
}

TEST(DuplicatasPorCaso, MarksAreLettersWithLetraAndTwoDigitNumbersOtherwise) {
    std::vector<std::string> letras, numeros;
    for (int i = 1; i <= 28; ++i) {
        letras.push_back(i <= 26 ? std::string(1, static_cast<char>('A' + i - 1)) : std::string(i == 27 ? "AA" : "AB"));
        numeros.push_back(FormatFloat("00", i));
    }
    for (const auto& [estilo, esperado] : {std::pair{"LETRA", letras}, std::pair{"NUMERO", numeros}}) {
        GenerationCase f;
        f.setParam("DUP_ORDDUP", estilo);
        Nota n;
        n.valor = "28.00";
        n.valorPed = 28;
        n.prazoPed = "28 ";
        for (int i = 1; i <= 28; ++i) n.prazoPed += (i > 1 ? "/" : "") + FormatFloat("000", i);
        f.nota(n);
        f.carregar();
        f.dm.GravarNotasPendentes();
        EXPECT_EQ(f.linhas("select ORD_DP from DUPLICATAS order by VENCTO_DP"), esperado) << estilo;
        EXPECT_EQ(f.contar("DUPLICATAS where VALOR_DP = 1.00"), "28");
    }
}

TEST(DuplicatasPorCaso, SituationFromTheDefaultParameterOrTheInvoicesOwnPlan) {
    struct Caso {
        const char* padrao; // SIT_DUPLICATA_PADRAO, nullptr: not set
        std::vector<std::string> esperado;
    };
    // The plan has 14 at 30 days for this invoice; the invoice with the same number in series 2
    // has 15 at 60 days, which is not this invoice's.
    for (const auto& c : {Caso{nullptr, {"14", "01", ""}}, Caso{"77", {"77", "77", "77"}}}) {
        GenerationCase f;
        if (c.padrao) f.setParam("SIT_DUPLICATA_PADRAO", c.padrao);
        Nota n;
        n.plano = {{30, "14"}, {90, ""}};
        f.nota(n);
        Nota outra;
        outra.serie = "2";
        outra.sitdup = "05";
        outra.plano = {{60, "15"}};
        f.nota(outra);
        f.carregar();
        f.dm.GravarNotasPendentes();
        EXPECT_EQ(f.linhas("select SIT_DP from DUPLICATAS where SERIE_NOTA_DP = '1' order by ORD_DP"),
                  c.esperado)
            << (c.padrao ? c.padrao : "no default");
        if (!c.padrao) {
            EXPECT_EQ(f.linhas("select SIT_DP from DUPLICATAS where SERIE_NOTA_DP = '2' order by ORD_DP"),
                      (std::vector<std::string>{"05", "15", "05"}));
        }
    }
}

TEST(DuplicatasPorCaso, WeekendDueDatesMoveToMondayOnlyWithWorkingDays) {
    // From 10/03/2026: 26 days is Sunday 05/04, 60 days Saturday 09/05.
    for (const char* uteis : {"S", "N"}) {
        GenerationCase f;
        f.setParam("DUP_VENCIMENTO_DIAS_UTEIS", uteis);
        Nota n;
        n.prazoPed = "03 026/030/060";
        f.nota(n);
        f.carregar();
        f.dm.GravarNotasPendentes();
        const std::vector<std::string> esperado =
            std::string(uteis) == "S"
                ? std::vector<std::string>{"06/04/2026|06/04/2026", "09/04/2026|09/04/2026", "11/05/2026|11/05/2026"}
                : std::vector<std::string>{"05/04/2026|05/04/2026", "09/04/2026|09/04/2026", "09/05/2026|09/05/2026"};
        EXPECT_EQ(f.linhas("select cast(VENCTO_DP as date), cast(VENCTOORIG_DP as date) from DUPLICATAS order by ORD_DP"),
                  esperado)
            << uteis;
    }
}

TEST(DuplicatasPorCaso, BaseDateIsTheIssueTheDepartureOrTheOrdersBase) {
    struct Caso {
        const char* inicio; // DUP_DATA_INICIO_PARCELAS
        TDateTime dtBase;
        const char* vencimento; // 30 days after the base
    };
    // Issued 10/03, departed 12/03.
    const std::vector<Caso> casos = {
        {"EMISSAO", EncodeDate(2026, 3, 1), "09/04/2026"},
        {"SAIDA", EncodeDate(2026, 3, 1), "11/04/2026"},
        {"EMISSAO", EncodeDate(2026, 3, 15), "14/04/2026"},
        {"SAIDA", EncodeDate(2026, 3, 15), "14/04/2026"},
    };
    for (const auto& c : casos) {
        GenerationCase f;
        f.setParam("DUP_DATA_INICIO_PARCELAS", c.inicio);
        Nota n;
        n.prazoPed = "01 030";
        n.dtBase = c.dtBase;
        f.nota(n);
        f.carregar();
        f.dm.GravarNotasPendentes();
        EXPECT_EQ(f.linhas("select cast(VENCTO_DP as date) from DUPLICATAS"), std::vector<std::string>{c.vencimento})
            << c.inicio << " " << FormatDateTime("dd/mm/yyyy", c.dtBase);
    }
}

TEST(DuplicatasPorCaso, PaymentConditionResplitsOnlyWhenItsPercentagesCoverEveryInstalment) {
    struct Caso {
        const char* descricao;
        const char* valor;
        std::string prazo;
        std::vector<std::pair<const char*, double>> condicao;
        std::vector<std::string> esperado; // value|commission base, by mark
    };
    const std::vector<Caso> casos = {
        {"30/70 of 1000.01", "1000.01", "02 030/060", {{"030", 30}, {"060", 70}}, {"300.00|300.00", "700.01|700.01"}},
        {"99.99 % in all", "1000.01", "02 030/060", {{"030", 30}, {"060", 69.99}}, {"500.01|500.01", "500.00|500.00"}},
        // 50 % of 100.01 is 50.01 twice; the -0.01 left goes to the first, whose base stays.
        {"remainder on the first", "100.01", "02 030/060", {{"030", 50}, {"060", 50}}, {"50.00|50.01", "50.01|50.01"}},
        // As floating-point numbers these add up to 100.00000000000001.
        {"percentages that add up to 100", "100.00", "03 030/060/090", {{"030", 16.67}, {"060", 48.63}, {"090", 34.70}},
         {"16.67|16.67", "48.63|48.63", "34.70|34.70"}},
        // 100 % over two of the three instalments would leave the third on top of the value.
        {"an instalment outside the condition", "100.00", "03 030/060/090", {{"030", 50}, {"060", 50}},
         {"33.34|33.34", "33.33|33.33", "33.33|33.33"}},
    };
    for (const auto& c : casos) {
        GenerationCase f;
        for (const auto& [dias, perc] : c.condicao)
            f.db.exec("insert into CONDPAGTO values ('98', '7', '" + std::string(dias) + "', " + Ponto(perc) + ")");
        f.db.exec("insert into CONDPAGTO values ('99', '7', '030', 100)"); // another table: never read
        Nota n;
        n.valor = c.valor;
        n.valorPed = StrToFloat(c.valor);
        n.prazoPed = c.prazo;
        n.tabprazo = "7";
        f.nota(n);
        f.carregar();
        f.dm.GravarNotasPendentes();
        EXPECT_EQ(f.linhas("select cast(VALOR_DP as varchar(20)), cast(BASECOMISS_DP as varchar(20)) from DUPLICATAS"
                           " order by ORD_DP"),
                  c.esperado)
            << c.descricao;
    }
}

TEST_F(Duplicatas, TheResplitWalksOnlyTheReceivablesOfItsOwnCopy) {
    // The same number in two series, both re-split by the same condition.
    db.exec("insert into CONDPAGTO values ('98', '7', '030', 30)");
    db.exec("insert into CONDPAGTO values ('98', '7', '060', 70)");
    for (const auto& [serie, valor] : {std::pair{"1", "1000.01"}, std::pair{"2", "100.00"}}) {
        Nota n;
        n.serie = serie;
        n.valor = valor;
        n.valorPed = StrToFloat(valor);
        n.prazoPed = "02 030/060";
        n.tabprazo = "7";
        nota(n);
    }
    carregar();
    dm.GravarNotasPendentes();
    EXPECT_EQ(duplicatas(), (std::vector<std::string>{"000001|1|A|300.00|0.00", "000001|1|B|700.01|0.00",
                                                      "000001|2|A|30.00|0.00", "000001|2|B|70.00|0.00"}));
}

TEST(DuplicatasPorCaso, AShareTooLargeForTheResplitEndsTheSaveAndWritesNothing) {
    struct Caso {
        const char* valor;
        bool cabe;
    };
    // 100 % of the value in hundredths must fit 32 bits: 21,474,836.47 at most.
    for (const auto& c : {Caso{"21474836.47", true}, Caso{"21474836.48", false}, Caso{"30000000.00", false}}) {
        GenerationCase f;
        f.db.exec("insert into CONDPAGTO values ('98', '7', '030', 100)");
        Nota n;
        n.valor = c.valor;
        n.valorPed = StrToFloat(c.valor);
        n.prazoPed = "01 030";
        n.tabprazo = "7";
        f.nota(n);
        Nota antes = n; // processed before the failing one
        antes.docto = "000000";
        antes.valor = "10.00";
        antes.valorPed = 10;
        f.nota(antes);
        f.carregar();
        if (c.cabe) {
            f.dm.GravarNotasPendentes();
            EXPECT_EQ(f.linhas("select cast(VALOR_DP as varchar(20)) from DUPLICATAS where NUM_DP = '000001'"),
                      std::vector<std::string>{std::string(c.valor)});
            continue;
        }
        try {
            f.dm.GravarNotasPendentes();
            ADD_FAILURE() << c.valor << " was saved";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("21.474.836,47"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("000001"), std::string::npos) << e.what();
        }
        EXPECT_EQ(f.escrito(), (std::vector<std::string>{"0", "0", "0", "0", "0"})) << c.valor;
    }
}

TEST_F(Duplicatas, AValueBeyondTheColumnsPrecisionEndsTheSaveAndWritesNothing) {
    // 20,000,000,000,000.00 has 14 whole digits: the engine would store it in NUMERIC(15,2).
    Nota n;
    n.valorPed = 2e13;
    nota(n);
    carregar();
    try {
        dm.GravarNotasPendentes();
        ADD_FAILURE() << "saved";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("NOTASAI.VALOR_NS"), std::string::npos) << e.what();
    }
    EXPECT_EQ(escrito(), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
}

} // namespace
} // namespace fat::test
