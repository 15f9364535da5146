// The record store behind every window: db.mdb created and guarded, the windowed data source
// (pages, bounded cache, snapshot, find, add and delete), saves that never overwrite someone
// else's change, the record grid over it, and the settings store. Also where the program folder
// is, the search keys of the lists and the CSV files they write.
#include "catalogue/plan_editor.h"
#include "storage/csv_file.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/edit_state.h"
#include "storage/program_folder.h"
#include "storage/record_store.h"
#include "storage/record_grid.h"
#include "storage/search_text.h"
#include "storage/settings_store.h"
#include "support/fixtures.h"
#include "ui/form_registry.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <unistd.h>

using namespace fixtures;

namespace {
// A statement through a second connection to db.mdb, as another program would run it.
bool elsewhere(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// n plans named "plan<i>" priced i*10, i from 1, added in one statement.
void seedPlans(int n)
{
    QVERIFY(exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) "
                                "INSERT INTO winhost (namep, gs) SELECT 'plan'||i, i*10 FROM n").arg(n)));
}

QString namep(const DataSource& source, int row)
{
    return source.value(row, source.columnIndex(QStringLiteral("namep")));
}

QByteArray bytesOf(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("missing");
}

// A fresh folder tree for choosing the program folder, none chosen yet: a build folder, or an
// installed program's bin/ and share/corvanta, and a user's data folder.
struct FolderTree
{
    QTemporaryDir root;

    FolderTree() { setProgramFolder(QString()); }
    ~FolderTree()
    {
        setProgramFolder(QString());
        QFile::setPermissions(path("build"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString path(const QString& name) const { return root.filePath(name); }
};

void put(const QString& file, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

// Splits CSV text as a spreadsheet reads it: quoted fields may hold commas, quotes and line ends.
QList<QStringList> readCsv(const QString& text)
{
    QList<QStringList> rows{{}};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            rows.last() << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            rows.last() << field;
            field.clear();
            rows.append(QStringList());
            ++i;
        } else {
            field += c;
        }
    }
    rows.removeLast(); // after the last CRLF
    return rows;
}
} // namespace

class TestStorage : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup()
    {
        forms().unloadAll();
        m_program.reset();
    }

    void addNewThenUpdateStoresBoundValuesAndGivesAKey()
    {
        auto editor = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=0"));
        QLabel key;
        QLineEdit name, price;
        editor->bind(&key, QStringLiteral("ID"));
        editor->bind(&name, QStringLiteral("namep"));
        editor->bind(&price, QStringLiteral("gs"));
        QVERIFY(editor->addNew());
        QVERIFY(key.text().isEmpty());
        name.setText(QStringLiteral("پنل طلايي\nدو خط"));
        QVERIFY2(editor->update(), qPrintable(editor->lastError()));
        QCOMPARE(key.text(), QString::number(editor->currentKey()));
        const Row stored = row(QStringLiteral("winhost"), editor->currentKey());
        QCOMPARE(stored[QStringLiteral("namep")], QStringLiteral("پنل طلايي\nدو خط"));
        QVERIFY(stored[QStringLiteral("gs")].isNull()); // left empty: NULL
        // Keys are never reused after a delete.
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        const qint32 deleted = list->currentKey();
        QVERIFY(list->deleteCurrent());
        QVERIFY(editor->addNew() && editor->update());
        QVERIFY(editor->currentKey() > deleted);
    }

