#include "orders/order_entry.h"

#include "storage/data_source.h"

#include <QLabel>
#include <QLineEdit>

Form10::Form10(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form10"));
    Adodc1 = new DataSource(this);
    Text1 = new QLineEdit(this);
    Label3 = new QLabel(this);
    Label14 = new QLabel(this);
    Label4 = new QLabel(this);
    Text2 = new QLineEdit(this);
    Label13 = new QLabel(this);
    Label5 = new QLabel(this);
    Text4 = new QLineEdit(this);
    Label12 = new QLabel(this);
    Label9 = new QLabel(this);
    Label11 = new QLabel(this);
}

void Form10::Form_Load() {}

void Form10::recomputeTotal() {}
