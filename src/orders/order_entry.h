#pragma once
// Form10, the order entry window.
#include "app/form.h"

class DataSource;
class QLabel;
class QLineEdit;

class Form10 : public Form
{
    Q_OBJECT
public:
    explicit Form10(QWidget* parent = nullptr);
    void Form_Load() override;

    // The order total rule: Label11 = N(Label5) + N(Label9) + N(Text6) + N(Text7).
    void recomputeTotal();

    DataSource* Adodc1 = nullptr;
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
};
