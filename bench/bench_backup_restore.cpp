// Time to back up and restore the database of a busy shop (100,000 orders, 10,000 customers,
// 1,000 plans in each plan table, 500 domain extensions), and to re-read every data window
// afterwards as the restore command does.
// Run: build with -DCORVANTA_BENCH=ON, then QT_QPA_PLATFORM=offscreen ./bench_backup_restore
#include "app/backup_restore.h"
#include "catalogue/customer_editor.h"
#include "catalogue/domain_editor.h"
#include "catalogue/list_windows.h"
#include "catalogue/plan_editor.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "orders/pickers.h"
#include "shop_data.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/program_folder.h"
#include "ui/form_registry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

namespace {

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

    bench::createShopDatabase(database);
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
