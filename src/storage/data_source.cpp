#include "storage/data_source.h"

#include "storage/database.h"
#include "storage/program_folder.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

#include <sqlite3.h>

#include <cstring>

namespace {

const QString kProvider = QStringLiteral("Provider=Corvanta.SQLite;Data Source=");
const QString kNoCurrentRow = QStringLiteral("ركوردي انتخاب نشده است.");
const QString kNoQuery = QStringLiteral("پرس و جوي اين پنجره معلوم نيست.");
const QString kRowGone = QStringLiteral("اين ركورد ديگر در بانک اطلاعات نيست.");
const QString kBadCriterion = QStringLiteral("شرط جستجو درست نيست.");

// What went wrong, told the user in Persian; the engine's own words follow for support.
QString sqliteError(sqlite3* handle)
{
    QString reason;
    switch (sqlite3_errcode(handle) & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        reason = QStringLiteral("بانک اطلاعات در دست برنامه ديگري است؛ کمي بعد دوباره سعي کنيد.");
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        reason = QStringLiteral("فايل بانک اطلاعات فقط خواندني است و چيزي در آن ثبت نمي شود.");
        break;
    case SQLITE_FULL:
        reason = QStringLiteral("جاي خالي ديسک تمام شده است.");
        break;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        reason = QStringLiteral("خواندن يا نوشتن فايل بانک اطلاعات ممکن نشد.");
        break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        reason = QStringLiteral("فايل بانک اطلاعات آسيب ديده است.");
        break;
    case SQLITE_CONSTRAINT:
    case SQLITE_TOOBIG:
    case SQLITE_MISMATCH:
        reason = QStringLiteral("بانک اطلاعات اين مقدار را نپذيرفت.");
        break;
    default:
        reason = QStringLiteral("بانک اطلاعات اين کار را انجام نداد.");
        break;
    }
    return reason + QStringLiteral(" (") + QString::fromUtf8(sqlite3_errmsg(handle)) + QLatin1Char(')');
}

// Runs a statement with text parameters (a null QString binds NULL).
int execute(sqlite3* handle, const QString& sql, const QList<QString>& params)
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].isNull()) {
            sqlite3_bind_null(stmt, i + 1);
        } else {
            const QByteArray utf8 = params[i].toUtf8();
            sqlite3_bind_text(stmt, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        }
    }
    rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

quint32 offsetAt(const char* cells, int index)
{
    quint32 v;
    std::memcpy(&v, cells + index * sizeof(quint32), sizeof v);
    return v;
}

} // namespace

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource() = default;

QString DataSource::connectionTextForProgramFolder()
{
    return kProvider + QDir::toNativeSeparators(programFolder()) + QDir::separator() + QStringLiteral("db.mdb;");
}

void DataSource::setConnectionString(const QString& text)
{
    m_connection = text;
}

