// The item copies of the invoice copy (the current cdsNF100 row): its own invoice's rows of
// cdsItens, numbered 1, 2, 3 ... in the order of cdsItens; a copy already in ITENSNS under that
// number is left alone.
#include "datamodule/TDM.h"

#include "platform/data/DataSetGuards.h"
#include "platform/core/Format.h"

namespace fat {

void TDM::CopiarItensNota() {
    const std::string docto = cdsNF100.fieldByName("DOCTO_NS").asString();
    const std::string serie = cdsNF100.fieldByName("SERIE_NS").asString();
    const TDateTime emissao = cdsNF100.fieldByName("EMISSAO_NS").asDateTime();
    // The invoice's own branch as well: invoices sharing a number and series in branches with the
    // same derived branch keep their items apart.
    const std::int64_t filialNota = cdsGera.fieldByName("FILIAL_NS").asInteger();

    if (sqlConsItensNs.lines().empty())
        sqlConsItensNs.setLines({"select FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA", "from ITENSNS", "where FILIAL_SA=:FILGERA",
                                 "and DOCTO_SA=:DOC", "and SERIE_SA=:SER", "and ITEM_SA=:IT"});

    data::TemporaryFilter filtro(cdsItens, "FILIAL_SA = " + std::to_string(FilGera) + " AND DOCTO_SA = " +
                                                      QuotedStr(docto) + " AND SERIE_SA = " + QuotedStr(serie) +
                                                      " AND FILIAL_NF = " + std::to_string(filialNota));
    std::vector<std::pair<data::Field*, const data::Field*>> campos;
    for (const data::Field* origem : cdsItens.fields()) {
        if (origem->calculated()) continue;
        if (data::Field* destino = cdsItensNS.findField(origem->name())) campos.emplace_back(destino, origem);
    }

    int k = 0;
    const data::Field& filial = cdsItens.fieldByName("FILIAL_SA");
    for (cdsItens.first(); !cdsItens.eof(); cdsItens.next()) {
        if (filial.asInteger() != FilGera) continue;
        ++k;
        sqlConsItensNs.paramByName("FILGERA").setAsInteger(FilGera);
        sqlConsItensNs.paramByName("DOC").setValue(cdsItens.fieldByName("DOCTO_SA").value());
        sqlConsItensNs.paramByName("SER").setAsString(serie);
        sqlConsItensNs.paramByName("IT").setAsInteger(k);
        sqlConsItensNs.open();
        const bool existe = !sqlConsItensNs.eof();
        sqlConsItensNs.close();
        if (existe) continue;

        cdsItensNS.append();
        for (const auto& [destino, origem] : campos)
            if (!origem->isNull()) destino->setValue(origem->value());
        cdsItensNS.fieldByName("DATA_SA").setAsDateTime(emissao);
        cdsItensNS.fieldByName("SERIE_SA").setAsString(serie);
        cdsItensNS.fieldByName("ITEM_SA").setAsInteger(k);
        cdsItensNS.post();
    }
}

} // namespace fat
