// The database file: created on first start, never touched when it is not ours.
#include "storage/data_source.h"
#include "storage/database.h"
#include "support/fixtures.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTest>

#include <sqlite3.h>

namespace {
QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void sqliteExec(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}
} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void foreignFilesAreReportedAndLeftUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text file") << QStringLiteral("text");
        QTest::newRow("empty file") << QStringLiteral("empty");
        QTest::newRow("truncated database") << QStringLiteral("truncated");
        QTest::newRow("table missing") << QStringLiteral("noTable");
        QTest::newRow("column missing") << QStringLiteral("noColumn");
    }
    void foreignFilesAreReportedAndLeftUntouched()
    {
        QFETCH(QString, kind);
        TestProgram program;
        const QString path = program.dbPath();
        if (kind == QLatin1String("text")) {
            writeFile(path, "this is a letter, not a database\n");
        } else if (kind == QLatin1String("empty")) {
            writeFile(path, {});
        } else {
            QVERIFY(fixtures::openSource(QStringLiteral("SELECT * FROM ss"))->recordCount() == 0);
            Database::closeAll();
            if (kind == QLatin1String("truncated")) {
                sqliteExec(path, "CREATE TABLE filler(x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n "
                                 "WHERE i<2000) INSERT INTO filler SELECT randomblob(200) FROM n;");
                QFile f(path);
                QVERIFY(f.open(QIODevice::ReadWrite));
                QVERIFY(f.resize(f.size() / 2));
            } else if (kind == QLatin1String("noTable")) {
                sqliteExec(path, "DROP TABLE newdomin");
            } else {
                sqliteExec(path, "ALTER TABLE ss DROP COLUMN khas");
            }
        }
        const QByteArray before = fileHash(path);
        program.databaseProblems.clear();

        auto list = fixtures::openSource(QStringLiteral("SELECT * FROM winhost"));
        QCOMPARE(list->recordCount(), 0);
        QVERIFY(!list->lastError().isEmpty());
        // A second window reading the same file does not repeat the message.
        auto other = fixtures::openSource(QStringLiteral("SELECT * FROM ss"));
        QVERIFY(!other->lastError().isEmpty());
        QCOMPARE(program.databaseProblems.size(), 1);
        QVERIFY(program.databaseProblems.first().contains(QStringLiteral("db.mdb")));
        QCOMPARE(fileHash(path), before);
        QVERIFY(!Database::checkFile(path).isEmpty());
    }

    void databaseStaysInRollbackJournalMode()
    {
        TestProgram program;
        QVERIFY(fixtures::openSource(QStringLiteral("SELECT * FROM ss"))->refresh());
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(program.dbPath()).constData(), &db), SQLITE_OK);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr);
        QCOMPARE(sqlite3_step(stmt), SQLITE_ROW);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))), QByteArray("delete"));
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
};

QTEST_MAIN(TestDatabase)
#include "tst_database.moc"
