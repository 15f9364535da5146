#include "orders/renewals.h"

#include "orders/order_entry.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "storage/record_grid.h"
#include "storage/search_filter.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"

#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include <algorithm>
#include <array>

namespace {

const QString kHosting = QStringLiteral("هاست");
const QString kDomain = QStringLiteral("دامنه");
const std::array<QString, 6> kHeaders = {QStringLiteral("شماره ثبت"),   QStringLiteral("نام کاربري"),
                                         QStringLiteral("سرويس"),       QStringLiteral("نام سرويس"),
                                         QStringLiteral("تاريخ تمديد"), QStringLiteral("روز مانده")};
const std::array<int, 6> kWidths = {80, 130, 60, 230, 90, 70}; // pixels, while nothing is listed
// The price-period texts, compared exactly, and the years each stands for.
const std::array<std::pair<QString, int>, 3> kPeriods = {{{QStringLiteral("قيمت يک ساله :"), 1},
                                                          {QStringLiteral("قيمت دو ساله :"), 2},
                                                          {QStringLiteral("قيمت پنج ساله :"), 5}}};
// Only the columns the window works with: about half the reading of every column.
const QString kQuery = QStringLiteral("SELECT ID, nuser, tss, sal, npah, htsd2, nd1, nd2 FROM ss");

std::function<QDate()>& todayForTests()
{
    static std::function<QDate()> today;
    return today;
}

QDate today()
{
    return todayForTests() ? todayForTests()() : QDate::currentDate();
}

int periodYears(const QString& text)
{
    for (const auto& [period, years] : kPeriods)
        if (text == period)
            return years;
    return 0;
}

PersianDate dueOf(const PersianDate& ordered, int years)
{
    PersianDate due{ordered.year + years, ordered.month, ordered.day};
    // 30 Esfand exists only in a leap year; otherwise the period ends on the 29th.
    if (due.month == 12 && due.day == 30 && !IsPersianLeapYear(due.year))
        due.day = 29;
    return due;
}

// An order date and the Julian days its periods end on (index 1, 2 or 5 years); date texts
// repeat over many orders, so each is worked out once per scan.
struct OrderDate
{
    bool valid = false;
    PersianDate date;
    std::array<qint64, 6> due{};
};

OrderDate readOrderDate(const QString& text)
{
    OrderDate d;
    const std::optional<PersianDate> date = ReadPersianDateText(text);
    if (!date)
        return d;
    d.date = *date;
    for (int years : {1, 2, 5}) {
        const QDate g = GregorianFromPersian(dueOf(*date, years));
        if (!g.isValid())
            return d;
        d.due[static_cast<size_t>(years)] = g.toJulianDay();
    }
    d.valid = true;
    return d;
}

} // namespace

QString dueDateText(const PersianDate& date)
{
    return QString::asprintf("%d/%02d/%02d", date.year, date.month, date.day);
}

RenewalScan scanRenewals(DataSource& orders, const QDate& today)
{
    RenewalScan scan;
    scan.services.reserve(2 * static_cast<size_t>(orders.recordCount()));
    const qint64 todayDay = today.toJulianDay();
    QHash<QString, OrderDate> dates;
    // Each service keeps its own texts: the grid, its search and its export read them for rows
    // in due-date order, which a data source reads best in its own order, here, once.
    const QStringList columns = {QStringLiteral("ID"),    QStringLiteral("tss"),   QStringLiteral("sal"),
                                 QStringLiteral("htsd2"), QStringLiteral("nuser"), QStringLiteral("npah"),
                                 QStringLiteral("nd1"),   QStringLiteral("nd2")};
    orders.scanColumns(columns, [&](int, const QStringList& c) {
        auto known = dates.constFind(c[1]);
        if (known == dates.constEnd())
            known = dates.insert(c[1], readOrderDate(c[1]));
        const OrderDate& date = *known;
        // A service is there when its period text is; an empty text means the order has none.
        const int hostYears = periodYears(c[2]);
        const int domainYears = periodYears(c[3]);
        const bool strayPeriod = (hostYears == 0 && !c[2].isEmpty()) || (domainYears == 0 && !c[3].isEmpty());
        if (!date.valid || strayPeriod || (hostYears == 0 && domainYears == 0))
            ++scan.unreadable;
        if (!date.valid)
            return;
        const qint32 id = c[0].toInt();
        for (const auto& [domain, years] : {std::pair{false, hostYears}, std::pair{true, domainYears}}) {
            if (years == 0)
                continue;
            const qint64 dueDay = date.due[static_cast<size_t>(years)];
            scan.services.push_back({id, domain, c[4], domain ? c[6] : c[5], domain ? c[7] : QString(),
                                     dueOf(date.date, years), dueDay, static_cast<int>(dueDay - todayDay)});
        }
    });
    std::stable_sort(scan.services.begin(), scan.services.end(),
                     [](const Renewal& a, const Renewal& b) { return a.dueDay < b.dueDay; });
    return scan;
}

