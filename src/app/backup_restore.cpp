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
#include "storage/postgres_store.h"
#include "storage/program_folder.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"
#include "ui/persian_message_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

const QString kDatabaseFile = QStringLiteral("db.mdb");
const QString kDefaultBackupName = QStringLiteral("db.Backup");

// Files SQLite keeps beside a database while it writes: a rollback journal or a write-ahead
// log (with its index). Left over from a crash, they belong to that one database file.
const QString kJournalSuffixes[] = {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};

QString databasePathOfProgram()
{
    return QDir(programFolder()).absoluteFilePath(kDatabaseFile);
}

// A temporary file that is removed unless it has been renamed into place.
class TemporaryFile
{
public:
    // Creates a new, empty file with a unique name beside `path`.
    explicit TemporaryFile(const QString& path)
    {
        for (int attempt = 0; attempt < 16 && m_path.isEmpty(); ++attempt) {
            const QString name = path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            QFile file(name);
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                m_path = name;
            else if (!QFileInfo::exists(name))
                return; // the folder is missing or not writable
        }
    }
    ~TemporaryFile()
    {
        if (m_path.isEmpty())
            return;
        QFile::remove(m_path);
        for (const QString& suffix : kJournalSuffixes)
            QFile::remove(m_path + suffix);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }

    // Renames the file over `target` in one step, replacing it; the file is then no longer
    // temporary. Keeps the permissions of the file it replaces.
    bool moveOver(const QString& target)
    {
        if (QFileInfo::exists(target))
            QFile::setPermissions(m_path, QFile::permissions(target));
        std::error_code error;
        // Unlike QFile::rename, this replaces an existing target (rename(2), MoveFileEx).
        std::filesystem::rename(std::filesystem::path(m_path.toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), error);
        if (error)
            return false;
        m_path.clear();
        return true;
    }

private:
    QString m_path;
};

bool syncToDisk(QFile& file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// Copies the bytes of `source` into the existing file `destination` and makes them durable.
bool copyContents(const QString& source, const QString& destination)
{
    QFile in(source);
    QFile out(destination);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray buffer;
    for (;;) {
        buffer = in.read(1 << 20);
        if (buffer.isEmpty())
            break;
        if (out.write(buffer) != buffer.size())
            return false;
    }
    return in.error() == QFileDevice::NoError && in.atEnd() && syncToDisk(out);
}

// Copies `source` to `target` through a temporary file beside the target, so that the target
// is either its old self or a complete copy.
bool copyFileOver(const QString& source, const QString& target)
{
    TemporaryFile temporary(target);
    return temporary.created() && copyContents(source, temporary.path()) && temporary.moveOver(target);
}

bool startsLikeDatabase(const QString& path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) &&
           file.read(16) == QByteArray("SQLite format 3\0", 16);
}

bool sameFile(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

// Keeps the database about to be replaced as the safety copy, with a journal or log left over
// from a crash, which the copy needs to be read as it was; a stale one of an older safety copy
// would spoil the new one, so it goes.
bool keepSafetyCopy(const QString& databasePath)
{
    const QString safety = safetyCopyPath(databasePath);
    if (!QFileInfo::exists(databasePath))
        return true;
    if (!copyFileOver(databasePath, safety))
        return false;
    for (const QString& suffix : kJournalSuffixes) {
        if (QFileInfo::exists(databasePath + suffix)) {
            if (!copyFileOver(databasePath + suffix, safety + suffix))
                return false;
        } else if (QFileInfo::exists(safety + suffix) && !QFile::remove(safety + suffix)) {
            return false;
        }
    }
    return true;
}

template <class Window> void refreshDataOf()
{
    Window* window = forms().get<Window>();
    if (window && window->Adodc1)
        window->Adodc1->refresh();
}

// Every data window reads the database again, in this order; windows not loaded yet are
// loaded hidden.
void refreshDataWindows()
{
    refreshDataOf<Form2>();
    refreshDataOf<Form3>();
    refreshDataOf<Form4>();
    refreshDataOf<Form5>();
    refreshDataOf<Form6>();
    refreshDataOf<Form7>();
    refreshDataOf<Form8>();
    refreshDataOf<Form9>();
    refreshDataOf<Form10>();
    refreshDataOf<Form11>();
    refreshDataOf<Form12>();
    refreshDataOf<Form13>();
    refreshDataOf<Form14>();
}

} // namespace

QString safetyCopyPath(const QString& databasePath)
{
    return databasePath + QStringLiteral(".before-restore");
}

bool WriteBackupFile(const QString& databasePath, const QString& backupPath)
{
    // Replacing the database by a copy of itself would cut it from the open connections.
    if (sameFile(databasePath, backupPath) || QFileInfo(backupPath).isDir())
        return false;
    TemporaryFile temporary(backupPath);
    return temporary.created() && Database::backupInto(databasePath, temporary.path()).isEmpty() &&
           temporary.moveOver(backupPath);
}

