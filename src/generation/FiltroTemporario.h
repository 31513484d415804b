#pragma once
#include "platform/data/ClientDataSet.h"

#include <string>

namespace fat::generation {

// Shows only the rows of a filter text while it lives; the filter is switched off when it ends,
// also on failure, and a row left half-edited is cancelled.
class FiltroTemporario {
public:
    FiltroTemporario(data::ClientDataSet& dataSet, const std::string& filtro) : dataSet_(dataSet) {
        dataSet_.setFiltered(false);
        dataSet_.setFilter(filtro);
        dataSet_.setFiltered(true);
    }
    ~FiltroTemporario() {
        try {
            const auto estado = dataSet_.state();
            if (estado == data::DataSetState::Edit || estado == data::DataSetState::Insert) dataSet_.cancel();
            dataSet_.setFiltered(false);
        } catch (...) {
        }
    }
    FiltroTemporario(const FiltroTemporario&) = delete;
    FiltroTemporario& operator=(const FiltroTemporario&) = delete;

private:
    data::ClientDataSet& dataSet_;
};

} // namespace fat::generation
