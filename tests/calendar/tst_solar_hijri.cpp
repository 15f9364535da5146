#include "calendar/solar_hijri.h"

#include <QCalendar>
#include <QTest>

#include <limits>

namespace {

const QDate kEpoch(1953, 3, 21);

// Names as the program must write them (with U+064A and U+06A9).
const QString kWednesday = QString::fromUtf16(u"چهارشنبه");
const QString kSaturday = QString::fromUtf16(u"شنبه");
const QString kSunday = QString::fromUtf16(u"يکشنبه");
const QString kTuesday = QString::fromUtf16(u"سه شنبه");
const QString kFarvardin = QString::fromUtf16(u"فروردين");
const QString kShahrivar = QString::fromUtf16(u"شهريور");
const QString kMehr = QString::fromUtf16(u"مهر");
const QString kBahman = QString::fromUtf16(u"بهمن");
const QString kEsfand = QString::fromUtf16(u"اسفند");

QString ymd(const PersianDate& d)
{
    return QStringLiteral("%1/%2/%3").arg(d.year).arg(d.month).arg(d.day);
}

// Year-by-year peeling without any shortcut, to check the conversion far from the epoch.
PersianDate peelSlowly(qint64 count)
{
    int year = 1332;
    for (;;) {
        const int length = IsPersianLeapYear(year) ? 366 : 365;
        if (count < length)
            break;
        count -= length;
        ++year;
    }
    const int index = static_cast<int>(count);
    if (index < 186)
        return {year, index / 31 + 1, index % 31 + 1};
    return {year, (index - 186) / 30 + 7, (index - 186) % 30 + 1};
}

} // namespace

