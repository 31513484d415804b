#pragma once
#include <cstdint>
#include <functional>

namespace fat {

// Days since 30/12/1899 with the time of day as the fraction, as the rules count dates.
// Day zero doubles as "no date"; "a date after 0" is any positive value.
using TDateTime = double;

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int tenThousandths = 0; // of a second, the resolution of a database timestamp
    friend bool operator==(const DateParts&, const DateParts&) = default;
};

// Raises ConversionError for a day that does not exist.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeDateTime(const DateParts& parts);
// Rounds to the nearest ten-thousandth of a second, the resolution the database keeps.
DateParts DecodeDateTime(TDateTime value);
TDateTime DateOf(TDateTime value);
// Monday = 1 ... Sunday = 7.
int DayOfTheWeek(TDateTime value);
bool IsValidDate(int year, int month, int day);

// A timestamp as the database stores it: days since 17/11/1858 and ten-thousandths of a
// second since midnight.
struct DbTimestamp {
    std::int32_t date = 0;
    std::uint32_t time = 0;
};
DbTimestamp ToDbTimestamp(TDateTime value);
TDateTime FromDbTimestamp(DbTimestamp value);

// Today's local date without a time of day; tests replace the clock with SetTodayFunction.
TDateTime Today();
void SetTodayFunction(std::function<TDateTime()> today); // empty restores the real clock

} // namespace fat