QString DataSource::databasePath() const
{
    static const QRegularExpression source(QStringLiteral("Data Source=([^;]*)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto match = source.match(m_connection);
    return match.hasMatch() ? QDir::fromNativeSeparators(match.captured(1)) : QString();
}

void DataSource::setRecordSource(const QString& query)
{
    m_query = query;
}

QString DataSource::tableName() const
{
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    const auto match = from.match(m_query);
    return match.hasMatch() ? match.captured(1) : QString();
}

DataSource::Row DataSource::packRow(const QList<QByteArray>& values, quint64 nulls)
{
    const int n = static_cast<int>(values.size());
    qsizetype textSize = 0;
    for (const QByteArray& v : values)
        textSize += v.size();
    Row row;
    row.nulls = nulls;
    char* out = allocateCells(static_cast<size_t>((n + 1) * sizeof(quint32)) + static_cast<size_t>(textSize));
    row.cells = out;
    quint32 offset = static_cast<quint32>((n + 1) * sizeof(quint32));
    for (int i = 0; i < n; ++i) {
        std::memcpy(out + i * sizeof(quint32), &offset, sizeof offset);
        std::memcpy(out + offset, values[i].constData(), static_cast<size_t>(values[i].size()));
        offset += static_cast<quint32>(values[i].size());
    }
    std::memcpy(out + n * sizeof(quint32), &offset, sizeof offset);
    return row;
}

char* DataSource::allocateCells(size_t size)
{
    size = (size + 7) & ~size_t(7);
    while (m_block < m_blocks.size() && m_blockUsed + size > m_blocks[m_block].size) {
        ++m_block;
        m_blockUsed = 0;
    }
    if (m_block == m_blocks.size()) {
        // Small record sets (an editor's one row) take a small block; large ones grow to 1 MiB.
        const size_t next = m_blocks.empty() ? size_t(16) << 10
                                             : std::min<size_t>(m_blocks.back().size * 2, size_t(1) << 20);
        Block block;
        block.size = std::max(size, next);
        block.bytes.reset(new char[block.size]); // not zeroed: every byte handed out is written
        m_blocks.push_back(std::move(block));
        m_blockUsed = 0;
    }
    char* out = m_blocks[m_block].bytes.get() + m_blockUsed;
    m_blockUsed += size;
    return out;
}

bool DataSource::refresh()
{
    const size_t previousCount = m_rows.size();
    m_rows.clear();
    m_rows.reserve(previousCount);
    m_block = 0;
    m_blockUsed = 0;
    m_current = 0;
    m_lastError.clear();
    bool ok = false;
    const QString path = databasePath();
    QString openError;
    sqlite3* handle = m_query.isEmpty() || path.isEmpty() ? nullptr : Database::handleFor(path, &openError);
    if (m_query.isEmpty()) {
        setError(kNoQuery);
    } else if (!handle) {
        setError(openError);
    } else {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(handle, m_query.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            setError(sqliteError(handle));
        } else {
            const int n = sqlite3_column_count(stmt);
            m_columns.clear();
            for (int i = 0; i < n; ++i)
                m_columns << QString::fromUtf8(sqlite3_column_name(stmt, i));
            // Pack each row straight from SQLite's buffers into one allocation.
            std::vector<quint32> offsets(static_cast<size_t>(n + 1));
            std::vector<const unsigned char*> texts(static_cast<size_t>(n));
            const quint32 header = static_cast<quint32>((n + 1) * sizeof(quint32));
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                quint32 size = header;
                quint64 nulls = 0;
                for (int i = 0; i < n; ++i) {
                    offsets[static_cast<size_t>(i)] = size;
                    const unsigned char* text = sqlite3_column_text(stmt, i);
                    texts[static_cast<size_t>(i)] = text;
                    if (!text) {
                        if (i < 64)
                            nulls |= quint64(1) << i;
                    } else {
                        size += static_cast<quint32>(sqlite3_column_bytes(stmt, i));
                    }
                }
                offsets[static_cast<size_t>(n)] = size;
                Row& row = m_rows.emplace_back();
                row.nulls = nulls;
                char* out = allocateCells(size);
                row.cells = out;
                std::memcpy(out, offsets.data(), header);
                for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
                    const quint32 len = offsets[i + 1] - offsets[i];
                    if (len)
                        std::memcpy(out + offsets[i], texts[i], len);
                }
            }
            if (rc != SQLITE_DONE) {
                setError(sqliteError(handle));
                m_rows.clear();
            } else {
                ok = true;
            }
        }
        sqlite3_finalize(stmt);
    }
    Q_EMIT rowsReset();
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
    return ok;
}

bool DataSource::addNew()
{
    m_lastError.clear();
    if (m_columns.isEmpty()) {
        // The query never ran (or failed): take the columns from the table itself.
        const QString table = tableName();
        for (const auto& t : Database::schema())
            if (t.name.compare(table, Qt::CaseInsensitive) == 0)
                m_columns = t.columns;
        if (m_columns.isEmpty()) {
            setError(kNoQuery);
            return false;
        }
    }
    Row row = packRow(QList<QByteArray>(m_columns.size()), m_columns.size() >= 64 ? ~quint64(0)
                                                                                  : (quint64(1) << m_columns.size()) - 1);
    row.isNew = true;
    m_rows.push_back(std::move(row));
    m_current = recordCount() - 1;
    Q_EMIT rowInserted(m_current);
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
    return true;
}

