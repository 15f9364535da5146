#pragma once
// Form4, the domain extension editor.
#include "app/form.h"

class DataSource;

class Form4 : public Form
{
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};
