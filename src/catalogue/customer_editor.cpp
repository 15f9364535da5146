#include "catalogue/customer_editor.h"

#include "catalogue/list_windows.h"
#include "storage/data_source.h"
#include "ui/controls.h"
#include "ui/form_registry.h"
#include "ui/program_events.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>

namespace {
const QString kCaption = QStringLiteral("    ثبت مشتري جديد");
const QString kUserName = QStringLiteral("نام كاربري :");
const QString kFirstName = QStringLiteral("نام :");
const QString kFamilyName = QStringLiteral("نام خانوادگي :");
const QString kEmail = QStringLiteral("پست الكترونيك :");
const QString kTelephone = QStringLiteral("تلفن تماس :");
const QString kMobile = QStringLiteral("موبايل :");
const QString kPostalCode = QStringLiteral("كد پستي محل سكونت :");
const QString kNotable = QStringLiteral("ساير اطلاعات قابل ذكر :");

// Layout in twips: a wider caption column than the other editors for the longest caption.
constexpr int kWidth = 6960;
constexpr int kHeight = 6600;
constexpr int kCaptionLeft = 4560;
constexpr int kCaptionWidth = 2040;
constexpr int kBoxLeft = 480;
constexpr int kBoxWidth = 3960;
constexpr int kFirstRow = 780;
constexpr int kRowStep = 480;
} // namespace

Form5::Form5(QWidget* parent) : CatalogueEditor(Table::newmoshtary, parent)
{
    setObjectName(QStringLiteral("Form5"));
    using namespace Controls;
    Shape1 = frameShape(this, "Shape1", 240, 120, 6480, 5700);
    addKeyRow(kCaptionLeft, kCaptionLeft - kCaptionWidth - 120, 300, kCaptionWidth);

    const QString captions[] = {kUserName, kFirstName, kFamilyName, kEmail, kTelephone, kMobile, kPostalCode, kNotable};
    for (int i = 0; i < 8; ++i) {
        QLabel* caption = label(this, "lblLabels", captions[i], kCaptionLeft, kFirstRow + i * kRowStep + 30, kCaptionWidth);
        caption->setProperty("Index", i);
        lblLabels << caption;
    }
    auto rowTop = [](int row) { return kFirstRow + row * kRowStep; };
    Text1 = latinTextBox(this, "Text1", kBoxLeft, rowTop(0), kBoxWidth);
    Text2 = textBox(this, "Text2", kBoxLeft, rowTop(1), kBoxWidth);
    Text3 = textBox(this, "Text3", kBoxLeft, rowTop(2), kBoxWidth);
    Text4 = latinTextBox(this, "Text4", kBoxLeft, rowTop(3), kBoxWidth);
    Text5 = latinTextBox(this, "Text5", kBoxLeft, rowTop(4), kBoxWidth);
    Text6 = latinTextBox(this, "Text6", kBoxLeft, rowTop(5), kBoxWidth);
    Text7 = latinTextBox(this, "Text7", kBoxLeft, rowTop(6), kBoxWidth);
    Text8 = notesBox(this, "Text8", kBoxLeft, rowTop(7), kBoxWidth, 1500);

    addButtons(3000, 1440, 6000);
    tabOrder({Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Command1, Command2});

    Adodc1->bind(Text1, QStringLiteral("nuser"));
    Adodc1->bind(Text2, QStringLiteral("name"));
    Adodc1->bind(Text3, QStringLiteral("fname"));
    Adodc1->bind(Text4, QStringLiteral("email"));
    Adodc1->bind(Text5, QStringLiteral("tell"));
    Adodc1->bind(Text6, QStringLiteral("mob"));
    Adodc1->bind(Text7, QStringLiteral("kp"));
    Adodc1->bind(Text8, QStringLiteral("sa"));
}

void Form5::Form_Load()
{
    setupWindow(kCaption, kWidth, kHeight);
    openRecord();
}

void Form5::afterClosed()
{
    // The main window shows the customer count anew.
    Q_EMIT programEvents().customersChanged();
}
