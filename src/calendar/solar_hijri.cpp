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

namespace {

int monthLength(int year, int month)
{
    if (month <= 6)
        return 31;
    if (month <= 11)
        return 30;
    return IsPersianLeapYear(year) ? 30 : 29;
}

} // namespace

std::optional<PersianDate> ReadPersianDateText(const QString& text)
{
    if (text.size() != 10 || text[4] != u'/' || text[7] != u'/')
        return std::nullopt;
    // Digits as the Persian keyboard types them read like ASCII ones.
    const auto number = [&text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const char16_t c = text[i].unicode();
            int digit = -1;
            for (const char16_t zero : {u'0', char16_t(0x06F0), char16_t(0x0660)})
                if (c >= zero && c <= zero + 9)
                    digit = c - zero;
            if (digit < 0)
                return -1;
            value = value * 10 + digit;
        }
        return value;
    };
    const PersianDate date{number(0, 4), number(5, 2), number(8, 2)};
    if (date.year < kBaseYear || date.month < 1 || date.month > 12 || date.day < 1
        || date.day > monthLength(date.year, date.month))
        return std::nullopt;
    return date;
}

QDate GregorianFromPersian(const PersianDate& date)
{
    if (date.year < kBaseYear || date.month < 1 || date.month > 12 || date.day < 1
        || date.day > monthLength(date.year, date.month))
        return {};
    const qint64 cycles = (date.year - kBaseYear) / kCycleYears;
    qint64 days = cycles * kCycleDays;
    for (int year = kBaseYear + static_cast<int>(cycles * kCycleYears); year < date.year; ++year)
        days += IsPersianLeapYear(year) ? 366 : 365;
    days += date.month <= 7 ? (date.month - 1) * 31 : kFirstHalfDays + (date.month - 7) * 30;
    return epoch().addDays(days + date.day - 1);
}
