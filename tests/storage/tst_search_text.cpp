// Search keys (what the list search treats as the same text) and the CSV files the lists write.
#include "storage/csv_file.h"
#include "storage/search_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
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

class TestSearchText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TestSearchText)
#include "tst_search_text.moc"
