#include "catalogue/domain_editor.h"

#include "storage/data_source.h"

Form4::Form4(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form4"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form4::Form_Load() {}
