#pragma once
// Form11 to Form13, the customer, plan and domain extension pickers of the order entry window.
// Each lists one catalogue table; choosing a row copies its fields into Form10 and hides the
// picker. Loaded at their first showing and only hidden afterwards, so rows, current row and
// (Form12) the chosen table stay as the user left them for the run.
#include "ui/record_window.h"

class Form10;
class QLineEdit;
class QPushButton;
class QRadioButton;

class OrderPicker : public RecordListWindow
{
    Q_OBJECT
public:
    QPushButton* Command1 = nullptr; // choose
    QPushButton* Command2 = nullptr; // cancel

protected:
    OrderPicker(const QString& name, QWidget* parent);
    // Caption and size; the grid fills the window from gridTop down to the two buttons.
    void layOut(const QString& caption, int widthTwips, int gridTop);
    // The current row's fields into the order entry window, in the order they are listed.
    virtual void copyCurrentRow(Form10* order) = 0;
    // The hidden carrier box, bound to the current row's price-period text.
    QLineEdit* makeCarrier();
    // The price column (the grid's second) is titled with the carrier box's text.
    void retitlePriceColumn(const QLineEdit* carrier);

private:
    void Command1_Click();
    void Command2_Click();
};

class Form11 : public OrderPicker
{
    Q_OBJECT
public:
    explicit Form11(QWidget* parent = nullptr);
    void Form_Load() override;

protected:
    void copyCurrentRow(Form10* order) override;
};

class Form12 : public OrderPicker
{
    Q_OBJECT
public:
    explicit Form12(QWidget* parent = nullptr);
    void Form_Load() override;

    QRadioButton* Option1 = nullptr; // Windows plans
    QRadioButton* Option2 = nullptr; // Linux plans
    QLineEdit* Text1 = nullptr;      // carrier of the price-period text

protected:
    void copyCurrentRow(Form10* order) override;

private:
    void switchTable(const QString& query);
};

class Form13 : public OrderPicker
{
    Q_OBJECT
public:
    explicit Form13(QWidget* parent = nullptr);
    void Form_Load() override;

    QLineEdit* Text1 = nullptr; // carrier of the price-period text

protected:
    void copyCurrentRow(Form10* order) override;
};