bool DataSource::readRow(qint64 id, Row* row)
{
    sqlite3* handle = Database::handleFor(databasePath());
    if (!handle)
        return false;
    const QByteArray sql = "SELECT * FROM " + tableName().toUtf8() + " WHERE ID=?";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_int64(stmt, 1, id);
    bool found = false;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        const int n = sqlite3_column_count(stmt);
        QList<QByteArray> values(m_columns.size());
        quint64 nulls = 0;
        for (int c = 0; c < m_columns.size(); ++c) {
            int source = -1;
            for (int i = 0; i < n; ++i)
                if (m_columns[c].compare(QString::fromUtf8(sqlite3_column_name(stmt, i)), Qt::CaseInsensitive) == 0)
                    source = i;
            if (source < 0 || sqlite3_column_type(stmt, source) == SQLITE_NULL) {
                if (c < 64)
                    nulls |= quint64(1) << c;
            } else {
                values[c] = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, source)),
                                       sqlite3_column_bytes(stmt, source));
            }
        }
        *row = packRow(values, nulls);
        found = true;
    }
    sqlite3_finalize(stmt);
    return found;
}

bool DataSource::update()
{
    m_lastError.clear();
    if (eof()) {
        setError(kNoCurrentRow);
        return false;
    }
    QString openError;
    sqlite3* handle = Database::handleFor(databasePath(), &openError);
    if (!handle) {
        setError(openError);
        return false;
    }
    Row& row = m_rows[static_cast<size_t>(m_current)];
    const int idColumn = columnIndex(QStringLiteral("ID"));

    // What each bound control shows, for the columns whose value it changes.
    QStringList columns;
    QList<QString> values;
    for (const Binding& b : m_bindings) {
        if (!b.control)
            continue;
        const int c = columnIndex(b.column);
        if (c < 0 || c == idColumn || columns.contains(m_columns[c]))
            continue;
        const QString shown = controlText(b.control);
        if (!row.isNew && shown == value(m_current, c))
            continue;
        columns << m_columns[c];
        values << (shown.isEmpty() ? QString() : shown);
    }

    const QString table = tableName();
    if (sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        setError(sqliteError(handle));
        return false;
    }
    qint64 id = row.isNew ? 0 : currentKey();
    int rc = SQLITE_OK;
    if (row.isNew) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
        } else {
            QStringList marks;
            for (qsizetype i = 0; i < columns.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(u','), marks.join(u','));
        }
        rc = execute(handle, sql, values);
        if (rc == SQLITE_OK)
            id = sqlite3_last_insert_rowid(handle);
    } else if (!columns.isEmpty()) {
        QStringList sets;
        for (const QString& c : columns)
            sets << c + QStringLiteral("=?");
        values << QString::number(id);
        rc = execute(handle, QStringLiteral("UPDATE %1 SET %2 WHERE ID=?").arg(table, sets.join(u',')), values);
        if (rc == SQLITE_OK && sqlite3_changes(handle) != 1) {
            sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
            setError(kRowGone);
            return false;
        }
    }
    if (rc != SQLITE_OK) {
        const QString message = sqliteError(handle);
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
        setError(message);
        return false;
    }
    if (sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString message = sqliteError(handle);
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
        setError(message);
        return false;
    }

    Row stored;
    if (readRow(id, &stored))
        row = std::move(stored);
    row.isNew = false;
    Q_EMIT rowUpdated(m_current);
    showCurrentInControls();
    return true;
}

