// The orders: the order entry window with its pickers (Form10-Form13), the order list and
// its invoice print (Form14), the search box of the lists, the CSV they write and the renewals
// window, and the reading and writing of amounts; on a real database file.
#include "calendar/solar_hijri.h"
#include "catalogue/list_windows.h"
#include "orders/amounts.h"
#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "orders/pickers.h"
#include "orders/renewals.h"
#include "settings/persian_keyboard.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"
#include "storage/search_filter.h"
#include "storage/settings_store.h"
#include "support/fixtures.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>

#include <cmath>
#include <limits>
#include <tuple>

using namespace fixtures;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();

// Persian and Arabic-Indic digits and separators, as the Persian keyboard types them.
QString fa(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// Each value control of the order entry window and the order field it shows and stores.
const QList<std::pair<const char*, const char*>> kBoundFields = {
    {"Text1", "nuser"}, {"Label3", "name"},   {"Label14", "fname"}, {"Label4", "email"}, {"Text2", "npah"},  {"Label13", "sal"},
    {"Label5", "hz"},   {"Text4", "nd2"},     {"Text3", "nd1"},     {"Label12", "htsd2"}, {"Label9", "htsd1"}, {"Text5", "mgzas"},
    {"Text6", "hras"},  {"Text7", "dhkh"},    {"Label11", "khas"},  {"Text8", "tss"},
};

QString shown(Form10* order, const QString& name)
{
    QWidget* control = order->findChild<QWidget*>(name);
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return QStringLiteral("<no control %1>").arg(name);
}

void retype(QLineEdit* box, const QString& value)
{
    box->clear();
    typeText(box, value);
}

// A stored order with every field set; returns its key.
qint32 storeOrderRow()
{
    return insert(QStringLiteral("ss"),
                  {{"nuser", "reza"}, {"name", QStringLiteral("رضا")}, {"fname", QStringLiteral("کريمي")},
                   {"email", "r@example.ir"}, {"npah", "Pro"}, {"sal", kOneYear}, {"hz", "3000"}, {"nd1", "shop"},
                   {"nd2", "ir"}, {"htsd2", kTwoYears}, {"htsd1", "500"}, {"hras", "100"}, {"dhkh", "50"},
                   {"khas", "3650"}, {"mgzas", QStringLiteral("یادداشت")}, {"tss", "1402/01/15"}});
}

// The first n of four orders in the list; returns their IDs.
QList<qint32> storeOrders(int n)
{
    const QList<std::pair<QString, QString>> orders = {{QStringLiteral("علي"), "a@x.ir"}, {QStringLiteral("رضا"), "r@x.ir"},
                                                       {QStringLiteral("مريم"), "m@x.ir"}, {QStringLiteral("سارا"), "s@x.ir"}};
    QList<qint32> ids;
    for (int i = 0; i < n; ++i)
        ids << insert(QStringLiteral("ss"), {{"nuser", orders[i].first + QStringLiteral("_user")}, {"name", orders[i].first},
                                             {"email", orders[i].second}, {"khas", QString::number(100 * (i + 1))}});
    return ids;
}

void changeOrder(qint32 id, const QString& column, const QString& value)
{
    QVERIFY(exec(QStringLiteral("UPDATE ss SET %1=? WHERE ID=%2").arg(column).arg(id), {value}));
}

void storeInvoiceTexts(const QString& title, const QString& logo)
{
    const QList<std::pair<QString, QString>> texts = {
        {SettingsStore::kBusinessTitle, title},
        {SettingsStore::kInvoiceTitle, QStringLiteral("فاکتور فروش")},
        {SettingsStore::kAddress, QStringLiteral("تهران، خيابان آزادي")},
        {SettingsStore::kNotes, QStringLiteral("با تشکر از خريد شما")},
        {SettingsStore::kCustomerSignature, QStringLiteral("امضاي خريدار")},
        {SettingsStore::kSellerSignature, QStringLiteral("مهر فروشنده")},
        {SettingsStore::kLogoPath, logo}};
    for (const auto& [key, value] : texts)
        SettingsStore::write(SettingsStore::kPrint, key, value);
}

QString caption(const char* section, const char* name)
{
    return dataReport1().control(QString::fromLatin1(section), QString::fromLatin1(name))->caption;
}

QImage logo()
{
    return dataReport1().control(QStringLiteral("Section4"), QStringLiteral("Image1"))->picture;
}

// The catalogue the pickers list.
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

// What the order entry window shows of what the pickers fill, for "nothing else changed".
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

class TestOrders : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;
    QStringList m_previewedOrders; // what the invoice preview was given: order number, detail name
    QStringList m_previewedNames;

private Q_SLOTS:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        dataReport1() = DataReport1();
        m_previewedOrders.clear();
        m_previewedNames.clear();
        setInvoicePreviewForTests([this](const DataReport1& report, const QString& orderNumber) {
            m_previewedOrders << orderNumber;
            m_previewedNames << report.displayText(*report.control(QStringLiteral("Section1"), QStringLiteral("Text2")));
        });
        Form14::setClockForTests([] { return QDateTime(QDate(2010, 1, 27), QTime(9, 5, 3)); });
    }

    void cleanup()
    {
        setInvoicePreviewForTests(nullptr);
        Form14::setClockForTests(nullptr);
        CommonDialog::setAnswerForTests(nullptr);
        QLocale::setDefault(QLocale::c());
        keyboardLayout().activate(QStringLiteral("1"));
        Renewals::setTodayForTests({});
        m_program.reset();
        dataReport1() = DataReport1();
    }

    // Every value control shows its field of the order and stores what it shows: an empty new
    // order stores empty fields; a change to a stored order is stored with its new total.
    void openingAndStoring_data()
    {
        QTest::addColumn<bool>("storedOrder");
        QTest::newRow("new order") << false;
        QTest::newRow("stored order") << true;
    }

    void openingAndStoring()
    {
        QFETCH(bool, storedOrder);
        const qint32 key = storeOrderRow();
        const Row stored = row(QStringLiteral("ss"), key);
        Form10* order = storedOrder ? openStoredOrder(key) : openNewOrder();
        QCOMPARE(order->windowTitle(), QStringLiteral("     ثبت سفارش"));
        for (const auto& [control, field] : kBoundFields)
            QCOMPARE(shown(order, control), storedOrder ? stored.value(QString::fromLatin1(field)) : QString());
        QCOMPARE(order->Label2->text(), storedOrder ? QString::number(key) : QString());
        if (storedOrder) {
            retype(order->Text7, QStringLiteral("150"));
            QCOMPARE(order->Label11->text(), QStringLiteral("3750"));
        }
        QVERIFY(clickStore(order));
        QVERIFY(!forms().isLoaded<Form10>());
        QVERIFY(editState(Table::ss).saved);
        QCOMPARE(editState(Table::ss).editing, storedOrder); // only Cancel clears it
        const auto all = rows(QStringLiteral("SELECT * FROM ss"));
        QCOMPARE(all.size(), 2 - int(storedOrder));
        Row expected = storedOrder ? stored : Row{{"ID", all.last().value(QStringLiteral("ID"))}};
        if (storedOrder) {
            expected[QStringLiteral("dhkh")] = QStringLiteral("150");
            expected[QStringLiteral("khas")] = QStringLiteral("3750");
        }
        for (const auto& [control, field] : kBoundFields)
            QCOMPARE(all.last().value(QString::fromLatin1(field)), expected.value(QString::fromLatin1(field)));
    }

    void leavingWithoutStoring_data()
    {
        QTest::addColumn<bool>("storedOrder");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("cancel a new order") << false << false;
        QTest::newRow("cancel changes to a stored order") << true << false;
        QTest::newRow("close box on a stored order") << true << true;
    }

    void leavingWithoutStoring()
    {
        QFETCH(bool, storedOrder);
        QFETCH(bool, closeBox);
        const qint32 key = storedOrder ? storeOrderRow() : 0;
        const auto before = rows(QStringLiteral("SELECT * FROM ss"));
        Form10* order = storedOrder ? openStoredOrder(key) : openNewOrder();
        editState(Table::ss).saved = true; // must survive
        retype(order->Text1, QStringLiteral("someone"));
        retype(order->Text6, QStringLiteral("900"));

        if (closeBox)
            order->close();
        else
            QTest::mouseClick(order->Command6, Qt::LeftButton);

        QVERIFY(!forms().isLoaded<Form10>());
        QCOMPARE(rows(QStringLiteral("SELECT * FROM ss")), before);
        QVERIFY(editState(Table::ss).saved);
        // Cancel clears the editing flag; the close box leaves the edit state alone.
        QCOMPARE(editState(Table::ss).editing, storedOrder && closeBox);
    }

    // Values a box shows in its own way (line ends and separators in the notes, a name longer
    // than a text box holds) are kept as stored when another field of the order is changed.
    void untouchedValuesKeptOnStore()
    {
        const Row odd = {{"mgzas", fa(u"سطر اول\r\nسطر\u00a0دوم\u2028\r")}, {"nuser", QString(40000, QLatin1Char('u'))}};
        const qint32 key = insert(QStringLiteral("ss"), odd);
        Form10* order = openStoredOrder(key);
        retype(order->Text6, QStringLiteral("100"));
        QVERIFY(clickStore(order));
        const Row stored = row(QStringLiteral("ss"), key);
        for (const QString& column : odd.keys())
            QCOMPARE(stored.value(column), odd.value(column));
        QCOMPARE(stored.value(QStringLiteral("hras")), QStringLiteral("100"));
    }

    // A refused store says why and keeps the order on screen as typed.
    void refusedStoreKeepsTheOrder()
    {
        Form10* order = openNewOrder();
        QVERIFY(exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON ss BEGIN SELECT RAISE(ABORT, 'orders are closed'); END")));
        retype(order->Text1, QStringLiteral("mina"));
        retype(order->Text6, QStringLiteral("250"));
        const bool savedBefore = editState(Table::ss).saved;
        const QString totalBefore = order->Label11->text();
        {
            ModalAnswerer answer(kOk);
            QTest::mouseClick(order->Command5, Qt::LeftButton);
            QCOMPARE(answer.seen().title, QStringLiteral("ثبت سفارش"));
            QCOMPARE(answer.seen().buttons, QStringList{kOk});
            QVERIFY(!order->Adodc1->lastError().isEmpty());
            QVERIFY2(answer.seen().text.contains(order->Adodc1->lastError()), qPrintable(answer.seen().text));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(forms().ifLoaded<Form10>(), order);
        QVERIFY(order->isVisible());
        QCOMPARE(order->Text1->text(), QStringLiteral("mina"));
        QCOMPARE(order->Text6->text(), QStringLiteral("250"));
        QCOMPARE(order->Label11->text(), totalBefore);
        QCOMPARE(editState(Table::ss).saved, savedBefore);
        QCOMPARE(count(QStringLiteral("ss")), 0);
    }

    // The total is recomputed on its own events only; before any of them it stays empty. The
    // date button puts today's date in place of the one there.
    void totalFollowsItsEventsOnly_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed"); // empty: a click
        QTest::addColumn<bool>("recomputes");
        QTest::newRow("plan name typed") << "Text2" << "Pro" << true;
        QTest::newRow("domain name typed") << "Text3" << "shop" << true;
        QTest::newRow("set-up cost typed") << "Text6" << "0" << true;
        QTest::newRow("other costs typed") << "Text7" << "0" << true;
        QTest::newRow("plan price clicked") << "Label5" << "" << true;
        QTest::newRow("domain price clicked") << "Label9" << "" << true;
        QTest::newRow("user name typed") << "Text1" << "ali" << false;
        QTest::newRow("extension typed") << "Text4" << "com" << false;
        QTest::newRow("notes typed") << "Text5" << "123" << false;
        QTest::newRow("date typed") << "Text8" << "1402" << false;
        QTest::newRow("date button") << "Image14" << "" << false;
        QTest::newRow("total clicked") << "Label11" << "" << false;
    }

    void totalFollowsItsEventsOnly()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(bool, recomputes);
        Form10* order = openNewOrder();
        order->Label5->setText(QStringLiteral("2000"));
        order->Label9->setText(QStringLiteral("500"));
        order->Text8->setText(QStringLiteral("1390/01/01"));
        QWidget* target = order->findChild<QWidget*>(control);
        if (typed.isEmpty())
            QTest::mouseClick(target, Qt::LeftButton);
        else
            typeText(target, typed);
        QCOMPARE(order->Label11->text(), recomputes ? QStringLiteral("2500") : QString());
        if (target == order->Image14) // today's date replaces the one there
            QCOMPARE(order->Text8->text(), PersianDateText(QDate::currentDate(), 0));
    }

    void totalOfTypedAmounts_data()
    {
        QTest::addColumn<QString>("planPrice");
        QTest::addColumn<QString>("domainPrice");
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("total"); // "." stands for the locale's decimal separator
        QTest::newRow("fraction") << "2000" << "500" << "100" << "2.5" << "2602.5";
        QTest::newRow("Persian keyboard digits") << "" << "" << "۱۰۰" << "۲٫۵" << "102.5";
        QTest::newRow("beyond a double") << "1e308" << "1e308" << "" << "" << "";
    }

    void totalOfTypedAmounts()
    {
        QFETCH(QString, planPrice);
        QFETCH(QString, domainPrice);
        QFETCH(QString, setUp);
        QFETCH(QString, other);
        QFETCH(QString, total);
        Form10* order = openNewOrder();
        order->Label5->setText(planPrice);
        order->Label9->setText(domainPrice);
        typeText(order->Text6, setUp);
        typeText(order->Text7, other);
        QTest::mouseClick(order->Label9, Qt::LeftButton);
        QCOMPARE(order->Label11->text(), total.replace(QLatin1Char('.'), QLocale().decimalPoint()));
    }

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
            // The price column takes the period of the row moved to (rows 0, 1, 2: one year, two
            // years, none), the customers have none.
            const QStringList periods = {kOneYear, kTwoYears, QString()};
            for (int row : {1, 2, 0}) {
                clickRow(picker->DataGrid1, row);
                QCOMPARE(picker->DataGrid1->columnCaption(1), table == QLatin1String("newmoshtary") ? headers[1] : periods[row]);
            }
            choose(picker, QStringLiteral("cancel"));
        }));
        QVERIFY(shownPicker && !shownPicker->isVisible());
    }

    // A choice copies the chosen row into the order; only a plan choice recomputes the total. A
    // cancel, or a choice from an empty table, copies nothing and says nothing.
    void choiceCopiesTheRow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("emptyTable");
        QTest::addColumn<QStringList>("copied"); // control=value; none: nothing changes
        QTest::addColumn<QString>("total");
        const QStringList sara = {"Text1=sara", QStringLiteral("Label3=سارا"), QStringLiteral("Label14=محمدي"), "Label4="};
        QTest::newRow("customer, button") << "Command1" << "button" << false << sara << "100";
        QTest::newRow("customer, double click") << "Command1" << "double click" << false << sara << "100";
        QTest::newRow("plan") << "Command2" << "button" << false
                              << QStringList{"Text2=Win Pro", "Label13=" + kTwoYears, "Label5=3000"} << "3100";
        QTest::newRow("extension") << "Command3" << "enter" << false
                                   << QStringList{"Text4=ir", "Label12=" + kTwoYears, "Label9=300"} << "100";
        QTest::newRow("cancel") << "Command2" << "cancel" << false << QStringList() << "100";
        QTest::newRow("no customers, button") << "Command1" << "button" << true << QStringList() << "100";
        QTest::newRow("no plans, enter") << "Command2" << "enter" << true << QStringList() << "100";
        QTest::newRow("no extensions, double click") << "Command3" << "double click" << true << QStringList() << "100";
    }

    void choiceCopiesTheRow()
    {
        QFETCH(QString, button);
        QFETCH(QString, gesture);
        QFETCH(bool, emptyTable);
        QFETCH(QStringList, copied);
        QFETCH(QString, total);
        if (!emptyTable)
            addCatalogue();
        Form10* order = openNewOrder();
        order->Label4->setText(QStringLiteral("old@example.ir"));
        typeText(order->Text6, QStringLiteral("100"));
        order->Label5->setText(QStringLiteral("2000")); // not yet in the total
        const QStringList before = orderSnapshot(order);

        QVERIFY(withPicker<OrderPicker>(chooser(order, button), [&](OrderPicker* picker) {
            if (!emptyTable)
                clickRow(picker->DataGrid1, 1);
            choose(picker, gesture);
        }));
        for (const QString& pair : copied)
            QCOMPARE(pair.section(u'=', 0, 0) + u'=' + shown(order, pair.section(u'=', 0, 0)), pair);
        if (copied.isEmpty())
            QCOMPARE(orderSnapshot(order), before);
        QCOMPARE(order->Label11->text(), total);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
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
        // Shown again, even from another order window, the picker has the option, the rows and
        // the current row it had: it does not read its table again.
        insert(QStringLiteral("linhost"), {{"namep", "Lin New"}});
        QVERIFY(clickStore(order));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        order = openNewOrder();
        QVERIFY(withPicker<Form12>(order->Command2, [](Form12* picker) {
            QVERIFY(picker->Option2->isChecked());
            QCOMPARE(picker->Adodc1->recordCount(), 2);
            QCOMPARE(picker->Adodc1->currentRow(), 1);
            choose(picker, QStringLiteral("button"));
        }));
        QCOMPARE(orderSnapshot(order).mid(4, 3), (QStringList{"Lin Pro", kOneYear, "2500"}));
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

    void loadListsEveryOrder()
    {
        storeOrders(2);
        Form14* list = forms().get<Form14>();
        QVERIFY(!list->isVisible());
        QCOMPARE(list->windowTitle(), QStringLiteral("      ويرايش سفارش ها"));
        QCOMPARE(list->Adodc1->recordCount(), 2);
        QCOMPARE(list->printConnection(), list->Adodc1->connectionString());
        QCOMPARE((QStringList{list->Command1->text(), list->Command3->text(), list->Command4->text()}),
                 (QStringList{QStringLiteral("چاپ"), QStringLiteral("حذف سفارش"), kBack}));
        const QStringList captions = {
            QStringLiteral("        شماره ثبت"),   QStringLiteral("  نام کاربري مشتري"),
            QStringLiteral("               نام"),  QStringLiteral("     نام خانوادگي"),
            QStringLiteral("     پست الکترونيک"),  QStringLiteral("     نام پنل انتخابي هاست"),
            QStringLiteral("     دامنه متصل شده"), QStringLiteral("      تاريخ ثبت سفارش"),
            QStringLiteral("      ساير اطلاعات"),
        };
        QCOMPARE(list->DataGrid1->columnCount(), 9);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(list->DataGrid1->columnCaption(i), captions[i]);
    }

    // The order list opens wide enough for its nine columns (as far as the screen allows) and
    // the grid follows when the window is made larger; the buttons keep to their edges.
    void orderListShowsEveryColumn()
    {
        storeOrders(2);
        Form14* list = forms().get<Form14>();
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list));
        const int room = list->screen()->availableGeometry().width() - 40;
        if (list->width() < room)
            QVERIFY(!list->DataGrid1->horizontalScrollBar()->isVisible());
        const QRect grid = list->DataGrid1->geometry();
        const int printFromRight = list->width() - list->Command1->geometry().right();
        const int backLeft = list->Command4->x();
        list->resize(list->width() + 100, list->height() + 50);
        QCOMPARE(list->DataGrid1->size(), grid.size() + QSize(100, 50));
        QCOMPARE(list->width() - list->Command1->geometry().right(), printFromRight);
        QCOMPARE(list->Command4->x(), backLeft);
        QCOMPARE(list->Command4->y(), list->Command1->y());
        QVERIFY(list->Command1->y() > list->DataGrid1->geometry().bottom());
    }

    void printThirdRowPrintsThatOrderOnly()
    {
        const qint32 third = storeOrders(4)[2];
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(2);
        QTest::mouseClick(list->Command1, Qt::LeftButton);

        QCOMPARE(m_previewedOrders, QStringList{QString::number(third)});
        QCOMPARE(m_previewedNames, QStringList{QStringLiteral("مريم")});
        DataSource* printed = list->printRecordset();
        QCOMPARE(printed->recordSource(), QStringLiteral("SELECT * FROM ss WHERE ID=") + QString::number(third));
        QCOMPARE(printed->recordCount(), 1);
        QCOMPARE(dataReport1().dataSource(), printed);
        const DataReport1& report = dataReport1();
        QCOMPARE(report.displayText(*report.control(QStringLiteral("Section1"), QStringLiteral("Text15"))),
                 QStringLiteral("300"));
        QCOMPARE(list->Adodc1->currentRow(), 2); // the list stays where it was
    }

    // The header and footer take the stored invoice texts, the print time and date; with
    // nothing stored they print empty.
    void printFillsHeaderAndFooter_data()
    {
        QTest::addColumn<bool>("textsStored");
        QTest::newRow("texts stored") << true;
        QTest::newRow("nothing stored") << false;
    }

    void printFillsHeaderAndFooter()
    {
        QFETCH(bool, textsStored);
        if (textsStored)
            storeInvoiceTexts(QStringLiteral("سروندو هاست"),
                              savePicture(m_program->folder() + QStringLiteral("/logo.jpg"), {120, 80}, "JPG"));
        storeOrders(1);
        QVERIFY(forms().get<Form14>()->preparePrint());

        const QList<std::tuple<const char*, const char*, QString>> expected = {
            {"Section4", "Label1", QStringLiteral("سروندو هاست")},  {"Section4", "Label4", QStringLiteral("فاکتور فروش")},
            {"Section5", "Label10", QStringLiteral("با تشکر از خريد شما")}, {"Section5", "Label7", QStringLiteral("امضاي خريدار")},
            {"Section5", "Label8", QStringLiteral("مهر فروشنده")},   {"Section5", "Label9", QStringLiteral("تهران، خيابان آزادي")}};
        for (const auto& [section, name, text] : expected)
            QCOMPARE(caption(section, name), textsStored ? text : QString());
        QCOMPARE(logo().size(), textsStored ? QSize(120, 80) : QSize(0, 0));
        QCOMPARE(caption("Section4", "Label6"), QStringLiteral("09:05:03"));
        QCOMPARE(caption("Section4", "Label3"), QStringLiteral("چهارشنبه  7  بهمن  1388"));
    }

    void secondPrintRereadsOrderAndSettings()
    {
        storeInvoiceTexts(QStringLiteral("عنوان اول"),
                          savePicture(m_program->folder() + QStringLiteral("/logo.bmp"), {64, 32}, "BMP"));
        const qint32 id = storeOrders(1)[0];
        Form14* list = forms().get<Form14>();
        list->Command1_Click();
        QPointer<DataSource> first = list->printRecordset();
        QCOMPARE(caption("Section4", "Label1"), QStringLiteral("عنوان اول"));

        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kBusinessTitle, QStringLiteral("عنوان دوم"));
        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kLogoPath, m_program->folder() + QStringLiteral("/gone.jpg"));
        changeOrder(id, QStringLiteral("name"), QStringLiteral("علي رضا"));
        list->Command1_Click();
        QVERIFY(first.isNull()); // the first print's recordset was closed
        QCOMPARE(m_previewedNames, (QStringList{QStringLiteral("علي"), QStringLiteral("علي رضا")}));
        QCOMPARE(caption("Section4", "Label1"), QStringLiteral("عنوان دوم"));
        QCOMPARE(logo().size(), QSize(64, 32)); // an unreadable logo keeps the previous picture

        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kLogoPath, QString());
        list->Command1_Click();
        QVERIFY(logo().isNull()); // an empty path clears it
    }

    void printOnEmptyListDoesNothing()
    {
        Form14* list = forms().get<Form14>();
        QVERIFY(showsNothing([list] { list->Command1_Click(); }));
        QVERIFY(m_previewedOrders.isEmpty());
        QVERIFY(!list->printRecordset());
        QCOMPARE(caption("Section4", "Label6"), QStringLiteral("Label3")); // report untouched
    }

    void orderGoneMeanwhileIsNotPrintedEmpty()
    {
        const qint32 id = storeOrders(1)[0];
        Form14* list = forms().get<Form14>();
        QVERIFY(exec(QStringLiteral("DELETE FROM ss WHERE ID=%1").arg(id)));
        ModalAnswerer answer(kOk);
        list->Command1_Click();
        QCOMPARE(answer.seen().title, QStringLiteral("کروانتا  - گزارش گيري سفارش"));
        QVERIFY(m_previewedOrders.isEmpty());
    }

    void previewWindowSavesPdf()
    {
        setInvoicePreviewForTests(nullptr);
        const qint32 id = storeOrders(1)[0];
        Form14* list = forms().get<Form14>();
        const QString chosen = m_program->folder() + QStringLiteral("/invoice-copy");
        QString suggested;
        CommonDialog::setAnswerForTests([&](const QString& mode, const QString& startName) -> std::optional<QString> {
            suggested = startName;
            return mode == QStringLiteral("save") ? std::optional<QString>(chosen) : std::nullopt;
        });
        bool sawSaveButton = false;
        ModalAnswerer answer([&](QWidget* modal) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
            if (!preview)
                return;
            QCOMPARE(preview->layoutDirection(), Qt::RightToLeft);
            if (auto* save = preview->findChild<QAction*>(QStringLiteral("savePdf"))) {
                sawSaveButton = true;
                save->trigger();
            }
            preview->reject();
        });
        list->Command1_Click();
        QCOMPARE(answer.seen().title, QStringLiteral("کروانتا  - گزارش گيري سفارش"));
        QVERIFY(sawSaveButton);
        QCOMPARE(suggested, QString::number(id) + QStringLiteral(".pdf"));
        QFile pdf(chosen + QStringLiteral(".pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    // Row choice opens the order entry window on the current order (edit state: its key,
    // editing, not saved); a save re-reads the list and finds the order again.
    void rowChoice()
    {
        const qint32 second = storeOrders(3)[1];
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        editState(Table::ss).saved = true;

        EditState seen;
        ModalAnswerer answer([&](QWidget* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("Form10"));
            seen = editState(Table::ss);
            changeOrder(second, QStringLiteral("name"), QStringLiteral("رضا حسيني"));
            insert(QStringLiteral("ss"), {{"name", QStringLiteral("سارا")}});
            editState(Table::ss).saved = true;
            forms().unload<Form10>();
        });
        Q_EMIT list->DataGrid1->rowChosen();
        QVERIFY(answer.done());
        QCOMPARE(seen.recordKey, second);
        QVERIFY(seen.editing);
        QVERIFY(!seen.saved);
        QCOMPARE(list->Adodc1->recordCount(), 4);
        QCOMPARE(list->Adodc1->currentRow(), 1);
        QCOMPARE(list->Adodc1->field(QStringLiteral("name")), QStringLiteral("رضا حسيني"));
    }

    // Delete asks first; on Yes the current order goes.
    void deleteAsksFirst()
    {
        const qint32 second = storeOrders(3)[1];
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        ModalAnswerer answer(kYes);
        QTest::mouseClick(list->Command3, Qt::LeftButton);
        QCOMPARE(answer.seen().text, QStringLiteral(" آيا شما ميخواهيد سفارش مورد نظر راحذف کنيد "));
        QCOMPARE(answer.seen().title, QStringLiteral("حذف سفارش ها"));
        QCOMPARE(list->Adodc1->recordCount(), 2);
        QCOMPARE(count(QStringLiteral("ss")), 2);
        QCOMPARE(row(QStringLiteral("ss"), second).isEmpty(), true);
    }

    void deleteOnEmptyListSaysSo()
    {
        Form14* list = forms().get<Form14>();
        ModalAnswerer answer(kOk);
        list->Command3_Click();
        QCOMPARE(answer.seen().title, QStringLiteral("حذف سفارش ها"));
        QVERIFY(answer.seen().text != QStringLiteral(" آيا شما ميخواهيد سفارش مورد نظر راحذف کنيد "));
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
        const qint32 ali = insert(table, {{"nuser", "alireza"}});
        insert(table, {{"nuser", "kazem"}});
        Form9* list = forms().get<Form9>();
        list->DataGrid1->searchFilter()->prepareIndex();
        QLineEdit* box = searchBox(list);
        box->setText(QStringLiteral("REZA"));
        const QAbstractItemModel* grid = list->DataGrid1->model();
        QCOMPARE(column(grid, 1).join(u','), u"reza,alireza"_qs);

        // A shorter and then a longer value: the rows after the saved one are found as well.
        auto editor = openSource(QStringLiteral("SELECT * FROM newmoshtary WHERE ID=%1").arg(ali));
        QLineEdit user;
        editor->bind(&user, QStringLiteral("nuser"));
        for (const char* saved : {"ali", "rezaali"}) {
            user.setText(QString::fromLatin1(saved));
            QVERIFY(editor->update());
            list->Adodc1->refresh();
            QCOMPARE(column(grid, 1).join(u','), saved == QByteArray("ali") ? u"reza"_qs : u"reza,rezaali"_qs);
            box->setText(QStringLiteral("KAZEM"));
            QCOMPARE(column(grid, 1), QStringList{QStringLiteral("kazem")});
            box->setText(QStringLiteral("REZA"));
        }
        user.setText(QStringLiteral("ali"));
        QVERIFY(editor->update());
        list->Adodc1->refresh();
        QCOMPARE(column(grid, 1), QStringList{QStringLiteral("reza")});
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
        // Never in place of the database (named with its own suffix in the dialog).
        const auto databaseBytes = [this] {
            QFile database(m_program->dbPath());
            return database.open(QIODevice::ReadOnly) ? database.readAll() : QByteArray();
        };
        const QByteArray before = databaseBytes();
        QVERIFY(!exportTo(list, m_program->dbPath()).isEmpty());
        QCOMPARE(databaseBytes(), before);
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
    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        // Plain numbers and what is not a number.
        QTest::newRow("decimal") << "2.5" << 2.5;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("Arabic comma ends") << fa(u"12\u060C5") << 12.0;
        // Blanks, tabs and line feeds vanish anywhere; a carriage return does not.
        QTest::newRow("blanks inside digits") << "1 0 0" << 100.0;
        QTest::newRow("tabs and line feeds") << "\t1\n2 3\n" << 123.0;
        QTest::newRow("carriage return ends") << "12\r3" << 12.0;
        // The invisible marks of pasted Persian text and no-break blanks vanish too.
        QTest::newRow("direction marks and joiners") << fa(u"\u200F\u06F2\u200C\u06F0\u06F0\u06F0\u200E") << 2000.0;
        QTest::newRow("no-break blank inside digits") << fa(u"12\u00A0000") << 12000.0;
        // Signs.
        QTest::newRow("minus") << "-5" << -5.0;
        QTest::newRow("blank after sign") << "- 5" << -5.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        // Decimal point.
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("second point ends") << "1.2.3" << 1.2;
        QTest::newRow("Arabic decimal point") << fa(u"2\u066B5") << 2.5;
        // Exponents.
        QTest::newRow("signed exponent") << "1.5e-2" << 0.015;
        QTest::newRow("blanks around exponent") << "1 e 3" << 1000.0;
        QTest::newRow("exponent without digits") << "7e" << 7.0;
        QTest::newRow("exponent without mantissa") << "e3" << 0.0;
        // Hexadecimal and octal.
        QTest::newRow("hex") << "&H1F" << 31.0;
        QTest::newRow("hex four digits stays positive") << "&HFFFF" << 65535.0;
        QTest::newRow("octal stops at 8") << "&o19" << 1.0;
        QTest::newRow("unknown prefix") << "&X1" << 0.0;
        QTest::newRow("sign before prefix") << "-&H10" << 0.0;
        // Persian and Arabic-Indic digits.
        QTest::newRow("Persian digits") << fa(u"\u06F1\u06F2\u06F3") << 123.0;
        QTest::newRow("mixed digits") << fa(u"\u06F12\u0663") << 123.0;
        QTest::newRow("Persian decimal") << fa(u"\u06F2\u066B\u06F5") << 2.5;
        // Thousands separators between groups of three digits.
        QTest::newRow("comma thousands") << "1,500" << 1500.0;
        QTest::newRow("Persian thousands") << fa(u"\u06F1\u06F2\u066C\u06F0\u06F0\u06F0") << 12000.0;
        QTest::newRow("groups then decimals") << "1,500.25" << 1500.25;
        QTest::newRow("short group ends") << "1,5" << 1.0;
        QTest::newRow("leading comma") << ",500" << 0.0;
        QTest::newRow("bad second group keeps the first") << "1,234,56" << 1234.0;
        QTest::newRow("no separators in decimals") << "1.500,5" << 1.5;
        // Beyond the range of a double.
        QTest::newRow("largest") << "1.7976931348623157e308" << std::numeric_limits<double>::max();
        QTest::newRow("overflow") << "1e309" << kInf;
        QTest::newRow("huge exponent") << "1e99999999999999999999" << kInf;
        QTest::newRow("underflow") << "1e-400" << 0.0;
        QTest::newRow("many digits") << QString(400, u'9') << kInf;
    }

    void read()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ReadAmount(text), value);
    }

    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole, no point") << 2600.0 << "2600";
        QTest::newRow("decimal") << 2602.5 << "2602.5";
        QTest::newRow("negative") << -12.25 << "-12.25";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("binary noise rounded away") << 0.1 + 0.2 << "0.3";
        QTest::newRow("fifteen digits") << 1.0 / 3 << "0.333333333333333";
        QTest::newRow("fifteen whole digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("sixteen whole digits") << 1234567890123456.0 << "1.23456789012346E+15";
        QTest::newRow("small") << 0.0001 << "0.0001";
        QTest::newRow("infinity") << kInf << "";
        QTest::newRow("not a number") << std::nan("") << "";
    }

    void format()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatAmount(value), text);
    }

    // Only the decimal separator follows the user's locale; digits stay ASCII, never grouped.
    void formatInLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const QLocale persian(QLocale::Persian, QLocale::Iran);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("Persian") << persian << 2602.5 << fa(u"2602\u066B5");
        QTest::newRow("Persian whole, not grouped") << persian << 1500000.0 << "1500000";
        QTest::newRow("German exponent") << german << 1.5e20 << "1,5E+20";
    }

    void formatInLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QLocale::setDefault(locale);
        QCOMPARE(FormatAmount(value), text);
    }

    // What FormatAmount writes reads back as the same number in the Persian locale.
    void persianRoundTrip()
    {
        QLocale::setDefault(QLocale(QLocale::Persian, QLocale::Iran));
        for (double value : {0.0, 1.0, -2.5, 0.3, 2602.5, 1e-7, 123456789012345.0, 1.5e20, -1.25e-20})
            QCOMPARE(ReadAmount(FormatAmount(value)), value);
    }
};

QTEST_MAIN(TestOrders)
#include "tst_orders.moc"
