#include "settings/invoice_settings.h"

#include "settings/software_settings.h"

#include "storage/settings_store.h"
#include "ui/common_dialog.h"
#include "ui/controls.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kLogoDialogFilter = QStringLiteral("(*.JPG,*.BMP)|*.JPG;*.BMP");

} // namespace

Form15::Form15(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form15"));

    using namespace Controls;
    auto* frame = frameShape(this, "Shape1", 120, 120, 7455, 5475);
    frame->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: 1px solid rgb(224, 224, 224); }"));

    Label1 = fittedLabel(this, "Label1", QStringLiteral("عنوان تجاري :"), 6450, 240, 945, 195);
    Text1 = textBox(this, "Text1", 240, 240, 6015, 315);
    Label2 = fittedLabel(this, "Label2", QStringLiteral("عنوان فاکتور :"), 6465, 720, 930, 195);
    Text2 = textBox(this, "Text2", 240, 720, 6015, 315);
    Label7 = fittedLabel(this, "Label7", QStringLiteral(" لوگو جهت درج در فاکتور :"), 5685, 1200, 1710, 195);
    Text7 = latinTextBox(this, "Text7", 1440, 1200, 3855, 315);
    // A path reads left to right and from the left, also when its folder names are Persian.
    Text7->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Command3 = button(this, "Command3", QStringLiteral("باز کردن فايل"), 240, 1150, 1095, 375);
    // The address and the notes run over several lines; each box shows a few of them at once.
    // The captions end at one right edge.
    Label3 = fittedLabel(this, "Label3", QStringLiteral("آدرس جهت درج در فاکتور :"), 5625, 1680, 1770, 195);
    Text3 = notesBox(this, "Text3", 240, 1680, 5055, 1110);
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Label4 =
        fittedLabel(this, "Label4", QStringLiteral("توضيحات جهت درج در فاکتور :"), 5400, 2940, 1995, 195);
    Text4 = notesBox(this, "Text4", 240, 2940, 5055, 1515);
    Label5 = fittedLabel(this, "Label5", QStringLiteral("عنوان امضاء مشتري :"), 5880, 4620, 1515, 195);
    Text5 = textBox(this, "Text5", 240, 4620, 5535, 315);
    Label6 = fittedLabel(this, "Label6", QStringLiteral("عنوان امضاء فروشنده :"), 5820, 5100, 1575, 195);
    Text6 = textBox(this, "Text6", 240, 5100, 5535, 315);
    Command1 = button(this, "Command1", QStringLiteral("ثبت اطلاعات"), 6240, 5715, 1215, 375);
    Command2 = button(this, "Command2", QStringLiteral("بازگشت"), 120, 5715, 1215, 375);
    tabOrder({Text1, Text2, Text7, Command3, Text3, Text4, Text5, Text6, Command1, Command2});
    keepCaptionsClear(this);

    CommonDialog1 = new CommonDialog(this);
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    CommonDialog1->DialogTitle = QStringLiteral(" بازکردن تصوير جهت درج در فاکتور");
    CommonDialog1->Filter = kLogoDialogFilter;

    connect(Command1, &QPushButton::clicked, this, &Form15::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form15::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form15::Command3_Click);
}

void Form15::Form_Load()
{
    setupWindow(QStringLiteral("     تنظيمات فاکتور"), 7665, 6210);
    Text1->setText(SettingsStore::read(SettingsStore::kPrint, SettingsStore::kBusinessTitle));
    Text2->setText(SettingsStore::read(SettingsStore::kPrint, SettingsStore::kInvoiceTitle));
    Text3->setPlainText(SettingsStore::read(SettingsStore::kPrint, SettingsStore::kAddress));
    Text4->setPlainText(SettingsStore::read(SettingsStore::kPrint, SettingsStore::kNotes));
    Text5->setText(SettingsStore::read(SettingsStore::kPrint, SettingsStore::kCustomerSignature));
    Text6->setText(SettingsStore::read(SettingsStore::kPrint, SettingsStore::kSellerSignature));
    Text7->setText(SettingsStore::read(SettingsStore::kPrint, SettingsStore::kLogoPath));
}

void Form15::Command1_Click()
{
    // All seven in one write: a failed save leaves the stored invoice texts as they were.
    settingsSaved(this,
                  SettingsStore::write(SettingsStore::kPrint, {{SettingsStore::kBusinessTitle, Text1->text()},
                                                               {SettingsStore::kInvoiceTitle, Text2->text()},
                                                               {SettingsStore::kAddress, Text3->toPlainText()},
                                                               {SettingsStore::kNotes, Text4->toPlainText()},
                                                               {SettingsStore::kCustomerSignature, Text5->text()},
                                                               {SettingsStore::kSellerSignature, Text6->text()},
                                                               {SettingsStore::kLogoPath, Text7->text()}}),
                  windowTitle().trimmed());
}

void Form15::Command2_Click()
{
    hide();
}

void Form15::Command3_Click()
{
    // After a cancel the dialog's file name is the one chosen last in this window (empty when
    // none was), and that is what the box shows.
    CommonDialog1->ShowOpen(this);
    Text7->setText(CommonDialog1->FileName);
}
