#include "platform/core/DateTime.h"
#include "platform/core/Errors.h"

#include <gtest/gtest.h>

using namespace fat;

TEST(DateTime, DaysCountFromTheEndOf1899) {
    struct Case { int y, m, d; double serial; };
    const Case cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1901, 1, 1, 367},
        {2000, 2, 29, 36585}, {2026, 12, 10, 46366}, {1899, 12, 29, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        const DateParts p = DecodeDateTime(c.serial);
        EXPECT_EQ(p.year, c.y);
        EXPECT_EQ(p.month, c.m);
        EXPECT_EQ(p.day, c.d);
    }
    EXPECT_THROW(EncodeDate(2026, 2, 29), ConversionError);
}

TEST(DateTime, DatabaseTimestampsKeepTheTimeOfDay) {
    const DateParts parts{2026, 12, 10, 13, 45, 30, 1234};
    const TDateTime t = EncodeDateTime(parts);
    const DbTimestamp db = ToDbTimestamp(t);
    EXPECT_EQ(db.date, 46366 + 15018);
    EXPECT_EQ(db.time, ((13u * 60 + 45) * 60 + 30) * 10000 + 1234);
    EXPECT_EQ(DecodeDateTime(FromDbTimestamp(db)), parts);
    // A value a hair before midnight rounds to the next day, not to 24:00.
    const DbTimestamp late = ToDbTimestamp(EncodeDate(2026, 1, 1) + 0.99999999999);
    EXPECT_EQ(late.date, static_cast<int>(EncodeDate(2026, 1, 2)) + 15018);
    EXPECT_EQ(late.time, 0u);
}

TEST(DateTime, WeekdaysAndToday) {
    EXPECT_EQ(DayOfTheWeek(EncodeDate(2026, 12, 12)), 6); // Saturday
    EXPECT_EQ(DayOfTheWeek(EncodeDate(2026, 12, 13)), 7); // Sunday
    EXPECT_EQ(DayOfTheWeek(EncodeDate(2026, 12, 14)), 1); // Monday
    SetTodayFunction([] { return EncodeDate(2026, 5, 4) + 0.75; });
    EXPECT_EQ(Today(), EncodeDate(2026, 5, 4));
    SetTodayFunction({});
    EXPECT_GT(Today(), EncodeDate(2020, 1, 1));
}
