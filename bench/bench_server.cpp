// The order list on a PostgreSQL server against the same list on db.mdb, in one run: the shop
// database of shop_data.h copied into the server, then the list's read, first screen, scroll to
// the last row, find, and its re-read after a save and after another desk's change on each store;
// the whole program's start to its shown main window on each; the server's backup and restore.
// Run: build with -DCORVANTA_BENCH=ON; start a server (scripts/pg_cluster.sh does) and name an
// empty database of it: CORVANTA_BENCH_SERVER="host=... dbname=..." ./bench_server [orders]
// (the five tables in that database are dropped first).
#include "shop_data.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "ui/form_registry.h"

#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/postgres_store.h"
#include "storage/program_folder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

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

// The child: starts the program on a folder and leaves once the main window shows, telling its
// peak resident set in kB.
int runChild(const QString& folder)
{
    setProgramFolder(folder);
    startProgram();
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [] {
        if (!forms().isLoaded<Form1>() || !forms().get<Form1>()->isVisible())
            return;
        QApplication::processEvents();
        // This process's own high-water mark (getrusage would count the parent's at the fork).
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                std::printf("%s\n", line.mid(6).simplified().constData());
        std::fflush(stdout);
        _exit(0);
    });
    poll->start(0);
    return QApplication::exec();
}

// The best of three whole-program starts on a folder (and a server, when named).
void measureStart(const char* what, const QString& folder, const QString& server)
{
    QTemporaryDir settings;
    double best = 1e12;
    QString peak;
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
        env.remove(QStringLiteral("CORVANTA_DATABASE"));
        if (!server.isEmpty())
            env.insert(QStringLiteral("CORVANTA_DATABASE"), server);
        child.setProcessEnvironment(env);
        const double took = ms([&] {
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), folder});
            child.waitForFinished(300000);
        });
        if (took < best) {
            best = took;
            peak = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
        }
    }
    std::printf("whole-program start, %s: %.0f ms, peak %s\n", what, best, qPrintable(peak));
}

void measureOrderList(const char* store, int orderCount, const std::function<void()>& otherDesk)
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
    otherDesk();
    const double afterOther = ms([&] {
        orders.refresh();
        orders.find(QStringLiteral("ID=") + middleKey);
    });
    std::printf("%-8s %8d %9.1f %9.1f %8.1f %8.1f %7.2f %7.1f %9.1f %9.1f\n", store, orders.recordCount(), first,
                again, screen, last, find, save, reread, afterOther);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[2]));
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
                "find the last ID, save, re-read + find after the save, the same after another desk's save\n");
    measureOrderList("db.mdb", orders, [&] {
        sqlite3* other = nullptr;
        sqlite3_open(QFile::encodeName(file).constData(), &other);
        bench::runSql(other, QStringLiteral("UPDATE ss SET mgzas='x' WHERE ID=7"));
        sqlite3_close(other);
    });
    qputenv("CORVANTA_DATABASE", server.toUtf8());
    measureOrderList("server", orders, [&] { store->execute(QStringLiteral("UPDATE ss SET mgzas='x' WHERE ID=7")); });
    Database::closeAll();
    QTemporaryDir empty;
    measureStart("empty folder", empty.path(), {});
    measureStart("db.mdb", folder.path(), {});
    measureStart("server", empty.path(), server);
    return problem.isEmpty() ? 0 : 1;
}
