#pragma once
#include "platform/data/ClientDataSet.h"
#include "platform/sql/Connection.h"

#include <string>

namespace fat::generation {

// Checks every exact decimal of the buffer's rows against the precision its table declares
// (NUMERIC(15,2) holds at most 13 whole digits). The engine only checks the width of the stored
// integer, so a value too large for the column would otherwise be written as it is. Raises an
// Error naming the table, the column, the value and the row's key.
void VerificarPrecisao(sql::Connection& conexao, data::ClientDataSet& buffer, const std::string& tabela);

} // namespace fat::generation
