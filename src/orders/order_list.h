#pragma once
// Form14, the order list: every order of table ss in a grid, from which the current order is
// opened in the order entry window, deleted, or printed as an invoice (DataReport1).
#include "ui/record_window.h"

#include <QDateTime>

#include <functional>

class QPushButton;

class Form14 : public RecordListWindow
{
    Q_OBJECT
public:
    explicit Form14(QWidget* parent = nullptr);
    // The list of every order, and the print connection (its connection text).
    void Form_Load() override;
    // Tests fix the clock the print reads (nullptr restores the real one).
    static void setClockForTests(std::function<QDateTime()> clock);

    QPushButton* Command1 = nullptr; // print
    QPushButton* Command3 = nullptr; // delete
    QPushButton* Command4 = nullptr; // back

    // The print up to the preview: reads the current order into the print recordset, binds
    // DataReport1 to it and fills its header and footer. False when there is nothing to print.
    bool preparePrint();
    // The recordset the last print read (nullptr before the first print).
    DataSource* printRecordset() const { return m_printRecordset; }
    QString printConnection() const { return m_printConnection; }

public Q_SLOTS:
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void DataGrid1_RowChosen();

private:
    QString m_printConnection;
    DataSource* m_printRecordset = nullptr;
};
