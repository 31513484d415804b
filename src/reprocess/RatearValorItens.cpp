// The recomputed value of the current copy of cdsNFVrDif and its spreading over the copy's new
// item copies: each row's share of the value rounded to cents, its share of the difference as
// discount or expense, its commissions, and the rounding remainder on the first row.
#include "datamodule/TDM.h"

#include "platform/data/DataSetGuards.h"

namespace fat {

void TDM::RatearValorItens() {
    const data::ClientDataSet& copia = cdsNFVrDif;
    data::ClientDataSet& c = cdsItensNS;
    data::Field& real = c.fieldByName("PRREAL_SA");
    double S = 0;
    for (c.first(); !c.eof(); c.next()) S += real.asFloat();

    const double valorNota = copia.fieldByName("VALOR_NOTA").asFloat();
    const bool parcial =
        GeraParcialReprocessa(Amount::fromDouble(valorNota), TotalBruto, copia.fieldByName("PRAZO_NF_CONTAB").asString());
    double novo = static_cast<double>(TotalBruto.raw()) - static_cast<double>(TotalDesconto.raw());
    if (Parametros.SUF_DESCTO_SUFRAMA != "N") novo -= copia.fieldByName("TOT_DESCTO_SUFRAMA_NOTA").asFloat() * 10000;
    if (parcial) novo -= valorNota * 10000;
    NovoValor = Amount::fromRawDouble(novo);

    // Real values that sum to nothing give no shares: the rows keep their values.
    if (S == 0) return;
    const double D = NovoValor.toDouble() - S;
    Amount R;
    data::PendingEditCancel edicao(c);
    for (c.first(); !c.eof(); c.next()) {
        c.edit();
        const double pct = real.asFloat() * 100 / S;
        const double novoReal = Arredondar(Amount::fromDouble(NovoValor.toDouble() * pct / 100), 2);
        real.setAsFloat(novoReal);
        R += Amount::fromDouble(novoReal);
        if (D > 0) c.fieldByName("VRDESCTO_SA").setAsFloat(D * pct / 100);
        else c.fieldByName("VRDESPESA_SA").setAsFloat(D < 0 ? -D * pct / 100 : 0.0);
        // Only the copies priced with the unbilled difference carry item commissions.
        if (c.fieldByName("PRECO_BRUTO_SA").asFloat() != c.fieldByName("PRECO_SA").asFloat()) {
            c.fieldByName("VRCOMIS_ITEM_SA")
                .setAsFloat(Arredondar(Amount::fromDouble(c.fieldByName("PERC_COMIS_SA").asFloat() * novoReal / 100), 2));
            c.fieldByName("VRCOMIS_ITEM_FAT_SA")
                .setAsFloat(
                    Arredondar(Amount::fromDouble(c.fieldByName("PERC_COMIS_FAT_SA").asFloat() * novoReal / 100), 2));
        }
        c.post();
    }
    if (NovoValor != R) {
        c.first();
        c.edit();
        real.setAsFloat((real.asAmount() + NovoValor - R).toDouble());
        c.post();
    }
}

} // namespace fat
