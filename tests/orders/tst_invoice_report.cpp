// DataReport1 on its own: the logo, the preview, and what the report paints into the preview's
// recording and into a PDF read back with poppler's pdftotext.
#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "storage/data_source.h"
#include "support/fixtures.h"

#include <QFile>
#include <QPainter>
#include <QPicture>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace fixtures;
using namespace Qt::Literals::StringLiterals;

namespace {

using Values = QMap<QString, QString>;

const Values kOrder = {
    {"nuser", "ali_k"}, {"name", "علي"},     {"fname", "کريمي"},   {"email", "ali@example.com"},
    {"npah", "پنل طلايي"}, {"sal", "قيمت يک ساله :"}, {"hz", "250000"}, {"nd1", "example"}, {"nd2", "com"},
    {"htsd2", "قيمت دو ساله :"}, {"htsd1", "30000"}, {"hras", "10000"}, {"dhkh", "5000"}, {"khas", "295000"},
    {"mgzas", "تحويل فوري"}, {"tss", "1388/11/07"},
};

// An order with long values: long Persian names, a long e-mail, `noteLines` lines of notes.
Values longOrder(int noteLines)
{
    QStringList notes;
    for (int i = 1; i <= noteLines; ++i)
        notes << u"سطر %1: پشتيباني شبانه روزي و انتقال رايگان ايميل ها"_s.arg(i);
    Values order = kOrder;
    order.insert(Values{{"name", "محمدرضا عبدالحسين"}, {"fname", "ميرزاآقايي شهرستاني نژاد"},
                        {"email", "mohammadreza.mirzaaghaei@rezaeishop-hosting.com"},
                        {"npah", "پنل طلايي ويژه فروشگاه هاي اينترنتي با پشتيباني شبانه روزي"},
                        {"hz", "12500000"}, {"nd1", "rezaeishop-hosting"}, {"nd2", "co.ir"}, {"khas", "14700000"},
                        {"mgzas", notes.join(QLatin1Char('\n'))}});
    return order;
}

// A 200-character address with a web address in it.
const QString kAddress = QStringLiteral(
    "تهران، خيابان وليعصر، بالاتر از پارک ساعي، کوچه شهيد محمدرضا رضايي، پلاک 1234، طبقه سوم، "
    "واحد 12، فروشگاه اينترنتي رضايي www.rezaeishop.com تلفن 021-88776655 کدپستي 1234567890");

// The order stored, and a one-row data source on it as the print step makes it.
std::unique_ptr<DataSource> storedOrder(const Values& order, qint32* id = nullptr)
{
    const qint32 key = insert(u"ss"_s, order);
    if (id)
        *id = key;
    return openSource(u"SELECT * FROM ss WHERE ID="_s + QString::number(key));
}

// What a reader of a PDF compares: the letters and digits in order, as they are. (pdftotext
// wraps right-to-left lines in embedding marks, may move blanks and punctuation next to digits,
// and a long value is broken over lines.)
QString comparable(const QString& text)
{
    QString letters;
    for (const QChar c : text)
        if (c.isLetterOrNumber())
            letters += c;
    return letters;
}

// Whether the PDF's text holds a stored value letter for letter. Lam and alef are drawn as one
// glyph, and poppler sets down the two letters of such a glyph left to right even in a right-to-
// left line: it reads "ال" where "لا" was stored.
bool holds(const QString& text, const QString& value)
{
    return comparable(text).contains(comparable(value)) ||
           comparable(text).contains(comparable(QString(value).replace(u"لا"_s, u"ال"_s)));
}

QString pdftotext(const QStringList& arguments)
{
    QProcess process;
    process.start(u"pdftotext"_s, QStringList{u"-enc"_s, u"UTF-8"_s} + arguments);
    return process.waitForFinished(30000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

// Each word of a PDF with its box in points; the box's height follows the word's font size.
QList<std::pair<QString, QRectF>> words(const QString& path)
{
    static const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"_s);
    QList<std::pair<QString, QRectF>> found;
    for (const auto& m : word.globalMatch(pdftotext({u"-bbox"_s, path, u"-"_s})))
        found.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    return found;
}

// Where a control's text may reach on the page, from the left edge of its box to the right edge
// less its padding, in points.
std::pair<double, double> columnOf(const DataReport1& report, const QString& name)
{
    const ReportControl* c = report.control(u"Section1"_s, name);
    const int left = DataReport1::kMarginTwips + c->twips.left();
    return {left / 20.0, (left + c->twips.width() - c->paddingTwips) / 20.0};
}

} // namespace

class TestInvoiceReport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // JPEG or BMP whatever the name says; a missing or unreadable file leaves the picture as it
    // was; an empty name clears it.
    void logoLoading()
    {
        QTemporaryDir dir;
        QFile junk(dir.filePath(u"junk.jpg"_s));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture") > 0);
        junk.close();
        const QList<std::tuple<QString, QSize, bool>> steps = {
            {savePicture(dir.filePath(u"logo.JPG"_s), {40, 20}, "JPG"), {40, 20}, true},
            {savePicture(dir.filePath(u"really-bmp.jpg"_s), {10, 10}, "BMP"), {10, 10}, true},
            {dir.filePath(u"gone.jpg"_s), {10, 10}, false},
            {junk.fileName(), {10, 10}, false},
            {QString(), QSize(0, 0), true},
        };
        DataReport1 report;
        ReportControl& image = *report.control(u"Section4"_s, u"image1"_s);
        for (const auto& [path, size, loaded] : steps) {
            QCOMPARE(DataReport1::loadPicture(image, path), loaded);
            QCOMPARE(image.picture.size(), size);
        }
    }

    // The print preview records the page and plays it back later; the played-back page must
    // look like the page painted directly (blanks and marks of Persian text on their side).
    void previewPlaybackMatchesDirectPainting()
    {
        TestProgram program;
        auto source = storedOrder(kOrder);
        DataReport1 report;
        report.setDataSource(source.get());
        report.control(u"Section4"_s, u"Label3"_s)->caption = printDateText(QDate(2010, 1, 27));
        report.control(u"Section5"_s, u"Label10"_s)->caption = u"پرداخت پيش از تحويل. ( با تشکر )"_s;
        QPicture recording;
        QPainter recorder(&recording);
        report.paint(recorder);
        recorder.end();
        const int dpi = recording.logicalDpiX();
        const QImage direct = report.toImage(dpi);
        QImage played(direct.size(), QImage::Format_ARGB32_Premultiplied);
        played.fill(Qt::white);
        QPainter player(&played);
        player.drawPicture(QPointF(1, 1) * (DataReport1::kMarginTwips * dpi / 1440.0), recording);
        player.end();

        // Compared a little coarser than painted: edge smoothing of glyph outlines may differ,
        // a glyph in another place may not.
        const QSize coarse = direct.size() / 3;
        const QImage a = direct.scaled(coarse, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage b = played.scaled(coarse, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int ink = 0;
        int differing = 0;
        for (int y = 0; y < coarse.height(); ++y)
            for (int x = 0; x < coarse.width(); ++x) {
                ink += qGray(a.pixel(x, y)) < 160 ? 1 : 0;
                differing += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 96 ? 1 : 0;
            }
        QVERIFY(ink > 300);
        QVERIFY2(differing < ink / 50, qPrintable(u"%1 of %2"_s.arg(differing).arg(ink)));
    }

    void previewOpensMaximizedAtPageWidth()
    {
        DataReport1 report;
        InvoicePreview preview(report, u"7"_s);
        QVERIFY(preview.windowState() & Qt::WindowMaximized);
        QCOMPARE(preview.findChild<QPrintPreviewWidget*>()->zoomMode(), QPrintPreviewWidget::FitToWidth);
        QCOMPARE(preview.windowTitle(), u"کروانتا  - گزارش گيري سفارش"_s);
        QCOMPARE(preview.layoutDirection(), Qt::RightToLeft);
    }

    // Every value of the bound order is in the PDF's text as stored, none cut ("…") or set below
    // 8 pt; Latin runs stay whole; the total is as large as its parts; notes longer than a page
    // go on over the next page.
    void pdfHoldsEveryValueLegibly_data()
    {
        QTest::addColumn<Values>("order");
        QTest::addColumn<int>("pages");
        QTest::newRow("short values") << kOrder << 1;
        QTest::newRow("long values, ten lines of notes") << longOrder(10) << 1;
        QTest::newRow("notes longer than a page") << longOrder(90) << 2;
    }
    void pdfHoldsEveryValueLegibly()
    {
        QFETCH(Values, order);
        QFETCH(int, pages);
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext is not installed");
        TestProgram program;
        qint32 id = 0;
        auto source = storedOrder(order, &id);
        DataReport1 report;
        report.setDataSource(source.get());
        // (sections and controls are found by name without regard to letter case)
        QVERIFY(!report.control(u"Section4"_s, u"Label1x"_s) && !report.control(u"Section9"_s, u"Label1"_s));
        const QList<std::tuple<QString, QString, QString>> filled = {
            {"section4", "LABEL1", "فروشگاه اينترنتي رضايي Rezaei Host"},
            {"Section4", "label4", "صورتحساب فروش خدمات ميزباني وب"},
            {"Section4", "Label6", printTimeText(QTime(9, 5, 3))},
            {"Section4", "Label3", printDateText(QDate(2026, 12, 6))},
            {"SECTION5", "Label10", "پرداخت پيش از تحويل. ( با تشکر )"},
            {"Section5", "Label9", kAddress}};
        QStringList values = order.values();
        values.removeAll(order["nuser"]); // the one field the invoice leaves out
        values << QString::number(id);
        for (const auto& [section, name, text] : filled) {
            report.control(section, name)->caption = text;
            values << text;
        }

        const QString path = program.folder() + u"/invoice.pdf"_s;
        QVERIFY(report.writePdf(path));
        const QString text = pdftotext({path, u"-"_s});
        QCOMPARE(text.count(QLatin1Char('\f')), pages);
        QVERIFY(!text.contains(QChar(0x2026)));
        for (const QString& value : values)
            QVERIFY2(holds(text, value), qPrintable(value + u" missing in: "_s + text));
        // Joined letters read back as letters, not as the presentation forms of the font's map.
        const auto presentationForm = [](QChar c) {
            return (c.unicode() >= 0xFB50 && c.unicode() <= 0xFDFF) || (c.unicode() >= 0xFE70 && c.unicode() <= 0xFEFF);
        };
        QVERIFY(std::none_of(text.cbegin(), text.cend(), presentationForm));

        const auto found = words(path);
        QHash<QString, QRectF> at;
        for (const auto& [word, box] : found)
            at[word] = box;
        for (const QString& latin : {order["email"], order["nd1"] + '.' + order["nd2"], u"www.rezaeishop.com"_s})
            QVERIFY2(at.contains(latin) || text.contains(latin), qPrintable(latin)); // one word, or one run of words
        // A phone number after Persian words keeps its groups in order.
        QVERIFY(at.contains(u"021-88776655"_s));
        // A word's height is its font size times a measure of its face; the title's Latin word
        // is set at the title's size.
        const double perPoint = at[u"Rezaei"_s].height() /
                                DataReport1::resolvedFont(*report.control(u"Section4"_s, u"Label1"_s)).pointSizeF();
        for (const auto& [word, box] : found)
            QVERIFY2(box.height() >= 8 * perPoint - 0.01, qPrintable(word));
        QVERIFY(at[order["khas"]].height() >= std::max(at[order["hras"]].height(), at[order["dhkh"]].height()));

        // Right-aligned values end at the right of their boxes, Latin (the e-mail) and Persian
        // (the plan, on its price's line); a fixed caption has its colon at its left end.
        const auto wordsOnLine = [&](const QString& anchor, const QString& column) {
            const auto [left, right] = columnOf(report, column);
            QList<std::pair<QString, QRectF>> line;
            for (const auto& [word, box] : found)
                if (std::abs(box.bottom() - at[anchor].bottom()) < 1.5 && box.left() > left - 0.5 && box.right() < right + 0.5)
                    line.append({word, box});
            std::sort(line.begin(), line.end(), [](const auto& a, const auto& b) { return a.second.left() < b.second.left(); });
            return line;
        };
        QVERIFY(at[order["email"]].right() > columnOf(report, u"Text4"_s).second - 1);
        const auto plan = wordsOnLine(order["hz"], u"Text5"_s);
        QVERIFY(!plan.isEmpty() && plan.last().second.right() > columnOf(report, u"Text5"_s).second - 1);
        const auto caption = wordsOnLine(order["email"], u"Label14"_s);
        QVERIFY(!caption.isEmpty() && caption.first().first == u":"_s);

        // The recordset closed, the boxes show nothing; a PDF that cannot be written leaves no
        // file behind.
        source.reset();
        QCOMPARE(report.displayText(*report.control(u"Section1"_s, u"text4"_s)), QString());
        const QString badPath = program.folder() + u"/no-such-folder/invoice.pdf"_s;
        QVERIFY(!report.writePdf(badPath));
        QVERIFY(!QFile::exists(badPath));
    }
};

QTEST_MAIN(TestInvoiceReport)
#include "tst_invoice_report.moc"
