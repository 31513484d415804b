// The billing's rounding helper and the small rules the load and the save share.
#include "datamodule/TDM.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"

#include <array>

namespace fat {

double TDM::Arredondar(Amount valor, int casas) {
    // The amount's digits rounded to n decimals, halves away from zero, as formatting with
    // "##0." and n zeros and reading the text back does. An amount has four decimals, so from
    // four on nothing changes; below, the rounding is exact on the integer count.
    if (casas < 1 || casas > 37) throw Error("Arredondar: casas decimais fora de 1 a 37: " + std::to_string(casas));
    if (casas >= 4) return valor.toDouble();
    return Amount::fromDecimal(Decimal(valor.raw(), 4).rescaled(casas)).toDouble();
}

TDateTime TDM::DataNula() { return StrToDate("01/01/1901"); }

bool TDM::SituacaoBaixaAutomatica(const std::string& situacao) {
    static const std::array<const char*, 8> situacoes = {"14", "17", "51", "52", "1", "2", "01", "03"};
    for (const char* s : situacoes)
        if (situacao == s) return true;
    return false;
}

std::string TDM::CompletarDocumento(const std::string& texto) {
    if (Trim(texto).empty() || texto.size() >= 6) return texto;
    return std::string(6 - texto.size(), '0') + texto;
}

int TDM::FilialDerivada(int filial) { return filial < 10 ? filial * 100 : filial * 10; }

} // namespace fat