    // Many rows read a page at a time: right values on both sides of page edges, a bounded
    // cache, Find forward across pages, and a scan of every row in one pass.
    void windowedReadsAndFindAcrossPages()
    {
        seedPlans(2500);
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QCOMPARE(list->recordCount(), 2500);
        for (int row : {0, 199, 200, 1234, 2499, 3, 2400})
            QCOMPARE(namep(*list, row), QStringLiteral("plan%1").arg(row + 1));
        for (int row = 0; row < 2500; row += 7)
            namep(*list, row);
        QVERIFY(list->cachedRowCount() <= 2000);
        QVERIFY(list->find(QStringLiteral("ID=2301")));
        QCOMPARE(list->currentRow(), 2300);
        QCOMPARE(list->field(QStringLiteral("gs")), QStringLiteral("23010"));
        QVERIFY(!list->find(QStringLiteral("ID=5"))); // behind the current row
        QVERIFY(list->eof());
        QCOMPARE(list->field(QStringLiteral("namep")), QString());
        QVERIFY(!list->find(QStringLiteral("namep='x'")));
        int visited = 0;
        QVERIFY(list->scanColumns({QStringLiteral("gs"), QStringLiteral("nope")}, [&](int row, const QStringList& cells) {
            visited += row == visited && cells == QStringList{QString::number((row + 1) * 10), QString()};
        }));
        QCOMPARE(visited, 2500);
        QVERIFY(list->cachedRowCount() <= 2000);
    }

    void deleteAndAddWhileWindowed()
    {
        seedPlans(900);
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QSignalSpy removed(list.get(), &DataSource::rowRemoved);
        list->setCurrentRow(450);
        QVERIFY(list->deleteCurrent());
        QCOMPARE(removed.count(), 1);
        QCOMPARE(list->recordCount(), 899);
        QCOMPARE(list->field(QStringLiteral("namep")), QStringLiteral("plan452"));
        QCOMPARE(namep(*list, 898), QStringLiteral("plan900"));
        QCOMPARE(count(QStringLiteral("winhost")), 899);
        QLineEdit name;
        list->bind(&name, QStringLiteral("namep"));
        QVERIFY(list->addNew());
        QCOMPARE(list->currentRow(), 899);
        name.setText(QStringLiteral("تازه"));
        QVERIFY(list->update());
        QCOMPARE(list->currentKey(), 901);
        list->setCurrentRow(0);
        QVERIFY(list->find(QStringLiteral("ID=901")));
        QCOMPARE(name.text(), QStringLiteral("تازه"));
        QVERIFY(list->refresh());
        QCOMPARE(list->recordCount(), 900);
        QCOMPARE(namep(*list, 899), QStringLiteral("تازه"));
    }

