// The backup and restore commands: complete copies, vetted restores that never lose the shop's
// data, the dialog's file names, the exact messages and the re-read of every data window.
#include "app/backup_restore.h"
#include "app/main_window.h"
#include "catalogue/customer_editor.h"
#include "catalogue/domain_editor.h"
#include "catalogue/list_windows.h"
#include "catalogue/plan_editor.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "orders/pickers.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "support/backup_answers.h"
#include "ui/form_registry.h"

#include <QFile>

#include <sqlite3.h>


using namespace backup_answers;
using fixtures::showsNothing;

namespace {

// Rows of a table in a file other than the open database (a backup, the safety copy).
int countRowsIn(const QString& file, const QString& table)
{
    sqlite3* handle = nullptr;
    sqlite3_stmt* stmt = nullptr;
    int count = -1;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    if (sqlite3_prepare_v2(handle, ("SELECT COUNT(*) FROM " + table).toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        count = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(handle);
    return count;
}

// `count` rows in each table, their texts marked with `tag`, in one transaction.
bool addRows(const QString& tag, int count = 1)
{
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
    bool ok = fixtures::exec(QStringLiteral("BEGIN"));
    for (const QString& insert : {QStringLiteral("INSERT INTO winhost (namep, gs) SELECT ?1 || i, '1000' FROM n"),
                                  QStringLiteral("INSERT INTO linhost (namep, gs) SELECT ?1 || i, '2000' FROM n"),
                                  QStringLiteral("INSERT INTO newdomin (pd, gs) SELECT ?1 || i, '3000' FROM n"),
                                  QStringLiteral("INSERT INTO newmoshtary (nuser, name) SELECT ?1, 'رضا' FROM n"),
                                  QStringLiteral("INSERT INTO ss (nuser, name, tss) SELECT ?1, 'رضا', '1403/01/15' FROM n")})
        ok = ok && fixtures::exec(numbers + insert, {tag});
    return fixtures::exec(ok ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK")) && ok;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

template <class Window> int rowsShown()
{
    Window* window = forms().ifLoaded<Window>();
    return window && window->Adodc1 ? window->Adodc1->recordCount() : -1;
}

// What every data window shows after a re-read, Form2 to Form14 (-1: not loaded); the
// editors and the order entry window keep the new record they were opened for.
QList<int> listedRows()
{
    return {rowsShown<Form2>(),  rowsShown<Form3>(),  rowsShown<Form4>(),  rowsShown<Form5>(),  rowsShown<Form6>(),
            rowsShown<Form7>(),  rowsShown<Form8>(),  rowsShown<Form9>(),  rowsShown<Form10>(), rowsShown<Form11>(),
            rowsShown<Form12>(), rowsShown<Form13>(), rowsShown<Form14>()};
}

QList<int> listing(int rows)
{
    return {1, 1, 1, 1, rows, rows, rows, rows, 1, rows, rows, rows, rows};
}

} // namespace

class TestBackupRestore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Through the main window's menu commands and its one dialog.
    void roundTripBringsBackTheBackedUpRows()
    {
        TestProgram program;
        Form1* mainWindow = forms().get<Form1>();
        QCOMPARE(mainWindow->CommonDialog1->Filter, QStringLiteral("(*.Backup)|*.Backup"));
        QVERIFY(addRows(QStringLiteral("first")));
        const QString backups = program.folder() + QStringLiteral("/backups");
        QVERIFY(QDir().mkpath(backups));
        const QString backupFile = backups + QStringLiteral("/db.Backup");
        QVERIFY(writeFile(backupFile, "an older backup, replaced"));
        DialogAnswers answers;
        answers.answer = backupFile;

        Box box = answeredBox([&] { BackupCommand(mainWindow); });
        QCOMPARE(box, kBackupDone);
        QVERIFY(Database::checkFile(backupFile).isEmpty());

        QVERIFY(addRows(QStringLiteral("later")));
        box = answeredBox([&] { RestoreCommand(mainWindow); });
        QCOMPARE(box, kRestoreDone);
        QCOMPARE(answers.modes, QStringList({QStringLiteral("save"), QStringLiteral("open")}));
        // The backup offers its default name; the restore starts empty although the backup
        // left the chosen path in the dialog.
        QCOMPARE(answers.startNames, QStringList({QStringLiteral("db.Backup"), QString()}));

        for (const Database::TableSchema& table : Database::schema())
            QCOMPARE(fixtures::count(table.name), 1);
        QCOMPARE(listedRows(), listing(1));
        QCOMPARE(forms().get<Form14>()->Adodc1->field(QStringLiteral("nuser")), QStringLiteral("first"));

        // The database as it was before the restore is kept beside it.
        const QString safety = safetyCopyPath(program.dbPath());
        QCOMPARE(countRowsIn(safety, QStringLiteral("ss")), 2);
        answeredBox([&] { RestoreCommand(mainWindow); });
        QCOMPARE(countRowsIn(safety, QStringLiteral("ss")), 1);
        QVERIFY(leftovers(program.folder()).isEmpty());
        QVERIFY(leftovers(backups).isEmpty());
    }

    void backupFailure_data()
    {
        QTest::addColumn<QString>("target"); // relative to the program folder, or "" for db.mdb
        QTest::addColumn<bool>("targetExists");
        // Tests run as root, for whom a read-only folder is still writable; a path whose
        // parent is a file or does not exist cannot be written by anyone.
        QTest::newRow("parent is a file") << QStringLiteral("note.txt/db.Backup") << false;
        QTest::newRow("a folder") << QStringLiteral("folder.Backup") << true;
        QTest::newRow("the database itself") << QString() << true;
    }

    void backupFailure()
    {
        QFETCH(QString, target);
        QFETCH(bool, targetExists);
        TestProgram program;
        QVERIFY(addRows(QStringLiteral("plan")));
        QVERIFY(writeFile(program.folder() + QStringLiteral("/note.txt"), "notes"));
        QVERIFY(QDir(program.folder()).mkdir(QStringLiteral("folder.Backup")));
        const QString path = target.isEmpty() ? program.dbPath() : program.folder() + QLatin1Char('/') + target;
        const QByteArray before = contents(program.dbPath());
        QCOMPARE(answeredCommand(BackupDatabase, path), kBackupFailed);
        QCOMPARE(QFileInfo::exists(path), targetExists);
        QCOMPARE(contents(program.dbPath()), before);
        QCOMPARE(fixtures::count(QStringLiteral("winhost")), 1);
        QVERIFY(leftovers(program.folder()).isEmpty());
    }

    void cancelEndsSilently_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("backup, cancel") << false << std::optional<QString>();
        QTest::newRow("restore, empty name") << true << std::optional<QString>(QString());
    }

    void cancelEndsSilently()
    {
        QFETCH(bool, restore);
        QFETCH(std::optional<QString>, answer);
        TestProgram program;
        QVERIFY(addRows(QStringLiteral("plan")));
        const QByteArray before = contents(program.dbPath());
        const QStringList filesBefore = QDir(program.folder()).entryList(QDir::Files);
        CommonDialog dialog;
        DialogAnswers answers;
        answers.answer = answer;

        QVERIFY(showsNothing([&] {
            if (restore)
                RestoreDatabase(nullptr, &dialog);
            else
                BackupDatabase(nullptr, &dialog);
        }));
        QCOMPARE(answers.modes.size(), 1);
        QCOMPARE(contents(program.dbPath()), before);
        QCOMPARE(QDir(program.folder()).entryList(QDir::Files), filesBefore);
        QVERIFY(!forms().isLoaded<Form2>()); // the windows are not re-read
    }

    void refusedRestoreLeavesTheDatabaseAsItWas_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text file") << QStringLiteral("text");
        QTest::newRow("missing file") << QStringLiteral("missing");
        QTest::newRow("truncated database") << QStringLiteral("truncated");
        QTest::newRow("database of another program") << QStringLiteral("foreign");
        QTest::newRow("orders without their date") << QStringLiteral("missing column");
    }

    void refusedRestoreLeavesTheDatabaseAsItWas()
    {
        QFETCH(QString, kind);
        TestProgram program;
        QVERIFY(addRows(QStringLiteral("a row with some text to fill the pages"), 200));
        const QString candidate = program.folder() + QStringLiteral("/candidate.Backup");
        if (kind == QLatin1String("text")) {
            QVERIFY(writeFile(candidate, "SQLite format 3 is what this text file claims to be"));
        } else if (kind == QLatin1String("truncated")) {
            const QString whole = program.folder() + QStringLiteral("/whole.Backup");
            QVERIFY(WriteBackupFile(program.dbPath(), whole));
            const QByteArray bytes = contents(whole);
            QVERIFY(bytes.size() > 8 * 4096);
            QVERIFY(writeFile(candidate, bytes.left(bytes.size() / 2)));
        } else if (kind == QLatin1String("foreign") || kind == QLatin1String("missing column")) {
            sqlite3* other = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(candidate).constData(), &other), SQLITE_OK);
            QString sql = QStringLiteral("CREATE TABLE notes (ID INTEGER PRIMARY KEY, body TEXT);");
            if (kind == QLatin1String("missing column")) {
                for (const Database::TableSchema& table : Database::schema()) {
                    QStringList columns = table.columns.mid(1);
                    columns.removeAll(QStringLiteral("tss"));
                    sql += QStringLiteral("CREATE TABLE %1 (ID INTEGER PRIMARY KEY, %2);").arg(table.name, columns.join(u','));
                }
            }
            QCOMPARE(sqlite3_exec(other, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(other);
        }
        // A row stored after the list was read: only a re-read shows it.
        QCOMPARE(forms().get<Form6>()->Adodc1->recordCount(), 200);
        QVERIFY(addRows(QStringLiteral("unseen")));
        Database::closeAll();
        const QByteArray before = contents(program.dbPath());
        QCOMPARE(answeredCommand(RestoreDatabase, candidate), kRestoreFailed);
        QCOMPARE(contents(program.dbPath()), before);
        QCOMPARE(listedRows(), listing(201));
        QVERIFY(!QFileInfo::exists(safetyCopyPath(program.dbPath())));
        QVERIFY(leftovers(program.folder()).isEmpty());
    }

    void restoreDropsTheOldDatabasesLeftoverJournal()
    {
        TestProgram program;
        QVERIFY(addRows(QStringLiteral("backed up")));
        const QString backupFile = program.folder() + QStringLiteral("/db.Backup");
        QVERIFY(WriteBackupFile(program.dbPath(), backupFile));
        QVERIFY(addRows(QStringLiteral("later"), 50));
        Database::closeAll();

        // A crash in the middle of a change leaves a journal that undoes it at the next opening.
        const QString journal = program.dbPath() + QStringLiteral("-journal");
        sqlite3* writer = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(program.dbPath()).constData(), &writer), SQLITE_OK);
        QCOMPARE(sqlite3_exec(writer, "PRAGMA synchronous=OFF; BEGIN; DELETE FROM ss; DELETE FROM winhost;", nullptr, nullptr, nullptr), SQLITE_OK);
        const QByteArray hotJournal = contents(journal);
        QCOMPARE(sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(writer);
        QVERIFY(!hotJournal.isEmpty());
        QVERIFY(writeFile(journal, hotJournal));

        QCOMPARE(answeredCommand(RestoreDatabase, backupFile), kRestoreDone);
        QVERIFY(!QFileInfo::exists(journal));
        QVERIFY(Database::checkFile(program.dbPath()).isEmpty());
        QCOMPARE(fixtures::count(QStringLiteral("ss")), 1);
        QCOMPARE(fixtures::count(QStringLiteral("winhost")), 1);
        // The safety copy keeps the journal it needs to be read as the database was.
        QCOMPARE(contents(safetyCopyPath(program.dbPath()) + QStringLiteral("-journal")), hotJournal);
        QCOMPARE(countRowsIn(safetyCopyPath(program.dbPath()), QStringLiteral("ss")), 51);
    }
};

QTEST_MAIN(TestBackupRestore)
#include "tst_backup_restore.moc"
