// DataReport1 on its own: its layout, the bound detail row, the logo, and what it paints on an
// image and into a PDF file.
#include "orders/invoice_report.h"
#include "storage/data_source.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace fixtures;

namespace {

const QMap<QString, QString> kOrder = {
    {QStringLiteral("nuser"), QStringLiteral("ali_k")},
    {QStringLiteral("name"), QStringLiteral("علي")},
    {QStringLiteral("fname"), QStringLiteral("کريمي")},
    {QStringLiteral("email"), QStringLiteral("ali@example.com")},
    {QStringLiteral("npah"), QStringLiteral("پنل طلايي")},
    {QStringLiteral("sal"), QStringLiteral("قيمت يک ساله :")},
    {QStringLiteral("hz"), QStringLiteral("250000")},
    {QStringLiteral("nd1"), QStringLiteral("example")},
    {QStringLiteral("nd2"), QStringLiteral("com")},
    {QStringLiteral("htsd2"), QStringLiteral("قيمت دو ساله :")},
    {QStringLiteral("htsd1"), QStringLiteral("30000")},
    {QStringLiteral("hras"), QStringLiteral("10000")},
    {QStringLiteral("dhkh"), QStringLiteral("5000")},
    {QStringLiteral("khas"), QStringLiteral("295000")},
    {QStringLiteral("mgzas"), QStringLiteral("تحويل فوري")},
    {QStringLiteral("tss"), QStringLiteral("1388/11/07")},
};

// The order stored, and a one-row data source on it as the print step makes it.
std::unique_ptr<DataSource> storedOrder(qint32* id = nullptr)
{
    const qint32 key = insert(QStringLiteral("ss"), kOrder);
    if (id)
        *id = key;
    return openSource(QStringLiteral("SELECT * FROM ss WHERE ID=") + QString::number(key));
}

QImage solidPicture(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 128;
}

// The horizontal extent of dark pixels inside a rectangle of the image; empty when none.
std::pair<int, int> inkColumns(const QImage& image, const QRect& area)
{
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (isInk(image.pixel(x, y))) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

constexpr int kDpi = 144;

// A control's box on the image made by toImage(kDpi); `inner` leaves out its padding.
QRect boxOnImage(const DataReport1& report, const QString& section, const QString& name, bool inner = false)
{
    const ReportControl* c = report.control(section, name);
    const double scale = kDpi / 1440.0;
    const int padding = inner ? c->paddingTwips : 0;
    const int leftPadding = (c->alignment & Qt::AlignRight) ? 0 : padding;
    const int rightPadding = (c->alignment & Qt::AlignLeft) ? 0 : padding;
    const int top = DataReport1::kMarginTwips + report.sectionTopTwips(section) + c->twips.top();
    const int left = DataReport1::kMarginTwips + c->twips.left() + leftPadding;
    return QRect(qRound(left * scale), qRound(top * scale),
                 qRound((c->twips.width() - leftPadding - rightPadding) * scale),
                 qRound(c->twips.height() * scale));
}

} // namespace

class TestInvoiceReport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controlsByNameIgnoringCase()
    {
        DataReport1 report;
        const ReportControl* title = report.control(QStringLiteral("section4"), QStringLiteral("LABEL1"));
        QVERIFY(title);
        QCOMPARE(report.displayText(*title), QStringLiteral("نام شرکت در تنظيمات فاکتور"));
        QCOMPARE(report.control(QStringLiteral("Section1"), QStringLiteral("label11"))->caption, QStringLiteral(": شماره ثبت "));
        QVERIFY(!report.control(QStringLiteral("Section4"), QStringLiteral("Label1x")));
        QVERIFY(!report.control(QStringLiteral("Section9"), QStringLiteral("Label1")));
    }

    void missingFontFallsBackToTheApplicationFont()
    {
        if (QFontDatabase::families().contains(QStringLiteral("Arial"), Qt::CaseInsensitive))
            QSKIP("Arial is installed here");
        const QFont saved = QApplication::font();
        QFont persian = saved;
        persian.setFamily(QStringLiteral("Noto Naskh Arabic"));
        QApplication::setFont(persian);
        DataReport1 report;
        const QFont f =
            DataReport1::resolvedFont(*report.control(QStringLiteral("Section5"), QStringLiteral("Label9")));
        QApplication::setFont(saved);
        QCOMPARE(f.family(), persian.family());
    }

