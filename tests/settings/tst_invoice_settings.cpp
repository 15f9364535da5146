// Form15, the invoice settings window: the seven invoice texts between the window and the
// settings store, the logo file dialog, and what the invoice print then uses.
#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "orders/order_list.h"
#include "settings/invoice_settings.h"
#include "storage/settings_store.h"
#include "support/fixtures.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

namespace {

QString stored(const QString& key)
{
    return SettingsStore::read(SettingsStore::kPrint, key);
}

QStringList boxes(const Form15* form)
{
    return {form->Text1->text(), form->Text2->text(), form->Text3->text(), form->Text4->toPlainText(),
            form->Text5->text(), form->Text6->text(), form->Text7->text()};
}

const QStringList kKeys = {SettingsStore::kBusinessTitle,     SettingsStore::kInvoiceTitle,
                           SettingsStore::kAddress,           SettingsStore::kNotes,
                           SettingsStore::kCustomerSignature, SettingsStore::kSellerSignature,
                           SettingsStore::kLogoPath};

const QStringList kValues = {
    QStringLiteral("سروندو هاست"),
    QStringLiteral("فاکتور فروش خدمات"),
    QStringLiteral("تهران، خيابان آزادي، پلاک ۱۲"),
    QStringLiteral("سطر اول توضيحات\nسطر دوم"),
    QStringLiteral("امضاي خريدار"),
    QStringLiteral("مهر و امضاي فروشنده"),
    QStringLiteral("/tmp/لوگو.jpg"),
};

} // namespace

class TestInvoiceSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { CommonDialog::setAnswerForTests(nullptr); }

    void windowAndTexts()
    {
        TestProgram program;
        Form15* form = forms().get<Form15>();
        QCOMPARE(form->windowTitle(), QStringLiteral("     تنظيمات فاکتور"));
        const QList<std::pair<QString, QString>> captions = {
            {form->Label1->text(), QStringLiteral("عنوان تجاري :")},
            {form->Label2->text(), QStringLiteral("عنوان فاکتور :")},
            {form->Label7->text(), QStringLiteral(" لوگو جهت درج در فاکتور :")},
            {form->Label3->text(), QStringLiteral("آدرس جهت درج در فاکتور :")},
            {form->Label4->text(), QStringLiteral("توضيحات جهت درج در فاکتور :")},
            {form->Label5->text(), QStringLiteral("عنوان امضاء مشتري :")},
            {form->Label6->text(), QStringLiteral("عنوان امضاء فروشنده :")},
            {form->Command1->text(), QStringLiteral("ثبت اطلاعات")},
            {form->Command2->text(), QStringLiteral("بازگشت")},
            {form->Command3->text(), QStringLiteral("باز کردن فايل")},
            {form->CommonDialog1->DialogTitle, QStringLiteral(" بازکردن تصوير جهت درج در فاکتور")},
            {CommonDialog::qtFilter(form->CommonDialog1->Filter), QStringLiteral("(*.JPG,*.BMP) (*.JPG *.BMP)")}};
        for (const auto& [shown, expected] : captions)
            QCOMPARE(shown, expected);
        QCOMPARE(boxes(form), QStringList(7, QString()));
    }

    // The notes are written from the right, as the window's other boxes are.
    void notesStartAtTheRight()
    {
        TestProgram program;
        Form15* form = forms().get<Form15>();
        form->show();
        form->Text4->setPlainText(QStringLiteral("سطر اول توضيحات"));
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QTextCursor start(form->Text4->document());
        start.movePosition(QTextCursor::Start);
        QVERIFY2(form->Text4->cursorRect(start).x() > form->Text4->viewport()->width() * 3 / 4,
                 qPrintable(QString::number(form->Text4->cursorRect(start).x())));
        form->hide();
    }

    // Save stores all seven boxes, empty ones too; a freshly loaded window reads them back.
    void saveThenLoadRoundTrip()
    {
        TestProgram program;
        Form15* form = forms().get<Form15>();
        const QList<QLineEdit*> lines = {form->Text1, form->Text2, form->Text3, nullptr, form->Text5, form->Text6, form->Text7};
        for (int i = 0; i < 7; ++i)
            lines[i] ? lines[i]->setText(kValues[i]) : form->Text4->setPlainText(kValues[i]);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(stored(kKeys[i]), kValues[i]);

        forms().unload<Form15>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form = forms().get<Form15>();
        QCOMPARE(boxes(form), kValues);
        form->Text1->clear();
        form->Text4->clear();
        form->Command1_Click();
        QCOMPARE(stored(kKeys[0]), QString());
        QCOMPARE(stored(kKeys[3]), QString());
        QCOMPARE(stored(kKeys[1]), kValues[1]);
    }

    void backKeepsUnsavedEditsWhilePrintingUsesStoredOnes()
    {
        TestProgram program;
        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kBusinessTitle, QStringLiteral("عنوان ثبت شده"));
        Form15* form = forms().get<Form15>();
        form->Text1->setText(QStringLiteral("عنوان ثبت نشده"));
        {
            ModalAnswerer back(QStringLiteral("بازگشت"));
            forms().showModal<Form15>();
            QVERIFY(back.done());
        }
        QVERIFY(!form->isVisible());
        QCOMPARE(forms().get<Form15>(), form);
        QCOMPARE(form->Text1->text(), QStringLiteral("عنوان ثبت نشده"));

        QVERIFY(fixtures::insert(QStringLiteral("ss"), {{"name", QStringLiteral("علي")}}) > 0);
        QString printedTitle;
        setInvoicePreviewForTests([&](const DataReport1& report, const QString&) {
            printedTitle = report.control(QStringLiteral("Section4"), QStringLiteral("Label1"))->caption;
        });
        forms().get<Form14>()->Command1_Click();
        setInvoicePreviewForTests(nullptr);
        QCOMPARE(printedTitle, QStringLiteral("عنوان ثبت شده"));
    }

    void logoDialog()
    {
        TestProgram program;
        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kLogoPath, QStringLiteral("/old/logo.jpg"));
        Form15* form = forms().get<Form15>();
        QStringList asked;
        std::optional<QString> answer;
        CommonDialog::setAnswerForTests([&](const QString& mode, const QString& startName) {
            asked << mode + QLatin1Char(':') + startName;
            return answer;
        });

        // Cancelled before anything was picked in this window: the dialog's file name is empty.
        answer = std::nullopt;
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(form->Text7->text(), QString());

        answer = QStringLiteral("/pictures/first.JPG");
        form->Command3_Click();
        QCOMPARE(form->Text7->text(), QStringLiteral("/pictures/first.JPG"));

        // Cancelled after a pick: the last picked file.
        form->Text7->setText(QStringLiteral("typed by hand"));
        answer = std::nullopt;
        form->Command3_Click();
        QCOMPARE(form->Text7->text(), QStringLiteral("/pictures/first.JPG"));
        QCOMPARE(asked, (QStringList{QStringLiteral("open:"), QStringLiteral("open:"),
                                     QStringLiteral("open:/pictures/first.JPG")}));
        QCOMPARE(stored(SettingsStore::kLogoPath), QStringLiteral("/old/logo.jpg"));
    }
};

QTEST_MAIN(TestInvoiceSettings)
#include "tst_invoice_settings.moc"
