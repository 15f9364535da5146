#include "orders/invoice_report.h"

#include "calendar/solar_hijri.h"
#include "orders/pdf_text.h"
#include "storage/data_source.h"

#include <QApplication>
#include <QBuffer>
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
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextLayout>
#include <QTime>

#include <algorithm>
#include <map>
#include <memory>

namespace {

const QString kBadr = QStringLiteral("Badr");
const QString kArial = QStringLiteral("Arial");
// A face whose joined Persian letters all map back to their characters in a PDF.
const QString kExtractableFace = QStringLiteral("DejaVu Sans");

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

// Rules and frames are drawn one screen pixel wide.
constexpr double kRuleWidthTwips = 15.0;
// Room kept clear inside a box on the side its text is aligned to.
constexpr int kPad = 30;

// What a row of the layout table is: a fixed caption (laid out left to right, so that its colon
// ends up at its left end), a label the print step fills, a text box showing a field, a rule, the
// logo's frame or the logo.
enum class Kind { Caption, Filled, Field, Rule, Frame, Picture };

struct SectionEntry
{
    const char* name;
    int heightTwips;
};

struct ControlEntry
{
    int section; // index into kSections
    const char* name;
    Kind kind;
    QString text; // a label's caption, a text box's field
    QRect place;  // left, top, width, height in twips within the section
    Qt::Alignment alignment;
    int font;
    int row; // texts of one row share their first baseline; -1 for rules and pictures
    int padding;
};

const SectionEntry kSections[] = {{"Section4", 1590}, {"Section1", 3240}, {"Section5", 1995}};

constexpr Qt::Alignment R = Qt::AlignRight;
constexpr Qt::Alignment C = Qt::AlignHCenter;
constexpr Qt::Alignment L = Qt::AlignLeft;

// The invoice. The detail reads right to left in rows: order number, name and family name; the
// e-mail address; the plan, its period and price; the domain (name, dot, extension read left to
// right as one address), its period and price; the order's notes; set-up and other costs; the
// total and the order date. Every box is wide enough for its caption on one line.
// The filled labels carry design placeholders naming the setting that replaces them.
// clang-format off
const ControlEntry kControls[] = {
    {0, "Image1", Kind::Picture, {}, {7125, 30, 1650, 1365}, L, -1, -1, 0},
    {0, "Shape1", Kind::Frame, {}, {7095, 0, 1715, 1425}, L, -1, -1, 0},
    {0, "Label1", Kind::Filled, QStringLiteral("نام شرکت در تنظيمات فاکتور"), {3540, 120, 3510, 600}, C, BusinessTitleFont, 0, kPad},
    {0, "Label4", Kind::Filled, QStringLiteral("عنوان فاکتور در تنظيمات فاکتور"), {3540, 765, 3510, 480}, C, InvoiceTitleFont, 2, kPad},
    {0, "Label5", Kind::Caption, QStringLiteral(": ساعت چاپ"), {2100, 405, 1140, 345}, R, HeaderCaptionFont, 1, kPad},
    {0, "Label6", Kind::Filled, QStringLiteral("Label3"), {0, 450, 2100, 300}, R, PrintStampFont, 1, kPad},
    {0, "Label2", Kind::Caption, QStringLiteral(": تاريخ چاپ"), {2100, 825, 1140, 345}, R, HeaderCaptionFont, 3, kPad},
    {0, "Label3", Kind::Filled, QStringLiteral("Label3"), {0, 890, 2100, 285}, R, PrintStampFont, 3, kPad},
    {0, "Line1", Kind::Rule, {}, {45, 1515, 8820, 0}, L, -1, -1, 0},
    {0, "Line2", Kind::Rule, {}, {30, 1545, 8835, 0}, L, -1, -1, 0},
    {0, "Line3", Kind::Rule, {}, {60, 1530, 8820, 0}, L, -1, -1, 0},

    {1, "Label11", Kind::Caption, QStringLiteral(": شماره ثبت "), {7710, 105, 1170, 300}, R, DetailCaptionFont, 0, kPad},
    {1, "Text1", Kind::Field, QStringLiteral("ID"), {6900, 135, 810, 300}, R, DetailFieldFont, 0, kPad},
    {1, "Label12", Kind::Caption, QStringLiteral(": نام "), {6360, 105, 540, 300}, R, DetailCaptionFont, 0, kPad},
    {1, "Text2", Kind::Field, QStringLiteral("name"), {4170, 135, 2190, 300}, R, DetailFieldFont, 0, kPad},
    {1, "Label13", Kind::Caption, QStringLiteral(": نام خانوادگي "), {2820, 105, 1350, 300}, R, DetailCaptionFont, 0, kPad},
    {1, "Text3", Kind::Field, QStringLiteral("fname"), {0, 135, 2820, 300}, R, DetailFieldFont, 0, kPad},
    {1, "Label14", Kind::Caption, QStringLiteral(": پست الکترونيک"), {7410, 555, 1470, 300}, R, DetailCaptionFont, 1, kPad},
    {1, "Text4", Kind::Field, QStringLiteral("email"), {0, 575, 7410, 300}, R, DetailFieldFont, 1, kPad},

    {1, "Label15", Kind::Caption, QStringLiteral(": نام پنل هاست انتخابي"), {6870, 1005, 2010, 300}, R, DetailCaptionFont, 2, kPad},
    {1, "Text5", Kind::Field, QStringLiteral("npah"), {3570, 1025, 3300, 300}, R, DetailFieldFont, 2, kPad},
    {1, "Text6", Kind::Field, QStringLiteral("sal"), {2070, 1025, 1500, 300}, R, PeriodFont, 2, kPad},
    {1, "Text7", Kind::Field, QStringLiteral("hz"), {0, 1025, 2070, 300}, R, DetailFieldFont, 2, kPad},
    {1, "Label16", Kind::Caption, QStringLiteral(": نام دامنه "), {7890, 1455, 990, 300}, R, DetailCaptionFont, 3, kPad},
    {1, "Text8", Kind::Field, QStringLiteral("nd2"), {6705, 1475, 1185, 300}, L, DetailFieldFont, 3, 0},
    {1, "Label17", Kind::Caption, QStringLiteral("."), {6645, 1475, 60, 300}, L, DetailFieldFont, 3, 0},
    {1, "Text9", Kind::Field, QStringLiteral("nd1"), {3570, 1475, 3075, 300}, R, DetailFieldFont, 3, 0},

    {1, "Text10", Kind::Field, QStringLiteral("htsd2"), {2070, 1475, 1500, 300}, R, PeriodFont, 3, kPad},
    {1, "Text11", Kind::Field, QStringLiteral("htsd1"), {0, 1475, 2070, 300}, R, DetailFieldFont, 3, kPad},
    {1, "Label18", Kind::Caption, QStringLiteral(": موارد قابل ذکر در اين سفارش"), {6150, 1905, 2730, 300}, R, DetailCaptionFont, 4, kPad},
    {1, "Text12", Kind::Field, QStringLiteral("mgzas"), {0, 1905, 6150, 300}, R, DetailFieldFont, 4, kPad},

    {1, "Label19", Kind::Caption, QStringLiteral(": هزينه را اندازي سرويس"), {6750, 2355, 2130, 300}, R, DetailCaptionFont, 5, kPad},
    {1, "Text13", Kind::Field, QStringLiteral("hras"), {4560, 2380, 2190, 300}, R, DetailFieldFont, 5, kPad},
    {1, "Label20", Kind::Caption, QStringLiteral(": ديگر هزينه خدماتي"), {2250, 2355, 2310, 300}, R, DetailCaptionFont, 5, kPad},
    {1, "Text14", Kind::Field, QStringLiteral("dhkh"), {0, 2380, 2250, 300}, R, DetailFieldFont, 5, kPad},
    {1, "Label21", Kind::Caption, QStringLiteral(": کل هزينه اين سفارش"), {6750, 2805, 2130, 300}, R, DetailCaptionFont, 6, kPad},
    {1, "Text15", Kind::Field, QStringLiteral("khas"), {4560, 2830, 2190, 300}, R, TotalFont, 6, kPad},
    {1, "Label22", Kind::Caption, QStringLiteral(": تاريخ ثبت اين سفارش"), {2250, 2805, 2310, 300}, R, DetailCaptionFont, 6, kPad},
    {1, "Text16", Kind::Field, QStringLiteral("tss"), {0, 2830, 2250, 300}, R, DetailFieldFont, 6, kPad},

    {2, "Line4", Kind::Rule, {}, {60, 0, 8820, 0}, L, -1, -1, 0},
    {2, "Line5", Kind::Rule, {}, {45, 30, 8835, 0}, L, -1, -1, 0},
    {2, "Line6", Kind::Rule, {}, {75, 15, 8820, 0}, L, -1, -1, 0},
    {2, "Label10", Kind::Filled, QStringLiteral(
    "توضيحات فاکتور براي ثبت توضيحات بايد در تنظيمات فاکتور ثبت شود . ( با تشکر گروه نرم افزاري سروندو )"), {120, 90, 8745, 750}, R, NotesFont, 0, kPad},
    {2, "Label7", Kind::Filled, QStringLiteral("امضاي مشتري در تنظيمات فاکتور"), {6735, 945, 2085, 300}, R, SignatureFont, 1, kPad},
    {2, "Label8", Kind::Filled, QStringLiteral("مهر و امضاء فروشنده در تنظيمات فاکتور"), {120, 900, 2505, 300}, R, SignatureFont, 1, kPad},
    {2, "Shape19", Kind::Rule, {}, {135, 1425, 8745, 0}, L, -1, -1, 0},
    {2, "Label9", Kind::Filled, QStringLiteral("آدرس شرکت فروشنده در تنظيمات فاکتور"), {105, 1545, 8760, 330}, C, AddressFont, 2, kPad},
};
// clang-format on

ReportControl makeControl(const ControlEntry& entry)
{
    static const std::map<Kind, ReportControlKind> kinds = {
        {Kind::Caption, ReportControlKind::Label}, {Kind::Filled, ReportControlKind::Label},
        {Kind::Field, ReportControlKind::TextBox}, {Kind::Rule, ReportControlKind::Line},
        {Kind::Frame, ReportControlKind::Shape},   {Kind::Picture, ReportControlKind::Image},
    };
    ReportControl c;
    c.name = QString::fromLatin1(entry.name);
    c.kind = kinds.at(entry.kind);
    (entry.kind == Kind::Field ? c.dataField : c.caption) = entry.text;
    c.twips = entry.place;
    c.alignment = entry.alignment;
    c.font = entry.font;
    c.row = entry.row;
    c.paddingTwips = entry.padding;
    if (entry.kind == Kind::Caption)
        c.direction = Qt::LeftToRight;
    if (entry.kind == Kind::Frame)
        c.color = QColor(192, 192, 192);
    return c;
}

QString lower(const QString& text)
{
    return text.toLower();
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

// A piece of the laid-out report on one long strip, in device units: one line of a text, a rule,
// the logo's frame or the logo. Pages are cut between pieces.
struct Piece
{
    QRectF box;
    const ReportControl* control = nullptr;
    std::shared_ptr<QTextLayout> text; // with `line` and `origin`, for a line of text
    int line = 0;
    QPointF origin; // where the text's layout is drawn
};

struct Strip
{
    std::vector<Piece> pieces;
    double height = 0;
};

// A text laid out in lines of the given width: wrapped between words, and inside a word only
// when the word alone is wider than the line. Line breaks of the text are kept.
std::shared_ptr<QTextLayout> wrappedText(QString text, const QFont& font, QPaintDevice* device, double width,
                                         Qt::Alignment alignment, Qt::LayoutDirection direction)
{
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator).replace(QLatin1Char('\r'), QChar::LineSeparator);
    auto layout = std::make_shared<QTextLayout>(text, font, device);
    QTextOption option((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignAbsolute);
    option.setTextDirection(direction);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    double height = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout->endLayout();
    return layout;
}

// Where pages end on the strip: as low as the page allows, but never through a piece (unless a
// piece is taller than a page).
std::vector<double> pageEnds(const Strip& strip, double pageHeight)
{
    std::vector<double> ends;
    double top = 0;
    while (strip.height - top > 0.5 && pageHeight > 0) {
        double end = top + pageHeight;
        for (bool moved = true; moved && end < strip.height;) {
            moved = false;
            for (const Piece& p : strip.pieces)
                if (p.box.top() < end - 0.01 && p.box.bottom() > end + 0.01 && p.box.top() > top + 0.01) {
                    end = p.box.top();
                    moved = true;
                }
        }
        end = std::min(end, strip.height);
        ends.push_back(end);
        top = end;
    }
    return ends;
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
    for (const SectionEntry& s : kSections)
        m_sections.push_back(ReportSection{QString::fromLatin1(s.name), s.heightTwips, {}});
    for (const ControlEntry& entry : kControls)
        m_sections[static_cast<size_t>(entry.section)].controls.push_back(makeControl(entry));
}

QString DataReport1::caption() const
{
    return QStringLiteral("کروانتا  - گزارش گيري سفارش");
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
        {kArial, 12.75}, // DotFont (the domain's dot is set at its field's size instead, so that
                         // name, dot and extension read as one address, on paper and in a PDF)
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
    const QString family = fontInstalled(design.family)      ? design.family
                           : fontInstalled(kExtractableFace) ? kExtractableFace
                                                             : QApplication::font().family();
    QFont font(family);
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

namespace {

struct Row
{
    double designTop = 1e300;
    double designBottom = -1e300;
    double baseline = -1e300; // of the first lines, as designed
    double bottom = -1e300;   // of the longest text, its first line on the baseline
    double shift = 0;         // how far the row moves down for the rows above it that grew

    double growth() const { return std::max(0.0, bottom - designBottom); }
};

struct PlacedText
{
    const ReportControl* control;
    std::shared_ptr<QTextLayout> layout;
    QPointF designOrigin; // top-left of the text's box within the section
    double ascent;        // of its first line
};

QRectF onDevice(const QRect& twips, const QPaintDevice* device)
{
    const double sx = device->logicalDpiX() / 1440.0;
    const double sy = device->logicalDpiY() / 1440.0;
    return QRectF(twips.left() * sx, twips.top() * sy, twips.width() * sx, twips.height() * sy);
}

// In a right-to-left line, a run of Latin letters and digits joined by marks ("021-88776655",
// "www.example.com") is held together left to right: after Persian letters the digit groups of a
// phone number would otherwise be laid out in swapped order. The marks added are invisible.
QString keepLatinRunsWhole(const QString& text)
{
    static const QRegularExpression run(QStringLiteral("[A-Za-z0-9]+(?:[-.@_/:+][A-Za-z0-9]+)+"));
    const QString mark(QChar(0x200E));
    QString held;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : run.globalMatch(text)) {
        held += text.mid(from, m.capturedStart() - from) + mark + m.captured() + mark;
        from = m.capturedEnd();
    }
    return held + text.mid(from);
}

// A text control laid out in its box (less the padding on the side its text is aligned to).
PlacedText placeText(const DataReport1& report, const ReportControl& c, QPaintDevice* device)
{
    QString text = report.displayText(c);
    Qt::LayoutDirection direction = c.direction;
    if (direction == Qt::LayoutDirectionAuto)
        direction = text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    if (direction == Qt::RightToLeft)
        text = keepLatinRunsWhole(text);
    const double padding = c.paddingTwips * device->logicalDpiX() / 1440.0;
    const Qt::Alignment horizontal = c.alignment & Qt::AlignHorizontal_Mask;
    const QRectF box = onDevice(c.twips, device)
                           .adjusted(horizontal & Qt::AlignRight ? 0 : padding, 0,
                                     horizontal & Qt::AlignLeft ? 0 : -padding, 0);
    const QFont font = DataReport1::resolvedFont(c);
    auto layout =
        text.isEmpty() ? nullptr : wrappedText(text, font, device, box.width(), c.alignment, direction);
    const double ascent = layout ? layout->lineAt(0).ascent() : QFontMetricsF(font, device).ascent();
    return {&c, std::move(layout), box.topLeft(), ascent};
}

// Lays out a section at `top` of the strip and returns its height: its rows take the room their
// texts need, and whatever lies below a row that grew moves down with it.
double layOutSection(const DataReport1& report, const ReportSection& section, QPaintDevice* device,
                     double top, Strip& strip)
{
    std::map<int, Row> rows;
    std::vector<PlacedText> texts;
    for (const ReportControl& c : section.controls) {
        if (c.row < 0)
            continue;
        texts.push_back(placeText(report, c, device));
        const QRectF box = onDevice(c.twips, device);
        Row& row = rows[c.row];
        row.designTop = std::min(row.designTop, box.top());
        row.designBottom = std::max(row.designBottom, box.bottom());
        row.baseline = std::max(row.baseline, box.top() + texts.back().ascent);
    }
    for (const PlacedText& t : texts) {
        Row& row = rows[t.control->row];
        const double height = t.layout ? t.layout->boundingRect().height() : 0;
        row.bottom = std::max(row.bottom, row.baseline - t.ascent + height);
    }
    // A row (or rule or picture) moves down as far as the lowest grown row wholly above it.
    const auto shiftAt = [&rows](double designTop) {
        double shift = 0;
        for (const auto& [number, r] : rows)
            if (r.designBottom <= designTop + 0.5)
                shift = std::max(shift, r.shift + r.growth());
        return shift;
    };
    std::vector<Row*> byTop;
    for (auto& [number, r] : rows)
        byTop.push_back(&r);
    std::sort(byTop.begin(), byTop.end(),
              [](const Row* a, const Row* b) { return a->designTop < b->designTop; });
    for (Row* r : byTop)
        r->shift = shiftAt(r->designTop);

    for (const PlacedText& t : texts) {
        const Row& row = rows[t.control->row];
        const QPointF origin(t.designOrigin.x(), top + row.shift + row.baseline - t.ascent);
        for (int i = 0; t.layout && i < t.layout->lineCount(); ++i) {
            const QTextLine line = t.layout->lineAt(i);
            strip.pieces.push_back({QRectF(origin + line.position(), QSizeF(line.width(), line.height())),
                                    t.control, t.layout, i, origin});
        }
    }
    for (const ReportControl& c : section.controls)
        if (c.row < 0) {
            const QRectF box = onDevice(c.twips, device);
            strip.pieces.push_back({box.translated(0, top + shiftAt(box.top())), &c, nullptr, 0, {}});
        }
    return onDevice(QRect(0, 0, 0, section.heightTwips), device).height() + shiftAt(1e300);
}

Strip layOut(const DataReport1& report, QPaintDevice* device)
{
    Strip strip;
    for (const ReportSection& s : report.sections())
        strip.height += layOutSection(report, s, device, strip.height, strip);
    return strip;
}

void paintPiece(QPainter& painter, const Piece& piece, double pageTop)
{
    const double scale = painter.device()->logicalDpiX() / 1440.0;
    const QRectF box = piece.box.translated(0, -pageTop);
    if (piece.text) {
        const QTextLine line = piece.text->lineAt(piece.line);
        const QPointF origin = piece.origin - QPointF(0, pageTop);
        painter.setPen(Qt::black);
        if (replaysTextRuns(painter)) {
            for (const QGlyphRun& run : line.glyphRuns())
                painter.drawGlyphRun(origin, run);
        } else {
            line.draw(&painter, origin);
        }
        return;
    }
    const ReportControl& c = *piece.control;
    const double penWidth = kRuleWidthTwips * scale;
    painter.setPen(QPen(c.color, penWidth));
    painter.setBrush(Qt::NoBrush);
    if (c.kind == ReportControlKind::Line) {
        painter.drawLine(box.topLeft(), box.topRight());
    } else if (c.kind == ReportControlKind::Shape) {
        painter.drawRect(box.adjusted(penWidth / 2, penWidth / 2, -penWidth / 2, -penWidth / 2));
    } else if (c.kind == ReportControlKind::Image && !c.picture.isNull()) {
        const QSizeF fitted = QSizeF(c.picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
        const QPointF corner(box.left() + (box.width() - fitted.width()) / 2,
                             box.top() + (box.height() - fitted.height()) / 2);
        painter.drawImage(QRectF(corner, fitted), c.picture);
    }
}

void paintRange(QPainter& painter, const Strip& strip, double top, double end)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Piece& p : strip.pieces)
        if (p.box.top() >= top - 0.01 && p.box.top() < end - 0.01)
            paintPiece(painter, p, top);
    painter.restore();
}

} // namespace

void DataReport1::paint(QPainter& painter) const
{
    const Strip strip = layOut(*this, painter.device());
    paintRange(painter, strip, 0, strip.height + 1);
}

int DataReport1::print(QPagedPaintDevice& device) const
{
    const double marginPoints = kMarginTwips / 20.0;
    device.setPageMargins(QMarginsF(marginPoints, marginPoints, marginPoints, marginPoints),
                          QPageLayout::Point);
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const Strip strip = layOut(*this, &device);
    int pages = 0;
    double top = 0;
    for (const double end : pageEnds(strip, device.height())) {
        if (pages > 0 && !device.newPage()) {
            painter.end();
            return 0; // a report without its last pages is no report
        }
        paintRange(painter, strip, top, end);
        top = end;
        ++pages;
    }
    return painter.end() ? pages : 0;
}

QImage DataReport1::toImage(int dotsPerInch) const
{
    const double scale = dotsPerInch / 1440.0;
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    const double height = layOut(*this, &image).height;
    image = QImage(qRound((kReportWidthTwips + 2 * kMarginTwips) * scale),
                   qRound(height + 2 * kMarginTwips * scale), QImage::Format_ARGB32_Premultiplied);
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
    // Made in memory first: the text of joined Persian letters is mended (orders/pdf_text.h)
    // before the file is stored.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool written = false;
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setResolution(600);
        writer.setTitle(caption());
        written = print(writer) > 0;
    }
    const QByteArray pdf = written ? pdfWithBaseLetters(buffer.data()) : QByteArray();
    if (!written || file.write(pdf) != pdf.size()) {
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
