#pragma once
// Form18, the login window: the program's first window.
#include "app/form.h"

class Form18 : public Form
{
    Q_OBJECT
public:
    explicit Form18(QWidget* parent = nullptr);
};
