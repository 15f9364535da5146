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
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {
const QString kCaption = QStringLiteral("     ثبت سفارش");
const QString kLabel1 = QStringLiteral("شماره ثبت :");
const QString kLblLabels0 = QStringLiteral("نام كاربري مشتري :");
const QString kCommand1 = QStringLiteral("انتخاب مشتري");
const QString kLabel6 = QStringLiteral("نام و نام خانوادگي مشتري : ");
const QString kLabel8 = QStringLiteral("پست الكترونيك مشتري :");
const QString kLblLabels2 = QStringLiteral("نام پنل انتخابي هاست :");
const QString kCommand2 = QStringLiteral("انتخاب پنل هاست");
const QString kLblLabels6 = QStringLiteral("نام دامنه :");
const QString kCommand3 = QStringLiteral("انتخاب دامين");
const QString kLabel7 = QStringLiteral(".");
const QString kLabel12 = QStringLiteral("هزينه تمديد ساليانه دامنه :"); // design text; the bound value replaces it
const QString kLblLabels5 = QStringLiteral("موارد قابل ذكر اين سفارش :");
const QString kLabel23 = QStringLiteral("هزينه راه اندازي سرويس :");
const QString kLabel24 = QStringLiteral("ديگر هزينه هاي خدماتي :");
const QString kLabel21 = QStringLiteral("كل هزينه اين سفارش :");
const QString kLblLabels3 = QStringLiteral("تاريخ ثبت سفارش :");
const QString kImage14Tip = QStringLiteral("تاريخ");
const QString kCommand5 = QStringLiteral("ثبت سفارش");
const QString kCommand6 = QStringLiteral("انصراف");
const QString kStoreRefusedTitle = QStringLiteral("ثبت سفارش");
const QString kStoreRefused = QStringLiteral("سفارش ثبت نشد:");
const QString kStoreRefusedKept = QStringLiteral("سفارش در اين پنجره باقي مي ماند.");

// Window layout in twips: rows of caption (right) and value (left) inside a light frame.
constexpr int kWidth = 8760;
constexpr int kHeight = 7185;
constexpr int kRowHeight = 330;
constexpr int kBulletLeft = 8280;
constexpr int kCaptionLeft = 5520;
constexpr int kCaptionWidth = 2700;
constexpr int kValueLeft = 300;
constexpr int kValueWidth = 5100;
constexpr int kButtonWidth = 1500;
constexpr int kNotesHeight = 900;

// Top of rows 2 to 13; row 9 (the notes) is three lines high.
constexpr int rowTop(int row)
{
    constexpr int first = 660;
    constexpr int pitch = 435;
    int top = first + (row - 2) * pitch;
    if (row > 9)
        top += kNotesHeight - kRowHeight;
    return top;
}

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

// A label that shows a value of the order: a light box around the text.
void styleValueLabel(QLabel* label)
{
    label->setStyleSheet(QStringLiteral("QLabel { border: 1px solid #d4d4d4; padding: 0px 3px; }"));
}
} // namespace

