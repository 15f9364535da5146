// The plan, domain extension and customer editors, driven through their windows on a real
// database file in a temporary program folder.
#include "catalogue/customer_editor.h"
#include "catalogue/domain_editor.h"
#include "catalogue/list_windows.h"
#include "catalogue/plan_editor.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "support/fixtures.h"
#include "ui/form_registry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace fixtures;

namespace {
const QString kNotStoredTitle = QStringLiteral("خطا در ثبت اطلاعات");

enum EditorId { Windows = 2, Linux = 3, Domain = 4, Customer = 5 };

Table tableOf(int editor)
{
    const Table tables[] = {Table::winhost, Table::linhost, Table::newdomin, Table::newmoshtary};
    return tables[editor - 2];
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
    const std::function<CatalogueEditor*()> load[] = {[] { return forms().get<Form2>(); }, [] { return forms().get<Form3>(); },
                                                      [] { return forms().get<Form4>(); }, [] { return forms().get<Form5>(); }};
    return load[editor - 2]();
}

bool isLoaded(int editor)
{
    const bool loaded[] = {forms().isLoaded<Form2>(), forms().isLoaded<Form3>(), forms().isLoaded<Form4>(),
                           forms().isLoaded<Form5>()};
    return loaded[editor - 2];
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
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }
    void newPlanFromTheMenu_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("stored");
        QTest::newRow("windows, no period") << int(Windows) << 0 << QString();
        QTest::newRow("linux, five years") << int(Linux) << 3 << kFiveYears;
    }

    void newPlanFromTheMenu()
    {
        QFETCH(int, editor);
        QFETCH(int, option);
        QFETCH(QString, stored);
        QStringList atOpening;
        ModalAnswerer fill([&](QWidget* window) {
            auto* plan = qobject_cast<PlanEditor*>(window);
            QRadioButton* options[] = {nullptr, plan->Option1, plan->Option2, plan->Option3};
            for (int i = 1; i <= 3; ++i)
                atOpening << (options[i]->isChecked() ? QStringLiteral("on") : QString());
            atOpening << plan->Label9->text() << plan->Label8->text();
            typeText(plan->Text1, QStringLiteral("پنل نقره اي"));
            typeText(plan->Text2, QStringLiteral("500"));
            typeText(plan->Text3, QStringLiteral("10000"));
            if (option)
                options[option]->click();
            typeText(plan->Text5, QStringLiteral("250000"));
            plan->Text6->setPlainText(QStringLiteral("کنترل پنل\nپشتيبان گيري روزانه"));
            plan->Command1->click();
        });
        editState(tableOf(editor)).setNewRecord();
        if (editor == Windows)
            forms().showModal<Form2>();
        else
            forms().showModal<Form3>();
        QVERIFY(fill.done());
        QCOMPARE(atOpening, QStringList(5, QString()));

        const auto all = rows(QStringLiteral("SELECT * FROM ") + tableName(editor));
        QCOMPARE(all.size(), 1);
        const Row expected = {{"namep", QStringLiteral("پنل نقره اي")}, {"mf", "500"}, {"pb", "10000"}, {"gs", "250000"},
                              {"sa", QStringLiteral("کنترل پنل\nپشتيبان گيري روزانه")}, {"ghemats", stored}};
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(all.first()[it.key()], it.value());
        QCOMPARE(all.first()[QStringLiteral("ghemats")].isNull(), stored.isNull());

        QVERIFY(editState(tableOf(editor)).saved);
        QVERIFY(!editState(tableOf(editor)).editing);
        QVERIFY(!isLoaded(editor));
        CatalogueList* list = editor == Windows ? static_cast<CatalogueList*>(forms().ifLoaded<Form6>())
                                                : forms().ifLoaded<Form7>();
        QVERIFY(list && !list->isVisible());
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
        const QString unknown = QStringLiteral("قيمت ده ساله :");

        QTest::newRow("windows, two years then five") << int(Windows) << kTwoYears << 2 << 3 << kFiveYears;
        QTest::newRow("linux, five years kept") << int(Linux) << kFiveYears << 3 << 0 << kFiveYears;
        QTest::newRow("without the colon, kept") << int(Windows) << noColon << 0 << 0 << noColon;
        QTest::newRow("other letter form, kept") << int(Linux) << otherKaf << 0 << 0 << otherKaf;
        QTest::newRow("unknown, then two years") << int(Windows) << unknown << 0 << 2 << kTwoYears;
        QTest::newRow("empty, then one year") << int(Windows) << QString() << 0 << 1 << kOneYear;
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
        const QString table = tableName(editor);
        insert(table, {{firstColumn(editor), QStringLiteral("اول")}, {QStringLiteral("gs"), QStringLiteral("1000")}});
        const qint32 key = insert(table, {{firstColumn(editor), QStringLiteral("net")},
                                          {QStringLiteral("ghemats"), period},
                                          {QStringLiteral("gs"), QStringLiteral("45000")}});
        EditState& state = editState(tableOf(editor));
        state = EditState{key, true, false};
        CatalogueEditor* window = load(editor);
        auto* periodLabel = window->findChild<QLabel*>(editor == Domain ? QStringLiteral("Label4") : QStringLiteral("Label9"));
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
        for (int editor = Windows; editor <= Customer; ++editor)
            QTest::addRow("Form%d", editor) << editor;
    }

    void cancelStoresNothing()
    {
        QFETCH(int, editor);
        const QString table = tableName(editor);
        const qint32 key = insert(table, {{firstColumn(editor), QStringLiteral("before")}});
        EditState& state = editState(tableOf(editor));
        state = EditState{key, true, true};

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

    // A save the database refuses (or of a record deleted meanwhile) is told, keeps the window
    // with what was typed, and is not reported as saved.
    void refusedSaveKeepsTheWindowAndItsValues_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("refusal"); // "insert", "update", or "gone"
        QTest::newRow("Form2, new") << int(Windows) << "insert";
        QTest::newRow("Form3, edit") << int(Linux) << "update";
        QTest::newRow("Form4, new") << int(Domain) << "insert";
        QTest::newRow("Form5, record gone") << int(Customer) << "gone";
    }

    void refusedSaveKeepsTheWindowAndItsValues()
    {
        QFETCH(int, editor);
        QFETCH(QString, refusal);
        const QString table = tableName(editor);
        const qint32 key = insert(table, {{firstColumn(editor), QStringLiteral("stored")}});
        const QString reason = QStringLiteral("disk quota reached");
        if (refusal != QLatin1String("gone"))
            QVERIFY(exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, '%3'); END")
                             .arg(refusal, table, reason)));
        EditState& state = editState(tableOf(editor));
        if (refusal == QLatin1String("insert"))
            state.setNewRecord();
        else
            state = EditState{refusal == QLatin1String("gone") ? key + 100 : key, true, false};

        CatalogueEditor* window = load(editor);
        text1(window)->setText(QStringLiteral("typed"));
        {
            ModalAnswerer ok(kOk);
            window->Command1->click();
            QCOMPARE(ok.seen().title, kNotStoredTitle);
            if (refusal != QLatin1String("gone"))
                QVERIFY(ok.seen().text.contains(reason));
        }
        QVERIFY(isLoaded(editor));
        QCOMPARE(text1(window)->text(), QStringLiteral("typed"));
        QVERIFY(!state.saved);
        QCOMPARE(count(table), 1);
        QCOMPARE(row(table, key)[firstColumn(editor)], QStringLiteral("stored"));
        QVERIFY(!forms().isLoaded<Form6>() && !forms().isLoaded<Form7>());
        if (refusal == QLatin1String("gone"))
            return;

        // Once the database takes it, the same window stores what was kept.
        QVERIFY(exec(QStringLiteral("DROP TRIGGER refuse")));
        window->Command1->click();
        QVERIFY(state.saved);
        QVERIFY(!isLoaded(editor));
        QCOMPARE(count(table), refusal == QLatin1String("update") ? 1 : 2);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM %1 WHERE %2='typed'").arg(table, firstColumn(editor))).size(), 1);
    }

    void domainExtensionIsStoredAsTyped()
    {
        Form8* list = forms().get<Form8>();
        ModalAnswerer fill([&](QWidget* window) {
            auto* domain = qobject_cast<Form4*>(window);
            QVERIFY(domain->Label4->text().isEmpty());
            typeText(domain->Text1, QStringLiteral(".co.ir"));
            domain->Option3->click();
            typeText(domain->Text2, QStringLiteral("90000"));
            domain->Command1->click();
        });
        editState(Table::newdomin).setNewRecord();
        forms().showModal<Form4>();
        QVERIFY(fill.done());

        const auto all = rows(QStringLiteral("SELECT pd, ghemats, gs FROM newdomin"));
        QCOMPARE(all, (QList<Row>{{{"pd", ".co.ir"}, {"ghemats", kFiveYears}, {"gs", "90000"}}}));
        QVERIFY(editState(Table::newdomin).saved);
        QCOMPARE(list->Adodc1->recordCount(), 0);
    }

    void customerIsStoredFieldByField()
    {
        const Row typed = {{"nuser", "rezaei88"},           {"name", QStringLiteral("مريم")},
                           {"fname", QStringLiteral("رضايي")}, {"email", "m.rezaei@example.ir"},
                           {"tell", "021-88776655"},        {"mob", "09121234567"}};
        ModalAnswerer fill([&](QWidget* window) {
            auto* customer = qobject_cast<Form5*>(window);
            const QList<std::pair<QLineEdit*, const char*>> boxes = {
                {customer->Text1, "nuser"}, {customer->Text2, "name"}, {customer->Text3, "fname"},
                {customer->Text4, "email"}, {customer->Text5, "tell"}, {customer->Text6, "mob"}};
            for (const auto& [box, field] : boxes)
                typeText(box, typed[QString::fromLatin1(field)]);
            customer->Text8->setPlainText(QStringLiteral("مشتري قديمي\nتخفيف ويژه"));
            customer->Command1->click();
        });
        editState(Table::newmoshtary).setNewRecord();
        forms().showModal<Form5>();
        QVERIFY(fill.done());

        const auto all = rows(QStringLiteral("SELECT * FROM newmoshtary"));
        QCOMPARE(all.size(), 1);
        for (auto it = typed.begin(); it != typed.end(); ++it)
            QCOMPARE(all.first()[it.key()], it.value());
        QVERIFY(all.first()[QStringLiteral("kp")].isNull()); // left empty
        QCOMPARE(all.first()[QStringLiteral("sa")], QStringLiteral("مشتري قديمي\nتخفيف ويژه"));
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
        QTest::newRow("Form4") << int(Domain) << QStringList{"Text1", "Option1", "Option2", "Option3", "Text2", "Command1", "Command2"};
        QTest::newRow("Form5") << int(Customer)
                               << QStringList{"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Command1", "Command2"};
    }

    void tabOrder()
    {
        QFETCH(int, editor);
        QFETCH(QStringList, order);
        QCOMPARE(tabChain(text1(load(editor))), order);
    }
};

QTEST_MAIN(TestCatalogueEditors)
#include "tst_catalogue_editors.moc"