bool DataSource::deleteCurrent()
{
    m_lastError.clear();
    if (eof()) {
        setError(kNoCurrentRow);
        return false;
    }
    if (!m_rows[static_cast<size_t>(m_current)].isNew) {
        QString openError;
        sqlite3* handle = Database::handleFor(databasePath(), &openError);
        if (!handle) {
            setError(openError);
            return false;
        }
        const int rc = execute(handle, QStringLiteral("DELETE FROM %1 WHERE ID=?").arg(tableName()),
                               {QString::number(currentKey())});
        if (rc != SQLITE_OK) {
            setError(sqliteError(handle));
            return false;
        }
    }
    const int removed = m_current;
    m_rows.erase(m_rows.begin() + removed);
    if (m_current >= recordCount())
        m_current = qMax(0, recordCount() - 1);
    Q_EMIT rowRemoved(removed);
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
    return true;
}

bool DataSource::find(const QString& criterion)
{
    m_lastError.clear();
    static const QRegularExpression idIs(QStringLiteral("^\\s*ID\\s*=\\s*(-?\\d+)\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = idIs.match(criterion);
    if (!match.hasMatch()) {
        setError(kBadCriterion);
        return false;
    }
    const QByteArray wanted = match.captured(1).toLatin1();
    const int idColumn = columnIndex(QStringLiteral("ID"));
    int found = recordCount();
    for (int r = qMax(0, m_current); idColumn >= 0 && r < recordCount(); ++r) {
        const Row& row = m_rows[static_cast<size_t>(r)];
        const quint32 start = offsetAt(row.cells, idColumn);
        const quint32 end = offsetAt(row.cells, idColumn + 1);
        if (QByteArrayView(row.cells + start, end - start) == wanted) {
            found = r;
            break;
        }
    }
    m_current = found;
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
    return found < recordCount();
}

void DataSource::setCurrentRow(int row)
{
    row = qBound(0, row, recordCount());
    if (row == m_current)
        return;
    m_current = row;
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
}

bool DataSource::isNewRow() const
{
    return !eof() && m_rows[static_cast<size_t>(m_current)].isNew;
}

int DataSource::columnIndex(const QString& column) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString DataSource::field(const QString& column) const
{
    return value(m_current, columnIndex(column));
}

QString DataSource::value(int row, int column) const
{
    if (row < 0 || row >= recordCount() || column < 0 || column >= m_columns.size())
        return {};
    const char* cells = m_rows[static_cast<size_t>(row)].cells;
    const quint32 start = offsetAt(cells, column);
    const quint32 end = offsetAt(cells, column + 1);
    return QString::fromUtf8(cells + start, end - start);
}

bool DataSource::isNull(int row, int column) const
{
    if (row < 0 || row >= recordCount() || column < 0 || column >= m_columns.size())
        return true;
    return column < 64 && (m_rows[static_cast<size_t>(row)].nulls >> column) & 1;
}

bool DataSource::scanColumns(const QStringList& columns,
                             const std::function<void(int row, const QStringList& cells)>& visit)
{
    QList<int> indexes;
    for (const QString& column : columns)
        indexes.append(columnIndex(column));
    QStringList cells;
    for (int row = 0; row < recordCount(); ++row) {
        cells.clear();
        for (int index : indexes)
            cells.append(value(row, index));
        visit(row, cells);
    }
    return true;
}

qint32 DataSource::currentKey() const
{
    if (eof() || isNewRow())
        return 0;
    return field(QStringLiteral("ID")).toInt();
}

void DataSource::bind(QWidget* control, const QString& column)
{
    if (!control)
        return;
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setTextFormat(Qt::PlainText);
    m_bindings.push_back({control, column});
    setControlText(control, field(column));
}

void DataSource::showCurrentInControls()
{
    for (const Binding& b : m_bindings)
        if (b.control)
            setControlText(b.control, field(b.column));
}

void DataSource::setError(const QString& message)
{
    m_lastError = message;
}

QString DataSource::controlText(QWidget* control) const
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* text = qobject_cast<QTextEdit*>(control))
        return text->toPlainText();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return {};
}

void DataSource::setControlText(QWidget* control, const QString& text) const
{
    if (controlText(control) == text)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(control))
        rich->setPlainText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->setPlainText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
}
