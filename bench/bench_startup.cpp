// What the staff wait for with a busy shop's database (see shop_data.h): the main window's load
// (its count steps load the four list windows and the order list), and the order list's re-read
// and Find after an order opened from it is saved.
// Run: build with -DCORVANTA_BENCH=ON, then QT_QPA_PLATFORM=offscreen ./bench_startup
#include "app/main_window.h"
#include "orders/order_list.h"
#include "shop_data.h"
#include "storage/program_folder.h"
#include "ui/form_registry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>

namespace {
double msSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    bench::createShopDatabase(folder.path() + QStringLiteral("/db.mdb"));
    Database::closeAll();

    QElapsedTimer timer;
    timer.start();
    Form1* main = forms().get<Form1>();
    const double load = msSince(timer);
    timer.start();
    main->show();
    QApplication::processEvents();
    const double shown = msSince(timer);
    std::printf("main window load (counts read %s orders): %.0f ms, first show %.0f ms\n",
                qPrintable(main->Label10->text()), load, shown);

    Form14* orders = forms().get<Form14>();
    timer.start();
    orders->Adodc1->refresh();
    orders->Adodc1->find(QStringLiteral("ID=99990"));
    std::printf("order list re-read + Find of the last rows after a save: %.0f ms\n", msSince(timer));
    return 0;
}
