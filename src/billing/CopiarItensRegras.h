#pragma once
// The copy rules that the two ways of copying an order's items share: from order items
// (CopiarItensPV) and from size-grid rows (CopiarItensPVGrade).
#include "datamodule/TDM.h"

#include <string>
#include <vector>

namespace fat::billing {

// One source row as the rules see it: its quantity Q and, as amounts, its gross value VB, its
// net value at gross prices NB and its net value at the invoice's prices NL.
struct ValoresLinha {
    double Q = 0;
    Amount VB;
    Amount NB;
    Amount NL;
};

// The unit prices of a copy: gross UB, unbilled difference UD and the copy's own price P.
struct PrecosCopia {
    Amount UB;
    Amount UD;
    Amount P;
};

// amount(4) of an amount divided by a quantity, the quotient taken in floating point.
Amount Dividir(Amount valor, double quantidade);

// A row without quantity would divide by zero: raises the error that stops the load, naming
// the order and the item.
void ExigirQuantidade(double quantidade, const std::string& pedido, const std::string& item);

// Loads the order into both order models: gross prices, then the invoice's prices.
void CarregarModelos(TDM& dm, const std::string& pedido);

// Gives the query its text only when it has another one (so its prepared statement is kept)
// and binds the order, invoice number, series and branch.
void PrepararConsulta(sql::Query& consulta, const std::vector<std::string>& linhas, const std::string& pedido,
                      const std::string& nota, const std::string& serie, int filial);

// R1 to R3.
PrecosCopia CalcularPrecos(TDM& dm, const ValoresLinha& v);

// R4: positions cdsItens on the copy that holds these key values, if any. The key fields start
// with the invoice's branch, number and series; texts are compared without regard to case and
// the price at four decimals (a copy's price is always stored as a four-decimal amount).
bool LocalizarCopia(TDM& dm, const std::string& campos, std::vector<Value> valores, Amount preco);

// R5, the columns every new copy gets; cdsItens is left in insert state.
void NovaCopia(TDM& dm, int item, const std::string& nota, const std::string& serie, int filial,
               TDateTime emissao, const std::string& unidade, const PrecosCopia& precos);

// R6, the commission rates of a new copy, from the source row.
void DefinirComissoes(data::ClientDataSet& copias, const sql::Query& linha);

// R8 and R9 on the copy being edited.
void SomarValorReal(TDM& dm, const ValoresLinha& v);

// R11 and R12 after the rows of one order; the result is the new VALORPED.
Amount FecharPedido(TDM& dm, Amount somaBruta, const std::string& nota);

// Closes the query when the walk over its rows ends, also on failure.
class ConsultaAberta {
public:
    explicit ConsultaAberta(sql::Query& consulta) : consulta_(consulta) {}
    ~ConsultaAberta();
    ConsultaAberta(const ConsultaAberta&) = delete;
    ConsultaAberta& operator=(const ConsultaAberta&) = delete;

private:
    sql::Query& consulta_;
};

} // namespace fat::billing
