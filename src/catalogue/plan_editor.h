#pragma once
// Form2 and Form3, the hosting plan editors (Windows and Linux).
#include "app/form.h"

class DataSource;

class Form2 : public Form
{
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};

class Form3 : public Form
{
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};
