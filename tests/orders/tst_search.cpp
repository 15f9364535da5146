// Finding and following up: the search box of the lists, the CSV they write, and the renewals
// window; on a real database file in a temporary folder.
#include "calendar/solar_hijri.h"
#include "catalogue/list_windows.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "orders/pickers.h"
#include "orders/renewals.h"
#include "settings/persian_keyboard.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"
#include "storage/search_filter.h"
#include "support/fixtures.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>

using namespace fixtures;

namespace {
const QString kYeh = QStringLiteral("\u0639\u0644\u064A");       // spelled with the Arabic yeh
const QString kKaf = QStringLiteral("\u0643\u0627\u0638\u0645"); // spelled with the Arabic kaf

QStringList column(const QAbstractItemModel* model, int c)
{
    QStringList cells;
    for (int r = 0; r < model->rowCount(); ++r)
        cells << model->index(r, c).data().toString();
    return cells;
}

template <class W> QLineEdit* searchBox(W* window)
{
    return window->template findChild<QLineEdit*>(QStringLiteral("SearchBox"));
}

// Clicks ExportCsv, answering the file dialog with `path`; the message box that comes, if any,
// is closed and its text returned.
QString exportTo(QWidget* window, const QString& path)
{
    CommonDialog::setAnswerForTests(
        [path](const QString&, const QString&) { return std::optional<QString>(path); });
    QString told;
    {
        ModalWatch watch(window);
        clickButton(window, QStringLiteral("ExportCsv"));
        told = watch.titles().join(QLatin1Char('|'));
    }
    CommonDialog::setAnswerForTests({});
    return told;
}

QStringList csvLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {QStringLiteral("no byte-order mark")};
    return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
}
} // namespace

