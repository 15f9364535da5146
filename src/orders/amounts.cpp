#include "orders/amounts.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr char16_t kArabicDecimalPoint = 0x066B;
constexpr char16_t kArabicThousandsSeparator = 0x066C;
// Exponents are counted up to here; anything larger is out of range either way.
constexpr qint64 kExponentCap = 1'000'000'000;

// Blanks of every width, tabs and line feeds, and the invisible marks (direction marks,
// zero-width joiners) that text pasted from Persian documents carries between its digits.
bool isIgnored(QChar c)
{
    return c == u'\t' || c == u'\n' || c.category() == QChar::Separator_Space ||
           c.category() == QChar::Other_Format;
}

// 0..9 for ASCII, Persian and Arabic-Indic digits, -1 otherwise.
int decimalDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= 0x06F0 && u <= 0x06F9)
        return u - 0x06F0;
    if (u >= 0x0660 && u <= 0x0669)
        return u - 0x0660;
    return -1;
}

int hexDigit(QChar c)
{
    const int decimal = decimalDigit(c);
    if (decimal >= 0)
        return decimal;
    const char16_t u = c.toLower().unicode();
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

bool isDecimalPoint(QChar c)
{
    return c == u'.' || c == QChar(kArabicDecimalPoint);
}

// A group separator at `at` continues the whole part only before a group of exactly three digits.
bool separatesGroup(const QString& text, qsizetype at)
{
    const QChar c = text.at(at);
    if (c != u',' && c != QChar(kArabicThousandsSeparator))
        return false;
    if (at + 3 >= text.size())
        return false;
    for (qsizetype i = at + 1; i <= at + 3; ++i) {
        if (decimalDigit(text.at(i)) < 0)
            return false;
    }
    return at + 4 == text.size() || decimalDigit(text.at(at + 4)) < 0;
}

double readInRadix(const QString& text, qsizetype from, int radix)
{
    double value = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        const int digit = hexDigit(text.at(i));
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}

QString withoutBlanks(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (!isIgnored(c))
            kept.append(c);
    }
    return kept;
}

// "&H..." hexadecimal, "&O..." octal; any other prefix reads as 0.
double readPrefixed(const QString& text)
{
    const QChar prefix = text.at(1).toUpper();
    if (prefix == u'H')
        return readInRadix(text, 2, 16);
    if (prefix == u'O')
        return readInRadix(text, 2, 8);
    return 0;
}

// Reads a decimal number from `at` in a text without blanks: whole part (with group
// separators), fraction and exponent, rebuilt in plain ASCII so that the conversion does not
// depend on the C locale.
struct DecimalReader
{
    explicit DecimalReader(const QString& read) : text(read) {}

    const QString& text;
    qsizetype at = 0;
    std::string number;
    bool anyDigit = false;
    // Decimal exponent of the leading non-zero digit, to tell overflow from underflow.
    bool nonZero = false;
    qint64 magnitude = 0;
    qint64 exponent = 0;

    int digitAt() const { return at < text.size() ? decimalDigit(text.at(at)) : -1; }

    void readWholePart()
    {
        for (;;) {
            const int digit = digitAt();
            if (digit >= 0) {
                number.push_back(static_cast<char>('0' + digit));
                anyDigit = true;
                if (nonZero)
                    ++magnitude;
                nonZero = nonZero || digit != 0;
            } else if (!anyDigit || at >= text.size() || !separatesGroup(text, at)) {
                return;
            }
            ++at;
        }
    }

    void readFraction()
    {
        if (at >= text.size() || !isDecimalPoint(text.at(at)))
            return;
        number.push_back('.');
        qint64 place = 0;
        for (++at; digitAt() >= 0; ++at) {
            const int digit = digitAt();
            number.push_back(static_cast<char>('0' + digit));
            anyDigit = true;
            --place;
            if (!nonZero && digit != 0) {
                nonZero = true;
                magnitude = place;
            }
        }
    }

    void readExponent()
    {
        if (at >= text.size() || (text.at(at) != u'e' && text.at(at) != u'E'))
            return;
        ++at;
        bool negative = false;
        if (at < text.size() && (text.at(at) == u'+' || text.at(at) == u'-'))
            negative = text.at(at++) == u'-';
        std::string digits;
        for (; digitAt() >= 0; ++at) {
            digits.push_back(static_cast<char>('0' + digitAt()));
            exponent = std::min<qint64>(exponent * 10 + digitAt(), kExponentCap);
        }
        if (digits.empty()) {
            exponent = 0;
            return;
        }
        number += negative ? "e-" : "e";
        number += digits;
        if (negative)
            exponent = -exponent;
    }

    double convert() const
    {
        double value = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (error == std::errc::result_out_of_range) {
            // Beyond the range of a double: an infinity (which FormatAmount shows as empty), or
            // 0 when the number is too close to zero.
            return nonZero && magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        }
        return error == std::errc() ? value : 0;
    }
};

} // namespace

double ReadAmount(const QString& text)
{
    const QString s = withoutBlanks(text);
    if (s.size() >= 2 && s.at(0) == u'&')
        return readPrefixed(s);
    DecimalReader reader(s);
    bool negative = false;
    if (!s.isEmpty() && (s.at(0) == u'+' || s.at(0) == u'-')) {
        negative = s.at(0) == u'-';
        reader.at = 1;
    }
    reader.readWholePart();
    reader.readFraction();
    if (!reader.anyDigit)
        return 0;
    reader.readExponent();
    const double value = reader.convert();
    return negative ? -value : value;
}

QString FormatAmount(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0"); // never "-0"
    QString text = QString::number(value, 'g', 15);
    text.replace(u'e', u'E');
    text.replace(u'.', QLocale().decimalPoint());
    return text;
}
