#include "catalogue/list_windows.h"

#include "catalogue/customer_editor.h"
#include "catalogue/domain_editor.h"
#include "catalogue/plan_editor.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/record_grid.h"
#include "ui/controls.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"
#include "ui/persian_message_box.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kCaptionForm6 = QStringLiteral("      ويرايش پنل ويندوز");
const QString kCaptionForm7 = QStringLiteral("      ويرايش پنل لينوکس");
const QString kCaptionForm8 = QStringLiteral("      ويرايش دامين ها");
const QString kCaptionForm9 = QStringLiteral("     ويرايش مشتري");
const QString kDeleteForm6 = QStringLiteral("حذف پنل");
const QString kDeleteForm7 = QStringLiteral("حذف پنل");
const QString kDeleteForm8 = QStringLiteral("حذف دامين ");
const QString kDeleteForm9 = QStringLiteral("حذف مشتري");
const QString kAskForm6 = QStringLiteral("آيا ميخواهيد پنل انتخابي حذف شود");
const QString kAskForm7 = QStringLiteral("آيا ميخواهيد پنل انتخابي حذف شود");
const QString kAskForm8 = QStringLiteral(" آيا شما ميخواهيد دامين مورد نظر راحذف کنيد ");
const QString kAskForm9 = QStringLiteral(" آيا شما ميخواهيد مشتري مورد نظر راحذف کنيد ");
const QString kTitleForm6 = QStringLiteral("حذف پنل ها");
const QString kTitleForm7 = QStringLiteral("حذف پنل ها");
const QString kTitleForm8 = QStringLiteral("حذف دامين ها");
const QString kTitleForm9 = QStringLiteral("حذف مشتري ");
const QString kBack = QStringLiteral("بازگشت");

// Grid column captions (their leading blanks belong to them).
const QString kPlanId = QStringLiteral("        شماره ثبت");
const QString kPlanName = QStringLiteral("           نام پنل");
const QString kPlanDisk = QStringLiteral("         ميزان فضا");
const QString kPlanBandwidth = QStringLiteral("        پهناي باند");
const QString kPlanPrice = QStringLiteral("             قيمت");
const QString kPlanOther = QStringLiteral("      ساير اطلاعات");
const QString kDomainId = QStringLiteral("     شماره ثبت");
const QString kDomainExtension = QStringLiteral("        پسوند دامنه");
const QString kDomainPrice = QStringLiteral("      قيمت ساليانه");
const QString kCustomerId = QStringLiteral("       شماره ثبت");
const QString kCustomerUser = QStringLiteral("          نام کاربري");
const QString kCustomerName = QStringLiteral("               نام ");
const QString kCustomerFamily = QStringLiteral("       نام خانوادگي");
const QString kCustomerEmail = QStringLiteral("             ايميل ");
const QString kCustomerTell = QStringLiteral("             تلفن");
const QString kCustomerMobile = QStringLiteral("            موبايل");
const QString kCustomerPostal = QStringLiteral("          کد پستي");
const QString kCustomerOther = QStringLiteral("      ساير اطلاعات");

const QString kNotDeleted = QStringLiteral("اين رکورد حذف نشد.");
const QString kReason = QStringLiteral("علت: ");
const QString kUnreadableTitle = QStringLiteral("بانک اطلاعات");
const QString kUnreadable = QStringLiteral("جدول %1 از فايل بانک اطلاعات خوانده نشد: %2\n"
                                           "براي بازگرداندن اطلاعات، يک فايل پشتيبان را بازيابي کنيد.");

constexpr int kMsgWarning = 48;
} // namespace

// What tells the four list windows apart.
struct CatalogueListMember
{
    QString caption;
    Table table;
    void (*showEditor)();
    QString deleteCaption;
    RecordListWindow::DeleteTexts deleting;
    QList<GridColumn> columns;
    int priceColumn;           // -1: no price column
    bool retitleOnChoice;      // the plan lists also re-title after a row choice
    bool reportUnreadable;     // the plan lists open silently; the others tell an unreadable table
    int gridWidthTwips;
};

