// Speed of finding and following up at the scale of a busy shop: the order list's search per
// keystroke, and the renewals window's load, on 100,000 orders (or as many as the first
// argument asks; the shop's orders are copied until there are that many).
// Run: build with -DCORVANTA_BENCH=ON, then QT_QPA_PLATFORM=offscreen ./bench_search [orders]
#include "orders/order_list.h"
#include "orders/renewals.h"
#include "shop_data.h"
#include "storage/program_folder.h"
#include "storage/record_grid.h"
#include "storage/search_filter.h"
#include "ui/form_registry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void growOrders(const QString& dbPath, long wanted)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(dbPath).constData(), &db);
    const char* copy =
        "INSERT INTO ss (nuser,name,fname,email,npah,sal,hz,nd1,nd2,htsd2,htsd1,hras,dhkh,khas,mgzas,tss) "
        "SELECT nuser,name,fname,email,npah,sal,hz,nd1||'x',nd2,htsd2,htsd1,hras,dhkh,khas,mgzas,tss "
        "FROM ss LIMIT ?";
    for (;;) {
        sqlite3_stmt* count = nullptr;
        sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM ss", -1, &count, nullptr);
        sqlite3_step(count);
        const long have = sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
        if (have >= wanted)
            break;
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, copy, -1, &stmt, nullptr);
        sqlite3_bind_int64(stmt, 1, std::min(have, wanted - have));
        sqlite3_step(stmt);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
}

double ms(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Types the text into the list's search box key by key; prints each keystroke's time.
void typeInto(QLineEdit* box, const QString& text, SearchFilterModel* filter)
{
    std::printf("  typing \"%s\":", text.toUtf8().constData());
    for (qsizetype i = 1; i <= text.size(); ++i) {
        QElapsedTimer t;
        t.start();
        box->setText(text.left(i));
        std::printf(" %.1f ms (%d)", ms(t), filter->rowCount());
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const long orders = argc > 1 ? std::atol(argv[1]) : 100000;
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    const QString dbPath = folder.path() + QStringLiteral("/db.mdb");
    bench::createShopDatabase(dbPath);
    if (orders > 100000)
        growOrders(dbPath, orders);
    Database::closeAll();

    QElapsedTimer t;
    t.start();
    Form14* list = forms().get<Form14>();
    std::printf("order list load (%d orders): %.0f ms\n", list->Adodc1->recordCount(), ms(t));
    auto* box = list->findChild<QLineEdit*>(QStringLiteral("SearchBox"));
    SearchFilterModel* filter = list->DataGrid1->searchFilter();
    if (!box) {
        std::printf("no search box\n");
        return 1;
    }
    // The first keystroke reads the index; the ones after it scan it.
    typeInto(box, QStringLiteral("رضايي12"), filter);
    box->clear();
    typeInto(box, QStringLiteral("site4321"), filter);
    box->clear();
    typeInto(box, QStringLiteral("ۀ"), filter); // matches nothing: a whole scan
    typeInto(box, QStringLiteral("ر"), filter); // not narrowing: a whole scan
    box->clear();
    t.start();
    box->setText(QStringLiteral("USER77@"));
    std::printf("  pasted \"USER77@\": %.1f ms (%d)\n", ms(t), filter->rowCount());
    t.start();
    list->Adodc1->refresh();
    std::printf("  re-read after a save with the filter kept: %.0f ms (%d)\n", ms(t), filter->rowCount());

    for (int i = 0; i < 3; ++i) {
        t.start();
        Renewals* renewals = i == 0 ? forms().get<Renewals>() : forms().ifLoaded<Renewals>();
        if (i > 0)
            renewals->readOrders();
        std::printf("renewals %s: %.0f ms (%d services listed)\n", i == 0 ? "load" : "re-read", ms(t),
                    renewals->DataGrid1->model()->rowCount());
    }
    forms().unloadAll();
    return 0;
}
