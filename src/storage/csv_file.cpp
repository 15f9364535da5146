#include "storage/csv_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {
const QString kNotWritten = QStringLiteral("فايل «%1» نوشته نشد: %2");
const QString kNoFolder = QStringLiteral("پوشه اين فايل وجود ندارد.");
const QString kIsFolder = QStringLiteral("اين نام، نام يک پوشه است.");
const QString kCannotCreate = QStringLiteral("اجازه نوشتن در اين پوشه نيست يا فايل باز نمي شود.");
const QString kCannotFinish = QStringLiteral("نوشتن فايل کامل نشد (شايد جا روي ديسک نمانده است).");
const QString kIsDatabase =
    QStringLiteral("اين فايل يک بانک اطلاعات (يا پشتيبان آن) است و فايل CSV جاي آن را نمي گيرد.");

// The program's db.mdb, a backup of it or its safety copy: SQLite files, never to be replaced
// by a list.
bool isDatabaseFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

// Most cells are written as they are: no formula-like start, nothing to quote.
bool plainField(const QString& cell)
{
    if (cell.isEmpty())
        return true;
    const char16_t first = cell.front().unicode();
    if (first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' || first == u'\r')
        return false;
    return std::none_of(cell.cbegin(), cell.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u == u',' || u == u'"' || u == u'\r' || u == u'\n';
    });
}

void appendLine(QByteArray& out, const QStringList& cells)
{
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out.append(',');
        const QString& cell = cells[i];
        out.append(plainField(cell) ? cell.toUtf8() : csvField(cell).toUtf8());
    }
    out.append("\r\n");
}
} // namespace

QString csvField(const QString& cell)
{
    QString text = cell;
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        text.prepend(QLatin1Char('\''));
    static const QString mustQuote = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (QChar c : text)
        quote = quote || mustQuote.contains(c);
    if (!quote)
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool writeCsvFile(const QString& path, const QStringList& header, int rowCount,
                  const std::function<QStringList(int row)>& row, QString* error)
{
    return writeCsvFile(
        path, header,
        [&](const CsvLine& line) {
            for (int i = 0; i < rowCount; ++i)
                line(row(i));
            return true;
        },
        error);
}

bool writeCsvFile(const QString& path, const QStringList& header,
                  const std::function<bool(const CsvLine& line)>& rows, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = kNotWritten.arg(QFileInfo(path).fileName(), why);
        return false;
    };
    const QFileInfo target(path);
    if (target.isDir())
        return fail(kIsFolder);
    if (!target.absoluteDir().exists())
        return fail(kNoFolder);
    if (target.exists() && isDatabaseFile(path))
        return fail(kIsDatabase);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(kCannotCreate);
    QByteArray chunk("\xEF\xBB\xBF");
    appendLine(chunk, header);
    bool written = true;
    const bool read = rows([&](const QStringList& cells) {
        appendLine(chunk, cells);
        if (chunk.size() > (1 << 20)) {
            written = written && file.write(chunk) == chunk.size();
            chunk.clear();
        }
    });
    if (!read) {
        file.cancelWriting();
        return fail(QStringLiteral("رديف هاي اين فهرست خوانده نشد.")); // the rows could not be read
    }
    // QSaveFile drops its temporary file when anything above failed; commit renames it.
    if (!written || file.error() != QFileDevice::NoError || file.write(chunk) != chunk.size() ||
        !file.commit())
        return fail(kCannotFinish);
    return true;
}
