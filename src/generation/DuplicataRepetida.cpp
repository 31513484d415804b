#include "generation/DuplicataRepetida.h"

#include "platform/core/Errors.h"
#include "platform/core/Win1252.h"

namespace fat::generation {

void ExigirDuplicataNova(data::ClientDataSet& duplicatas, std::int64_t filial, const std::string& numero,
                         const std::string& serie, const std::string& ordem) {
    if (!duplicatas.locate("FILIAL_DP;NUM_DP;SERIE_NOTA_DP;ORD_DP",
                           {Value::fromInteger(filial), Value::fromString(numero), Value::fromString(serie),
                            Value::fromString(ordem)}))
        return;
    throw Error(Win1252("Duplicata repetida na gravação: filial ") + std::to_string(filial) + ", NF " + numero +
                Win1252(", série ") + serie + ", ordem " + ordem +
                Win1252(". Já existe nesta gravação uma duplicata com a mesma chave (cópia de duplicata existente e "
                        "duplicata gerada da mesma nota, ou notas com o mesmo número e série na mesma filial "
                        "derivada). Nada foi gravado."));
}

} // namespace fat::generation