    void detailShowsTheBoundRow()
    {
        TestProgram program;
        qint32 id = 0;
        auto source = storedOrder(&id);
        DataReport1 report;
        const ReportControl* email = report.control(QStringLiteral("Section1"), QStringLiteral("Text4"));
        QCOMPARE(report.displayText(*email), QString()); // no data source yet
        report.setDataSource(source.get());

        const QList<std::pair<const char*, QString>> expected = {
            {"Text1", QString::number(id)}, {"Text2", kOrder["name"]},   {"Text3", kOrder["fname"]},
            {"Text4", kOrder["email"]},     {"Text5", kOrder["npah"]},   {"Text6", kOrder["sal"]},
            {"Text7", kOrder["hz"]},        {"Text8", kOrder["nd2"]},    {"Text9", kOrder["nd1"]},
            {"Text10", kOrder["htsd2"]},    {"Text11", kOrder["htsd1"]}, {"Text12", kOrder["mgzas"]},
            {"Text13", kOrder["hras"]},     {"Text14", kOrder["dhkh"]},  {"Text15", kOrder["khas"]},
            {"Text16", kOrder["tss"]},
        };
        for (const auto& [name, value] : expected) {
            const ReportControl* c = report.control(QStringLiteral("Section1"), QString::fromLatin1(name));
            QVERIFY2(c && c->kind == ReportControlKind::TextBox, name);
            QCOMPARE(report.displayText(*c), value);
        }
        // The customer's user name is the one field the invoice leaves out.
        for (const ReportSection& s : report.sections())
            for (const ReportControl& c : s.controls)
                QVERIFY(c.dataField != QStringLiteral("nuser"));

        source.reset(); // the recordset closed: the boxes show nothing, nothing dangles
        QCOMPARE(report.displayText(*email), QString());
    }

    // JPEG or BMP whatever the name says; a missing or unreadable file leaves the picture as it
    // was; an empty name clears it.
    void pictureLoading()
    {
        QTemporaryDir dir;
        QFile junk(dir.filePath(QStringLiteral("junk.jpg")));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture") > 0);
        junk.close();
        const QList<std::tuple<QString, QSize, bool>> steps = {
            {savePicture(dir.filePath(QStringLiteral("logo.JPG")), {40, 20}, "JPG"), {40, 20}, true},
            {savePicture(dir.filePath(QStringLiteral("logo.BMP")), {30, 60}, "BMP"), {30, 60}, true},
            {savePicture(dir.filePath(QStringLiteral("really-bmp.jpg")), {10, 10}, "BMP"), {10, 10}, true},
            {dir.filePath(QStringLiteral("gone.jpg")), {10, 10}, false},
            {junk.fileName(), {10, 10}, false},
            {QString(), QSize(0, 0), true},
        };
        DataReport1 report;
        ReportControl& image = *report.control(QStringLiteral("Section4"), QStringLiteral("image1"));
        QVERIFY(image.picture.isNull());
        for (const auto& [path, size, loaded] : steps) {
            QCOMPARE(DataReport1::loadPicture(image, path), loaded);
            QCOMPARE(image.picture.size(), size);
        }
    }

    // Boxes aligned right are right-aligned on the page, Persian text as well as Latin;
    // boxes aligned left stay left.
    void imageAlignment()
    {
        TestProgram program;
        auto source = storedOrder();
        DataReport1 report;
        report.setDataSource(source.get());
        const QImage page = report.toImage(kDpi);
        // Persian name, order number, Persian notes in a wide box: right; the extension: left.
        for (const auto& [name, right] : {std::pair{"Text2", true}, {"Text1", true}, {"Text12", true}, {"Text8", false}}) {
            const QRect box = boxOnImage(report, QStringLiteral("Section1"), QString::fromLatin1(name), true);
            const auto [first, last] = inkColumns(page, box);
            QVERIFY2(first >= 0, name);
            const int slack = 4;
            if (right)
                QVERIFY2(last >= box.right() - slack && first > box.left() + 3 * slack, name);
            else
                QVERIFY2(first <= box.left() + slack && last < box.right() - 3 * slack, name);
        }

        // The fixed caption reads with its colon at the left end: the leftmost ink is the
        // colon's narrow column, followed by a gap.
        const QRect caption = boxOnImage(report, QStringLiteral("Section1"), QStringLiteral("Label16"));
        const int captionLeft = inkColumns(page, caption).first;
        const int afterColon =
            inkColumns(page, QRect(captionLeft + 4, caption.top(), caption.right() - captionLeft - 4, caption.height())).first;
        QVERIFY(afterColon - captionLeft >= 5);
    }

