#include "catalogue/domain_editor.h"

#include "storage/data_source.h"
#include "ui/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString kCaption = QStringLiteral("    ثبت دامنه جديد");
const QString kYearlyPrice = QStringLiteral("قيمت ساليانه :");
} // namespace

Form4::Form4(QWidget* parent) : PricedEditor(Table::newdomin, parent)
{
    setObjectName(QStringLiteral("Form4"));
    using namespace Controls;
    addKeyRow(kCaptionLeft, 2400, 300, kCaptionWidth);

    Label5 = label(this, "Label5", QStringLiteral("پسوند دامنه :"), kCaptionLeft, 780, kCaptionWidth);
    Text1 = bound(latinTextBox(this, "Text1", 1440, 750, 2640), "pd");
    Label2 = label(this, "Label2", QStringLiteral("توجه : لطفا پسوند دامنه را بدون نقطه بنويسيد"), 480, 1200, 5400);
    Label2->setStyleSheet(QStringLiteral("color: #A00000;"));

    Label4 = bound(label(this, "Label4", QString(), kCaptionLeft, 2160, kCaptionWidth), "ghemats");
    addPeriodRow(1680, Label4);
    Text2 = bound(textBox(this, "Text2", 1440, 2130, 2640), "gs");
    Text2->setAlignment(Qt::AlignCenter);
    Label1 = label(this, "Label1", QStringLiteral("تومان"), 480, 2160, 900);

    addFrameAndButtons(kWidth, 2700);
    tabOrder({Text1, Option1, Option2, Option3, Text2, Command1, Command2});
}

void Form4::Form_Load()
{
    // The design caption of the period label; the opened row's ghemats replaces it.
    Label4->setText(kYearlyPrice);
    setupEditor(kCaption);
    openRecord();
    recognisePeriod();
}
