#include "orders/order_entry.h"

#include "calendar/solar_hijri.h"
#include "orders/amounts.h"
#include "orders/pickers.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "ui/controls.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"
#include "ui/persian_message_box.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {

// Window layout in twips: rows of caption (right) and value (left) inside a light frame.
constexpr int kWidth = 10260;
constexpr int kHeight = 7635;
constexpr int kRowHeight = 330;
constexpr int kNotesHeight = 1350;

// Top of rows 1 to 13; row 1 (the order number) stands above the frame, row 9 (the notes) is
// five lines high. The value column is wide enough for a long e-mail address or plan name.
constexpr int rowTop(int row)
{
    constexpr int first = 660;
    constexpr int pitch = 435;
    if (row == 1)
        return 120;
    int top = first + (row - 2) * pitch;
    if (row > 9)
        top += kNotesHeight - kRowHeight;
    return top;
}

// Columns, from the left edge of the window: the bullet and the caption at the right, the
// values at the left; a box beside a choose button starts kBoxLeft into the value column.
constexpr int kBulletLeft = 9780;
constexpr int kCaptionLeft = 7020;
constexpr int kCaptionWidth = 2700;
constexpr int kValueLeft = 300;
constexpr int kValueWidth = 6600;

QPixmap bulletPicture()
{
    QPixmap picture(12, 12);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(4.5, 4.5), 6);
    shade.setColorAt(0, QColor(0x9c, 0xc8, 0xf0));
    shade.setColorAt(1, QColor(0x1f, 0x5f, 0xa8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    return picture;
}

constexpr int kButtonWidth = 1500;
constexpr int kBoxLeft = kButtonWidth + 60;
constexpr int kBoxWidth = kValueWidth - kBoxLeft;

QPixmap calendarPicture()
{
    QPixmap picture(22, 22);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(0x70, 0x70, 0x70));
    painter.setBrush(Qt::white);
    painter.drawRect(2, 3, 17, 16);
    painter.fillRect(3, 4, 16, 4, QColor(0xc0, 0x30, 0x30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x50, 0x50, 0x50));
    for (int y = 10; y <= 16; y += 3) {
        for (int x = 5; x <= 16; x += 3)
            painter.drawRect(x, y, 2, 2);
    }
    return picture;
}
} // namespace

// Builders for the rows: a caption with its bullet at the right end of the row, values placed
// from the left edge of the value column; every value bound to its field of the order.
QLabel* Form10::caption(int row, const char* name, const QString& text, const char* column)
{
    QLabel* made = Controls::label(this, name, text, kCaptionLeft, rowTop(row), kCaptionWidth, kRowHeight);
    QLabel* bullet = Controls::label(this, "", QString(), kBulletLeft, rowTop(row), 240, kRowHeight);
    bullet->setObjectName(QStringLiteral("Bullet%1").arg(row));
    bullet->setPixmap(bulletPicture());
    bullet->setAlignment(Qt::AlignCenter);
    return column ? bound(made, column) : made;
}

QLabel* Form10::value(int row, const char* name, int left, int width, const char* column)
{
    return bound(Controls::valueLabel(this, name, kValueLeft + left, rowTop(row), width, kRowHeight), column);
}

QLineEdit* Form10::box(int row, const char* name, int left, int width, const char* column)
{
    QLineEdit* made = Controls::textBox(this, name, kValueLeft + left, rowTop(row), width, kRowHeight);
    connect(made, &QLineEdit::textChanged, this, [this, made] { boxChanged(made); });
    return bound(made, column);
}

QPushButton* Form10::chooser(int row, const char* name, const QString& text, int left, void (Form10::*click)())
{
    QPushButton* made = Controls::button(this, name, text, kValueLeft + left, rowTop(row), kButtonWidth, kRowHeight);
    connect(made, &QPushButton::clicked, this, click);
    return made;
}

