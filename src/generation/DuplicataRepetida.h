#pragma once
#include "platform/data/ClientDataSet.h"

#include <string>

namespace fat::generation {

// DUPLICATAS is keyed by branch, number, series and order mark. Before a receivable is added to
// the buffer: raises a clear error when the buffer already holds one with the same key (a copy
// of an existing receivable and a generated one of the same invoice, or two invoices whose
// copies share the derived branch, number and series), so that the save ends and rolls back
// instead of failing half-way through the apply.
void ExigirDuplicataNova(data::ClientDataSet& duplicatas, std::int64_t filial, const std::string& numero,
                         const std::string& serie, const std::string& ordem);

} // namespace fat::generation
