#include "catalogue/plan_editor.h"

#include "catalogue/list_windows.h"
#include "catalogue/period_options.h"
#include "storage/data_source.h"
#include "ui/controls.h"
#include "ui/form_registry.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {
const QString kCaptionWindows = QStringLiteral("      ثبت پنل ويندوز      ");
const QString kCaptionLinux = QStringLiteral("     ثبت پنل لينوکس     ");
const QString kPlanName = QStringLiteral("نام پانل :");
const QString kDiskSpace = QStringLiteral("ميزان فضا :");
const QString kBandwidth = QStringLiteral("پهناي باند :");
const QString kMegabytes = QStringLiteral("مگابايت");
const QString kPeriodRow = QStringLiteral("ثبت چند ساله :");
const QString kOneYear = QStringLiteral("يک ساله");
const QString kTwoYears = QStringLiteral("دو ساله");
const QString kFiveYears = QStringLiteral("پنج ساله");
const QString kToman = QStringLiteral("تومان");
const QString kOtherInfo = QStringLiteral("ساير اطلاعات :");

// Layout in twips: captions in the right column, boxes to their left, units further left.
constexpr int kWidth = 6240;
constexpr int kHeight = 5640;
constexpr int kCaptionLeft = 4200;
constexpr int kCaptionWidth = 1680;
} // namespace

PlanEditor::PlanEditor(Table table, QWidget* parent)
    : CatalogueEditor(table, parent), m_table(table)
{
    setObjectName(table == Table::winhost ? QStringLiteral("Form2") : QStringLiteral("Form3"));
    using namespace Controls;
    Shape1 = frameShape(this, "Shape1", 240, 120, 5880, 4740);
    addKeyRow(kCaptionLeft, 2400, 300, kCaptionWidth);

    Label5 = label(this, "Label5", kPlanName, kCaptionLeft, 780, kCaptionWidth);
    Text1 = textBox(this, "Text1", 480, 750, 3600);

    Label6 = label(this, "Label6", kDiskSpace, kCaptionLeft, 1260, kCaptionWidth);
    Text2 = textBox(this, "Text2", 1440, 1230, 2640);
    Label1 = label(this, "Label1", kMegabytes, 480, 1260, 900);

    Label7 = label(this, "Label7", kBandwidth, kCaptionLeft, 1740, kCaptionWidth);
    Text3 = textBox(this, "Text3", 1440, 1710, 2640);
    Label2 = label(this, "Label2", kMegabytes, 480, 1740, 900);

    Label3 = label(this, "Label3", kPeriodRow, kCaptionLeft, 2220, kCaptionWidth);
    Option1 = option(this, "Option1", kOneYear, 2880, 2190, 1200);
    Option2 = option(this, "Option2", kTwoYears, 1680, 2190, 1200);
    Option3 = option(this, "Option3", kFiveYears, 480, 2190, 1200);

    Label9 = label(this, "Label9", QString(), kCaptionLeft, 2700, kCaptionWidth);
    Text5 = textBox(this, "Text5", 1440, 2670, 2640);
    Label4 = label(this, "Label4", kToman, 480, 2700, 900);

    Label10 = label(this, "Label10", kOtherInfo, kCaptionLeft, 3180, kCaptionWidth);
    Text6 = notesBox(this, "Text6", 480, 3150, 3600, 1500);

    addButtons(2640, 1080, 5040);
    tabOrder({Text1, Text2, Text3, Option1, Option2, Option3, Text5, Text6, Command1, Command2});

    Adodc1->bind(Text1, QStringLiteral("namep"));
    Adodc1->bind(Text2, QStringLiteral("mf"));
    Adodc1->bind(Text3, QStringLiteral("pb"));
    Adodc1->bind(Label9, QStringLiteral("ghemats"));
    Adodc1->bind(Text5, QStringLiteral("gs"));
    Adodc1->bind(Text6, QStringLiteral("sa"));

    // Turning an option on, by a click or by the recognition at opening, runs its step.
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) Option2_Click(); });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) { if (on) Option3_Click(); });
}

void PlanEditor::Form_Load()
{
    setupWindow(m_table == Table::winhost ? kCaptionWindows : kCaptionLinux, kWidth, kHeight);
    openRecord();
    PricePeriod::recognise(Label9, Option1, Option2, Option3);
}

void PlanEditor::Option1_Click()
{
    Label9->setText(PricePeriod::oneYear());
}

void PlanEditor::Option2_Click()
{
    Label9->setText(PricePeriod::twoYears());
}

void PlanEditor::Option3_Click()
{
    Label9->setText(PricePeriod::fiveYears());
}

void PlanEditor::afterStored()
{
    // The list shows the stored plan the next time it is seen; reaching into it loads it.
    if (m_table == Table::winhost)
        forms().get<Form6>()->Adodc1->refresh();
    else
        forms().get<Form7>()->Adodc1->refresh();
}
