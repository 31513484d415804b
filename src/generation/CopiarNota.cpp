// The invoice copy: every stored value of the pending invoice under its column's name, in the
// derived branch, stamped today. Left in insert state for the caller.
#include "datamodule/TDM.h"

#include "generation/CopiarValor.h"

namespace fat {

void TDM::CopiarNota() {
    cdsNF100.append();
    for (data::Field* coluna : cdsNF100.fields()) {
        const data::Field* campo = cdsGera.findField(coluna->name());
        if (!campo || campo->isNull()) continue;
        generation::CopiarValor(*coluna, campo->value());
    }
    cdsNF100.fieldByName("ID_NS").setAsInteger(0);
    cdsNF100.fieldByName("FILIAL_NS").setAsInteger(FilGera);
    cdsNF100.fieldByName("DTGERACONT_NS").setAsDateTime(Today());
    cdsNF100.fieldByName("UPLOAD_NS").clear();
}

} // namespace fat
