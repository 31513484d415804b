// The fields of cdsNFVrDif, the list of invoice copies whose value disagrees with their item
// copies: the selection flag in memory, then the columns of the selection query.
#include "datamodule/TDM.h"

#include "platform/core/Win1252.h"

namespace fat {
namespace {

using data::FieldDef;

const char* const FormatoValor = "#,###,##0.00";
const char* const FormatoData = "dd\"/\"mm\"/\"yyyy";

FieldDef Decimal2(const char* name) { return FieldDef::decimal(name, 15, 2).withFormat(FormatoValor); }

} // namespace

void TDM::DefinirCamposNFVrDif() {
    cdsNFVrDif.close();
    cdsNFVrDif.clearFields();
    const std::vector<FieldDef> campos = {
        FieldDef::calculated("SELEC", DataType::Boolean).withLabel(" "),
        FieldDef("FILIAL_NS", DataType::Integer).withLabel("Filial"),
        FieldDef("DOCTO_NS", DataType::String, 6).withLabel("Docto"),
        FieldDef("SERIE_NS", DataType::String, 2).withLabel("Serie"),
        FieldDef("EMISSAO_NS", DataType::DateTime).withLabel(Win1252("Emissão")).withFormat(FormatoData),
        Decimal2("VRMERC_NS").withLabel("Valor Mercadoria"),
        Decimal2("TOT_PRREAL_ITENSNS").withLabel(Win1252("Tot. Preço Real")),
        Decimal2("DIFERENCA").withLabel(Win1252("Diferença")),
        Decimal2("VALOR_NOTA"),
        Decimal2("TOT_DESCTO_SUFRAMA_NOTA"),
        FieldDef("PRAZO_NF_CONTAB", DataType::String, 100),
    };
    for (const auto& campo : campos) cdsNFVrDif.addField(campo);
    cdsNFVrDif.setProvider(&dspNFVrDif);
}

} // namespace fat
