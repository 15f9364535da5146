#pragma once
// Form15, the invoice settings window.
#include "app/form.h"

class Form15 : public Form
{
    Q_OBJECT
public:
    explicit Form15(QWidget* parent = nullptr);
};
