#pragma once
// Amounts are texts; the order total reads them as numbers and writes the sum back as text.
#include <QString>

// Reads the number a text starts with, ignoring blanks, tabs and line feeds anywhere: sign,
// digits, "." as decimal point, exponent, or "&H"/"&O" for hexadecimal/octal; stops at the
// first character that cannot continue it; 0 when the text does not start with a number.
double ReadAmount(const QString& text);
// Up to 15 significant digits, no grouping, no trailing zeros, the locale's decimal separator;
// the empty text for a value beyond the range of a double.
QString FormatAmount(double value);
