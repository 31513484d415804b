#include "generation/CopiarValor.h"

namespace fat::generation {

void CopiarValor(data::Field& destino, const Value& valor) {
    switch (destino.dataType()) {
    case DataType::String:
    case DataType::FixedChar:
    case DataType::Memo:
        destino.setAsString(valor.asString());
        break;
    case DataType::Date:
    case DataType::Time:
    case DataType::DateTime:
        destino.setAsDateTime(valor.asDateTime());
        break;
    case DataType::Decimal:
        destino.setAsFloat(valor.asFloat());
        break;
    default:
        destino.setValue(valor);
        break;
    }
}

} // namespace fat::generation
