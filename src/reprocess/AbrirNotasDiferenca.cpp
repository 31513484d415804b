// The selection of the invoice copies whose merchandise value differs from the sum of their
// item copies' real values, within an issue period and for one number or any.
#include "datamodule/TDM.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/ini/ExecutablePath.h"

#include <fstream>

namespace fat {
namespace {

const std::vector<std::string>& LinhasSelecao() {
    static const std::vector<std::string> linhas = {
        "SELECT N.filial_ns, N.docto_ns, N.serie_ns, N.emissao_ns, N.vrmerc_ns,",
        "(SELECT SUM(I.prreal_sa) FROM ITENSNS I WHERE I.filial_sa = N.filial_ns and i.docto_sa = n.docto_ns and "
        "i.serie_sa = n.serie_ns) TOT_PRREAL_ITENSNS,",
        "(N.vrmerc_ns - (SELECT SUM(I.prreal_sa) FROM ITENSNS I WHERE I.filial_sa = N.filial_ns and i.docto_sa = "
        "n.docto_ns and i.serie_sa = n.serie_ns)) DIFERENCA,",
        "(SELECT VALOR_NS FROM NOTASAI NF WHERE NF.filial_ns = N.filial_ns / 100 and nf.docto_ns = n.docto_ns and "
        "nf.serie_ns = n.serie_ns) VALOR_NOTA,",
        "(SELECT (VRDESCTOSUFRAMA_NS + VRDESCTOPIS_NS + VRDESCTOCOFINS_NS) FROM NOTASAI NF WHERE NF.filial_ns = "
        "N.filial_ns / 100 and nf.docto_ns = n.docto_ns and nf.serie_ns = n.serie_ns) TOT_DESCTO_SUFRAMA_NOTA,",
        "(select NF.PRAZO_NS from NOTASAI NF where NF.FILIAL_NS = N.FILIAL_NS / 100 and NF.DOCTO_NS = N.DOCTO_NS "
        "and NF.SERIE_NS = N.SERIE_NS) PRAZO_NF_CONTAB",
        "FROM NOTASAI N",
        "WHERE (SELECT count(*) FROM NOTASAI NF WHERE NF.filial_ns = N.filial_ns / 100 and nf.docto_ns = "
        "n.docto_ns and nf.serie_ns = n.serie_ns and nf.emissao_ns = n.emissao_ns and nf.codigo_ns = n.codigo_ns "
        "and NF.TPNOTA_NS not in ('C', 'E', 'N')) > 0",
        "AND N.filial_ns > 99 and N.TPNOTA_NS not in ('C', 'E', 'N')",
        // The real values are floats: their sum is compared in cents, as the copy's value is
        // stored, so that copies that agree are not listed for the noise of the float sum.
        "AND N.vrmerc_ns <> (SELECT CAST(SUM(I.prreal_sa) AS NUMERIC(15,2)) FROM ITENSNS I WHERE I.filial_sa = "
        "N.filial_ns and i.docto_sa = n.docto_ns and i.serie_sa = n.serie_ns)",
    };
    return linhas;
}

// The query's text beside the program, one line per line, for whoever needs to see what ran.
void GravarTexto(const std::vector<std::string>& linhas) {
    const std::string caminho = ini::ExecutableDir() + "/quiral.sql";
    std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
    for (const auto& linha : linhas) arquivo << linha << '\n';
    arquivo.close();
    if (!arquivo) throw Error("Could not write the query text to '" + caminho + "'");
}

} // namespace

void TDM::AbrirNotasDiferenca(const std::string& documento, TDateTime emissaoInicial, TDateTime emissaoFinal) {
    if (cdsNFVrDif.fieldCount() == 0) DefinirCamposNFVrDif();
    cdsNFVrDif.close();
    sqlNFVrDif.close();
    std::vector<std::string> linhas = LinhasSelecao();
    if (emissaoInicial > 0) linhas.push_back("and EMISSAO_NS >= :EMISSAOINI");
    if (emissaoFinal > 0) linhas.push_back("and EMISSAO_NS <= :EMISSAOFIM");
    // The number as typed (blanks included), quoted: a quote in it stays text.
    if (!Trim(documento).empty()) linhas.push_back("and DOCTO_NS = " + QuotedStr(documento));
    linhas.push_back("order by DOCTO_NS");
    sqlNFVrDif.setLines(linhas);
    if (emissaoInicial > 0) sqlNFVrDif.paramByName("EMISSAOINI").setAsDateTime(emissaoInicial);
    if (emissaoFinal > 0) sqlNFVrDif.paramByName("EMISSAOFIM").setAsDateTime(emissaoFinal);
    GravarTexto(linhas);
    cdsNFVrDif.setProvider(&dspNFVrDif);
    cdsNFVrDif.open();
}

} // namespace fat
