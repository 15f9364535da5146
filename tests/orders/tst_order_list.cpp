// Form14, the order list: its grid, row choice into the order entry window, delete, and the
// invoice print (report filled from the order and the stored invoice texts, then the preview).
#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "settings/invoice_settings.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"
#include "storage/settings_store.h"
#include "support/fixtures.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <tuple>

using namespace fixtures;

namespace {

// Stores an order straight into the database; returns its ID.
qint32 storeOrder(const QString& name, const QString& email, const QString& total)
{
    return insert(QStringLiteral("ss"), {{"nuser", name + QStringLiteral("_user")}, {"name", name},
                                         {"fname", QStringLiteral("کريمي")}, {"email", email},
                                         {"npah", QStringLiteral("پنل نقره اي")}, {"khas", total}, {"tss", "1388/11/07"}});
}

// The first n of these four orders; returns their IDs.
QList<qint32> storeOrders(int n)
{
    const QList<std::pair<QString, QString>> orders = {{QStringLiteral("علي"), "a@x.ir"}, {QStringLiteral("رضا"), "r@x.ir"},
                                                       {QStringLiteral("مريم"), "m@x.ir"}, {QStringLiteral("سارا"), "s@x.ir"}};
    QList<qint32> ids;
    for (int i = 0; i < n; ++i)
        ids << storeOrder(orders[i].first, orders[i].second, QString::number(100 * (i + 1)));
    return ids;
}

void changeOrder(qint32 id, const QString& column, const QString& value)
{
    QVERIFY(exec(QStringLiteral("UPDATE ss SET %1=? WHERE ID=%2").arg(column).arg(id), {value}));
}

void storeInvoiceTexts(const QString& title, const QString& logo)
{
    const QList<std::pair<QString, QString>> texts = {
        {SettingsStore::kBusinessTitle, title},
        {SettingsStore::kInvoiceTitle, QStringLiteral("فاکتور فروش")},
        {SettingsStore::kAddress, QStringLiteral("تهران، خيابان آزادي")},
        {SettingsStore::kNotes, QStringLiteral("با تشکر از خريد شما")},
        {SettingsStore::kCustomerSignature, QStringLiteral("امضاي خريدار")},
        {SettingsStore::kSellerSignature, QStringLiteral("مهر فروشنده")},
        {SettingsStore::kLogoPath, logo}};
    for (const auto& [key, value] : texts)
        SettingsStore::write(SettingsStore::kPrint, key, value);
}

QString caption(const char* section, const char* name)
{
    return dataReport1().control(QString::fromLatin1(section), QString::fromLatin1(name))->caption;
}

QImage logo()
{
    return dataReport1().control(QStringLiteral("Section4"), QStringLiteral("Image1"))->picture;
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
        storeOrders(2);
        Form14* list = forms().get<Form14>();
        QVERIFY(!list->isVisible());
        QCOMPARE(list->windowTitle(), QStringLiteral("      ويرايش سفارش ها"));
        QCOMPARE(list->Adodc1->recordCount(), 2);
        QCOMPARE(list->printConnection(), list->Adodc1->connectionString());
        QCOMPARE((QStringList{list->Command1->text(), list->Command3->text(), list->Command4->text()}),
                 (QStringList{QStringLiteral("چاپ"), QStringLiteral("حذف سفارش"), kBack}));
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
    }

    void printThirdRowPrintsThatOrderOnly()
    {
        const qint32 third = storeOrders(4)[2];
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(2);
        QTest::mouseClick(list->Command1, Qt::LeftButton);

        QCOMPARE(m_previews.orderNumbers, QStringList{QString::number(third)});
        QCOMPARE(m_previews.detailNames, QStringList{QStringLiteral("مريم")});
        DataSource* printed = list->printRecordset();
        QCOMPARE(printed->recordSource(), QStringLiteral("SELECT * FROM ss WHERE ID=") + QString::number(third));
        QCOMPARE(printed->recordCount(), 1);
        QCOMPARE(dataReport1().dataSource(), printed);
        const DataReport1& report = dataReport1();
        QCOMPARE(report.displayText(*report.control(QStringLiteral("Section1"), QStringLiteral("Text15"))),
                 QStringLiteral("300"));
        QCOMPARE(list->Adodc1->currentRow(), 2); // the list stays where it was
    }

