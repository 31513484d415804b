// After the last order of the current pending invoice: spreads the invoice's target value over
// its item copies, sets each copy's discount or expense share and item commissions, and sums the
// commissions into the invoice.
#include "datamodule/TDM.h"

#include "platform/core/Format.h"
#include "platform/data/DataSetGuards.h"

#include <string>

namespace fat {

void TDM::TotalizarItensNota() {
    data::Field& valorPed = cdsGera.fieldByName("VALORPED");
    const Amount valorNota = cdsGera.fieldByName("VALOR_NS").asAmount();
    Amount CF, CR;
    {
        // R13: the target.
        // Only the copies of this invoice (branch, number and series) while the block lives.
        data::TemporaryFilter copias(cdsItens, "FILIAL_NF = " + std::to_string(cdsGera.fieldByName("FILIAL_NS").asInteger()) +
                                                   " AND DOCTO_SA = " + QuotedStr(cdsGera.fieldByName("DOCTO_NS").asString()) +
                                                   " AND SERIE_SA = " + QuotedStr(cdsGera.fieldByName("SERIE_NS").asString()));
        data::Field& real = cdsItens.fieldByName("PRREAL_SA");
        double S = 0;
        for (cdsItens.first(); !cdsItens.eof(); cdsItens.next()) S += real.asFloat();
        if (S == 0) return;
        const Amount pedido = valorPed.asAmount();
        const Amount T = GeraParcial(valorNota, pedido) ? pedido - valorNota : pedido;
        const double D = T.toDouble() - S;

        // R14, R15: each copy's share of the target, rounded to cents, and its commissions.
        Amount R;
        data::Field& comisRec = cdsItens.fieldByName("VRCOMIS_ITEM_SA");
        data::Field& comisFat = cdsItens.fieldByName("VRCOMIS_ITEM_FAT_SA");
        for (cdsItens.first(); !cdsItens.eof(); cdsItens.next()) {
            cdsItens.edit();
            const double w = real.asFloat() * 100 / S;
            const double novo = Arredondar(Amount::fromDouble(T.toDouble() * w / 100), 2);
            real.setAsFloat(novo);
            R += Amount::fromDouble(novo);
            if (D > 0) cdsItens.fieldByName("VRDESCTO_SA").setAsFloat(D * w / 100);
            else cdsItens.fieldByName("VRDESPESA_SA").setAsFloat(D < 0 ? -D * w / 100 : 0.0);
            // Only the copies priced with the unbilled difference carry item commissions.
            if (cdsItens.fieldByName("PRECO_BRUTO_SA").asFloat() != cdsItens.fieldByName("PRECO_SA").asFloat()) {
                comisRec.setAsFloat(Arredondar(
                    Amount::fromDouble(cdsItens.fieldByName("PERC_COMIS_SA").asFloat() * novo / 100), 2));
                comisFat.setAsFloat(Arredondar(
                    Amount::fromDouble(cdsItens.fieldByName("PERC_COMIS_FAT_SA").asFloat() * novo / 100), 2));
            }
            CF += comisFat.asAmount();
            CR += comisRec.asAmount();
            cdsItens.post();
        }

        // R16: the rounding remainder goes to the first copy.
        if (D != 0) {
            cdsItens.first();
            cdsItens.edit();
            real.setAsFloat((real.asAmount() + T - R).toDouble());
            cdsItens.post();
        }
    }
    // R17.
    cdsGera.fieldByName("VRCOMIS_ITEM_FAT").setAsFloat(CF.toDouble());
    cdsGera.fieldByName("VRCOMIS_ITEM_REC").setAsFloat(CR.toDouble());
}

} // namespace fat
