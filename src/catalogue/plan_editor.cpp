#include "catalogue/plan_editor.h"

#include "storage/data_source.h"

Form2::Form2(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form2"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form2::Form_Load() {}

Form3::Form3(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form3"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form3::Form_Load() {}