void RenewalsModel::setServices(std::vector<Renewal> services, int daysAhead)
{
    beginResetModel();
    m_services = std::move(services);
    m_listed = 0;
    endResetModel();
    setDaysAhead(daysAhead);
}

void RenewalsModel::setDaysAhead(int daysAhead)
{
    // Sorted by due date, the listed services are the first ones.
    const auto end = std::partition_point(m_services.begin(), m_services.end(),
                                          [daysAhead](const Renewal& r) { return r.daysLeft <= daysAhead; });
    const int listed = static_cast<int>(end - m_services.begin());
    if (listed == m_listed)
        return;
    beginResetModel();
    m_listed = listed;
    endResetModel();
}

const Renewal* RenewalsModel::service(int row) const
{
    return row >= 0 && row < m_listed ? &m_services[static_cast<size_t>(row)] : nullptr;
}

int RenewalsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_listed;
}

int RenewalsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(kHeaders.size());
}

QVariant RenewalsModel::data(const QModelIndex& index, int role) const
{
    const Renewal* r = service(index.row());
    if (!r || role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return QString::number(r->orderId);
    case 1:
        return r->user;
    case 2:
        return r->domain ? kDomain : kHosting;
    case 3:
        return r->domain ? r->name + QLatin1Char('.') + r->extension : r->name;
    case 4:
        return dueDateText(r->due);
    case 5:
        return QString::number(r->daysLeft);
    default:
        return {};
    }
}

QVariant RenewalsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString();
    return section >= 0 && section < static_cast<int>(kHeaders.size())
               ? kHeaders[static_cast<size_t>(section)]
               : QVariant();
}

namespace {
// Layout in pixels.
enum : int {
    kMargin = 8,
    kGridWidth = 704,
    kGridHeight = 420,
    kTopRow = 30,
    kButtonWidth = 90,
    kButtonHeight = 26
};
} // namespace

