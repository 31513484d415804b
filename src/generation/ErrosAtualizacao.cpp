// The update-error handlers of the providers: a row that fails while a buffer is applied ends
// the apply with the database's message, for some providers followed by the failed row's key.
#include "datamodule/TDM.h"

#include "platform/sql/DatabaseError.h"

namespace fat {
namespace {

// A new error with the text given, of the kind of the failure (a database error keeps its codes).
[[noreturn]] void Levantar(const data::UpdateError& erro, const std::string& texto) {
    try {
        std::rethrow_exception(erro.error());
    } catch (const sql::DatabaseError& e) {
        throw sql::DatabaseError(texto, e.sqlCode(), e.gdsCode());
    } catch (...) {
    }
    throw Error(texto);
}

std::string Valor(const data::UpdateError& erro, std::size_t i) {
    return i < erro.values().size() ? erro.values()[i].asString() : std::string();
}

} // namespace

void TDM::dspNF100UpdateError(const data::UpdateError& erro) { erro.raise(); }

void TDM::dspDupUpdateError(const data::UpdateError& erro) { erro.raise(); }

void TDM::dspItensNSUpdateError(const data::UpdateError& erro) {
    Levantar(erro, erro.message() + "\r" + Valor(erro, 0) + "," + Valor(erro, 1) + "," + Valor(erro, 2));
}

void TDM::dspNP100UpdateError(const data::UpdateError& erro) {
    Levantar(erro, erro.message() + "\r" + Valor(erro, 0) + "-" + Valor(erro, 1));
}

void TDM::dspNF1UpdateError(const data::UpdateError& erro) { erro.raise(); }

void TDM::dspTabPrazoUpdateError(const data::UpdateError& erro) { erro.raise(); }

void TDM::LigarErrosAtualizacao() {
    dspNF100.setOnUpdateError(&TDM::dspNF100UpdateError);
    dspNFVrDif.setOnUpdateError(&TDM::dspNF100UpdateError);
    dspDup.setOnUpdateError(&TDM::dspDupUpdateError);
    dspItensNS.setOnUpdateError(&TDM::dspItensNSUpdateError);
    dspNP100.setOnUpdateError(&TDM::dspNP100UpdateError);
    dspPrazoPagto.setOnUpdateError(&TDM::dspNP100UpdateError);
    dspNF1.setOnUpdateError(&TDM::dspNF1UpdateError);
    dspTabPrazo.setOnUpdateError(&TDM::dspTabPrazoUpdateError);
}

} // namespace fat
