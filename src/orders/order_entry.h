#pragma once
// The orders (src/orders): the order entry window (here), its pickers (pickers.h), the order
// list (order_list.h) with the invoice report and its preview, and the reading and writing of
// amounts (amounts.h); the windows on the record-window flow of ui/record_window.h.
// Form10, the order entry window: one order of table ss, new or loaded through the order edit
// state, with customer, plan and domain extension copied in by the pickers and the order total
// kept up to date. Store writes what the window shows; Cancel drops it. Unloaded by both.
#include "ui/record_window.h"

#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class Form10 : public RecordEditor
{
    Q_OBJECT
public:
    explicit Form10(QWidget* parent = nullptr);
    void Form_Load() override;

    // The order total rule: Label11 = N(Label5) + N(Label9) + N(Text6) + N(Text7).
    void recomputeTotal();

    // Controls the pickers write into.
    QLineEdit* Text1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label11 = nullptr;

    // The rest of the window, top to bottom.
    QLabel* Label1 = nullptr;  // "order number" caption
    QLabel* Label2 = nullptr;  // ID
    std::array<QLabel*, 7> lblLabels{}; // captions of rows; indexes 0, 2, 3, 5, 6 exist
    QLabel* Label6 = nullptr;  // name caption
    QLabel* Label8 = nullptr;  // e-mail caption
    QLabel* Label7 = nullptr;  // the dot between domain name and extension
    QLineEdit* Text3 = nullptr; // domain name
    QPlainTextEdit* Text5 = nullptr; // notes
    QLabel* Label23 = nullptr; // set-up cost caption
    QLineEdit* Text6 = nullptr;
    QLabel* Label24 = nullptr; // other costs caption
    QLineEdit* Text7 = nullptr;
    QLabel* Label21 = nullptr; // total caption
    QLineEdit* Text8 = nullptr; // order date
    QLabel* Image14 = nullptr;  // clickable picture: today's date into Text8
    QPushButton* Command1 = nullptr; // choose customer
    QPushButton* Command2 = nullptr; // choose plan
    QPushButton* Command3 = nullptr; // choose domain extension
    QPushButton* Command5 = nullptr; // store
    QPushButton* Command6 = nullptr; // cancel

private:
    QLabel* caption(int row, const char* name, const QString& text, const char* column = nullptr);
    QLabel* value(int row, const char* name, int left, int width, const char* column);
    QLineEdit* box(int row, const char* name, int left, int width, const char* column);
    QPushButton* chooser(int row, const char* name, const QString& text, int left, void (Form10::*click)());
    void addStoreAndCancel();
    void boxChanged(QLineEdit* changed);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command5_Click();
    void Command6_Click();
    void Image14_Click();

    QWidget* m_frame = nullptr;
};