Form10::Form10(QWidget* parent)
    : RecordEditor(Table::ss,
                   {QStringLiteral("ثبت سفارش"), QStringLiteral("سفارش ثبت نشد:"), {},
                    QStringLiteral("سفارش در اين پنجره باقي مي ماند.")},
                   parent)
{
    setObjectName(QStringLiteral("Form10"));
    m_frame = Controls::frameShape(this, "Frame1", 120, 540, kWidth - 240, rowTop(13) + kRowHeight + 120 - 540);

    Label2 = value(1, "Label2", 0, 1200, "ID");
    Label1 = Controls::label(this, "Label1", QStringLiteral("شماره ثبت :"), kValueLeft + 1260, rowTop(1), 1500, kRowHeight);
    lblLabels[0] = caption(2, "lblLabels(0)", QStringLiteral("نام كاربري مشتري :"));
    Text1 = box(2, "Text1", kBoxLeft, kBoxWidth, "nuser");
    Command1 = chooser(2, "Command1", QStringLiteral("انتخاب مشتري"), 0, &Form10::Command1_Click);
    Label6 = caption(3, "Label6", QStringLiteral("نام و نام خانوادگي مشتري : "));
    Label3 = value(3, "Label3", 2580, kValueWidth - 2580, "name");
    Label14 = value(3, "Label14", 0, 2520, "fname");
    Label8 = caption(4, "Label8", QStringLiteral("پست الكترونيك مشتري :"));
    Label4 = value(4, "Label4", 0, kValueWidth, "email");
    lblLabels[2] = caption(5, "lblLabels(2)", QStringLiteral("نام پنل انتخابي هاست :"));
    Text2 = box(5, "Text2", kBoxLeft, kBoxWidth, "npah");
    Command2 = chooser(5, "Command2", QStringLiteral("انتخاب پنل هاست"), 0, &Form10::Command2_Click);
    Label13 = caption(6, "Label13", QString(), "sal");
    Label5 = value(6, "Label5", 0, kValueWidth, "hz");
    // Row 7 from the right: choose button, extension, ".", domain name.
    lblLabels[6] = caption(7, "lblLabels(6)", QStringLiteral("نام دامنه :"));
    Command3 = chooser(7, "Command3", QStringLiteral("انتخاب دامين"), kValueWidth - kButtonWidth, &Form10::Command3_Click);
    Text4 = box(7, "Text4", 2160, kBoxWidth - 2160, "nd2");
    Text4->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    Label7 = Controls::label(this, "Label7", QStringLiteral("."), kValueLeft + 1980, rowTop(7), 180, kRowHeight);
    Label7->setAlignment(Qt::AlignCenter);
    Text3 = box(7, "Text3", 0, 1980, "nd1");
    // Label12's design caption; the order's htsd2 replaces it as soon as the record is shown.
    Label12 = caption(8, "Label12", QStringLiteral("هزينه تمديد ساليانه دامنه :"), "htsd2");
    Label9 = value(8, "Label9", 0, kValueWidth, "htsd1");
    lblLabels[5] = caption(9, "lblLabels(5)", QStringLiteral("موارد قابل ذكر اين سفارش :"));
    Text5 = bound(Controls::notesBox(this, "Text5", kValueLeft, rowTop(9), kValueWidth, kNotesHeight), "mgzas");
    Label23 = caption(10, "Label23", QStringLiteral("هزينه راه اندازي سرويس :"));
    Text6 = box(10, "Text6", 0, kValueWidth, "hras");
    Label24 = caption(11, "Label24", QStringLiteral("ديگر هزينه هاي خدماتي :"));
    Text7 = box(11, "Text7", 0, kValueWidth, "dhkh");
    Label21 = caption(12, "Label21", QStringLiteral("كل هزينه اين سفارش :"));
    Label11 = value(12, "Label11", 0, kValueWidth, "khas");
    lblLabels[3] = caption(13, "lblLabels(3)", QStringLiteral("تاريخ ثبت سفارش :"));
    Text8 = box(13, "Text8", 420, kValueWidth - 420, "tss");
    Text8->setAlignment(Qt::AlignCenter);
    Image14 = Controls::label(this, "Image14", QString(), kValueLeft, rowTop(13) - 15, 360, 360);
    Image14->setPixmap(calendarPicture());
    Image14->setAlignment(Qt::AlignCenter);
    Image14->setToolTip(QStringLiteral("تاريخ"));
    Image14->setCursor(Qt::PointingHandCursor);
    addStoreAndCancel();
}

void Form10::addStoreAndCancel()
{
    // Store at the right, cancel at the left, under the frame.
    const int top = rowTop(13) + kRowHeight + 255;
    Command5 = Controls::button(this, "Command5", QStringLiteral("ثبت سفارش"), kWidth - 120 - 1800, top, 1800, 420);
    Command6 = Controls::button(this, "Command6", QStringLiteral("انصراف"), 120, top, 1800, 420);
    connect(Command5, &QPushButton::clicked, this, &Form10::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form10::Command6_Click);
    // The two prices recompute the total when clicked; Image14 is a picture that acts as a button.
    Controls::onClick(Label5, [this] { recomputeTotal(); });
    Controls::onClick(Label9, [this] { recomputeTotal(); });
    Controls::onClick(Image14, [this] { Image14_Click(); });
}

void Form10::boxChanged(QLineEdit* changed)
{
    // The total follows the plan name, the domain name and the two costs, however they change.
    if (changed == Text2 || changed == Text3 || changed == Text6 || changed == Text7)
        recomputeTotal();
}

void Form10::Form_Load()
{
    setupWindow(QStringLiteral("     ثبت سفارش"), kWidth, kHeight);

    // Failing steps are skipped: the window then opens with empty controls.
    openRecord();
}

void Form10::recomputeTotal()
{
    // Added left to right, as the four amounts stand in the rule.
    double total = ReadAmount(Label5->text());
    total += ReadAmount(Label9->text());
    total += ReadAmount(Text6->text());
    total += ReadAmount(Text7->text());
    Label11->setText(FormatAmount(total));
}

void Form10::Command1_Click()
{
    forms().showModal<Form11>();
}

void Form10::Command2_Click()
{
    forms().showModal<Form12>();
}

void Form10::Command3_Click()
{
    forms().showModal<Form13>();
}

void Form10::Image14_Click()
{
    Text8->setText(PersianDateText(QDate::currentDate(), 0));
}

void Form10::Command5_Click()
{
    saveRecord();
}

void Form10::Command6_Click()
{
    cancelRecord();
}
