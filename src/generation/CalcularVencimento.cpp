// The due date of an instalment: the base date plus its days, moved off the weekend to the
// Monday when DUP_VENCIMENTO_DIAS_UTEIS asks for working days (holidays are not considered).
#include "datamodule/TDM.h"

namespace fat {

TDateTime TDM::CalcularVencimento(int dias, TDateTime base) {
    TDateTime vencimento = base + dias;
    if (Parametros.VencimentoDiasUteis) {
        const int diaDaSemana = DayOfTheWeek(vencimento);
        if (diaDaSemana == 7) vencimento += 1;      // Sunday
        else if (diaDaSemana == 6) vencimento += 2; // Saturday
    }
    return vencimento;
}

} // namespace fat
