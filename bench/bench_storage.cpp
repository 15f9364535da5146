// Speed of the data source and grid at the scale of a busy shop: 100,000 orders, 10,000
// customers, 1,000 plans in each plan table, 500 domain extensions.
// Run: build with -DCORVANTA_BENCH=ON, then QT_QPA_PLATFORM=offscreen ./bench_storage
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/program_folder.h"
#include "storage/record_grid.h"

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

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        sqlite3_free(error);
    }
}

void fill(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    exec(db, "BEGIN");
    exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<10000) "
             "INSERT INTO newmoshtary (nuser,name,fname,email,tell,mob,kp,sa) SELECT 'user'||i, 'محمد', 'رضايي'||i, "
             "'user'||i||'@example.ir', '021'||(4400000+i), '0912'||(1000000+i), '13'||(10000000+i), "
             "'مشتري قديمي از سال ۱۳۹۵، تماس فقط در ساعات اداري' FROM n;");
    for (const char* table : {"winhost", "linhost"}) {
        const QByteArray sql = QByteArray("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000) "
                                          "INSERT INTO ") + table +
                               " (namep,mf,pb,ghemats,gs,sa) SELECT 'پنل اقتصادي '||i, 500+i, 10000, "
                               "'قيمت يک ساله :', 150000+i*100, 'پشتيباني رايگان و گواهي امنيتي' FROM n;";
        exec(db, sql.constData());
    }
    exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<500) "
             "INSERT INTO newdomin (pd,ghemats,gs) SELECT 'ir'||i, 'قيمت يک ساله :', 45000 FROM n;");
    exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<100000) "
             "INSERT INTO ss (nuser,name,fname,email,npah,sal,hz,nd1,nd2,htsd2,htsd1,hras,dhkh,khas,mgzas,tss) "
             "SELECT 'user'||(i%10000), 'محمد', 'رضايي'||(i%10000), 'user'||(i%10000)||'@example.ir', "
             "'پنل اقتصادي '||(i%1000), 'قيمت يک ساله :', 250000, 'site'||i, 'ir', 'قيمت يک ساله :', 45000, "
             "50000, 0, 345000, 'تمديد سالانه، فاکتور براي حسابداري ارسال شود', '1403/0'||(1+i%9)||'/1'||(i%9) FROM n;");
    exec(db, "COMMIT");
    sqlite3_close(db);
}

double rawScanMs(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM ss", -1, &stmt, nullptr);
    size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            sqlite3_column_text(stmt, i);
            bytes += static_cast<size_t>(sqlite3_column_bytes(stmt, i));
        }
    sqlite3_finalize(stmt);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    sqlite3_close(db);
    return bytes ? ms : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    {
        DataSource create;
        create.setConnectionString(DataSource::connectionTextForProgramFolder());
        create.setRecordSource(QStringLiteral("SELECT * FROM ss"));
        create.refresh();
        Database::closeAll();
    }
    QElapsedTimer t;
    t.start();
    fill(folder.path() + QStringLiteral("/db.mdb"));
    std::printf("filled database in %.0f ms\n", static_cast<double>(t.elapsed()));

    const QString path = folder.path() + QStringLiteral("/db.mdb");
    rawScanMs(path); // warm the page cache
    double raw = 1e9;
    for (int i = 0; i < 3; ++i)
        raw = std::min(raw, rawScanMs(path));

    DataSource orders;
    orders.setConnectionString(DataSource::connectionTextForProgramFolder());
    orders.setRecordSource(QStringLiteral("SELECT * FROM ss"));
    const long before = residentKb();
    orders.refresh(); // opens the file and loads the rows once
    const long after = residentKb();
    double refresh = 1e9;
    for (int i = 0; i < 3; ++i) {
        t.start();
        orders.refresh();
        refresh = std::min(refresh, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::printf("rows: %d\n", orders.recordCount());
    std::printf("raw sqlite3 scan of SELECT * FROM ss: %.1f ms\n", raw);
    std::printf("DataSource::refresh():               %.1f ms (%.2fx the raw scan)\n", refresh, refresh / raw);
    std::printf("memory added per loaded order row: ~%.0f bytes (resident set)\n",
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
