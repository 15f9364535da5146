// The customer, plan and domain extension pickers, shown from the order entry window's choose
// buttons over a real database, and a whole order entered through them.
#include "calendar/solar_hijri.h"
#include "orders/order_entry.h"
#include "orders/pickers.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"
#include "support/fixtures.h"
#include "ui/form_registry.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace fixtures;

namespace {
void addCatalogue()
{
    auto customer = [](const char* nuser, const QString& name, const QString& fname, const QString& email) {
        insert(QStringLiteral("newmoshtary"), {{"nuser", nuser}, {"name", name}, {"fname", fname}, {"email", email}});
    };
    customer("ali", QStringLiteral("علي"), QStringLiteral("رضايي"), QStringLiteral("ali@example.ir"));
    customer("sara", QStringLiteral("سارا"), QStringLiteral("محمدي"), QString());
    auto plan = [](const char* table, const char* namep, const QString& period, const char* price) {
        insert(QString::fromLatin1(table), {{"namep", namep}, {"ghemats", period}, {"gs", price}});
    };
    plan("winhost", "Win Basic", kOneYear, "1500");
    plan("winhost", "Win Pro", kTwoYears, "3000");
    plan("winhost", "Win Free", QString(), "0");
    plan("linhost", "Lin Basic", kFiveYears, "1200");
    plan("linhost", "Lin Pro", kOneYear, "2500");
    for (const auto& [pd, period, price] : {std::tuple{"com", kOneYear, "500"}, std::tuple{"ir", kTwoYears, "300"},
                                            std::tuple{"net", QString(), "450"}})
        insert(QStringLiteral("newdomin"), {{"pd", pd}, {"ghemats", period}, {"gs", price}});
}

QPushButton* chooser(Form10* order, const QString& name)
{
    return order->findChild<QPushButton*>(name);
}

QString shown(Form10* order, const QString& name)
{
    QWidget* control = order->findChild<QWidget*>(name);
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return line->text();
    return qobject_cast<QLabel*>(control)->text();
}

// What the order entry window shows, control by control, for "nothing else changed" checks.
QStringList orderSnapshot(Form10* order)
{
    QStringList all;
    for (const char* name : {"Text1", "Label3", "Label14", "Label4", "Text2", "Label13", "Label5", "Text4", "Label12",
                             "Label9", "Label11"})
        all << shown(order, QString::fromLatin1(name));
    return all;
}

void choose(OrderPicker* picker, const QString& gesture)
{
    if (gesture == QLatin1String("button")) {
        QTest::mouseClick(picker->Command1, Qt::LeftButton);
    } else if (gesture == QLatin1String("enter")) {
        QTest::keyClick(picker->DataGrid1, Qt::Key_Return);
    } else if (gesture == QLatin1String("cancel")) {
        QTest::mouseClick(picker->Command2, Qt::LeftButton);
    } else {
        auto* grid = picker->DataGrid1;
        const QRect cell = grid->visualRect(grid->model()->index(picker->Adodc1->currentRow(), 0));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
}

// The steps of a user entering an order; true when every total was right and Store was pressed.
bool enterAnOrder(Form10* order)
{
    bool ok = withPicker<Form11>(order->Command1, [](Form11* picker) { choose(picker, QStringLiteral("button")); });
    ok = ok && withPicker<Form12>(order->Command2, [](Form12* picker) {
        clickOption(picker->Option2);
        clickRow(picker->DataGrid1, 1);
        choose(picker, QStringLiteral("enter"));
    });
    QStringList totals = {order->Label11->text()};
    ok = ok && withPicker<Form13>(order->Command3, [](Form13* picker) { choose(picker, QStringLiteral("button")); });
    totals << order->Label11->text();
    for (const auto& [box, text] : {std::pair{order->Text3, QStringLiteral("example")},
                                    std::pair{order->Text6, QStringLiteral("۱۵۰")},
                                    std::pair{order->Text7, QStringLiteral("1,000")}}) {
        typeText(box, text);
        totals << order->Label11->text();
    }
    ok = ok && totals == QStringList{"2500", "2500", "3000", "3150", "4150"};
    typeText(order->Text5, QStringLiteral("تمديد ساليانه"));
    QTest::mouseClick(order->Image14, Qt::LeftButton);
    return clickStore(order) && ok;
}
} // namespace

class TestOrderPickers : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }
    void pickerListsItsTable_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("customers") << "Command1" << "    انتخاب مشتري" << "newmoshtary"
                                   << QStringList{"       نام کاربري", "     پست الکترونيک", "               نام", "      نام خانوادگي"}
                                   << QStringList{"nuser", "email", "name", "fname"};
        QTest::newRow("plans") << "Command2" << "      انتخاب پنل هاست" << "winhost"
                               << QStringList{"            نام پنل", "      قيمت"} << QStringList{"namep", "gs"};
        QTest::newRow("extensions") << "Command3" << "      انتخاب دامين" << "newdomin"
                                    << QStringList{"        پسوند دامنه", "      قيمت ساليانه"} << QStringList{"pd", "gs"};
    }
    void pickerListsItsTable()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(QString, table);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, fields);
        addCatalogue();
        Form10* order = openNewOrder();
        const auto stored = rows(QStringLiteral("SELECT * FROM %1").arg(table));
        OrderPicker* shownPicker = nullptr;
        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [&](OrderPicker* picker) {
            shownPicker = picker;
            QCOMPARE(picker->windowTitle(), title);
            QCOMPARE(picker->Adodc1->recordCount(), stored.size());
            QCOMPARE(picker->Adodc1->currentRow(), 0);
            QCOMPARE(picker->DataGrid1->columnCount(), headers.size());
            for (int c = 0; c < headers.size(); ++c) {
                QCOMPARE(picker->DataGrid1->columnCaption(c), headers[c]);
                for (int r = 0; r < stored.size(); ++r)
                    QCOMPARE(picker->DataGrid1->model()->index(r, c).data().toString(), stored[r].value(fields[c]));
            }
            choose(picker, QStringLiteral("cancel"));
        }));
        QVERIFY(shownPicker && !shownPicker->isVisible());
    }

    // A choice copies the chosen row into the order; only a plan choice recomputes the total.
    void choiceCopiesTheRow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QStringList>("copied"); // control=value
        QTest::addColumn<QString>("total");
        const QStringList sara = {"Text1=sara", QStringLiteral("Label3=سارا"), QStringLiteral("Label14=محمدي"), "Label4="};
        QTest::newRow("customer, button") << "Command1" << "button" << sara << "100";
        QTest::newRow("customer, double click") << "Command1" << "double click" << sara << "100";
        QTest::newRow("plan") << "Command2" << "button" << QStringList{"Text2=Win Pro", "Label13=" + kTwoYears, "Label5=3000"}
                              << "3100";
        QTest::newRow("extension") << "Command3" << "enter" << QStringList{"Text4=ir", "Label12=" + kTwoYears, "Label9=300"}
                                   << "100";
    }
    void choiceCopiesTheRow()
    {
        QFETCH(QString, button);
        QFETCH(QString, gesture);
        QFETCH(QStringList, copied);
        QFETCH(QString, total);
        addCatalogue();
        Form10* order = openNewOrder();
        order->Label4->setText(QStringLiteral("old@example.ir"));
        typeText(order->Text6, QStringLiteral("100"));
        order->Label5->setText(QStringLiteral("2000")); // not yet in the total

        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [&](OrderPicker* picker) {
            clickRow(picker->DataGrid1, 1);
            QCOMPARE(picker->Adodc1->currentRow(), 1);
            choose(picker, gesture);
        }));
        for (const QString& pair : copied)
            QCOMPARE(pair.section(u'=', 0, 0) + u'=' + shown(order, pair.section(u'=', 0, 0)), pair);
        QCOMPARE(order->Label11->text(), total);
    }

    // A cancel, or a choice from an empty table, copies nothing and says nothing.
    void nothingCopied_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("emptyTable");
        QTest::newRow("cancel") << "Command2" << "cancel" << false;
        QTest::newRow("no customers, button") << "Command1" << "button" << true;
        QTest::newRow("no plans, enter") << "Command2" << "enter" << true;
        QTest::newRow("no extensions, double click") << "Command3" << "double click" << true;
    }
    void nothingCopied()
    {
        QFETCH(QString, button);
        QFETCH(QString, gesture);
        QFETCH(bool, emptyTable);
        if (!emptyTable)
            addCatalogue();
        Form10* order = openNewOrder();
        typeText(order->Text1, QStringLiteral("typed"));
        typeText(order->Text4, QStringLiteral("typed"));
        typeText(order->Text6, QStringLiteral("100"));
        order->Label5->setText(QStringLiteral("10"));
        const QStringList before = orderSnapshot(order);
        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [&](OrderPicker* picker) {
            if (!emptyTable)
                clickRow(picker->DataGrid1, 1);
            choose(picker, gesture);
        }));
        QCOMPARE(orderSnapshot(order), before);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // Shown again, a picker has the rows and the current row it had; it does not re-read.
    void pickerKeepsItsStateForTheRun()
    {
        addCatalogue();
        Form10* order = openNewOrder();
        QVERIFY(withPicker<Form11>(order->Command1, [&](Form11* picker) {
            clickRow(picker->DataGrid1, 1);
            choose(picker, QStringLiteral("button"));
        }));
        insert(QStringLiteral("newmoshtary"), {{"nuser", "new"}});

        QVERIFY(clickStore(order));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        order = openNewOrder();
        QVERIFY(withPicker<Form11>(order->Command1, [&](Form11* picker) {
            QCOMPARE(picker->Adodc1->recordCount(), 2);
            QCOMPARE(picker->DataGrid1->currentIndex().row(), 1);
            choose(picker, QStringLiteral("button"));
        }));
        QCOMPARE(order->Text1->text(), QStringLiteral("sara"));
    }

    void planPickerSwitchesTables()
    {
        addCatalogue();
        Form10* order = openNewOrder();
        QVERIFY(withPicker<Form12>(order->Command2, [](Form12* picker) {
            QVERIFY(picker->Option1->isChecked());
            clickRow(picker->DataGrid1, 2);
            clickOption(picker->Option2);
            QCOMPARE(picker->Adodc1->recordSource(), QStringLiteral("SELECT * FROM linhost"));
            QCOMPARE(picker->Adodc1->recordCount(), 2);
            QCOMPARE(picker->Adodc1->currentRow(), 0);
            QCOMPARE(picker->DataGrid1->columnCaption(1), kFiveYears);
            clickOption(picker->Option1);
            QCOMPARE(picker->Adodc1->recordCount(), 3);
            QCOMPARE(picker->DataGrid1->columnCaption(1), kOneYear);
            clickOption(picker->Option2);
            clickRow(picker->DataGrid1, 1);
            choose(picker, QStringLiteral("cancel"));
        }));
        // The option and the row are kept for the next showing.
        QVERIFY(withPicker<Form12>(order->Command2, [](Form12* picker) {
            QVERIFY(picker->Option2->isChecked());
            QCOMPARE(picker->Adodc1->currentRow(), 1);
            choose(picker, QStringLiteral("button"));
        }));
        QCOMPARE(orderSnapshot(order).mid(4, 3), (QStringList{"Lin Pro", kOneYear, "2500"}));
    }

    void priceColumnTakesTheRowsPeriod_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("designHeader");
        QTest::newRow("plans") << "Command2" << "      قيمت";
        QTest::newRow("extensions") << "Command3" << "      قيمت ساليانه";
    }
    void priceColumnTakesTheRowsPeriod()
    {
        QFETCH(QString, button);
        QFETCH(QString, designHeader);
        addCatalogue();
        Form10* order = openNewOrder();
        const QStringList periods = {kOneYear, kTwoYears, QString()}; // of rows 0, 1, 2 in both tables
        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [&](OrderPicker* picker) {
            QCOMPARE(picker->DataGrid1->columnCaption(1), designHeader);
            for (int row : {1, 2, 0}) {
                clickRow(picker->DataGrid1, row);
                QCOMPARE(picker->DataGrid1->columnCaption(1), periods[row]);
            }
            QTest::keyClick(picker->DataGrid1, Qt::Key_Down);
            QCOMPARE(picker->DataGrid1->columnCaption(1), periods[1]);
            choose(picker, QStringLiteral("cancel"));
        }));
    }

    // A whole order as a user enters it: from the menu's new-record state, shown modally.
    void anOrderEnteredThroughThePickers()
    {
        addCatalogue();
        editState(Table::ss).setNewRecord();
        bool entered = false;
        {
            ModalAnswerer answer([&](QWidget* modal) {
                if (auto* order = qobject_cast<Form10*>(modal))
                    entered = enterAnOrder(order);
                if (modal->isVisible()) // never leave the test waiting on the window
                    modal->close();
            });
            forms().showModal<Form10>();
        }
        QVERIFY(entered);
        QVERIFY(editState(Table::ss).saved);
        QVERIFY(!forms().isLoaded<Form10>());

        Database::closeAll();
        const auto stored = rows(QStringLiteral("SELECT * FROM ss"));
        QCOMPARE(stored.size(), 1);
        const Row expected = {
            {"ID", "1"}, {"nuser", "ali"}, {"name", QStringLiteral("علي")}, {"fname", QStringLiteral("رضايي")},
            {"email", "ali@example.ir"}, {"npah", "Lin Pro"}, {"sal", kOneYear}, {"hz", "2500"}, {"nd1", "example"},
            {"nd2", "com"}, {"htsd2", kOneYear}, {"htsd1", "500"}, {"hras", QStringLiteral("۱۵۰")}, {"dhkh", "1,000"},
            {"khas", "4150"}, {"tss", PersianDateText(QDate::currentDate(), 0)}, {"mgzas", QStringLiteral("تمديد ساليانه")}};
        QCOMPARE(stored.first(), expected);
    }
};

QTEST_MAIN(TestOrderPickers)
#include "tst_order_pickers.moc"
