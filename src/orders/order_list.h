#pragma once
// Form14, the order list, from which invoices are printed.
#include "app/form.h"

class DataSource;

class Form14 : public Form
{
    Q_OBJECT
public:
    explicit Form14(QWidget* parent = nullptr);
    void Form_Load() override;

    DataSource* Adodc1 = nullptr;
};
