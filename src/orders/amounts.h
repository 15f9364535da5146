#pragma once
// Amounts are texts; the order total reads them as numbers and writes the sum back as text.
#include <QString>

// Reads the number a text starts with, ignoring blanks (no-break ones too), tabs, line feeds and
// invisible marks (direction marks, zero-width non-joiner) anywhere: sign, digits, "." or "٫" as
// decimal point, exponent, or "&H"/"&O" for hexadecimal/octal; stops at the first character
// that cannot continue it; 0 when the text does not start with a number.
// Digits may be ASCII, Persian (U+06F0..) or Arabic-Indic (U+0660..), mixed freely.
// "," or "٬" is a thousands separator only in the whole part, after a digit and followed by
// exactly three digits and then no further digit ("1,500,000"); otherwise it ends the number,
// so "1,5", "1,,000", "1,5000" and "1," all read as 1.
double ReadAmount(const QString& text);
// Up to 15 significant digits in ASCII, no grouping, no trailing zeros, no decimal point for a
// whole number, the decimal separator of QLocale(); the empty text for infinity or NaN.
QString FormatAmount(double value);
