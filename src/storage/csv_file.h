#pragma once
// Writing a table as a CSV file a spreadsheet opens with its Persian intact: UTF-8 with a
// byte-order mark, CRLF line ends, fields quoted as RFC 4180 asks (comma, quote, CR or LF inside;
// quotes doubled), and a cell that a spreadsheet would run as a formula (starting with = + - @,
// a tab or CR) kept as text by a leading apostrophe. The file is written beside its target under
// a temporary name and renamed into place, so a failure leaves no partial file.
#include <QString>
#include <QStringList>

#include <functional>

// One CSV field as written.
QString csvField(const QString& cell);
// Writes the header and then rowCount rows, each asked of row(i). On failure the target is
// as it was and `error` says why, in Persian.
bool writeCsvFile(const QString& path, const QStringList& header, int rowCount,
                  const std::function<QStringList(int row)>& row, QString* error);
// The same, with the rows given in one pass: rows(line) calls line(cells) for each row in
// order and returns false when the rows could not all be read (nothing is written then).
using CsvLine = std::function<void(const QStringList& cells)>;
bool writeCsvFile(const QString& path, const QStringList& header,
                  const std::function<bool(const CsvLine& line)>& rows, QString* error);
