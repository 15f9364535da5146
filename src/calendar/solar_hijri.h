#pragma once
// Solar Hijri (Persian) dates: arithmetic conversion from a Gregorian date, with the 32-year
// leap rule anchored at 1309, and the four Persian date texts.
#include <QDate>
#include <QString>

#include <optional>

struct PersianDate
{
    int year = 0;
    int month = 0;
    int day = 0;
};

// Style 0 "1388/11/07", 1 day month-name year, 2 weekday d/m/y, 3 weekday  d  month-name  year;
// an empty text for any other style and for dates before 1332/01/01 (21 March 1953).
QString PersianDateText(const QDate& date, int style = 0);
// Day count from 21 March 1953 (= 1332/01/01) to a Persian date, peeling whole years from 1332;
// no value for a negative count (or one whose year would not fit an int).
std::optional<PersianDate> DaysToPersianDate(qint64 dayCount);
// 32-year blocks counted from 1309: with k = year - 1309, q = k / 32 and r = k % 32 (truncated),
// a leap year when r - q is divisible by 4. Makes both 1436 and 1437 leap years.
bool IsPersianLeapYear(int year);

// Reads a style-0 date text ("1388/11/07": four-digit year, two-digit month and day; ASCII,
// Persian or Arabic-Indic digits) into a Persian date; no value for any other text or a day
// that does not exist (month 1-12, day up to 31 in months 1-6, 30 in 7-11, 29 or 30 in 12 by
// the leap rule).
std::optional<PersianDate> ReadPersianDateText(const QString& text);
// The Gregorian date of a Persian date; an invalid QDate for dates before 1332/01/01 or days
// that do not exist.
QDate GregorianFromPersian(const PersianDate& date);
