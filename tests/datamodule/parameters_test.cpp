#include "DataModuleFixture.h"

#include "platform/core/Errors.h"

#include <filesystem>

using namespace fat;
using Parameters = test::DataModuleFixture;

TEST_F(Parameters, AnEmptyTableAndNoIniKeysGiveTheDefaultsAndWriteThemBack) {
    connect();
    dm.CarregarParametros();
    const std::map<std::string, std::string> expected = {
        {"FIL_CODIGO", "100"},
        {"DUP_CAPRES_GERARPARCIAL", "S"},
        {"SUF_DESCTO_SUFRAMA", "S"},
        {"VAL_DESCTO_PEDIDO", "S"},
        {"VAL_DESCTO_PEDIDO_COMPOSTO", "S"},
        {"VAL_DESCTO_ITEM_PEDIDO", "N"},
        {"DUP_ORDDUP", "LETRA"},
        {"PRBRUTO_FATOR", "1"},
        {"DUP_DATA_INICIO_PARCELAS", "EMISSAO"},
        {"DUP_GERAR_NF_AVISTA", "N"},
        {"DUP_VENCIMENTO_DIAS_UTEIS", "N"},
        {"NF_EXCETO_CFOP", ""},
        {"PED_FILTRAR_ITEM_COM_ROMANEIO", "N"},
        {"DUP_AVISTA_GERAR_PARCIAL_NOVO", "N"},
        {"DUP_AVISTA_GERARPARCIAL", "DESABILITADO - VALOR ANTERIOR: S"},
    };
    EXPECT_EQ(params(), expected);
    EXPECT_EQ(dm.FilGera, 100);
    EXPECT_FALSE(dm.FilGeraPorNota);
    EXPECT_EQ(dm.Parametros.DUP_AVISTA_GERARPARCIAL, "S"); // the state keeps the old value
    EXPECT_EQ(ini::IniFile(iniPath()).readString("BDADOS", "PARAM", "?"), "GERADUP");
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(Parameters, TheCashSwitchMigratesOnce) {
    struct Case {
        const char* oldValue;
        const char* newValue; // nullptr: no row
        const char* expectedNew;
        const char* expectedOld;
    };
    const Case cases[] = {
        {"SIM", nullptr, "S", "DESABILITADO - VALOR ANTERIOR: SIM"},
        {"sim", nullptr, "N", "DESABILITADO - VALOR ANTERIOR: sim"},
        {"SIM", "S", "S", "SIM"},
        {"N\xC3O", "N", "N", "N\xC3O"},
    };
    for (const auto& c : cases) {
        db.exec("delete from PARAM");
        setParam("DUP_AVISTA_GERARPARCIAL", c.oldValue);
        if (c.newValue) setParam("DUP_AVISTA_GERAR_PARCIAL_NOVO", c.newValue);
        if (!dm.sqlCon.connected()) connect();
        dm.CarregarParametros();
        const auto stored = params();
        EXPECT_EQ(stored.at("DUP_AVISTA_GERAR_PARCIAL_NOVO"), c.expectedNew) << c.oldValue;
        EXPECT_EQ(stored.at("DUP_AVISTA_GERARPARCIAL"), c.expectedOld) << c.oldValue;
        EXPECT_EQ(dm.Parametros.DUP_AVISTA_GERAR_PARCIAL_NOVO, c.expectedNew);
        dm.CarregarParametros(); // a second load changes nothing more
        EXPECT_EQ(params().at("DUP_AVISTA_GERARPARCIAL"), c.expectedOld);
    }
}

TEST_F(Parameters, TheDatabaseValueWinsOverTheIniFile) {
    writeIni("[FILIAL]\r\nCODIGO=500\r\n[DUPLICATAS]\r\nORDDUP=NUMERO\r\n[NOTA_FISCAL]\r\nEXCETO_CFOP=\r\n");
    setParam("FIL_CODIGO", "300");
    setParam("DUP_ORDDUP", nullptr); // a null value reads as empty and takes the INI value
    connect();
    dm.CarregarParametros();
    const auto stored = params();
    EXPECT_EQ(stored.at("FIL_CODIGO"), "300");
    EXPECT_EQ(dm.FilGera, 300);
    EXPECT_EQ(stored.at("DUP_ORDDUP"), "NUMERO");
    EXPECT_EQ(stored.at("NF_EXCETO_CFOP"), ""); // present and empty: empty, not the default
    // The INI file keeps its lines and gains the key PARAM.
    const ini::IniFile ini(iniPath());
    EXPECT_EQ(ini.readString("FILIAL", "CODIGO", ""), "500");
    EXPECT_EQ(ini.readString("BDADOS", "PARAM", ""), "GERADUP");
}

TEST_F(Parameters, TheDerivedBranchAndTheFlags) {
    struct Case {
        const char* filCodigo;
        int filGera;
        bool porNota;
    };
    const Case cases[] = {{"0", 0, true}, {"", 0, true}, {"ABC", 0, true}, {"300", 300, false}, {"99999999999", 0, true}};
    connect();
    for (const auto& c : cases) {
        db.exec("delete from PARAM");
        writeIni(std::string("[FILIAL]\nCODIGO=") + c.filCodigo + "\n");
        setParam("DUP_VENCIMENTO_DIAS_UTEIS", "s");
        setParam("PREENCHER_ROYALTY", "S");
        dm.CarregarParametros();
        EXPECT_EQ(dm.FilGera, c.filGera) << c.filCodigo;
        EXPECT_EQ(dm.FilGeraPorNota, c.porNota) << c.filCodigo;
        EXPECT_FALSE(dm.Parametros.VencimentoDiasUteis); // lower case is not "S"
        EXPECT_TRUE(dm.Parametros.PreencherRoyalty);
    }
}

TEST_F(Parameters, AnUnreadableParamTableShowsTheBoxThenFails) {
    db.exec("drop table PARAM");
    connect();
    EXPECT_THROW(dm.CarregarParametros(), std::exception);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
    const std::string& text = messages.boxes[0].text;
    EXPECT_EQ(text.rfind("Erro ao abrir a tabela PARAM\r", 0), 0u) << text;
    EXPECT_NE(text.find("PARAM"), std::string::npos);
    EXPECT_GT(text.size(), std::string("Erro ao abrir a tabela PARAM\r").size()); // the database's text follows
}

TEST_F(Parameters, AnIniFileThatCannotBeWrittenStopsTheLoadAfterTheDefaults) {
    writeIni("[FILIAL]\r\nCODIGO=100\r\n");
    std::filesystem::permissions(iniPath(), std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                                std::filesystem::perms::others_read);
    connect();
    try {
        dm.CarregarParametros();
        FAIL() << "the load went on";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("faturamento.ini"), std::string::npos) << e.what();
    }
    EXPECT_EQ(params().at("FIL_CODIGO"), "100"); // written before the INI write failed
    EXPECT_EQ(params().count("DUP_AVISTA_GERAR_PARCIAL_NOVO"), 0u);
}
