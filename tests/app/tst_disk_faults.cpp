// A full or failing disk under a save, a backup and a restore. The test program puts itself
// between the program (SQLite and Qt included) and the C library's write, pwrite64, fsync,
// fdatasync and rename: for files in the test's folder, writes stop after a number of bytes
// (the last one short, then "no space left"), or the n-th sync or rename fails. Each command
// must end with a Persian message, leave db.mdb sound with every committed row, leave nothing
// half-written under the chosen name, and work again once the disk does.
#include "app/backup_restore.h"
#include "catalogue/domain_editor.h"
#include "catalogue/list_windows.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/edit_state.h"
#include "support/backup_answers.h"
#include "ui/form_registry.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

using namespace backup_answers;

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

// Every row of every table, as text.
QStringList everything()
{
    QStringList all;
    for (const Database::TableSchema& table : Database::schema())
        for (const fixtures::Row& row : fixtures::rows(QStringLiteral("SELECT * FROM ") + table.name))
            all << table.name + QLatin1Char(':') + QStringList(row.values()).join(u'|');
    return all;
}

QString integrity(const QString& path)
{
    sqlite3* handle = nullptr;
    sqlite3_stmt* stmt = nullptr;
    QString result;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(handle);
    return result;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

class TestDiskFaults : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;
    QStringList m_before;

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
        QCOMPARE(integrity(m_program->dbPath()), QStringLiteral("ok"));
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
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        for (int i = 0; i < 60; ++i)
            QVERIFY(fixtures::insert(QStringLiteral("newmoshtary"), {{QStringLiteral("name"), QStringLiteral("مشتري شماره %1 با نامي بلند").arg(i)}}));
        QVERIFY(fixtures::insert(QStringLiteral("newdomin"), {{QStringLiteral("pd"), QStringLiteral("ir")}}));
        m_before = everything();
    }
    void cleanup()
    {
        faults = Faults();
        m_program.reset();
    }

    // Storing a new domain extension: the journal, the database pages, the journal's two syncs
    // and the database's (the second sync is of the folder, whose failure SQLite lets pass).
    void save_data() { faultRows({{"full", 0}, {"full", 0.02}, {"full", 0.3}, {"sync", 1}, {"sync", 3}, {"sync", 4}}); }
    void save()
    {
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
    void backup_data() { faultRows({{"full", 0}, {"full", 0.5}, {"sync", 1}, {"rename", 1}}); }
    void backup()
    {
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
    void restore_data()
    {
        faultRows({{"full", 0}, {"full", 0.5}, {"full", 1.5}, {"sync", 1}, {"sync", 2}, {"rename", 1}, {"rename", 2}});
    }
    void restore()
    {
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

QTEST_MAIN(TestDiskFaults)
#include "tst_disk_faults.moc"
