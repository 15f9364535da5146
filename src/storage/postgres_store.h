#pragma once
// A PostgreSQL server as the record store, for a shop with several desks (libpq). One connection
// per connection string, shared by every data source naming it. On first use of an empty
// database it creates the five tables (ID an identity column, every other column text); a
// database whose tables of those names hold other columns is never touched. A connection lost
// mid-session fails the operation that finds it, with a Persian message; the next operation
// connects again.
#include "storage/record_store.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

struct pg_conn;
struct pg_result;

namespace Postgres {

// The Persian reason a connection string may not be used (it carries a password, or libpq
// cannot read it); the empty text when it is fine.
QString checkConnectionString(const QString& conninfo);

// The rows of one statement; cells are UTF-8 text. Owns the libpq result.
class Result
{
public:
    Result() = default;
    ~Result();
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    int rowCount() const;
    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int row, int column) const;
    const char* cell(int row, int column) const;
    int cellLength(int row, int column) const;
    QString text(int row, int column) const;
    // Rows an INSERT, UPDATE or DELETE touched.
    qint64 affectedRows() const;

private:
    friend class Server;
    void reset(pg_result* result);
    pg_result* m_result = nullptr;
};

class Server final : public RecordStore
{
public:
    // The open server for this connection string, connecting (and on first use of an empty
    // database creating the tables) when needed. nullptr when it cannot be used; *error then
    // says why in Persian, and the problem reporter of Database is told once.
    static Server* forConnection(const QString& conninfo, QString* error = nullptr);
    // A connection of its own, with the tables checked (and in an empty database made) as
    // forConnection does, reporting nothing; nullptr with *error when it cannot be used.
    static std::unique_ptr<Server> open(const QString& conninfo, QString* error);
    // Disconnects every server (tests; the next forConnection connects again).
    static void closeAll();
    // Connects on a connection of its own, closed again, and checks the tables as
    // forConnection does without creating any: the empty text when the program can use the
    // database (an empty one too), else the reason in Persian.
    static QString testConnection(const QString& conninfo);

    // Runs one statement with text parameters marked `?` (a null QString binds NULL); true
    // on success. *result receives the rows. On failure lastError() says why in Persian.
    bool exec(const QString& sql, const QList<QString>& params = {}, Result* result = nullptr);
    // Runs a query row by row without holding all its rows (backup); visit gets each row.
    bool stream(const QString& sql, const std::function<void(const Result& row)>& visit);
    // Feeds rows to "COPY table (columns) FROM STDIN" in text format; next() fills the cells
    // of one row (a null QString is NULL) and returns false after the last row.
    bool copyIn(const QString& table, const QStringList& columns, const std::function<bool(QList<QString>&)>& next);

    // The record store's operations. Rows of a query over one table without an order come in
    // the order of their keys, as they do from the database file.
    bool select(const QString& sql, const QStringList& params, const Visitor& visit,
                QStringList* columns = nullptr) override;
    qint64 execute(const QString& sql, const QStringList& params = {}) override;
    bool begin() override;
    bool commit() override;
    void rollback() override;
    qint64 insert(const QString& table, const QStringList& columns, const QStringList& values) override;
    QStringList tables() override;
    QStringList columns(const QString& table) override;
    QString errorText() const override { return m_lastError; }
    QString nullSafeEquals(const QString& column) const override;
    quint64 changeStamp() override;

    QString lastError() const { return m_lastError; }
    QString connectionString() const { return m_conninfo; }

    ~Server() override;

private:
    explicit Server(const QString& conninfo);
    bool connect();
    bool ensureConnected();
    QString prepareTables(bool create);
    bool failed(pg_result* result);
    pg_conn* m_conn = nullptr;
    QString m_conninfo;
    QString m_lastError;
    bool m_lost = false;
    quint64 m_committedStamp = 0; // the stamp the last commit left, until the next statement
};

// "?" marks outside quoted text and identifiers become $1, $2, ...
QByteArray numberedParameters(const QString& sql);
// A query over one table with neither order nor grouping gets "ORDER BY ID": the database
// file gives such rows in the order of their keys, the server in no settled order.
QString withKeyOrder(const QString& sql);

} // namespace Postgres

// ---- Copies between the server and a database file ------------------------------------------

namespace Postgres {

// Writes the five tables with all their rows into `destination` (a new or empty file) as a
// database file of the same layout as db.mdb, so it restores into either store. The empty
// text on success, else the reason in Persian; the file is then left for the caller to remove.
QString writeDatabaseFile(Server* server, const QString& destination);

// Replaces the rows of the five tables with those of the database file `source` (already
// checked by Database::checkFile) in one transaction: all or nothing. With `onlyIntoEmpty`
// it refuses, changing nothing, when any of the tables holds a row. Keys are kept, and the
// server's next keys follow the highest key either side has used. The empty text on success.
QString replaceFromDatabaseFile(Server* server, const QString& source, bool onlyIntoEmpty);

} // namespace Postgres
