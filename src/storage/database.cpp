#include "storage/database.h"

#include "storage/postgres_store.h"
#include "storage/program_folder.h"
#include "storage/settings_store.h"
#include "storage/sqlite_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <sqlite3.h>

#include <map>
#include <memory>
#include <set>

namespace Database {

namespace {

// Messages about the database file, shown to the user.
const QString kNotUsable = QStringLiteral("فايل بانک اطلاعات «%1» قابل استفاده نيست: %2\n"
                                          "براي بازگرداندن اطلاعات، يک فايل پشتيبان را بازيابي کنيد.");
const QString kCannotOpen = QStringLiteral("فايل باز نمي شود (%1).");
const QString kDamaged = QStringLiteral("فايل آسيب ديده است (%1).");

std::function<void(const QString&)>& reporter()
{
    static std::function<void(const QString&)> report;
    return report;
}

// Files already reported since the last closeAll(), so a bad file is told once, not at
// every window that reads it.
std::set<QString>& reported()
{
    static std::set<QString> files;
    return files;
}

std::map<QString, std::unique_ptr<SqliteStore>>& openStores() // by absolute file path
{
    static std::map<QString, std::unique_ptr<SqliteStore>> stores;
    return stores;
}

void report(const QString& filePath, const QString& message)
{
    if (!reported().insert(filePath).second)
        return;
    if (reporter())
        reporter()(message);
}

QString createTables(sqlite3* handle)
{
    QString sql = QStringLiteral("BEGIN;");
    for (const TableSchema& table : schema()) {
        sql += QStringLiteral("CREATE TABLE ") + table.name + QStringLiteral(" (ID INTEGER PRIMARY KEY AUTOINCREMENT");
        for (qsizetype i = 1; i < table.columns.size(); ++i)
            sql += QStringLiteral(", ") + table.columns[i] + QStringLiteral(" TEXT");
        sql += QStringLiteral(");");
    }
    sql += QStringLiteral("COMMIT;");
    char* error = nullptr;
    if (sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
        return message;
    }
    return {};
}

} // namespace

const QList<TableSchema>& schema()
{
    static const QList<TableSchema> tables = {
        {QStringLiteral("winhost"),
         {QStringLiteral("ID"), QStringLiteral("namep"), QStringLiteral("mf"), QStringLiteral("pb"),
          QStringLiteral("ghemats"), QStringLiteral("gs"), QStringLiteral("sa")}},
        {QStringLiteral("linhost"),
         {QStringLiteral("ID"), QStringLiteral("namep"), QStringLiteral("mf"), QStringLiteral("pb"),
          QStringLiteral("ghemats"), QStringLiteral("gs"), QStringLiteral("sa")}},
        {QStringLiteral("newdomin"),
         {QStringLiteral("ID"), QStringLiteral("pd"), QStringLiteral("ghemats"), QStringLiteral("gs")}},
        {QStringLiteral("newmoshtary"),
         {QStringLiteral("ID"), QStringLiteral("nuser"), QStringLiteral("name"), QStringLiteral("fname"),
          QStringLiteral("email"), QStringLiteral("tell"), QStringLiteral("mob"), QStringLiteral("kp"),
          QStringLiteral("sa")}},
        {QStringLiteral("ss"),
         {QStringLiteral("ID"), QStringLiteral("nuser"), QStringLiteral("name"), QStringLiteral("fname"),
          QStringLiteral("email"), QStringLiteral("npah"), QStringLiteral("sal"), QStringLiteral("hz"),
          QStringLiteral("nd1"), QStringLiteral("nd2"), QStringLiteral("htsd2"), QStringLiteral("htsd1"),
          QStringLiteral("hras"), QStringLiteral("dhkh"), QStringLiteral("khas"), QStringLiteral("mgzas"),
          QStringLiteral("tss")}},
    };
    return tables;
}

namespace {

// An SQLite file, not shorter than the pages its header counts (unless a journal left by a
// crash is still to be rolled back, which may shorten it).
QString checkHeader(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return kCannotOpen.arg(file.errorString());
    const QByteArray header = file.read(100);
    if (!header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return QStringLiteral("اين فايل بانک اطلاعات اين نرم افزار نيست.");
    if (header.size() < 100)
        return kDamaged.arg(QStringLiteral("انتهاي فايل بريده شده است"));
    const auto at = [&](int offset) { return qFromBigEndian<quint32>(header.constData() + offset); };
    const quint32 pageSize = qFromBigEndian<quint16>(header.constData() + 16);
    const qint64 declared = qint64(at(28)) * (pageSize == 1 ? 65536 : pageSize);
    if (at(92) == at(24) && declared > file.size() && !QFile::exists(filePath + QStringLiteral("-journal")))
        return kDamaged.arg(QStringLiteral("انتهاي فايل بريده شده است"));
    return {};
}

QString checkTables(SqliteStore& store)
{
    for (const TableSchema& table : schema()) {
        const QStringList present = store.columns(table.name);
        if (present.isEmpty())
            return QStringLiteral("جدول %1 در فايل نيست.").arg(table.name);
        for (const QString& column : table.columns)
            if (!present.contains(column, Qt::CaseInsensitive))
                return QStringLiteral("ستون %2 در جدول %1 نيست.").arg(table.name, column);
    }
    return {};
}

// Every page read and checked: as long as a scan of the whole file.
QString checkPages(SqliteStore& store)
{
    QString result;
    store.select(QStringLiteral("PRAGMA quick_check"), {}, [&](const RecordStore::Row& row) {
        result = row.text(0);
        return false;
    });
    return result == QLatin1String("ok") ? QString() : kDamaged.arg(result.isEmpty() ? store.errorText() : result);
}

QString checkFileWith(const QString& filePath, bool everyPage)
{
    const QString problem = checkHeader(filePath);
    if (!problem.isEmpty())
        return problem;
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(filePath).constData(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const QString message = kCannotOpen.arg(QString::fromUtf8(sqlite3_errmsg(handle)));
        sqlite3_close(handle);
        return message;
    }
    SqliteStore store(handle);
    const QString damage = everyPage ? checkPages(store) : QString();
    return damage.isEmpty() ? checkTables(store) : damage;
}

} // namespace

QString checkFile(const QString& filePath)
{
    return checkFileWith(filePath, true);
}

namespace {

// The server connection string chosen for the run; null until read.
QString& chosenServer()
{
    static QString chosen;
    return chosen;
}

// Tells a file that cannot be used: to the caller through *error, to the user once.
void refuse(const QString& path, const QString& message, QString* error)
{
    if (error)
        *error = message;
    report(path, message);
}

SqliteStore* sqliteStoreFor(const QString& filePath, QString* error)
{
    const QString path = QFileInfo(filePath).absoluteFilePath();
    auto known = openStores().find(path);
    if (known != openStores().end())
        return known->second.get();

    const bool firstStart = !QFileInfo::exists(path);
    // Opening checks the header and the tables; a damaged page is told when it is read.
    const QString problem = firstStart ? QString() : checkFileWith(path, false);
    if (!problem.isEmpty()) {
        refuse(path, kNotUsable.arg(displayPath(path), problem), error);
        return nullptr;
    }
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc));
        sqlite3_close(handle);
        refuse(path, kNotUsable.arg(displayPath(path), kCannotOpen.arg(reason)), error);
        return nullptr;
    }
    sqlite3_busy_timeout(handle, 3000);
    // The file alone must be the whole database: backup and restore copy just that file.
    sqlite3_exec(handle, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    if (firstStart) {
        const QString created = createTables(handle);
        if (!created.isEmpty()) {
            sqlite3_close(handle);
            QFile::remove(path);
            refuse(path,
                   QStringLiteral("فايل بانک اطلاعات «%1» ساخته نشد: %2")
                       .arg(displayPath(path), created),
                   error);
            return nullptr;
        }
    }
    auto& store = openStores()[path];
    store = std::make_unique<SqliteStore>(handle);
    return store.get();
}

} // namespace

