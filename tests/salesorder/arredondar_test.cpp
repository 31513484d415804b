#include "salesorder/ArredondarCasas.h"
#include "salesorder/ComporDesconto.h"

#include <gtest/gtest.h>

namespace {

struct CasoArredondar {
    double x;
    int casas;
    double esperado;
};

// Halves go away from zero, decided on 15 significant digits: 1.005 × 100 is
// 100.49999… and 0.285 × 100 is 28.49999… as floats and still round up.
const CasoArredondar CasosArredondar[] = {
    {2.675, 2, 2.68},  {-2.675, 2, -2.68},   {1.005, 2, 1.01},     {-1.005, 2, -1.01},
    {0.285, 2, 0.29},  {-0.285, 2, -0.29},   {66.665, 2, 66.67},   {1234.5675, 3, 1234.568},
    {0.125, 2, 0.13},  {-0.125, 2, -0.13},   {0.12499, 2, 0.12},   {-0.12499, 2, -0.12},
    {2.5, 0, 3},       {-2.5, 0, -3},        {0.5, 0, 1},          {-0.5, 0, -1},
    {0.49, 0, 0},      {33.3333, 2, 33.33},  {0.0049, 2, 0},       {-0.0049, 2, 0},
    {7, 2, 7},         {123456789.125, 2, 123456789.13},
};

TEST(ArredondarCasas, HalvesAwayFromZeroOnFifteenDigits) {
    for (const auto& c : CasosArredondar) {
        SCOPED_TRACE(testing::Message() << c.x << " to " << c.casas);
        EXPECT_DOUBLE_EQ(fat::ArredondarCasas(c.x, c.casas), c.esperado);
    }
}

struct CasoCompor {
    double d;
    double t;
    double esperado;
};

// d + round((100 − d) × t) / 100, the product rounded to a whole number.
const CasoCompor CasosCompor[] = {
    {10, 5, 14.5},    {10, 2.5, 12.25}, {0, 2.345, 2.35}, {0, 2.344, 2.34}, {10, 2.345, 12.11},
    {50, 0.01, 50.01}, {10, 0, 10},      {0, 0, 0},        {100, 5, 100},
};

TEST(ComporDesconto, ComposesTheOrderAndPriceTablePercentages) {
    for (const auto& c : CasosCompor) {
        SCOPED_TRACE(testing::Message() << c.d << " with " << c.t);
        EXPECT_DOUBLE_EQ(fat::ComporDesconto(c.d, c.t), c.esperado);
    }
}

} // namespace
