#include "storage/sqlite_store.h"

#include <sqlite3.h>

#include <utility>

namespace {

// What went wrong, told the user in Persian.
QString reasonFor(int code)
{
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("بانک اطلاعات در دست برنامه ديگري است؛ کمي بعد دوباره سعي کنيد.");
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return QStringLiteral("فايل بانک اطلاعات فقط خواندني است و چيزي در آن ثبت نمي شود.");
    case SQLITE_FULL:
        return QStringLiteral("جاي خالي ديسک تمام شده است.");
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return QStringLiteral("خواندن يا نوشتن فايل بانک اطلاعات ممکن نشد.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("فايل بانک اطلاعات آسيب ديده است.");
    case SQLITE_CONSTRAINT:
    case SQLITE_TOOBIG:
    case SQLITE_MISMATCH:
        return QStringLiteral("بانک اطلاعات اين مقدار را نپذيرفت.");
    default:
        return QStringLiteral("بانک اطلاعات اين کار را انجام نداد.");
    }
}

class SqliteRow final : public RecordStore::Row
{
public:
    explicit SqliteRow(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    int columnCount() const override { return sqlite3_column_count(m_stmt); }
    bool isNull(int column) const override { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }
    QByteArrayView bytes(int column) const override
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return text ? QByteArrayView(text, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
    }
    qint64 integer(int column) const override { return sqlite3_column_int64(m_stmt, column); }

private:
    sqlite3_stmt* m_stmt;
};

} // namespace

// A prepared statement with its parameters bound, finalized when it goes.
struct SqliteStore::Statement
{
    Statement(sqlite3* handle, const QString& sql, const QStringList& params)
    {
        rc = sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt, nullptr);
        for (int i = 0; rc == SQLITE_OK && i < params.size(); ++i) {
            if (params[i].isNull()) {
                rc = sqlite3_bind_null(stmt, i + 1);
            } else {
                const QByteArray utf8 = params[i].toUtf8();
                rc = sqlite3_bind_text(stmt, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
            }
        }
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* stmt = nullptr;
    int rc = SQLITE_OK;
};

SqliteStore::SqliteStore(sqlite3* handle) : m_handle(handle) {}

SqliteStore::~SqliteStore()
{
    sqlite3_close_v2(m_handle);
}

bool SqliteStore::fail()
{
    m_error = reasonFor(sqlite3_extended_errcode(m_handle)) + QStringLiteral(" (") +
              QString::fromUtf8(sqlite3_errmsg(m_handle)) + QLatin1Char(')');
    return false;
}

bool SqliteStore::select(const QString& sql, const QStringList& params, const Visitor& visit, QStringList* columns)
{
    m_error.clear();
    Statement statement(m_handle, sql, params);
    if (statement.rc != SQLITE_OK)
        return fail();
    if (columns) {
        columns->clear();
        for (int i = 0; i < sqlite3_column_count(statement.stmt); ++i)
            columns->append(QString::fromUtf8(sqlite3_column_name(statement.stmt, i)));
    }
    const SqliteRow row(statement.stmt);
    int rc;
    while ((rc = sqlite3_step(statement.stmt)) == SQLITE_ROW) {
        if (!visit(row))
            return true;
    }
    return rc == SQLITE_DONE || fail();
}

qint64 SqliteStore::execute(const QString& sql, const QStringList& params)
{
    m_error.clear();
    Statement statement(m_handle, sql, params);
    if (statement.rc != SQLITE_OK || sqlite3_step(statement.stmt) != SQLITE_DONE) {
        fail();
        return -1;
    }
    return sqlite3_changes64(m_handle);
}

bool SqliteStore::begin()
{
    return execute(QStringLiteral("BEGIN IMMEDIATE")) >= 0;
}

bool SqliteStore::commit()
{
    // The stamp is taken while the write lock is still held: a program committing right after
    // this one must not be counted as part of this commit.
    const quint64 stamp = changeStamp();
    if (execute(QStringLiteral("COMMIT")) < 0)
        return false;
    m_committedStamp = stamp;
    return true;
}

void SqliteStore::rollback()
{
    const QString kept = m_error;
    if (sqlite3_get_autocommit(m_handle) == 0)
        sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
    m_error = kept;
}

qint64 SqliteStore::insert(const QString& table, const QStringList& columns, const QStringList& values)
{
    const QString sql = columns.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table, columns.join(u','), QStringList(columns.size(), QStringLiteral("?")).join(u','));
    return execute(sql, values) == 1 ? sqlite3_last_insert_rowid(m_handle) : -1;
}

QStringList SqliteStore::tables()
{
    QStringList names;
    select(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"), {}, [&](const Row& row) {
        names << row.text(0);
        return true;
    });
    return names;
}

QStringList SqliteStore::columns(const QString& table)
{
    QStringList names;
    select(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table}, [&](const Row& row) {
        names << row.text(0);
        return true;
    });
    return names;
}

QString SqliteStore::nullSafeEquals(const QString& column) const
{
    return column + QStringLiteral(" IS ?");
}

quint64 SqliteStore::changeStamp()
{
    if (const quint64 committed = std::exchange(m_committedStamp, 0))
        return committed;
    // data_version moves when another connection commits; total_changes when this one writes.
    qint64 version = 0;
    select(QStringLiteral("PRAGMA data_version"), {}, [&](const Row& row) {
        version = row.integer(0);
        return false;
    });
    return (quint64(version) << 40) ^ quint64(sqlite3_total_changes64(m_handle));
}