RecordStore* storeFor(const QString& filePath, QString* error)
{
    // The store choice: the shop's server when one is named, else the file the connection
    // text names.
    const QString server = serverConnection();
    if (!server.isEmpty())
        return Postgres::Server::forConnection(server, error);
    return sqliteStoreFor(filePath, error);
}

sqlite3* handleFor(const QString& filePath, QString* error)
{
    SqliteStore* store = sqliteStoreFor(filePath, error);
    return store ? store->handle() : nullptr;
}

void closeAll()
{
    Postgres::Server::closeAll();
    chosenServer() = QString();
    openStores().clear();
    reported().clear();
}

void reportProblem(const QString& message)
{
    if (reporter())
        reporter()(message);
}

QString serverConnection()
{
    // Read once (every data source asks at every operation); closeAll() reads it again.
    QString& chosen = chosenServer();
    if (chosen.isNull()) {
        chosen = qEnvironmentVariable("CORVANTA_DATABASE").trimmed();
        if (chosen.isEmpty())
            chosen = SettingsStore::read(SettingsStore::kDatabase, SettingsStore::kServerKey).trimmed();
        if (chosen.isNull())
            chosen = QStringLiteral("");
    }
    return chosen;
}

void setProblemReporter(std::function<void(const QString& message)> reporterFunction)
{
    reporter() = std::move(reporterFunction);
}

} // namespace Database

// ---- Backup copy of an open database file -------------------------------------------------

namespace Database {

QString backupInto(const QString& filePath, const QString& destination)
{
    static const QString kBackupFailed = QStringLiteral("نسخه پشتيبان نوشته نشد (%1).");
    QString problem;
    sqlite3* source = handleFor(filePath, &problem);
    if (!source)
        return problem.isEmpty() ? kBackupFailed.arg(displayPath(filePath)) : problem;

    sqlite3* target = nullptr;
    const QByteArray name = QFile::encodeName(destination);
    int rc = sqlite3_open_v2(name.constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        // The file is thrown away when the copy fails, so it needs no journal of its own.
        sqlite3_exec(target, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
        if (!backup) {
            rc = sqlite3_errcode(target);
        } else {
            rc = sqlite3_backup_step(backup, -1);
            const int finished = sqlite3_backup_finish(backup);
            rc = rc == SQLITE_DONE ? finished : rc;
        }
    }
    if (rc != SQLITE_OK)
        problem = kBackupFailed.arg(QString::fromUtf8(target ? sqlite3_errmsg(target) : sqlite3_errstr(rc)));
    // Closing writes nothing more; a failure here still means the file may be incomplete.
    if (sqlite3_close(target) != SQLITE_OK && problem.isEmpty())
        problem = kBackupFailed.arg(QString::fromUtf8(sqlite3_errmsg(target)));
    return problem;
}

} // namespace Database