Renewals::Renewals(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Renewals"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    m_model = new RenewalsModel(this);
    m_filter = new SearchFilterModel(this);
    m_filter->setSourceModel(m_model);

    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    applyRecordGridLook(DataGrid1);
    DataGrid1->setModel(m_filter);
    DataGrid1->setGeometry(kMargin, kMargin + kTopRow, kGridWidth, kGridHeight);
    // Fitted to the services as read; a typed search shows fewer of them but keeps the widths.
    connect(m_model, &QAbstractItemModel::modelReset, this, &Renewals::fitColumns);
    // Enter on the grid chooses its current row, as a double click does.
    connect(DataGrid1, &QAbstractItemView::activated, this, &Renewals::DataGrid1_RowChosen);

    auto* caption = new QLabel(QStringLiteral("تا چند روز آينده :"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setGeometry(kMargin + kGridWidth - 200, kMargin, 200, 24);
    caption->setAlignment(Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter);
    DaysAhead = new QSpinBox(this);
    DaysAhead->setObjectName(QStringLiteral("DaysAhead"));
    DaysAhead->setRange(0, 3650);
    DaysAhead->setValue(30);
    DaysAhead->setGeometry(kMargin + kGridWidth - 290, kMargin, 80, 24);
    connect(DaysAhead, &QSpinBox::valueChanged, m_model, &RenewalsModel::setDaysAhead);
    Unreadable = new QLabel(this);
    Unreadable->setObjectName(QStringLiteral("Unreadable"));
    Unreadable->setGeometry(kMargin, kMargin, kGridWidth - 300, 24);
    Unreadable->setAlignment(Qt::AlignAbsolute | Qt::AlignLeft | Qt::AlignVCenter);

    Command4 = new QPushButton(QStringLiteral("بازگشت"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setAutoDefault(false);
    Command4->setGeometry(kMargin, kMargin + kTopRow + kGridHeight + kMargin, kButtonWidth, kButtonHeight);
    connect(Command4, &QPushButton::clicked, this, &QWidget::hide);
}

void Renewals::fitColumns()
{
    fitGridColumns(DataGrid1, m_model, [](int column) { return kWidths[static_cast<size_t>(column)]; });
    // A long service name gives up width, down to its designed one, so that the due date and
    // the day count stay in view.
    int total = 0;
    for (int column = 0; column < m_model->columnCount(); ++column)
        total += DataGrid1->columnWidth(column);
    const int room = DataGrid1->width() - 2 * DataGrid1->frameWidth() - DataGrid1->verticalHeader()->width() -
                     DataGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, DataGrid1);
    constexpr int kName = 3;
    const int name = DataGrid1->columnWidth(kName);
    if (total > room)
        DataGrid1->setColumnWidth(kName, std::max(kWidths[kName], name - (total - room)));
}

void Renewals::Form_Load()
{
    setupWindow(QStringLiteral("سرويس هاي نزديک به تمديد"), 0, 0);
    setFixedSize(kGridWidth + 2 * kMargin, kTopRow + kGridHeight + kButtonHeight + 4 * kMargin);
    search = addListSearch(this, DataGrid1, m_filter, true);
    readOrders();
}

void Renewals::showEvent(QShowEvent* event)
{
    // Read at load; each later showing reads the orders again, for today and for what changed.
    if (m_shown)
        readOrders();
    m_shown = true;
    Form::showEvent(event);
}

void Renewals::readOrders()
{
    const Renewal* current = serviceAt(DataGrid1->currentIndex().row());
    const qint32 currentId = current ? current->orderId : 0;
    const bool currentDomain = current && current->domain;

    Adodc1->setConnectionString(DataSource::connectionTextForProgramFolder());
    Adodc1->setRecordSource(kQuery);
    RenewalScan scan;
    if (Adodc1->refresh())
        scan = scanRenewals(*Adodc1, today());
    m_model->setServices(std::move(scan.services), DaysAhead->value());
    Unreadable->setText(QStringLiteral("%1 سفارش بدون تاريخ يا دوره معتبر").arg(scan.unreadable));
    selectOrder(currentId, currentDomain);
}

const Renewal* Renewals::serviceAt(int gridRow) const
{
    return m_model->service(m_filter->sourceRow(gridRow));
}

void Renewals::selectOrder(qint32 orderId, bool domain)
{
    int row = 0;
    for (int r = 0; r < m_filter->rowCount(); ++r) {
        const Renewal* s = serviceAt(r);
        if (s->orderId == orderId && s->domain == domain) {
            row = r;
            break;
        }
    }
    if (m_filter->rowCount() > 0)
        DataGrid1->setCurrentIndex(m_filter->index(row, 0));
}

void Renewals::DataGrid1_RowChosen()
{
    const Renewal* chosen = serviceAt(DataGrid1->currentIndex().row());
    if (!chosen)
        return;
    const qint32 orderId = chosen->orderId;
    const bool domain = chosen->domain;
    EditState& order = editState(Table::ss);
    order.recordKey = orderId;
    order.saved = false;
    order.editing = true;
    forms().showModal<Form10>();
    if (order.saved) {
        readOrders();
        selectOrder(orderId, domain);
    }
}

void Renewals::setTodayForTests(std::function<QDate()> today)
{
    todayForTests() = std::move(today);
}
