#include "orders/order_list.h"

#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "orders/order_entry.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"
#include "storage/settings_store.h"
#include "ui/controls.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"
#include "ui/persian_message_box.h"

#include <QPushButton>

namespace {

const QString kPrint = QStringLiteral("چاپ");
const QString kOrderQuery = QStringLiteral("SELECT * FROM ss WHERE ID=");

// The grid's columns in display order: caption (blanks kept), field, width in twips.
QList<GridColumn> gridColumns()
{
    return {
        {QStringLiteral("        شماره ثبت"), QStringLiteral("ID"), 1515},
        {QStringLiteral("  نام کاربري مشتري"), QStringLiteral("nuser"), 1500},
        {QStringLiteral("               نام"), QStringLiteral("name"), 1515},
        {QStringLiteral("     نام خانوادگي"), QStringLiteral("fname"), 1515},
        {QStringLiteral("     پست الکترونيک"), QStringLiteral("email"), 1515},
        {QStringLiteral("     نام پنل انتخابي هاست"), QStringLiteral("npah"), 1995},
        {QStringLiteral("     دامنه متصل شده"), QStringLiteral("nd2"), 1515},
        {QStringLiteral("      تاريخ ثبت سفارش"), QStringLiteral("tss"), 1695},
        {QStringLiteral("      ساير اطلاعات"), QStringLiteral("mgzas"), 1515},
    };
}

const QString kOrderUnreadable =
    QStringLiteral("اين سفارش از پايگاه داده خوانده نشد؛ فاکتوري نمايش داده نمي شود.");

std::function<QDateTime()>& clockForTests()
{
    static std::function<QDateTime()> clock;
    return clock;
}

QDateTime now()
{
    return clockForTests() ? clockForTests()() : QDateTime::currentDateTime();
}

} // namespace

Form14::Form14(QWidget* parent) : RecordListWindow(parent)
{
    setObjectName(QStringLiteral("Form14"));
    placeTwips(DataGrid1, 120, 120, 8655, 6495);

    Command1 = Controls::button(this, "Command1", kPrint, 7560, 6720, 1215, 375);
    Command3 = Controls::button(this, "Command3", QStringLiteral("حذف سفارش"), 6240, 6720, 1215, 375);
    Command4 = Controls::button(this, "Command4", QStringLiteral("بازگشت"), 120, 6720, 1215, 375);

    connect(Command1, &QPushButton::clicked, this, &Form14::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form14::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form14::Command4_Click);
    connect(DataGrid1, &RecordGrid::rowChosen, this, &Form14::DataGrid1_RowChosen);
}

void Form14::Form_Load()
{
    setupWindow(QStringLiteral("      ويرايش سفارش ها"), 8880, 7200);

    DataGrid1->setDataSource(Adodc1, gridColumns());
    addSearch(true);
    openQuery(QStringLiteral("SELECT * FROM ss"));
    Controls::growWithGrid(this, DataGrid1);

    // The print connection: the list's connection text, used only while printing.
    m_printConnection = Adodc1->connectionString();
}

bool Form14::preparePrint()
{
    if (!hasCurrentRow())
        return false;

    // The previous print's recordset is closed first; the order is read again by its key.
    delete m_printRecordset;
    m_printRecordset = new DataSource(this);
    m_printRecordset->setObjectName(QStringLiteral("printRecordset"));
    m_printRecordset->setConnectionString(m_printConnection);
    m_printRecordset->setRecordSource(kOrderQuery + QString::number(Adodc1->currentKey()));
    m_printRecordset->refresh();

    DataReport1& report = dataReport1();
    report.setDataSource(m_printRecordset);

    // The header and footer take the stored invoice texts, read afresh at every print.
    const auto setting = [](const QString& key) { return SettingsStore::read(SettingsStore::kPrint, key); };
    const auto setCaption = [&report](const char* section, const char* name, const QString& text) {
        if (ReportControl* c = report.control(QString::fromLatin1(section), QString::fromLatin1(name)))
            c->caption = text;
    };
    const QDateTime printedAt = now();
    setCaption("Section4", "Label1", setting(SettingsStore::kBusinessTitle));
    setCaption("Section4", "Label4", setting(SettingsStore::kInvoiceTitle));
    // An unreadable or missing logo file leaves the picture of the previous print.
    if (ReportControl* logo = report.control(QStringLiteral("Section4"), QStringLiteral("Image1")))
        DataReport1::loadPicture(*logo, setting(SettingsStore::kLogoPath));
    setCaption("Section4", "Label6", printTimeText(printedAt.time()));
    setCaption("Section4", "Label3", printDateText(printedAt.date()));
    setCaption("Section5", "Label10", setting(SettingsStore::kNotes));
    setCaption("Section5", "Label7", setting(SettingsStore::kCustomerSignature));
    setCaption("Section5", "Label8", setting(SettingsStore::kSellerSignature));
    setCaption("Section5", "Label9", setting(SettingsStore::kAddress));
    return true;
}

void Form14::Command1_Click()
{
    if (!preparePrint())
        return;
    // An order that cannot be read would print as an invoice with empty fields.
    if (m_printRecordset->recordCount() < 1) {
        PersianMsgBox(this, kOrderUnreadable, MsgBoxStyle::Exclamation, dataReport1().caption());
        return;
    }
    showInvoicePreview(dataReport1(), m_printRecordset->field(QStringLiteral("ID")), this);
}

void Form14::Command3_Click()
{
    // The notices of nothing chosen and of a failed delete are our own, for what the list cannot do.
    deleteCurrentRow({QStringLiteral(" آيا شما ميخواهيد سفارش مورد نظر راحذف کنيد "),
                      QStringLiteral("حذف سفارش ها"), QStringLiteral("هيچ سفارشي براي حذف انتخاب نشده است."),
                      QStringLiteral("حذف اين سفارش انجام نشد؛ سفارش در پايگاه داده باقي مانده است."),
                      QStringLiteral("علت: ")});
}

void Form14::Command4_Click()
{
    hide();
}

void Form14::DataGrid1_RowChosen()
{
    editCurrentRow(Table::ss, [] { forms().showModal<Form10>(); });
}

void Form14::setClockForTests(std::function<QDateTime()> clock)
{
    clockForTests() = std::move(clock);
}
