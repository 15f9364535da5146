#include "orders/amounts.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Persian and Arabic-Indic digits and separators, as the Persian keyboard types them.
QString fa(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// Restores the default locale when a test changed it.
struct DefaultLocale
{
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(QLocale::c()); }
};

} // namespace

class TestAmounts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");

        // Plain numbers and what is not a number.
        QTest::newRow("decimal") << "2.5" << 2.5;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("Arabic comma ends") << fa(u"12\u060C5") << 12.0;

        // Blanks, tabs and line feeds vanish anywhere; a carriage return does not.
        QTest::newRow("blanks inside digits") << "1 0 0" << 100.0;
        QTest::newRow("tabs and line feeds") << "\t1\n2 3\n" << 123.0;
        QTest::newRow("carriage return ends") << "12\r3" << 12.0;

        // Signs.
        QTest::newRow("minus") << "-5" << -5.0;
        QTest::newRow("blank after sign") << "- 5" << -5.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("sign after digits ends") << "5-3" << 5.0;

        // Decimal point.
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("second point ends") << "1.2.3" << 1.2;
        QTest::newRow("Arabic decimal point") << fa(u"2\u066B5") << 2.5;

        // Exponents.
        QTest::newRow("signed exponent") << "1.5e-2" << 0.015;
        QTest::newRow("blanks around exponent") << "1 e 3" << 1000.0;
        QTest::newRow("exponent without digits") << "7e" << 7.0;
        QTest::newRow("exponent is whole") << "2e3.5" << 2000.0;
        QTest::newRow("exponent without mantissa") << "e3" << 0.0;

        // Hexadecimal and octal.
        QTest::newRow("hex") << "&H1F" << 31.0;
        QTest::newRow("hex four digits stays positive") << "&HFFFF" << 65535.0;
        QTest::newRow("octal stops at 8") << "&o19" << 1.0;
        QTest::newRow("unknown prefix") << "&X1" << 0.0;
        QTest::newRow("sign before prefix") << "-&H10" << 0.0;
        QTest::newRow("hex has no point") << "&H1.8" << 1.0;

        // Persian and Arabic-Indic digits.
        QTest::newRow("Persian digits") << fa(u"\u06F1\u06F2\u06F3") << 123.0;
        QTest::newRow("mixed digits") << fa(u"\u06F12\u0663") << 123.0;
        QTest::newRow("Persian decimal") << fa(u"\u06F2\u066B\u06F5") << 2.5;
        QTest::newRow("Persian octal") << fa(u"&O\u06F1\u06F7") << 15.0;

        // Thousands separators between groups of three digits.
        QTest::newRow("comma thousands") << "1,500" << 1500.0;
        QTest::newRow("Persian thousands") << fa(u"\u06F1\u06F2\u066C\u06F0\u06F0\u06F0") << 12000.0;
        QTest::newRow("mixed separators") << fa(u"1\u066C500,000") << 1500000.0;
        QTest::newRow("groups then decimals") << "1,500.25" << 1500.25;
        QTest::newRow("blank after comma") << "1, 500" << 1500.0;
        QTest::newRow("short group ends") << "1,5" << 1.0;
        QTest::newRow("leading comma") << ",500" << 0.0;
        QTest::newRow("bad second group keeps the first") << "1,234,56" << 1234.0;
        QTest::newRow("no separators in decimals") << "1.500,5" << 1.5;

        // Beyond the range of a double.
        QTest::newRow("largest") << "1.7976931348623157e308" << std::numeric_limits<double>::max();
        QTest::newRow("overflow") << "1e309" << kInf;
        QTest::newRow("huge exponent") << "1e99999999999999999999" << kInf;
        QTest::newRow("underflow") << "1e-400" << 0.0;
        QTest::newRow("many digits") << QString(400, u'9') << kInf;
    }
    void read()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ReadAmount(text), value);
    }

    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole, no point") << 2600.0 << "2600";
        QTest::newRow("decimal") << 2602.5 << "2602.5";
        QTest::newRow("negative") << -12.25 << "-12.25";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("binary noise rounded away") << 0.1 + 0.2 << "0.3";
        QTest::newRow("fifteen digits") << 1.0 / 3 << "0.333333333333333";
        QTest::newRow("fifteen whole digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("sixteen whole digits") << 1234567890123456.0 << "1.23456789012346E+15";
        QTest::newRow("small") << 0.0001 << "0.0001";
        QTest::newRow("infinity") << kInf << "";
        QTest::newRow("not a number") << std::nan("") << "";
    }
    void format()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatAmount(value), text);
    }

    // Only the decimal separator follows the user's locale; digits stay ASCII, never grouped.
    void formatInLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const QLocale persian(QLocale::Persian, QLocale::Iran);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("Persian") << persian << 2602.5 << fa(u"2602\u066B5");
        QTest::newRow("Persian whole, not grouped") << persian << 1500000.0 << "1500000";
        QTest::newRow("German exponent") << german << 1.5e20 << "1,5E+20";
    }
    void formatInLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        const DefaultLocale scoped(locale);
        QCOMPARE(FormatAmount(value), text);
    }

    // What FormatAmount writes reads back as the same number in the Persian locale.
    void persianRoundTrip()
    {
        const DefaultLocale scoped(QLocale(QLocale::Persian, QLocale::Iran));
        for (double value : {0.0, 1.0, -2.5, 0.3, 2602.5, 1e-7, 123456789012345.0, 1.5e20, -1.25e-20})
            QCOMPARE(ReadAmount(FormatAmount(value)), value);
    }
};

QTEST_APPLESS_MAIN(TestAmounts)
#include "tst_amounts.moc"
