// Speed of the data source and grid at the scale of a busy shop: 100,000 orders, 10,000
// customers, 1,000 plans in each plan table, 500 domain extensions.
// Run: build with -DCORVANTA_BENCH=ON, then QT_QPA_PLATFORM=offscreen ./bench_storage
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/program_folder.h"
#include "storage/record_grid.h"
#include "shop_data.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

namespace {

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// The same query scanned with the C API on one open connection, touching every cell's text.
double rawScanMs(sqlite3* db)
{
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM ss", -1, &stmt, nullptr);
    const int columns = sqlite3_column_count(stmt);
    size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        for (int i = 0; i < columns; ++i) {
            sqlite3_column_text(stmt, i);
            bytes += static_cast<size_t>(sqlite3_column_bytes(stmt, i));
        }
    sqlite3_finalize(stmt);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    return bytes ? ms : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    QElapsedTimer t;
    t.start();
    bench::createShopDatabase(folder.path() + QStringLiteral("/db.mdb"));
    std::printf("filled database in %.0f ms\n", static_cast<double>(t.elapsed()));

    const QString path = folder.path() + QStringLiteral("/db.mdb");
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    rawScanMs(db); // warm the caches
    double raw = 1e9;
    for (int i = 0; i < 5; ++i)
        raw = std::min(raw, rawScanMs(db));
    sqlite3_close(db);

    DataSource orders;
    orders.setConnectionString(DataSource::connectionTextForProgramFolder());
    orders.setRecordSource(QStringLiteral("SELECT * FROM ss"));
    const long before = residentKb();
    orders.refresh(); // opens the file and loads the rows once
    const long after = residentKb();
    double unchanged = 1e9, refresh = 1e9;
    for (int i = 0; i < 5; ++i) {
        t.start();
        orders.refresh();
        unchanged = std::min(unchanged, static_cast<double>(t.nsecsElapsed()) / 1e6);
        // Another program stores a row: the next re-read reads every ID again.
        sqlite3* other = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &other);
        const QByteArray change = "UPDATE ss SET hras='" + QByteArray::number(i) + "' WHERE ID=5";
        if (sqlite3_exec(other, change.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            std::printf("the other program could not store: %s\n", sqlite3_errmsg(other));
        sqlite3_close(other);
        t.start();
        orders.refresh();
        refresh = std::min(refresh, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::printf("rows: %d\n", orders.recordCount());
    std::printf("raw sqlite3 scan of SELECT * FROM ss: %.1f ms\n", raw);
    std::printf("DataSource::refresh(), after another program's change: %.1f ms (%.2fx the raw scan)\n", refresh, refresh / raw);
    std::printf("DataSource::refresh(), nothing changed:                %.1f ms\n", unchanged);
    std::printf("memory added per order row of the snapshot: ~%.0f bytes (resident set)\n",
                static_cast<double>(after - before) * 1024.0 / orders.recordCount());

    RecordGrid grid;
    QList<GridColumn> columns;
    for (const char* f : {"ID", "nuser", "name", "fname", "email", "npah", "nd2", "tss", "mgzas"})
        columns.append({QString::fromLatin1(f), QString::fromLatin1(f), 1515});
    t.start();
    grid.setDataSource(&orders, columns);
    grid.resize(580, 430);
    grid.show();
    const QPixmap firstScreen = grid.grab();
    std::printf("grid: bind + first paint of %d rows: %.1f ms\n", orders.recordCount(),
                static_cast<double>(t.nsecsElapsed()) / 1e6);
    t.start();
    orders.find(QStringLiteral("ID=99999"));
    std::printf("find ID=99999 from the first row: %.2f ms\n", static_cast<double>(t.nsecsElapsed()) / 1e6);
    return firstScreen.isNull() ? 1 : 0;
}
