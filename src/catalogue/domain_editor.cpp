#include "catalogue/domain_editor.h"

#include "catalogue/period_options.h"
#include "storage/data_source.h"
#include "ui/controls.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString kCaption = QStringLiteral("    ثبت دامنه جديد");
const QString kExtension = QStringLiteral("پسوند دامنه :");
const QString kDotNotice = QStringLiteral("توجه : لطفا پسوند دامنه را بدون نقطه بنويسيد");
const QString kPeriodRow = QStringLiteral("ثبت چند ساله :");
const QString kOneYear = QStringLiteral("يک ساله");
const QString kTwoYears = QStringLiteral("دو ساله");
const QString kFiveYears = QStringLiteral("پنج ساله");
const QString kYearlyPrice = QStringLiteral("قيمت ساليانه :");
const QString kToman = QStringLiteral("تومان");

// Layout in twips.
constexpr int kWidth = 6240;
constexpr int kHeight = 3540;
constexpr int kCaptionLeft = 4200;
constexpr int kCaptionWidth = 1680;
} // namespace

Form4::Form4(QWidget* parent) : CatalogueEditor(Table::newdomin, parent)
{
    setObjectName(QStringLiteral("Form4"));
    using namespace Controls;
    Shape1 = frameShape(this, "Shape1", 240, 120, 5880, 2580);
    addKeyRow(kCaptionLeft, 2400, 300, kCaptionWidth);

    Label5 = label(this, "Label5", kExtension, kCaptionLeft, 780, kCaptionWidth);
    Text1 = latinTextBox(this, "Text1", 1440, 750, 2640);
    Label2 = label(this, "Label2", kDotNotice, 480, 1200, 5400);
    Label2->setStyleSheet(QStringLiteral("color: #A00000;"));

    Label3 = label(this, "Label3", kPeriodRow, kCaptionLeft, 1680, kCaptionWidth);
    Option1 = option(this, "Option1", kOneYear, 2880, 1650, 1200);
    Option2 = option(this, "Option2", kTwoYears, 1680, 1650, 1200);
    Option3 = option(this, "Option3", kFiveYears, 480, 1650, 1200);

    Label4 = label(this, "Label4", QString(), kCaptionLeft, 2160, kCaptionWidth);
    Text2 = textBox(this, "Text2", 1440, 2130, 2640);
    Text2->setAlignment(Qt::AlignCenter);
    Label1 = label(this, "Label1", kToman, 480, 2160, 900);

    addButtons(2640, 1080, 2880);
    tabOrder({Text1, Option1, Option2, Option3, Text2, Command1, Command2});

    Adodc1->bind(Text1, QStringLiteral("pd"));
    Adodc1->bind(Label4, QStringLiteral("ghemats"));
    Adodc1->bind(Text2, QStringLiteral("gs"));

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) Option2_Click(); });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) { if (on) Option3_Click(); });
}

void Form4::Form_Load()
{
    // The design caption of the period label; the opened row's ghemats replaces it.
    Label4->setText(kYearlyPrice);
    setupWindow(kCaption, kWidth, kHeight);
    openRecord();
    PricePeriod::recognise(Label4, Option1, Option2, Option3);
}

void Form4::Option1_Click()
{
    Label4->setText(PricePeriod::oneYear());
}

void Form4::Option2_Click()
{
    Label4->setText(PricePeriod::twoYears());
}

void Form4::Option3_Click()
{
    Label4->setText(PricePeriod::fiveYears());
}
