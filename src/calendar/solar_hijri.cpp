#include "calendar/solar_hijri.h"

QString PersianDateText(const QDate&, int)
{
    return {};
}

std::optional<PersianDate> DaysToPersianDate(qint64)
{
    return std::nullopt;
}

bool IsPersianLeapYear(int)
{
    return false;
}
