#pragma once
// Form18, the login window: the program's first window. Its load makes the start-up check:
// with no login set it opens the main window and hides itself, otherwise it asks for the user
// name and password. Leaving it (exit button or close box) ends the program.
#include "ui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

class Form18 : public Form
{
    Q_OBJECT
public:
    explicit Form18(QWidget* parent = nullptr);
    void Form_Load() override;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr; // typed user name
    QLabel* Label3 = nullptr;
    QLineEdit* Text2 = nullptr; // typed password, masked
    QWidget* Line1 = nullptr;
    QPushButton* Command1 = nullptr; // log in
    QPushButton* Command2 = nullptr; // exit

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
};
