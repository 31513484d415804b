#include "billing/CopiarItensRegras.h"

#include "platform/core/Errors.h"
#include "salesorder/TPedVenda.h"

namespace fat::billing {

Amount Dividir(Amount valor, double quantidade) { return Amount::fromDouble(valor.toDouble() / quantidade); }

void ExigirQuantidade(double quantidade, const std::string& pedido, const std::string& item) {
    if (quantidade == 0) throw Error("Quantidade zero no item " + item + " do pedido " + pedido + ".");
}

void CarregarModelos(TDM& dm, const std::string& pedido) {
    dm.PedVendaBruto->CarregarPedido(pedido, true);
    dm.PedVendaLiquido->CarregarPedido(pedido, false);
}

void PrepararConsulta(sql::Query& consulta, const std::vector<std::string>& linhas, const std::string& pedido,
                      const std::string& nota, const std::string& serie, int filial) {
    consulta.close();
    if (consulta.lines() != linhas) consulta.setLines(linhas);
    consulta.paramByName("PED").setAsString(pedido);
    consulta.paramByName("NF").setAsString(nota);
    consulta.paramByName("SER").setAsString(serie);
    consulta.paramByName("FIL").setAsInteger(filial);
}

PrecosCopia CalcularPrecos(TDM& dm, const ValoresLinha& v) {
    PrecosCopia p;
    p.UB = Dividir(v.VB, v.Q);        // R1
    p.UD = Dividir(v.NB - v.NL, v.Q); // R2
    // R3: the copy carries the unbilled difference under partial billing, except for MIRCA.
    p.P = dm.NOME_EMPRESA != "MIRCA" && dm.GeraParcial(p.UD, p.UB) ? p.UD : p.UB;
    return p;
}

bool LocalizarCopia(TDM& dm, const std::string& campos, std::vector<Value> valores, Amount preco) {
    valores.push_back(Value::fromFloat(preco.toDouble()));
    return dm.cdsItens.locate(campos, valores, data::LocateOptions{.caseInsensitive = true});
}

void NovaCopia(TDM& dm, int item, const std::string& nota, const std::string& serie, int filial,
               TDateTime emissao, const std::string& unidade, const PrecosCopia& precos) {
    data::ClientDataSet& c = dm.cdsItens;
    c.append();
    c.fieldByName("FILIAL_NF").setAsInteger(filial);
    c.fieldByName("FILIAL_SA").setAsInteger(dm.FilGera);
    c.fieldByName("DOCTO_SA").setAsString(nota);
    c.fieldByName("SERIE_SA").setAsString(serie);
    c.fieldByName("ITEM_SA").setAsInteger(item);
    c.fieldByName("DATA_SA").setAsDateTime(DateOf(emissao));
    c.fieldByName("UN_SA").setAsString(unidade);
    c.fieldByName("PRECO_SA").setAsFloat(precos.P.toDouble());
    c.fieldByName("PRECO_BRUTO_SA").setAsFloat(precos.UB.toDouble());
}

void DefinirComissoes(data::ClientDataSet& copias, const sql::Query& linha) {
    const double perc = linha.fieldByName("PERC_COMIS_IT").asFloat();
    if (linha.fieldByName("TP_COMIS_IT").asString() == "F") {
        copias.fieldByName("PERC_COMIS_SA").setAsFloat(0);
        copias.fieldByName("PERC_COMIS_FAT_SA").setAsFloat(perc);
    } else {
        copias.fieldByName("PERC_COMIS_SA").setAsFloat(perc);
        copias.fieldByName("PERC_COMIS_FAT_SA").setAsFloat(linha.fieldByName("PERC_COMIS_FAT_IT").asFloat());
    }
    copias.fieldByName("TP_COMIS_SA").setAsString("R");
}

void SomarValorReal(TDM& dm, const ValoresLinha& v) {
    data::Field& real = dm.cdsItens.fieldByName("PRREAL_SA");
    // R8: under partial billing the copy carries the part the invoice did not bill.
    const Amount x = dm.GeraParcial(v.NL, v.NB) ? v.NB - v.NL : v.NB;
    real.setAsFloat((real.asAmount() + x).toDouble());
    dm.cdsItens.fieldByName("VRDESCTO_SA").setAsFloat(0); // R9
}

Amount FecharPedido(TDM& dm, Amount somaBruta, const std::string& nota) {
    data::ClientDataSet& g = dm.cdsGera;
    data::Field& valorPed = g.fieldByName("VALORPED");
    // R11: the order's gross value on this invoice less the discount of its billed items.
    const Amount desconto = Amount::fromDouble(dm.PedVendaBruto->ValorDescontoNota(nota));
    Amount valor = valorPed.asAmount() + somaBruta - desconto;
    for (const char* campo : {"VRCOMIS_ITEM_FAT", "VRCOMIS_ITEM_REC"})
        g.fieldByName(campo).setAsFloat(g.fieldByName(campo).asFloat());

    // R12: the invoice's tax discounts come off once; the fields are then 0.
    if (dm.Parametros.SUF_DESCTO_SUFRAMA != "N") {
        for (const char* campo : {"VRDESCTOSUFRAMA_NS", "VRDESCTOPIS_NS", "VRDESCTOCOFINS_NS"}) {
            valor -= g.fieldByName(campo).asAmount();
            g.fieldByName(campo).setAsAmount(Amount());
        }
    }
    valorPed.setAsFloat(valor.toDouble());
    return valor;
}

ConsultaAberta::~ConsultaAberta() {
    try {
        consulta_.close();
    } catch (...) {
    }
}

} // namespace fat::billing
