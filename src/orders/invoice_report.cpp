#include "orders/invoice_report.h"

#include "calendar/solar_hijri.h"
#include "storage/data_source.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImageReader>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <QTime>

namespace {

const QString kCaption = QStringLiteral("کروانتا  - گزارش گيري سفارش");

// Design texts. The filled labels carry placeholders naming the setting that replaces them.
const QString kBusinessTitlePlaceholder = QStringLiteral("نام شرکت در تنظيمات فاکتور");
const QString kInvoiceTitlePlaceholder = QStringLiteral("عنوان فاکتور در تنظيمات فاکتور");
const QString kPrintTimeCaption = QStringLiteral(": ساعت چاپ");
const QString kPrintTimePlaceholder = QStringLiteral("Label3");
const QString kPrintDateCaption = QStringLiteral(": تاريخ چاپ");
const QString kPrintDatePlaceholder = QStringLiteral("Label3");

const QString kOrderNumberCaption = QStringLiteral(": شماره ثبت ");
const QString kNameCaption = QStringLiteral(": نام ");
const QString kFamilyNameCaption = QStringLiteral(": نام خانوادگي ");
const QString kEmailCaption = QStringLiteral(": پست الکترونيک");
const QString kPlanCaption = QStringLiteral(": نام پنل هاست انتخابي");
const QString kDomainCaption = QStringLiteral(": نام دامنه ");
const QString kDomainDot = QStringLiteral(".");
const QString kNotesCaption = QStringLiteral(": موارد قابل ذکر در اين سفارش");
const QString kSetupCostCaption = QStringLiteral(": هزينه را اندازي سرويس");
const QString kOtherCostsCaption = QStringLiteral(": ديگر هزينه خدماتي");
const QString kTotalCaption = QStringLiteral(": کل هزينه اين سفارش");
const QString kOrderDateCaption = QStringLiteral(": تاريخ ثبت اين سفارش");

const QString kInvoiceNotesPlaceholder = QStringLiteral(
    "توضيحات فاکتور براي ثبت توضيحات بايد در تنظيمات فاکتور ثبت شود . ( با تشکر گروه نرم افزاري سروندو )");
const QString kCustomerSignaturePlaceholder = QStringLiteral("امضاي مشتري در تنظيمات فاکتور");
const QString kSellerSignaturePlaceholder = QStringLiteral("مهر و امضاء فروشنده در تنظيمات فاکتور");
const QString kAddressPlaceholder = QStringLiteral("آدرس شرکت فروشنده در تنظيمات فاکتور");

const QString kBadr = QStringLiteral("Badr");
const QString kArial = QStringLiteral("Arial");

// Font slots of the layout (indexes into designFonts()).
enum FontSlot : int {
    NotesFont,
    DetailCaptionFont,
    HeaderCaptionFont,
    PeriodFont,
    DetailFieldFont,
    PrintStampFont,
    TotalFont,
    AddressFont,
    SignatureFont,
    DotFont,
    InvoiceTitleFont,
    BusinessTitleFont,
};

// Smallest size a text is shrunk to so that it fits its box.
constexpr double kSmallestPointSize = 5.0;
// Rules and frames are drawn one screen pixel wide.
constexpr double kRuleWidthTwips = 15.0;
// Room kept clear inside a box on the side its text is aligned to.
constexpr int kPaddingTwips = 30;

ReportControl label(const QString& name, const QString& caption, QRect twips, Qt::Alignment alignment,
                    int font, Qt::LayoutDirection direction = Qt::LayoutDirectionAuto)
{
    ReportControl c;
    c.name = name;
    c.kind = ReportControlKind::Label;
    c.caption = caption;
    c.twips = twips;
    c.alignment = alignment;
    c.font = font;
    c.direction = direction;
    c.paddingTwips = kPaddingTwips;
    return c;
}

// A fixed caption of the detail or the header: laid out left to right (see ReportControl).
ReportControl fixedCaption(const QString& name, const QString& caption, QRect twips, Qt::Alignment alignment,
                           int font)
{
    return label(name, caption, twips, alignment, font, Qt::LeftToRight);
}

ReportControl textBox(const QString& name, const QString& field, QRect twips, Qt::Alignment alignment,
                      int font)
{
    ReportControl c;
    c.name = name;
    c.kind = ReportControlKind::TextBox;
    c.dataField = field;
    c.twips = twips;
    c.alignment = alignment;
    c.font = font;
    c.paddingTwips = kPaddingTwips;
    return c;
}

ReportControl rule(const QString& name, int left, int top, int width)
{
    ReportControl c;
    c.name = name;
    c.kind = ReportControlKind::Line;
    c.twips = QRect(left, top, width, 0);
    return c;
}

QString lower(const QString& text)
{
    return text.toLower();
}

// The design lets a field's box reach into the caption beside it (by up to 105 twips); the
// field's text keeps clear of that caption on the side it is aligned to.
void keepFieldsClearOfNeighbours(ReportSection& section)
{
    for (ReportControl& field : section.controls) {
        if (field.kind != ReportControlKind::TextBox)
            continue;
        const QRect box = field.twips;
        for (const ReportControl& other : section.controls) {
            if (&other == &field || other.kind == ReportControlKind::Line ||
                other.kind == ReportControlKind::Shape || other.twips.bottom() < box.top() ||
                other.twips.top() > box.bottom())
                continue;
            const int boxRight = box.left() + box.width();
            const int otherRight = other.twips.left() + other.twips.width();
            int overlap = 0;
            if ((field.alignment & Qt::AlignRight) && other.twips.left() > box.left() &&
                other.twips.left() < boxRight)
                overlap = boxRight - other.twips.left();
            else if ((field.alignment & Qt::AlignLeft) && otherRight > box.left() && otherRight < boxRight)
                overlap = otherRight - box.left();
            if (overlap > 0)
                field.paddingTwips = std::max(field.paddingTwips, overlap + kPaddingTwips);
        }
    }
}

bool fontInstalled(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// The print preview records each run of text and lays it out again, left to right, when it
// shows the page; that moves the blanks and marks at the ends of Persian runs to the wrong side.
// There the text goes as glyphs already shaped and placed.
bool replaysTextRuns(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

void drawPlacedGlyphs(QPainter& painter, const QRectF& box, Qt::Alignment alignment, bool wrap,
                      const QString& text, Qt::LayoutDirection direction)
{
    QTextLayout layout(text, painter.font(), painter.device());
    QTextOption option((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignAbsolute);
    option.setTextDirection(direction);
    option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    double height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    double top = box.top();
    if (alignment & Qt::AlignBottom)
        top = box.bottom() - height;
    else if (alignment & Qt::AlignVCenter)
        top = box.top() + (box.height() - height) / 2;
    for (const QGlyphRun& run : layout.glyphRuns())
        painter.drawGlyphRun(QPointF(box.left(), top), run);
}

} // namespace

ReportControl* ReportSection::control(const QString& controlName)
{
    for (ReportControl& c : controls)
        if (lower(c.name) == lower(controlName))
            return &c;
    return nullptr;
}

const ReportControl* ReportSection::control(const QString& controlName) const
{
    return const_cast<ReportSection*>(this)->control(controlName);
}

DataReport1::DataReport1()
{
    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment centre = Qt::AlignHCenter;
    const Qt::Alignment left = Qt::AlignLeft;

    ReportSection header{QStringLiteral("Section4"), 1590, {}};
    {
        ReportControl image;
        image.name = QStringLiteral("Image1");
        image.kind = ReportControlKind::Image;
        image.twips = QRect(7125, 30, 1650, 1365);
        ReportControl frame;
        frame.name = QStringLiteral("Shape1");
        frame.kind = ReportControlKind::Shape;
        frame.twips = QRect(7095, 0, 1715, 1425);
        frame.color = QColor(192, 192, 192);
        header.controls = {
            image,
            frame,
            label(QStringLiteral("Label1"), kBusinessTitlePlaceholder, {3045, 120, 3735, 600}, centre,
                  BusinessTitleFont),
            label(QStringLiteral("Label4"), kInvoiceTitlePlaceholder, {3045, 765, 3735, 480}, centre,
                  InvoiceTitleFont),
            fixedCaption(QStringLiteral("Label5"), kPrintTimeCaption, {1770, 405, 960, 345}, right,
                         HeaderCaptionFont),
            label(QStringLiteral("Label6"), kPrintTimePlaceholder, {0, 450, 1740, 300}, right,
                  PrintStampFont),
            fixedCaption(QStringLiteral("Label2"), kPrintDateCaption, {1860, 825, 855, 345}, right,
                         HeaderCaptionFont),
            label(QStringLiteral("Label3"), kPrintDatePlaceholder, {0, 890, 1845, 285}, right,
                  PrintStampFont),
            rule(QStringLiteral("Line1"), 45, 1515, 8820),
            rule(QStringLiteral("Line2"), 30, 1545, 8835),
            rule(QStringLiteral("Line3"), 60, 1530, 8820),
        };
    }

    ReportSection detail{QStringLiteral("Section1"), 1800, {}};
    detail.controls = {
        fixedCaption(QStringLiteral("Label11"), kOrderNumberCaption, {7965, 105, 795, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text1"), QStringLiteral("ID"), {6840, 135, 1215, 300}, right,
                DetailFieldFont),
        fixedCaption(QStringLiteral("Label12"), kNameCaption, {6330, 105, 360, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text2"), QStringLiteral("name"), {5085, 135, 1305, 300}, right,
                DetailFieldFont),
        fixedCaption(QStringLiteral("Label13"), kFamilyNameCaption, {4005, 105, 930, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text3"), QStringLiteral("fname"), {2910, 135, 1170, 300}, right,
                DetailFieldFont),
        fixedCaption(QStringLiteral("Label14"), kEmailCaption, {1590, 105, 1185, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text4"), QStringLiteral("email"), {0, 135, 1650, 300}, right,
                DetailFieldFont),

        fixedCaption(QStringLiteral("Label15"), kPlanCaption, {7320, 555, 1440, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text5"), QStringLiteral("npah"), {6105, 575, 1320, 300}, right,
                DetailFieldFont),
        textBox(QStringLiteral("Text6"), QStringLiteral("sal"), {4980, 575, 945, 300}, right, PeriodFont),
        textBox(QStringLiteral("Text7"), QStringLiteral("hz"), {3870, 575, 1110, 300}, right,
                DetailFieldFont),
        fixedCaption(QStringLiteral("Label16"), kDomainCaption, {3030, 555, 675, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text8"), QStringLiteral("nd2"), {2250, 575, 720, 300}, left, DetailFieldFont),
        fixedCaption(QStringLiteral("Label17"), kDomainDot, {2145, 420, 180, 435}, left, DotFont),
        textBox(QStringLiteral("Text9"), QStringLiteral("nd1"), {0, 575, 2145, 300}, right, DetailFieldFont),

        textBox(QStringLiteral("Text10"), QStringLiteral("htsd2"), {7710, 1005, 1065, 300}, right,
                PeriodFont),
        textBox(QStringLiteral("Text11"), QStringLiteral("htsd1"), {6315, 1005, 1440, 300}, right,
                DetailFieldFont),
        fixedCaption(QStringLiteral("Label18"), kNotesCaption, {4350, 1005, 1845, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text12"), QStringLiteral("mgzas"), {0, 1000, 4335, 300}, right,
                DetailFieldFont),

        fixedCaption(QStringLiteral("Label19"), kSetupCostCaption, {7290, 1395, 1515, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text13"), QStringLiteral("hras"), {6465, 1420, 795, 300}, right,
                DetailFieldFont),
        fixedCaption(QStringLiteral("Label20"), kOtherCostsCaption, {5220, 1395, 1215, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text14"), QStringLiteral("dhkh"), {4620, 1420, 645, 300}, right,
                DetailFieldFont),
        fixedCaption(QStringLiteral("Label21"), kTotalCaption, {3210, 1395, 1350, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text15"), QStringLiteral("khas"), {2565, 1420, 660, 300}, right, TotalFont),
        fixedCaption(QStringLiteral("Label22"), kOrderDateCaption, {1065, 1395, 1455, 300}, right,
                     DetailCaptionFont),
        textBox(QStringLiteral("Text16"), QStringLiteral("tss"), {0, 1420, 1095, 300}, right,
                DetailFieldFont),
    };

    keepFieldsClearOfNeighbours(detail);
    // Name, dot and extension read as one address: no room between them, the dot on their line.
    for (const char* part : {"Text8", "Label17", "Text9"})
        detail.control(QString::fromLatin1(part))->paddingTwips = 0;
    detail.control(QStringLiteral("Label17"))->baselineOf = QStringLiteral("Text9");

    ReportSection footer{QStringLiteral("Section5"), 1995, {}};
    {
        ReportControl notes = label(QStringLiteral("Label10"), kInvoiceNotesPlaceholder, {120, 90, 8745, 750},
                                    right, NotesFont);
        notes.wordWrap = true;
        footer.controls = {
            rule(QStringLiteral("Line4"), 60, 0, 8820),
            rule(QStringLiteral("Line5"), 45, 30, 8835),
            rule(QStringLiteral("Line6"), 75, 15, 8820),
            notes,
            label(QStringLiteral("Label7"), kCustomerSignaturePlaceholder, {6735, 945, 2085, 300}, right,
                  SignatureFont),
            label(QStringLiteral("Label8"), kSellerSignaturePlaceholder, {120, 900, 2505, 300}, right,
                  SignatureFont),
            rule(QStringLiteral("Shape19"), 135, 1425, 8745),
            label(QStringLiteral("Label9"), kAddressPlaceholder, {105, 1545, 8760, 330}, centre, AddressFont),
        };
    }

    m_sections = {header, detail, footer};
}

QString DataReport1::caption() const
{
    return kCaption;
}

const std::array<ReportFont, 12>& DataReport1::designFonts()
{
    static const std::array<ReportFont, 12> fonts = {{
        {kBadr, 9.75},   // NotesFont
        {kArial, 8.25},  // DetailCaptionFont
        {kArial, 8.25},  // HeaderCaptionFont
        {kArial, 8.25},  // PeriodFont
        {kArial, 9.0},   // DetailFieldFont
        {kArial, 9.0},   // PrintStampFont
        {kArial, 9.0},   // TotalFont
        {kArial, 11.25}, // AddressFont
        {kArial, 11.25}, // SignatureFont
        {kArial, 12.75}, // DotFont
        {kArial, 14.25}, // InvoiceTitleFont
        {kArial, 15.75}, // BusinessTitleFont
    }};
    return fonts;
}

QFont DataReport1::resolvedFont(const ReportControl& control)
{
    const auto& fonts = designFonts();
    const ReportFont design = (control.font >= 0 && control.font < static_cast<int>(fonts.size()))
                                  ? fonts[static_cast<size_t>(control.font)]
                                  : ReportFont{kArial, 9.0};
    QFont font(fontInstalled(design.family) ? design.family : QApplication::font().family());
    font.setPointSizeF(design.pointSize);
    font.setBold(true);
    return font;
}

ReportSection* DataReport1::section(const QString& sectionName)
{
    for (ReportSection& s : m_sections)
        if (lower(s.name) == lower(sectionName))
            return &s;
    return nullptr;
}

ReportControl* DataReport1::control(const QString& sectionName, const QString& controlName)
{
    ReportSection* s = section(sectionName);
    return s ? s->control(controlName) : nullptr;
}

const ReportControl* DataReport1::control(const QString& sectionName, const QString& controlName) const
{
    return const_cast<DataReport1*>(this)->control(sectionName, controlName);
}

int DataReport1::sectionTopTwips(const QString& sectionName) const
{
    int top = 0;
    for (const ReportSection& s : m_sections) {
        if (lower(s.name) == lower(sectionName))
            return top;
        top += s.heightTwips;
    }
    return -1;
}

int DataReport1::reportHeightTwips() const
{
    int height = 0;
    for (const ReportSection& s : m_sections)
        height += s.heightTwips;
    return height;
}

void DataReport1::setDataSource(DataSource* source)
{
    m_source = source;
}

QString DataReport1::displayText(const ReportControl& control) const
{
    switch (control.kind) {
    case ReportControlKind::Label:
        return control.caption;
    case ReportControlKind::TextBox:
        return m_source ? m_source->field(control.dataField) : QString();
    default:
        return {};
    }
}

bool DataReport1::loadPicture(ReportControl& image, const QString& path)
{
    if (path.isEmpty()) {
        image.picture = QImage();
        return true;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        return false;
    image.picture = picture;
    return true;
}

void DataReport1::paint(QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    double sectionTop = 0;
    for (const ReportSection& s : m_sections) {
        for (const ReportControl& c : s.controls)
            paintControl(painter, s, sectionTop, c);
        sectionTop += s.heightTwips;
    }
    painter.restore();
}

void DataReport1::paintControl(QPainter& painter, const ReportSection& section, double sectionTop,
                               const ReportControl& control) const
{
    const QPaintDevice* device = painter.device();
    const double scale = device->logicalDpiX() / 1440.0;
    const double scaleY = device->logicalDpiY() / 1440.0;
    const auto onPage = [&](const QRect& twips) {
        return QRectF(twips.left() * scale, (sectionTop + twips.top()) * scaleY, twips.width() * scale,
                      twips.height() * scaleY);
    };
    const QRectF outerBox = onPage(control.twips);

    switch (control.kind) {
    case ReportControlKind::Line: {
        painter.setPen(QPen(control.color, kRuleWidthTwips * scale));
        painter.drawLine(QPointF(outerBox.left(), outerBox.top()), QPointF(outerBox.right(), outerBox.top()));
        return;
    }
    case ReportControlKind::Shape: {
        const double penWidth = kRuleWidthTwips * scale;
        painter.setPen(QPen(control.color, penWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outerBox.adjusted(penWidth / 2, penWidth / 2, -penWidth / 2, -penWidth / 2));
        return;
    }
    case ReportControlKind::Image: {
        if (control.picture.isNull())
            return;
        QSizeF fitted = QSizeF(control.picture.size()).scaled(outerBox.size(), Qt::KeepAspectRatio);
        const QRectF target(outerBox.left() + (outerBox.width() - fitted.width()) / 2,
                            outerBox.top() + (outerBox.height() - fitted.height()) / 2, fitted.width(),
                            fitted.height());
        painter.drawImage(target, control.picture);
        return;
    }
    case ReportControlKind::Label:
    case ReportControlKind::TextBox:
        break;
    }

    QString text = displayText(control);
    if (text.isEmpty())
        return;
    Qt::LayoutDirection direction = control.direction;
    if (direction == Qt::LayoutDirectionAuto)
        direction = text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    painter.setLayoutDirection(direction);

    // AlignAbsolute: a box aligned right stays right-aligned on the page whatever the direction.
    const Qt::Alignment vertical =
        (control.alignment & Qt::AlignVertical_Mask) ? Qt::Alignment() : Qt::AlignTop;
    const int flags = static_cast<int>(control.alignment | vertical) | Qt::AlignAbsolute |
                      (control.wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    // The padding is kept on the side the text is aligned to (both sides when centred).
    const double padding = control.paddingTwips * scale;
    const Qt::Alignment horizontal = control.alignment & Qt::AlignHorizontal_Mask;
    QRectF box = outerBox.adjusted(horizontal & Qt::AlignRight ? 0 : padding, 0,
                                   horizontal & Qt::AlignLeft ? 0 : -padding, 0);

    // A text too long for its box is set smaller rather than cut off.
    QFont font = resolvedFont(control);
    auto fits = [&](const QFont& f) {
        const QFontMetricsF metrics(f, painter.device());
        if (control.wordWrap)
            return metrics.boundingRect(box, flags, text).height() <= box.height();
        return metrics.horizontalAdvance(text) <= box.width();
    };
    while (!fits(font) && font.pointSizeF() > kSmallestPointSize)
        font.setPointSizeF(std::max(kSmallestPointSize, font.pointSizeF() - 0.25));
    if (!control.wordWrap && !fits(font))
        text = QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, box.width());

    // Sitting on another control's line: the box moves so that both baselines meet.
    if (const ReportControl* line =
            control.baselineOf.isEmpty() ? nullptr : section.control(control.baselineOf)) {
        const double lineBaseline =
            onPage(line->twips).top() + QFontMetricsF(resolvedFont(*line), painter.device()).ascent();
        const double ownBaseline = box.top() + QFontMetricsF(font, painter.device()).ascent();
        box.translate(0, lineBaseline - ownBaseline);
    }

    painter.setFont(font);
    painter.setPen(Qt::black);
    if (replaysTextRuns(painter))
        drawPlacedGlyphs(painter, box, control.alignment | vertical, control.wordWrap, text, direction);
    else
        painter.drawText(box, flags, text);
}

bool DataReport1::print(QPagedPaintDevice& device) const
{
    const double marginPoints = kMarginTwips / 20.0;
    device.setPageMargins(QMarginsF(marginPoints, marginPoints, marginPoints, marginPoints),
                          QPageLayout::Point);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paint(painter);
    return painter.end();
}

QImage DataReport1::toImage(int dotsPerInch) const
{
    const double scale = dotsPerInch / 1440.0;
    const QSize size(qRound((kReportWidthTwips + 2 * kMarginTwips) * scale),
                     qRound((reportHeightTwips() + 2 * kMarginTwips) * scale));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(kMarginTwips * scale, kMarginTwips * scale);
    paint(painter);
    painter.end();
    return image;
}

bool DataReport1::writePdf(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool written = false;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setResolution(600);
        writer.setTitle(caption());
        written = print(writer);
    }
    if (!written) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

DataReport1& dataReport1()
{
    static DataReport1 report;
    return report;
}

QString printTimeText(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString printDateText(const QDate& date)
{
    return PersianDateText(date, 3);
}
