#include "catalogue/customer_editor.h"

#include "catalogue/list_windows.h"
#include "storage/data_source.h"
#include "ui/controls.h"
#include "ui/form_registry.h"
#include "ui/program_events.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>

namespace {
const QString kCaption = QStringLiteral("    ثبت مشتري جديد");

// The rows of the window, top to bottom: caption (lblLabels), box, bound column, and whether
// the box holds Latin script or digits (centred, typed left to right).
struct CustomerRow
{
    QString caption;
    const char* box;
    const char* column;
    bool latin;
};
const CustomerRow kRows[] = {
    {QStringLiteral("نام كاربري :"), "Text1", "nuser", true},
    {QStringLiteral("نام :"), "Text2", "name", false},
    {QStringLiteral("نام خانوادگي :"), "Text3", "fname", false},
    {QStringLiteral("پست الكترونيك :"), "Text4", "email", true},
    {QStringLiteral("تلفن تماس :"), "Text5", "tell", true},
    {QStringLiteral("موبايل :"), "Text6", "mob", true},
    {QStringLiteral("كد پستي محل سكونت :"), "Text7", "kp", true},
    {QStringLiteral("ساير اطلاعات قابل ذكر :"), "Text8", "sa", false},
};
QLineEdit* Form5::*const kLineBoxes[] = {&Form5::Text1, &Form5::Text2, &Form5::Text3, &Form5::Text4,
                                         &Form5::Text5, &Form5::Text6, &Form5::Text7};

// Layout in twips: a wider caption column than the other editors for the longest caption;
// the boxes stand from 480 to 4440.
constexpr int kWidth = 6960;
constexpr int kCaptionLeft = 4560;
constexpr int kCaptionWidth = 2040;
constexpr int kFirstRow = 780;
constexpr int kRowStep = 480;
} // namespace

Form5::Form5(QWidget* parent) : CatalogueEditor(Table::newmoshtary, parent)
{
    setObjectName(QStringLiteral("Form5"));
    using namespace Controls;
    addKeyRow(kCaptionLeft, kCaptionLeft - kCaptionWidth - 120, 300, kCaptionWidth);
    for (int i = 0; i < 8; ++i) {
        const CustomerRow& row = kRows[i];
        const int top = kFirstRow + i * kRowStep;
        QLabel* caption = label(this, "lblLabels", row.caption, kCaptionLeft, top + 30, kCaptionWidth);
        caption->setProperty("Index", i);
        lblLabels << caption;
        if (i < 7)
            this->*kLineBoxes[i] = bound(row.latin ? latinTextBox(this, row.box, 480, top, 3960)
                                                   : textBox(this, row.box, 480, top, 3960),
                                         row.column);
    }
    Text8 = bound(notesBox(this, kRows[7].box, 480, kFirstRow + 7 * kRowStep, 3960, 1500), kRows[7].column);

    addFrameAndButtons(kWidth, 5820);
    tabOrder({Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Command1, Command2});
}

void Form5::Form_Load()
{
    setupEditor(kCaption);
    openRecord();
}

void Form5::afterClosed()
{
    // The main window shows the customer count anew.
    Q_EMIT programEvents().customersChanged();
}
