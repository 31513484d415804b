// Copies of the receivables the ERP stored for the invoice in its own branch, under the derived
// branch.
#include "datamodule/TDM.h"

#include "generation/CopiarValor.h"
#include "generation/DuplicataRepetida.h"

namespace fat {

void TDM::CopiarDuplicatasExistentes() {
    // By series too: invoices that share a number in other series keep their receivables.
    if (sqlDup1.lines().empty())
        sqlDup1.setLines({"select * from DUPLICATAS", "where NUM_DP=:NUM", "and FILIAL_DP=:FIL", "and EMISSAO_DP=:EMIS",
                          "and SERIE_NOTA_DP=:SER"});
    sqlDup1.paramByName("NUM").setAsString(cdsGera.fieldByName("DOCTO_NS").asString());
    sqlDup1.paramByName("FIL").setAsInteger(cdsGera.fieldByName("FILIAL_NS").asInteger());
    sqlDup1.paramByName("EMIS").setAsDateTime(cdsGera.fieldByName("EMISSAO_NS").asDateTime());
    sqlDup1.paramByName("SER").setAsString(cdsGera.fieldByName("SERIE_NS").asString());

    struct Fechar {
        sql::Query& q;
        ~Fechar() {
            try { q.close(); } catch (...) {}
        }
    } fechar{sqlDup1};
    for (sqlDup1.open(); !sqlDup1.eof(); sqlDup1.next()) {
        generation::ExigirDuplicataNova(cdsDup, FilGera, sqlDup1.fieldByName("NUM_DP").asString(),
                                        sqlDup1.fieldByName("SERIE_NOTA_DP").asString(),
                                        sqlDup1.fieldByName("ORD_DP").asString());
        cdsDup.append();
        for (int i = 0; i < sqlDup1.fieldCount(); ++i) {
            const Value& valor = sqlDup1.field(i);
            if (valor.isNull()) continue;
            if (data::Field* campo = cdsDup.findField(sqlDup1.columns()[static_cast<std::size_t>(i)].name))
                generation::CopiarValor(*campo, valor);
        }
        cdsDup.fieldByName("FILIAL_DP").setAsInteger(FilGera);
        cdsDup.fieldByName("ID_DP").setAsInteger(0);
        cdsDup.post();
        DuplicataGravada = true;
    }
}

} // namespace fat
