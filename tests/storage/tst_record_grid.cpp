// The record grid over a data source: current row in both directions, choosing versus moving.
#include "storage/data_source.h"
#include "storage/record_grid.h"
#include "support/fixtures.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestRecordGrid : public QObject
{
    Q_OBJECT
    static void seed(int count)
    {
        for (int i = 0; i < count; ++i)
            fixtures::insert(QStringLiteral("newdomin"), {{"pd", QStringLiteral("ext%1").arg(i)},
                                                          {"ghemats", i % 2 ? fixtures::kTwoYears : fixtures::kOneYear}});
    }

private Q_SLOTS:
    void gridFollowsTheSourceAndBack()
    {
        TestProgram program;
        seed(3);
        DataSource source;
        source.setConnectionString(DataSource::connectionTextForProgramFolder());
        source.setRecordSource(QStringLiteral("SELECT * FROM newdomin"));
        QVERIFY(source.refresh());
        QLineEdit carrier;
        source.bind(&carrier, QStringLiteral("ghemats"));
        RecordGrid grid;
        grid.setDataSource(&source, {{QStringLiteral("     شماره ثبت"), QStringLiteral("ID"), 1000},
                                     {QStringLiteral("        پسوند دامنه"), QStringLiteral("pd"), 1500}});
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(grid.currentIndex().row(), 0);

        QSignalSpy changed(&grid, &RecordGrid::rowChanged);
        QSignalSpy changedFrom(&grid, &RecordGrid::rowColChanged);
        QSignalSpy chosen(&grid, &RecordGrid::rowChosen);
        // The user moves: the source follows, the bound carrier box shows the new row.
        QTest::keyClick(grid.viewport(), Qt::Key_Down);
        QCOMPARE(source.currentRow(), 1);
        QCOMPARE(carrier.text(), QStringLiteral("قيمت دو ساله :"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changedFrom.count(), 1);
        QCOMPARE(changedFrom.first().first().toInt(), 0);
        QCOMPARE(chosen.count(), 0);

        // Enter chooses without moving.
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(changed.count(), 1);

        // A double click on a row chooses it.
        const QRect cell = grid.visualRect(grid.model()->index(2, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(source.currentRow(), 2);
        QCOMPARE(chosen.count(), 2);
        // Below the rows of a filled grid a double click chooses nothing.
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(cell.center().x(), grid.viewport()->height() - 5));
        QCOMPARE(chosen.count(), 2);

        // The program moves the source (Find): the grid follows, without a "user moved" signal.
        const int before = changed.count();
        source.setCurrentRow(0);
        source.find(QStringLiteral("ID=%1").arg(source.value(1, source.columnIndex(QStringLiteral("ID")))));
        QCOMPARE(grid.currentIndex().row(), 1);
        QCOMPARE(changed.count(), before);

        grid.setColumnCaption(1, QStringLiteral("قيمت پنج ساله :"));
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("قيمت پنج ساله :"));

        // Deleting the current row removes it from the grid at once.
        QVERIFY(source.deleteCurrent());
        QCOMPARE(grid.model()->rowCount(), 2);
    }

    // Columns fit the longest value of the first screen (an e-mail whole, a 200-character address
    // up to a limit, short keys narrower than designed); the strip beside the rows marks the
    // current one.
    void columnsFitAndTheCurrentRowIsMarked()
    {
        TestProgram program;
        const QString email = QStringLiteral("maryam.karimi.hosting@example-shop.com");
        const QString address = QString(QStringLiteral("تهران، خيابان آزادي، کوچه ")).repeated(8);
        fixtures::insert(QStringLiteral("newmoshtary"), {{"email", email}, {"sa", address}});
        fixtures::insert(QStringLiteral("newmoshtary"), {{"email", QStringLiteral("a@b.ir")}});
        auto source = fixtures::openSource(QStringLiteral("SELECT * FROM newmoshtary"));
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
    }

    void emptyGridStillReportsAChoice()
    {
        TestProgram program;
        DataSource source;
        source.setConnectionString(DataSource::connectionTextForProgramFolder());
        source.setRecordSource(QStringLiteral("SELECT * FROM newdomin"));
        QVERIFY(source.refresh());
        RecordGrid grid;
        grid.setDataSource(&source, {{QStringLiteral("x"), QStringLiteral("pd"), 1500}});
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy chosen(&grid, &RecordGrid::rowChosen);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(source.recordCount(), 0);
    }
};

QTEST_MAIN(TestRecordGrid)
#include "tst_record_grid.moc"
