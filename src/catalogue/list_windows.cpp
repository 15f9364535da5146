#include "catalogue/list_windows.h"

#include "storage/data_source.h"

Form6::Form6(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form6"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form6::Form_Load() {}

Form7::Form7(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form7"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form7::Form_Load() {}

Form8::Form8(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form8"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form8::Form_Load() {}

Form9::Form9(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form9"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form9::Form_Load() {}
