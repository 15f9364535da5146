// What the staff wait for with a busy shop's database (see shop_data.h), at 100,000 and at
// 1,000,000 orders: the whole program's start to its shown main window (in a child process,
// less a start on an empty folder) against a raw sqlite3 scan of the five tables in the same
// run, the start's peak memory, and the order list: first screen, scroll to the last row,
// re-read and Find after the order window stores an order, Find by ID.
// Run: build Release with -DCORVANTA_BENCH=ON, then QT_QPA_PLATFORM=offscreen ./bench_startup
#include "app/main_window.h"
#include "app/startup.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "shop_data.h"
#include "storage/edit_state.h"
#include "storage/program_folder.h"
#include "storage/record_grid.h"
#include "ui/form_registry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace {

double msSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The child: starts the program on a folder and leaves as soon as the main window is shown,
// telling its peak resident set.
int runChild(const QString& folder)
{
    setProgramFolder(folder);
    startProgram();
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [] {
        Form1* main = forms().isLoaded<Form1>() ? forms().get<Form1>() : nullptr;
        if (!main || !main->isVisible())
            return;
        QApplication::processEvents();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%ld %s\n", usage.ru_maxrss, qPrintable(main->Label10->text()));
        std::fflush(stdout);
        _exit(0);
    });
    poll->start(0);
    return QApplication::exec();
}

struct Start
{
    double ms = 1e9;
    long peakKb = 0;
    QString orders;
};

// The best of three starts of the whole program in a child process.
Start startOn(const QString& folder, const QString& settings)
{
    Start best;
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings);
        child.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), folder});
        child.waitForFinished(120000);
        const double ms = msSince(timer);
        const QStringList out = QString::fromUtf8(child.readAllStandardOutput()).split(u' ');
        if (ms < best.ms)
            best = {ms, out.value(0).toLong(), out.value(1).trimmed()};
    }
    return best;
}

double rawScanOfFiveTables(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        size_t bytes = 0;
        for (const char* table : {"winhost", "linhost", "newdomin", "newmoshtary", "ss"}) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, (QByteArray("SELECT * FROM ") + table).constData(), -1, &stmt, nullptr);
            const int columns = sqlite3_column_count(stmt);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                for (int i = 0; i < columns; ++i) {
                    sqlite3_column_text(stmt, i);
                    bytes += static_cast<size_t>(sqlite3_column_bytes(stmt, i));
                }
            sqlite3_finalize(stmt);
        }
        best = std::min(best, bytes ? msSince(timer) : 1e9);
    }
    sqlite3_close(db);
    return best;
}

template <class Step> double bestOf(int rounds, Step step)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        best = std::min(best, msSince(timer));
    }
    return best;
}

// The order window opened on an order, one field changed, saved (as its save button does).
qint32 storeAnOrder(qint32 key, const QString& notes)
{
    EditState& state = editState(Table::ss);
    state.recordKey = key;
    state.editing = key != 0;
    Form10* entry = forms().get<Form10>();
    entry->Text1->setText(notes);
    entry->Adodc1->update();
    const qint32 stored = entry->Adodc1->currentKey();
    forms().unload<Form10>();
    return stored;
}

void orderList(const QString& folder, int orders)
{
    setProgramFolder(folder);
    Form1* main = forms().get<Form1>();
    Form14* list = forms().get<Form14>();
    RecordGrid* grid = list->DataGrid1;
    list->resize(1024, 700);
    const double first = bestOf(1, [&] {
        list->show();
        grid->viewport()->repaint();
    });
    const double last = bestOf(1, [&] {
        list->Adodc1->setCurrentRow(list->Adodc1->recordCount() - 1);
        grid->viewport()->repaint();
    });
    const qint32 middle = orders / 2;
    const double afterEdit = bestOf(3, [&] {
        storeAnOrder(middle, QStringLiteral("user%1").arg(middle));
        list->Adodc1->refresh();
        list->Adodc1->find(QStringLiteral("ID=%1").arg(middle));
        grid->viewport()->repaint();
    });
    qint32 added = 0;
    const double afterNew = bestOf(1, [&] {
        added = storeAnOrder(0, QStringLiteral("user-new"));
        list->Adodc1->refresh();
        list->Adodc1->find(QStringLiteral("ID=%1").arg(added));
        grid->viewport()->repaint();
    });
    // Another program stored an order: the re-read reads every ID again.
    const double external = bestOf(1, [&] {
        sqlite3* other = nullptr;
        sqlite3_open(QFile::encodeName(folder + QStringLiteral("/db.mdb")).constData(), &other);
        sqlite3_exec(other, "INSERT INTO ss (nuser) VALUES ('elsewhere')", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QElapsedTimer timer;
        timer.start();
        list->Adodc1->refresh();
        grid->viewport()->repaint();
    });
    const double find = bestOf(3, [&] {
        list->Adodc1->setCurrentRow(0);
        list->Adodc1->find(QStringLiteral("ID=%1").arg(orders - 5));
    });
    std::printf("  order list: first screen %.1f ms, scroll to the last row %.1f ms\n", first, last);
    std::printf("  order stored and list re-read + Find: edited %.1f ms, new (ID %d) %.1f ms\n", afterEdit, added, afterNew);
    std::printf("  re-read + first screen after another program stored an order: %.1f ms\n", external);
    std::printf("  Find ID=%d from the first row: %.2f ms; cached rows %d\n", orders - 5, find,
                list->Adodc1->cachedRowCount());
    (void)main;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir empty, settings;
    const Start bare = startOn(empty.path(), settings.path());
    std::printf("start on an empty folder: %.0f ms, peak RSS %ld MB\n", bare.ms, bare.peakKb / 1024);
    const QList<int> sizes = argc > 1 ? QList<int>{QByteArray(argv[1]).toInt()} : QList<int>{100000, 1000000};
    for (int orders : sizes) {
        QTemporaryDir folder;
        setProgramFolder(folder.path());
        bench::createShopDatabase(folder.path() + QStringLiteral("/db.mdb"), orders);
        Database::closeAll();
        const double raw = rawScanOfFiveTables(folder.path() + QStringLiteral("/db.mdb"));
        const Start start = startOn(folder.path(), settings.path());
        const double net = start.ms - bare.ms;
        std::printf("%d orders (main window counts %s):\n", orders, qPrintable(start.orders));
        std::printf("  start %.0f ms, less the empty start %.0f ms; raw scan of the five tables %.0f ms; "
                    "ratio %.2f; peak RSS %ld MB\n", start.ms, net, raw, net / raw, start.peakKb / 1024);
        orderList(folder.path(), orders);
        forms().unloadAll();
        Database::closeAll();
    }
    return 0;
}