    // The header and footer take the stored invoice texts, the print time and date; with
    // nothing stored they print empty.
    void printFillsHeaderAndFooter_data()
    {
        QTest::addColumn<bool>("textsStored");
        QTest::newRow("texts stored") << true;
        QTest::newRow("nothing stored") << false;
    }
    void printFillsHeaderAndFooter()
    {
        QFETCH(bool, textsStored);
        if (textsStored)
            storeInvoiceTexts(QStringLiteral("سروندو هاست"),
                              savePicture(m_program->folder() + QStringLiteral("/logo.jpg"), {120, 80}, "JPG"));
        storeOrders(1);
        QVERIFY(forms().get<Form14>()->preparePrint());

        const QList<std::tuple<const char*, const char*, QString>> expected = {
            {"Section4", "Label1", QStringLiteral("سروندو هاست")},  {"Section4", "Label4", QStringLiteral("فاکتور فروش")},
            {"Section5", "Label10", QStringLiteral("با تشکر از خريد شما")}, {"Section5", "Label7", QStringLiteral("امضاي خريدار")},
            {"Section5", "Label8", QStringLiteral("مهر فروشنده")},   {"Section5", "Label9", QStringLiteral("تهران، خيابان آزادي")}};
        for (const auto& [section, name, text] : expected)
            QCOMPARE(caption(section, name), textsStored ? text : QString());
        QCOMPARE(logo().size(), textsStored ? QSize(120, 80) : QSize(0, 0));
        QCOMPARE(caption("Section4", "Label6"), QStringLiteral("09:05:03"));
        QCOMPARE(caption("Section4", "Label3"), QStringLiteral("چهارشنبه  7  بهمن  1388"));
    }

