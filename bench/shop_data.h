#pragma once
// The database of a busy shop for the benchmarks: a number of orders (100,000 or 1,000,000) with
// a tenth as many customers, 1,000 plans in each plan table and 500 domain extensions, with
// Persian texts of a realistic length. Filled once per size and kept under /tmp, since a
// million orders take a while to write.
#include "storage/data_source.h"
#include "storage/database.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <sqlite3.h>

#include <cstdio>

namespace bench {

inline void runSql(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        sqlite3_free(error);
    }
}

inline void fillShop(sqlite3* db, int orders)
{
    const int customers = orders / 10;
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) ");
    runSql(db, QStringLiteral("BEGIN"));
    runSql(db, numbers.arg(customers) +
                   QStringLiteral("INSERT INTO newmoshtary (nuser,name,fname,email,tell,mob,kp,sa) SELECT 'user'||i, 'محمد', "
                                  "'رضايي'||i, 'user'||i||'@example.ir', '021'||(4400000+i), '0912'||(1000000+i), "
                                  "'13'||(10000000+i), 'مشتري قديمي از سال ۱۳۹۵، تماس فقط در ساعات اداري' FROM n;"));
    for (const char* table : {"winhost", "linhost"})
        runSql(db, numbers.arg(1000) + QStringLiteral("INSERT INTO %1 (namep,mf,pb,ghemats,gs,sa) SELECT 'پنل اقتصادي '||i, "
                                                      "500+i, 10000, 'قيمت يک ساله :', 150000+i*100, "
                                                      "'پشتيباني رايگان و گواهي امنيتي' FROM n;")
                                           .arg(QString::fromLatin1(table)));
    runSql(db, numbers.arg(500) + QStringLiteral("INSERT INTO newdomin (pd,ghemats,gs) SELECT 'ir'||i, 'قيمت يک ساله :', 45000 FROM n;"));
    runSql(db, numbers.arg(orders) +
                   QStringLiteral("INSERT INTO ss (nuser,name,fname,email,npah,sal,hz,nd1,nd2,htsd2,htsd1,hras,dhkh,khas,mgzas,tss) "
                                  "SELECT 'user'||(i%%1), 'محمد', 'رضايي'||(i%%1), 'user'||(i%%1)||'@example.ir', "
                                  "'پنل اقتصادي '||(i%1000), 'قيمت يک ساله :', 250000, 'site'||i, 'ir', 'قيمت يک ساله :', "
                                  "45000, 50000, 0, 345000, 'تمديد سالانه، فاکتور براي حسابداري ارسال شود', "
                                  "'1403/0'||(1+i%9)||'/1'||(i%9) FROM n;")
                       .replace(QStringLiteral("%%1"), QStringLiteral("%") + QString::number(customers)));
    runSql(db, QStringLiteral("COMMIT"));
}

// Puts the shop's db.mdb at dbPath (in the program folder): a copy of the one kept under /tmp,
// made there first through the program's own first start when it is not there yet.
inline void createShopDatabase(const QString& dbPath, int orders = 100000)
{
    const QString kept = QStringLiteral("/tmp/corvanta-bench/shop-%1.mdb").arg(orders);
    if (!QFile::exists(kept)) {
        {
            DataSource create;
            create.setConnectionString(DataSource::connectionTextForProgramFolder());
            create.setRecordSource(QStringLiteral("SELECT * FROM ss"));
            create.refresh();
        }
        Database::closeAll();
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(dbPath).constData(), &db);
        fillShop(db, orders);
        sqlite3_close(db);
        QDir().mkpath(QStringLiteral("/tmp/corvanta-bench"));
        QFile::copy(dbPath, kept + QStringLiteral(".part"));
        QFile::rename(kept + QStringLiteral(".part"), kept);
        return;
    }
    QFile::remove(dbPath);
    QFile::copy(kept, dbPath);
}

} // namespace bench
