// The largest values that NUMERIC(15,2) columns hold, 9999999999999.99, through the load and the
// save: the copy, its receivables and its items carry them exactly, and the rules that compare
// the order value with the invoice value see them equal. Sums beyond what a column (or an amount)
// holds are a clear error, and nothing is written.
#include "../generation/GenerationFixture.h"

namespace fat::test {
namespace {

const char* const Max = "9999999999999.99";

struct LargestValues : GenerationFixture {
    LargestValues() { dm.CriarPedidos(); }

    // An order of customer 1 on invoice 000001 with one item of one pair at the price.
    void pedido(const std::string& num, const std::string& preco, const std::string& obs) {
        db.exec("insert into PEDVENDA (NUM_PV, CODCLI_PV, SITDUP_PV, COMISSREC_PV, OBS_PV) values (" + QuotedStr(num) +
                ", 1, '01', 2.5, " + QuotedStr(obs) + ")");
        db.exec("insert into NOTASAI_PEDVEND values (1, '000001', '1', " + QuotedStr(num) + ")");
        db.exec("insert into ITENSPV (PEDIDO_IT, ITEM_IT, PROD_IT, PRECO_IT, PRECO_BRUTO_IT, NF_IT, SERIE_IT, FILIAL_IT,"
                " TP_COMIS_IT, PERC_COMIS_IT) values (" +
                QuotedStr(num) + ", '1', 'P1', " + preco + ", " + preco + ", '000001', '1', 1, 'R', 0)");
        db.exec("insert into ITENSPVGRADE values (" + QuotedStr(num) + ", '1', '38', 1)");
    }
    std::vector<std::string> copia() {
        return linhas("select cast(VALOR_NS as varchar(20)), cast(VRMERC_NS as varchar(20)),"
                      " cast(BASECOMIS_NS as varchar(20)) from NOTASAI where FILIAL_NS = 100");
    }
    std::vector<std::string> parcelas() {
        return linhas("select ORD_DP, cast(VALOR_DP as varchar(20)), cast(VALORNOTA_DP as varchar(20)) from DUPLICATAS"
                      " where FILIAL_DP = 100 order by ORD_DP");
    }
};

TEST_F(LargestValues, AnOrderAsLargeAsTheColumnAllowsIsSavedExactly) {
    Nota n;
    n.valor = Max;
    nota(n);
    pedido("PED1", Max, "PRAZO 030");
    dm.AbrirNotasPendentes("", 0, 0);
    ASSERT_EQ(dm.cdsGera.recordCount(), 1);
    EXPECT_EQ(dm.cdsGera.fieldByName("TPNOTA").asString(), "I");
    EXPECT_EQ(dm.cdsGera.fieldByName("VALORPED").asAmount(), dm.cdsGera.fieldByName("VALOR_NS").asAmount());
    dm.GravarNotasPendentes();
    // Order value equal to the invoice value: the commission base of the copy is 0.
    EXPECT_EQ(copia(), std::vector<std::string>{std::string(Max) + "|" + Max + "|0.00"});
    EXPECT_EQ(parcelas(), std::vector<std::string>{std::string("A|") + Max + "|" + Max});
    EXPECT_EQ(linhas("select cast(cast(PRREAL_SA as numeric(15,2)) as varchar(20)) from ITENSNS where FILIAL_SA = 100"),
              std::vector<std::string>{Max});
    EXPECT_EQ(carimbo("000001"), "20/03/2026");
}

TEST_F(LargestValues, TheLargestValueSplitsIntoInstalmentsThatAddUpToIt) {
    Nota n;
    n.valor = Max;
    nota(n);
    pedido("PED1", Max, "PRAZO 030/060/090");
    dm.AbrirNotasPendentes("", 0, 0);
    dm.GravarNotasPendentes();
    // 9999999999999.99 / 3 cut to the cent is 3333333333333.33; the remainder 0.00 goes first.
    EXPECT_EQ(parcelas(), (std::vector<std::string>{"A|3333333333333.33|" + std::string(Max),
                                                    "B|3333333333333.33|" + std::string(Max),
                                                    "C|3333333333333.33|" + std::string(Max)}));
}

// Money read from double-precision columns and fields: from 2^53 ten-thousandths (about
// 900,719,925,474) on, the double's last binary digits must not reach the amount.
TEST(HostileLargestValues, FloatsOfTheLargestMagnitudesBecomeTheAmountsTheyStandFor) {
    struct Case {
        double value;
        std::int64_t raw;
    };
    const Case cases[] = {
        {9999999999999.99, 99999999999999900},       {-9999999999999.99, -99999999999999900},
        {1000000000000.01, 10000000000000100},       {4999999999999.995, 49999999999999950},
        {919999999999999.9, 9199999999999999000},    {123456789012.3456, 1234567890123456}, // below: × 10000
        {900719925474.0991, 9007199254740991},      {0.125, 1250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(FloatToStr(c.value));
        EXPECT_EQ(Amount::fromDouble(c.value).raw(), c.raw);
    }
    EXPECT_THROW(Amount::fromDouble(922337203685477.6), ConversionError);
    EXPECT_THROW(Amount::fromDouble(1e15), ConversionError);
}

// Values beyond what a column or an amount holds: an error that says which value, and neither
// the load nor the save writes anything.
TEST(HostileLargestValues, SumsBeyondTheColumnsAreAClearErrorAndWriteNothing) {
    struct Case {
        const char* what;
        std::vector<std::string> precos; // one order per price
        std::string exceto;              // NF_EXCETO_CFOP
        bool loadFails;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"two orders of the largest value", {Max, Max}, "", false,
         "Valor fora da faixa da coluna NOTASAI.VALOR_NS (NUMERIC(15,2)): 19999999999999.98"},
        {"an item price beyond what an amount holds", {"1e300"}, "", true, "value out of range for an amount"},
        {"an item total beyond 64 bits of ten-thousandths", {"1e15"}, "", true, "value out of range for an amount"},
        {"item copies summing beyond the invoice value's column", {Max}, "5949", true,
         "for field 'VALOR_NS': more than 15 digits"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Fixture : LargestValues {
            void TestBody() override {}
        } t;
        GenerationFixture::Nota n;
        n.valor = Max;
        t.nota(n);
        for (std::size_t i = 0; i < c.precos.size(); ++i)
            t.pedido("PED" + std::to_string(i + 1), c.precos[i], "PRAZO 030");
        if (!c.exceto.empty()) {
            t.setParam("NF_EXCETO_CFOP", c.exceto.c_str());
            for (int item = 1; item <= 2; ++item)
                t.db.exec("insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA, CFOP_SA, PRREAL_SA) values (1,"
                          " '000001', '1', " + std::to_string(item) + ", '5101', " + Max + ")");
        }
        const std::vector<std::string> before = t.escrito();
        try {
            t.dm.AbrirNotasPendentes("", 0, 0);
            EXPECT_FALSE(c.loadFails) << "the load went through";
            t.dm.GravarNotasPendentes();
            ADD_FAILURE() << "the save went through";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << std::string(e.what()).substr(0, 300);
        }
        EXPECT_EQ(t.escrito(), before);
        EXPECT_EQ(t.carimbo("000001"), "null");
    }
}

} // namespace
} // namespace fat::test
