// Reading, writing and defaulting the configuration parameters of group "GERADUP".
#include "datamodule/TDM.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/core/UserMessages.h"
#include "platform/core/Win1252.h"
#include "platform/ini/ExecutablePath.h"
#include "platform/ini/IniFile.h"

#include <array>

namespace fat {
namespace {

const char* const Grupo = "GERADUP";

// A parameter that takes its default from the INI file when PARAM has no value.
struct IniDefault {
    std::string TParametros::*text;
    const char* key;
    const char* section;
    const char* iniKey;
    const char* fallback;
    bool writeBack; // stored in PARAM when the INI value is taken
};

const std::array<IniDefault, 14>& IniDefaults() {
    static const std::array<IniDefault, 14> defaults = {{
        {&TParametros::FIL_CODIGO, "FIL_CODIGO", "FILIAL", "CODIGO", "100", true},
        {&TParametros::DUP_CAPRES_GERARPARCIAL, "DUP_CAPRES_GERARPARCIAL", "DUPLICATAS", "CAPRES_GERARPARCIAL", "S", true},
        {&TParametros::DUP_AVISTA_GERARPARCIAL, "DUP_AVISTA_GERARPARCIAL", "DUPLICATAS", "AVISTA_GERARPARCIAL", "S", false},
        {&TParametros::SUF_DESCTO_SUFRAMA, "SUF_DESCTO_SUFRAMA", "SUFRAMA", "DESCTO_SUFRAMA", "S", true},
        {&TParametros::VAL_DESCTO_PEDIDO, "VAL_DESCTO_PEDIDO", "VALOR", "DESCTO_PEDIDO", "S", true},
        {&TParametros::VAL_DESCTO_PEDIDO_COMPOSTO, "VAL_DESCTO_PEDIDO_COMPOSTO", "VALOR", "DESCTO_PEDIDO_COMPOSTO", "S", true},
        {&TParametros::VAL_DESCTO_ITEM_PEDIDO, "VAL_DESCTO_ITEM_PEDIDO", "VALOR", "DESCTO_ITEM_PEDIDO", "N", true},
        {&TParametros::DUP_ORDDUP, "DUP_ORDDUP", "DUPLICATAS", "ORDDUP", "LETRA", true},
        {&TParametros::PRBRUTO_FATOR, "PRBRUTO_FATOR", "PRECO_BRUTO", "FATOR", "1", true},
        {&TParametros::DUP_DATA_INICIO_PARCELAS, "DUP_DATA_INICIO_PARCELAS", "DUPLICATAS", "DATA_INICIO_PARCELAS", "EMISSAO", true},
        {&TParametros::DUP_GERAR_NF_AVISTA, "DUP_GERAR_NF_AVISTA", "DUPLICATAS", "GERAR_NF_AVISTA", "N", true},
        {&TParametros::DUP_VENCIMENTO_DIAS_UTEIS, "DUP_VENCIMENTO_DIAS_UTEIS", "DUPLICATAS", "VENCIMENTO_DIAS_UTEIS", "N", true},
        {&TParametros::NF_EXCETO_CFOP, "NF_EXCETO_CFOP", "NOTA_FISCAL", "EXCETO_CFOP", "", true},
        {&TParametros::PED_FILTRAR_ITEM_COM_ROMANEIO, "PED_FILTRAR_ITEM_COM_ROMANEIO", "PEDIDO", "FILTRAR_ITEM_COM_ROMANEIO", "N", true},
    }};
    return defaults;
}

void PrepareSelect(sql::Query& q, const std::string& chave) {
    q.setLines({"select VALOR_PA from PARAM", "where GRUPO_PA=:GRUPO", "and PARAM_PA=:PARAM"});
    q.paramByName("GRUPO").setAsString(Grupo);
    q.paramByName("PARAM").setAsString(chave);
}

} // namespace

std::string TDM::LerParametro(const std::string& chave) {
    sql::Query q(sqlCon);
    PrepareSelect(q, chave);
    try {
        q.open();
    } catch (const std::exception& e) {
        ShowMessageBox(MessageIcon::Error, std::string("Erro ao abrir a tabela PARAM") + "\r" + e.what());
        throw;
    }
    return q.eof() ? std::string() : q.fieldByName("VALOR_PA").asString();
}

void TDM::GravarParametro(const std::string& chave, const std::string& valor) {
    sql::Query q(sqlCon);
    PrepareSelect(q, chave);
    q.open();
    const bool exists = !q.eof();
    q.close();
    if (exists)
        q.setLines({"update PARAM set VALOR_PA=:VALOR", "where GRUPO_PA=:GRUPO", "and PARAM_PA=:PARAM"});
    else
        q.setLines({"insert into PARAM (GRUPO_PA, PARAM_PA, VALOR_PA)", "values (:GRUPO, :PARAM, :VALOR)"});
    q.paramByName("GRUPO").setAsString(Grupo);
    q.paramByName("PARAM").setAsString(chave);
    q.paramByName("VALOR").setAsString(valor);
    try {
        q.execSql();
    } catch (const std::exception& e) {
        // The database's text alone does not say which parameter (a value too long for PARAM,
        // for one, only gives the lengths).
        throw Error(Win1252("Erro ao gravar o parâmetro ") + chave + " na tabela PARAM\r" + e.what());
    }
}

void TDM::CarregarParametros() {
    TParametros p;
    p.FIL_CODIGO = LerParametro("FIL_CODIGO");
    p.DUP_CAPRES_GERARPARCIAL = LerParametro("DUP_CAPRES_GERARPARCIAL");
    p.DUP_AVISTA_GERARPARCIAL = LerParametro("DUP_AVISTA_GERARPARCIAL");
    p.DUP_AVISTA_GERAR_PARCIAL_NOVO = LerParametro("DUP_AVISTA_GERAR_PARCIAL_NOVO");
    p.SUF_DESCTO_SUFRAMA = LerParametro("SUF_DESCTO_SUFRAMA");
    p.VAL_DESCTO_PEDIDO = LerParametro("VAL_DESCTO_PEDIDO");
    p.VAL_DESCTO_PEDIDO_COMPOSTO = LerParametro("VAL_DESCTO_PEDIDO_COMPOSTO");
    p.VAL_DESCTO_ITEM_PEDIDO = LerParametro("VAL_DESCTO_ITEM_PEDIDO");
    p.DUP_ORDDUP = LerParametro("DUP_ORDDUP");
    p.PRBRUTO_FATOR = LerParametro("PRBRUTO_FATOR");
    p.DUP_DATA_INICIO_PARCELAS = LerParametro("DUP_DATA_INICIO_PARCELAS");
    p.DUP_GERAR_NF_AVISTA = LerParametro("DUP_GERAR_NF_AVISTA");
    p.DUP_VENCIMENTO_DIAS_UTEIS = LerParametro("DUP_VENCIMENTO_DIAS_UTEIS");
    p.NF_EXCETO_CFOP = LerParametro("NF_EXCETO_CFOP");
    p.PED_FILTRAR_ITEM_COM_ROMANEIO = LerParametro("PED_FILTRAR_ITEM_COM_ROMANEIO");
    p.GERAR_ITENS_FORMA_AGRUP_NF = LerParametro("GERAR_ITENS_FORMA_AGRUP_NF");
    p.GerarItensFormaAgrupNF = p.GERAR_ITENS_FORMA_AGRUP_NF == "S";
    p.SIT_DUPLICATA_PADRAO = LerParametro("SIT_DUPLICATA_PADRAO");
    p.PREENCHER_ROYALTY = LerParametro("PREENCHER_ROYALTY");
    p.PreencherRoyalty = p.PREENCHER_ROYALTY == "S";
    Parametros = p;

    AplicarPadroesIni();

    // The former cash switch migrates once into its new key.
    TParametros& q = Parametros;
    if (q.DUP_AVISTA_GERAR_PARCIAL_NOVO.empty()) {
        q.DUP_AVISTA_GERAR_PARCIAL_NOVO = q.DUP_AVISTA_GERARPARCIAL == "SIM" ? "S" : "N";
        GravarParametro("DUP_AVISTA_GERAR_PARCIAL_NOVO", q.DUP_AVISTA_GERAR_PARCIAL_NOVO);
        GravarParametro("DUP_AVISTA_GERARPARCIAL", "DESABILITADO - VALOR ANTERIOR: " + q.DUP_AVISTA_GERARPARCIAL);
    }

    FilGera = StrToIntDef(q.FIL_CODIGO, 0);
    q.VencimentoDiasUteis = q.DUP_VENCIMENTO_DIAS_UTEIS == "S";
    q.FiltrarItemComRomaneio = q.PED_FILTRAR_ITEM_COM_ROMANEIO == "S";
    FilGeraPorNota = FilGera == 0;
}

void TDM::AplicarPadroesIni() {
    ini::IniFile ini(ini::IniPathForExecutable());
    for (const IniDefault& d : IniDefaults()) {
        std::string& text = Parametros.*d.text;
        if (!text.empty()) continue; // the database value always wins
        text = ini.readString(d.section, d.iniKey, d.fallback);
        if (d.writeBack) GravarParametro(d.key, text);
    }
    ini.writeString("BDADOS", "PARAM", Grupo);
}

} // namespace fat