class TestSearch : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup()
    {
        keyboardLayout().activate(QStringLiteral("1"));
        Renewals::setTodayForTests({});
        m_program.reset();
    }

    // Typed with the program's Persian keyboard, the search finds the customer stored with the
    // Arabic yeh; the choice opens that customer, and after a save the list keeps the filter.
    void customerSearchOpensTheRecordAndSurvivesASave()
    {
        insert(QStringLiteral("newmoshtary"),
               {{"nuser", "reza"}, {"name", QStringLiteral("\u0631\u0636\u0627")}});
        const qint32 ali = insert(QStringLiteral("newmoshtary"), {{"nuser", "ali"}, {"name", kYeh}});
        const qint32 kazem = insert(QStringLiteral("newmoshtary"), {{"nuser", "kazem"}, {"name", kKaf}});
        Form9* list = forms().get<Form9>();
        QLineEdit* box = searchBox(list);
        QVERIFY(box);
        keyboardLayout().activate(KeyboardLayout::kPersian);
        typeText(box, QStringLiteral("ugd")); // the keys of "علی" in the Persian layout
        QCOMPARE(box->text(), QStringLiteral("\u0639\u0644\u06CC"));
        const QAbstractItemModel* grid = list->DataGrid1->model();
        QCOMPARE(column(grid, 1), QStringList{QStringLiteral("ali")});
        QCOMPARE(list->findChild<QLabel*>(QStringLiteral("SearchCount"))->text(),
                 QStringLiteral("1") + QStringLiteral(" \u0627\u0632 ") + QStringLiteral("3"));
        QCOMPARE(list->Adodc1->recordCount(), 3);
        QCOMPARE(list->Adodc1->currentKey(), ali);

        QString opened;
        ModalAnswerer edit([&](QWidget* editor) {
            auto* text1 = editor->findChild<QLineEdit*>(QStringLiteral("Text1"));
            opened = text1->text();
            text1->setText(QStringLiteral("ali.k"));
            clickButton(editor, QStringLiteral("Command1"));
        });
        QTest::keyClick(list->DataGrid1, Qt::Key_Return);
        QVERIFY(edit.done());
        QCOMPARE(opened, QStringLiteral("ali"));
        QCOMPARE(box->text(), QStringLiteral("\u0639\u0644\u06CC"));
        QCOMPARE(column(grid, 1), QStringList{QStringLiteral("ali.k")});
        QCOMPARE(list->Adodc1->currentKey(), ali);

        // The Persian keheh key finds the Arabic kaf; a text that matches nothing leaves no
        // current row, so that nothing hidden is opened or deleted.
        box->clear();
        typeText(box, QStringLiteral(";"));
        QCOMPARE(column(grid, 0), QStringList{QString::number(kazem)});
        typeText(box, QStringLiteral("zzz"));
        QCOMPARE(grid->rowCount(), 0);
        QVERIFY(list->Adodc1->eof());
        QVERIFY(showsNothing([&] { QTest::keyClick(list->DataGrid1, Qt::Key_Return); }));
        box->clear();
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(list->Adodc1->currentRow(), 0);
    }

    // The search index outlives re-reads of the list: after this program's own saves only the
    // saved rows are read again, after another program's change every row is; either way the
    // filter shows what is stored now.
    void searchFollowsSavesHereAndElsewhere()
    {
        const QString table = QStringLiteral("newmoshtary");
        insert(table, {{"nuser", "reza"}});
        const qint32 ali = insert(table, {{"nuser", "ali"}});
        insert(table, {{"nuser", "kazem"}});
        Form9* list = forms().get<Form9>();
        list->DataGrid1->searchFilter()->prepareIndex();
        searchBox(list)->setText(QStringLiteral("REZA"));
        const QAbstractItemModel* grid = list->DataGrid1->model();
        QCOMPARE(column(grid, 1), QStringList{QStringLiteral("reza")});

        auto editor = openSource(QStringLiteral("SELECT * FROM newmoshtary WHERE ID=%1").arg(ali));
        QLineEdit user;
        editor->bind(&user, QStringLiteral("nuser"));
        for (const char* saved : {"rezaali", "ali"}) {
            user.setText(QString::fromLatin1(saved));
            QVERIFY(editor->update());
            list->Adodc1->refresh();
            QCOMPARE(column(grid, 1).join(u','), saved == QByteArray("ali") ? u"reza"_qs : u"reza,rezaali"_qs);
        }
        QVERIFY(exec(QStringLiteral("UPDATE newmoshtary SET nuser='kazemreza' WHERE nuser='kazem'")));
        list->Adodc1->refresh();
        QCOMPARE(column(grid, 1).join(u','), u"reza,kazemreza"_qs);

        auto adder = openSource(QStringLiteral("SELECT * FROM newmoshtary WHERE ID=0"));
        adder->bind(&user, QStringLiteral("nuser"));
        QVERIFY(adder->addNew());
        user.setText(QStringLiteral("rezanew"));
        QVERIFY(adder->update());
        list->Adodc1->setCurrentRow(0);
        QVERIFY(list->Adodc1->deleteCurrent());
        list->Adodc1->refresh();
        QCOMPARE(column(grid, 1).join(u','), u"kazemreza,rezanew"_qs);
    }

    // A picker keeps its typed search when it switches table, and chooses the row it shows.
    void pickerSearchAcrossTables()
    {
        for (const char* table : {"winhost", "linhost"}) {
            insert(QString::fromLatin1(table), {{"namep", QStringLiteral("Gold ") + QLatin1String(table)}});
            insert(QString::fromLatin1(table),
                   {{"namep", QStringLiteral("Economy ") + QLatin1String(table)}});
        }
        Form10* order = openNewOrder();
        QVERIFY(withPicker<Form12>(order->Command2, [](Form12* picker) {
            picker->search.SearchBox->setText(QStringLiteral("ECONOMY"));
            QCOMPARE(column(picker->DataGrid1->model(), 0), QStringList{QStringLiteral("Economy winhost")});
            clickOption(picker->Option2);
            QCOMPARE(column(picker->DataGrid1->model(), 0), QStringList{QStringLiteral("Economy linhost")});
            QTest::keyClick(picker->DataGrid1, Qt::Key_Return);
        }));
        QCOMPARE(order->Text2->text(), QStringLiteral("Economy linhost"));
        order->close();
    }

    // The order list writes the rows it shows, in the columns it shows, as a spreadsheet reads
    // them; a file that cannot be written is told and nothing is left.
    void orderListExportsTheShownRows()
    {
        insert(QStringLiteral("ss"),
               {{"nuser", "ali"}, {"name", kYeh}, {"mgzas", QStringLiteral("a, \"b\"\nc")}});
        insert(QStringLiteral("ss"), {{"nuser", "reza"}, {"mgzas", QStringLiteral("=1+2")}});
        insert(QStringLiteral("ss"), {{"nuser", "ali2"}, {"email", "-x@ex.ir"}});
        Form14* list = forms().get<Form14>();
        QTemporaryDir dir;
        // Every order, read in one pass, is written as the same orders shown by a search are.
        searchBox(list)->setText(QStringLiteral("A"));
        QCOMPARE(exportTo(list, dir.filePath(QStringLiteral("shown.csv"))), QString());
        searchBox(list)->clear();
        QCOMPARE(exportTo(list, dir.filePath(QStringLiteral("all.csv"))), QString());
        const QStringList all = csvLines(dir.filePath(QStringLiteral("all.csv")));
        QCOMPARE(all.size(), 5);
        QCOMPARE(all, csvLines(dir.filePath(QStringLiteral("shown.csv"))));
        QFile::remove(dir.filePath(QStringLiteral("all.csv")));
        QFile::remove(dir.filePath(QStringLiteral("shown.csv")));
        searchBox(list)->setText(QStringLiteral("ALI"));
        const QString path = dir.filePath(QStringLiteral("orders.csv"));
        QCOMPARE(exportTo(list, path), QString());
        const QStringList lines = csvLines(path);
        QCOMPARE(lines.size(), 4); // header, two rows (one of two lines), the empty end
        QVERIFY(lines[0].startsWith(QStringLiteral("\u0634\u0645\u0627\u0631\u0647 \u062B\u0628\u062A,")));
        QCOMPARE(lines[1], QStringLiteral("1,ali,") + kYeh + QStringLiteral(",,,,,,\"a, \"\"b\"\"\nc\""));
        QCOMPARE(lines[2], QStringLiteral("3,ali2,,,'-x@ex.ir,,,,"));

        searchBox(list)->setText(QStringLiteral("reza"));
        QVERIFY(!exportTo(list, dir.filePath(QStringLiteral("missing/orders.csv"))).isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("orders.csv")});
        QCOMPARE(csvLines(path), lines);
    }

    // Due dates across 30 Esfand, overdue and coming services earliest first, orders without a
    // valid date or period counted; choosing a row opens its order.
    void renewalsListDueServices()
    {
        const QDate today(2026, 12, 6);
        QCOMPARE(PersianDateText(today), QStringLiteral("1405/09/15"));
        Renewals::setTodayForTests([today] { return today; });
        const auto order = [](const char* user, const char* date, const QString& host,
                              const QString& domain) {
            return insert(QStringLiteral("ss"), {{"nuser", user},
                                                 {"tss", date},
                                                 {"sal", host},
                                                 {"npah", "plan"},
                                                 {"htsd2", domain},
                                                 {"nd1", "shop"},
                                                 {"nd2", "ir"}});
        };
        const qint32 esfand = order("a", "1403/12/30", kOneYear, kFiveYears);
        const qint32 overdue = order("b", "1404/09/10", kOneYear, {});
        order("c", "1403/09/20", kTwoYears, {});
        order("d", "1405/09/15", kOneYear, {});
        order("e", "1404/13/01", kOneYear, {});
        order("f", "1404/01/01", QStringLiteral("\u0642\u064A\u0645\u062A"), {});
        order("g", "", {}, {});

        Renewals* window = forms().get<Renewals>();
        QCOMPARE(window->DaysAhead->value(), 30);
        const QAbstractItemModel* grid = window->DataGrid1->model();
        QCOMPARE(column(grid, 1), QStringList({"a", "b", "c"}));
        QCOMPARE(column(grid, 4), QStringList({"1404/12/29", "1405/09/10", "1405/09/20"}));
        QCOMPARE(column(grid, 5), QStringList({"-261", "-5", "5"}));
        QVERIFY(window->Unreadable->text().startsWith(QStringLiteral("3 ")));
        window->DaysAhead->setValue(3650);
        QCOMPARE(column(grid, 4),
                 QStringList({"1404/12/29", "1405/09/10", "1405/09/20", "1406/09/15", "1408/12/30"}));
        QCOMPARE(column(grid, 5).last(), QStringLiteral("1200"));
        QCOMPARE(column(grid, 3).last(), QStringLiteral("shop.ir"));
        QCOMPARE(column(grid, 0).last(), QString::number(esfand));

        qint32 opened = 0;
        ModalAnswerer answer([&](QWidget* modal) {
            opened = modal->objectName() == QStringLiteral("Form10") ? editState(Table::ss).recordKey : -1;
            modal->close();
        });
        window->DataGrid1->setCurrentIndex(grid->index(1, 0));
        QTest::keyClick(window->DataGrid1, Qt::Key_Return);
        QVERIFY(answer.done());
        QCOMPARE(opened, overdue);

        searchBox(window)->setText(QStringLiteral("SHOP"));
        QTemporaryDir dir;
        QCOMPARE(exportTo(window, dir.filePath(QStringLiteral("due.csv"))), QString());
        const QStringList lines = csvLines(dir.filePath(QStringLiteral("due.csv")));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[1].endsWith(QStringLiteral(",shop.ir,1408/12/30,1200")));
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
