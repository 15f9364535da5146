#pragma once
// DataReport1, the printed invoice: a banded layout of three sections (header Section4, detail
// Section1, footer Section5), each holding named controls at positions in twips. The detail's
// text boxes show the fields of the one-row data source the report is bound to; the print step
// fills the header and footer labels and the logo. The report paints itself on any paint device
// (printer, PDF writer, image) and belongs to no window: one instance serves the whole program.
//
// Nothing is shrunk or cut: a text too long for its box wraps inside it, the box grows and what
// lies below moves down; the texts of one row share the baseline of their first line; a report
// longer than the page goes on over further pages, broken between lines of text.
#include "storage/data_source.h"

#include <QColor>
#include <QDate>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTime>

#include <array>
#include <vector>

class QFont;
class QPagedPaintDevice;
class QPainter;

enum class ReportControlKind { Label, TextBox, Line, Shape, Image };

struct ReportControl
{
    QString name;
    ReportControlKind kind = ReportControlKind::Label;
    QRect twips;                             // left, top, width, height within its section
    QString caption;                         // what a label shows
    QString dataField;                       // the field a text box shows
    Qt::Alignment alignment = Qt::AlignLeft; // on the page
    int paddingTwips = 0;                    // kept clear inside the box on the side the text is aligned to
    int font = -1;                           // index into DataReport1::designFonts()
    int row = -1;                            // texts of one row of a section share their first baseline
    // Base direction of the text. The fixed captions are written colon first so that, laid out
    // left to right, the colon ends up at their left end; everything else follows its text.
    Qt::LayoutDirection direction = Qt::LayoutDirectionAuto;
    QColor color = Qt::black; // rules and shapes
    QImage picture;           // the image control's picture
};

struct ReportSection
{
    QString name;
    int heightTwips = 0;
    std::vector<ReportControl> controls;

    // The control of that name, matched without regard to letter case; nullptr when none.
    ReportControl* control(const QString& controlName);
    const ReportControl* control(const QString& controlName) const;
};

struct ReportFont
{
    QString family;
    double pointSize = 0;
};

class DataReport1
{
public:
    // The design state: every control with its design text, no picture, no data source.
    DataReport1();

    static constexpr int kReportWidthTwips = 8895;
    static constexpr int kMarginTwips = 1440;

    QString caption() const;
    // The fonts of the layout, all bold.
    static const std::array<ReportFont, 12>& designFonts();
    // A control's font at its design size, bold: its design family where installed, else
    // DejaVu Sans (each of its joined Persian letters maps back to its character, so a reader of
    // the PDF gets the text as stored), else the application's font family.
    static QFont resolvedFont(const ReportControl& control);

    std::vector<ReportSection>& sections() { return m_sections; }
    const std::vector<ReportSection>& sections() const { return m_sections; }
    // Sections and controls are addressed by name without regard to letter case.
    ReportSection* section(const QString& sectionName);
    ReportControl* control(const QString& sectionName, const QString& controlName);
    const ReportControl* control(const QString& sectionName, const QString& controlName) const;
    // Top of a section within the report as designed, before texts grow, in twips (sections are
    // stacked in order).
    int sectionTopTwips(const QString& sectionName) const;
    int reportHeightTwips() const;

    // The detail shows the current row of this data source; nullptr shows empty boxes.
    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return m_source; }
    // What a control shows: a label its caption, a text box its field of the bound row.
    QString displayText(const ReportControl& control) const;

    // Loads a picture file (JPEG, BMP, any format Qt reads, whatever the extension) into an image
    // control. An empty path clears the picture; a file that cannot be read leaves the picture
    // as it was and returns false.
    static bool loadPicture(ReportControl& image, const QString& path);

    // Paints the whole report as one strip with its top-left corner at the painter's origin (the
    // corner inside the margins), scaled to the device's resolution.
    void paint(QPainter& painter) const;
    // The device's margins set to the report's, then the report page by page; the number of
    // pages printed, 0 when the device could not be painted on.
    int print(QPagedPaintDevice& device) const;
    // The whole report (margins included) on white as one image, at the given resolution.
    QImage toImage(int dotsPerInch) const;
    // Writes the report as an A4 PDF; the file is replaced only when the whole document was
    // written.
    bool writePdf(const QString& path) const;

private:
    std::vector<ReportSection> m_sections;
    QPointer<DataSource> m_source;
};

// The program's one report instance.
DataReport1& dataReport1();

// The print time and print date texts of the header: "HH:mm:ss" on a 24-hour clock, and the
// weekday-long Solar Hijri date.
QString printTimeText(const QTime& time);
QString printDateText(const QDate& date);
