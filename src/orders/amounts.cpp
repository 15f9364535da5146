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

bool isIgnored(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
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

} // namespace

double ReadAmount(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (!isIgnored(c))
            s.append(c);
    }
    const qsizetype n = s.size();

    if (n >= 2 && s.at(0) == u'&') {
        const QChar prefix = s.at(1).toUpper();
        if (prefix == u'H')
            return readInRadix(s, 2, 16);
        if (prefix == u'O')
            return readInRadix(s, 2, 8);
        return 0;
    }

    // The number is rebuilt in plain ASCII and converted independently of the C locale.
    std::string number;
    bool negative = false;
    qsizetype i = 0;
    if (i < n && (s.at(i) == u'+' || s.at(i) == u'-'))
        negative = s.at(i++) == u'-';
    bool anyDigit = false;
    // Decimal exponent of the leading non-zero digit, to tell overflow from underflow.
    bool nonZero = false;
    qint64 magnitude = 0;
    while (i < n) {
        const int digit = decimalDigit(s.at(i));
        if (digit >= 0) {
            number.push_back(static_cast<char>('0' + digit));
            anyDigit = true;
            if (nonZero)
                ++magnitude;
            nonZero = nonZero || digit != 0;
            ++i;
        } else if (anyDigit && separatesGroup(s, i)) {
            ++i;
        } else {
            break;
        }
    }
    if (i < n && isDecimalPoint(s.at(i))) {
        number.push_back('.');
        qint64 place = 0;
        for (++i; i < n && decimalDigit(s.at(i)) >= 0; ++i) {
            const int digit = decimalDigit(s.at(i));
            number.push_back(static_cast<char>('0' + digit));
            anyDigit = true;
            --place;
            if (!nonZero && digit != 0) {
                nonZero = true;
                magnitude = place;
            }
        }
    }
    if (!anyDigit)
        return 0;

    qint64 exponent = 0;
    if (i < n && (s.at(i) == u'e' || s.at(i) == u'E')) {
        qsizetype j = i + 1;
        bool negativeExponent = false;
        if (j < n && (s.at(j) == u'+' || s.at(j) == u'-'))
            negativeExponent = s.at(j++) == u'-';
        std::string digits;
        for (; j < n && decimalDigit(s.at(j)) >= 0; ++j) {
            const int digit = decimalDigit(s.at(j));
            digits.push_back(static_cast<char>('0' + digit));
            exponent = std::min<qint64>(exponent * 10 + digit, kExponentCap);
        }
        if (!digits.empty()) {
            number += negativeExponent ? "e-" : "e";
            number += digits;
            if (negativeExponent)
                exponent = -exponent;
        }
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Beyond the range of a double: an infinity (which FormatAmount shows as empty), or 0 when
        // the number is too close to zero.
        value = nonZero && magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        value = 0;
    }
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
