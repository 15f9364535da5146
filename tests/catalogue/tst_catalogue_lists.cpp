// The catalogue list windows Form6 to Form9 with their editors, and the customer count that a
// customer save sets on the main window; on a real database file in a temporary folder.
#include "app/main_window.h"
#include "catalogue/customer_editor.h"
#include "catalogue/domain_editor.h"
#include "catalogue/list_windows.h"
#include "catalogue/plan_editor.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"
#include "support/fixtures.h"
#include "ui/form_registry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace fixtures;

namespace {
struct Member
{
    QString table;
    QString firstField; // the field the editor's Text1 shows
    Table state;
    int priceColumn; // -1: customers have no price period
};

Member memberOf(int form)
{
    const Member members[] = {{QStringLiteral("winhost"), QStringLiteral("namep"), Table::winhost, 4},
                              {QStringLiteral("linhost"), QStringLiteral("namep"), Table::linhost, 4},
                              {QStringLiteral("newdomin"), QStringLiteral("pd"), Table::newdomin, 2},
                              {QStringLiteral("newmoshtary"), QStringLiteral("nuser"), Table::newmoshtary, -1}};
    return members[form - 6];
}

CatalogueList* loadList(int form)
{
    const std::function<CatalogueList*()> load[] = {[] { return forms().get<Form6>(); }, [] { return forms().get<Form7>(); },
                                                    [] { return forms().get<Form8>(); }, [] { return forms().get<Form9>(); }};
    return load[form - 6]();
}

bool anyEditorLoaded()
{
    return forms().isLoaded<Form2>() || forms().isLoaded<Form3>() || forms().isLoaded<Form4>() ||
           forms().isLoaded<Form5>();
}

void moveTo(CatalogueList* list, int row)
{
    list->DataGrid1->setCurrentIndex(list->DataGrid1->model()->index(row, 1));
}

// Chooses the current row as the Enter key does.
void choose(CatalogueList* list)
{
    QTest::keyClick(list->DataGrid1, Qt::Key_Return);
}

QString cell(CatalogueList* list, int row, int column)
{
    return list->DataGrid1->model()->index(row, column).data().toString();
}

// Rows of the form's table with these first fields, the price period (where there is one)
// taken from `periods` in turn; returns their keys.
QList<qint32> addRows(const Member& m, const QStringList& firsts, const QStringList& periods = {})
{
    QList<qint32> keys;
    for (qsizetype i = 0; i < firsts.size(); ++i) {
        Row values{{m.firstField, firsts[i]}};
        if (m.priceColumn >= 0 && i < periods.size())
            values[QStringLiteral("ghemats")] = periods[i];
        keys << insert(m.table, values);
    }
    return keys;
}

void addTheFormRows()
{
    QTest::addColumn<int>("form");
    for (int form = 6; form <= 9; ++form)
        QTest::addRow("Form%d", form) << form;
}
} // namespace

