// The customer, plan and domain extension pickers, shown from the order entry window's choose
// buttons over a real database, and a whole order entered through them.
#include "app/form_registry.h"
#include "calendar/solar_hijri.h"
#include "orders/order_entry.h"
#include "orders/pickers.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"

#include "order_fixtures.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace orders_test;

namespace {
const QString kOneYear = QStringLiteral("قيمت يک ساله :");
const QString kTwoYears = QStringLiteral("قيمت دو ساله :");
const QString kFiveYears = QStringLiteral("قيمت پنج ساله :");

void addCatalogue()
{
    addCustomer(QStringLiteral("ali"), QStringLiteral("علي"), QStringLiteral("رضايي"), QStringLiteral("ali@example.ir"));
    addCustomer(QStringLiteral("sara"), QStringLiteral("سارا"), QStringLiteral("محمدي"), QString());
    addPlan(QStringLiteral("winhost"), QStringLiteral("Win Basic"), kOneYear, QStringLiteral("1500"));
    addPlan(QStringLiteral("winhost"), QStringLiteral("Win Pro"), kTwoYears, QStringLiteral("3000"));
    addPlan(QStringLiteral("winhost"), QStringLiteral("Win Free"), QString(), QStringLiteral("0"));
    addPlan(QStringLiteral("linhost"), QStringLiteral("Lin Basic"), kFiveYears, QStringLiteral("1200"));
    addPlan(QStringLiteral("linhost"), QStringLiteral("Lin Pro"), kOneYear, QStringLiteral("2500"));
    addExtension(QStringLiteral("com"), kOneYear, QStringLiteral("500"));
    addExtension(QStringLiteral("ir"), kTwoYears, QStringLiteral("300"));
    addExtension(QStringLiteral("net"), QString(), QStringLiteral("450"));
}

QPushButton* chooser(Form10* order, const QString& name)
{
    return order->findChild<QPushButton*>(name);
}

// What the order entry window shows, control by control, for "nothing else changed" checks.
QStringList orderSnapshot(Form10* order)
{
    return {order->Text1->text(), order->Label3->text(), order->Label14->text(), order->Label4->text(),
            order->Text2->text(), order->Label13->text(), order->Label5->text(), order->Text4->text(),
            order->Label12->text(), order->Label9->text(), order->Label11->text()};
}

void choose(OrderPicker* picker, const QString& gesture)
{
    if (gesture == QLatin1String("button")) {
        QTest::mouseClick(picker->Command1, Qt::LeftButton);
    } else if (gesture == QLatin1String("enter")) {
        QTest::keyClick(picker->DataGrid1, Qt::Key_Return);
    } else {
        auto* grid = picker->DataGrid1;
        const QRect cell = grid->visualRect(grid->model()->index(picker->Adodc1->currentRow(), 0));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
}
// The steps of a user entering an order; true when every total was right and Store was pressed.
bool enterAnOrder(Form10* order)
{
    bool ok = withPicker<Form11>(order->Command1, [](Form11* picker) {
        QTest::mouseClick(picker->Command1, Qt::LeftButton);
    });
    ok = ok && withPicker<Form12>(order->Command2, [](Form12* picker) {
        clickOption(picker->Option2);
        clickRow(picker, 1);
        QTest::keyClick(picker->DataGrid1, Qt::Key_Return);
    });
    const QString afterPlan = order->Label11->text();
    ok = ok && withPicker<Form13>(order->Command3, [](Form13* picker) {
        QTest::mouseClick(picker->Command1, Qt::LeftButton);
    });
    const QString afterExtension = order->Label11->text();
    typeText(order->Text3, QStringLiteral("example"));
    const QString afterDomainName = order->Label11->text();
    typeText(order->Text6, QStringLiteral("۱۵۰"));
    const QString afterSetUp = order->Label11->text();
    typeText(order->Text7, QStringLiteral("1,000"));
    const QString afterOther = order->Label11->text();
    const QStringList totals = {afterPlan, afterExtension, afterDomainName, afterSetUp, afterOther};
    const QStringList expected = {QStringLiteral("2500"), QStringLiteral("2500"), QStringLiteral("3000"),
                                  QStringLiteral("3150"), QStringLiteral("4150")};
    if (totals != expected) {
        qWarning("totals along the way: %s", qPrintable(totals.join(u' ')));
        ok = false;
    }
    typeText(order->Text5, QStringLiteral("تمديد ساليانه"));
    QTest::mouseClick(order->Image14, Qt::LeftButton);
    ok = clickStore(order) && ok;
    return ok;
}
} // namespace

class TestOrderPickers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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
        TestProgram program;
        addCatalogue();
        Form10* order = openNewOrder();
        QVERIFY(!forms().isLoaded<Form11>() && !forms().isLoaded<Form12>() && !forms().isLoaded<Form13>());

