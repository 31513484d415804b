// The write buffers of the save, built empty at the start of every save: a save repeated after a
// failed one then writes each copy, link, receivable and stamp once. Each is opened over a query
// that selects no rows, only to obtain its table's columns.
#include "datamodule/TDM.h"

namespace fat {

void TDM::PrepararBuffers() {
    // A text too long for its column is an error before anything is written, never a cut copy.
    for (data::ClientDataSet* buffer : {&cdsDup, &cdsNP100, &cdsNF100, &cdsItensNS})
        buffer->setRejectLongTexts(true);

    cdsDup.close();
    sqlDup.close();
    sqlDup.setLines({"select * from DUPLICATAS", "where NUM_DP=:NUM", "and FILIAL_DP=:FILGERA"});
    sqlDup.paramByName("NUM").setAsString("999999");
    sqlDup.paramByName("FILGERA").setAsInteger(1);
    cdsDup.setProvider(&dspDup);
    cdsDup.open();
    cdsDup.setIndexFieldNames("NUM_DP;ORD_DP;FILIAL_DP");

    cdsNP100.close();
    sqlNP100.setLines({"select * from NOTASAI_PEDVEND", "where FILIAL_NP>=100", "and NUMNOTA_NP='999999'"});
    cdsNP100.setProvider(&dspNP100);
    cdsNP100.open();

    // The copy lookup's text, bound to a branch no invoice has (never the lookup's last values).
    cdsNF100.close();
    sqlNF100.setLines({"select * from NOTASAI", "where FILIAL_NS=:FILGERA", "and DOCTO_NS=:DOC", "and SERIE_NS=:SER"});
    sqlNF100.paramByName("FILGERA").setAsInteger(-1);
    sqlNF100.paramByName("DOC").setAsString("999999");
    sqlNF100.paramByName("SER").setAsString("");
    cdsNF100.setProvider(&dspNF100);
    cdsNF100.open();

    // This order numbers the item copies.
    if (cdsItens.active()) cdsItens.setIndexFieldNames("DOCTO_SA;SERIE_SA;ITEM_SA");
    cdsItensNS.close();
    sqlItensNS.setSql("select * from ITENSNS where FILIAL_SA >= 100 and DOCTO_SA = '999999' ");
    cdsItensNS.setProvider(&dspItensNS);
    cdsItensNS.open();

    // The order links of a copy are its own invoice's orders: cdsPed follows the current invoice
    // by branch, number and series.
    if (cdsPed.active()) {
        cdsPed.setIndexFieldNames("FILIALNOTA;NUMNOTA;SERIENOTA");
        cdsPed.setMasterSource(&cdsGera);
        cdsPed.setMasterFields("FILIAL_NS;DOCTO_NS;SERIE_NS");
    }
}

} // namespace fat
