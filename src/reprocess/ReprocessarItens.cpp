// The reprocessing of the ticked invoice copies of cdsNFVrDif: each copy's item copies are thrown
// away, built again from the sales orders behind its invoice and given the copy's recomputed
// value; the copy's value is rewritten when it changed.
//
// Each copy is written in a transaction of its own (the value update and the item copies
// together), so a copy is rewritten whole or not at all; the copies before a failing one keep
// their changes, since an error ends the walk at the copy it happens in.
#include "datamodule/TDM.h"

#include "platform/core/Format.h"
#include "platform/data/DataSetGuards.h"
#include "platform/sql/Transaction.h"

namespace fat {

void TDM::ReprocessarItens() {
    CarregarParametros();
    // The walk ends on the first row with the list's display back, also when an error ends it.
    data::SuspendedWalk lista(cdsNFVrDif);
    const data::Field& selecionada = cdsNFVrDif.fieldByName("SELEC");
    for (cdsNFVrDif.first(); !cdsNFVrDif.eof(); cdsNFVrDif.next()) {
        if (!selecionada.asBoolean()) continue;
        AbrirItensCopia();
        ApagarItensCopia();
        RecriarItensNota();
        if (cdsItensNS.isEmpty()) continue; // nothing to write; the deletions go with the buffer
        RatearValorItens();
        sql::Transaction transacao(sqlCon);
        if (cdsNFVrDif.fieldByName("VRMERC_NS").asAmount() != NovoValor) AtualizarValorNota();
        cdsItensNS.applyUpdates(0);
        transacao.commit();
    }
}

void TDM::AbrirItensCopia() {
    cdsItensNS.close();
    sqlItensNS.setLines({"select * from ITENSNS",
                         "where FILIAL_SA = " + std::to_string(cdsNFVrDif.fieldByName("FILIAL_NS").asInteger()),
                         "and DOCTO_SA = " + QuotedStr(cdsNFVrDif.fieldByName("DOCTO_NS").asString()),
                         "and SERIE_SA = " + QuotedStr(cdsNFVrDif.fieldByName("SERIE_NS").asString())});
    cdsItensNS.setProvider(&dspItensNS);
    cdsItensNS.open();
}

void TDM::ApagarItensCopia() { ApagarRegistros(cdsItensNS); }

void TDM::AtualizarValorNota() {
    sqlAtuVrNotaSai.close();
    if (sqlAtuVrNotaSai.lines().empty())
        sqlAtuVrNotaSai.setLines({"update NOTASAI", "set VALOR_NS = :VALOR, VRMERC_NS = :VALOR",
                                  "where FILIAL_NS = :FILIAL", "and DOCTO_NS = :DOCTO", "and SERIE_NS = :SERIE"});
    sqlAtuVrNotaSai.paramByName("FILIAL").setAsInteger(cdsNFVrDif.fieldByName("FILIAL_NS").asInteger());
    sqlAtuVrNotaSai.paramByName("DOCTO").setAsString(cdsNFVrDif.fieldByName("DOCTO_NS").asString());
    sqlAtuVrNotaSai.paramByName("SERIE").setAsString(cdsNFVrDif.fieldByName("SERIE_NS").asString());
    sqlAtuVrNotaSai.paramByName("VALOR").setAsFloat(NovoValor.toDouble());
    sqlAtuVrNotaSai.execSql();
}

} // namespace fat
