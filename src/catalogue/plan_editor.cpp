#include "catalogue/plan_editor.h"

#include "catalogue/list_windows.h"
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
} // namespace

PlanEditor::PlanEditor(Table table, QWidget* parent) : PricedEditor(table, parent), m_table(table)
{
    setObjectName(table == Table::winhost ? QStringLiteral("Form2") : QStringLiteral("Form3"));
    // Captions in the right column, boxes to their left, units further left (twips).
    using namespace Controls;
    addKeyRow(kCaptionLeft, 2400, 300, kCaptionWidth);

    Label5 = label(this, "Label5", QStringLiteral("نام پانل :"), kCaptionLeft, 780, kCaptionWidth);
    Text1 = bound(textBox(this, "Text1", 480, 750, 3600), "namep");

    Label6 = label(this, "Label6", QStringLiteral("ميزان فضا :"), kCaptionLeft, 1260, kCaptionWidth);
    Text2 = bound(textBox(this, "Text2", 1440, 1230, 2640), "mf");
    Label1 = label(this, "Label1", QStringLiteral("مگابايت"), 480, 1260, 900);

    Label7 = label(this, "Label7", QStringLiteral("پهناي باند :"), kCaptionLeft, 1740, kCaptionWidth);
    Text3 = bound(textBox(this, "Text3", 1440, 1710, 2640), "pb");
    Label2 = label(this, "Label2", QStringLiteral("مگابايت"), 480, 1740, 900);

    Label9 = bound(label(this, "Label9", QString(), kCaptionLeft, 2700, kCaptionWidth), "ghemats");
    addPeriodRow(2220, Label9);
    Text5 = bound(textBox(this, "Text5", 1440, 2670, 2640), "gs");
    Label4 = label(this, "Label4", QStringLiteral("تومان"), 480, 2700, 900);

    Label10 = label(this, "Label10", QStringLiteral("ساير اطلاعات :"), kCaptionLeft, 3180, kCaptionWidth);
    Text6 = bound(notesBox(this, "Text6", 480, 3150, 3600, 1500), "sa");

    addFrameAndButtons(kWidth, 4860);
    tabOrder({Text1, Text2, Text3, Option1, Option2, Option3, Text5, Text6, Command1, Command2});
}

void PlanEditor::Form_Load()
{
    setupEditor(m_table == Table::winhost ? kCaptionWindows : kCaptionLinux);
    openRecord();
    recognisePeriod();
}

void PlanEditor::afterStored()
{
    // The list shows the stored plan the next time it is seen; reaching into it loads it.
    if (m_table == Table::winhost)
        forms().get<Form6>()->Adodc1->refresh();
    else
        forms().get<Form7>()->Adodc1->refresh();
}