    // Rows stored or deleted after a snapshot show only after refresh(), however it happened.
    void snapshotChangesOnlyAtRefresh_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("editors of this program") << "editor";
        QTest::newRow("statements on the same connection") << "same";
        QTest::newRow("another program") << "other";
    }
    void snapshotChangesOnlyAtRefresh()
    {
        QFETCH(QString, how);
        seedPlans(300);
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        list->find(QStringLiteral("ID=100"));
        if (how == QLatin1String("editor")) {
            auto editor = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=0"));
            QLineEdit name;
            editor->bind(&name, QStringLiteral("namep"));
            editor->addNew();
            name.setText(QStringLiteral("new"));
            QVERIFY(editor->update());
            QVERIFY(openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=7"))->deleteCurrent());
        } else {
            const QString sql = QStringLiteral("INSERT INTO winhost (namep) VALUES ('new'); DELETE FROM winhost WHERE ID=7");
            QVERIFY(how == QLatin1String("same") ? exec(sql.section(u';', 0, 0)) && exec(sql.section(u';', 1))
                                                 : elsewhere(m_program->dbPath(), sql));
        }
        QCOMPARE(list->recordCount(), 300);
        QCOMPARE(list->currentRow(), 99);
        QVERIFY(list->refresh());
        QCOMPARE(list->recordCount(), 300);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(namep(*list, 6), QStringLiteral("plan8"));
        QCOMPARE(namep(*list, 299), QStringLiteral("new"));
        QVERIFY(list->find(QStringLiteral("ID=301")));
    }

    // The stamp a commit leaves does not take in a program that commits right after it, so a
    // list re-read after this program's save still sees the other program's row.
    void commitStampLeavesOutLaterWrites()
    {
        RecordStore* store = Database::storeFor(m_program->dbPath());
        QVERIFY(store && store->begin());
        QVERIFY(store->insert(QStringLiteral("winhost"), {}, {}) > 0);
        const quint64 inside = store->changeStamp();
        QVERIFY(store->commit());
        QVERIFY(elsewhere(m_program->dbPath(), QStringLiteral("INSERT INTO winhost (namep) VALUES ('x')")));
        QCOMPARE(store->changeStamp(), inside);
        QVERIFY(store->changeStamp() != inside);
    }

    // A save never overwrites what someone else stored since the row was read: nothing is
    // written, the reason is told, the typed values stay, and the next save reads the row anew.
    void saveRefusedWhenChangedMeanwhile_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same column changed") << "UPDATE winhost SET namep='theirs'" << true;
        QTest::newRow("NULL column filled") << "UPDATE winhost SET gs='5'" << true;
        QTest::newRow("row deleted") << "DELETE FROM winhost" << true;
        QTest::newRow("other column changed") << "UPDATE winhost SET sa='theirs'" << false;
        QTest::newRow("changed and back") << "UPDATE winhost SET namep='x'; UPDATE winhost SET namep='mine'" << false;
    }
    void saveRefusedWhenChangedMeanwhile()
    {
        QFETCH(QString, change);
        QFETCH(bool, refused);
        const qint32 key = insert(QStringLiteral("winhost"), {{"namep", QStringLiteral("mine")}, {"gs", QString()}});
        auto editor = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=%1").arg(key));
        QLineEdit name, price;
        editor->bind(&name, QStringLiteral("namep"));
        editor->bind(&price, QStringLiteral("gs"));
        QVERIFY(elsewhere(m_program->dbPath(), change));
        name.setText(QStringLiteral("typed"));
        price.setText(QStringLiteral("7"));
        QCOMPARE(editor->update(), !refused);
        const Row stored = row(QStringLiteral("winhost"), key);
        QCOMPARE(stored.value(QStringLiteral("namep")) == QStringLiteral("typed"), !refused);
        if (!refused)
            return;
        QVERIFY(editor->lastError().contains(QStringLiteral("کس ديگري")));
        QCOMPARE(name.text(), QStringLiteral("typed"));
        QCOMPARE(price.text(), QStringLiteral("7"));
        QCOMPARE(editor->update(), !stored.isEmpty()); // read again: saving now is the user's choice
        QCOMPARE(row(QStringLiteral("winhost"), key).value(QStringLiteral("namep")),
                 stored.isEmpty() ? QString() : QStringLiteral("typed"));
    }

    void editorWindowKeepsTypedValuesWhenChangedMeanwhile()
    {
        const qint32 key = insert(QStringLiteral("winhost"), {{"namep", QStringLiteral("mine")}});
        editState(Table::winhost) = EditState{key, true, false};
        auto* editor = forms().get<Form2>();
        editor->Text1->setText(QStringLiteral("پنل من"));
        QVERIFY(elsewhere(m_program->dbPath(), QStringLiteral("UPDATE winhost SET namep='theirs'")));
        {
            ModalAnswerer ok(kOk);
            editor->Command1->click();
            QVERIFY(ok.seen().text.contains(QStringLiteral("کس ديگري")));
        }
        QVERIFY(forms().isLoaded<Form2>());
        QCOMPARE(editor->Text1->text(), QStringLiteral("پنل من"));
        QCOMPARE(row(QStringLiteral("winhost"), key).value(QStringLiteral("namep")), QStringLiteral("theirs"));
        QVERIFY(!editState(Table::winhost).saved);
    }

    void lockedDatabaseLeavesDatabaseAndControlsAsTheyWere()
    {
        auto editor = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=0"));
        QLineEdit name;
        editor->bind(&name, QStringLiteral("namep"));
        editor->addNew();
        name.setText(QStringLiteral("تايپ شده"));
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(m_program->dbPath()).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_busy_timeout(Database::handleFor(m_program->dbPath()), 0);
        QVERIFY(!editor->update());
        QVERIFY(!editor->lastError().isEmpty());
        QCOMPARE(name.text(), QStringLiteral("تايپ شده"));
        QVERIFY(editor->isNewRow());
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QVERIFY2(editor->update(), qPrintable(editor->lastError()));
        QCOMPARE(count(QStringLiteral("winhost")), 1);
    }

    void foreignFilesAreReportedAndLeftUntouched_data()
    {
        QTest::addColumn<QString>("damage"); // SQL run on a fresh db.mdb, or "text:" and the file's bytes
        QTest::newRow("text file") << "text:this is a letter, not a database";
        QTest::newRow("empty file") << "text:";
        QTest::newRow("truncated") << "CREATE TABLE filler(x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                      "SELECT i+1 FROM n WHERE i<2000) INSERT INTO filler SELECT randomblob(200) FROM n";
        QTest::newRow("table missing") << "DROP TABLE newdomin";
        QTest::newRow("column missing") << "ALTER TABLE ss DROP COLUMN khas";
    }
    void foreignFilesAreReportedAndLeftUntouched()
    {
        QFETCH(QString, damage);
        const QString path = m_program->dbPath();
        QVERIFY(openSource(QStringLiteral("SELECT * FROM ss"))->lastError().isEmpty());
        Database::closeAll();
        QFile file(path);
        if (damage.startsWith(QLatin1String("text:")))
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(damage.mid(5).toUtf8()) >= 0);
        else
            QVERIFY(elsewhere(path, damage));
        file.close();
        if (damage.startsWith(QLatin1String("CREATE")))
            QVERIFY(file.resize(file.size() / 2));
        const QByteArray before = bytesOf(path);
        m_program->databaseProblems.clear();
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QCOMPARE(list->recordCount(), 0);
        QVERIFY(!openSource(QStringLiteral("SELECT * FROM ss"))->lastError().isEmpty());
        QCOMPARE(m_program->databaseProblems.size(), 1); // told once, not per window
        QVERIFY(m_program->databaseProblems.first().contains(QStringLiteral("db.mdb")));
        QCOMPARE(bytesOf(path), before);
    }

    void gridFollowsTheSourceAndBack()
    {
        seedPlans(3);
        auto source = openSource(QStringLiteral("SELECT * FROM winhost"));
        QLineEdit carrier;
        source->bind(&carrier, QStringLiteral("gs"));
        RecordGrid grid;
        grid.setDataSource(source.get(), {{QStringLiteral("        شماره ثبت"), QStringLiteral("ID"), 1000},
                                          {QStringLiteral("           نام پنل"), QStringLiteral("namep"), 1500}});
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(grid.model()->rowCount(), 3);
        QSignalSpy changed(&grid, &RecordGrid::rowChanged);
        QSignalSpy chosen(&grid, &RecordGrid::rowChosen);
        QTest::keyClick(grid.viewport(), Qt::Key_Down); // the user moves: the source follows
        QCOMPARE(source->currentRow(), 1);
        QCOMPARE(carrier.text(), QStringLiteral("20"));
        QTest::keyClick(&grid, Qt::Key_Return); // Enter chooses without moving
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(changed.count(), 1);
        const QRect cell = grid.visualRect(grid.model()->index(2, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(chosen.count(), 2);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(cell.center().x(), grid.viewport()->height() - 5));
        QCOMPARE(chosen.count(), 2); // below the rows: no choice
        const int moves = changed.count();
        source->setCurrentRow(0);
        source->find(QStringLiteral("ID=2")); // the program moves: the grid follows silently
        QCOMPARE(grid.currentIndex().row(), 1);
        QCOMPARE(changed.count(), moves);
        QCOMPARE(grid.model()->data(grid.model()->index(2, 1)).toString(), QStringLiteral("plan3"));
        grid.setColumnCaption(1, kFiveYears);
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), kFiveYears);
        QVERIFY(source->deleteCurrent());
        QCOMPARE(grid.model()->rowCount(), 2);
        QVERIFY(source->refresh() && source->deleteCurrent() && source->deleteCurrent());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(chosen.count(), 3); // an empty grid still reports the choice
    }

    // Columns fit the longest value of the first screen (an e-mail whole, a 200-character address
    // up to a limit, short keys narrower than designed); the strip beside the rows marks the
    // current one.
    void columnsFitAndTheCurrentRowIsMarked()
    {
        const QString email = QStringLiteral("maryam.karimi.hosting@example-shop.com");
        // Several lines, as notes are kept: the cell shows them on one line.
        const QString address = QString(QStringLiteral("تهران، خيابان آزادي، کوچه\n")).repeated(8);
        insert(QStringLiteral("newmoshtary"), {{"email", email}});
        insert(QStringLiteral("newmoshtary"), {{"email", QStringLiteral("a@b.ir")}, {"sa", address}});
        auto source = openSource(QStringLiteral("SELECT * FROM newmoshtary"));
        RecordGrid grid;
        grid.setDataSource(source.get(), {{QStringLiteral("x"), QStringLiteral("email"), 1000},
                                          {QStringLiteral("y"), QStringLiteral("sa"), 1000},
                                          {QStringLiteral("z"), QStringLiteral("ID"), 1500}});
        QVERIFY(grid.columnWidth(0) > grid.fontMetrics().horizontalAdvance(email));
        QVERIFY(grid.columnWidth(1) < grid.fontMetrics().horizontalAdvance(address) / 2);
        QVERIFY(grid.columnWidth(2) < 100); // short keys need less than designed

        grid.resize(600, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QImage strip = grid.verticalHeader()->viewport()->grab().toImage();
        const auto inkIn = [&](int row) {
            const int top = grid.verticalHeader()->sectionViewportPosition(row) + 2;
            int ink = 0;
            for (int y = top; y < top + grid.verticalHeader()->sectionSize(row) - 4; ++y)
                for (int x = 2; x < strip.width() - 2; ++x)
                    ink += qGray(strip.pixel(x, y)) < 100;
            return ink;
        };
        QCOMPARE(grid.currentIndex().row(), 0);
        QVERIFY(inkIn(0) > 4);
        QCOMPARE(inkIn(1), 0);
        // The lines of a note stand on the cell's one line, not squeezed or cut over each other.
        const QImage cells = grid.viewport()->grab().toImage();
        const QRect cell = grid.visualRect(grid.model()->index(1, 1)).adjusted(2, 1, -2, -1);
        int top = cell.bottom(), bottom = cell.top();
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (qGray(cells.pixel(x, y)) < 100) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        QVERIFY(bottom >= top);
        QVERIFY(bottom - top < grid.fontMetrics().height());
    }

    // The settings file keeps the layout Qt's INI writer gives texts (these lines are what it
    // wrote for them), so files of earlier versions read the same and ours read there.
    void settingsFileKeepsQtsIniLayout()
    {
        const QString signature = QStringLiteral("عنوان امضاء فروشنده");
        const QString odd = QStringLiteral("x,y;z=w \"q\" \\ @at\ttab\nnl\x01" "9");
        const QString path = QStringLiteral("/home/شيما/تصاوير/پس زمينه.jpg");
        QCOMPARE(SettingsStore::read(SettingsStore::kPrint, signature), QString());
        SettingsStore::write(SettingsStore::kPrint, signature, QStringLiteral(" مهر و امضاء  "));
        SettingsStore::write(SettingsStore::kPrint, QStringLiteral("a b;c"), odd);
        SettingsStore::write(SettingsStore::kDesktop, SettingsStore::kKeyboardKey, QStringLiteral("@lead"));
        SettingsStore::write(SettingsStore::kDesktop, SettingsStore::kPictureKey, path);
        QCOMPARE(SettingsStore::read(SettingsStore::kPrint, signature), QStringLiteral(" مهر و امضاء  "));
        QCOMPARE(SettingsStore::read(SettingsStore::kPrint, QStringLiteral("a b;c")), odd);
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kKeyboardKey), QStringLiteral("@lead"));
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kPictureKey), path);
        const QString blanks = QStringLiteral("\u00A0سطر\u2028"); // kept whole, though unquoted
        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kNotes, blanks);
        QCOMPARE(SettingsStore::read(SettingsStore::kPrint, SettingsStore::kNotes), blanks);
        QCOMPARE(SettingsStore::read(SettingsStore::kUser, signature), QString());

        QSettings raw(QSettings::IniFormat, QSettings::UserScope, SettingsStore::kApplication);
        QVERIFY(raw.fileName().contains(QStringLiteral("Sarvendo|Corvanta v1")));
        QFile file(raw.fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray lines = file.readAll();
        for (const char* written : {"Key=@@lead\n", "a%20b%3Bc=\"x,y;z=w \\\"q\\\" \\\\ @at\\ttab\\nnl\\x1\\x39\"\n",
                                    "%U0639%U0646%U0648%U0627%U0646%20%U0627%U0645%U0636%U0627%U0621%20%U0641%U0631"
                                    "%U0648%U0634%U0646%U062F%U0647=\" \xd9\x85"})
            QVERIFY2(lines.contains(written), written);
    }

    // A damaged or hostile settings file: values Qt would decode into objects read as empty (one
    // of these used to end the program at start), comments and continued lines read as Qt reads
    // them, and a save keeps every other text.
    void settingsFileReadsOnlyTexts()
    {
        QSettings raw(QSettings::IniFormat, QSettings::UserScope, SettingsStore::kApplication);
        QFile file(raw.fileName());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("; kept by hand\n[SettingDesktop]\nKey=\"@Variant(\\0\\0\\0\\v\\xff\\xff\\xff\\xff)\"\n"
                   "  Other  =  spaced value  ; a note\nLong=first \\\n  second\nList=a,b\n"
                   "[SettingUser]\nUsername=@DateTime(\\0\\0)\nPassword=@@x\n[%General]\nk=v\n");
        file.close();
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kKeyboardKey), QString());
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, QStringLiteral("Other")), QStringLiteral("spaced value"));
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, QStringLiteral("Long")), QStringLiteral("first   second"));
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, QStringLiteral("List")), QString());
        QCOMPARE(SettingsStore::read(SettingsStore::kUser, SettingsStore::kUserKey), QString());
        QCOMPARE(SettingsStore::read(QStringLiteral("General"), QStringLiteral("k")), QStringLiteral("v"));
        SettingsStore::write(SettingsStore::kUser, SettingsStore::kUserKey, QStringLiteral("مدير"));
        QCOMPARE(SettingsStore::read(SettingsStore::kUser, SettingsStore::kUserKey), QStringLiteral("مدير"));
        QCOMPARE(SettingsStore::read(SettingsStore::kUser, SettingsStore::kPasswordKey), QStringLiteral("@x"));
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, QStringLiteral("Other")), QStringLiteral("spaced value"));
    }

    // A build folder holds the artwork beside the executable and stays the program folder.
    void buildFolderStaysTheProgramFolder()
    {
        FolderTree tree;
        put(tree.path("build/corvanta.jpg"), "ours");
        put(tree.path("build/fonts/Vazirmatn-Regular.ttf"), "face");
        QCOMPARE(prepareProgramFolder(tree.path("build"), tree.path("data")), QString());
        QCOMPARE(sharedFolder(tree.path("build")), tree.path("build"));
        QVERIFY(!QFileInfo::exists(tree.path("data")));
    }

    // Installed: bin/ holds only the executable, share/corvanta the rest. The user's folder is
    // made and gets the default picture and the clock; a picture already there is kept.
    void installedProgramUsesTheDataFolder()
    {
        FolderTree tree;
        put(tree.path("usr/bin/corvanta"), "program");
        put(tree.path("usr/share/corvanta/corvanta.jpg"), "picture");
        put(tree.path("usr/share/corvanta/clock1.swf"), "clock");
        put(tree.path("usr/share/corvanta/about.png"), "about");
        QFile::setPermissions(tree.path("usr/share/corvanta/clock1.swf"), QFile::ReadOwner | QFile::ReadOther);

        QCOMPARE(prepareProgramFolder(tree.path("usr/bin"), tree.path("home/data/corvanta")), QString());
        QCOMPARE(programFolder(), tree.path("home/data/corvanta"));
        QCOMPARE(sharedFolder(tree.path("usr/bin")), tree.path("usr/share/corvanta"));
        QCOMPARE(bytesOf(programFile("corvanta.jpg")), QByteArray("picture"));
        QCOMPARE(bytesOf(programFile("clock1.swf")), QByteArray("clock"));
        QCOMPARE(bytesOf(programFile("about.png")), QByteArray("about"));
        QVERIFY(QFileInfo(programFile("clock1.swf")).isWritable());

        put(programFile("corvanta.jpg"), "the user's own");
        setProgramFolder(QString());
        QCOMPARE(prepareProgramFolder(tree.path("usr/bin"), tree.path("home/data/corvanta")), QString());
        QCOMPARE(bytesOf(programFile("corvanta.jpg")), QByteArray("the user's own"));
    }

    void readOnlyFolderUsesTheDataFolder()
    {
        if (::geteuid() == 0)
            QSKIP("root may write in any folder");
        FolderTree tree;
        put(tree.path("build/corvanta.jpg"), "ours");
        QFile::setPermissions(tree.path("build"), QFile::ReadOwner | QFile::ExeOwner);
        QCOMPARE(prepareProgramFolder(tree.path("build"), tree.path("data")), QString());
        QCOMPARE(programFolder(), tree.path("data"));
        QCOMPARE(bytesOf(tree.path("data/corvanta.jpg")), QByteArray("ours"));
    }

    void dataFolderThatCannotBeMadeIsTold()
    {
        FolderTree tree;
        put(tree.path("usr/share/corvanta/corvanta.jpg"), "picture");
        QDir().mkpath(tree.path("usr/bin"));
        put(tree.path("blocked"), "a file where the folder should go");
        const QString problem = prepareProgramFolder(tree.path("usr/bin"), tree.path("blocked/corvanta"));
        QVERIFY(problem.contains(QStringLiteral("ساخته نشد")));
        QVERIFY(problem.contains(QDir::toNativeSeparators(tree.path("blocked/corvanta"))));
    }

    void sameKey_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("same");
        QTest::newRow("Arabic yeh") << u"\u0639\u0644\u06CC"_qs << u"\u0639\u0644\u064A"_qs << true;
        QTest::newRow("alef maksura")
            << u"\u0645\u0648\u0633\u06CC"_qs << u"\u0645\u0648\u0633\u0649"_qs << true;
        QTest::newRow("yeh barree") << u"\u06CC"_qs << u"\u06D2"_qs << true;
        QTest::newRow("Arabic kaf") << u"\u06A9\u0627\u0631"_qs << u"\u0643\u0627\u0631"_qs << true;
        QTest::newRow("teh marbuta") << u"\u0645\u062F\u0631\u0633\u0647"_qs
                                     << u"\u0645\u062F\u0631\u0633\u0629"_qs << true;
        QTest::newRow("heh with yeh above")
            << u"\u062E\u0627\u0646\u0647"_qs << u"\u062E\u0627\u0646\u06C0"_qs << true;
        QTest::newRow("heh goal") << u"\u0647"_qs << u"\u06C1"_qs << true;
        QTest::newRow("hamza alefs") << u"\u0627\u0627\u0627"_qs << u"\u0623\u0625\u0622"_qs << true;
        QTest::newRow("hamza above") << u"\u062E\u0627\u0646\u0647"_qs << u"\u062E\u0627\u0646\u0647\u0654"_qs
                                     << true;
        QTest::newRow("Persian digits") << u"1405"_qs << u"\u06F1\u06F4\u06F0\u06F5"_qs << true;
        QTest::newRow("Arabic-Indic digits") << u"\u06F1\u06F2"_qs << u"\u0661\u0662"_qs << true;
        QTest::newRow("zero-width non-joiner")
            << u"\u0645\u06CC\u0634\u0648\u062F"_qs << u"\u0645\u06CC\u200C\u0634\u0648\u062F"_qs << true;
        QTest::newRow("tatweel") << u"\u0633\u0644\u0627\u0645"_qs
                                 << u"\u0633\u0640\u0640\u0644\u0627\u0645"_qs << true;
        QTest::newRow("diacritics") << u"\u0645\u062D\u0645\u062F"_qs
                                    << u"\u0645\u064F\u062D\u064E\u0645\u0651\u062F"_qs << true;
        QTest::newRow("blanks") << u"\u0639\u0644\u06CC\u0631\u0636\u0627"_qs
                                << u"\u0639\u0644\u06CC   \u0631\u0636\u0627"_qs << true;
        QTest::newRow("Latin case") << u"shop.example.ir"_qs << u"Shop.EXAMPLE.ir"_qs << true;
        QTest::newRow("keheh is not gaf") << u"\u06A9"_qs << u"\u06AF"_qs << false;
        QTest::newRow("digits differ") << u"\u06F1"_qs << u"2"_qs << false;
        QTest::newRow("heh is not teh") << u"\u0647"_qs << u"\u062A"_qs << false;
    }
    void sameKey()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, same);
        QCOMPARE(searchKey(typed) == searchKey(stored), same);
        // The index keeps keys in UTF-8; both forms agree.
        std::string a, b;
        appendSearchKey(typed, a);
        appendSearchKey(stored, b);
        QCOMPARE(a == b, same);
        QCOMPARE(QString::fromStdString(a), searchKey(typed));
        // Straight from the store's UTF-8 the same key comes out, also for bytes that are not
        // UTF-8 (read as QString reads them) and for characters beyond the first plane.
        for (const QByteArray& utf8 : {stored.toUtf8(), stored.toUtf8() + "\xC0\xAF\xED\xA0\x80x\xF0\x9F\x98\x80",
                                       "A\xF0\x9F\x98\x80\xD9\x8A" + stored.toUtf8()}) {
            std::string fromBytes;
            appendSearchKey(QByteArrayView(utf8), fromBytes);
            QCOMPARE(QString::fromStdString(fromBytes), searchKey(QString::fromUtf8(utf8)));
        }
    }

    // A CSV with what a spreadsheet must not misread is read back cell for cell.
    void csvReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.csv"));
        const QStringList header = {u"\u0646\u0627\u0645"_qs, QStringLiteral("email")};
        const QList<QStringList> rows = {
            {u"\u0639\u0644\u064A, \u0631\u0636\u0627\u064A\u064A"_qs, QStringLiteral("say \"hi\"")},
            {QStringLiteral("two\nlines"), QStringLiteral("=HYPERLINK(\"x\")")},
            {QStringLiteral("-5"), QStringLiteral("@SUM(A1)")},
            {QStringLiteral("+98 21"), QString()},
        };
        QString error;
        QVERIFY(writeCsvFile(
            path, header, int(rows.size()), [&](int r) { return rows[r]; }, &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("\r\n"));
        QVERIFY(!bytes.mid(3).replace("\r\n", "").replace("two\nlines", "").contains('\n'));
        const QList<QStringList> read = readCsv(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(read.size(), rows.size() + 1);
        QCOMPARE(read[0], header);
        QCOMPARE(read[1], rows[0]);
        QCOMPARE(read[2], QStringList({QStringLiteral("two\nlines"), QStringLiteral("'=HYPERLINK(\"x\")")}));
        QCOMPARE(read[3], QStringList({QStringLiteral("'-5"), QStringLiteral("'@SUM(A1)")}));
        QCOMPARE(read[4], QStringList({QStringLiteral("'+98 21"), QString()}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.csv")});
    }

    // A file that cannot be written is told in Persian and leaves nothing behind.
    void csvFailureLeavesNothing()
    {
        QTemporaryDir dir;
        QString error;
        const auto noRows = [](int) { return QStringList(); };
        QVERIFY(!writeCsvFile(dir.filePath(QStringLiteral("missing/list.csv")), {}, 0, noRows, &error));
        QVERIFY(error.contains(u"\u0646\u0648\u0634\u062A\u0647 \u0646\u0634\u062F"_qs));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        error.clear();
        QVERIFY(!writeCsvFile(dir.filePath(QStringLiteral("folder")), {}, 0, noRows, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("folder")});
    }
};

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
