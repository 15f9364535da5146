#include "calendar/solar_hijri.h"

#include <array>
#include <limits>

namespace {

// Month names, Farvardin first.
constexpr std::array<const char16_t*, 12> kMonthNames = {
    u"فروردين",
    u"ارديبهشت",
    u"خرداد",
    u"تير",
    u"مرداد",
    u"شهريور",
    u"مهر",
    u"آبان",
    u"آذر",
    u"دي",
    u"بهمن",
    u"اسفند",
};

// Weekday names, Sunday first.
constexpr std::array<const char16_t*, 7> kWeekdayNames = {
    u"يکشنبه",
    u"دوشنبه",
    u"سه شنبه",
    u"چهارشنبه",
    u"پنجشنبه",
    u"جمعه",
    u"شنبه",
};

constexpr int kBaseYear = 1332;
constexpr int kLeapAnchor = 1309;
// Day index 0..185 lies in the six 31-day months.
constexpr int kFirstHalfDays = 6 * 31;
// The leap rule repeats every 4 blocks of 32 years; such a run always holds 32 leap years.
constexpr int kCycleYears = 128;
constexpr qint64 kCycleDays = kCycleYears * 365 + 32;

QDate epoch()
{
    return QDate(1953, 3, 21);
}

QString monthName(int month)
{
    return QString::fromUtf16(kMonthNames.at(static_cast<std::size_t>(month - 1)));
}

QString weekdayName(const QDate& date)
{
    // QDate counts Monday = 1 ... Sunday = 7; the table starts with Sunday.
    return QString::fromUtf16(kWeekdayNames.at(static_cast<std::size_t>(date.dayOfWeek() % 7)));
}

} // namespace

bool IsPersianLeapYear(int year)
{
    // Both divisions truncate toward zero, as C++ integer division does.
    const qint64 k = qint64{year} - kLeapAnchor;
    const qint64 q = k / 32;
    const qint64 r = k % 32;
    return (r - q) % 4 == 0;
}

std::optional<PersianDate> DaysToPersianDate(qint64 dayCount)
{
    if (dayCount < 0)
        return std::nullopt;
    qint64 remaining = dayCount;
    qint64 year = kBaseYear;
    // Whole 128-year runs are skipped at once so absurdly far dates cannot stall the loop;
    // the result is the same as peeling those years one by one.
    const qint64 cycles = remaining / kCycleDays;
    if (cycles > (std::numeric_limits<int>::max() - kBaseYear - kCycleYears) / kCycleYears)
        return std::nullopt;
    remaining -= cycles * kCycleDays;
    year += cycles * kCycleYears;
    for (;;) {
        const int length = IsPersianLeapYear(static_cast<int>(year)) ? 366 : 365;
        if (remaining - length < 0)
            break;
        remaining -= length;
        ++year;
    }

    const int dayOfYear = static_cast<int>(remaining);
    PersianDate result;
    result.year = static_cast<int>(year);
    if (dayOfYear < kFirstHalfDays) {
        result.month = dayOfYear / 31 + 1;
        result.day = dayOfYear % 31 + 1;
    } else {
        const int rest = dayOfYear - kFirstHalfDays;
        result.month = rest / 30 + 7;
        result.day = rest % 30 + 1;
    }
    return result;
}

QString PersianDateText(const QDate& date, int style)
{
    if (style < 0 || style > 3 || !date.isValid())
        return {};
    const std::optional<PersianDate> persian = DaysToPersianDate(epoch().daysTo(date));
    if (!persian)
        return {};
    const QString year = QString::number(persian->year);
    const QString month = QString::number(persian->month);
    const QString day = QString::number(persian->day);
    const QLatin1StringView kTwoBlanks("  ");
    switch (style) {
    case 0:
        return year + u'/' + month.rightJustified(2, u'0') + u'/' + day.rightJustified(2, u'0');
    case 1:
        return day + u' ' + monthName(persian->month) + u' ' + year;
    case 2:
        return weekdayName(date) + u' ' + day + u'/' + month + u'/' + year;
    default:
        return weekdayName(date) + kTwoBlanks + day + kTwoBlanks + monthName(persian->month) + kTwoBlanks + year;
    }
}
