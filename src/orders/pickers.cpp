#include "orders/pickers.h"

#include "storage/data_source.h"

Form11::Form11(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form11"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form11::Form_Load() {}

Form12::Form12(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form12"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form12::Form_Load() {}

Form13::Form13(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form13"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form13::Form_Load() {}
