// The pending-invoice load: the invoices whose receivables are not generated yet, with
// everything the save needs computed for each of them.
#include "datamodule/TDM.h"

#include "platform/core/Format.h"

namespace fat {
namespace {

// The CFOP codes of the parameter, split at commas and blanks (empty codes kept), each quoted.
std::string ListaCfop(const std::string& parametro) {
    std::vector<std::string> codigos(1);
    for (char c : parametro) {
        if (c == ',' || c == ' ') codigos.emplace_back();
        else codigos.back() += c;
    }
    std::string lista;
    for (const auto& codigo : codigos) lista += (lista.empty() ? "" : ",") + QuotedStr(codigo);
    return lista;
}

// The last instant of a day: an issue date carrying a time of day still counts on its day.
TDateTime FimDoDia(TDateTime data) { return DateOf(data) + (86400.0 * 10000 - 1) / (86400.0 * 10000); }

} // namespace

void TDM::AbrirNotasPendentes(const std::string& documento, TDateTime emissaoInicial, TDateTime emissaoFinal) {
    CarregarParametros();

    cdsGera.disableControls();
    cdsItens.disableControls();
    cdsPed.disableControls();

    PrepararPrazos();
    if (!cdsRepres.active()) {
        sqlRepres.setLines({"select COD_RE, NOME_RE", "from REPRESENTANTE"});
        cdsRepres.setProvider(&dspRepres);
        cdsRepres.open();
    }

    cdsPed.setMasterSource(nullptr);
    cdsPed.setMasterFields("");
    cdsPed.setIndexFieldNames("");
    ApagarRegistros(cdsPed);

    cdsGera.close();
    sqlNF1.close();
    std::vector<std::string> linhas = {"select N.*"};
    if (!Parametros.NF_EXCETO_CFOP.empty()) {
        linhas.push_back(", (select sum(I.prreal_sa) from itensns i where i.docto_sa = n.docto_ns and");
        linhas.push_back("i.serie_sa = n.serie_ns and i.filial_sa = n.filial_ns and i.cfop_sa not in (" +
                         ListaCfop(Parametros.NF_EXCETO_CFOP) + ") ) as VALOR_ITENS");
    } else {
        linhas.push_back(", N.VALOR_NS AS VALOR_ITENS");
    }
    linhas.push_back("from NOTASAI N where FILIAL_NS <= 90 and DTGERACONT_NS is null and TPNOTA_NS not in ('C', 'E', 'N') ");
    if (emissaoInicial > 0) linhas.push_back("and EMISSAO_NS >= :EMISSAOINI");
    if (emissaoFinal > 0) linhas.push_back("and EMISSAO_NS <= :EMISSAOFIM");
    if (!Trim(documento).empty()) linhas.push_back("and DOCTO_NS = " + QuotedStr(documento));
    linhas.push_back("order by DOCTO_NS");
    sqlNF1.setLines(linhas);
    if (emissaoInicial > 0) sqlNF1.paramByName("EMISSAOINI").setAsDateTime(DateOf(emissaoInicial));
    if (emissaoFinal > 0) sqlNF1.paramByName("EMISSAOFIM").setAsDateTime(FimDoDia(emissaoFinal));

    AbrirBufferPedidos();
    PrepararItens();

    if (cdsGera.fieldCount() == 0) DefinirCamposGera();
    cdsGera.setProvider(&dspNF1);
    cdsGera.open();

    cdsPed.setIndexFieldNames("FILIALNOTA;NUMNOTA;SERIENOTA");
    cdsPed.setMasterSource(&cdsGera);
    cdsPed.setMasterFields("FILIAL_NS;DOCTO_NS;SERIE_NS");

    if (Progresso) Progresso->IniciarProgresso(cdsGera.recordCount());
    for (cdsGera.first(); !cdsGera.eof(); cdsGera.next()) {
        if (FilGeraPorNota) FilGera = FilialDerivada(static_cast<int>(cdsGera.fieldByName("FILIAL_NS").asInteger()));
        cdsGera.edit();
        cdsGera.fieldByName("GERADO").setAsString(VerificarGerado(cdsGera.fieldByName("DOCTO_NS").asString(),
                                                                  cdsGera.fieldByName("SERIE_NS").asString(),
                                                                  cdsGera.fieldByName("EMISSAO_NS").asDateTime()));
        if (!Parametros.NF_EXCETO_CFOP.empty())
            cdsGera.fieldByName("VALOR_NS").setAsDecimal(cdsGera.fieldByName("VALOR_ITENS").asDecimal());
        CarregarPedidosNota(static_cast<int>(cdsGera.fieldByName("FILIAL_NS").asInteger()),
                            cdsGera.fieldByName("DOCTO_NS").asString(), cdsGera.fieldByName("SERIE_NS").asString());
        if (NOME_EMPRESA == "PALDI" && SituacaoBaixaAutomatica(cdsGera.fieldByName("SITDUP").asString()))
            cdsGera.fieldByName("DTGERACONT_NS").setAsDateTime(DataNula());
        cdsGera.post();
        // The load's datasets are never applied: a change log would only keep copies of rows.
        cdsGera.mergeChangeLog();
        cdsItens.mergeChangeLog();
        cdsPed.mergeChangeLog();
        cdsPrazos.mergeChangeLog();
        if (Progresso) Progresso->AvancarProgresso();
    }

    cdsGera.first();
    cdsGera.enableControls();
    cdsItens.enableControls();
    cdsPed.enableControls();
}

std::string TDM::NomeRepresentante(std::int64_t codigo) {
    if (cdsRepres.locate("COD_RE", Value::fromInteger(codigo))) return cdsRepres.fieldByName("NOME_RE").asString();
    return {};
}

void TDM::ApagarRegistros(data::ClientDataSet& dataSet) {
    if (!dataSet.active()) return;
    while (!dataSet.isEmpty()) {
        dataSet.first();
        dataSet.deleteRecord();
    }
}

void TDM::AbrirBufferPedidos() {
    if (cdsNP100.active()) return;
    sqlNP100.setLines({"select * from NOTASAI_PEDVEND", "where FILIAL_NP>=100", "and NUMNOTA_NP='999999'"});
    cdsNP100.setProvider(&dspNP100);
    cdsNP100.open();
}

} // namespace fat
