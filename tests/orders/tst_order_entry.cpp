// The order entry window on a real database: loading new and stored orders, the order total,
// today's date, storing, refused stores and cancelling.
#include "calendar/solar_hijri.h"
#include "orders/order_entry.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "support/fixtures.h"
#include "ui/form_registry.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace fixtures;

namespace {
// Each value control of the window and the order field it shows and stores.
const QList<std::pair<const char*, const char*>> kBoundFields = {
    {"Text1", "nuser"},  {"Label3", "name"},  {"Label14", "fname"}, {"Label4", "email"},
    {"Text2", "npah"},   {"Label13", "sal"},  {"Label5", "hz"},     {"Text4", "nd2"},
    {"Text3", "nd1"},    {"Label12", "htsd2"}, {"Label9", "htsd1"}, {"Text5", "mgzas"},
    {"Text6", "hras"},   {"Text7", "dhkh"},   {"Label11", "khas"},  {"Text8", "tss"},
};

QString shown(Form10* order, const char* name)
{
    QWidget* control = order->findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return QStringLiteral("<no control %1>").arg(QString::fromLatin1(name));
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
} // namespace

class TestOrderEntry : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }
    void opening_data()
    {
        QTest::addColumn<bool>("storedOrder");
        QTest::newRow("new order") << false;
        QTest::newRow("stored order") << true;
    }
    void opening()
    {
        QFETCH(bool, storedOrder);
        const qint32 key = storeOrderRow();
        Form10* order = storedOrder ? openStoredOrder(key) : openNewOrder();
        QCOMPARE(order->windowTitle(), QStringLiteral("     ثبت سفارش"));
        QCOMPARE(order->Adodc1->isNewRow(), !storedOrder);
        QCOMPARE(order->Label2->text(), storedOrder ? QString::number(key) : QString());
        const Row stored = row(QStringLiteral("ss"), key);
        for (const auto& [control, field] : kBoundFields)
            QCOMPARE(shown(order, control), storedOrder ? stored.value(QString::fromLatin1(field)) : QString());
    }

    void store_data()
    {
        QTest::addColumn<bool>("storedOrder");
        QTest::newRow("empty new order") << false;
        QTest::newRow("change to a stored order") << true;
    }
    void store()
    {
        QFETCH(bool, storedOrder);
        Form10* order = storedOrder ? openStoredOrder(storeOrderRow()) : openNewOrder();
        if (storedOrder) {
            retype(order->Text7, QStringLiteral("150"));
            QCOMPARE(order->Label11->text(), QStringLiteral("3750"));
        }
        QVERIFY(clickStore(order));
        QVERIFY(!forms().isLoaded<Form10>());
        QVERIFY(editState(Table::ss).saved);
        QCOMPARE(editState(Table::ss).editing, storedOrder); // only Cancel clears it
        const auto stored = rows(QStringLiteral("SELECT * FROM ss"));
        QCOMPARE(stored.size(), 1);
        if (!storedOrder) {
            for (const auto& [control, field] : kBoundFields)
                QVERIFY2(stored.first().value(QString::fromLatin1(field)).isEmpty(), field);
            return;
        }
        QCOMPARE(stored.first().value(QStringLiteral("dhkh")), QStringLiteral("150"));
        QCOMPARE(stored.first().value(QStringLiteral("khas")), QStringLiteral("3750"));
        QCOMPARE(stored.first().value(QStringLiteral("nuser")), QStringLiteral("reza"));
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

    void refusedStoreKeepsTheOrder_data()
    {
        QTest::addColumn<bool>("storedOrder");
        QTest::newRow("database refuses the new order") << false;
        QTest::newRow("stored order deleted meanwhile") << true;
    }
    void refusedStoreKeepsTheOrder()
    {
        QFETCH(bool, storedOrder);
        Form10* order = nullptr;
        if (storedOrder) {
            order = openStoredOrder(storeOrderRow());
            QVERIFY(exec(QStringLiteral("DELETE FROM ss")));
        } else {
            order = openNewOrder();
            QVERIFY(exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON ss BEGIN SELECT RAISE(ABORT, 'orders are closed'); END")));
        }
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
        if (storedOrder)
            return;

        QVERIFY(exec(QStringLiteral("DROP TRIGGER refuse")));
        QVERIFY(clickStore(order));
        QVERIFY(!forms().isLoaded<Form10>());
        const auto stored = rows(QStringLiteral("SELECT nuser, hras FROM ss"));
        QCOMPARE(stored, (QList<Row>{{{"nuser", "mina"}, {"hras", "250"}}}));
    }

    // The restore re-reads every window's query; a new order still has its record to store.
    void newOrderSurvivesAReRead()
    {
        editState(Table::ss).setNewRecord();
        Form10* order = forms().get<Form10>();
        QVERIFY(order->Adodc1->refresh());
        order->show();
        retype(order->Text3, QStringLiteral("after-restore"));
        QVERIFY(clickStore(order));
        QCOMPARE(rows(QStringLiteral("SELECT nd1 FROM ss")), (QList<Row>{{{"nd1", "after-restore"}}}));
    }

    void dateButtonReplacesTheDate()
    {
        Form10* order = openNewOrder();
        retype(order->Text8, QStringLiteral("1390/01/01"));
        QTest::mouseClick(order->Image14, Qt::LeftButton);
        QCOMPARE(order->Text8->text(), PersianDateText(QDate::currentDate(), 0));
        QVERIFY(!order->Text8->text().isEmpty());
    }

    // The total is recomputed on its own events only; before any of them it stays empty.
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
        QWidget* target = order->findChild<QWidget*>(control);
        if (typed.isEmpty())
            QTest::mouseClick(target, Qt::LeftButton);
        else
            typeText(target, typed);
        QCOMPARE(order->Label11->text(), recomputes ? QStringLiteral("2500") : QString());
    }

    void totalOfTypedAmounts_data()
    {
        QTest::addColumn<QString>("planPrice");
        QTest::addColumn<QString>("domainPrice");
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("total"); // "." stands for the locale's decimal separator
        QTest::newRow("fraction") << "2000" << "500" << "100" << "2.5" << "2602.5";
        QTest::newRow("letters read as 0") << "2000" << "" << "abc" << "" << "2000";
        QTest::newRow("thousands separator") << "" << "" << "1,500" << "" << "1500";
        QTest::newRow("Persian keyboard digits") << "" << "" << "۱۰۰" << "۲٫۵" << "102.5";
        QTest::newRow("negative costs") << "100" << "" << "-150" << "" << "-50";
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
};

QTEST_MAIN(TestOrderEntry)
#include "tst_order_entry.moc"
