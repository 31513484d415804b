#pragma once

namespace fat {

// How a long operation of the data module reports its progress; the billing window implements
// it (and processes its pending events at each step, so it stays responsive).
class TProgresso {
public:
    virtual ~TProgresso() = default;
    virtual void IniciarProgresso(int total) = 0;
    virtual void AvancarProgresso() = 0;
};

} // namespace fat
