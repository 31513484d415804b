// Reads a term text in the plan form back: the count in characters 1 and 2 and the k-th day
// count in the three characters from position 4k, each from 0 to 400.
#include "datamodule/TDM.h"

#include "platform/core/Format.h"

namespace fat {

int TDM::LerPrazoPedido(const std::string& prazo, std::string& dias) {
    dias.clear();
    if (prazo.empty()) return 0;
    int parcelas = StrToIntDef(prazo.substr(0, 2), 0);
    if (parcelas > 50 || parcelas < 0) parcelas = 0;
    for (int k = 1; k <= parcelas; ++k) {
        const std::size_t inicio = static_cast<std::size_t>(4 * k - 1);
        const int dia = inicio < prazo.size() ? StrToIntDef(prazo.substr(inicio, 3), -1) : -1;
        if (dia < 0 || dia > 400) {
            dias.clear();
            return 0;
        }
        if (!dias.empty()) dias += "/";
        dias += FormatFloat("000", dia);
    }
    return parcelas;
}

} // namespace fat