    void secondPrintRereadsOrderAndSettings()
    {
        storeInvoiceTexts(QStringLiteral("عنوان اول"),
                          savePicture(m_program->folder() + QStringLiteral("/logo.bmp"), {64, 32}, "BMP"));
        const qint32 id = storeOrders(1)[0];
        Form14* list = forms().get<Form14>();
        list->Command1_Click();
        QPointer<DataSource> first = list->printRecordset();
        QCOMPARE(caption("Section4", "Label1"), QStringLiteral("عنوان اول"));

        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kBusinessTitle, QStringLiteral("عنوان دوم"));
        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kLogoPath, m_program->folder() + QStringLiteral("/gone.jpg"));
        changeOrder(id, QStringLiteral("name"), QStringLiteral("علي رضا"));
        list->Command1_Click();
        QVERIFY(first.isNull()); // the first print's recordset was closed
        QCOMPARE(m_previews.detailNames, (QStringList{QStringLiteral("علي"), QStringLiteral("علي رضا")}));
        QCOMPARE(caption("Section4", "Label1"), QStringLiteral("عنوان دوم"));
        QCOMPARE(logo().size(), QSize(64, 32)); // an unreadable logo keeps the previous picture

        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kLogoPath, QString());
        list->Command1_Click();
        QVERIFY(logo().isNull()); // an empty path clears it
    }

    void printOnEmptyListDoesNothing()
    {
        Form14* list = forms().get<Form14>();
        QVERIFY(showsNothing([list] { list->Command1_Click(); }));
        QVERIFY(m_previews.orderNumbers.isEmpty());
        QVERIFY(!list->printRecordset());
        QCOMPARE(caption("Section4", "Label6"), QStringLiteral("Label3")); // report untouched
    }

    void orderGoneMeanwhileIsNotPrintedEmpty()
    {
        const qint32 id = storeOrders(1)[0];
        Form14* list = forms().get<Form14>();
        QVERIFY(exec(QStringLiteral("DELETE FROM ss WHERE ID=%1").arg(id)));
        ModalAnswerer answer(kOk);
        list->Command1_Click();
        QCOMPARE(answer.seen().title, QStringLiteral("کروانتا  - گزارش گيري سفارش"));
        QVERIFY(m_previews.orderNumbers.isEmpty());
    }

    void previewWindowSavesPdf()
    {
        setInvoicePreviewForTests(nullptr);
        const qint32 id = storeOrders(1)[0];
        Form14* list = forms().get<Form14>();
        const QString chosen = m_program->folder() + QStringLiteral("/invoice-copy");
        QString suggested;
        CommonDialog::setAnswerForTests([&](const QString& mode, const QString& startName) -> std::optional<QString> {
            suggested = startName;
            return mode == QStringLiteral("save") ? std::optional<QString>(chosen) : std::nullopt;
        });
        bool sawSaveButton = false;
        ModalAnswerer answer([&](QWidget* modal) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
            if (!preview)
                return;
            QCOMPARE(preview->layoutDirection(), Qt::RightToLeft);
            if (auto* save = preview->findChild<QAction*>(QStringLiteral("savePdf"))) {
                sawSaveButton = true;
                save->trigger();
            }
            preview->reject();
        });
        list->Command1_Click();
        QCOMPARE(answer.seen().title, QStringLiteral("کروانتا  - گزارش گيري سفارش"));
        QVERIFY(sawSaveButton);
        QCOMPARE(suggested, QString::number(id) + QStringLiteral(".pdf"));
        QFile pdf(chosen + QStringLiteral(".pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    // Row choice opens the order entry window on the current order (edit state: its key,
    // editing, not saved). A save re-reads the list and finds the order again; without a save
    // the list is left as it was read.
    void rowChoice_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("saved") << true;
        QTest::newRow("not saved") << false;
    }
    void rowChoice()
    {
        QFETCH(bool, save);
        const qint32 second = storeOrders(3)[1];
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        editState(Table::ss).saved = true;

        EditState seen;
        ModalAnswerer answer([&](QWidget* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("Form10"));
            seen = editState(Table::ss);
            changeOrder(second, QStringLiteral("name"), QStringLiteral("رضا حسيني"));
            storeOrder(QStringLiteral("سارا"), QStringLiteral("s@x.ir"), QStringLiteral("400"));
            editState(Table::ss).saved = save;
            forms().unload<Form10>();
        });
        Q_EMIT list->DataGrid1->rowChosen();
        QVERIFY(answer.done());
        QCOMPARE(seen.recordKey, second);
        QVERIFY(seen.editing);
        QVERIFY(!seen.saved);
        QCOMPARE(list->Adodc1->recordCount(), save ? 4 : 3);
        QCOMPARE(list->Adodc1->currentRow(), 1);
        if (save)
            QCOMPARE(list->Adodc1->field(QStringLiteral("name")), QStringLiteral("رضا حسيني"));
    }

    void rowChoiceOnEmptyListOpensNothing()
    {
        Form14* list = forms().get<Form14>();
        editState(Table::ss) = EditState{42, false, true};
        list->DataGrid1_RowChosen();
        QVERIFY(!forms().isLoaded<Form10>());
        QCOMPARE(editState(Table::ss).recordKey, 42);
        QVERIFY(editState(Table::ss).saved);
        QVERIFY(!editState(Table::ss).editing);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }
    void deleteAsksFirst()
    {
        QFETCH(bool, yes);
        const qint32 second = storeOrders(3)[1];
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        ModalAnswerer answer(yes ? kYes : kNo);
        QTest::mouseClick(list->Command3, Qt::LeftButton);
        QCOMPARE(answer.seen().text, QStringLiteral(" آيا شما ميخواهيد سفارش مورد نظر راحذف کنيد "));
        QCOMPARE(answer.seen().title, QStringLiteral("حذف سفارش ها"));
        QCOMPARE(list->Adodc1->recordCount(), yes ? 2 : 3);
        QCOMPARE(count(QStringLiteral("ss")), yes ? 2 : 3);
        QCOMPARE(row(QStringLiteral("ss"), second).isEmpty(), yes);
    }

    void deleteOnEmptyListSaysSo()
    {
        Form14* list = forms().get<Form14>();
        ModalAnswerer answer(kOk);
        list->Command3_Click();
        QCOMPARE(answer.seen().title, QStringLiteral("حذف سفارش ها"));
        QVERIFY(answer.seen().text != QStringLiteral(" آيا شما ميخواهيد سفارش مورد نظر راحذف کنيد "));
    }

    void backHidesAndKeepsThePosition()
    {
        storeOrders(2);
        Form14* list = forms().get<Form14>();
        list->Adodc1->setCurrentRow(1);
        ModalAnswerer answer(kBack);
        forms().showModal<Form14>();
        QVERIFY(answer.done());
        QVERIFY(!list->isVisible());
        QCOMPARE(forms().ifLoaded<Form14>(), list);
        QCOMPARE(list->Adodc1->currentRow(), 1);
    }
};

QTEST_MAIN(TestOrderList)
#include "tst_order_list.moc"
