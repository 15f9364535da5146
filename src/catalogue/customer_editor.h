#pragma once
// Form5, the customer editor.
#include "app/form.h"

class DataSource;

class Form5 : public Form
{
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};
