// Form15, the invoice settings window: the seven invoice texts between the window and the
// settings store, the logo file dialog, and what the invoice print then uses.
#include "app/common_dialog.h"
#include "app/form_registry.h"
#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "orders/order_list.h"
#include "settings/invoice_settings.h"
#include "storage/data_source.h"
#include "storage/settings_store.h"
#include "support/test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

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

const QStringList kKeys = {InvoiceTexts::kBusinessTitle,     InvoiceTexts::kInvoiceTitle,
                           InvoiceTexts::kAddress,           InvoiceTexts::kNotes,
                           InvoiceTexts::kCustomerSignature, InvoiceTexts::kSellerSignature,
                           InvoiceTexts::kLogoPath};

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
        QCOMPARE(form->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(form->size(), QSize(511, 330));
        QCOMPARE(form->Label1->text(), QStringLiteral("عنوان تجاري :"));
        QCOMPARE(form->Label2->text(), QStringLiteral("عنوان فاکتور :"));
        QCOMPARE(form->Label7->text(), QStringLiteral(" لوگو جهت درج در فاکتور :"));
        QCOMPARE(form->Label3->text(), QStringLiteral("آدرس جهت درج در فاکتور :"));
        QCOMPARE(form->Label4->text(), QStringLiteral("توضيحات جهت درج در فاکتور :"));
        QCOMPARE(form->Label5->text(), QStringLiteral("عنوان امضاء مشتري :"));
        QCOMPARE(form->Label6->text(), QStringLiteral("عنوان امضاء فروشنده :"));
        QCOMPARE(form->Command1->text(), QStringLiteral("ثبت اطلاعات"));
        QCOMPARE(form->Command2->text(), QStringLiteral("بازگشت"));
        QCOMPARE(form->Command3->text(), QStringLiteral("باز کردن فايل"));
        QCOMPARE(form->CommonDialog1->DialogTitle, QStringLiteral(" بازکردن تصوير جهت درج در فاکتور"));
        QCOMPARE(CommonDialog::qtFilter(form->CommonDialog1->Filter),
                 QStringLiteral("(*.JPG,*.BMP) (*.JPG *.BMP)"));
        QCOMPARE(form->Text7->geometry(), QRect(96, 80, 257, 21));
        // First use: nothing stored, every box empty.
        QCOMPARE(boxes(form), QStringList(7, QString()));
    }

    void saveThenLoadRoundTrip()
    {
        TestProgram program;
        Form15* form = forms().get<Form15>();
        form->Text1->setText(kValues[0]);
        form->Text2->setText(kValues[1]);
        form->Text3->setText(kValues[2]);
        form->Text4->setPlainText(kValues[3]);
        form->Text5->setText(kValues[4]);
        form->Text6->setText(kValues[5]);
        form->Text7->setText(kValues[6]);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(stored(kKeys[i]), kValues[i]);

        // As at the next start: a freshly loaded window reads them back.
        forms().unload<Form15>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(boxes(forms().get<Form15>()), kValues);
    }

    void saveStoresEmptyBoxesToo()
    {
        TestProgram program;
        for (int i = 0; i < 7; ++i)
            SettingsStore::write(SettingsStore::kPrint, kKeys[i], kValues[i]);
        Form15* form = forms().get<Form15>();
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
        SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kBusinessTitle,
                             QStringLiteral("عنوان ثبت شده"));
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

        // An order printed now carries the stored title.
        {
            QObject owner;
            auto* source = new DataSource(&owner);
            source->setConnectionString(DataSource::connectionTextForProgramFolder());
            source->setRecordSource(QStringLiteral("SELECT * FROM ss WHERE ID=0"));
            source->refresh();
            source->addNew();
            QLineEdit name;
            source->bind(&name, QStringLiteral("name"));
            name.setText(QStringLiteral("علي"));
            QVERIFY(source->update());
        }
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
        SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kLogoPath, QStringLiteral("/old/logo.jpg"));
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
        // Nothing is stored until saved.
        QCOMPARE(stored(InvoiceTexts::kLogoPath), QStringLiteral("/old/logo.jpg"));
    }
};

QTEST_MAIN(TestInvoiceSettings)
#include "tst_invoice_settings.moc"
