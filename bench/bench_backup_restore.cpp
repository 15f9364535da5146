// Time to back up and restore the database of a busy shop (100,000 orders, 10,000 customers,
// 1,000 plans in each plan table, 500 domain extensions), and to re-read every data window
// afterwards as the restore command does.
// Run: build with -DCORVANTA_BENCH=ON, then QT_QPA_PLATFORM=offscreen ./bench_backup_restore
#include "app/backup_restore.h"
#include "app/form_registry.h"
#include "catalogue/customer_editor.h"
#include "catalogue/domain_editor.h"
#include "catalogue/list_windows.h"
#include "catalogue/plan_editor.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "orders/pickers.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/program_folder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

namespace {

void run(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        sqlite3_free(error);
    }
}

void fillShop(sqlite3* db)
{
    run(db, "BEGIN");
    run(db, "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<1000) "
            "INSERT INTO winhost (namep, mf, pb, ghemats, gs, sa) SELECT 'ويندوز '||i, 1000, 20000, "
            "'قيمت يک ساله :', 90000+i, 'کنترل پنل فارسي' FROM k;"
            "INSERT INTO linhost (namep, mf, pb, ghemats, gs, sa) SELECT namep, mf, pb, ghemats, gs, sa FROM winhost;");
    run(db, "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<500) "
            "INSERT INTO newdomin (pd, ghemats, gs) SELECT 'com'||i, 'قيمت يک ساله :', 30000 FROM k;");
    run(db, "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<10000) "
            "INSERT INTO newmoshtary (nuser, name, fname, email, tell, mob, kp, sa) SELECT 'customer'||i, 'علي', "
            "'احمدي '||i, 'c'||i||'@mail.ir', '0511'||i, '0915'||i, '91'||i, 'مشتري ويژه' FROM k;");
    run(db, "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<100000) "
            "INSERT INTO ss (nuser, name, fname, email, npah, sal, hz, nd1, nd2, htsd2, htsd1, hras, dhkh, khas, "
            "mgzas, tss) SELECT 'customer'||(i%10000), 'علي', 'احمدي '||(i%10000), 'c'||(i%10000)||'@mail.ir', "
            "'ويندوز '||(i%1000), 'قيمت يک ساله :', 90000, 'shop'||i, 'com', 'قيمت يک ساله :', 30000, 20000, 0, "
            "140000, 'پرداخت شده، فاکتور ارسال شد', '1403/05/'||(10+i%20) FROM k;");
    run(db, "COMMIT");
}

double msSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

template <class Window> void reread()
{
    if (Window* window = forms().get<Window>(); window && window->Adodc1)
        window->Adodc1->refresh();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    const QString database = folder.path() + QStringLiteral("/db.mdb");
    const QString backup = folder.path() + QStringLiteral("/db.Backup");

    fillShop(Database::handleFor(database));
    std::printf("database: %.1f MB\n", static_cast<double>(QFileInfo(database).size()) / 1e6);

    double backupMs = 1e9;
    double restoreMs = 1e9;
    double rereadMs = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        if (!WriteBackupFile(database, backup))
            std::fprintf(stderr, "backup failed\n");
        backupMs = std::min(backupMs, msSince(timer));

        timer.start();
        if (!RestoreBackupFile(backup, database))
            std::fprintf(stderr, "restore failed\n");
        restoreMs = std::min(restoreMs, msSince(timer));

        // The restore command then re-reads Form2 ... Form14 (loading them the first time).
        timer.start();
        reread<Form2>();
        reread<Form3>();
        reread<Form4>();
        reread<Form5>();
        reread<Form6>();
        reread<Form7>();
        reread<Form8>();
        reread<Form9>();
        reread<Form10>();
        reread<Form11>();
        reread<Form12>();
        reread<Form13>();
        reread<Form14>();
        const double ms = msSince(timer);
        std::printf("round %d: re-read of the data windows %.0f ms\n", round + 1, ms);
        if (round > 0)
            rereadMs = std::min(rereadMs, ms);
    }
    std::printf("backup (online copy, temporary file, rename): %.0f ms\n", backupMs);
    std::printf("restore file work (vet with quick_check, safety copy, rename): %.0f ms\n", restoreMs);
    std::printf("re-read of Form2..Form14 with the windows loaded: %.0f ms\n", rereadMs);
    std::printf("orders listed: %d\n", forms().get<Form14>()->Adodc1->recordCount());
    forms().unloadAll();
    Database::closeAll();
    return 0;
}
