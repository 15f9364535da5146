// The restore's check of a candidate backup file: any file the user picks. A file the check
// lets through becomes db.mdb, so every table of it must then read without fault.
#include "storage/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir* folder = nullptr;

void readEveryTable(const QString& path)
{
    sqlite3* handle = Database::handleFor(path);
    if (!handle)
        std::abort(); // the check accepted a file the program then cannot open
    for (const Database::TableSchema& table : Database::schema()) {
        const QByteArray sql = "SELECT * FROM " + table.name.toUtf8();
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(handle, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                    (void)sqlite3_column_text(stmt, i);
            }
        }
        sqlite3_finalize(stmt);
    }
    Database::closeAll();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Never destroyed: libFuzzer leaves through exit(), after which Qt cannot be torn down.
    new QCoreApplication(*argc, *argv);
    folder = new QTemporaryDir;
    // The folder goes with the run, however libFuzzer ends it.
    std::atexit([] { folder->remove(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = folder->filePath(QStringLiteral("candidate.Backup"));
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != qint64(size))
        std::abort();
    file.close();
    if (Database::checkFile(path).isEmpty())
        readEveryTable(path);
    return 0;
}
