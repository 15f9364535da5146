// The catalogue: plan, domain extension and customer editors (Form2-Form5) and their list
// windows (Form6-Form9), driven through their windows on a real database file.
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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace fixtures;

namespace {
// One table of the catalogue: its editor Form2+k and its list Form6+k.
struct Kind
{
    QString table;
    QString first; // the field the editor's Text1 shows
    Table state;
    int priceColumn; // in the list; -1: customers have no price period
};

const Kind& kind(int k)
{
    static const Kind kinds[] = {{QStringLiteral("winhost"), QStringLiteral("namep"), Table::winhost, 4},
                                 {QStringLiteral("linhost"), QStringLiteral("namep"), Table::linhost, 4},
                                 {QStringLiteral("newdomin"), QStringLiteral("pd"), Table::newdomin, 2},
                                 {QStringLiteral("newmoshtary"), QStringLiteral("nuser"), Table::newmoshtary, -1}};
    return kinds[k];
}

CatalogueEditor* loadEditor(int k)
{
    const std::function<CatalogueEditor*()> load[] = {[] { return forms().get<Form2>(); }, [] { return forms().get<Form3>(); },
                                                      [] { return forms().get<Form4>(); }, [] { return forms().get<Form5>(); }};
    return load[k]();
}

CatalogueList* loadList(int k)
{
    const std::function<CatalogueList*()> load[] = {[] { return forms().get<Form6>(); }, [] { return forms().get<Form7>(); },
                                                    [] { return forms().get<Form8>(); }, [] { return forms().get<Form9>(); }};
    return load[k]();
}

bool editorLoaded(int k)
{
    const bool loaded[] = {forms().isLoaded<Form2>(), forms().isLoaded<Form3>(), forms().isLoaded<Form4>(),
                           forms().isLoaded<Form5>()};
    return loaded[k];
}

bool anyEditorLoaded()
{
    return editorLoaded(0) || editorLoaded(1) || editorLoaded(2) || editorLoaded(3);
}

QLineEdit* text1(QWidget* window)
{
    return window->findChild<QLineEdit*>(QStringLiteral("Text1"));
}

QRadioButton* optionOf(QWidget* window, int i)
{
    return window->findChild<QRadioButton*>(QStringLiteral("Option%1").arg(i));
}

// Types "control=value" pairs into the window's boxes; the notes box takes its lines at once.
void fill(QWidget* window, const QStringList& typed)
{
    for (const QString& pair : typed) {
        QWidget* box = window->findChild<QWidget*>(pair.section(u'=', 0, 0));
        if (auto* notes = qobject_cast<QPlainTextEdit*>(box))
            notes->setPlainText(pair.section(u'=', 1));
        else
            typeText(box, pair.section(u'=', 1));
    }
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

// Rows of the kind's table with these first fields, the price period taken from `periods` in
// turn; returns their keys.
QList<qint32> addRows(int k, const QStringList& firsts, const QStringList& periods = {})
{
    QList<qint32> keys;
    for (qsizetype i = 0; i < firsts.size(); ++i) {
        Row values{{kind(k).first, firsts[i]}};
        if (kind(k).priceColumn >= 0 && i < periods.size())
            values[QStringLiteral("ghemats")] = periods[i];
        keys << insert(kind(k).table, values);
    }
    return keys;
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

void addKindRows(int from, int to)
{
    QTest::addColumn<int>("k");
    for (int k = from; k <= to; ++k)
        QTest::addRow("Form%d", k + 6) << k;
}
} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }

