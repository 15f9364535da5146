#pragma once
// Form6 to Form9, the catalogue list windows.
#include "app/form.h"

class DataSource;

class Form6 : public Form
{
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};

class Form7 : public Form
{
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};

class Form8 : public Form
{
    Q_OBJECT
public:
    explicit Form8(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};

class Form9 : public Form
{
    Q_OBJECT
public:
    explicit Form9(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};
