#pragma once
// Form2 and Form3, the hosting plan editors: one window type for the Windows plans (winhost)
// and the Linux plans (linhost). Name, disk space, bandwidth, price with its period, notes.
// Save also re-reads the matching list window (Form6 or Form7).
#include "catalogue/period_options.h"

class QLineEdit;
class QPlainTextEdit;

class PlanEditor : public PricedEditor
{
    Q_OBJECT
public:
    void Form_Load() override;

    QLabel* Label5 = nullptr;  // "نام پانل :"
    QLineEdit* Text1 = nullptr; // namep
    QLabel* Label6 = nullptr;  // "ميزان فضا :"
    QLineEdit* Text2 = nullptr; // mf
    QLabel* Label1 = nullptr;  // unit of Text2
    QLabel* Label7 = nullptr;  // "پهناي باند :"
    QLineEdit* Text3 = nullptr; // pb
    QLabel* Label2 = nullptr;  // unit of Text3
    QLabel* Label9 = nullptr;  // the period label, bound to ghemats
    QLineEdit* Text5 = nullptr; // gs
    QLabel* Label4 = nullptr;  // unit of Text5
    QLabel* Label10 = nullptr; // "ساير اطلاعات :"
    QPlainTextEdit* Text6 = nullptr; // sa

protected:
    // Form2 for winhost, Form3 for linhost.
    PlanEditor(Table table, QWidget* parent);
    void afterStored() override;

private:
    Table m_table;
};

class Form2 : public PlanEditor
{
public:
    explicit Form2(QWidget* parent = nullptr) : PlanEditor(Table::winhost, parent) {}
};

class Form3 : public PlanEditor
{
public:
    explicit Form3(QWidget* parent = nullptr) : PlanEditor(Table::linhost, parent) {}
};