class TestSolarHijri : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void styles_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("text");
        const QDate jan27(2010, 1, 27); // a Wednesday
        QTest::newRow("numeric") << jan27 << 0 << "1388/11/07";
        QTest::newRow("numeric, epoch") << kEpoch << 0 << "1332/01/01";
        QTest::newRow("numeric, 1436 leap") << QDate(2058, 3, 20) << 0 << "1436/12/30";
        QTest::newRow("numeric, 1437 leap too") << QDate(2059, 3, 21) << 0 << "1437/12/30";
        QTest::newRow("day-month") << jan27 << 1 << "7 " + kBahman + " 1388";
        QTest::newRow("weekday-numeric, day first") << jan27 << 2 << kWednesday + " 7/11/1388";
        QTest::newRow("weekday-long, two blanks") << jan27 << 3 << kWednesday + "  7  " + kBahman + "  1388";
        QTest::newRow("no style 4") << jan27 << 4 << QString();

        const QDate epoch = kEpoch; // a Saturday, the last weekday
        QTest::newRow("epoch weekday-numeric") << epoch << 2 << kSaturday + " 1/1/1332";
        QTest::newRow("epoch weekday-long") << epoch << 3 << kSaturday + "  1  " + kFarvardin + "  1332";
        QTest::newRow("Sunday, the first weekday") << QDate(2010, 3, 21) << 3
                                                   << kSunday + "  1  " + kFarvardin + "  1389";
        QTest::newRow("weekday name with a blank") << QDate(1953, 9, 22) << 2 << kTuesday + " 31/6/1332";
        QTest::newRow("month 6 name") << QDate(1953, 9, 22) << 1 << "31 " + kShahrivar + " 1332";
        QTest::newRow("month 7 name") << QDate(1953, 9, 23) << 1 << "1 " + kMehr + " 1332";
        QTest::newRow("leap day") << QDate(2025, 3, 20) << 1 << "30 " + kEsfand + " 1403";
        QTest::newRow("no zeros in style 2") << QDate(2025, 3, 21) << 2
                                             << QString::fromUtf16(u"جمعه") + " 1/1/1404";
    }
    void styles()
    {
        QFETCH(QDate, date);
        QFETCH(int, style);
        QFETCH(QString, text);
        QCOMPARE(PersianDateText(date, style), text);
    }

    void beforeEpochGivesNothing()
    {
        for (const QDate& date : {kEpoch.addDays(-1), QDate(1900, 1, 1), QDate(-500, 6, 1), QDate()})
            for (int style = 0; style <= 3; ++style)
                QCOMPARE(PersianDateText(date, style), QString());
        QVERIFY(!DaysToPersianDate(-1));
        QVERIFY(!DaysToPersianDate(std::numeric_limits<qint64>::min()));
    }

    void readingDateTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("ordinary") << QStringLiteral("1388/11/07") << true;
        QTest::newRow("30 Esfand, leap") << QStringLiteral("1403/12/30") << true;
        QTest::newRow("30 Esfand, common") << QStringLiteral("1404/12/30") << false;
        QTest::newRow("31 Mehr") << QStringLiteral("1404/07/31") << false;
        QTest::newRow("month 13") << QStringLiteral("1404/13/01") << false;
        QTest::newRow("day 0") << QStringLiteral("1404/01/00") << false;
        QTest::newRow("before the epoch") << QStringLiteral("1331/12/29") << false;
        QTest::newRow("one digit month") << QStringLiteral("1404/1/01") << false;
        QTest::newRow("Persian digits") << QStringLiteral("۱۴۰۳/۱۲/۳۰") << true;
        QTest::newRow("Arabic-Indic digits, common year") << QStringLiteral("١٤٠٤/١٢/٣٠") << false;
        QTest::newRow("blanks") << QStringLiteral(" 1404/01/01") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void readingDateTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const std::optional<PersianDate> read = ReadPersianDateText(text);
        QCOMPARE(read.has_value(), valid);
        QCOMPARE(GregorianFromPersian(read.value_or(PersianDate{})).isValid(), valid);
    }

    // Far dates: the same result as peeling every year, and no hang or overflow at the extremes.
    void farDates()
    {
        const qint64 toYear9999 = kEpoch.daysTo(QDate(9999, 12, 31));
        for (qint64 count : {qint64(46751), qint64(46752), qint64(46753), qint64(2 * 46752 - 1), qint64(2 * 46752),
                             qint64(1000000), qint64(2922000), toYear9999}) {
            const std::optional<PersianDate> fast = DaysToPersianDate(count);
            QVERIFY(fast);
            QCOMPARE(ymd(*fast), ymd(peelSlowly(count)));
        }
        QVERIFY(!DaysToPersianDate(std::numeric_limits<qint64>::max()));
        // QDate reaches years about two billion ahead; the conversion still answers at once.
        QVERIFY(!PersianDateText(QDate(2000000000, 1, 1), 3).isEmpty());
    }

    // Qt's own Jalali calendar follows another leap rule. Between 1332 and 1479 the two differ only
    // in 1436, a leap year here and a common one there: until 1436/12/29 (19 March 2058) every
    // date agrees; 20 March 2058 is 1436/12/30 here, a day Qt does not have; from then on (to the
    // end of 2100) each date here is the one Qt gives for the day before. Every date text reads
    // back to its day.
    void everyDayAgainstQtJalali()
    {
        const QCalendar jalali(QCalendar::System::Jalali);
        if (!jalali.isValid())
            QSKIP("Qt was built without its Jalali calendar");
        for (int year = 1332; year <= 1479; ++year)
            QCOMPARE(IsPersianLeapYear(year) != jalali.isLeapYear(year), year == 1436);

        const QDate extraDay(2058, 3, 20);
        for (QDate date = kEpoch; date <= QDate(2100, 12, 31); date = date.addDays(1)) {
            const PersianDate ours = *DaysToPersianDate(kEpoch.daysTo(date));
            const std::optional<PersianDate> read = ReadPersianDateText(PersianDateText(date));
            if (!read || GregorianFromPersian(*read) != date)
                QFAIL(qPrintable(date.toString(Qt::ISODate) + QStringLiteral(" does not read back")));
            if (date == extraDay) {
                QCOMPARE(ymd(ours), QStringLiteral("1436/12/30"));
                QVERIFY(!jalali.dateFromParts(1436, 12, 30).isValid());
                continue;
            }
            const QCalendar::YearMonthDay theirs = jalali.partsFromDate(date < extraDay ? date : date.addDays(-1));
            if (theirs.year != ours.year || theirs.month != ours.month || theirs.day != ours.day)
                QFAIL(qPrintable(date.toString(Qt::ISODate) + u' ' + ymd(ours)));
        }
        QCOMPARE(PersianDateText(QDate(2100, 12, 31)), QStringLiteral("1479/10/09"));
    }
};

QTEST_APPLESS_MAIN(TestSolarHijri)
#include "tst_solar_hijri.moc"
