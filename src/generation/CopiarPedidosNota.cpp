// The links from the invoice copy to its sales orders (cdsPed shows the current invoice's own).
#include "datamodule/TDM.h"

namespace fat {

void TDM::CopiarPedidosNota() {
    for (cdsPed.first(); !cdsPed.eof(); cdsPed.next()) {
        cdsNP100.append();
        cdsNP100.fieldByName("FILIAL_NP").setAsInteger(FilGera);
        cdsNP100.fieldByName("NUMPED_NP").setAsString(cdsPed.fieldByName("Num").asString());
        cdsNP100.fieldByName("NUMNOTA_NP").setAsString(cdsPed.fieldByName("NUMNOTA").asString());
        cdsNP100.fieldByName("SERIENOTA_NP").setAsString(cdsPed.fieldByName("SERIENOTA").asString());
        cdsNP100.post();
    }
}

} // namespace fat