Form10::Form10(QWidget* parent) : RecordEditor(Table::ss, {kStoreRefusedTitle, kStoreRefused, {}, kStoreRefusedKept}, parent)
{
    setObjectName(QStringLiteral("Form10"));

    auto label = [this](const char* name, const QString& text) {
        auto* made = new QLabel(text, this);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };
    auto lineEdit = [this](const char* name) {
        auto* made = new QLineEdit(this);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };
    auto button = [this](const char* name, const QString& text) {
        auto* made = new QPushButton(text, this);
        made->setObjectName(QString::fromLatin1(name));
        made->setAutoDefault(false);
        return made;
    };
    auto caption = [this](int row, QLabel* made) {
        placeTwips(made, kCaptionLeft, rowTop(row), kCaptionWidth, kRowHeight);
        auto* bullet = new QLabel(this);
        bullet->setObjectName(QStringLiteral("Bullet%1").arg(row));
        bullet->setPixmap(bulletPicture());
        bullet->setAlignment(Qt::AlignCenter);
        placeTwips(bullet, kBulletLeft, rowTop(row), 240, kRowHeight);
    };

    // The frame goes first so that it lies below the rows it encloses.
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setStyleSheet(QStringLiteral("QFrame#Frame1 { border: 1px solid #c8c8c8; }"));
    placeTwips(m_frame, 120, 540, kWidth - 240, rowTop(13) + kRowHeight + 120 - 540);

    // Row 1: the order number, above the frame at the left.
    Label2 = label("Label2", QString());
    placeTwips(Label2, kValueLeft, 120, 1200, kRowHeight);
    Label1 = label("Label1", kLabel1);
    placeTwips(Label1, kValueLeft + 1260, 120, 1500, kRowHeight);

    // Row 2: customer user name.
    lblLabels[0] = label("lblLabels(0)", kLblLabels0);
    caption(2, lblLabels[0]);
    Text1 = lineEdit("Text1");
    placeTwips(Text1, kValueLeft + kButtonWidth + 60, rowTop(2), kValueWidth - kButtonWidth - 60, kRowHeight);
    Command1 = button("Command1", kCommand1);
    placeTwips(Command1, kValueLeft, rowTop(2), kButtonWidth, kRowHeight);

    // Row 3: first name, with the family name at its left.
    Label6 = label("Label6", kLabel6);
    caption(3, Label6);
    Label3 = label("Label3", QString());
    placeTwips(Label3, kValueLeft + 2580, rowTop(3), kValueWidth - 2580, kRowHeight);
    Label14 = label("Label14", QString());
    placeTwips(Label14, kValueLeft, rowTop(3), 2520, kRowHeight);

    // Row 4: e-mail.
    Label8 = label("Label8", kLabel8);
    caption(4, Label8);
    Label4 = label("Label4", QString());
    placeTwips(Label4, kValueLeft, rowTop(4), kValueWidth, kRowHeight);

    // Row 5: hosting plan.
    lblLabels[2] = label("lblLabels(2)", kLblLabels2);
    caption(5, lblLabels[2]);
    Text2 = lineEdit("Text2");
    placeTwips(Text2, kValueLeft + kButtonWidth + 60, rowTop(5), kValueWidth - kButtonWidth - 60, kRowHeight);
    Command2 = button("Command2", kCommand2);
    placeTwips(Command2, kValueLeft, rowTop(5), kButtonWidth, kRowHeight);

    // Row 6: the plan's price-period text as caption, the plan price as value.
    Label13 = label("Label13", QString());
    caption(6, Label13);
    Label5 = label("Label5", QString());
    placeTwips(Label5, kValueLeft, rowTop(6), kValueWidth, kRowHeight);

    // Row 7, from the right: choose button, extension, ".", domain name.
    lblLabels[6] = label("lblLabels(6)", kLblLabels6);
    caption(7, lblLabels[6]);
    Command3 = button("Command3", kCommand3);
    placeTwips(Command3, kValueLeft + kValueWidth - kButtonWidth, rowTop(7), kButtonWidth, kRowHeight);
    Text4 = lineEdit("Text4");
    Text4->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    placeTwips(Text4, kValueLeft + 2160, rowTop(7), kValueWidth - kButtonWidth - 60 - 2160, kRowHeight);
    Label7 = label("Label7", kLabel7);
    Label7->setAlignment(Qt::AlignCenter);
    placeTwips(Label7, kValueLeft + 1980, rowTop(7), 180, kRowHeight);
    Text3 = lineEdit("Text3");
    placeTwips(Text3, kValueLeft, rowTop(7), 1980, kRowHeight);

    // Row 8: the domain's price-period text as caption, the domain price as value.
    Label12 = label("Label12", kLabel12);
    caption(8, Label12);
    Label9 = label("Label9", QString());
    placeTwips(Label9, kValueLeft, rowTop(8), kValueWidth, kRowHeight);

    // Row 9: notes, several lines.
    lblLabels[5] = label("lblLabels(5)", kLblLabels5);
    caption(9, lblLabels[5]);
    Text5 = Controls::notesBox(this, "Text5", kValueLeft, rowTop(9), kValueWidth, kNotesHeight);

    // Rows 10 to 12: costs and total.
    Label23 = label("Label23", kLabel23);
    caption(10, Label23);
    Text6 = lineEdit("Text6");
    placeTwips(Text6, kValueLeft, rowTop(10), kValueWidth, kRowHeight);
    Label24 = label("Label24", kLabel24);
    caption(11, Label24);
    Text7 = lineEdit("Text7");
    placeTwips(Text7, kValueLeft, rowTop(11), kValueWidth, kRowHeight);
    Label21 = label("Label21", kLabel21);
    caption(12, Label21);
    Label11 = label("Label11", QString());
    placeTwips(Label11, kValueLeft, rowTop(12), kValueWidth, kRowHeight);

    // Row 13: order date, with today's date button at its left.
    lblLabels[3] = label("lblLabels(3)", kLblLabels3);
    caption(13, lblLabels[3]);
    Text8 = lineEdit("Text8");
    Text8->setAlignment(Qt::AlignCenter);
    placeTwips(Text8, kValueLeft + 420, rowTop(13), kValueWidth - 420, kRowHeight);
    Image14 = label("Image14", QString());
    Image14->setPixmap(calendarPicture());
    Image14->setAlignment(Qt::AlignCenter);
    Image14->setToolTip(kImage14Tip);
    Image14->setCursor(Qt::PointingHandCursor);
    placeTwips(Image14, kValueLeft, rowTop(13) - 15, 360, 360);

    // Row 14: store at the right, cancel at the left.
    const int buttonsTop = rowTop(13) + kRowHeight + 255;
    Command5 = button("Command5", kCommand5);
    placeTwips(Command5, kWidth - 120 - 1800, buttonsTop, 1800, 420);
    Command6 = button("Command6", kCommand6);
    placeTwips(Command6, 120, buttonsTop, 1800, 420);

    // Values stand at the right of their boxes whatever script they are in (a Latin name or
    // a number would otherwise go to the left); the extension reads left to right, the date
    // is centred.
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter;
    for (QLabel* value : {Label2, Label3, Label14, Label4, Label5, Label9, Label11}) {
        styleValueLabel(value);
        value->setAlignment(right);
    }
    for (QLineEdit* box : {Text1, Text2, Text3, Text6, Text7})
        box->setAlignment(right);

    // Every value of the window is a field of the order, labels included.
    Adodc1->bind(Label2, QStringLiteral("ID"));
    Adodc1->bind(Text1, QStringLiteral("nuser"));
    Adodc1->bind(Label3, QStringLiteral("name"));
    Adodc1->bind(Label14, QStringLiteral("fname"));
    Adodc1->bind(Label4, QStringLiteral("email"));
    Adodc1->bind(Text2, QStringLiteral("npah"));
    Adodc1->bind(Label13, QStringLiteral("sal"));
    Adodc1->bind(Label5, QStringLiteral("hz"));
    Adodc1->bind(Text4, QStringLiteral("nd2"));
    Adodc1->bind(Text3, QStringLiteral("nd1"));
    Adodc1->bind(Label12, QStringLiteral("htsd2"));
    Adodc1->bind(Label9, QStringLiteral("htsd1"));
    Adodc1->bind(Text5, QStringLiteral("mgzas"));
    Adodc1->bind(Text6, QStringLiteral("hras"));
    Adodc1->bind(Text7, QStringLiteral("dhkh"));
    Adodc1->bind(Label11, QStringLiteral("khas"));
    Adodc1->bind(Text8, QStringLiteral("tss"));

    // The total follows the plan name, the domain name and the two costs, however they change.
    for (QLineEdit* source : {Text2, Text3, Text6, Text7})
        connect(source, &QLineEdit::textChanged, this, &Form10::recomputeTotal);
    // ...and clicks on the two prices; Image14 is a picture that acts as a button.
    for (QLabel* clickable : {Label5, Label9, Image14})
        clickable->installEventFilter(this);

    connect(Command1, &QPushButton::clicked, this, &Form10::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form10::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form10::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &Form10::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form10::Command6_Click);
}

void Form10::Form_Load()
{
    setupWindow(kCaption, kWidth, kHeight);

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

bool Form10::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            if (watched == Image14)
                Image14_Click();
            else if (watched == Label5 || watched == Label9)
                recomputeTotal();
        }
    }
    return Form::eventFilter(watched, event);
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
