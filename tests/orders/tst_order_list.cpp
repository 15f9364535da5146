// Form14, the order list: its grid, row choice into the order entry window, delete, and the
// invoice print (report filled from the order and the stored invoice texts, then the preview).
#include "app/common_dialog.h"
#include "app/form_registry.h"
#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "settings/invoice_settings.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"
#include "storage/settings_store.h"
#include "support/test_support.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <vector>

namespace {

DataSource* openTable(QObject* parent, const QString& query)
{
    auto* source = new DataSource(parent);
    source->setConnectionString(DataSource::connectionTextForProgramFolder());
    source->setRecordSource(query);
    source->refresh();
    return source;
}

// Stores an order through a data source of its own; returns its ID.
qint32 storeOrder(const QString& name, const QString& email, const QString& total)
{
    QObject owner;
    DataSource* source = openTable(&owner, QStringLiteral("SELECT * FROM ss WHERE ID=0"));
    source->addNew();
    const QList<std::pair<QString, QString>> values = {
        {QStringLiteral("nuser"), name + QStringLiteral("_user")}, {QStringLiteral("name"), name},
        {QStringLiteral("fname"), QStringLiteral("کريمي")},        {QStringLiteral("email"), email},
        {QStringLiteral("npah"), QStringLiteral("پنل نقره اي")},   {QStringLiteral("khas"), total},
        {QStringLiteral("tss"), QStringLiteral("1388/11/07")},
    };
    std::vector<std::unique_ptr<QLineEdit>> boxes;
    for (const auto& [column, value] : values) {
        boxes.push_back(std::make_unique<QLineEdit>());
        source->bind(boxes.back().get(), column);
        boxes.back()->setText(value);
    }
    if (!source->update())
        qWarning("storing the order failed: %s", qPrintable(source->lastError()));
    return source->currentKey();
}

// Changes one field of a stored order, as the order entry window's save would.
void changeOrder(qint32 id, const QString& column, const QString& value)
{
    QObject owner;
    DataSource* source =
        openTable(&owner, QStringLiteral("SELECT * FROM ss WHERE ID=") + QString::number(id));
    QLineEdit box;
    source->bind(&box, column);
    box.setText(value);
    QVERIFY(source->update());
}

int storedOrderCount()
{
    QObject owner;
    return openTable(&owner, QStringLiteral("SELECT * FROM ss"))->recordCount();
}

void storeInvoiceTexts(const QString& title, const QString& logo)
{
    SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kBusinessTitle, title);
    SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kInvoiceTitle, QStringLiteral("فاکتور فروش"));
    SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kAddress,
                         QStringLiteral("تهران، خيابان آزادي"));
    SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kNotes, QStringLiteral("با تشکر از خريد شما"));
    SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kCustomerSignature,
                         QStringLiteral("امضاي خريدار"));
    SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kSellerSignature,
                         QStringLiteral("مهر فروشنده"));
    SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kLogoPath, logo);
}

QString caption(const char* section, const char* name)
{
    return dataReport1().control(QString::fromLatin1(section), QString::fromLatin1(name))->caption;
}

QImage logo()
{
    return dataReport1().control(QStringLiteral("Section4"), QStringLiteral("Image1"))->picture;
}

QString savePicture(const QString& folder, const QString& name, QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString path = folder + QLatin1Char('/') + name;
    image.save(path, format);
    return path;
}

// What the preview was given each time the print reached it.
struct PreviewLog
{
    QStringList orderNumbers;
    QStringList detailNames;
};

} // namespace

class TestOrderList : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgram> m_program;
    PreviewLog m_previews;

