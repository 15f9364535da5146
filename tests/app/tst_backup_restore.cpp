// The backup and restore commands: complete copies, vetted restores that never lose the shop's
// data, the dialog's file names, the exact messages and the re-read of every data window.
//
// Then a full or failing disk under a save, a backup and a restore. The test program puts itself
// between the program (SQLite and Qt included) and the C library's write, pwrite64, fsync,
// fdatasync and rename: for files in the test's folder, and only while a test arms it, writes
// stop after a number of bytes (the last one short, then "no space left"), or the n-th sync or
// rename fails. Each command must end with a Persian message, leave db.mdb sound with every
// committed row, leave nothing half-written under the chosen name, and work again once the disk
// does.
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
#include "storage/edit_state.h"
#include "support/fixtures.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <optional>
#include <unistd.h>

using fixtures::showsNothing;

namespace {

struct Faults
{
    QByteArray folder;   // armed for files under this folder only; empty: disarmed
    qint64 bytesLeft = -1; // -1: no limit
    int failingSync = 0;   // the n-th sync fails (0: none)
    int failingRename = 0; // the n-th rename fails (0: none)
    int syncs = 0;
    int renames = 0;
} faults;

bool armedFor(const char* path)
{
    return !faults.folder.isEmpty() && path && QByteArray(path).startsWith(faults.folder);
}

bool armedFor(int fd)
{
    if (faults.folder.isEmpty())
        return false;
    char link[64];
    char target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = ::readlink(link, target, sizeof target - 1);
    if (length <= 0)
        return false;
    target[length] = '\0';
    return armedFor(target);
}

template <class Function> Function next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// How much of a write of `size` bytes reaches the disk; 0 means none (errno is then set).
size_t room(int fd, size_t size)
{
    if (faults.bytesLeft < 0 || !armedFor(fd))
        return size;
    const size_t left = static_cast<size_t>(faults.bytesLeft);
    if (left == 0)
        errno = ENOSPC;
    return std::min(size, left);
}

ssize_t counted(ssize_t written)
{
    if (written > 0 && faults.bytesLeft >= 0)
        faults.bytesLeft = std::max<qint64>(0, faults.bytesLeft - written);
    return written;
}

int syncResult(int fd, int (*real)(int))
{
    if (armedFor(fd) && ++faults.syncs == faults.failingSync) {
        errno = EIO;
        return -1;
    }
    return real(fd);
}

} // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    const size_t allowed = room(fd, size);
    return allowed == 0 && size > 0 ? -1 : counted(real(fd, data, allowed));
}

extern "C" ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    const size_t allowed = room(fd, size);
    return allowed == 0 && size > 0 ? -1 : counted(real(fd, data, allowed, offset));
}

extern "C" int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    return syncResult(fd, real);
}

extern "C" int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    return syncResult(fd, real);
}

extern "C" int rename(const char* from, const char* to)
{
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    if (armedFor(to) && ++faults.renames == faults.failingRename) {
        errno = EIO;
        return -1;
    }
    return real(from, to);
}

namespace {

// Answers the file dialog with `answer` and records how it was opened.
struct DialogAnswers
{
    QStringList modes;
    QStringList startNames;
    std::optional<QString> answer;

    DialogAnswers()
    {
        CommonDialog::setAnswerForTests([this](const QString& mode, const QString& startName) {
            modes << mode;
            startNames << startName;
            return answer;
        });
    }
    ~DialogAnswers() { CommonDialog::setAnswerForTests(nullptr); }
};

struct Box
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool operator==(const Box&) const = default;
};

char* toString(const Box& box)
{
    return QTest::toString(QStringLiteral("%1 | %2 | icon %3").arg(box.title, box.text).arg(int(box.icon)));
}

// The box each command ends with, as the user sees it (the tests' own copy of its texts).
// clang-format off
const Box kBackupDone = {QStringLiteral("پشتيبان گيري"), QStringLiteral("  عمليات پشتيبان گيري با موفقيت انجام شد  "), QMessageBox::Information};
const Box kBackupFailed = {QStringLiteral(" پشتيبان گيري "), QStringLiteral("  عمليات پشتيبان گيري با مشکل مواجه شده است  "), QMessageBox::Warning};
const Box kRestoreDone = {QStringLiteral("بازيابي پشتيبان"), QStringLiteral("  عمليات بازيابي فايل پشتيبان با موفقيت انجام شد  "), QMessageBox::Information};
const Box kRestoreFailed = {QStringLiteral("پشتيبان گيري"), QStringLiteral("  عمليات بازيابي فايل پشتيبان با مشکل مواجه شده است  "), QMessageBox::Warning};
// clang-format on

