#pragma once
// The database of a busy shop for the benchmarks: 100,000 orders, 10,000 customers, 1,000 plans
// in each plan table and 500 domain extensions, with Persian texts of a realistic length.
#include "storage/data_source.h"
#include "storage/database.h"

#include <QFile>
#include <QString>

#include <sqlite3.h>

#include <cstdio>

namespace bench {

inline void runSql(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        sqlite3_free(error);
    }
}

// Creates db.mdb in the program folder (through the program's own first start) and fills it.
inline void createShopDatabase(const QString& dbPath)
{
    {
        DataSource create;
        create.setConnectionString(DataSource::connectionTextForProgramFolder());
        create.setRecordSource(QStringLiteral("SELECT * FROM ss"));
        create.refresh();
    }
    Database::closeAll();
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(dbPath).constData(), &db);
    runSql(db, "BEGIN");
    runSql(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<10000) "
               "INSERT INTO newmoshtary (nuser,name,fname,email,tell,mob,kp,sa) SELECT 'user'||i, 'محمد', "
               "'رضايي'||i, 'user'||i||'@example.ir', '021'||(4400000+i), '0912'||(1000000+i), '13'||(10000000+i), "
               "'مشتري قديمي از سال ۱۳۹۵، تماس فقط در ساعات اداري' FROM n;");
    for (const char* table : {"winhost", "linhost"}) {
        const QByteArray sql = QByteArray("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000) "
                                          "INSERT INTO ") + table +
                               " (namep,mf,pb,ghemats,gs,sa) SELECT 'پنل اقتصادي '||i, 500+i, 10000, "
                               "'قيمت يک ساله :', 150000+i*100, 'پشتيباني رايگان و گواهي امنيتي' FROM n;";
        runSql(db, sql.constData());
    }
    runSql(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<500) "
               "INSERT INTO newdomin (pd,ghemats,gs) SELECT 'ir'||i, 'قيمت يک ساله :', 45000 FROM n;");
    runSql(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<100000) "
               "INSERT INTO ss (nuser,name,fname,email,npah,sal,hz,nd1,nd2,htsd2,htsd1,hras,dhkh,khas,mgzas,tss) "
               "SELECT 'user'||(i%10000), 'محمد', 'رضايي'||(i%10000), 'user'||(i%10000)||'@example.ir', "
               "'پنل اقتصادي '||(i%1000), 'قيمت يک ساله :', 250000, 'site'||i, 'ir', 'قيمت يک ساله :', 45000, "
               "50000, 0, 345000, 'تمديد سالانه، فاکتور براي حسابداري ارسال شود', '1403/0'||(1+i%9)||'/1'||(i%9) FROM n;");
    runSql(db, "COMMIT");
    sqlite3_close(db);
}

} // namespace bench
