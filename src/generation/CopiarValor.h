#pragma once
#include "platform/core/Value.h"
#include "platform/data/Field.h"

namespace fat::generation {

// Copies a value into a buffer's column by the column's type: a text as text, a date or
// timestamp as a timestamp, an exact decimal through a double-precision number, anything else
// as it is.
void CopiarValor(data::Field& destino, const Value& valor);

} // namespace fat::generation
