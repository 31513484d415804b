#include "datamodule/TDM.h"
#include "platform/ini/ExecutablePath.h"
#include "shell/Startup.h"
#include "shell/TForm1.h"
#include "support/MessageRecorder.h"
#include "support/TestDatabase.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <fstream>

using namespace fat;

namespace {

struct StartUp : ::testing::Test {
    test::TestDatabase db;
    test::TempDir programDir;
    test::MessageRecorder messages;
    StartUp() { ini::SetExecutablePathForTesting(programDir.file("faturamento")); }
    ~StartUp() override { ini::SetExecutablePathForTesting(""); }
    void writeIni(const std::string& location) {
        std::ofstream(programDir.file("faturamento.ini")) << "[BDADOS]\nDB=" << location << "\nCHAVE=1\n";
    }
    void exec(const std::string& s) { db.exec(s); }
};

} // namespace

TEST_F(StartUp, ReadsTheCompanySettingsAndOpensTheTermTable) {
    exec("insert into CONFIG (NOME_EMPRESA, TPFATUR, GERARCOPIADUP) values ('QUEBE', 'P', 'S')");
    exec("insert into TABELA (NUM_TA, COD_TA, DESC_TA) values ('98', '02', '30/60')");
    exec("insert into TABELA (NUM_TA, COD_TA, DESC_TA) values ('98', '01', '30')");
    exec("insert into TABELA (NUM_TA, COD_TA, DESC_TA) values ('18', '01', 'OTHER')");
    writeIni(db.location());
    auto app = CriarAplicacao();
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(app->DM->NOME_EMPRESA, "QUEBE");
    EXPECT_EQ(app->DM->TPFATUR, "P");
    EXPECT_EQ(app->DM->GERARCOPIADUP, "S");
    EXPECT_EQ(app->DM->cdsTabPrazo.recordCount(), 2);
    app->DM->cdsTabPrazo.first();
    EXPECT_EQ(app->DM->cdsTabPrazo.fieldByName("COD_TA").asString(), "01"); // indexed by code
    EXPECT_TRUE(app->DM->cdsPed.active());
    EXPECT_TRUE(app->Form1->btNota->isEnabled());
}

TEST_F(StartUp, ADatabaseThatCannotBeOpenedIsShownAndTheWindowStillComes) {
    writeIni(db.dir().file("no-such.fdb"));
    auto app = CriarAplicacao();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
    EXPECT_NE(messages.boxes[0].text.find("no-such.fdb"), std::string::npos) << messages.boxes[0].text;
    EXPECT_TRUE(app->Form1->btNota->isEnabled());
    EXPECT_FALSE(app->DM->cdsPed.active()); // the rest of the creation was skipped
}

TEST_F(StartUp, TheDiscountCheckDisablesTheButtonForOnePairOnly) {
    struct Case { const char* pedido; const char* item; bool refused; };
    const Case cases[] = {
        {"N", "S", true}, {"n", "s", false}, {"S", "S", false}, {"N", "N", false}, {"", "S", false},
    };
    writeIni(db.location());
    for (const auto& c : cases) {
        exec("delete from PARAM");
        exec(std::string("insert into PARAM values ('GERADUP', 'VAL_DESCTO_PEDIDO', '") + c.pedido + "')");
        exec(std::string("insert into PARAM values ('GERADUP', 'VAL_DESCTO_ITEM_PEDIDO', '") + c.item + "')");
        messages.boxes.clear();
        auto app = CriarAplicacao();
        EXPECT_EQ(app->Form1->btNota->isEnabled(), !c.refused) << c.pedido << c.item;
        ASSERT_EQ(messages.boxes.size(), c.refused ? 1u : 0u) << c.pedido << c.item;
        if (c.refused) {
            EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
            EXPECT_EQ(messages.boxes[0].text,
                      "Erro na configura\xE7\xE3o dos descontos [VALOR], n\xE3o permitindo desconto no item sem a "
                      "op\xE7\xE3o de desconto no pedido.\r\rEntre em contato com o Suporte T\xE9" "cnico.");
        }
    }
}

TEST_F(StartUp, ConfigWithoutRowsGivesEmptySettingsAndAMissingOneIsShown) {
    writeIni(db.location());
    {
        auto app = CriarAplicacao();
        EXPECT_TRUE(messages.boxes.empty());
        EXPECT_EQ(app->DM->NOME_EMPRESA, "");
    }
    exec("drop table CONFIG");
    auto app = CriarAplicacao();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_NE(messages.boxes[0].text.find("CONFIG"), std::string::npos) << messages.boxes[0].text;
    EXPECT_TRUE(app->Form1->btNota->isEnabled());
}
