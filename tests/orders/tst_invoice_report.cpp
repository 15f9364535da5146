// DataReport1 on its own: controls by name, the bound detail row, the logo, and what it paints
// on an image, into the preview's recording and into a PDF read back with poppler's pdftotext.
#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "storage/data_source.h"
#include "support/fixtures.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

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
    "واحد 12، فروشگاه اينترنتي رضايي www.rezaeishop.com تلفن 02188776655 کدپستي 1234567890");

// The order stored, and a one-row data source on it as the print step makes it.
std::unique_ptr<DataSource> storedOrder(const Values& order, qint32* id = nullptr)
{
    const qint32 key = insert(u"ss"_s, order);
    if (id)
        *id = key;
    return openSource(u"SELECT * FROM ss WHERE ID="_s + QString::number(key));
}

// What a reader of a PDF compares: the letters and digits in order, compatibility forms folded.
// (pdftotext's reordering of right-to-left lines may move blanks and punctuation next to digits.)
QString comparable(const QString& text)
{
    QString letters;
    for (const QChar c : text.normalized(QString::NormalizationForm_KC))
        if (c.isLetterOrNumber())
            letters += c;
    return letters;
}

QString pdftotext(const QStringList& arguments)
{
    QProcess process;
    process.start(u"pdftotext"_s, QStringList{u"-enc"_s, u"UTF-8"_s} + arguments);
    return process.waitForFinished(30000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

// Each word of a PDF with its height in points, which follows its font size.
QList<std::pair<QString, double>> wordHeights(const QString& path)
{
    static const QRegularExpression word(uR"re(<word [^>]*yMin="([\d.]+)" [^>]*yMax="([\d.]+)">([^<]*)</word>)re"_s);
    QList<std::pair<QString, double>> words;
    for (const auto& m : word.globalMatch(pdftotext({u"-bbox"_s, path, u"-"_s})))
        words.append({m.captured(3), m.captured(2).toDouble() - m.captured(1).toDouble()});
    return words;
}

// The height of the report's smallest font's words at 8 points.
double heightAtEightPoints(const DataReport1& report, const QString& path)
{
    QFont font = DataReport1::resolvedFont(*report.control(u"Section1"_s, u"Label11"_s));
    font.setPointSizeF(8);
    {
        QPdfWriter writer(path);
        QPainter painter(&writer);
        painter.setFont(font);
        painter.drawText(QPointF(100, 500), u"نام reference 1234"_s);
    }
    double smallest = 1e9;
    for (const auto& [text, height] : wordHeights(path))
        smallest = std::min(smallest, height);
    return smallest;
}

// The horizontal extent of dark pixels inside a rectangle of the image.
std::pair<int, int> inkColumns(const QImage& image, const QRect& area)
{
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return {first, last};
}

constexpr double kScale = 144 / 1440.0; // images at 144 dpi

// A control's box as designed (less its padding) on the image of the report.
QRect boxOnImage(const DataReport1& report, const QString& section, const QString& name)
{
    const ReportControl* c = report.control(section, name);
    const int left = (c->alignment & Qt::AlignRight) ? 0 : c->paddingTwips;
    const int right = (c->alignment & Qt::AlignLeft) ? 0 : c->paddingTwips;
    const int top = DataReport1::kMarginTwips + report.sectionTopTwips(section) + c->twips.top();
    return QRect(qRound((DataReport1::kMarginTwips + c->twips.left() + left) * kScale), qRound(top * kScale),
                 qRound((c->twips.width() - left - right) * kScale), qRound(c->twips.height() * kScale));
}

} // namespace

class TestInvoiceReport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Sections and controls by name without regard to letter case; each text box shows its
    // field of the bound row, and nothing once the row's recordset is closed.
    void detailShowsTheBoundRowByName()
    {
        TestProgram program;
        qint32 id = 0;
        auto source = storedOrder(kOrder, &id);
        DataReport1 report;
        QCOMPARE(report.displayText(*report.control(u"section4"_s, u"LABEL1"_s)), u"نام شرکت در تنظيمات فاکتور"_s);
        QCOMPARE(report.control(u"Section1"_s, u"label11"_s)->caption, u": شماره ثبت "_s);
        QVERIFY(!report.control(u"Section4"_s, u"Label1x"_s));
        QVERIFY(!report.control(u"Section9"_s, u"Label1"_s));
        const ReportControl* email = report.control(u"Section1"_s, u"Text4"_s);
        QCOMPARE(report.displayText(*email), QString()); // no data source yet
        report.setDataSource(source.get());

        const QStringList fields = {"ID",  "name",  "fname", "email", "npah", "sal",  "hz",   "nd2",
                                    "nd1", "htsd2", "htsd1", "mgzas", "hras", "dhkh", "khas", "tss"};
        for (int i = 0; i < fields.size(); ++i) {
            const ReportControl* c = report.control(u"Section1"_s, u"Text%1"_s.arg(i + 1));
            QVERIFY(c && c->kind == ReportControlKind::TextBox);
            QCOMPARE(report.displayText(*c), i == 0 ? QString::number(id) : kOrder[fields[i]]);
        }
        source.reset();
        QCOMPARE(report.displayText(*email), QString());
    }

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

    // Boxes aligned right are right-aligned on the page, Persian text as well as Latin; boxes
    // aligned left stay left; a fixed caption has its colon at its left end; the logo keeps its
    // shape, centred in its box.
    void paintedPage()
    {
        TestProgram program;
        auto source = storedOrder(kOrder);
        DataReport1 report;
        report.setDataSource(source.get());
        for (const char* title : {"Label1", "Label4"}) // printed short or empty: the rows keep their places
            report.control(u"Section4"_s, QString::fromLatin1(title))->caption.clear();
        QImage& logo = report.control(u"Section4"_s, u"Image1"_s)->picture;
        logo = QImage(200, 100, QImage::Format_RGB32);
        logo.fill(Qt::red);
        const QImage page = report.toImage(144);

        for (const auto& [name, right] : {std::pair{"Text2", true}, {"Text1", true}, {"Text4", true}, {"Text8", false}}) {
            // (a neighbour's glyphs may reach a little into the box on the side away from the text)
            const QRect box = boxOnImage(report, u"Section1"_s, QString::fromLatin1(name));
            const auto [first, last] = inkColumns(page, box.adjusted(right ? 8 : 0, 0, right ? 0 : -8, 6));
            QVERIFY2(first >= 0, name);
            if (right)
                QVERIFY2(last >= box.right() - 4 && first > box.left() + 20, name);
            else
                QVERIFY2(first <= box.left() + 4 && last < box.right() - 20, name);
        }
        const QRect caption = boxOnImage(report, u"Section1"_s, u"Label16"_s).adjusted(0, 0, 0, 6);
        const int colon = inkColumns(page, caption).first;
        QVERIFY(inkColumns(page, caption.adjusted(colon + 4 - caption.left(), 0, 0, 0)).first - colon >= 5);

        const QRect box = boxOnImage(report, u"Section4"_s, u"Image1"_s);
        const auto isRed = [&](int x, int y) { return page.pixelColor(x, y) == QColor(Qt::red); };
        const int fittedHalf = qRound(825 * kScale / 2); // 1650 twips wide, so 825 high
        QVERIFY(isRed(box.left() + 2, box.center().y()));
        QVERIFY(isRed(box.center().x(), box.center().y() - fittedHalf + 2));
        QVERIFY(!isRed(box.center().x(), box.center().y() - fittedHalf - 3));
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

    // Every value of the order is in the PDF's text as stored, none cut ("…") or set below
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
        const QList<std::tuple<QString, QString, QString>> filled = {
            {"Section4", "Label1", "فروشگاه اينترنتي رضايي Rezaei Host"},
            {"Section4", "Label4", "صورتحساب فروش خدمات ميزباني وب"},
            {"Section4", "Label6", printTimeText(QTime(9, 5, 3))},
            {"Section4", "Label3", printDateText(QDate(2026, 12, 6))},
            {"Section5", "Label10", "پرداخت پيش از تحويل. ( با تشکر )"},
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
            QVERIFY2(comparable(text).contains(comparable(value)), qPrintable(value + u" missing in: "_s + text));

        const double eightPoints = heightAtEightPoints(report, program.folder() + u"/8pt.pdf"_s);
        QHash<QString, double> heightOf;
        for (const auto& [word, height] : wordHeights(path)) {
            QVERIFY2(height >= eightPoints - 0.01, qPrintable(word));
            heightOf[word] = height;
        }
        for (const QString& latin : {order["email"], order["nd1"] + '.' + order["nd2"], u"www.rezaeishop.com"_s})
            QVERIFY2(heightOf.contains(latin) || text.contains(latin), qPrintable(latin));
        QVERIFY(heightOf[order["khas"]] >= std::max(heightOf[order["hras"]], heightOf[order["dhkh"]]));

        // A PDF that cannot be written leaves no file behind.
        const QString badPath = program.folder() + u"/no-such-folder/invoice.pdf"_s;
        QVERIFY(!report.writePdf(badPath));
        QVERIFY(!QFile::exists(badPath));
    }
};

QTEST_MAIN(TestInvoiceReport)
#include "tst_invoice_report.moc"
