#include "platform/core/Errors.h"
#include "platform/core/Value.h"

#include <gtest/gtest.h>

using namespace fat;

TEST(Value, NullReadsAsEmptyZeroAndFalse) {
    const Value v;
    EXPECT_TRUE(v.isNull());
    EXPECT_EQ(v.asString(), "");
    EXPECT_EQ(v.asInteger(), 0);
    EXPECT_EQ(v.asFloat(), 0);
    EXPECT_FALSE(v.asBoolean());
    EXPECT_EQ(v.asDateTime(), 0);
}

TEST(Value, ConversionsBetweenKinds) {
    EXPECT_EQ(Value::fromString("12").convertedTo(DataType::Integer), Value::fromInteger(12));
    EXPECT_EQ(Value::fromDecimal(Decimal(-99, 2)).asString(), "-0,99");
    EXPECT_EQ(Value::fromDecimal(Decimal(10000, 2)).asString(), "100");
    EXPECT_EQ(Value::fromString("-0,99").asDecimal(2), Decimal(-99, 2));
    EXPECT_EQ(Value::fromFloat(2.675).asDecimal(2), Decimal(268, 2));
    EXPECT_EQ(Value::fromFloat(2.5).asInteger(), 2); // ties to even, as the platform rounds
    EXPECT_EQ(Value::fromString("01/01/1901").asDateTime(), EncodeDate(1901, 1, 1));
    EXPECT_EQ(Value::fromDateTime(EncodeDate(2026, 1, 2)).asString(), "02/01/2026");
    EXPECT_EQ(Value::fromDecimal(Decimal::parse("1234567890123.45")).asDecimal(2).toString(), "1234567890123.45");
    EXPECT_TRUE(Value::fromString("S").asBoolean());
}

TEST(Value, ImpossibleConversionsSayWhichValue) {
    const std::pair<Value, DataType> cases[] = {
        {Value::fromString("abc"), DataType::Integer},
        {Value::fromString("1,2,3"), DataType::Float},
        {Value::fromString("32/01/2026"), DataType::DateTime},
        {Value::fromString("x1"), DataType::Decimal},
    };
    for (const auto& [value, type] : cases) {
        try {
            value.convertedTo(type, 2);
            FAIL() << value.asString();
        } catch (const ConversionError& e) {
            EXPECT_NE(std::string(e.what()).find(value.asString()), std::string::npos) << e.what();
        }
    }
}
