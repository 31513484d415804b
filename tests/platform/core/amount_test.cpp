#include "platform/core/Amount.h"
#include "platform/core/Errors.h"

#include <gtest/gtest.h>

#include <limits>

using fat::Amount;

TEST(Amount, FromDoubleRoundsTiesToEven) {
    struct Case { double in; std::int64_t raw; };
    const Case cases[] = {
        {0.00005, 0},      // 0.5 ten-thousandths -> even 0
        {0.00035, 4},      // 3.5 -> 4
        {0.00025, 2},      // 2.5 -> 2
        {0.12345, 1234},   // 1234.5 -> 1234
        {0.12355, 1236},   // 1235.5 -> 1236
        {0.00015, 1},      // the product is 1.4999999999999998: no decimal rescue here
        {-0.00025, -2},
        {-0.01, -100},
        {-0.99, -9900},
        {-1.00, -10000},
        {1234567.8912, 12345678912},
        {0.1 + 0.2, 3000},
    };
    for (const auto& c : cases) EXPECT_EQ(Amount::fromDouble(c.in).raw(), c.raw) << c.in;
}

TEST(Amount, RejectsValuesThatCannotBeAnAmount) {
    EXPECT_THROW(Amount::fromDouble(std::numeric_limits<double>::quiet_NaN()), fat::ConversionError);
    EXPECT_THROW(Amount::fromDouble(1e30), fat::ConversionError);
    EXPECT_THROW(Amount::fromRaw(std::numeric_limits<std::int64_t>::max()) + Amount::fromRaw(1),
                 fat::ConversionError);
}

TEST(Amount, DecimalConversionsAreExact) {
    EXPECT_EQ(Amount::fromDecimal(fat::Decimal(-99, 2)).raw(), -9900);
    EXPECT_EQ(Amount::fromDecimal(fat::Decimal::parse("1234567890123.45")).raw(), 12345678901234500);
    EXPECT_EQ(Amount::fromRaw(-1).toString(), "-0.0001");
    EXPECT_EQ(Amount::fromRaw(12345).toDecimal(2).toString(), "1.23");
    EXPECT_EQ(Amount::fromRaw(12350).toDecimal(2).toString(), "1.24"); // halves away from zero
    EXPECT_EQ(Amount::fromRaw(-12350).toDecimal(2).toString(), "-1.24");
}
