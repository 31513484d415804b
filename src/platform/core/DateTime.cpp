#include "platform/core/DateTime.h"

#include "platform/core/Errors.h"

#include <cmath>
#include <ctime>
#include <string>

namespace fat {
namespace {

// Day 0 of TDateTime (30/12/1899) is day 15018 of the database's calendar (17/11/1858).
constexpr std::int64_t DbEpochOffset = 15018;
constexpr std::int64_t TicksPerDay = 86400LL * 10000;

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Days from 01/01/0001 (proleptic Gregorian), day 1 being that date.
std::int64_t SerialDay(int y, int m, int d) {
    const std::int64_t yy = y - 1;
    std::int64_t n = yy * 365 + yy / 4 - yy / 100 + yy / 400;
    for (int i = 1; i < m; ++i) n += DaysInMonth(y, i);
    return n + d;
}

const std::int64_t DelphiEpoch = SerialDay(1899, 12, 30);

void FromSerialDay(std::int64_t serial, int& y, int& m, int& d) {
    // 400-year cycles have 146097 days.
    std::int64_t n = serial - 1;
    std::int64_t y400 = n / 146097; n %= 146097;
    std::int64_t y100 = n / 36524; if (y100 == 4) y100 = 3; n -= y100 * 36524;
    std::int64_t y4 = n / 1461; n %= 1461;
    std::int64_t y1 = n / 365; if (y1 == 4) y1 = 3; n -= y1 * 365;
    y = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
    m = 1;
    while (n >= DaysInMonth(y, m)) n -= DaysInMonth(y, m++);
    d = static_cast<int>(n) + 1;
}

// TDateTime counts the whole days with a sign and the time of day as a positive fraction
// (-1.25 is 29/12/1899 06:00); this splits a value into those two parts as ticks.
void Split(TDateTime value, std::int64_t& day, std::int64_t& ticks) {
    if (!std::isfinite(value) || std::fabs(value) > 3e6)
        throw ConversionError("invalid date value: " + std::to_string(value));
    day = static_cast<std::int64_t>(std::trunc(value));
    ticks = std::llround(std::fabs(value - static_cast<double>(day)) * TicksPerDay);
    if (ticks >= TicksPerDay) { ticks -= TicksPerDay; day += value < 0 ? -1 : 1; }
}

TDateTime Join(std::int64_t day, std::int64_t ticks) {
    const double fraction = static_cast<double>(ticks) / TicksPerDay;
    return day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
}

std::function<TDateTime()>& TodayHook() {
    static std::function<TDateTime()> hook;
    return hook;
}

} // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day))
        throw ConversionError("invalid date: " + std::to_string(day) + "/" + std::to_string(month) +
                              "/" + std::to_string(year));
    return static_cast<double>(SerialDay(year, month, day) - DelphiEpoch);
}

TDateTime EncodeDateTime(const DateParts& p) {
    if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 ||
        p.second > 59 || p.tenThousandths < 0 || p.tenThousandths > 9999)
        throw ConversionError("invalid time of day");
    const auto day = static_cast<std::int64_t>(EncodeDate(p.year, p.month, p.day));
    const std::int64_t ticks = ((p.hour * 60LL + p.minute) * 60 + p.second) * 10000 + p.tenThousandths;
    return Join(day, ticks);
}

DateParts DecodeDateTime(TDateTime value) {
    std::int64_t day, ticks;
    Split(value, day, ticks);
    DateParts p;
    FromSerialDay(day + DelphiEpoch, p.year, p.month, p.day);
    p.tenThousandths = static_cast<int>(ticks % 10000); ticks /= 10000;
    p.second = static_cast<int>(ticks % 60); ticks /= 60;
    p.minute = static_cast<int>(ticks % 60);
    p.hour = static_cast<int>(ticks / 60);
    return p;
}

TDateTime DateOf(TDateTime value) {
    std::int64_t day, ticks;
    Split(value, day, ticks);
    return static_cast<double>(day);
}

int DayOfTheWeek(TDateTime value) {
    // 30/12/1899 was a Saturday (6).
    const auto day = static_cast<std::int64_t>(DateOf(value));
    return static_cast<int>(((day + 5) % 7 + 7) % 7) + 1;
}

DbTimestamp ToDbTimestamp(TDateTime value) {
    std::int64_t day, ticks;
    Split(value, day, ticks);
    return {static_cast<std::int32_t>(day + DbEpochOffset), static_cast<std::uint32_t>(ticks)};
}

TDateTime FromDbTimestamp(DbTimestamp value) {
    return Join(static_cast<std::int64_t>(value.date) - DbEpochOffset, value.time);
}

TDateTime Today() {
    if (TodayHook()) return DateOf(TodayHook()());
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void SetTodayFunction(std::function<TDateTime()> today) { TodayHook() = std::move(today); }

} // namespace fat
