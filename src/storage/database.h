#pragma once
// The database file db.mdb: an SQLite file with the program's five tables. Opened once per
// file and shared by every data source naming it; created with the tables on first start;
// never modified when it is not a database of this program.
#include <QString>
#include <QStringList>

#include <functional>

class RecordStore;
struct sqlite3;

namespace Database {

// The five tables and their columns (ID first), in the order they are created.
struct TableSchema
{
    QString name;
    QStringList columns;
};
const QList<TableSchema>& schema();

// The record store of the database a data source names, opening it when needed (for db.mdb:
// opening and on first start creating the file). nullptr when it cannot be used; *error then
// says why, in Persian. The store lives until closeAll().
RecordStore* storeFor(const QString& filePath, QString* error = nullptr);

// The open SQLite handle for a database file, opening (and on first start creating) it when
// needed. nullptr when the file cannot be used; *error then says why, in Persian.
sqlite3* handleFor(const QString& filePath, QString* error = nullptr);

// Checks a file without changing it: SQLite header, opens read-only, quick_check is "ok",
// the five tables with all their columns. (Opening a file checks all but quick_check, which
// reads every page.) Returns the empty text when it is fine, else the
// reason in Persian.
QString checkFile(const QString& filePath);

// Closes every open database file (restore replaces db.mdb between closeAll() and the
// next use); data sources reopen on their next operation.
void closeAll();

// Tells the problem reporter (below) this message.
void reportProblem(const QString& message);

// The record store the program uses: the libpq connection string of a PostgreSQL server, from
// the environment variable CORVANTA_DATABASE or else the settings key "Server" of the group
// "Database"; the empty text for the database file db.mdb. Read at the first use of a store
// and again after closeAll(), so a changed setting counts from the next start.
QString serverConnection();

// Called once per file and open attempt when a file cannot be used, with the Persian text
// to show. The program shows it in a message box; tests record it.
void setProblemReporter(std::function<void(const QString& message)> reporter);

} // namespace Database

// ---- Backup copy of an open database file -------------------------------------------------

namespace Database {

// Writes a complete, consistent copy of the database file into `destination` (a new or empty
// file) with SQLite's online backup, through the connection the data sources share, so it
// works while windows hold the file open. Returns the empty text on success, else the reason
// in Persian; `destination` is then left half-written for the caller to remove.
QString backupInto(const QString& filePath, const QString& destination);

} // namespace Database
