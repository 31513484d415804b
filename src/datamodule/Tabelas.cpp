// The module's tables opened or created at start-up.
#include "datamodule/TDM.h"

namespace fat {

void TDM::AbrirTabelaPrazos() {
    cdsTabPrazo.close();
    sqlTabPrazo.setLines({"select * from TABELA", "where NUM_TA = '98'"});
    cdsTabPrazo.setProvider(&dspTabPrazo);
    cdsTabPrazo.open();
    cdsTabPrazo.setIndexFieldNames("COD_TA");
}

void TDM::CriarPedidos() {
    using data::FieldDef;
    cdsPed.close();
    cdsPed.clearFields();
    cdsPed.addField(FieldDef("Num", DataType::String, 8).withLabel("Pedido"));
    cdsPed.addField(FieldDef("TabPrazo", DataType::String, 10));
    cdsPed.addField(FieldDef("NUMNOTA", DataType::String, 6));
    cdsPed.addField(FieldDef("SERIENOTA", DataType::String, 2));
    // The invoice's branch too: with number and series the key of the master row.
    cdsPed.addField(FieldDef("FILIALNOTA", DataType::Integer));
    cdsPed.createDataSet();
}

} // namespace fat