private Q_SLOTS:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        dataReport1() = DataReport1();
        m_previews = {};
        setInvoicePreviewForTests([this](const DataReport1& report, const QString& orderNumber) {
            m_previews.orderNumbers << orderNumber;
            m_previews.detailNames << report.displayText(
                *report.control(QStringLiteral("Section1"), QStringLiteral("Text2")));
        });
        Form14::setClockForTests([] { return QDateTime(QDate(2010, 1, 27), QTime(9, 5, 3)); });
    }

    void cleanup()
    {
        setInvoicePreviewForTests(nullptr);
        Form14::setClockForTests(nullptr);
        CommonDialog::setAnswerForTests(nullptr);
        m_program.reset();
        dataReport1() = DataReport1();
    }

    void loadListsEveryOrder()
    {
        storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        storeOrder(QStringLiteral("رضا"), QStringLiteral("r@x.ir"), QStringLiteral("200"));
        Form14* list = forms().get<Form14>();
        QVERIFY(!list->isVisible());
        QCOMPARE(list->windowTitle(), QStringLiteral("      ويرايش سفارش ها"));
        QCOMPARE(list->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(list->size(), QSize(592, 480));
        QCOMPARE(list->Adodc1->recordSource(), QStringLiteral("SELECT * FROM ss"));
        QCOMPARE(list->Adodc1->recordCount(), 2);
        QCOMPARE(list->printConnection(), list->Adodc1->connectionString());
        QCOMPARE(list->Command1->text(), QStringLiteral("چاپ"));
        QCOMPARE(list->Command3->text(), QStringLiteral("حذف سفارش"));
        QCOMPARE(list->Command4->text(), QStringLiteral("بازگشت"));

        const QStringList captions = {
            QStringLiteral("        شماره ثبت"),   QStringLiteral("  نام کاربري مشتري"),
            QStringLiteral("               نام"),  QStringLiteral("     نام خانوادگي"),
            QStringLiteral("     پست الکترونيک"),  QStringLiteral("     نام پنل انتخابي هاست"),
            QStringLiteral("     دامنه متصل شده"), QStringLiteral("      تاريخ ثبت سفارش"),
            QStringLiteral("      ساير اطلاعات"),
        };
        QCOMPARE(list->DataGrid1->columnCount(), 9);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(list->DataGrid1->columnCaption(i), captions[i]);
        QCOMPARE(list->DataGrid1->columnWidth(5), 133); // 1995 twips
    }

    void printThirdRowPrintsThatOrderOnly()
    {
        storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        storeOrder(QStringLiteral("رضا"), QStringLiteral("r@x.ir"), QStringLiteral("200"));
        const qint32 third =
            storeOrder(QStringLiteral("مريم"), QStringLiteral("m@x.ir"), QStringLiteral("300"));
        storeOrder(QStringLiteral("سارا"), QStringLiteral("s@x.ir"), QStringLiteral("400"));
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(2);
        QTest::mouseClick(list->Command1, Qt::LeftButton);

        QCOMPARE(m_previews.orderNumbers, QStringList{QString::number(third)});
        QCOMPARE(m_previews.detailNames, QStringList{QStringLiteral("مريم")});
        DataSource* printed = list->printRecordset();
        QCOMPARE(printed->recordSource(),
                 QStringLiteral("SELECT * FROM ss WHERE ID=") + QString::number(third));
        QCOMPARE(printed->recordCount(), 1);
        QCOMPARE(dataReport1().dataSource(), printed);
        const DataReport1& report = dataReport1();
        QCOMPARE(report.displayText(*report.control(QStringLiteral("Section1"), QStringLiteral("Text15"))),
                 QStringLiteral("300"));
        QCOMPARE(report.displayText(*report.control(QStringLiteral("Section1"), QStringLiteral("Text4"))),
                 QStringLiteral("m@x.ir"));
        QCOMPARE(list->Adodc1->currentRow(), 2); // the list stays where it was
    }

    void printFillsHeaderAndFooter()
    {
        const QString logoPath =
            savePicture(m_program->folder(), QStringLiteral("logo.jpg"), {120, 80}, "JPG");
        storeInvoiceTexts(QStringLiteral("سروندو هاست"), logoPath);
        storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        Form14* list = forms().get<Form14>();
        QVERIFY(list->preparePrint());

        QCOMPARE(caption("Section4", "Label1"), QStringLiteral("سروندو هاست"));
        QCOMPARE(caption("Section4", "Label4"), QStringLiteral("فاکتور فروش"));
        QCOMPARE(caption("Section4", "Label6"), QStringLiteral("09:05:03"));
        QCOMPARE(caption("Section4", "Label3"), QStringLiteral("چهارشنبه  7  بهمن  1388"));
        QCOMPARE(caption("Section5", "Label10"), QStringLiteral("با تشکر از خريد شما"));
        QCOMPARE(caption("Section5", "Label7"), QStringLiteral("امضاي خريدار"));
        QCOMPARE(caption("Section5", "Label8"), QStringLiteral("مهر فروشنده"));
        QCOMPARE(caption("Section5", "Label9"), QStringLiteral("تهران، خيابان آزادي"));
        QCOMPARE(logo().size(), QSize(120, 80));
        // The fixed captions stay.
        QCOMPARE(caption("Section4", "Label5"), QStringLiteral(": ساعت چاپ"));
        QCOMPARE(caption("Section4", "Label2"), QStringLiteral(": تاريخ چاپ"));
    }

    void printWithNothingStoredPrintsEmptyTexts()
    {
        storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        QVERIFY(forms().get<Form14>()->preparePrint());
        for (const auto& [section, name] : QList<std::pair<const char*, const char*>>{{"Section4", "Label1"},
                                                                                      {"Section4", "Label4"},
                                                                                      {"Section5", "Label10"},
                                                                                      {"Section5", "Label7"},
                                                                                      {"Section5", "Label8"},
                                                                                      {"Section5", "Label9"}})
            QVERIFY2(caption(section, name).isEmpty(), name);
        QVERIFY(logo().isNull());
        QCOMPARE(caption("Section4", "Label6"), QStringLiteral("09:05:03"));
        QVERIFY(!caption("Section4", "Label3").isEmpty());
    }

    void secondPrintRereadsOrderAndSettings()
    {
        const QString logoPath =
            savePicture(m_program->folder(), QStringLiteral("logo.bmp"), {64, 32}, "BMP");
        storeInvoiceTexts(QStringLiteral("عنوان اول"), logoPath);
        const qint32 id = storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        Form14* list = forms().get<Form14>();
        list->Command1_Click();
        QPointer<DataSource> first = list->printRecordset();
        QCOMPARE(caption("Section4", "Label1"), QStringLiteral("عنوان اول"));
        QCOMPARE(logo().size(), QSize(64, 32));

        // Changed meanwhile: the title, the logo path (to a file that is gone), the order itself.
        SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kBusinessTitle,
                             QStringLiteral("عنوان دوم"));
        SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kLogoPath,
                             m_program->folder() + QStringLiteral("/gone.jpg"));
        changeOrder(id, QStringLiteral("name"), QStringLiteral("علي رضا"));
        list->Command1_Click();
        QVERIFY(first.isNull()); // the first print's recordset was closed
        QCOMPARE(m_previews.detailNames, (QStringList{QStringLiteral("علي"), QStringLiteral("علي رضا")}));
        QCOMPARE(caption("Section4", "Label1"), QStringLiteral("عنوان دوم"));
        QCOMPARE(logo().size(), QSize(64, 32)); // an unreadable logo keeps the previous picture

        SettingsStore::write(SettingsStore::kPrint, InvoiceTexts::kLogoPath, QString());
        list->Command1_Click();
        QVERIFY(logo().isNull()); // an empty path clears it
    }

    void printOnEmptyListDoesNothing()
    {
        Form14* list = forms().get<Form14>();
        QVERIFY(!list->preparePrint());
        list->Command1_Click();
        QVERIFY(m_previews.orderNumbers.isEmpty());
        QVERIFY(!list->printRecordset());
        QCOMPARE(caption("Section4", "Label6"), QStringLiteral("Label3")); // report untouched
    }

    void orderGoneMeanwhileIsNotPrintedEmpty()
    {
        const qint32 id = storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        Form14* list = forms().get<Form14>();
        {
            QObject owner;
            DataSource* other =
                openTable(&owner, QStringLiteral("SELECT * FROM ss WHERE ID=") + QString::number(id));
            QVERIFY(other->deleteCurrent());
        }
        ModalAnswerer answer(QStringLiteral("تأييد"));
        list->Command1_Click();
        QVERIFY(answer.done());
        QCOMPARE(answer.seen().title, QStringLiteral("کروانتا  - گزارش گيري سفارش"));
        QVERIFY(m_previews.orderNumbers.isEmpty());
    }

    void previewWindowSavesPdf()
    {
        setInvoicePreviewForTests(nullptr);
        const qint32 id =
            storeOrder(QStringLiteral("علي"), QStringLiteral("ali@example.com"), QStringLiteral("295000"));
        Form14* list = forms().get<Form14>();
        const QString chosen = m_program->folder() + QStringLiteral("/invoice-copy");
        QString suggested;
        CommonDialog::setAnswerForTests(
            [&](const QString& mode, const QString& startName) -> std::optional<QString> {
                if (mode != QStringLiteral("save"))
                    return std::nullopt;
                suggested = startName;
                return chosen;
            });
        bool sawSaveButton = false;
        ModalAnswerer answer([&](QWidget* modal) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
            if (!preview)
                return;
            QCOMPARE(preview->layoutDirection(), Qt::RightToLeft);
            auto* save = preview->findChild<QAction*>(QStringLiteral("savePdf"));
            if (save) {
                sawSaveButton = true;
                save->trigger();
            }
            preview->reject();
        });
        list->Command1_Click();
        QVERIFY(answer.done());
        QCOMPARE(answer.seen().title, QStringLiteral("کروانتا  - گزارش گيري سفارش"));
        QVERIFY(sawSaveButton);
        QCOMPARE(suggested, QString::number(id) + QStringLiteral(".pdf"));
        QFile pdf(chosen + QStringLiteral(".pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    void rowChoiceSaveRereadsAndFindsTheOrder()
    {
        storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        const qint32 second =
            storeOrder(QStringLiteral("رضا"), QStringLiteral("r@x.ir"), QStringLiteral("200"));
        storeOrder(QStringLiteral("مريم"), QStringLiteral("m@x.ir"), QStringLiteral("300"));
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        editState(Table::ss).saved = true;

        EditState seen;
        // Stands in for the order entry window's save: the order changes, another one is
        // added elsewhere, the saved flag is set and the window closes.
        ModalAnswerer answer([&](QWidget* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("Form10"));
            seen = editState(Table::ss);
            changeOrder(second, QStringLiteral("name"), QStringLiteral("رضا حسيني"));
            storeOrder(QStringLiteral("سارا"), QStringLiteral("s@x.ir"), QStringLiteral("400"));
            editState(Table::ss).saved = true;
            forms().unload<Form10>();
        });
        Q_EMIT list->DataGrid1->rowChosen();
        QVERIFY(answer.done());
        QCOMPARE(seen.recordKey, second);
        QVERIFY(seen.editing);
        QVERIFY(!seen.saved);
        QCOMPARE(list->Adodc1->recordCount(), 4); // re-read
        QCOMPARE(list->Adodc1->currentKey(), second);
        QCOMPARE(list->Adodc1->field(QStringLiteral("name")), QStringLiteral("رضا حسيني"));
    }

    void rowChoiceWithoutSaveLeavesTheList()
    {
        storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        storeOrder(QStringLiteral("رضا"), QStringLiteral("r@x.ir"), QStringLiteral("200"));
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        ModalAnswerer answer([&](QWidget*) {
            storeOrder(QStringLiteral("سارا"), QStringLiteral("s@x.ir"), QStringLiteral("400"));
            forms().unload<Form10>();
        });
        list->DataGrid1_RowChosen();
        QVERIFY(answer.done());
        QCOMPARE(list->Adodc1->recordCount(), 2);
        QCOMPARE(list->Adodc1->currentRow(), 1);
    }

    void rowChoiceOnEmptyListOpensNothing()
    {
        Form14* list = forms().get<Form14>();
        editState(Table::ss).recordKey = 42;
        editState(Table::ss).saved = true;
        list->DataGrid1_RowChosen();
        QVERIFY(!forms().isLoaded<Form10>());
        QCOMPARE(editState(Table::ss).recordKey, 42);
        QVERIFY(editState(Table::ss).saved);
        QVERIFY(!editState(Table::ss).editing);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("ordersLeft");
        QTest::newRow("no") << QStringLiteral("نه") << 3;
        QTest::newRow("yes") << QStringLiteral("بله") << 2;
    }

    void deleteAsksFirst()
    {
        QFETCH(QString, button);
        QFETCH(int, ordersLeft);
        storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        const qint32 second =
            storeOrder(QStringLiteral("رضا"), QStringLiteral("r@x.ir"), QStringLiteral("200"));
        storeOrder(QStringLiteral("مريم"), QStringLiteral("m@x.ir"), QStringLiteral("300"));
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        ModalAnswerer answer(button);
        QTest::mouseClick(list->Command3, Qt::LeftButton);
        QVERIFY(answer.done());
        QCOMPARE(answer.seen().text, QStringLiteral(" آيا شما ميخواهيد سفارش مورد نظر راحذف کنيد "));
        QCOMPARE(answer.seen().title, QStringLiteral("حذف سفارش ها"));
        QCOMPARE(list->Adodc1->recordCount(), ordersLeft);
        QCOMPARE(storedOrderCount(), ordersLeft);
        QObject owner;
        const bool stillStored =
            openTable(&owner, QStringLiteral("SELECT * FROM ss WHERE ID=") + QString::number(second))
                ->recordCount() == 1;
        QCOMPARE(stillStored, ordersLeft == 3);
    }

    void deleteOnEmptyListSaysSo()
    {
        Form14* list = forms().get<Form14>();
        ModalAnswerer answer(QStringLiteral("تأييد"));
        list->Command3_Click();
        QVERIFY(answer.done());
        QCOMPARE(answer.seen().title, QStringLiteral("حذف سفارش ها"));
        QVERIFY(answer.seen().text != QStringLiteral(" آيا شما ميخواهيد سفارش مورد نظر راحذف کنيد "));
    }

    void backHidesAndKeepsThePosition()
    {
        storeOrder(QStringLiteral("علي"), QStringLiteral("a@x.ir"), QStringLiteral("100"));
        storeOrder(QStringLiteral("رضا"), QStringLiteral("r@x.ir"), QStringLiteral("200"));
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        ModalAnswerer answer(QStringLiteral("بازگشت"));
        forms().showModal<Form14>();
        QVERIFY(answer.done());
        QVERIFY(!list->isVisible());
        QCOMPARE(forms().ifLoaded<Form14>(), list);
        QCOMPARE(list->Adodc1->currentRow(), 1);
    }
};

QTEST_MAIN(TestOrderList)
#include "tst_order_list.moc"
