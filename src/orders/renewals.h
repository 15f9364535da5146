#pragma once
// Renewals: the hosting services and domains of every order whose period ends within the next
// days (DaysAhead) or has ended, earliest first. A service's period ends one, two or five years
// after the order date, by its price-period text. Choosing a row opens its order in the order
// entry window, as the order list does. Orders without a readable date or period are counted,
// not guessed.
#include "calendar/solar_hijri.h"
#include "ui/form.h"
#include "ui/list_search.h"

#include <QAbstractTableModel>
#include <QDate>

#include <functional>
#include <vector>

class DataSource;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class SearchFilterModel;

struct Renewal
{
    qint32 orderId = 0;
    bool domain = false; // the domain of the order, else its hosting service
    QString user;
    QString name;      // the plan, or the domain's name
    QString extension; // the domain's extension
    PersianDate due;
    qint64 dueDay = 0; // Julian day of the due date
    int daysLeft = 0;  // from today; negative when overdue
};

struct RenewalScan
{
    std::vector<Renewal> services; // every service with a readable date and period, earliest first
    int unreadable = 0;            // orders without a valid date or period
};

// Works out the services of every order of the data source (its query reads table ss).
RenewalScan scanRenewals(DataSource& orders, const QDate& today);
// "1404/12/29".
QString dueDateText(const PersianDate& date);

// The rows listed: the services due within `daysAhead` days (overdue ones always).
class RenewalsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setServices(std::vector<Renewal> services, int daysAhead);
    void setDaysAhead(int daysAhead);
    const Renewal* service(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Renewal> m_services;
    int m_listed = 0;
};

class Renewals : public Form
{
    Q_OBJECT
public:
    explicit Renewals(QWidget* parent = nullptr);

    DataSource* Adodc1 = nullptr; // the orders
    QTableView* DataGrid1 = nullptr;
    QSpinBox* DaysAhead = nullptr;
    QLabel* Unreadable = nullptr;    // "n orders without a valid date or period"
    QPushButton* Command4 = nullptr; // back
    ListSearchRow search;

    void Form_Load() override;
    // Reads the orders again and lists them; the typed search and the current order stay.
    void readOrders();
    // The service of a row of the grid (as shown), nullptr for none.
    const Renewal* serviceAt(int gridRow) const;

    // Tests fix the day the window counts from (nullptr restores the real one).
    static void setTodayForTests(std::function<QDate()> today);

    void DataGrid1_RowChosen();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectOrder(qint32 orderId, bool domain);
    void fitColumns();
    RenewalsModel* m_model = nullptr;
    SearchFilterModel* m_filter = nullptr;
    bool m_shown = false;
};
