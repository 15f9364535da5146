// The plan, domain extension and customer editors, driven through their windows on a real
// database file in a temporary program folder.
#include "app/form_registry.h"
#include "catalogue/customer_editor.h"
#include "catalogue/domain_editor.h"
#include "catalogue/list_windows.h"
#include "catalogue/plan_editor.h"
#include "catalogue_fixtures.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "support/test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace catalogue_test;

namespace {
const QString kOneYear = QStringLiteral("قيمت يک ساله :");
const QString kTwoYears = QStringLiteral("قيمت دو ساله :");
const QString kFiveYears = QStringLiteral("قيمت پنج ساله :");
const QString kOk = QStringLiteral("تأييد");
const QString kNotStoredTitle = QStringLiteral("خطا در ثبت اطلاعات");

enum EditorId { Windows = 2, Linux = 3, Domain = 4, Customer = 5 };

Table tableOf(int editor)
{
    switch (editor) {
    case Windows:
        return Table::winhost;
    case Linux:
        return Table::linhost;
    case Domain:
        return Table::newdomin;
    default:
        return Table::newmoshtary;
    }
}

QString tableName(int editor)
{
    const char* names[] = {"winhost", "linhost", "newdomin", "newmoshtary"};
    return QString::fromLatin1(names[editor - 2]);
}

// The column of each editor's Text1.
QString firstColumn(int editor)
{
    return editor == Domain ? QStringLiteral("pd") : editor == Customer ? QStringLiteral("nuser") : QStringLiteral("namep");
}

// Loads the editor (hidden, running its opening steps) as the registry does when it is shown.
CatalogueEditor* load(int editor)
{
    switch (editor) {
    case Windows:
        return forms().get<Form2>();
    case Linux:
        return forms().get<Form3>();
    case Domain:
        return forms().get<Form4>();
    default:
        return forms().get<Form5>();
    }
}

bool isLoaded(int editor)
{
    switch (editor) {
    case Windows:
        return forms().isLoaded<Form2>();
    case Linux:
        return forms().isLoaded<Form3>();
    case Domain:
        return forms().isLoaded<Form4>();
    default:
        return forms().isLoaded<Form5>();
    }
}

QLineEdit* text1(QWidget* editor)
{
    return editor->findChild<QLineEdit*>(QStringLiteral("Text1"));
}

// The controls that Tab visits, in order, starting at the first one.
QStringList tabChain(QWidget* first)
{
    QStringList names;
    QWidget* w = first;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != first && names.size() < 30);
    return names;
}
} // namespace