    // A new record from the menu: empty window, no period on, stored as typed; only the plan
    // editors re-read their list.
    void newRecordFromTheMenu_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("option");
        QTest::addColumn<Row>("stored");
        const QString notes = QStringLiteral("کنترل پنل\nپشتيبان گيري روزانه");
        const QStringList plan = {QStringLiteral("Text1=پنل نقره اي"), "Text2=500", "Text3=10000", "Text5=250000",
                                  "Text6=" + notes};
        const Row planRow = {{"namep", QStringLiteral("پنل نقره اي")}, {"mf", "500"}, {"pb", "10000"}, {"gs", "250000"},
                             {"sa", notes}, {"ghemats", QString()}};
        Row linuxRow = planRow;
        linuxRow["ghemats"] = kFiveYears;
        QTest::newRow("Form2, no period") << 0 << plan << 0 << planRow;
        QTest::newRow("Form3, five years") << 1 << plan << 3 << linuxRow;
        QTest::newRow("Form4, dot kept") << 2 << QStringList{"Text1=.co.ir", "Text2=90000"} << 3
                                         << Row{{"pd", ".co.ir"}, {"ghemats", kFiveYears}, {"gs", "90000"}};
        QTest::newRow("Form5") << 3
                               << QStringList{"Text1=rezaei88", QStringLiteral("Text2=مريم"), QStringLiteral("Text3=رضايي"),
                                              "Text4=m.rezaei@example.ir", "Text5=021-88776655", "Text6=09121234567",
                                              "Text8=" + notes}
                               << 0
                               << Row{{"nuser", "rezaei88"}, {"name", QStringLiteral("مريم")}, {"fname", QStringLiteral("رضايي")},
                                      {"email", "m.rezaei@example.ir"}, {"tell", "021-88776655"}, {"mob", "09121234567"},
                                      {"kp", QString()}, {"sa", notes}};
    }

    void newRecordFromTheMenu()
    {
        QFETCH(int, k);
        QFETCH(QStringList, typed);
        QFETCH(int, option);
        QFETCH(Row, stored);
        QStringList atOpening;
        ModalAnswerer answer([&](QWidget* window) {
            auto* editor = qobject_cast<CatalogueEditor*>(window);
            atOpening << editor->Label8->text() << text1(editor)->text();
            for (int i = 1; k < 3 && i <= 3; ++i)
                atOpening << (optionOf(editor, i)->isChecked() ? QStringLiteral("on") : QString());
            fill(editor, typed);
            if (option)
                optionOf(editor, option)->click();
            editor->Command1->click();
        });
        editState(kind(k).state).setNewRecord();
        loadEditor(k)->showModal();
        QVERIFY(answer.done());
        QCOMPARE(atOpening, QStringList(k < 3 ? 5 : 2, QString()));

        const auto all = rows(QStringLiteral("SELECT * FROM ") + kind(k).table);
        QCOMPARE(all.size(), 1);
        for (auto it = stored.begin(); it != stored.end(); ++it) {
            QCOMPARE(all.first()[it.key()], it.value());
            QCOMPARE(all.first()[it.key()].isNull(), it.value().isNull());
        }
        QVERIFY(editState(kind(k).state).saved);
        QVERIFY(!editState(kind(k).state).editing);
        QVERIFY(!editorLoaded(k));
        // The plan editors re-read their own list (loading it hidden); the others reach no list.
        const bool listLoaded[] = {forms().isLoaded<Form6>(), forms().isLoaded<Form7>(), forms().isLoaded<Form8>(),
                                   forms().isLoaded<Form9>()};
        for (int other = 0; other < 4; ++other)
            QCOMPARE(listLoaded[other], other == k && k < 2);
        if (k < 2)
            QCOMPARE(loadList(k)->Adodc1->recordCount(), 1);
    }

    void editingRecognisesTheStoredPeriod_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("period");
        QTest::addColumn<int>("optionOn");
        QTest::addColumn<int>("choose");
        QTest::addColumn<QString>("stored");
        QString noColon = kTwoYears;
        noColon.chop(1);
        QString otherKaf = kOneYear;
        otherKaf.replace(QChar(0x06A9), QChar(0x0643));
        const QString unknown = QStringLiteral("قيمت ده ساله :");
        QTest::newRow("windows, two years then five") << 0 << kTwoYears << 2 << 3 << kFiveYears;
        QTest::newRow("linux, five years kept") << 1 << kFiveYears << 3 << 0 << kFiveYears;
        QTest::newRow("without the colon, kept") << 0 << noColon << 0 << 0 << noColon;
        QTest::newRow("other letter form, kept") << 1 << otherKaf << 0 << 0 << otherKaf;
        QTest::newRow("unknown, then two years") << 0 << unknown << 0 << 2 << kTwoYears;
        QTest::newRow("empty, then one year") << 0 << QString() << 0 << 1 << kOneYear;
        QTest::newRow("domain, one year then two") << 2 << kOneYear << 1 << 2 << kTwoYears;
        QTest::newRow("domain, unknown kept") << 2 << unknown << 0 << 0 << unknown;
    }

    void editingRecognisesTheStoredPeriod()
    {
        QFETCH(int, k);
        QFETCH(QString, period);
        QFETCH(int, optionOn);
        QFETCH(int, choose);
        QFETCH(QString, stored);
        const QString& table = kind(k).table;
        insert(table, {{kind(k).first, QStringLiteral("اول")}, {QStringLiteral("gs"), QStringLiteral("1000")}});
        const qint32 key = insert(table, {{kind(k).first, QStringLiteral("net")}, {QStringLiteral("ghemats"), period},
                                          {QStringLiteral("gs"), QStringLiteral("45000")}});
        EditState& state = editState(kind(k).state);
        state = EditState{key, true, false};
        CatalogueEditor* window = loadEditor(k);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(optionOf(window, i)->isChecked(), i == optionOn);
        const auto* periodLabel = window->findChild<QLabel*>(k == 2 ? QStringLiteral("Label4") : QStringLiteral("Label9"));
        QCOMPARE(periodLabel->text(), period.isNull() ? QString() : period);
        QCOMPARE(window->Label8->text(), QString::number(key));
        QCOMPARE(text1(window)->text(), QStringLiteral("net"));

        if (choose)
            optionOf(window, choose)->click();
        window->Command1->click();
        QCOMPARE(row(table, key)[QStringLiteral("ghemats")], stored);
        QCOMPARE(row(table, key)[QStringLiteral("gs")], QStringLiteral("45000"));
        QCOMPARE(count(table), 2);
        QVERIFY(state.saved);
        QVERIFY(state.editing); // a save leaves the editing flag on
        QVERIFY(!editorLoaded(k));
    }

    void cancelStoresNothing_data() { addKindRows(0, 3); }

    void cancelStoresNothing()
    {
        QFETCH(int, k);
        const qint32 key = insert(kind(k).table, {{kind(k).first, QStringLiteral("before")}});
        EditState& state = editState(kind(k).state);
        state = EditState{key, true, true};
        CatalogueEditor* window = loadEditor(k);
        QCOMPARE(text1(window)->text(), QStringLiteral("before"));
        text1(window)->setText(QStringLiteral("after"));
        window->Command2->click();

        QCOMPARE(row(kind(k).table, key)[kind(k).first], QStringLiteral("before"));
        QVERIFY(!state.editing);
        QVERIFY(state.saved); // left as it was
        QVERIFY(!editorLoaded(k));
        QVERIFY(!forms().isLoaded<Form6>() && !forms().isLoaded<Form7>());

        // Opened again without setting the edit state, the editor adds a new record.
        CatalogueEditor* again = loadEditor(k);
        QVERIFY(text1(again)->text().isEmpty());
        text1(again)->setText(QStringLiteral("second"));
        again->Command1->click();
        QCOMPARE(count(kind(k).table), 2);
    }

    // A save the database refuses (or of a record that is not there, or was deleted meanwhile by
    // another program) is told, keeps the window with what was typed, and is not reported as
    // saved; a second save is not offered for a deleted record, and does not store it either.
    void refusedSaveKeepsTheWindowAndItsValues_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("refusal"); // "insert", "update", "gone" or "deleted"
        QTest::newRow("Form2, new") << 0 << "insert";
        QTest::newRow("Form3, edit") << 1 << "update";
        QTest::newRow("Form4, new") << 2 << "insert";
        QTest::newRow("Form5, record gone") << 3 << "gone";
        QTest::newRow("Form2, deleted meanwhile") << 0 << "deleted";
    }

    void refusedSaveKeepsTheWindowAndItsValues()
    {
        QFETCH(int, k);
        QFETCH(QString, refusal);
        const QString& table = kind(k).table;
        const qint32 key = insert(table, {{kind(k).first, QStringLiteral("stored")}});
        const QString reason = QStringLiteral("disk quota reached");
        const bool deleted = refusal == QLatin1String("deleted");
        if (refusal != QLatin1String("gone") && !deleted)
            QVERIFY(exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, '%3'); END")
                             .arg(refusal, table, reason)));
        EditState& state = editState(kind(k).state);
        if (refusal == QLatin1String("insert"))
            state.setNewRecord();
        else
            state = EditState{refusal == QLatin1String("gone") ? key + 100 : key, true, false};

        CatalogueEditor* window = loadEditor(k);
        text1(window)->setText(QStringLiteral("typed"));
        if (deleted)
            QVERIFY(exec(QStringLiteral("DELETE FROM %1").arg(table)));
        for (int save = 0; save < (deleted ? 2 : 1); ++save) {
            ModalAnswerer ok(kOk);
            window->Command1->click();
            QCOMPARE(ok.seen().title, QStringLiteral("خطا در ثبت اطلاعات"));
            if (deleted)
                QVERIFY2(ok.seen().text.contains(QStringLiteral("پاک کرده است؛")), qPrintable(ok.seen().text));
            else if (refusal != QLatin1String("gone"))
                QVERIFY(ok.seen().text.contains(reason));
        }
        QVERIFY(editorLoaded(k));
        QCOMPARE(text1(window)->text(), QStringLiteral("typed"));
        QVERIFY(!state.saved);
        QCOMPARE(count(table), deleted ? 0 : 1);
        QCOMPARE(row(table, key)[kind(k).first], deleted ? QString() : QStringLiteral("stored"));
        QVERIFY(!forms().isLoaded<Form6>() && !forms().isLoaded<Form7>());
        if (refusal == QLatin1String("gone") || deleted)
            return;

        // Once the database takes it, the same window stores what was kept.
        QVERIFY(exec(QStringLiteral("DROP TRIGGER refuse")));
        window->Command1->click();
        QVERIFY(state.saved);
        QVERIFY(!editorLoaded(k));
        QCOMPARE(count(table), refusal == QLatin1String("update") ? 1 : 2);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM %1 WHERE %2='typed'").arg(table, kind(k).first)).size(), 1);
    }

    // The restore re-reads every window's query; a new record still has its row to store into.
    void newRecordSurvivesAReRead()
    {
        editState(Table::newdomin).setNewRecord();
        CatalogueEditor* window = loadEditor(2);
        QVERIFY(window->Adodc1->refresh());
        text1(window)->setText(QStringLiteral("after-restore"));
        ModalWatch refusal(window);
        window->Command1->click();
        QVERIFY(refusal.titles().isEmpty());
        QCOMPARE(rows(QStringLiteral("SELECT pd FROM newdomin")), (QList<Row>{{{"pd", "after-restore"}}}));
    }

    void tabOrder_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("Form2") << 0
                               << QStringList{"Text1", "Text2", "Text3", "Option1", "Option2",
                                              "Option3", "Text5", "Text6", "Command1", "Command2"};
        QTest::newRow("Form4") << 2 << QStringList{"Text1", "Option1", "Option2", "Option3", "Text2", "Command1", "Command2"};
        QTest::newRow("Form5") << 3
                               << QStringList{"Text1", "Text2", "Text3", "Text4", "Text5",
                                              "Text6", "Text7", "Text8", "Command1", "Command2"};
    }

    void tabOrder()
    {
        QFETCH(int, k);
        QFETCH(QStringList, order);
        QCOMPARE(tabChain(text1(loadEditor(k))), order);
    }

    void listShowsItsTable_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("deleteCaption");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("headers");
        const QStringList planFields = {"ID", "namep", "mf", "pb", "gs", "sa"};
        const QStringList planHeaders = {QStringLiteral("        شماره ثبت"), QStringLiteral("           نام پنل"),
                                         QStringLiteral("         ميزان فضا"), QStringLiteral("        پهناي باند"),
                                         QStringLiteral("             قيمت"), QStringLiteral("      ساير اطلاعات")};
        QTest::newRow("Form6") << 0 << QStringLiteral("      ويرايش پنل ويندوز") << QStringLiteral("حذف پنل") << planFields
                               << planHeaders;
        QTest::newRow("Form7") << 1 << QStringLiteral("      ويرايش پنل لينوکس") << QStringLiteral("حذف پنل") << planFields
                               << planHeaders;
        QTest::newRow("Form8") << 2 << QStringLiteral("      ويرايش دامين ها") << QStringLiteral("حذف دامين ")
                               << QStringList{"ID", "pd", "gs"}
                               << QStringList{QStringLiteral("     شماره ثبت"), QStringLiteral("        پسوند دامنه"),
                                              QStringLiteral("      قيمت ساليانه")};
        QTest::newRow("Form9") << 3 << QStringLiteral("     ويرايش مشتري") << QStringLiteral("حذف مشتري")
                               << QStringList{"ID", "nuser", "name", "fname", "email", "tell", "mob", "kp", "sa"}
                               << QStringList{QStringLiteral("       شماره ثبت"), QStringLiteral("          نام کاربري"),
                                              QStringLiteral("               نام "), QStringLiteral("       نام خانوادگي"),
                                              QStringLiteral("             ايميل "), QStringLiteral("             تلفن"),
                                              QStringLiteral("            موبايل"), QStringLiteral("          کد پستي"),
                                              QStringLiteral("      ساير اطلاعات")};
    }

    void listShowsItsTable()
    {
        QFETCH(int, k);
        QFETCH(QString, caption);
        QFETCH(QString, deleteCaption);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, headers);
        Row values;
        for (const QString& field : fields.mid(1))
            values[field] = field + QStringLiteral("-value");
        if (kind(k).priceColumn >= 0)
            values[QStringLiteral("ghemats")] = kOneYear;
        const qint32 key = insert(kind(k).table, values);

        CatalogueList* list = loadList(k);
        QVERIFY(!list->isVisible());
        QCOMPARE(list->windowTitle(), caption);
        QCOMPARE((QStringList{list->Command1->text(), list->Command2->text()}), (QStringList{deleteCaption, kBack}));
        QCOMPARE(list->DataGrid1->columnCount(), fields.size());
        QCOMPARE(list->DataGrid1->model()->rowCount(), 1);
        for (int i = 0; i < fields.size(); ++i) {
            QCOMPARE(list->DataGrid1->columnCaption(i), headers[i]);
            QCOMPARE(list->DataGrid1->model()->index(0, i).data().toString(),
                     i == 0 ? QString::number(key) : values[fields[i]]);
        }
        // The price period is no column of its own; the hidden carrier box holds it.
        QCOMPARE(list->Text1 ? list->Text1->text() : QString(), kind(k).priceColumn >= 0 ? kOneYear : QString());
    }

    // Row choice opens the editor on the current row. A save re-reads the list and finds the
    // row again; a cancel leaves the list as it was read.
    void rowChoice_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("save");
        QTest::newRow("Form6, save") << 0 << true;
        QTest::newRow("Form6, cancel") << 0 << false;
        QTest::newRow("Form8, save") << 2 << true;
        QTest::newRow("Form9, save") << 3 << true;
    }

    void rowChoice()
    {
        QFETCH(int, k);
        QFETCH(bool, save);
        const qint32 key = addRows(k, {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")},
                                   {kOneYear, kTwoYears})[1];
        CatalogueList* list = loadList(k);
        moveTo(list, 1);
        insert(kind(k).table, {{kind(k).first, QStringLiteral("fourth")}});

        QString shown;
        ModalAnswerer edit([&](QWidget* editor) {
            shown = text1(editor)->text();
            text1(editor)->setText(QStringLiteral("edited"));
            clickButton(editor, save ? QStringLiteral("Command1") : QStringLiteral("Command2"));
        });
        choose(list);
        QVERIFY(edit.done());

        QCOMPARE(shown, QStringLiteral("second"));
        QCOMPARE(row(kind(k).table, key)[kind(k).first], save ? QStringLiteral("edited") : QStringLiteral("second"));
        const EditState& state = editState(kind(k).state);
        QCOMPARE(state.saved, save);
        QCOMPARE(state.editing, save); // a cancel clears it, a save leaves it on
        QVERIFY(!anyEditorLoaded());
        QCOMPARE(list->Adodc1->recordCount(), save ? 4 : 3);
        QCOMPARE(list->Adodc1->currentRow(), 1);
        if (!save)
            return;
        QCOMPARE(list->Adodc1->currentKey(), key);
        QCOMPARE(list->DataGrid1->currentIndex().row(), 1);
        QCOMPARE(list->DataGrid1->model()->index(1, 1).data().toString(), QStringLiteral("edited"));
        if (k < 2)
            QCOMPARE(list->DataGrid1->columnCaption(kind(k).priceColumn), kTwoYears);
    }

    void rowChoiceOnAnEmptyListOpensNothing_data() { addKindRows(0, 3); }

    void rowChoiceOnAnEmptyListOpensNothing()
    {
        QFETCH(int, k);
        CatalogueList* list = loadList(k);
        const int price = kind(k).priceColumn;
        const QString designCaption = price >= 0 ? list->DataGrid1->columnCaption(price) : QString();
        EditState& state = editState(kind(k).state);
        state = EditState{77, false, true};

        QVERIFY(showsNothing([&] { choose(list); }));
        QVERIFY(!anyEditorLoaded());
        QCOMPARE(state.recordKey, 77);
        QVERIFY(!state.editing);
        QVERIFY(state.saved);
        // The plan lists re-title from the empty carrier; the domain list keeps its design caption.
        if (price >= 0)
            QCOMPARE(list->DataGrid1->columnCaption(price), k < 2 ? QString() : designCaption);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        const QString plan = QStringLiteral("آيا ميخواهيد پنل انتخابي حذف شود");
        QTest::newRow("Form6, no") << 0 << false << plan << QStringLiteral("حذف پنل ها");
        QTest::newRow("Form7, yes") << 1 << true << plan << QStringLiteral("حذف پنل ها");
        QTest::newRow("Form8, yes") << 2 << true << QStringLiteral(" آيا شما ميخواهيد دامين مورد نظر راحذف کنيد ")
                                    << QStringLiteral("حذف دامين ها");
        QTest::newRow("Form9, yes") << 3 << true << QStringLiteral(" آيا شما ميخواهيد مشتري مورد نظر راحذف کنيد ")
                                    << QStringLiteral("حذف مشتري ");
    }

    void deleteAsksFirst()
    {
        QFETCH(int, k);
        QFETCH(bool, yes);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        const QList<qint32> keys = addRows(k, {QStringLiteral("first"), QStringLiteral("second")});
        CatalogueList* list = loadList(k);
        moveTo(list, 1);
        {
            ModalAnswerer answer(yes ? kYes : kNo);
            list->Command1->click();
            QCOMPARE(answer.seen().text, prompt);
            QCOMPARE(answer.seen().title, title);
        }
        QCOMPARE(row(kind(k).table, keys[0])[kind(k).first], QStringLiteral("first"));
        QCOMPARE(row(kind(k).table, keys[1]).isEmpty(), yes);
        QCOMPARE(list->DataGrid1->model()->rowCount(), yes ? 1 : 2);
    }

    // Deleting the last row empties the grid; confirmed again on the empty list, nothing is
    // deleted and nothing further is shown.
    void deletingTheLastRowThenDeletingAgain_data() { addKindRows(2, 3); }

    void deletingTheLastRowThenDeletingAgain()
    {
        QFETCH(int, k);
        addRows(k, {QStringLiteral("only")});
        CatalogueList* list = loadList(k);
        {
            ModalAnswerer answer(kYes);
            list->Command1->click();
        }
        QCOMPARE(count(kind(k).table), 0);
        QCOMPARE(list->DataGrid1->model()->rowCount(), 0);

        std::unique_ptr<ModalWatch> afterwards;
        ModalAnswerer answer([&](QWidget* box) {
            clickButton(box, kYes);
            afterwards = std::make_unique<ModalWatch>();
        });
        list->Command1->click();
        QTest::qWait(50);
        QVERIFY(answer.done());
        QVERIFY(afterwards && afterwards->titles().isEmpty());
    }

    void priceColumnFollowsTheCurrentRow_data()
    {
        QTest::addColumn<int>("k");
        QTest::newRow("Form6") << 0;
        QTest::newRow("Form8") << 2;
    }

    void priceColumnFollowsTheCurrentRow()
    {
        QFETCH(int, k);
        addRows(k, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, {kOneYear, kTwoYears});
        CatalogueList* list = loadList(k);
        const QString firstCaption = list->DataGrid1->columnCaption(1);
        QStringList captions;
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up}) {
            QTest::keyClick(list->DataGrid1, key);
            captions << list->DataGrid1->columnCaption(kind(k).priceColumn);
        }
        QCOMPARE(captions, (QStringList{kTwoYears, QString(), kTwoYears, kOneYear}));
        QCOMPARE(list->DataGrid1->columnCaption(1), firstCaption);
    }

    void unreadableTable_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("told");
        QTest::newRow("Form6 ignores it") << 0 << false;
        QTest::newRow("Form9 tells it") << 3 << true;
    }

    void unreadableTable()
    {
        QFETCH(int, k);
        QFETCH(bool, told);
        QVERIFY(exec(QStringLiteral("DROP TABLE ") + kind(k).table));
        ModalWatch watch;
        CatalogueList* list = loadList(k);
        QTest::qWait(50);
        QCOMPARE(watch.titles(), told ? QStringList{QStringLiteral("بانک اطلاعات")} : QStringList());
        QCOMPARE(list->DataGrid1->model()->rowCount(), 0);
    }

    void customerCountAfterASave()
    {
        addRows(3, {QStringLiteral("ali"), QStringLiteral("sara")});
        Form1* mainWindow = forms().get<Form1>();
        Form9* list = forms().get<Form9>();

        // From the menu: the list's record set was not read again, so the count stays at 2.
        mainWindow->Label2->setText(QStringLiteral("unset"));
        {
            ModalAnswerer fill([](QWidget* editor) {
                text1(editor)->setText(QStringLiteral("reza"));
                clickButton(editor, QStringLiteral("Command1"));
            });
            editState(Table::newmoshtary).setNewRecord();
            forms().showModal<Form5>();
        }
        QCOMPARE(count(kind(3).table), 3);
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

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
