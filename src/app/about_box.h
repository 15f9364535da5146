#pragma once
// Form17, the about box.
#include "app/form.h"

class Form17 : public Form
{
    Q_OBJECT
public:
    explicit Form17(QWidget* parent = nullptr);
};