bool RestoreBackupFile(const QString& backupPath, const QString& databasePath)
{
    // A photo or a text file is turned away before anything is copied.
    if (!startsLikeDatabase(backupPath))
        return false;
    // The copy that will become the database is the one vetted, so nothing can change between
    // the check and the replacement.
    TemporaryFile temporary(databasePath);
    if (!temporary.created() || !copyContents(backupPath, temporary.path()) ||
        !Database::checkFile(temporary.path()).isEmpty())
        return false;

    Database::closeAll();
    if (!keepSafetyCopy(databasePath))
        return false;
    // A journal left over from a crash would be played back into the restored file at its
    // first opening and spoil it; the safety copy keeps it with the old database.
    for (const QString& suffix : kJournalSuffixes) {
        const QString leftover = databasePath + suffix;
        if (QFileInfo::exists(leftover) && !QFile::remove(leftover))
            return false;
    }
    return temporary.moveOver(databasePath);
}

// ---- On a PostgreSQL server -------------------------------------------------------------------

QString serverSafetyCopyPath()
{
    return QDir(programFolder()).absoluteFilePath(QStringLiteral("server.before-restore"));
}

bool WriteServerBackupFile(const QString& server, const QString& backupPath)
{
    Postgres::Server* store = Postgres::Server::forConnection(server);
    if (!store || QFileInfo(backupPath).isDir())
        return false;
    TemporaryFile temporary(backupPath);
    return temporary.created() && Postgres::writeDatabaseFile(store, temporary.path()).isEmpty() &&
           temporary.moveOver(backupPath);
}

bool RestoreServerBackupFile(const QString& backupPath, const QString& server, const QString& safetyPath)
{
    if (!startsLikeDatabase(backupPath))
        return false;
    TemporaryFile vetted(safetyPath);
    if (!vetted.created() || !copyContents(backupPath, vetted.path()) || !Database::checkFile(vetted.path()).isEmpty())
        return false;
    Postgres::Server* store = Postgres::Server::forConnection(server);
    if (!store || !WriteServerBackupFile(server, safetyPath))
        return false;
    return Postgres::replaceFromDatabaseFile(store, vetted.path(), false).isEmpty();
}

void BackupDatabase(QWidget* owner, CommonDialog* dialog)
{
    if (!dialog)
        return;
    dialog->FileName = kDefaultBackupName;
    if (!dialog->ShowSave(owner))
        return;
    const QString target = dialog->FileName;
    if (target.isEmpty())
        return;
    const QString server = Database::serverConnection();
    if (server.isEmpty() ? WriteBackupFile(databasePathOfProgram(), target) : WriteServerBackupFile(server, target))
        PersianMsgBox(owner, QStringLiteral("  عمليات پشتيبان گيري با موفقيت انجام شد  "),
                      MsgBoxStyle::Information, QStringLiteral("پشتيبان گيري"));
    else
        PersianMsgBox(owner, QStringLiteral("  عمليات پشتيبان گيري با مشکل مواجه شده است  "),
                      MsgBoxStyle::Exclamation, QStringLiteral(" پشتيبان گيري "));
}

void RestoreDatabase(QWidget* owner, CommonDialog* dialog)
{
    if (!dialog)
        return;
    dialog->FileName.clear();
    if (!dialog->ShowOpen(owner))
        return;
    const QString chosen = dialog->FileName;
    if (chosen.isEmpty())
        return;
    const QString server = Database::serverConnection();
    const bool restored = server.isEmpty() ? RestoreBackupFile(chosen, databasePathOfProgram())
                                           : RestoreServerBackupFile(chosen, server, serverSafetyCopyPath());
    // The windows read the database again whether or not it was replaced.
    refreshDataWindows();
    if (restored)
        PersianMsgBox(owner, QStringLiteral("  عمليات بازيابي فايل پشتيبان با موفقيت انجام شد  "),
                      MsgBoxStyle::Information, QStringLiteral("بازيابي پشتيبان"));
    else
        PersianMsgBox(owner, QStringLiteral("  عمليات بازيابي فايل پشتيبان با مشکل مواجه شده است  "),
                      MsgBoxStyle::Exclamation, QStringLiteral("پشتيبان گيري"));
}

void BackupCommand(Form1* mainWindow)
{
    if (mainWindow)
        BackupDatabase(mainWindow, mainWindow->CommonDialog1);
}

void RestoreCommand(Form1* mainWindow)
{
    if (mainWindow)
        RestoreDatabase(mainWindow, mainWindow->CommonDialog1);
}