class TestCatalogueEditors : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newPlanFromTheMenu_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("stored");
        QTest::newRow("windows, no period") << int(Windows) << 0 << QString();
        QTest::newRow("windows, one year") << int(Windows) << 1 << kOneYear;
        QTest::newRow("windows, two years") << int(Windows) << 2 << kTwoYears;
        QTest::newRow("linux, five years") << int(Linux) << 3 << kFiveYears;
        QTest::newRow("linux, no period") << int(Linux) << 0 << QString();
    }

    void newPlanFromTheMenu()
    {
        QFETCH(int, editor);
        QFETCH(int, option);
        QFETCH(QString, stored);
        TestProgram program;
        const Table table = tableOf(editor);

        bool optionOnAtOpening = true;
        QString periodAtOpening = QStringLiteral("?");
        QString keyAtOpening = QStringLiteral("?");
        ModalAnswerer fill([&](QWidget* window) {
            auto* plan = qobject_cast<PlanEditor*>(window);
            QVERIFY(plan);
            optionOnAtOpening = plan->Option1->isChecked() || plan->Option2->isChecked() || plan->Option3->isChecked();
            periodAtOpening = plan->Label9->text();
            keyAtOpening = plan->Label8->text();
            typeText(plan->Text1, QStringLiteral("پنل نقره اي"));
            typeText(plan->Text2, QStringLiteral("500"));
            typeText(plan->Text3, QStringLiteral("10000"));
            QRadioButton* options[] = {nullptr, plan->Option1, plan->Option2, plan->Option3};
            if (option)
                options[option]->click();
            typeText(plan->Text5, QStringLiteral("250000"));
            plan->Text6->setPlainText(QStringLiteral("کنترل پنل\nپشتيبان گيري روزانه"));
            plan->Command1->click();
        });
        // The menu command: the new-record state, then the editor modally.
        editState(table).setNewRecord();
        if (editor == Windows)
            forms().showModal<Form2>();
        else
            forms().showModal<Form3>();
        QVERIFY(fill.done());

        QVERIFY(!optionOnAtOpening);
        QVERIFY(periodAtOpening.isEmpty());
        QVERIFY(keyAtOpening.isEmpty());

        const auto all = rows(QStringLiteral("SELECT * FROM ") + tableName(editor));
        QCOMPARE(all.size(), 1);
        const auto& plan = all.first();
        QVERIFY(plan[QStringLiteral("ID")].toInt() > 0);
        QCOMPARE(plan[QStringLiteral("namep")], QStringLiteral("پنل نقره اي"));
        QCOMPARE(plan[QStringLiteral("mf")], QStringLiteral("500"));
        QCOMPARE(plan[QStringLiteral("pb")], QStringLiteral("10000"));
        QCOMPARE(plan[QStringLiteral("gs")], QStringLiteral("250000"));
        QCOMPARE(plan[QStringLiteral("sa")], QStringLiteral("کنترل پنل\nپشتيبان گيري روزانه"));
        QCOMPARE(plan[QStringLiteral("ghemats")].isNull(), stored.isNull());
        QCOMPARE(plan[QStringLiteral("ghemats")], stored);

        QVERIFY(editState(table).saved);
        QVERIFY(!editState(table).editing);
        QVERIFY(!isLoaded(editor));
        // The save re-read its own list window, loading it hidden, and only that one.
        CatalogueList* list = editor == Windows ? static_cast<CatalogueList*>(forms().ifLoaded<Form6>())
                                                : forms().ifLoaded<Form7>();
        QVERIFY(list);
        QVERIFY(!list->isVisible());
        QCOMPARE(list->Adodc1->recordCount(), 1);
        QVERIFY(editor == Windows ? !forms().isLoaded<Form7>() : !forms().isLoaded<Form6>());
    }

    void editingRecognisesTheStoredPeriod_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("period");
        QTest::addColumn<int>("optionOn");
        QTest::addColumn<int>("choose");
        QTest::addColumn<QString>("stored");
        QString noColon = kTwoYears;
        noColon.chop(1);
        QString otherKaf = kOneYear;
        otherKaf.replace(QChar(0x06A9), QChar(0x0643));
        QVERIFY(otherKaf != kOneYear);
        const QString unknown = QStringLiteral("قيمت ده ساله :");

        QTest::newRow("windows, one year kept") << int(Windows) << kOneYear << 1 << 0 << kOneYear;
        QTest::newRow("windows, two years then five") << int(Windows) << kTwoYears << 2 << 3 << kFiveYears;
        QTest::newRow("linux, five years kept") << int(Linux) << kFiveYears << 3 << 0 << kFiveYears;
        QTest::newRow("without the colon, kept") << int(Windows) << noColon << 0 << 0 << noColon;
        QTest::newRow("other letter form, kept") << int(Linux) << otherKaf << 0 << 0 << otherKaf;
        QTest::newRow("unknown, then two years") << int(Windows) << unknown << 0 << 2 << kTwoYears;
        QTest::newRow("empty, then one year") << int(Windows) << QString() << 0 << 1 << kOneYear;
        QTest::newRow("domain, five years kept") << int(Domain) << kFiveYears << 3 << 0 << kFiveYears;
        QTest::newRow("domain, one year then two") << int(Domain) << kOneYear << 1 << 2 << kTwoYears;
        QTest::newRow("domain, unknown kept") << int(Domain) << unknown << 0 << 0 << unknown;
    }

    void editingRecognisesTheStoredPeriod()
    {
        QFETCH(int, editor);
        QFETCH(QString, period);
        QFETCH(int, optionOn);
        QFETCH(int, choose);
        QFETCH(QString, stored);
        TestProgram program;
        const QString table = tableName(editor);
        insert(table, {{firstColumn(editor), QStringLiteral("اول")}, {QStringLiteral("gs"), QStringLiteral("1000")}});
        const qint32 key = insert(table, {{firstColumn(editor), QStringLiteral("net")},
                                          {QStringLiteral("ghemats"), period},
                                          {QStringLiteral("gs"), QStringLiteral("45000")}});
        QVERIFY(key > 0);

        EditState& state = editState(tableOf(editor));
        state.recordKey = key;
        state.editing = true;
        state.saved = false;
        CatalogueEditor* window = load(editor);
        auto* periodLabel = window->findChild<QLabel*>(editor == Domain ? QStringLiteral("Label4") : QStringLiteral("Label9"));
        QVERIFY(periodLabel);
        QRadioButton* options[] = {nullptr, window->findChild<QRadioButton*>(QStringLiteral("Option1")),
                                   window->findChild<QRadioButton*>(QStringLiteral("Option2")),
                                   window->findChild<QRadioButton*>(QStringLiteral("Option3"))};
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(options[i]->isChecked(), i == optionOn);
        QCOMPARE(periodLabel->text(), period.isNull() ? QString() : period);
        QCOMPARE(window->Label8->text(), QString::number(key));
        QCOMPARE(text1(window)->text(), QStringLiteral("net"));

        if (choose)
            options[choose]->click();
        window->Command1->click();

        QCOMPARE(row(table, key)[QStringLiteral("ghemats")], stored);
        QCOMPARE(row(table, key)[QStringLiteral("gs")], QStringLiteral("45000"));
        QCOMPARE(count(table), 2);
        QVERIFY(state.saved);
        QVERIFY(state.editing); // a save leaves the editing flag on
        QVERIFY(!isLoaded(editor));
    }

    void cancelStoresNothing_data()
    {
        QTest::addColumn<int>("editor");
        QTest::newRow("Form2") << int(Windows);
        QTest::newRow("Form3") << int(Linux);
        QTest::newRow("Form4") << int(Domain);
        QTest::newRow("Form5") << int(Customer);
    }

    void cancelStoresNothing()
    {
        QFETCH(int, editor);
        TestProgram program;
        const QString table = tableName(editor);
        const qint32 key = insert(table, {{firstColumn(editor), QStringLiteral("before")}});
        EditState& state = editState(tableOf(editor));
        state.recordKey = key;
        state.editing = true;
        state.saved = true;

        CatalogueEditor* window = load(editor);
        QCOMPARE(text1(window)->text(), QStringLiteral("before"));
        text1(window)->setText(QStringLiteral("after"));
        window->Command2->click();

        QCOMPARE(row(table, key)[firstColumn(editor)], QStringLiteral("before"));
        QCOMPARE(count(table), 1);
        QVERIFY(!state.editing);
        QVERIFY(state.saved); // left as it was
        QVERIFY(!isLoaded(editor));
        QVERIFY(!forms().isLoaded<Form6>() && !forms().isLoaded<Form7>());

        // Opened again without setting the edit state, the editor adds a new record.
        CatalogueEditor* again = load(editor);
        QVERIFY(text1(again)->text().isEmpty());
        text1(again)->setText(QStringLiteral("second"));
        again->Command1->click();
        QCOMPARE(count(table), 2);
    }

    void refusedSaveKeepsTheWindowAndItsValues_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<bool>("editing");
        QTest::newRow("Form2, new") << int(Windows) << false;
        QTest::newRow("Form3, edit") << int(Linux) << true;
        QTest::newRow("Form4, new") << int(Domain) << false;
        QTest::newRow("Form5, new") << int(Customer) << false;
        QTest::newRow("Form5, edit") << int(Customer) << true;
    }

    void refusedSaveKeepsTheWindowAndItsValues()
    {
        QFETCH(int, editor);
        QFETCH(bool, editing);
        TestProgram program;
        const QString table = tableName(editor);
        const qint32 key = insert(table, {{firstColumn(editor), QStringLiteral("stored")}});
        QVERIFY(exec(QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %2 ON %3 BEGIN SELECT RAISE(ABORT, 'disk quota reached'); END")
                         .arg(editing ? QStringLiteral("update") : QStringLiteral("insert"),
                              editing ? QStringLiteral("UPDATE") : QStringLiteral("INSERT"), table)));
        EditState& state = editState(tableOf(editor));
        if (editing) {
            state.recordKey = key;
            state.editing = true;
        } else {
            state.setNewRecord();
        }
        state.saved = false;

        CatalogueEditor* window = load(editor);
        text1(window)->setText(QStringLiteral("typed"));
        {
            ModalAnswerer ok(kOk);
            window->Command1->click();
            QVERIFY(ok.done());
            QCOMPARE(ok.seen().title, kNotStoredTitle);
            QVERIFY(ok.seen().text.contains(QStringLiteral("disk quota reached")));
        }
        QVERIFY(isLoaded(editor));
        QCOMPARE(text1(window)->text(), QStringLiteral("typed"));
        QVERIFY(!state.saved);
        QCOMPARE(count(table), 1);
        QCOMPARE(row(table, key)[firstColumn(editor)], QStringLiteral("stored"));
        QVERIFY(!forms().isLoaded<Form6>() && !forms().isLoaded<Form7>());

        // Once the database takes it, the same window stores what was kept.
        QVERIFY(exec(QStringLiteral("DROP TRIGGER refuse_%1").arg(editing ? QStringLiteral("update") : QStringLiteral("insert"))));
        window->Command1->click();
        QVERIFY(state.saved);
        QVERIFY(!isLoaded(editor));
        QCOMPARE(count(table), editing ? 1 : 2);
        const auto stored = rows(QStringLiteral("SELECT * FROM %1 WHERE %2='typed'").arg(table, firstColumn(editor)));
        QCOMPARE(stored.size(), 1);
    }

    void recordGoneMeanwhileIsNotReportedAsSaved()
    {
        TestProgram program;
        EditState& state = editState(Table::newmoshtary);
        state.recordKey = 4711;
        state.editing = true;
        state.saved = false;
        auto* window = forms().get<Form5>();
        QVERIFY(window->Text1->text().isEmpty());
        QVERIFY(window->Label8->text().isEmpty());
        window->Text1->setText(QStringLiteral("ali"));
        {
            ModalAnswerer ok(kOk);
            window->Command1->click();
            QCOMPARE(ok.seen().title, kNotStoredTitle);
        }
        QVERIFY(!state.saved);
        QVERIFY(forms().isLoaded<Form5>());
        QCOMPARE(count(QStringLiteral("newmoshtary")), 0);
    }

    void domainExtensionIsStoredAsTyped()
    {
        TestProgram program;
        // The domain extension list, loaded earlier, is not re-read by this editor's save.
        Form8* list = forms().get<Form8>();
        QCOMPARE(list->Adodc1->recordCount(), 0);

        QString periodAtOpening = QStringLiteral("?");
        ModalAnswerer fill([&](QWidget* window) {
            auto* domain = qobject_cast<Form4*>(window);
            QVERIFY(domain);
            periodAtOpening = domain->Label4->text();
            QCOMPARE(domain->Text1->layoutDirection(), Qt::LeftToRight);
            QCOMPARE(domain->Text1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
            typeText(domain->Text1, QStringLiteral(".co.ir"));
            domain->Option3->click();
            typeText(domain->Text2, QStringLiteral("90000"));
            domain->Command1->click();
        });
        editState(Table::newdomin).setNewRecord();
        forms().showModal<Form4>();
        QVERIFY(fill.done());

        QVERIFY(periodAtOpening.isEmpty());
        const auto all = rows(QStringLiteral("SELECT * FROM newdomin"));
        QCOMPARE(all.size(), 1);
        QCOMPARE(all.first()[QStringLiteral("pd")], QStringLiteral(".co.ir"));
        QCOMPARE(all.first()[QStringLiteral("ghemats")], kFiveYears);
        QCOMPARE(all.first()[QStringLiteral("gs")], QStringLiteral("90000"));
        QVERIFY(editState(Table::newdomin).saved);
        QCOMPARE(list->Adodc1->recordCount(), 0);
    }

    void customerIsStoredFieldByField()
    {
        TestProgram program;
        ModalAnswerer fill([&](QWidget* window) {
            auto* customer = qobject_cast<Form5*>(window);
            QVERIFY(customer);
            for (QLineEdit* latin : {customer->Text1, customer->Text4, customer->Text5, customer->Text6, customer->Text7}) {
                QCOMPARE(latin->layoutDirection(), Qt::LeftToRight);
                QCOMPARE(latin->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
            }
            for (QLineEdit* persian : {customer->Text2, customer->Text3})
                QCOMPARE(persian->layoutDirection(), Qt::RightToLeft);
            QCOMPARE(customer->lblLabels.size(), 8);
            typeText(customer->Text1, QStringLiteral("rezaei88"));
            typeText(customer->Text2, QStringLiteral("مريم"));
            typeText(customer->Text3, QStringLiteral("رضايي"));
            typeText(customer->Text4, QStringLiteral("m.rezaei@example.ir"));
            typeText(customer->Text5, QStringLiteral("021-88776655"));
            typeText(customer->Text6, QStringLiteral("09121234567"));
            customer->Text8->setPlainText(QStringLiteral("مشتري قديمي\nتخفيف ويژه"));
            customer->Command1->click();
        });
        editState(Table::newmoshtary).setNewRecord();
        forms().showModal<Form5>();
        QVERIFY(fill.done());

        const auto all = rows(QStringLiteral("SELECT * FROM newmoshtary"));
        QCOMPARE(all.size(), 1);
        const auto& c = all.first();
        QCOMPARE(c[QStringLiteral("nuser")], QStringLiteral("rezaei88"));
        QCOMPARE(c[QStringLiteral("name")], QStringLiteral("مريم"));
        QCOMPARE(c[QStringLiteral("fname")], QStringLiteral("رضايي"));
        QCOMPARE(c[QStringLiteral("email")], QStringLiteral("m.rezaei@example.ir"));
        QCOMPARE(c[QStringLiteral("tell")], QStringLiteral("021-88776655"));
        QCOMPARE(c[QStringLiteral("mob")], QStringLiteral("09121234567"));
        QVERIFY(c[QStringLiteral("kp")].isNull()); // left empty
        QCOMPARE(c[QStringLiteral("sa")], QStringLiteral("مشتري قديمي\nتخفيف ويژه"));
        QVERIFY(editState(Table::newmoshtary).saved);
        // Without a main window the count update has nothing to set and loads no list.
        QVERIFY(!forms().isLoaded<Form9>());
    }

    void tabOrder_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QStringList>("order");
        const QStringList plan = {"Text1", "Text2", "Text3", "Option1", "Option2", "Option3", "Text5", "Text6", "Command1", "Command2"};
        QTest::newRow("Form2") << int(Windows) << plan;
        QTest::newRow("Form3") << int(Linux) << plan;
        QTest::newRow("Form4") << int(Domain) << QStringList{"Text1", "Option1", "Option2", "Option3", "Text2", "Command1", "Command2"};
        QTest::newRow("Form5") << int(Customer)
                               << QStringList{"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Command1", "Command2"};
    }

    void tabOrder()
    {
        QFETCH(int, editor);
        QFETCH(QStringList, order);
        TestProgram program;
        CatalogueEditor* window = load(editor);
        QCOMPARE(tabChain(text1(window)), order);
    }
};

QTEST_MAIN(TestCatalogueEditors)
#include "tst_catalogue_editors.moc"
