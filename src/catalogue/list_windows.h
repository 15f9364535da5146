#pragma once
// Form6 to Form9, the catalogue list windows: Windows plans, Linux plans, domain extensions and
// customers, each in a record grid over its whole table. Choosing a row opens the record in its
// editor; Delete asks first; Back hides the window, which stays loaded for the whole run.
#include "ui/record_window.h"

class QLineEdit;
class QPushButton;
struct CatalogueListMember;

class CatalogueList : public RecordListWindow
{
    Q_OBJECT
public:
    void Form_Load() override;

    QPushButton* Command1 = nullptr; // delete the current record
    QPushButton* Command2 = nullptr; // back
    // The carrier box: hidden, bound to ghemats, the price period of the current row.
    // nullptr in the customer list, which has no price.
    QLineEdit* Text1 = nullptr;

    void DataGrid1_RowChosen();
    void DataGrid1_RowColChange();
    void Command1_Click();
    void Command2_Click();

protected:
    enum class Kind { WindowsPlans, LinuxPlans, DomainExtensions, Customers };
    // Named Form6 ... Form9 after the kind.
    CatalogueList(Kind kind, QWidget* parent);

private:
    void retitlePriceColumn();

    const CatalogueListMember& m_member;
};

class Form6 : public CatalogueList
{
public:
    explicit Form6(QWidget* parent = nullptr) : CatalogueList(Kind::WindowsPlans, parent) {}
};

class Form7 : public CatalogueList
{
public:
    explicit Form7(QWidget* parent = nullptr) : CatalogueList(Kind::LinuxPlans, parent) {}
};

class Form8 : public CatalogueList
{
public:
    explicit Form8(QWidget* parent = nullptr) : CatalogueList(Kind::DomainExtensions, parent) {}
};

class Form9 : public CatalogueList
{
public:
    explicit Form9(QWidget* parent = nullptr) : CatalogueList(Kind::Customers, parent) {}
};