// Runs a command that ends with one message box, presses its OK button and returns the box.
Box answeredBox(const std::function<void()>& command)
{
    Box box;
    ModalAnswerer answerer([&box](QWidget* modal) {
        if (auto* messageBox = qobject_cast<QMessageBox*>(modal))
            box = {messageBox->windowTitle(), messageBox->text(), messageBox->icon()};
        clickButton(modal, fixtures::kOk);
    });
    command();
    return box;
}

// Runs BackupDatabase or RestoreDatabase with the file dialog answering `chosen`; returns the box
// the command ended with.
Box answeredCommand(void (*command)(QWidget*, CommonDialog*), const QString& chosen)
{
    CommonDialog dialog;
    DialogAnswers answers;
    answers.answer = chosen;
    return answeredBox([&] { command(nullptr, &dialog); });
}

// Temporary files the commands left behind in a folder.
QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp"), QStringLiteral("*.tmp-journal")}, QDir::Files);
}

// The first value of a query on a file other than the open database (a backup, the safety copy,
// db.mdb after a fault); empty when it cannot be read.
QString firstValueIn(const QString& file, const QString& sql)
{
    sqlite3* handle = nullptr;
    sqlite3_stmt* stmt = nullptr;
    QString value;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(handle);
    return value;
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

// Every row of every table, as text.
QStringList everything()
{
    QStringList all;
    for (const Database::TableSchema& table : Database::schema())
        for (const fixtures::Row& row : fixtures::rows(QStringLiteral("SELECT * FROM ") + table.name))
            all << table.name + QLatin1Char(':') + QStringList(row.values()).join(u'|');
    return all;
}

} // namespace