namespace {

QList<GridColumn> planColumns()
{
    return {{kPlanId, QStringLiteral("ID"), 1200},       {kPlanName, QStringLiteral("namep"), 1800},
            {kPlanDisk, QStringLiteral("mf"), 1400},     {kPlanBandwidth, QStringLiteral("pb"), 1400},
            {kPlanPrice, QStringLiteral("gs"), 1560},    {kPlanOther, QStringLiteral("sa"), 2400}};
}

const CatalogueListMember& memberOf(int kind)
{
    static const CatalogueListMember members[] = {
        {kCaptionForm6, Table::winhost, [] { forms().showModal<Form2>(); }, kDeleteForm6,
         {kAskForm6, kTitleForm6, {}, kNotDeleted, kReason}, planColumns(), 4, true, false, 10200},
        {kCaptionForm7, Table::linhost, [] { forms().showModal<Form3>(); }, kDeleteForm7,
         {kAskForm7, kTitleForm7, {}, kNotDeleted, kReason}, planColumns(), 4, true, false, 10200},
        // The domain extension list ignores a failing delete.
        {kCaptionForm8, Table::newdomin, [] { forms().showModal<Form4>(); }, kDeleteForm8,
         {kAskForm8, kTitleForm8, {}, {}, {}},
         {{kDomainId, QStringLiteral("ID"), 1200},
          {kDomainExtension, QStringLiteral("pd"), 1900},
          {kDomainPrice, QStringLiteral("gs"), 1900}},
         2, false, true, 5520},
        {kCaptionForm9, Table::newmoshtary, [] { forms().showModal<Form5>(); }, kDeleteForm9,
         {kAskForm9, kTitleForm9, {}, kNotDeleted, kReason},
         {{kCustomerId, QStringLiteral("ID"), 1100},
          {kCustomerUser, QStringLiteral("nuser"), 1500},
          {kCustomerName, QStringLiteral("name"), 1300},
          {kCustomerFamily, QStringLiteral("fname"), 1600},
          {kCustomerEmail, QStringLiteral("email"), 2200},
          {kCustomerTell, QStringLiteral("tell"), 1400},
          {kCustomerMobile, QStringLiteral("mob"), 1400},
          {kCustomerPostal, QStringLiteral("kp"), 1300},
          {kCustomerOther, QStringLiteral("sa"), 2200}},
         -1, false, true, 14520},
    };
    return members[kind];
}

// Layout in twips: the grid fills the window above a row of two buttons at the right.
constexpr int kMargin = 240;
constexpr int kGridHeight = 4800;
constexpr int kButtonWidth = 1680;
constexpr int kButtonHeight = 405;
constexpr int kButtonTop = kMargin + kGridHeight + 180;
constexpr int kHeight = kButtonTop + kButtonHeight + kMargin;

} // namespace

CatalogueList::CatalogueList(Kind kind, QWidget* parent)
    : RecordListWindow(parent), m_member(memberOf(static_cast<int>(kind)))
{
    setObjectName(QStringLiteral("Form%1").arg(6 + static_cast<int>(kind)));
    const int width = m_member.gridWidthTwips + 2 * kMargin;
    placeTwips(DataGrid1, kMargin, kMargin, m_member.gridWidthTwips, kGridHeight);

    const int deleteLeft = width - kMargin - kButtonWidth;
    Command1 = Controls::button(this, "Command1", m_member.deleteCaption, deleteLeft, kButtonTop, kButtonWidth,
                                kButtonHeight);
    Command2 = Controls::button(this, "Command2", kBack, deleteLeft - 120 - kButtonWidth, kButtonTop, kButtonWidth,
                                kButtonHeight);
    connect(Command1, &QPushButton::clicked, this, &CatalogueList::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CatalogueList::Command2_Click);

    if (m_member.priceColumn >= 0) {
        Text1 = Controls::textBox(this, "Text1", kMargin, kButtonTop, 1200);
        Text1->setVisible(false);
        Adodc1->bind(Text1, QStringLiteral("ghemats"));
    }
}

void CatalogueList::Form_Load()
{
    setupWindow(m_member.caption, m_member.gridWidthTwips + 2 * kMargin, kHeight);
    // A table that cannot be read leaves the grid empty. A database file that cannot be used
    // has been reported by the storage layer already (once for all windows); a file that opens
    // but whose table does not read is told here by the lists that report it.
    const bool read = openQuery(QStringLiteral("SELECT * FROM ") + tableName(m_member.table));
    if (!read && m_member.reportUnreadable && Database::storeFor(Adodc1->databasePath())) {
        PersianMsgBox(this, kUnreadable.arg(Adodc1->tableName(), Adodc1->lastError()), kMsgWarning,
                      kUnreadableTitle);
    }
    DataGrid1->setDataSource(Adodc1, m_member.columns);
    addSearch(true);
    Controls::growWithGrid(this, DataGrid1);

    // Connected after the first read: the price column keeps its design caption until the
    // user first moves in the grid.
    connect(DataGrid1, &RecordGrid::rowChosen, this, &CatalogueList::DataGrid1_RowChosen);
    if (m_member.priceColumn >= 0) {
        connect(DataGrid1, &RecordGrid::rowChanged, this, &CatalogueList::DataGrid1_RowColChange);
        connect(DataGrid1, &RecordGrid::rowColChanged, this, &CatalogueList::DataGrid1_RowColChange);
    }
}

void CatalogueList::DataGrid1_RowChosen()
{
    editCurrentRow(m_member.table, m_member.showEditor);
    if (m_member.retitleOnChoice)
        retitlePriceColumn();
}

void CatalogueList::DataGrid1_RowColChange()
{
    retitlePriceColumn();
}

void CatalogueList::retitlePriceColumn()
{
    if (Text1 && m_member.priceColumn >= 0)
        DataGrid1->setColumnCaption(m_member.priceColumn, Text1->text());
}

void CatalogueList::Command1_Click()
{
    deleteCurrentRow(m_member.deleting);
}

void CatalogueList::Command2_Click()
{
    hide();
}
