#include "orders/order_list.h"

#include "storage/data_source.h"

Form14::Form14(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form14"));
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void Form14::Form_Load() {}