class TestBackupRestore : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;
    QStringList m_before;

    // The rows the disk-fault tests start from (60 customers, stored at once); what they must
    // keep is noted.
    bool seedForFaults()
    {
        if (!fixtures::exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 59) "
                                           "INSERT INTO newmoshtary (name) SELECT ?1 || i || ?2 FROM n"),
                            {QStringLiteral("مشتري شماره "), QStringLiteral(" با نامي بلند")}) ||
            !fixtures::insert(QStringLiteral("newdomin"), {{QStringLiteral("pd"), QStringLiteral("ir")}}))
            return false;
        m_before = everything();
        return true;
    }

    // Arms the fault of the current data row; a disk-full point is a share of db.mdb's size.
    void arm()
    {
        QFETCH(QString, fault);
        QFETCH(double, at);
        faults = Faults();
        faults.folder = QFile::encodeName(m_program->folder());
        if (fault == QLatin1String("full"))
            faults.bytesLeft = qint64(at * double(QFileInfo(m_program->dbPath()).size()));
        else if (fault == QLatin1String("sync"))
            faults.failingSync = int(at);
        else
            faults.failingRename = int(at);
    }

    // After the fault: db.mdb is sound and holds what it held, no temporary file is left.
    void verifyNothingLost()
    {
        faults = Faults();
        Database::closeAll();
        QCOMPARE(firstValueIn(m_program->dbPath(), QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        QCOMPARE(everything(), m_before);
        QCOMPARE(leftovers(m_program->folder()), QStringList());
    }

    static void faultRows(const QList<std::pair<const char*, double>>& rows)
    {
        QTest::addColumn<QString>("fault"); // "full", "sync" or "rename"
        QTest::addColumn<double>("at");     // share of db.mdb's size written, or which call fails
        for (const auto& [fault, at] : rows)
            QTest::addRow("%s at %g", fault, at) << QString::fromLatin1(fault) << at;
    }

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup()
    {
        faults = Faults();
        m_program.reset();
    }

    // Through the main window's menu commands and its one dialog.
    void roundTripBringsBackTheBackedUpRows()
    {
        Form1* mainWindow = forms().get<Form1>();
        QCOMPARE(mainWindow->CommonDialog1->Filter, QStringLiteral("(*.Backup)|*.Backup"));
        QVERIFY(addRows(QStringLiteral("first")));
        const QString backups = m_program->folder() + QStringLiteral("/backups");
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
        const QString safety = safetyCopyPath(m_program->dbPath());
        QCOMPARE(firstValueIn(safety, QStringLiteral("SELECT COUNT(*) FROM ss")), QStringLiteral("2"));
        answeredBox([&] { RestoreCommand(mainWindow); });
        QCOMPARE(firstValueIn(safety, QStringLiteral("SELECT COUNT(*) FROM ss")), QStringLiteral("1"));
        QVERIFY(leftovers(m_program->folder()).isEmpty());
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
        QVERIFY(addRows(QStringLiteral("plan")));
        QVERIFY(writeFile(m_program->folder() + QStringLiteral("/note.txt"), "notes"));
        QVERIFY(QDir(m_program->folder()).mkdir(QStringLiteral("folder.Backup")));
        const QString path = target.isEmpty() ? m_program->dbPath() : m_program->folder() + QLatin1Char('/') + target;
        const QByteArray before = contents(m_program->dbPath());
        QCOMPARE(answeredCommand(BackupDatabase, path), kBackupFailed);
        QCOMPARE(QFileInfo::exists(path), targetExists);
        QCOMPARE(contents(m_program->dbPath()), before);
        QCOMPARE(fixtures::count(QStringLiteral("winhost")), 1);
        QVERIFY(leftovers(m_program->folder()).isEmpty());
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
        QVERIFY(addRows(QStringLiteral("plan")));
        const QByteArray before = contents(m_program->dbPath());
        const QStringList filesBefore = QDir(m_program->folder()).entryList(QDir::Files);
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
        QCOMPARE(contents(m_program->dbPath()), before);
        QCOMPARE(QDir(m_program->folder()).entryList(QDir::Files), filesBefore);
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
        QVERIFY(addRows(QStringLiteral("a row with some text to fill the pages"), 200));
        const QString candidate = m_program->folder() + QStringLiteral("/candidate.Backup");
        if (kind == QLatin1String("text")) {
            QVERIFY(writeFile(candidate, "SQLite format 3 is what this text file claims to be"));
        } else if (kind == QLatin1String("truncated")) {
            const QString whole = m_program->folder() + QStringLiteral("/whole.Backup");
            QVERIFY(WriteBackupFile(m_program->dbPath(), whole));
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
        const QByteArray before = contents(m_program->dbPath());
        QCOMPARE(answeredCommand(RestoreDatabase, candidate), kRestoreFailed);
        QCOMPARE(contents(m_program->dbPath()), before);
        QCOMPARE(listedRows(), listing(201));
        QVERIFY(!QFileInfo::exists(safetyCopyPath(m_program->dbPath())));
        QVERIFY(leftovers(m_program->folder()).isEmpty());
    }

    void restoreDropsTheOldDatabasesLeftoverJournal()
    {
        QVERIFY(addRows(QStringLiteral("backed up")));
        const QString backupFile = m_program->folder() + QStringLiteral("/db.Backup");
        QVERIFY(WriteBackupFile(m_program->dbPath(), backupFile));
        QVERIFY(addRows(QStringLiteral("later"), 50));
        Database::closeAll();

        // A crash in the middle of a change leaves a journal that undoes it at the next opening.
        const QString journal = m_program->dbPath() + QStringLiteral("-journal");
        sqlite3* writer = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(m_program->dbPath()).constData(), &writer), SQLITE_OK);
        QCOMPARE(sqlite3_exec(writer, "PRAGMA synchronous=OFF; BEGIN; DELETE FROM ss; DELETE FROM winhost;", nullptr, nullptr, nullptr), SQLITE_OK);
        const QByteArray hotJournal = contents(journal);
        QCOMPARE(sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(writer);
        QVERIFY(!hotJournal.isEmpty());
        QVERIFY(writeFile(journal, hotJournal));

        QCOMPARE(answeredCommand(RestoreDatabase, backupFile), kRestoreDone);
        QVERIFY(!QFileInfo::exists(journal));
        QVERIFY(Database::checkFile(m_program->dbPath()).isEmpty());
        QCOMPARE(fixtures::count(QStringLiteral("ss")), 1);
        QCOMPARE(fixtures::count(QStringLiteral("winhost")), 1);
        // The safety copy keeps the journal it needs to be read as the database was.
        QCOMPARE(contents(safetyCopyPath(m_program->dbPath()) + QStringLiteral("-journal")), hotJournal);
        QCOMPARE(firstValueIn(safetyCopyPath(m_program->dbPath()), QStringLiteral("SELECT COUNT(*) FROM ss")), QStringLiteral("51"));
    }

    // Storing a new domain extension: the journal, the database pages, the journal's two syncs
    // and the database's (the second sync is of the folder, whose failure SQLite lets pass).
    void saveOnAFailingDisk_data() { faultRows({{"full", 0}, {"full", 0.02}, {"full", 0.3}, {"sync", 1}, {"sync", 3}, {"sync", 4}}); }
    void saveOnAFailingDisk()
    {
        QVERIFY(seedForFaults());
        editState(Table::newdomin).setNewRecord();
        Form4* editor = forms().get<Form4>();
        editor->Text1->setText(QStringLiteral("co.ir"));
        arm();
        {
            ModalAnswerer ok(fixtures::kOk);
            editor->Command1->click();
            QCOMPARE(ok.seen().title, QStringLiteral("خطا در ثبت اطلاعات"));
        }
        QVERIFY(forms().isLoaded<Form4>());
        verifyNothingLost();
        editor->Command1->click();
        QVERIFY(!forms().isLoaded<Form4>());
        QCOMPARE(fixtures::count(QStringLiteral("newdomin")), 2);
    }

    // Over an older backup of the same name, which must stay as it was.
    void backupOnAFailingDisk_data() { faultRows({{"full", 0}, {"full", 0.5}, {"sync", 1}, {"rename", 1}}); }
    void backupOnAFailingDisk()
    {
        QVERIFY(seedForFaults());
        const QString target = m_program->folder() + QStringLiteral("/db.Backup");
        QVERIFY(WriteBackupFile(m_program->dbPath(), target));
        const QByteArray older = contents(target);
        QVERIFY(fixtures::insert(QStringLiteral("newdomin"), {{QStringLiteral("pd"), QStringLiteral("com")}}));
        m_before = everything();
        CommonDialog dialog;
        DialogAnswers answers;
        answers.answer = target;
        arm();
        QCOMPARE(answeredBox([&] { BackupDatabase(nullptr, &dialog); }), kBackupFailed);
        QCOMPARE(contents(target), older);
        verifyNothingLost();
        QCOMPARE(answeredBox([&] { BackupDatabase(nullptr, &dialog); }), kBackupDone);
        QVERIFY(Database::checkFile(target).isEmpty());
    }

    // The copy beside db.mdb, the safety copy, their syncs, the two renames.
    void restoreOnAFailingDisk_data()
    {
        faultRows({{"full", 0}, {"full", 0.5}, {"full", 1.5}, {"sync", 1}, {"sync", 2}, {"rename", 1}, {"rename", 2}});
    }
    void restoreOnAFailingDisk()
    {
        QVERIFY(seedForFaults());
        const QString backupFile = m_program->folder() + QStringLiteral("/db.Backup");
        QVERIFY(WriteBackupFile(m_program->dbPath(), backupFile));
        QVERIFY(fixtures::exec(QStringLiteral("DELETE FROM newmoshtary WHERE ID > 30")));
        m_before = everything();
        const QByteArray database = contents(m_program->dbPath());
        CommonDialog dialog;
        DialogAnswers answers;
        answers.answer = backupFile;
        arm();
        QCOMPARE(answeredBox([&] { RestoreDatabase(nullptr, &dialog); }), kRestoreFailed);
        QCOMPARE(forms().get<Form9>()->Adodc1->recordCount(), 30); // the windows read db.mdb again
        QCOMPARE(contents(m_program->dbPath()), database);
        verifyNothingLost();
        QCOMPARE(answeredBox([&] { RestoreDatabase(nullptr, &dialog); }), kRestoreDone);
        QCOMPARE(fixtures::count(QStringLiteral("newmoshtary")), 60);
    }
};

QTEST_MAIN(TestBackupRestore)
#include "tst_backup_restore.moc"