    // The print preview records the page and plays it back later; the played-back page must
    // look like the page painted directly (blanks and marks of Persian text on their side).
    void previewPlaybackMatchesDirectPainting()
    {
        TestProgram program;
        auto source = storedOrder();
        DataReport1 report;
        report.setDataSource(source.get());
        report.control(QStringLiteral("Section4"), QStringLiteral("Label3"))->caption =
            printDateText(QDate(2010, 1, 27));
        report.control(QStringLiteral("Section5"), QStringLiteral("Label10"))->caption =
            QStringLiteral("پرداخت پيش از تحويل. ( با تشکر )");

        QPicture recording;
        QPainter recorder(&recording);
        report.paint(recorder);
        recorder.end();

        const int dpi = recording.logicalDpiX();
        const QImage direct = report.toImage(dpi);
        QImage played(direct.size(), QImage::Format_ARGB32_Premultiplied);
        played.setDotsPerMeterX(direct.dotsPerMeterX());
        played.setDotsPerMeterY(direct.dotsPerMeterY());
        played.fill(Qt::white);
        QPainter player(&played);
        const double margin = DataReport1::kMarginTwips * dpi / 1440.0;
        player.drawPicture(QPointF(margin, margin), recording);
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
                const int da = qGray(a.pixel(x, y));
                const int db = qGray(b.pixel(x, y));
                ink += da < 160 ? 1 : 0;
                differing += std::abs(da - db) > 96 ? 1 : 0;
            }
        QVERIFY(ink > 300);
        QVERIFY2(differing < ink / 50, qPrintable(QStringLiteral("%1 of %2").arg(differing).arg(ink)));
    }

    void logoFitsItsBoxKeepingItsShape()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wide.bmp"));
        QVERIFY(solidPicture(200, 100, Qt::red).save(path, "BMP"));
        DataReport1 report;
        QVERIFY(DataReport1::loadPicture(
            *report.control(QStringLiteral("Section4"), QStringLiteral("Image1")), path));
        const QImage page = report.toImage(kDpi);
        const QRect box = boxOnImage(report, QStringLiteral("Section4"), QStringLiteral("Image1"));
        auto isRed = [&](int x, int y) {
            const QColor c = page.pixelColor(x, y);
            return c.red() > 200 && c.green() < 60 && c.blue() < 60;
        };
        // 1650 twips wide, so 825 high, centred: red across the middle, white above and below.
        QVERIFY(isRed(box.center().x(), box.center().y()));
        QVERIFY(isRed(box.left() + 2, box.center().y()));
        const int fittedHalf = qRound(825 * 0.1 / 2);
        QVERIFY(isRed(box.center().x(), box.center().y() - fittedHalf + 2));
        QVERIFY(!isRed(box.center().x(), box.center().y() - fittedHalf - 3));
    }

    void pdfHoldsTheOrder()
    {
        TestProgram program;
        qint32 id = 0;
        auto source = storedOrder(&id);
        DataReport1 report;
        report.setDataSource(source.get());
        report.control(QStringLiteral("Section4"), QStringLiteral("Label1"))->caption =
            QStringLiteral("Sarvendo Host");

        const QString path = program.folder() + QStringLiteral("/invoice.pdf");
        QVERIFY(report.writePdf(path));
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        pdf.close();

        // A PDF that cannot be written leaves no file behind.
        const QString badPath = program.folder() + QStringLiteral("/no-such-folder/invoice.pdf");
        QVERIFY(!report.writePdf(badPath));
        QVERIFY(!QFile::exists(badPath));

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QProcess process;
        process.start(pdftotext,
                      {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString& value :
             {QString::number(id), kOrder["email"], kOrder["hz"], kOrder["khas"], kOrder["hras"],
              kOrder["dhkh"], kOrder["htsd1"], kOrder["nd1"], kOrder["tss"], QStringLiteral("Sarvendo Host")})
            QVERIFY2(text.contains(value), qPrintable(value + QStringLiteral(" missing in: ") + text));
    }
};

QTEST_MAIN(TestInvoiceReport)
#include "tst_invoice_report.moc"
