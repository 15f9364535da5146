#pragma once
// Form11 to Form13, the customer, plan and domain extension pickers of the order entry window.
#include "app/form.h"

class DataSource;

class Form11 : public Form
{
    Q_OBJECT
public:
    explicit Form11(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};

class Form12 : public Form
{
    Q_OBJECT
public:
    explicit Form12(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};

class Form13 : public Form
{
    Q_OBJECT
public:
    explicit Form13(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};