        const auto stored = rows(QStringLiteral("SELECT * FROM %1").arg(table));
        OrderPicker* shown = nullptr;
        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [&](OrderPicker* picker) {
            shown = picker;
            QCOMPARE(picker->windowTitle(), title);
            QCOMPARE(picker->layoutDirection(), Qt::RightToLeft);
            QCOMPARE(picker->Adodc1->recordCount(), stored.size());
            QCOMPARE(picker->Adodc1->currentRow(), 0);
            QCOMPARE(picker->DataGrid1->columnCount(), headers.size());
            auto* model = picker->DataGrid1->model();
            for (int c = 0; c < headers.size(); ++c) {
                QCOMPARE(picker->DataGrid1->columnCaption(c), headers[c]);
                for (int r = 0; r < stored.size(); ++r)
                    QCOMPARE(model->index(r, c).data().toString(), stored[r].value(fields[c]));
            }
            QTest::mouseClick(picker->Command2, Qt::LeftButton);
        }));
        // Hidden, not unloaded.
        QVERIFY(shown);
        QVERIFY(!shown->isVisible());
        QCOMPARE(forms().ifLoaded<Form11>() == shown || forms().ifLoaded<Form12>() == shown
                     || forms().ifLoaded<Form13>() == shown,
                 true);
    }

    void customerChoiceCopiesTheCustomer_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::newRow("choose button") << "button";
        QTest::newRow("enter on the row") << "enter";
        QTest::newRow("double click on the row") << "double click";
    }
    void customerChoiceCopiesTheCustomer()
    {
        QFETCH(QString, gesture);
        TestProgram program;
        addCatalogue();
        Form10* order = openNewOrder();
        order->Label4->setText(QStringLiteral("old@example.ir"));
        typeText(order->Text6, QStringLiteral("100"));
        order->Label5->setText(QStringLiteral("2000")); // not yet in the total

        QVERIFY(withPicker<Form11>(order->Command1, [&](Form11* picker) {
            clickRow(picker, 1);
            QCOMPARE(picker->Adodc1->currentRow(), 1);
            choose(picker, gesture);
        }));
        QCOMPARE(order->Text1->text(), QStringLiteral("sara"));
        QCOMPARE(order->Label3->text(), QStringLiteral("سارا"));
        QCOMPARE(order->Label14->text(), QStringLiteral("محمدي"));
        QCOMPARE(order->Label4->text(), QString()); // she has no e-mail address
        QCOMPARE(order->Label11->text(), QStringLiteral("100"));
    }

    void planChoiceCopiesThePlanAndRecomputes()
    {
        TestProgram program;
        addCatalogue();
        Form10* order = openNewOrder();
        QVERIFY(withPicker<Form13>(order->Command3, [](Form13* picker) {
            QTest::mouseClick(picker->Command1, Qt::LeftButton); // com, 500
        }));
        QCOMPARE(order->Label9->text(), QStringLiteral("500"));

        QVERIFY(withPicker<Form12>(order->Command2, [](Form12* picker) {
            clickRow(picker, 1);
            QTest::mouseClick(picker->Command1, Qt::LeftButton);
        }));
        QCOMPARE(order->Text2->text(), QStringLiteral("Win Pro"));
        QCOMPARE(order->Label13->text(), kTwoYears);
        QCOMPARE(order->Label5->text(), QStringLiteral("3000"));
        QCOMPARE(order->Label11->text(), QStringLiteral("3500"));
    }

    void extensionChoiceLeavesTheTotal()
    {
        TestProgram program;
        addCatalogue();
        Form10* order = openNewOrder();
        typeText(order->Text6, QStringLiteral("100"));
        QCOMPARE(order->Label11->text(), QStringLiteral("100"));

        QVERIFY(withPicker<Form13>(order->Command3, [](Form13* picker) {
            clickRow(picker, 1);
            QTest::keyClick(picker->DataGrid1, Qt::Key_Return);
        }));
        QCOMPARE(order->Text4->text(), QStringLiteral("ir"));
        QCOMPARE(order->Label12->text(), kTwoYears);
        QCOMPARE(order->Label9->text(), QStringLiteral("300"));
        QCOMPARE(order->Label11->text(), QStringLiteral("100"));
        // The new price joins the total at the next of its events.
        typeText(order->Text3, QStringLiteral("shop"));
        QCOMPARE(order->Label11->text(), QStringLiteral("400"));
    }

    void cancelCopiesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("customers") << "Command1";
        QTest::newRow("plans") << "Command2";
        QTest::newRow("extensions") << "Command3";
    }
    void cancelCopiesNothing()
    {
        QFETCH(QString, button);
        TestProgram program;
        addCatalogue();
        Form10* order = openNewOrder();
        typeText(order->Text1, QStringLiteral("typed"));
        typeText(order->Text2, QStringLiteral("typed"));
        typeText(order->Text4, QStringLiteral("typed"));
        order->Label5->setText(QStringLiteral("10"));
        const QStringList before = orderSnapshot(order);
        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [](OrderPicker* picker) {
            clickRow(picker, 1);
            QTest::mouseClick(picker->Command2, Qt::LeftButton);
        }));
        QCOMPARE(orderSnapshot(order), before);
    }

    void choosingFromAnEmptyTable_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("gesture");
        QTest::newRow("customers, button") << "Command1" << "button";
        QTest::newRow("plans, enter") << "Command2" << "enter";
        QTest::newRow("extensions, double click") << "Command3" << "double click";
    }
    void choosingFromAnEmptyTable()
    {
        QFETCH(QString, button);
        QFETCH(QString, gesture);
        TestProgram program;
        Form10* order = openNewOrder();
        typeText(order->Text1, QStringLiteral("typed"));
        typeText(order->Text6, QStringLiteral("100"));
        order->Label5->setText(QStringLiteral("10"));
        const QStringList before = orderSnapshot(order);
        OrderPicker* shown = nullptr;
        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [&](OrderPicker* picker) {
            shown = picker;
            QCOMPARE(picker->Adodc1->recordCount(), 0);
            choose(picker, gesture);
        }));
        QVERIFY(shown && !shown->isVisible());
        QCOMPARE(orderSnapshot(order), before);
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // no message either
    }

    // Shown again, a picker has the rows and the current row it had; it does not re-read.
    void pickerKeepsItsStateForTheRun()
    {
        TestProgram program;
        addCatalogue();
        Form10* order = openNewOrder();
        Form11* first = nullptr;
        QVERIFY(withPicker<Form11>(order->Command1, [&](Form11* picker) {
            first = picker;
            clickRow(picker, 1);
            QTest::mouseClick(picker->Command1, Qt::LeftButton);
        }));
        addCustomer(QStringLiteral("new"), QStringLiteral("نو"), QStringLiteral("نو"), QString());

        // The order is stored and a new one opened; the picker lives on.
        QVERIFY(clickStore(order));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!forms().isLoaded<Form10>());
        QCOMPARE(forms().ifLoaded<Form11>(), first);
        order = openNewOrder();

        QVERIFY(withPicker<Form11>(order->Command1, [&](Form11* picker) {
            QCOMPARE(picker, first);
            QCOMPARE(picker->Adodc1->recordCount(), 2);
            QCOMPARE(picker->Adodc1->currentRow(), 1);
            QCOMPARE(picker->DataGrid1->currentIndex().row(), 1);
            QTest::mouseClick(picker->Command1, Qt::LeftButton);
        }));
        QCOMPARE(order->Text1->text(), QStringLiteral("sara"));
    }

    void planPickerSwitchesTables()
    {
        TestProgram program;
        addCatalogue();
        Form10* order = openNewOrder();
        QVERIFY(withPicker<Form12>(order->Command2, [](Form12* picker) {
            QVERIFY(picker->Option1->isChecked());
            QCOMPARE(picker->Adodc1->recordSource(), QStringLiteral("SELECT * FROM winhost"));
            clickRow(picker, 2);

            clickOption(picker->Option2);
            QVERIFY(picker->Option2->isChecked() && !picker->Option1->isChecked());
            QCOMPARE(picker->Adodc1->recordSource(), QStringLiteral("SELECT * FROM linhost"));
            QCOMPARE(picker->Adodc1->recordCount(), 2);
            QCOMPARE(picker->Adodc1->currentRow(), 0);
            QCOMPARE(picker->DataGrid1->model()->index(0, 0).data().toString(), QStringLiteral("Lin Basic"));
            QCOMPARE(picker->DataGrid1->columnCaption(1), kFiveYears);
            clickRow(picker, 1);

            clickOption(picker->Option1);
            QCOMPARE(picker->Adodc1->recordSource(), QStringLiteral("SELECT * FROM winhost"));
            QCOMPARE(picker->Adodc1->recordCount(), 3);
            QCOMPARE(picker->Adodc1->currentRow(), 0);
            QCOMPARE(picker->DataGrid1->columnCaption(1), kOneYear);

            clickOption(picker->Option2);
            clickRow(picker, 1);
            QTest::mouseClick(picker->Command2, Qt::LeftButton);
        }));
        // The option and the row are kept for the next showing.
        QVERIFY(withPicker<Form12>(order->Command2, [](Form12* picker) {
            QVERIFY(picker->Option2->isChecked());
            QCOMPARE(picker->Adodc1->currentRow(), 1);
            QTest::mouseClick(picker->Command1, Qt::LeftButton);
        }));
        QCOMPARE(order->Text2->text(), QStringLiteral("Lin Pro"));
        QCOMPARE(order->Label13->text(), kOneYear);
        QCOMPARE(order->Label11->text(), QStringLiteral("2500"));
    }

    void priceColumnTakesTheRowsPeriod_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("designHeader");
        QTest::addColumn<QStringList>("periods"); // of rows 0, 1, 2
        QTest::newRow("plans") << "Command2" << "      قيمت" << QStringList{kOneYear, kTwoYears, QString()};
        QTest::newRow("extensions") << "Command3" << "      قيمت ساليانه" << QStringList{kOneYear, kTwoYears, QString()};
    }
    void priceColumnTakesTheRowsPeriod()
    {
        QFETCH(QString, button);
        QFETCH(QString, designHeader);
        QFETCH(QStringList, periods);
        TestProgram program;
        addCatalogue();
        Form10* order = openNewOrder();
        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [&](OrderPicker* picker) {
            QCOMPARE(picker->DataGrid1->columnCaption(1), designHeader);
            for (int row : {1, 2, 0}) {
                clickRow(picker, row);
                QCOMPARE(picker->DataGrid1->columnCaption(1), periods[row]);
                QCOMPARE(picker->DataGrid1->columnCaption(0).isEmpty(), false);
            }
            QTest::keyClick(picker->DataGrid1, Qt::Key_Down);
            QCOMPARE(picker->DataGrid1->columnCaption(1), periods[1]);
            QTest::mouseClick(picker->Command2, Qt::LeftButton);
        }));
    }

    // A whole order as a user enters it: from the menu's new-record state, shown modally.
    void anOrderEnteredThroughThePickers()
    {
        TestProgram program;
        addCatalogue();
        editState(Table::ss).setNewRecord();
        bool entered = false;
        {
            ModalAnswerer answer([&](QWidget* modal) {
                if (auto* order = qobject_cast<Form10*>(modal))
                    entered = enterAnOrder(order);
                // Never leave the test waiting on the window.
                if (modal->isVisible())
                    modal->close();
            });
            forms().showModal<Form10>();
        }
        QVERIFY(entered);
        QVERIFY(editState(Table::ss).saved);
        QVERIFY(!forms().isLoaded<Form10>());

        // As after a restart: the file is opened afresh and read.
        Database::closeAll();
        const auto stored = rows(QStringLiteral("SELECT * FROM ss"));
        QCOMPARE(stored.size(), 1);
        const QMap<QString, QString> expected = {
            {QStringLiteral("nuser"), QStringLiteral("ali")},   {QStringLiteral("name"), QStringLiteral("علي")},
            {QStringLiteral("fname"), QStringLiteral("رضايي")}, {QStringLiteral("email"), QStringLiteral("ali@example.ir")},
            {QStringLiteral("npah"), QStringLiteral("Lin Pro")}, {QStringLiteral("sal"), kOneYear},
            {QStringLiteral("hz"), QStringLiteral("2500")},     {QStringLiteral("nd1"), QStringLiteral("example")},
            {QStringLiteral("nd2"), QStringLiteral("com")},     {QStringLiteral("htsd2"), kOneYear},
            {QStringLiteral("htsd1"), QStringLiteral("500")},   {QStringLiteral("hras"), QStringLiteral("۱۵۰")},
            {QStringLiteral("dhkh"), QStringLiteral("1,000")},  {QStringLiteral("khas"), QStringLiteral("4150")},
            {QStringLiteral("tss"), PersianDateText(QDate::currentDate(), 0)}, {QStringLiteral("ID"), QStringLiteral("1")},
        };
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(stored.first().value(it.key()), it.value());
        QCOMPARE(stored.first().value(QStringLiteral("mgzas")), QStringLiteral("تمديد ساليانه"));
    }
};

QTEST_MAIN(TestOrderPickers)
#include "tst_order_pickers.moc"
