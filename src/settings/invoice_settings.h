#pragma once
// Form15, the invoice settings window: the seven invoice texts of the settings section
// "SettingPrint" (business title, invoice title, address, notes, the two signature captions and
// the logo file path), which every invoice print reads afresh.
#include "ui/form.h"

#include <QString>

class CommonDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class Form15 : public Form
{
    Q_OBJECT
public:
    explicit Form15(QWidget* parent = nullptr);
    void Form_Load() override;

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Text7 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* Text3 = nullptr; // the address, over several lines
    QLabel* Label4 = nullptr;
    QPlainTextEdit* Text4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Text6 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    CommonDialog* CommonDialog1 = nullptr;

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};
