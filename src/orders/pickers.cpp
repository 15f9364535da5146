#include "orders/pickers.h"

#include "orders/order_entry.h"
#include "storage/data_source.h"
#include "storage/record_grid.h"
#include "ui/controls.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int kGridHeight = 3480;
constexpr int kButtonWidth = 1500;
constexpr int kButtonHeight = 420;
} // namespace

OrderPicker::OrderPicker(const QString& name, QWidget* parent) : RecordListWindow(parent)
{
    setObjectName(name);
    // Placed by layOut().
    Command1 = Controls::button(this, "Command1", QStringLiteral("انتخاب"), 0, 0);
    Command2 = Controls::button(this, "Command2", QStringLiteral("انصراف"), 0, 0);

    connect(Command1, &QPushButton::clicked, this, &OrderPicker::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &OrderPicker::Command2_Click);
    // Choosing a row in the grid is the same as the choose button.
    connect(DataGrid1, &RecordGrid::rowChosen, this, &OrderPicker::Command1_Click);
}

void OrderPicker::layOut(const QString& caption, int widthTwips, int gridTop)
{
    const int buttonsTop = gridTop + kGridHeight + 120;
    setupWindow(caption, widthTwips, buttonsTop + kButtonHeight + 120);
    placeTwips(DataGrid1, 120, gridTop, widthTwips - 240, kGridHeight);
    placeTwips(Command1, widthTwips - 120 - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight);
    placeTwips(Command2, 120, buttonsTop, kButtonWidth, kButtonHeight);
    addSearch(false);
}

QLineEdit* OrderPicker::makeCarrier()
{
    auto* carrier = new QLineEdit(this);
    carrier->setObjectName(QStringLiteral("Text1"));
    carrier->hide();
    Adodc1->bind(carrier, QStringLiteral("ghemats"));
    return carrier;
}

void OrderPicker::retitlePriceColumn(const QLineEdit* carrier)
{
    DataGrid1->setColumnCaption(1, carrier->text());
}

void OrderPicker::Command1_Click()
{
    // With no row to choose (an empty table) nothing is copied; the picker just goes away.
    if (!Adodc1->eof())
        copyCurrentRow(forms().get<Form10>());
    hide();
}

void OrderPicker::Command2_Click()
{
    hide();
}

// Customer picker.

Form11::Form11(QWidget* parent) : OrderPicker(QStringLiteral("Form11"), parent) {}

void Form11::Form_Load()
{
    layOut(QStringLiteral("    انتخاب مشتري"), 7200, 120);
    DataGrid1->setDataSource(Adodc1, {{QStringLiteral("       نام کاربري"), QStringLiteral("nuser"), 1680},
                                      {QStringLiteral("     پست الکترونيک"), QStringLiteral("email"), 2040},
                                      {QStringLiteral("               نام"), QStringLiteral("name"), 1260},
                                      {QStringLiteral("      نام خانوادگي"), QStringLiteral("fname"), 1500}});
    openQuery(QStringLiteral("SELECT * FROM newmoshtary"));
    Controls::growWithGrid(this, DataGrid1);
}

void Form11::copyCurrentRow(Form10* order)
{
    order->Text1->setText(Adodc1->field(QStringLiteral("nuser")));
    order->Label3->setText(Adodc1->field(QStringLiteral("name")));
    order->Label14->setText(Adodc1->field(QStringLiteral("fname")));
    order->Label4->setText(Adodc1->field(QStringLiteral("email")));
}

// Hosting plan picker: Windows or Linux plans, after the option buttons.

Form12::Form12(QWidget* parent) : OrderPicker(QStringLiteral("Form12"), parent)
{
    // The two options in a row above the grid, Windows at the right.
    Option1 = Controls::option(this, "Option1", QStringLiteral("پنل ويندوز"), 2700, 120, 2580, 330);
    Option2 = Controls::option(this, "Option2", QStringLiteral("پنل لينوکس"), 120, 120, 2580, 330);
    Option1->setChecked(true);
    Text1 = makeCarrier();

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            switchTable(QStringLiteral("SELECT * FROM winhost"));
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            switchTable(QStringLiteral("SELECT * FROM linhost"));
    });
    connect(DataGrid1, &RecordGrid::rowChanged, this, [this] { retitlePriceColumn(Text1); });
}

void Form12::Form_Load()
{
    layOut(QStringLiteral("      انتخاب پنل هاست"), 5400, 540);
    DataGrid1->setDataSource(Adodc1, {{QStringLiteral("            نام پنل"), QStringLiteral("namep"), 2700},
                                      {QStringLiteral("      قيمت"), QStringLiteral("gs"), 2100}});
    openQuery(QStringLiteral("SELECT * FROM winhost"));
    Controls::growWithGrid(this, DataGrid1);
}

void Form12::switchTable(const QString& query)
{
    openQuery(query);
    retitlePriceColumn(Text1);
}

void Form12::copyCurrentRow(Form10* order)
{
    order->Text2->setText(Adodc1->field(QStringLiteral("namep")));
    order->Label13->setText(Adodc1->field(QStringLiteral("ghemats")));
    order->Label5->setText(Adodc1->field(QStringLiteral("gs")));
    // Copying the plan name already recomputed the total, with the previous price.
    order->recomputeTotal();
}

// Domain extension picker.

Form13::Form13(QWidget* parent) : OrderPicker(QStringLiteral("Form13"), parent)
{
    Text1 = makeCarrier();
    connect(DataGrid1, &RecordGrid::rowChanged, this, [this] { retitlePriceColumn(Text1); });
    connect(DataGrid1, &RecordGrid::rowColChanged, this, [this](int) { retitlePriceColumn(Text1); });
}

void Form13::Form_Load()
{
    layOut(QStringLiteral("      انتخاب دامين"), 5400, 120);
    DataGrid1->setDataSource(Adodc1, {{QStringLiteral("        پسوند دامنه"), QStringLiteral("pd"), 2400},
                                      {QStringLiteral("      قيمت ساليانه"), QStringLiteral("gs"), 2400}});
    openQuery(QStringLiteral("SELECT * FROM newdomin"));
}

void Form13::copyCurrentRow(Form10* order)
{
    order->Text4->setText(Adodc1->field(QStringLiteral("pd")));
    order->Label12->setText(Adodc1->field(QStringLiteral("ghemats")));
    order->Label9->setText(Adodc1->field(QStringLiteral("gs")));
}
