// The partial-billing rules: whether an invoice (or an item) was billed only in part, so that
// its copies and receivables carry the part it did not bill. A and B are compared exactly as
// four-decimal amounts (for an invoice: its value and the value of its orders).
#include "datamodule/TDM.h"

namespace fat {
namespace {

bool Contem(const std::string& texto, const char* parte) { return texto.find(parte) != std::string::npos; }

// The rules both variants share: no partial billing for total billing (TPFATUR "T"), when B is
// not above A, nor for TORMINA (which requires A equal to B, already excluded).
bool ExcluidoSempre(const TDM& dm, Amount a, Amount b) {
    if (dm.TPFATUR == "T") return true;
    if (!(b > a)) return true;
    return dm.NOME_EMPRESA == "TORMINA";
}

bool AVistaParcial(const TDM& dm, const std::string& prazo) {
    // BRUVETO's cash-register terms ("CX") are never partial.
    return !(dm.NOME_EMPRESA == "BRUVETO" && Contem(prazo, "CX"));
}

bool ContraApresentacao(const std::string& prazo) { return Contem(prazo, "C/ APRES") || Contem(prazo, "C/APRES"); }

} // namespace

bool TDM::GeraParcial(Amount a, Amount b) {
    if (ExcluidoSempre(*this, a, b)) return false;
    const std::string prazo = cdsGera.fieldByName("PRAZO_NS").asString();
    if (Contem(prazo, "A VISTA"))
        return Parametros.DUP_AVISTA_GERAR_PARCIAL_NOVO == "S" && AVistaParcial(*this, prazo);
    if (ContraApresentacao(prazo)) return Parametros.DUP_CAPRES_GERARPARCIAL == "S";
    return true;
}

bool TDM::GeraParcialReprocessa(Amount a, Amount b, const std::string& prazo) {
    if (ExcluidoSempre(*this, a, b)) return false;
    if (Contem(prazo, "A VISTA") && Parametros.DUP_AVISTA_GERAR_PARCIAL_NOVO == "S") return AVistaParcial(*this, prazo);
    if (ContraApresentacao(prazo)) return Parametros.DUP_CAPRES_GERARPARCIAL == "S";
    return false;
}

} // namespace fat
