// Copies between a PostgreSQL server and a database file of db.mdb's layout: backup and
// restore on a server, and moving a shop's db.mdb onto its new server.
#include "storage/database.h"
#include "storage/postgres_store.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <map>
#include <utility>

namespace Postgres {

namespace {

const QString kFileFailed = QStringLiteral("فايل «%1» نوشته يا خوانده نشد (%2).");
const QString kNotEmpty = QStringLiteral("بانک اطلاعات سرور خالي نيست: جدول %1 ركورد دارد. "
                                         "اطلاعات فقط به يک بانک اطلاعات خالي منتقل مي شود.");

QString sqliteProblem(sqlite3* handle, const QString& path)
{
    return kFileFailed.arg(path, QString::fromUtf8(sqlite3_errmsg(handle)));
}

bool createFileTables(sqlite3* handle)
{
    QString sql = QStringLiteral("BEGIN;");
    for (const Database::TableSchema& table : Database::schema()) {
        sql += QStringLiteral("CREATE TABLE ") + table.name + QStringLiteral(" (ID INTEGER PRIMARY KEY AUTOINCREMENT");
        for (qsizetype i = 1; i < table.columns.size(); ++i)
            sql += QStringLiteral(", ") + table.columns[i] + QStringLiteral(" TEXT");
        sql += QStringLiteral(");");
    }
    return sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The server's last key of a table: the greater of its highest row and its identity's last
// value (keys of deleted rows are not given again).
qint64 lastKey(Server* server, const QString& table)
{
    Result r;
    const QString sql = QStringLiteral(
        "SELECT GREATEST((SELECT COALESCE(MAX(ID), 0) FROM %1), "
        "COALESCE((SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM %2), 0))");
    Result seq;
    if (!server->exec(QStringLiteral("SELECT pg_get_serial_sequence(?, 'id')"), {table}, &seq) || seq.isNull(0, 0))
        return 0;
    if (!server->exec(sql.arg(table, seq.text(0, 0)), {}, &r))
        return 0;
    return r.text(0, 0).toLongLong();
}

bool copyTableOut(Server* server, sqlite3* file, const Database::TableSchema& table)
{
    const QString marks = QStringLiteral("?,").repeated(table.columns.size() - 1) + QStringLiteral("?");
    const QByteArray insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table.name, table.columns.join(u','), marks).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(file, insert.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    bool written = true;
    const QString select = QStringLiteral("SELECT %1 FROM %2 ORDER BY ID").arg(table.columns.join(u','), table.name);
    const bool read = server->stream(select, [&](const Result& row) {
        for (int c = 0; c < row.columnCount(); ++c) {
            if (row.isNull(0, c))
                sqlite3_bind_null(stmt, c + 1);
            else
                sqlite3_bind_text(stmt, c + 1, row.cell(0, c), row.cellLength(0, c), SQLITE_TRANSIENT);
        }
        written = sqlite3_step(stmt) == SQLITE_DONE && written;
        sqlite3_reset(stmt);
    });
    sqlite3_finalize(stmt);
    if (!read || !written)
        return false;
    const qint64 last = lastKey(server, table.name);
    const QByteArray sequence = QStringLiteral("DELETE FROM sqlite_sequence WHERE name='%1'; "
                                               "INSERT INTO sqlite_sequence (name, seq) VALUES ('%1', %2)")
                                    .arg(table.name).arg(last).toUtf8();
    return last == 0 || sqlite3_exec(file, sequence.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

QString writeDatabaseFile(Server* server, const QString& destination)
{
    sqlite3* file = nullptr;
    const QByteArray name = QFile::encodeName(destination);
    if (sqlite3_open_v2(name.constData(), &file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString problem = sqliteProblem(file, destination);
        sqlite3_close(file);
        return problem;
    }
    sqlite3_exec(file, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    QString problem = createFileTables(file) ? QString() : sqliteProblem(file, destination);
    // One snapshot of the server for all five tables, as the backup of a file is one moment.
    bool ok = problem.isEmpty() && server->exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    for (const Database::TableSchema& table : Database::schema()) {
        if (ok && !copyTableOut(server, file, table)) {
            ok = false;
            problem = server->lastError().isEmpty() ? sqliteProblem(file, destination) : server->lastError();
        }
    }
    if (ok && sqlite3_exec(file, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        ok = false;
        problem = sqliteProblem(file, destination);
    }
    if (problem.isEmpty() && !ok)
        problem = server->lastError().isEmpty() ? sqliteProblem(file, destination) : server->lastError();
    server->rollback(); // ends the read-only snapshot
    if (sqlite3_close(file) != SQLITE_OK && problem.isEmpty())
        problem = sqliteProblem(file, destination);
    return problem;
}

namespace {

// Feeds the rows of one table of the file to the server; false when either side fails.
bool copyTableIn(Server* server, sqlite3* file, const Database::TableSchema& table, QString* problem)
{
    const QByteArray select = QStringLiteral("SELECT %1 FROM %2 ORDER BY ID").arg(table.columns.join(u','), table.name).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(file, select.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        *problem = QString::fromUtf8(sqlite3_errmsg(file));
        return false;
    }
    int rc = SQLITE_ROW;
    const bool copied = server->copyIn(table.name, table.columns, [&](QList<QString>& cells) {
        rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW)
            return false;
        cells.resize(table.columns.size());
        for (int c = 0; c < table.columns.size(); ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            cells[c] = text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, c)) : QString();
        }
        return true;
    });
    if (rc != SQLITE_DONE)
        *problem = QString::fromUtf8(sqlite3_errmsg(file));
    else if (!copied)
        *problem = server->lastError();
    sqlite3_finalize(stmt);
    return copied && rc == SQLITE_DONE;
}

// The reason the server may not take the rows; clears the tables for a restore.
QString makeRoom(Server* server, bool onlyIntoEmpty, QStringList* tables)
{
    for (const Database::TableSchema& table : Database::schema())
        *tables << table.name;
    if (!server->exec(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(tables->join(u','))))
        return server->lastError();
    for (const QString& table : std::as_const(*tables)) {
        Result any;
        if (!server->exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(table), {}, &any))
            return server->lastError();
        if (onlyIntoEmpty && any.rowCount() > 0)
            return kNotEmpty.arg(table);
    }
    if (!onlyIntoEmpty && !server->exec(QStringLiteral("TRUNCATE %1").arg(tables->join(u','))))
        return server->lastError();
    return {};
}

// The last key the file has given in a table (its rows' or a deleted row's), 0 if none.
qint64 fileLastKey(sqlite3* file, const QString& table)
{
    sqlite3_stmt* stmt = nullptr;
    qint64 last = 0;
    const QByteArray sql = "SELECT seq FROM sqlite_sequence WHERE name='" + table.toUtf8() + "'";
    if (sqlite3_prepare_v2(file, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        last = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return last;
}

// The server's next keys follow the highest key used before, copied now or given by the file.
bool moveKeysOn(Server* server, sqlite3* file, const QString& table, qint64 before)
{
    const qint64 last = std::max({before, lastKey(server, table), std::min<qint64>(fileLastKey(file, table), INT_MAX)});
    if (last <= 0)
        return true;
    return server->exec(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, 'id'), ?::bigint)"),
                        {table, QString::number(last)});
}

} // namespace

QString replaceFromDatabaseFile(Server* server, const QString& source, bool onlyIntoEmpty)
{
    sqlite3* file = nullptr;
    const QByteArray name = QFile::encodeName(source);
    if (sqlite3_open_v2(name.constData(), &file, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const QString problem = sqliteProblem(file, source);
        sqlite3_close(file);
        return problem;
    }
    std::map<QString, qint64> before;
    for (const Database::TableSchema& table : Database::schema())
        before[table.name] = lastKey(server, table.name);
    QStringList tables;
    QString problem = server->begin() ? makeRoom(server, onlyIntoEmpty, &tables) : server->lastError();
    for (const Database::TableSchema& table : Database::schema()) {
        if (problem.isEmpty() && !copyTableIn(server, file, table, &problem) && problem.isEmpty())
            problem = server->lastError();
        if (problem.isEmpty() && !moveKeysOn(server, file, table.name, before[table.name]))
            problem = server->lastError();
    }
    if (problem.isEmpty() && !server->commit())
        problem = server->lastError();
    if (!problem.isEmpty())
        server->rollback();
    else // freshly copied rows make the server visit every row's page when reading keys, until vacuumed
        server->execute(QStringLiteral("VACUUM (ANALYZE) ") + tables.join(u','));
    sqlite3_close(file);
    return problem;
}

} // namespace Postgres
