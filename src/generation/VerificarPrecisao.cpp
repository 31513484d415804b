#include "generation/VerificarPrecisao.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/core/Win1252.h"

#include <vector>

namespace fat::generation {
namespace {

struct Limite {
    const data::Field* campo;
    int precisao;
    int escala;
    std::int64_t maximo; // exclusive bound of the unscaled value
};

std::string ChaveDaLinha(const std::vector<const data::Field*>& chave) {
    std::string texto;
    for (const data::Field* f : chave) texto += (texto.empty() ? "" : ", ") + f->name() + " " + f->asString();
    return texto;
}

} // namespace

void VerificarPrecisao(sql::Connection& conexao, data::ClientDataSet& buffer, const std::string& tabela) {
    std::vector<Limite> limites;
    for (const auto& coluna : conexao.tableColumns(tabela)) {
        if (coluna.type != DataType::Decimal || coluna.precision <= 0 || coluna.precision >= 19) continue;
        if (const data::Field* campo = buffer.findField(coluna.name))
            limites.push_back({campo, coluna.precision, coluna.scale, pow10i(coluna.precision)});
    }
    if (limites.empty() || buffer.isEmpty()) return;
    std::vector<const data::Field*> chave;
    for (const auto& nome : conexao.primaryKey(tabela))
        if (const data::Field* campo = buffer.findField(nome)) chave.push_back(campo);

    for (buffer.first(); !buffer.eof(); buffer.next()) {
        for (const Limite& l : limites) {
            if (l.campo->isNull()) continue;
            const Decimal valor = l.campo->value().asDecimal(l.escala);
            if (valor.unscaled() < l.maximo && valor.unscaled() > -l.maximo) continue;
            throw Error(Win1252("Valor fora da faixa da coluna ") + tabela + "." + l.campo->name() + " (NUMERIC(" +
                        std::to_string(l.precisao) + "," + std::to_string(l.escala) + ")): " + valor.toString() +
                        " (" + ChaveDaLinha(chave) + ")");
        }
    }
}

} // namespace fat::generation
