#pragma once
#include "platform/core/Value.h"

#include <vector>

namespace fat {

namespace sql { class Connection; }

// The price table component of the data module: the connection (not owned) and an
// in-memory table it owns. It starts empty and nothing in this program fills it.
class TTabPreco {
public:
    using Linha = std::vector<Value>;

    explicit TTabPreco(sql::Connection& connection) : Connection_(connection) {}
    TTabPreco(const TTabPreco&) = delete;
    TTabPreco& operator=(const TTabPreco&) = delete;

    sql::Connection& Conexao() const { return Connection_; }
    const std::vector<Linha>& Tabela() const { return Tabela_; }

private:
    sql::Connection& Connection_;
    std::vector<Linha> Tabela_;
};

} // namespace fat
