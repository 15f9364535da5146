// The data source against a real database file in a temporary program folder.
#include "storage/data_source.h"
#include "storage/database.h"
#include "support/fixtures.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

using fixtures::openSource;

namespace {
// Adds a plan through a fresh editor-like data source and returns its key.
qint32 addPlan(const QString& name, const QString& price = QString())
{
    auto source = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=0"));
    QLineEdit nameBox, priceBox;
    source->bind(&nameBox, QStringLiteral("namep"));
    source->bind(&priceBox, QStringLiteral("gs"));
    source->addNew();
    nameBox.setText(name);
    priceBox.setText(price);
    return source->update() ? source->currentKey() : 0;
}
} // namespace

class TestDataSource : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }
    void firstStartCreatesTheFiveTables()
    {
        auto source = openSource(QStringLiteral("SELECT * FROM ss"));
        QVERIFY(QFile::exists(m_program->dbPath()));
        QCOMPARE(source->databasePath(), m_program->dbPath());
        QCOMPARE(source->recordCount(), 0);
        QVERIFY(Database::checkFile(m_program->dbPath()).isEmpty());
        QVERIFY(m_program->databaseProblems.isEmpty());
    }

    void addNewThenUpdateAssignsAKeyAndStoresBoundValues()
    {
        auto source = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=0"));
        QCOMPARE(source->recordCount(), 0);
        QLabel key, period;
        QLineEdit name;
        QPlainTextEdit notes;
        source->bind(&key, QStringLiteral("ID"));
        source->bind(&name, QStringLiteral("namep"));
        source->bind(&period, QStringLiteral("ghemats"));
        source->bind(&notes, QStringLiteral("sa"));
        QVERIFY(source->addNew());
        QCOMPARE(source->recordCount(), 1);
        QVERIFY(key.text().isEmpty()); // no key until stored
        name.setText(QStringLiteral("پنل طلايي"));
        period.setText(QStringLiteral("قيمت دو ساله :")); // a caption set by the program is stored too
        notes.setPlainText(QStringLiteral("خط اول\nخط دوم"));
        QVERIFY2(source->update(), qPrintable(source->lastError()));
        QVERIFY(source->currentKey() > 0);
        QCOMPARE(key.text(), QString::number(source->currentKey()));

        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QCOMPARE(list->recordCount(), 1);
        QCOMPARE(list->field(QStringLiteral("namep")), QStringLiteral("پنل طلايي"));
        QCOMPARE(list->field(QStringLiteral("ghemats")), QStringLiteral("قيمت دو ساله :"));
        QCOMPARE(list->field(QStringLiteral("sa")), QStringLiteral("خط اول\nخط دوم"));
        // Left empty: stored as NULL, read back as empty text.
        QVERIFY(list->isNull(0, list->columnIndex(QStringLiteral("gs"))));
        QCOMPARE(list->field(QStringLiteral("gs")), QString());
    }

    void keysAreNeverZeroNorReused()
    {
        const qint32 first = addPlan(QStringLiteral("a"));
        const qint32 second = addPlan(QStringLiteral("b"));
        QVERIFY(first > 0);
        QVERIFY(second > first);
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QVERIFY(list->find(QStringLiteral("ID=%1").arg(second)));
        QVERIFY(list->deleteCurrent());
        QVERIFY(addPlan(QStringLiteral("c")) > second);
    }

    void editingUpdatesOnlyTheCurrentRow()
    {
        addPlan(QStringLiteral("a"), QStringLiteral("100"));
        const qint32 b = addPlan(QStringLiteral("b"), QStringLiteral("200"));
        auto editor = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=%1").arg(b));
        QLineEdit name, price;
        editor->bind(&name, QStringLiteral("namep"));
        editor->bind(&price, QStringLiteral("gs"));
        QCOMPARE(name.text(), QStringLiteral("b"));
        price.setText(QString());
        name.setText(QStringLiteral("b2"));
        QVERIFY(editor->update());
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QCOMPARE(list->value(0, list->columnIndex(QStringLiteral("namep"))), QStringLiteral("a"));
        QCOMPARE(list->value(0, list->columnIndex(QStringLiteral("gs"))), QStringLiteral("100"));
        QCOMPARE(list->value(1, list->columnIndex(QStringLiteral("namep"))), QStringLiteral("b2"));
        QVERIFY(list->isNull(1, list->columnIndex(QStringLiteral("gs"))));
    }

    void snapshotsSeeOtherStoresOnlyAfterRefresh()
    {
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        addPlan(QStringLiteral("a"));
        QCOMPARE(list->recordCount(), 0);
        QVERIFY(list->refresh());
        QCOMPARE(list->recordCount(), 1);
        QCOMPARE(list->currentRow(), 0);
    }

    void findSearchesForwardAndEndsPastTheLastRow()
    {
        QList<qint32> keys;
        for (int i = 0; i < 4; ++i)
            keys << addPlan(QString::number(i));
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QVERIFY(list->find(QStringLiteral("ID=%1").arg(keys[2])));
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(list->field(QStringLiteral("namep")), QStringLiteral("2"));
        // Forward only: a row before the current one is not found.
        QVERIFY(!list->find(QStringLiteral("ID=%1").arg(keys[0])));
        QVERIFY(list->eof());
        QCOMPARE(list->currentRow(), list->recordCount());
        QCOMPARE(list->field(QStringLiteral("namep")), QString());
        QCOMPARE(list->currentKey(), 0);
    }

    void deleteRemovesTheRowAtOnce()
    {
        addPlan(QStringLiteral("a"));
        addPlan(QStringLiteral("b"));
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QSignalSpy removed(list.get(), &DataSource::rowRemoved);
        list->setCurrentRow(1);
        QVERIFY(list->deleteCurrent());
        QCOMPARE(removed.count(), 1);
        QCOMPARE(list->recordCount(), 1);
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(list->deleteCurrent());
        QCOMPARE(list->recordCount(), 0);
        QVERIFY(!list->deleteCurrent()); // nothing left: a failure, not a crash
        QVERIFY(!list->lastError().isEmpty());
        QCOMPARE(openSource(QStringLiteral("SELECT * FROM winhost"))->recordCount(), 0);
    }

    void failedUpdateLeavesDatabaseAndControlsAsTheyWere()
    {
        addPlan(QStringLiteral("a"));
        auto editor = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=0"));
        QLineEdit name;
        editor->bind(&name, QStringLiteral("namep"));
        editor->addNew();
        name.setText(QStringLiteral("تايپ شده"));

        // Another connection holds the write lock: the store is refused.
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(m_program->dbPath()).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_busy_timeout(other, 0);
        Database::closeAll(); // reopen with a short wait so the test stays quick
        QVERIFY(!editor->update());
        QVERIFY(!editor->lastError().isEmpty());
        QCOMPARE(name.text(), QStringLiteral("تايپ شده"));
        QVERIFY(editor->isNewRow());
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);

        QCOMPARE(openSource(QStringLiteral("SELECT * FROM winhost"))->recordCount(), 1);
        // Once the lock is gone the same typed row stores.
        QVERIFY2(editor->update(), qPrintable(editor->lastError()));
        QCOMPARE(openSource(QStringLiteral("SELECT * FROM winhost"))->recordCount(), 2);
    }

    void updateOfARowDeletedMeanwhileFails()
    {
        const qint32 key = addPlan(QStringLiteral("a"));
        auto editor = openSource(QStringLiteral("SELECT * FROM winhost WHERE ID=%1").arg(key));
        QLineEdit name;
        editor->bind(&name, QStringLiteral("namep"));
        auto list = openSource(QStringLiteral("SELECT * FROM winhost"));
        QVERIFY(list->deleteCurrent());
        name.setText(QStringLiteral("b"));
        QVERIFY(!editor->update());
        QCOMPARE(openSource(QStringLiteral("SELECT * FROM winhost"))->recordCount(), 0);
    }

    void missingKeyGivesAnEmptyRecordSet()
    {
        auto editor = openSource(QStringLiteral("SELECT * FROM newmoshtary WHERE ID=42"));
        QLineEdit user;
        editor->bind(&user, QStringLiteral("nuser"));
        QCOMPARE(editor->recordCount(), 0);
        QVERIFY(editor->eof());
        QVERIFY(user.text().isEmpty());
        QVERIFY(!editor->update());
    }
};

QTEST_MAIN(TestDataSource)
#include "tst_data_source.moc"
