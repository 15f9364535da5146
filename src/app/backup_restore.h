#pragma once
// The backup and restore commands of the main window's menu (setbackup, getbackup).
// A backup is a complete copy of db.mdb; a restore puts a vetted backup in its place, keeps the
// database it replaces as db.mdb.before-restore, and makes every data window read it again.
#include <QString>

class CommonDialog;
class Form1;
class QWidget;

void BackupCommand(Form1* mainWindow);
void RestoreCommand(Form1* mainWindow);

// The commands with their owner window and file dialog (the main window's CommonDialog1).
void BackupDatabase(QWidget* owner, CommonDialog* dialog);
void RestoreDatabase(QWidget* owner, CommonDialog* dialog);

// The file work of the commands, without dialog, message or window refresh; true on success.
// Writes a copy of the database to backupPath; the file at backupPath is replaced only by a
// complete copy.
bool WriteBackupFile(const QString& databasePath, const QString& backupPath);
// Replaces the database with backupPath when that is a sound database of this program, keeping
// the replaced one as databasePath + ".before-restore"; on failure the database is untouched.
// Closes every database connection first.
bool RestoreBackupFile(const QString& backupPath, const QString& databasePath);

// Name of the safety copy kept beside the database at each restore.
QString safetyCopyPath(const QString& databasePath);

// The same on a PostgreSQL server (connection string `server`). A backup is a database file of
// db.mdb's layout with the server's rows, so it restores into either store. A restore vets the
// file as above, first writes the server's current rows to safetyPath in the same form, then
// replaces the rows of the five tables in one transaction: all or nothing.
bool WriteServerBackupFile(const QString& server, const QString& backupPath);
bool RestoreServerBackupFile(const QString& backupPath, const QString& server, const QString& safetyPath);
// The safety file of a restore on a server, in the program folder.
QString serverSafetyCopyPath();
