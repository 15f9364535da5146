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

const QString kNotDeleted = QStringLiteral("اين رکورد حذف نشد.");
const QString kReason = QStringLiteral("علت: ");

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
    return {{QStringLiteral("        شماره ثبت"), QStringLiteral("ID"), 1200},
            {QStringLiteral("           نام پنل"), QStringLiteral("namep"), 1800},
            {QStringLiteral("         ميزان فضا"), QStringLiteral("mf"), 1400},
            {QStringLiteral("        پهناي باند"), QStringLiteral("pb"), 1400},
            {QStringLiteral("             قيمت"), QStringLiteral("gs"), 1560},
            {QStringLiteral("      ساير اطلاعات"), QStringLiteral("sa"), 2400}};
}

const CatalogueListMember& memberOf(int kind)
{
    // clang-format off
    static const CatalogueListMember members[] = {
        {QStringLiteral("      ويرايش پنل ويندوز"), Table::winhost, [] { forms().showModal<Form2>(); },
         QStringLiteral("حذف پنل"),
         {QStringLiteral("آيا ميخواهيد پنل انتخابي حذف شود"), QStringLiteral("حذف پنل ها"), {}, kNotDeleted, kReason},
         planColumns(), 4, true, false, 10200},
        {QStringLiteral("      ويرايش پنل لينوکس"), Table::linhost, [] { forms().showModal<Form3>(); },
         QStringLiteral("حذف پنل"),
         {QStringLiteral("آيا ميخواهيد پنل انتخابي حذف شود"), QStringLiteral("حذف پنل ها"), {}, kNotDeleted, kReason},
         planColumns(), 4, true, false, 10200},
        // The domain extension list ignores a failing delete.
        {QStringLiteral("      ويرايش دامين ها"), Table::newdomin, [] { forms().showModal<Form4>(); },
         QStringLiteral("حذف دامين "),
         {QStringLiteral(" آيا شما ميخواهيد دامين مورد نظر راحذف کنيد "), QStringLiteral("حذف دامين ها"), {}, {}, {}},
         {{QStringLiteral("     شماره ثبت"), QStringLiteral("ID"), 1200},
          {QStringLiteral("        پسوند دامنه"), QStringLiteral("pd"), 1900},
          {QStringLiteral("      قيمت ساليانه"), QStringLiteral("gs"), 1900}},
         2, false, true, 5520},
        {QStringLiteral("     ويرايش مشتري"), Table::newmoshtary, [] { forms().showModal<Form5>(); },
         QStringLiteral("حذف مشتري"),
         {QStringLiteral(" آيا شما ميخواهيد مشتري مورد نظر راحذف کنيد "), QStringLiteral("حذف مشتري "), {}, kNotDeleted, kReason},
         {{QStringLiteral("       شماره ثبت"), QStringLiteral("ID"), 1100},
          {QStringLiteral("          نام کاربري"), QStringLiteral("nuser"), 1500},
          {QStringLiteral("               نام "), QStringLiteral("name"), 1300},
          {QStringLiteral("       نام خانوادگي"), QStringLiteral("fname"), 1600},
          {QStringLiteral("             ايميل "), QStringLiteral("email"), 2200},
          {QStringLiteral("             تلفن"), QStringLiteral("tell"), 1400},
          {QStringLiteral("            موبايل"), QStringLiteral("mob"), 1400},
          {QStringLiteral("          کد پستي"), QStringLiteral("kp"), 1300},
          {QStringLiteral("      ساير اطلاعات"), QStringLiteral("sa"), 2200}},
         -1, false, true, 14520},
    };
    // clang-format on
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
    Command2 = Controls::button(this, "Command2", QStringLiteral("بازگشت"), deleteLeft - 120 - kButtonWidth,
                                kButtonTop, kButtonWidth, kButtonHeight);
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
        PersianMsgBox(this,
                      QStringLiteral("جدول %1 از فايل بانک اطلاعات خوانده نشد: %2\n"
                                     "براي بازگرداندن اطلاعات، يک فايل پشتيبان را بازيابي کنيد.")
                          .arg(Adodc1->tableName(), Adodc1->lastError()),
                      MsgBoxStyle::Exclamation, QStringLiteral("بانک اطلاعات"));
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