class TestCatalogueLists : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }
    void gridShowsTheTableInItsColumns_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("deleteCaption");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("headers");
        const QStringList planFields = {"ID", "namep", "mf", "pb", "gs", "sa"};
        const QStringList planHeaders = {QStringLiteral("        شماره ثبت"), QStringLiteral("           نام پنل"),
                                         QStringLiteral("         ميزان فضا"),     QStringLiteral("        پهناي باند"),
                                         QStringLiteral("             قيمت"),     QStringLiteral("      ساير اطلاعات")};
        QTest::newRow("Form6") << 6 << QStringLiteral("      ويرايش پنل ويندوز") << QStringLiteral("حذف پنل") << planFields
                               << planHeaders;
        QTest::newRow("Form7") << 7 << QStringLiteral("      ويرايش پنل لينوکس") << QStringLiteral("حذف پنل") << planFields
                               << planHeaders;
        QTest::newRow("Form8") << 8 << QStringLiteral("      ويرايش دامين ها") << QStringLiteral("حذف دامين ")
                               << QStringList{"ID", "pd", "gs"}
                               << QStringList{QStringLiteral("     شماره ثبت"), QStringLiteral("        پسوند دامنه"),
                                              QStringLiteral("      قيمت ساليانه")};
        QTest::newRow("Form9") << 9 << QStringLiteral("     ويرايش مشتري") << QStringLiteral("حذف مشتري")
                               << QStringList{"ID", "nuser", "name", "fname", "email", "tell", "mob", "kp", "sa"}
                               << QStringList{QStringLiteral("       شماره ثبت"), QStringLiteral("          نام کاربري"),
                                              QStringLiteral("               نام "),  QStringLiteral("       نام خانوادگي"),
                                              QStringLiteral("             ايميل "), QStringLiteral("             تلفن"),
                                              QStringLiteral("            موبايل"),   QStringLiteral("          کد پستي"),
                                              QStringLiteral("      ساير اطلاعات")};
    }

    void gridShowsTheTableInItsColumns()
    {
        QFETCH(int, form);
        QFETCH(QString, caption);
        QFETCH(QString, deleteCaption);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, headers);
        const Member m = memberOf(form);
        Row values;
        for (const QString& field : fields.mid(1))
            values[field] = field + QStringLiteral("-value");
        if (m.priceColumn >= 0)
            values[QStringLiteral("ghemats")] = kOneYear;
        const qint32 key = insert(m.table, values);

        CatalogueList* list = loadList(form);
        QVERIFY(!list->isVisible());
        QCOMPARE(list->windowTitle(), caption);
        QCOMPARE(list->Command1->text(), deleteCaption);
        QCOMPARE(list->Command2->text(), kBack);
        QCOMPARE(list->DataGrid1->columnCount(), fields.size());
        QCOMPARE(list->DataGrid1->model()->rowCount(), 1);
        for (int i = 0; i < fields.size(); ++i) {
            QCOMPARE(list->DataGrid1->columnCaption(i), headers[i]);
            QCOMPARE(cell(list, 0, i), i == 0 ? QString::number(key) : values[fields[i]]);
        }
        // The price period is no column of its own; the hidden carrier box holds it.
        QCOMPARE(list->Text1 != nullptr, m.priceColumn >= 0);
        if (list->Text1)
            QCOMPARE(list->Text1->text(), kOneYear);
    }

    // Row choice opens the editor on the current row. A save re-reads the list and finds the
    // row again; a cancel leaves the list as it was read.
    void rowChoice_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<bool>("save");
        QTest::newRow("Form6, save") << 6 << true;
        QTest::newRow("Form6, cancel") << 6 << false;
        QTest::newRow("Form8, save") << 8 << true;
        QTest::newRow("Form9, save") << 9 << true;
    }

    void rowChoice()
    {
        QFETCH(int, form);
        QFETCH(bool, save);
        const Member m = memberOf(form);
        const qint32 key = addRows(m, {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")},
                                   {kOneYear, kTwoYears})[1];
        CatalogueList* list = loadList(form);
        moveTo(list, 1);
        insert(m.table, {{m.firstField, QStringLiteral("fourth")}});

        QString shown;
        ModalAnswerer edit([&](QWidget* editor) {
            auto* text1 = editor->findChild<QLineEdit*>(QStringLiteral("Text1"));
            shown = text1->text();
            text1->setText(QStringLiteral("edited"));
            clickButton(editor, save ? QStringLiteral("Command1") : QStringLiteral("Command2"));
        });
        choose(list);
        QVERIFY(edit.done());

        QCOMPARE(shown, QStringLiteral("second"));
        QCOMPARE(row(m.table, key)[m.firstField], save ? QStringLiteral("edited") : QStringLiteral("second"));
        const EditState& state = editState(m.state);
        QCOMPARE(state.saved, save);
        QCOMPARE(state.editing, save); // a cancel clears it, a save leaves it on
        QVERIFY(!anyEditorLoaded());
        QCOMPARE(list->Adodc1->recordCount(), save ? 4 : 3);
        QCOMPARE(list->Adodc1->currentRow(), 1);
        if (!save)
            return;
        QCOMPARE(list->Adodc1->currentKey(), key);
        QCOMPARE(list->DataGrid1->currentIndex().row(), 1);
        QCOMPARE(cell(list, 1, 1), QStringLiteral("edited"));
        if (form == 6 || form == 7)
            QCOMPARE(list->DataGrid1->columnCaption(m.priceColumn), kTwoYears);
    }

    void rowChoiceOnAnEmptyListOpensNothing_data() { addTheFormRows(); }

    void rowChoiceOnAnEmptyListOpensNothing()
    {
        QFETCH(int, form);
        const Member m = memberOf(form);
        CatalogueList* list = loadList(form);
        const QString designCaption = m.priceColumn >= 0 ? list->DataGrid1->columnCaption(m.priceColumn) : QString();
        EditState& state = editState(m.state);
        state = EditState{77, false, true};

        QVERIFY(showsNothing([&] { choose(list); }));
        QVERIFY(!anyEditorLoaded());
        QCOMPARE(state.recordKey, 77);
        QVERIFY(!state.editing);
        QVERIFY(state.saved);
        if (form == 6 || form == 7)
            QCOMPARE(list->DataGrid1->columnCaption(m.priceColumn), QString()); // re-titled from an empty carrier
        else if (form == 8)
            QCOMPARE(list->DataGrid1->columnCaption(m.priceColumn), designCaption);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        QTest::newRow("Form6, no") << 6 << false << QStringLiteral("آيا ميخواهيد پنل انتخابي حذف شود") << QStringLiteral("حذف پنل ها");
        QTest::newRow("Form7, yes") << 7 << true << QStringLiteral("آيا ميخواهيد پنل انتخابي حذف شود") << QStringLiteral("حذف پنل ها");
        QTest::newRow("Form8, yes") << 8 << true << QStringLiteral(" آيا شما ميخواهيد دامين مورد نظر راحذف کنيد ") << QStringLiteral("حذف دامين ها");
        QTest::newRow("Form9, yes") << 9 << true << QStringLiteral(" آيا شما ميخواهيد مشتري مورد نظر راحذف کنيد ") << QStringLiteral("حذف مشتري ");
    }

    void deleteAsksFirst()
    {
        QFETCH(int, form);
        QFETCH(bool, yes);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        const Member m = memberOf(form);
        const QList<qint32> keys = addRows(m, {QStringLiteral("first"), QStringLiteral("second")});
        CatalogueList* list = loadList(form);
        moveTo(list, 1);
        {
            ModalAnswerer answer(yes ? kYes : kNo);
            list->Command1->click();
            QCOMPARE(answer.seen().text, prompt);
            QCOMPARE(answer.seen().title, title);
        }
        QCOMPARE(row(m.table, keys[0])[m.firstField], QStringLiteral("first"));
        QCOMPARE(row(m.table, keys[1]).isEmpty(), yes);
        QCOMPARE(list->Adodc1->recordCount(), yes ? 1 : 2);
        QCOMPARE(list->DataGrid1->model()->rowCount(), yes ? 1 : 2);
    }

    void deletingTheLastRowThenDeletingAgain_data() { addTheFormRows(); }

    void deletingTheLastRowThenDeletingAgain()
    {
        QFETCH(int, form);
        const Member m = memberOf(form);
        addRows(m, {QStringLiteral("only")});
        CatalogueList* list = loadList(form);
        {
            ModalAnswerer answer(kYes);
            list->Command1->click();
        }
        QCOMPARE(count(m.table), 0);
        QCOMPARE(list->DataGrid1->model()->rowCount(), 0);

        // Confirmed on the empty list: nothing is deleted and nothing further is shown.
        std::unique_ptr<ModalWatch> afterwards;
        ModalAnswerer answer([&](QWidget* box) {
            clickButton(box, kYes);
            afterwards = std::make_unique<ModalWatch>();
        });
        list->Command1->click();
        QTest::qWait(50);
        QVERIFY(answer.done());
        QVERIFY(afterwards && afterwards->titles().isEmpty());
        QCOMPARE(list->Adodc1->recordCount(), 0);
    }

    void priceColumnFollowsTheCurrentRow_data()
    {
        QTest::addColumn<int>("form");
        QTest::newRow("Form6") << 6;
        QTest::newRow("Form8") << 8;
    }

    void priceColumnFollowsTheCurrentRow()
    {
        QFETCH(int, form);
        const Member m = memberOf(form);
        addRows(m, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, {kOneYear, kTwoYears});
        CatalogueList* list = loadList(form);
        const QString firstCaption = list->DataGrid1->columnCaption(1);

        QTest::keyClick(list->DataGrid1, Qt::Key_Down);
        QCOMPARE(list->DataGrid1->columnCaption(m.priceColumn), kTwoYears);
        QTest::keyClick(list->DataGrid1, Qt::Key_Down);
        QCOMPARE(list->DataGrid1->columnCaption(m.priceColumn), QString());
        QTest::keyClick(list->DataGrid1, Qt::Key_Up);
        QTest::keyClick(list->DataGrid1, Qt::Key_Up);
        QCOMPARE(list->DataGrid1->columnCaption(m.priceColumn), kOneYear);
        QCOMPARE(list->DataGrid1->columnCaption(1), firstCaption);
    }

    void unreadableTable_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<bool>("told");
        QTest::newRow("Form6 ignores it") << 6 << false;
        QTest::newRow("Form9 tells it") << 9 << true;
    }

    void unreadableTable()
    {
        QFETCH(int, form);
        QFETCH(bool, told);
        const Member m = memberOf(form);
        QVERIFY(exec(QStringLiteral("DROP TABLE ") + m.table));
        ModalWatch watch;
        CatalogueList* list = loadList(form);
        QTest::qWait(50);
        QCOMPARE(watch.titles(), told ? QStringList{QStringLiteral("بانک اطلاعات")} : QStringList());
        QCOMPARE(list->Adodc1->recordCount(), 0);
        QCOMPARE(list->DataGrid1->model()->rowCount(), 0);
    }

    void customerCountAfterASave()
    {
        const Member m = memberOf(9);
        addRows(m, {QStringLiteral("ali"), QStringLiteral("sara")});
        Form1* mainWindow = forms().get<Form1>();
        Form9* list = forms().get<Form9>();

        // From the menu: the list's record set was not read again, so the count stays at 2.
        mainWindow->Label2->setText(QStringLiteral("unset"));
        {
            ModalAnswerer fill([](QWidget* editor) {
                auto* customer = qobject_cast<Form5*>(editor);
                customer->Text1->setText(QStringLiteral("reza"));
                customer->Command1->click();
            });
            editState(Table::newmoshtary).setNewRecord();
            forms().showModal<Form5>();
        }
        QCOMPARE(count(m.table), 3);
        QCOMPARE(mainWindow->Label2->text(), QStringLiteral("2"));

        // From the list: the count is set before the list reads its rows again, so the next
        // save counts what the re-read brought in; a cancel leaves the count alone.
        const QList<std::pair<const char*, const char*>> steps = {{"Command1", "2"}, {"Command1", "3"}, {"Command2", "unset"}};
        for (const auto& [button, shown] : steps) {
            mainWindow->Label2->setText(QStringLiteral("unset"));
            ModalAnswerer answer(QString::fromLatin1(button));
            choose(list);
            QVERIFY(answer.done());
            QCOMPARE(mainWindow->Label2->text(), QString::fromLatin1(shown));
        }
    }
};

QTEST_MAIN(TestCatalogueLists)
#include "tst_catalogue_lists.moc"
