#include "app/main_window.h"

#include <QLabel>

Form1::Form1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    Image1 = new QLabel(central);
    Label14 = new QLabel(central);
    Label2 = new QLabel(central);
    Label4 = new QLabel(central);
    Label6 = new QLabel(central);
    Label8 = new QLabel(central);
    Label10 = new QLabel(central);
}

void Form1::Form_Load() {}
