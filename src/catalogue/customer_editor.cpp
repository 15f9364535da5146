#include "catalogue/customer_editor.h"

#include "storage/data_source.h"

Form5::Form5(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form5"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form5::Form_Load() {}
