// The order list on a PostgreSQL server against the same list on db.mdb, in one run: the shop
// database of shop_data.h copied into the server, then the list's read, first screen, scroll to
// the last row, find, and its re-read after a save on each store; the server's backup and restore.
// Run: build with -DCORVANTA_BENCH=ON; start a server (scripts/pg_cluster.sh does) and name an
// empty database of it: CORVANTA_BENCH_SERVER="host=... dbname=..." ./bench_server [orders]
// (the five tables in that database are dropped first).
#include "shop_data.h"

#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/postgres_store.h"
#include "storage/program_folder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

double ms(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double best(int times, const std::function<void()>& work)
{
    double fastest = 1e12;
    for (int i = 0; i < times; ++i)
        fastest = std::min(fastest, ms(work));
    return fastest;
}

void readRows(DataSource& source, int from, int count)
{
    const int columns = static_cast<int>(source.columnNames().size());
    for (int r = from; r < from + count && r < source.recordCount(); ++r)
        for (int c = 0; c < columns; ++c)
            source.value(r, c);
}

void measureOrderList(const char* store, int orderCount)
{
    const QString lastKey = QStringLiteral("ID=%1").arg(orderCount - 1);
    const QString middleKey = QString::number(orderCount / 2);
    Database::closeAll();
    DataSource orders;
    orders.setConnectionString(DataSource::connectionTextForProgramFolder());
    orders.setRecordSource(QStringLiteral("SELECT * FROM ss"));
    const double first = ms([&] { orders.refresh(); });
    const double again = best(3, [&] { orders.refresh(); });
    const double screen = ms([&] { readRows(orders, 0, 30); });
    const double last = ms([&] { readRows(orders, orders.recordCount() - 30, 30); });
    const double find = best(3, [&] {
        orders.setCurrentRow(0);
        orders.find(lastKey);
    });
    DataSource editor;
    editor.setConnectionString(DataSource::connectionTextForProgramFolder());
    editor.setRecordSource(QStringLiteral("SELECT * FROM ss WHERE ID=") + middleKey);
    editor.refresh();
    QLineEdit notes;
    editor.bind(&notes, QStringLiteral("mgzas"));
    notes.setText(QStringLiteral("تمديد شد، فاکتور ارسال شد"));
    const double save = ms([&] { editor.update(); });
    const double reread = ms([&] {
        orders.refresh();
        orders.find(QStringLiteral("ID=") + middleKey);
    });
    std::printf("%-8s %8d %9.1f %9.1f %8.1f %8.1f %7.2f %7.1f %9.1f\n", store, orders.recordCount(), first, again,
                screen, last, find, save, reread);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString server = qEnvironmentVariable("CORVANTA_BENCH_SERVER");
    if (server.isEmpty()) {
        std::fprintf(stderr, "CORVANTA_BENCH_SERVER names no server database\n");
        return 2;
    }
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    const QString file = folder.path() + QStringLiteral("/db.mdb");
    const int orders = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    bench::createShopDatabase(file, orders);

    QString problem;
    auto store = Postgres::Server::open(server, &problem);
    if (!store || store->execute(QStringLiteral("DROP TABLE winhost, linhost, newdomin, newmoshtary, ss")) < 0) {
        std::fprintf(stderr, "%s\n", qPrintable(problem.isEmpty() ? store->errorText() : problem));
        return 1;
    }
    store = Postgres::Server::open(server, &problem);
    std::printf("db.mdb copied into the empty server: %.0f ms\n",
                ms([&] { problem = Postgres::replaceFromDatabaseFile(store.get(), file, true); }));
    const QString backup = folder.path() + QStringLiteral("/server.Backup");
    std::printf("server backup to a database file: %.0f ms\n",
                ms([&] { problem += Postgres::writeDatabaseFile(store.get(), backup); }));
    std::printf("restore of that file into the server: %.0f ms\n",
                ms([&] { problem += Postgres::replaceFromDatabaseFile(store.get(), backup, false); }));
    if (!problem.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(problem));

    std::printf("order list (SELECT * FROM ss), ms: store, rows, first read, re-read, first screen, last screen, "
                "find the last ID, save, re-read + find after the save\n");
    measureOrderList("db.mdb", orders);
    qputenv("CORVANTA_DATABASE", server.toUtf8());
    measureOrderList("server", orders);
    return problem.isEmpty() ? 0 : 1;
}
